#!/bin/sh
# Starts dist/velotide.exe inside the Wine session (scripts/wine-session.sh)
# on a real engine: a headless Chromium of its own behind the Chromium engine,
# with the demo site (docs/demo-site) at http://demo.velotide.test/ and the
# rest of the web as usual; Chromium stops when Velotide ends. With the
# caller's display it runs until the user quits; under Xvfb it saves a
# screenshot once the main window is up, then ends the program with Quit.
# Usage: run.sh BUILD_DIR
set -e
build=$1
wine=/usr/lib/wine/wine64
driver="$build/tests/velotide_driver.exe"
. scripts/engine.sh

trap stop_chromium EXIT INT TERM
use_real_engine "$build" "$build/chromium-run" --site docs/demo-site --open-web
echo "Try the demo site: http://demo.velotide.test/ (Site > Change site address, Ctrl+L)."

if [ -z "$VELOTIDE_XVFB" ]; then
    $wine dist/velotide.exe
    exit $?
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
