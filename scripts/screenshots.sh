#!/bin/sh
# Saves screenshots of the real program, run against the test engine, under
# docs/screenshots/. Runs inside scripts/wine-session.sh (Xvfb, no window
# manager: Wine draws the frames). Usage: screenshots.sh BUILD_DIR
set -e
build=$1
out=docs/screenshots
wine=/usr/lib/wine/wine64
driver="$build/tests/velotide_driver.exe"

version=130.0.2849.80
mkdir -p "$WINEPREFIX/drive_c/velotide-test-engine/$version/EBWebView/x64" "$out"
cp "$build/tests/engine/EmbeddedBrowserWebView.dll" "$WINEPREFIX/drive_c/velotide-test-engine/$version/EBWebView/x64/"
export WEBVIEW2_BROWSER_EXECUTABLE_FOLDER="C:\\velotide-test-engine\\$version"
data="$(winepath -u "$($wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Velotide"

# shot NAME CONFIG [ACTION...]: start with CONFIG as config.ini, run ACTION
# once the main window is up, and save the main window (or the whole screen
# when it covers it) as NAME.png.
shot() {
    name=$1 config=$2
    shift 2
    mkdir -p "$data"
    rm -f "$data/config.ini"
    [ -n "$config" ] && printf "$config" >"$data/config.ini"
    $wine dist/velotide.exe &
    pid=$!
    $wine "$driver" wait VelotideMain 30000
    [ $# -gt 0 ] && "$@"
    sleep 1 # let the engine paint
    geometry=$($wine "$driver" rect VelotideMain | tr -d '\r')
    import -window root -crop "$geometry" +repage "$out/$name.png"
    $wine "$driver" command 106
    wait $pid || true
    echo "$out/$name.png"
}

shot first-start "" $wine "$driver" wait VelotidePrompt 10000
shot site 'url=https://my-site.zeabur.app\r\nblockAds=1\r\n'
shot cant-reach 'url=https://my-site.invalid\r\nblockAds=1\r\n'
shot fullscreen 'url=https://my-site.zeabur.app\r\nblockAds=1\r\n' $wine "$driver" command 105
