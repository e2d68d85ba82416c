#!/usr/bin/env bash
# Runs a Windows program under Xvfb for some seconds and saves a screenshot of the screen,
# trimmed to the windows on it.
#   scripts/xvfb-shot.sh program.exe shot.png [seconds [argument...]]
# SHOT_WINDOW=<title> takes the picture of that window alone.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exe=$1 shot=$2 seconds=${3:-6}
shift $(($# < 3 ? $# : 3))
command -v xwd >/dev/null && command -v xwininfo >/dev/null && command -v convert >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q x11-apps x11-utils imagemagick >/dev/null
display=:77
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
QUENDEL_DISPLAY=$display scripts/wine-run cmd /c exit >/dev/null 2>&1  # the prefix, made once
QUENDEL_DISPLAY=$display scripts/wine-run "$exe" "$@" &
app=$!
sleep "$seconds"
mkdir -p "$(dirname "$shot")"
if [ -n "${SHOT_WINDOW:-}" ]; then
    # One window by its title: a dialog on top of another does not show in the root
    # window's picture, but its own window has it.
    id=$(xwininfo -display "$display" -name "$SHOT_WINDOW" | sed -nE 's/.*Window id: (0x[0-9a-f]+).*/\1/p')
    xwd -display "$display" -id "$id" | convert xwd:- "$shot"
else
    xwd -root -display "$display" | convert xwd:- -trim +repage "$shot"
fi
kill $app 2>/dev/null || true
WINEPREFIX=$PWD/build/wineprefix-x11 wineserver -k >/dev/null 2>&1 || true
wait $app 2>/dev/null || true
