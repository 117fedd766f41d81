#!/bin/sh
# Runs one Windows program under Wine in the build's private prefix. The
# session script (scripts/wine-session.sh) normally sets the environment and
# keeps one wineserver alive; the defaults here let a lone `ctest -R` work too.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
exec /usr/lib/wine/wine64 "$@"
