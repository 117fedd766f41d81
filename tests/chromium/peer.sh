#!/bin/sh
# The scripted DevTools peer (devtools_peer.py) as a test fixture: "start"
# leaves FOLDER/peer.ports, "stop" ends it, always; it runs for at most
# LIFETIME seconds (default 300) whatever happens to the run that started it.
# Usage: peer.sh start|stop FOLDER
verb=$1 folder=$2
here=$(cd "$(dirname "$0")" && pwd)
stop() {
    [ -f "$folder/peer.pid" ] || return 0
    /bin/kill -s TERM -- "-$(cat "$folder/peer.pid")" 2>/dev/null
    rm -f "$folder/peer.pid"
}
case $verb in
start)
    stop; rm -rf "$folder"; mkdir -p "$folder"
    setsid timeout "${LIFETIME:-300}" /usr/bin/python3 "$here/devtools_peer.py" "$folder" </dev/null >"$folder/peer.out" 2>&1 &
    echo $! > "$folder/peer.pid"
    i=0; while [ ! -s "$folder/peer.ports" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i+1)); done
    [ -s "$folder/peer.ports" ] || { echo "The DevTools peer did not start; see $folder/peer.out" >&2; stop; exit 1; }
    ;;
stop) stop ;;
*) echo "usage: peer.sh start|stop FOLDER" >&2; exit 2 ;;
esac
