#!/bin/sh
# Runs a command inside one Wine session: the build's private prefix
# (initialised once), one persistent wineserver for the whole command, and an
# Xvfb display unless VELOTIDE_USE_DISPLAY=1 keeps the caller's DISPLAY.
# Wine makes no menu entries of its own on the host for shortcuts the tests
# write into the Start menu (winemenubuilder off).
# VELOTIDE_PREFIX names another prefix folder in BUILD_DIR (make run keeps its
# own, so what it registers and saves never meets the tests).
# Usage: wine-session.sh BUILD_DIR COMMAND [ARG...]
set -e
build=$(cd "$1" && pwd); shift
export WINEPREFIX="$build/${VELOTIDE_PREFIX:-wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win64

unset VELOTIDE_XVFB
xvfb_pid=""
if [ "${VELOTIDE_USE_DISPLAY:-0}" != 1 ] || [ -z "$DISPLAY" ]; then
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
    done
    Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY="$display" VELOTIDE_XVFB=1
    i=0; while [ ! -e "/tmp/.X11-unix/X${display#:}" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i+1)); done
fi

cleanup() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT INT TERM

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (once)..."
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
# Wine draws caption buttons with its Marlett font, which sits in its data
# folder, where this Wine doesn't look for it: without it in the prefix,
# captions fall back to another font and draw Marlett's letters ("0 1 r")
# instead of the buttons. Only Marlett: Wine's other TrueType fonts would be
# loaded by every program for its menus and dialogs, some 20 ms a start.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
wineserver -p
# Under Xvfb there is no window manager: Wine then draws window frames itself
# (so screenshots show captions) and doesn't wait for a manager to confirm
# each window it hides. With a real display the desktop's manager does both.
if [ -n "$xvfb_pid" ]; then managed=N; else managed=Y; fi
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f >/dev/null 2>&1 || true
# Start Wine's own background processes (services, the desktop) now, with no
# terminal or pipe attached: started later, they would inherit a test's
# output pipe and keep it open after the test ends. A console program starts
# the services only; the desktop (explorer.exe /desktop) comes with the first
# program that asks for the desktop window, so one does that here.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
/usr/lib/wine/wine64 rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
set +e
"$@"
status=$?
exit $status
