#!/bin/sh
# Runs the behaviour suite under Wine on the Chromium engine: the engine put
# where the WebView2 Runtime would be, its Chromium's DevTools endpoint given
# to the suite. With FIXTURE_DIR (the CTest fixture's folder) that Chromium
# is used; without, one is started for the run and always stopped.
# Screenshots go to BUILD/conformance.
# Usage: run.sh BUILD [FIXTURE_DIR]   (inside scripts/wine-session.sh)
set -e
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
fixture=${2:-}
out="$build/conformance"
rm -rf "$out"; mkdir -p "$out/runtime/130.0.2849.80/EBWebView/x64"
if [ -z "$fixture" ]; then
    fixture="$build/conformance-fixture"
    trap 'sh "$here/../chromium/fixture.sh" stop "$fixture"' EXIT INT TERM
    sh "$here/../chromium/fixture.sh" start "$fixture"
fi
cp "$build/engines/chromium/EmbeddedBrowserWebView.dll" "$out/runtime/130.0.2849.80/EBWebView/x64/"
winpath() { /usr/lib/wine/wine64 winepath -w "$1" 2>/dev/null; }
WEBVIEW2_BROWSER_EXECUTABLE_FOLDER=$(winpath "$out/runtime/130.0.2849.80")
VELOTIDE_CHROMIUM_DEVTOOLS=$(cat "$fixture/devtools")
export WEBVIEW2_BROWSER_EXECUTABLE_FOLDER VELOTIDE_CHROMIUM_DEVTOOLS
/usr/lib/wine/wine64 "$build/tests/velotide_conformance.exe" "$(winpath "$build/velotide.exe")" \
    "$(winpath "$out")" ${ROWS:+"$ROWS"}
