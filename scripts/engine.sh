# Sourced by run.sh and screenshots.sh: the engine behind Velotide under Wine.
# No WebView2 Runtime can exist here, so one of the project's engines is
# installed where a runtime is (the EdgeUpdate registry value a runtime
# installation writes, which the program's loader reads): the Chromium engine
# with a headless Chromium of its own, or else the test engine.

engine_version=130.0.2849.80
chromium_folder=""

# install_engine DLL: copies the engine into the prefix and registers it.
install_engine() {
    folder="$WINEPREFIX/drive_c/velotide-engine/$engine_version/EBWebView/x64"
    mkdir -p "$folder"
    cp "$1" "$folder/EmbeddedBrowserWebView.dll"
    /usr/lib/wine/wine64 reg add \
        'HKLM\Software\Microsoft\EdgeUpdate\ClientState\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}' \
        /v EBWebView /d "C:\\velotide-engine\\$engine_version" /reg:32 /f >/dev/null 2>&1
}

# start_chromium FOLDER [fixture options]: a headless Chromium and the demo
# site's server (tests/chromium/fixture.sh), stopped by stop_chromium; exports
# VELOTIDE_CHROMIUM_DEVTOOLS. False, with the reason said, when Chromium
# can't be had.
start_chromium() {
    if ! command -v chromium >/dev/null 2>&1; then
        echo "Chromium is not installed" >&2
        return 1
    fi
    chromium_folder=$1
    shift
    sh tests/chromium/fixture.sh start "$chromium_folder" "$@" || { chromium_folder=""; return 1; }
    VELOTIDE_CHROMIUM_DEVTOOLS=$(cat "$chromium_folder/devtools")
    export VELOTIDE_CHROMIUM_DEVTOOLS
}

stop_chromium() {
    [ -n "$chromium_folder" ] && sh tests/chromium/fixture.sh stop "$chromium_folder"
    chromium_folder=""
}

# use_real_engine BUILD FOLDER [fixture options]: the Chromium engine when
# Chromium starts, else the test engine; says in one line which.
use_real_engine() {
    build=$1
    shift
    if start_chromium "$@"; then
        install_engine "$build/engines/chromium/EmbeddedBrowserWebView.dll"
        echo "Engine: headless Chromium behind the Chromium engine (DevTools at $VELOTIDE_CHROMIUM_DEVTOOLS)."
    else
        install_engine "$build/engines/test/EmbeddedBrowserWebView.dll"
        echo "Engine: Chromium can't be had here, so the project's test engine stands in (it paints no real pages)."
    fi
}
