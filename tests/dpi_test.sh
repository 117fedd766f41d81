#!/bin/sh
# Runs the tests named *Dpi* of the given test programs at another DPI: in a
# Wine prefix of its own whose LogPixels is that DPI (Wine, like a Windows
# sign-in, takes the scale from HKCU\Control Panel\Desktop), on an Xvfb screen
# large enough for the main window at 200 %. The prefix is made once under the
# build folder, by Wine itself: a copy of the tests' prefix, whose wineserver
# is running and may not have written its registry out yet, can come out
# broken. Everything started here is stopped before it ends.
# Usage: dpi_test.sh DPI BUILD_DIR TEST_EXE...
set -e
dpi=$1 build=$(cd "$2" && pwd); shift 2
prefix="$build/dpi-$dpi"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

# A display of our own: the first free number from DPI on (so that the runs
# for two DPIs, which may go side by side, never try the same numbers).
xvfb_pid=""
for n in $(seq "$dpi" $((dpi + 40))); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 3840x2160x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    i=0; while [ ! -e "/tmp/.X11-unix/X$n" ] && kill -0 $xvfb_pid 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i+1)); done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 $xvfb_pid 2>/dev/null; then export DISPLAY=":$n"; break; fi
    xvfb_pid=""
done
[ -n "$xvfb_pid" ] || { echo "dpi_test.sh: no display could be started" >&2; exit 1; }
cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

wine=/usr/lib/wine/wine64
if [ ! -f "$prefix/system.reg" ]; then
    rm -rf "$prefix"
    $wine wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
wineserver -p
$wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
$wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
$wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
for exe in "$@"; do
    VELOTIDE_TEST_DPI=$dpi $wine "$exe" --gtest_filter='*Dpi*' --gtest_brief=1 || status=1
done
exit $status
