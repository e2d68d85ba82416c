#!/usr/bin/env bash
# Runs a Windows program under Xvfb, with a small window manager (Openbox) that gives the
# windows their title bars as a user sees them, for some seconds and saves a screenshot of
# the screen, trimmed to the windows on it.
#   scripts/xvfb-shot.sh program.exe shot.png [seconds [argument...]]
# SHOT_WINDOW=<title> takes the picture of that window alone, with its frame.
# SHOT_DPI=<dpi> sets the display prefix's LogPixels first (default 96, 100 %).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
exe=$1 shot=$2 seconds=${3:-6}
shift $(($# < 3 ? $# : 3))
command -v xwd >/dev/null && command -v xwininfo >/dev/null && command -v convert >/dev/null &&
    command -v openbox >/dev/null ||
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q x11-apps x11-utils imagemagick openbox >/dev/null
prefix=${QUENDEL_WINEPREFIX:-$PWD/build/wineprefix-x11}
# A free display number, chosen by the server itself: others may run Xvfb on this machine too.
number=$(mktemp)
Xvfb -displayfd 5 -screen 0 2400x1600x24 5>"$number" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
display=:$(cat "$number")
rm -f "$number"
# The next shot reuses the display number: wait until this server has gone.
trap 'kill $wm $xvfb 2>/dev/null || true; wait $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
sleep 1
QUENDEL_DISPLAY=$display scripts/wine-run cmd /c exit >/dev/null 2>&1  # the prefix, made once
# The DPI Windows programs see: the user's value and the one older Wine versions read.
dpi=$(printf '0x%x' "${SHOT_DPI:-96}")
for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    QUENDEL_DISPLAY=$display scripts/wine-run reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
done
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1 || true
QUENDEL_DISPLAY=$display scripts/wine-run "$exe" "$@" &
app=$!
sleep "$seconds"
# A program that has ended already (or never started) leaves only an empty screen, whose
# picture would pass for a run.
if ! kill -0 $app 2>/dev/null; then
    rc=0
    wait $app || rc=$?
    echo "xvfb-shot.sh: $exe was no longer running after $seconds s (exit code $rc); no screenshot" >&2
    rm -f "$shot"
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    exit 1
fi
mkdir -p "$(dirname "$shot")"
if [ -n "${SHOT_WINDOW:-}" ]; then
    # One window by its title, with the window manager's frame: the frame's own picture has
    # the title bar but not the content of a dialog on top of another, the window's has it.
    id=$(xwininfo -display "$display" -name "$SHOT_WINDOW" | sed -nE 's/.*Window id: (0x[0-9a-f]+).*/\1/p')
    frame=$(xwininfo -display "$display" -id "$id" -children | sed -nE 's/.*Parent window id: (0x[0-9a-f]+).*/\1/p')
    at=$(xwininfo -display "$display" -id "$id" | sed -nE 's/.*Relative upper-left [XY]: *(-?[0-9]+).*/\1/p' | paste -sd' ')
    xwd -display "$display" -id "$id" | convert xwd:- "$shot.client.png"
    xwd -display "$display" -id "$frame" | convert xwd:- "$shot.client.png" -geometry "+${at% *}+${at#* }" -composite "$shot"
    rm -f "$shot.client.png"
else
    xwd -root -display "$display" | convert xwd:- -trim +repage "$shot"
fi
kill $app 2>/dev/null || true
WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
wait $app 2>/dev/null || true
