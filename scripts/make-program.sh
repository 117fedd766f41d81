#!/bin/sh
# Makes dist/NAME.exe, a site's own program, with BUILD_DIR's velotide.exe
# under Wine (inside scripts/wine-session.sh), and writes its SHA-256 beside
# it as dist/NAME.exe.sha256; with SIGN ON, signs it first with the
# certificate the SIGN_* variables name (packaging/sign.sh).
# Usage: make-program.sh BUILD_DIR URL NAME [ICON [PUBLISHER [VERSION [SIGN]]]]
set -e
build=$1 url=$2 name=$3 icon=${4:-} publisher=${5:-} version=${6:-} sign=${7:-OFF}
if [ -z "$url" ] || [ -z "$name" ]; then
    echo 'Usage: make program URL=https://example.com NAME="Acme Board" [ICON=icon.png] [PUBLISHER=...] [VERSION=2.1]' >&2
    exit 2
fi
# Wine sees the Linux file system as drive Z:.
windows_path() { printf 'Z:%s' "$(realpath -m -- "$1")" | tr / '\\'; }
mkdir -p dist
set -- --make-program "$(windows_path "dist/$name.exe")" --url "$url" --name "$name"
if [ -n "$icon" ]; then set -- "$@" --icon "$(windows_path "$icon")"; fi
if [ -n "$publisher" ]; then set -- "$@" --publisher "$publisher"; fi
if [ -n "$version" ]; then set -- "$@" --version "$version"; fi
# velotide.exe checks the name before it writes anything, so a name that
# isn't a file name never reaches the shell's paths below.
/usr/lib/wine/wine64 "$build/velotide.exe" "$@"
if [ "$sign" = ON ]; then sh "$(dirname "$0")/../packaging/sign.sh" "dist/$name.exe" "dist/$name.exe" "$name"; fi
cd dist
sha256sum -- "$name.exe" >"$name.exe.sha256" && cat -- "$name.exe.sha256"
