#!/bin/sh
# Saves screenshots of the real program on the real engine (headless Chromium
# behind the Chromium engine, the demo site from docs/demo-site) under
# docs/screenshots/. Runs inside scripts/wine-session.sh (Xvfb, no window
# manager: Wine draws the frames). Usage: screenshots.sh BUILD_DIR
set -e
build=$1
out=docs/screenshots
wine=/usr/lib/wine/wine64
driver="$build/tests/velotide_driver.exe"
. scripts/engine.sh

trap stop_chromium EXIT INT TERM
start_chromium "$build/chromium-shots" --site docs/demo-site ||
    { echo "The screenshots need Chromium (make deps installs it)." >&2; exit 1; }
install_engine "$build/engines/chromium/EmbeddedBrowserWebView.dll"
mkdir -p "$out"
data="$(winepath -u "$($wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Velotide"
log="$build/chromium-shots/engine.log"
VELOTIDE_TEST_ENGINE_LOG=$(winepath -w "$log")
export VELOTIDE_TEST_ENGINE_LOG

# Waits (at most 15 s) for an engine log line starting with the text (COUNT
# of them, one unless given).
wait_log() {
    i=0; while [ "$(cat "$log" 2>/dev/null | grep -c "^$1")" -lt "${2:-1}" ] && [ $i -lt 150 ]; do sleep 0.1; i=$((i+1)); done
}

# shot NAME CONFIG LINE [ACTION...]: start with CONFIG as config.ini, wait for
# the engine's LINE, run ACTION, and save the main window (or the whole screen
# when it covers it; the window of class $window when set) as NAME.png.
shot() {
    name=$1 config=$2 line=$3
    shift 3
    mkdir -p "$data"
    rm -f "$data/config.ini" "$log"
    [ -n "$config" ] && printf "$config" >"$data/config.ini"
    $wine dist/velotide.exe &
    pid=$!
    $wine "$driver" wait VelotideMain 30000
    wait_log "$line"
    [ $# -gt 0 ] && "$@"
    sleep 1 # let the last frame arrive and paint
    geometry=${area:-$($wine "$driver" rect "${window:-VelotideMain}" | tr -d '\r')}
    import -window root -crop "$geometry" +repage "$out/$name.png"
    $wine "$driver" command 106
    wait $pid || true
    echo "$out/$name.png"
}

# The site apps made here, gone again with their entries and shortcuts, so
# that the next run's app gets the same id.
programs="$(winepath -u "$($wine cmd /c echo %APPDATA% | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs"
forget_apps() {
    rm -rf "$data/Apps" "$programs"/Harbourlight*.lnk
    for key in $($wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
        tr -d '\r' | grep 'Velotide\.App\.'); do
        $wine reg delete "$key" /f >/dev/null 2>&1
    done
}

# A click on a link to another site: the bar names it.
other_site() {
    $wine "$driver" engine script "{ const a = document.createElement('a'); a.href = 'https://accounts.example.org/signin'; document.body.append(a); a.click(); }"
    wait_log "navigation cancelled"
}

fullscreen() {
    $wine "$driver" engine script "document.getElementById('photo').requestFullscreen()"
    wait_log "fullscreen element on"
}

# The site asks to show notifications: the bar asks the person.
ask_notifications() {
    $wine "$driver" engine script "Notification.requestPermission()"
    wait_log "permission requested"
}

# A notification of the site, allowed: Windows shows it from the icon in the
# notification area (Wine's tray, in the top left, with its balloon). Wine
# measures the balloon's text a little short and cuts its last letters: two
# no-break spaces at the end take the cut.
notify() {
    $wine "$driver" engine script "new Notification('Mira Okafor', {body: 'The review moved to 10:30 in room 2.\u00a0\u00a0'})"
    wait_log "notification shown"
    sleep 2 # Wine's balloon follows a moment later
}

# Create an app for this site, named as its page's title: it starts beside
# Velotide with its own name and the site's icon; both side by side.
app=VelotideMain.App.harbourlight-team-board
site_app() {
    forget_apps
    $wine "$driver" command 113
    $wine "$driver" ok VelotidePrompt
    $wine "$driver" wait $app 30000
    wait_log "frame shown http://demo.velotide.test/" 2
    $wine "$driver" move VelotideMain 0 0 950 720
    $wine "$driver" move $app 966 0 950 720
}

site='url=http://demo.velotide.test/\r\nblockAds=1\r\n'
shot first-start "" "frame shown data:" $wine "$driver" wait VelotidePrompt 10000
shot site "$site" "frame shown http://demo.velotide.test/"
shot cant-reach 'url=http://unreachable.invalid/\r\nblockAds=1\r\n' "frame shown data:"
shot fullscreen "$site" "frame shown http://demo.velotide.test/" fullscreen
shot other-site "$site" "frame shown http://demo.velotide.test/" other_site
shot notifications-ask "$site" "frame shown http://demo.velotide.test/" ask_notifications
area=1300x860+0+0 shot notification "${site}tray=1\r\nnotifications=allow\r\nwindow=260,140,1300,860,0\r\n" \
    "frame shown http://demo.velotide.test/" notify
area=1916x720+0+0 shot site-app "$site" "frame shown http://demo.velotide.test/" site_app
$wine "$driver" command 106 $app
sleep 2
forget_apps
unset area

# The prompt at 150 % (144 DPI): Wine, like a sign-in, takes the scale from
# LogPixels as each program starts; put back to 96 DPI after.
dpi() { $wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
dpi 144
window=VelotidePrompt shot prompt-144dpi "" "frame shown data:" $wine "$driver" wait VelotidePrompt 10000
dpi 96
