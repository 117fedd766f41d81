#!/bin/sh
# A headless Chromium on a loopback DevTools port and the test web server,
# every test host name (*.test, the ad domain and look-alikes of it) mapped to
# that server (secure.test and *.secure.test to its HTTPS side, whose
# certificate, made here, nobody trusts; flaky.test to the server that can go
# down): the Chromium end-to-end tests' fixture, and the real engine of
# `make run`, the screenshots and the bench. "start" leaves FOLDER/devtools
# ("127.0.0.1:PORT") and FOLDER/requests.log; "stop" ends both, always. Each
# runs for at most LIFETIME seconds (default 1800) whatever happens to the run
# that started it.
#   --site DIR   serve DIR's files (the demo site) instead of the test pages
#   --open-web   let other host names resolve as usual instead of failing
# Usage: fixture.sh start FOLDER [--site DIR] [--open-web] | fixture.sh stop FOLDER
set -e
verb=$1 folder=$2
here=$(cd "$(dirname "$0")" && pwd)
site="" closed=", MAP * ~NOTFOUND"
[ $# -ge 2 ] && shift 2
while [ $# -gt 0 ]; do
    case $1 in
    --site) site=$(cd "$2" && pwd); shift 2 ;;
    --open-web) closed=""; shift ;;
    *) echo "fixture.sh: unknown option $1" >&2; exit 2 ;;
    esac
done
lifetime=${LIFETIME:-1800}

stop() {
    for name in chromium server; do
        [ -f "$folder/$name.pid" ] || continue
        pid=$(cat "$folder/$name.pid")
        /bin/kill -s TERM -- "-$pid" 2>/dev/null || true
        i=0; while /bin/kill -s 0 -- "-$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i+1)); done
        /bin/kill -s KILL -- "-$pid" 2>/dev/null || true
        rm -f "$folder/$name.pid"
    done
}

# Waits (bounded) for a file with content; false when it never came.
wait_for() {
    i=0; while [ ! -s "$1" ] && [ $i -lt 150 ]; do sleep 0.1; i=$((i+1)); done
    [ -s "$1" ]
}

case $verb in
stop)
    stop
    ;;
start)
    stop
    rm -rf "$folder"; mkdir -p "$folder/profile"
    : > "$folder/requests.log"
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=secure.test \
        -addext "subjectAltName=DNS:secure.test,DNS:*.secure.test" \
        -keyout "$folder/tls.pem" -out "$folder/tls.crt" 2>/dev/null
    cat "$folder/tls.crt" >> "$folder/tls.pem"
    # Each in a session of its own, so that stop ends it with all its children,
    # and with no terminal or pipe of the caller's kept open.
    setsid timeout "$lifetime" /usr/bin/python3 "$here/site_server.py" "$folder" $site \
        </dev/null >"$folder/server.out" 2>&1 &
    echo $! > "$folder/server.pid"
    wait_for "$folder/server.port" || { echo "The test web server did not start." >&2; stop; exit 1; }
    port=$(cat "$folder/server.port")
    to="127.0.0.1:$port" tls="127.0.0.1:$(cat "$folder/tls.port")" flaky="127.0.0.1:$(cat "$folder/flaky.port")"
    # The first rule that matches counts.
    rules="MAP secure.test $tls, MAP *.secure.test $tls, MAP flaky.test $flaky"
    rules="$rules, MAP *.test $to, MAP doubleclick.net $to, MAP *.doubleclick.net $to, MAP xdoubleclick.net $to"
    rules="$rules$closed, EXCLUDE 127.0.0.1"
    setsid timeout "$lifetime" chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --no-default-browser-check --disable-background-networking --disable-component-update --disable-sync \
        --disable-extensions --disable-back-forward-cache --disable-popup-blocking --user-data-dir="$folder/profile" \
        --remote-debugging-address=127.0.0.1 --remote-debugging-port=0 --host-resolver-rules="$rules" \
        about:blank </dev/null >"$folder/chromium.out" 2>&1 &
    echo $! > "$folder/chromium.pid"
    if ! wait_for "$folder/profile/DevToolsActivePort"; then
        echo "Chromium did not open its DevTools port; see $folder/chromium.out" >&2
        stop; exit 1
    fi
    echo "127.0.0.1:$(head -n 1 "$folder/profile/DevToolsActivePort")" > "$folder/devtools"
    ;;
*)
    echo "usage: fixture.sh start|stop FOLDER" >&2; exit 2
    ;;
esac
