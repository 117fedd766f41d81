# What the packages' tests share, sourced by them inside scripts/wine-session.sh:
# Wine, its checks and its paths.
wine=/usr/lib/wine/wine64
# Wine would mirror the shortcuts into the Linux desktop's menu.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"

failures=0
check() {  # DESCRIPTION COMMAND [ARG...]
    what=$1; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
absent() { [ ! -e "$1" ]; }
mentions() { tr -d '\000' <"$1" | grep -q -F "$2"; }  # ANSI or UTF-16 text in a binary file
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
unixpath() { $wine winepath -u "$($wine cmd /c echo "%$1%" | tr -d '\r')" | tr -d '\r'; }
# Runs an installed velotide.exe with the test engine standing in for the
# WebView2 Runtime (its log in FOLDER/engine.log) until its first navigation,
# then quits it from the menu. Says "shown, exit N" (N its exit code) when its
# main window showed.
run_installed() {  # EXE ENGINE DRIVER FOLDER
    mkdir -p "$4/runtime/EBWebView/x64" && cp "$2" "$4/runtime/EBWebView/x64/"
    VELOTIDE_TEST_ENGINE_LOG=$(winpath "$4/engine.log") WEBVIEW2_BROWSER_EXECUTABLE_FOLDER=$(winpath "$4/runtime") \
        $wine "$1" &
    if $wine "$3" wait VelotideMain 20000; then
        printf 'shown, '
        for _ in $(seq 50); do grep -q "^navigation started" "$4/engine.log" 2>/dev/null && break; sleep 0.2; done
        $wine "$3" command 106 >/dev/null  # Quit
    else
        kill $! 2>/dev/null
    fi
    wait $!
    echo "exit $?"
}
