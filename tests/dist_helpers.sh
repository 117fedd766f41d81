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
# The test engine standing in for the WebView2 Runtime, in folder.
install_engine() {  # ENGINE FOLDER; prints the folder to name in WEBVIEW2_BROWSER_EXECUTABLE_FOLDER
    mkdir -p "$2/130.0.2849.80/EBWebView/x64" && cp "$1" "$2/130.0.2849.80/EBWebView/x64/"
    winpath "$2/130.0.2849.80"
}
