# What this host's Wine can run, decided once and shared by every script (source it).
#
# Some kernels cannot execute 32-bit programs at all: there the 32-bit Wine loader fails with
# "Exec format error", and Debian's `wine` command starts that loader even for 64-bit
# programs whenever the 32-bit package is installed. So the answer is found by trying: the
# 32-bit loader is started once. Where it cannot run, 64-bit programs are started through the
# 64-bit loader directly, and 32-bit programs are not started at all.
#
#   QUENDEL_HOST_32BIT   1 or 0 once decided (exported, so that child scripts and the tests
#                        they start do not try again); set it to 0 to act as such a host
#   QUENDEL_WINE32/64    the loaders (default: Debian's /usr/lib/wine/wine and wine64)
#   QUENDEL_WINE         the loader every Windows program is started with here

QUENDEL_WINE32=${QUENDEL_WINE32:-/usr/lib/wine/wine}
QUENDEL_WINE64=${QUENDEL_WINE64:-/usr/lib/wine/wine64}

if [ -z "${QUENDEL_HOST_32BIT:-}" ]; then
    # --version only starts the loader itself, which is what such a kernel refuses.
    if "$QUENDEL_WINE32" --version >/dev/null 2>&1; then
        QUENDEL_HOST_32BIT=1
    else
        QUENDEL_HOST_32BIT=0
    fi
fi
export QUENDEL_HOST_32BIT QUENDEL_WINE32 QUENDEL_WINE64

if [ "$QUENDEL_HOST_32BIT" = 1 ]; then
    QUENDEL_WINE=wine
else
    QUENDEL_WINE=$QUENDEL_WINE64
    # Wine starts its own helper programs through WINELOADER.
    export WINELOADER=$QUENDEL_WINE64
fi

# The one-line reason used wherever 32-bit programs are left out.
QUENDEL_NO_32BIT_REASON="no 32-bit support"
