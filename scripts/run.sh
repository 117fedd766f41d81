#!/bin/sh
# Starts dist/velotide.exe inside the Wine session (scripts/wine-session.sh).
# With the caller's display it runs until the user quits; under Xvfb it saves
# a screenshot once the main window is up, then ends the program with Quit.
# Usage: run.sh BUILD_DIR
set -e
build=$1
wine=/usr/lib/wine/wine64
driver="$build/tests/velotide_driver.exe"

# No WebView2 Runtime can exist under Wine: register the project's test engine
# as the installed runtime (the registry route a real loader searches).
key='HKLM\Software\Microsoft\EdgeUpdate\ClientState\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}'
engine="$build/tests/engine/EmbeddedBrowserWebView.dll"
if [ -f "$engine" ] && ! $wine reg query "$key" /v EBWebView /reg:32 >/dev/null 2>&1; then
    version=130.0.2849.80
    folder="$WINEPREFIX/drive_c/velotide-test-engine/$version"
    mkdir -p "$folder/EBWebView/x64"
    cp "$engine" "$folder/EBWebView/x64/"
    $wine reg add "$key" /v EBWebView /d "C:\\velotide-test-engine\\$version" /reg:32 /f >/dev/null 2>&1
    printf '%s\n' "No WebView2 Runtime here: registered the project's test engine as the runtime (C:\\velotide-test-engine\\$version)."
fi
# Keep the engine copy current with the build.
for dll in "$WINEPREFIX"/drive_c/velotide-test-engine/*/EBWebView/x64/EmbeddedBrowserWebView.dll; do
    [ -f "$dll" ] && [ -f "$engine" ] && cp "$engine" "$dll"
done

if [ -z "$VELOTIDE_XVFB" ]; then
    exec $wine dist/velotide.exe
fi

$wine dist/velotide.exe &
pid=$!
if $wine "$driver" wait VelotideMain 30000; then
    # On a first start the site address prompt follows the welcome page.
    $wine "$driver" wait VelotidePrompt 3000 || true
    sleep 1
    import -window root dist/screenshot.png
    echo "Screenshot saved to dist/screenshot.png"
    $wine "$driver" command 106 || true
else
    echo "The main window did not appear." >&2
fi
set +e
wait $pid
status=$?
echo "velotide.exe ended with exit code $status"
exit $status
