#!/bin/sh
# Installs the Debian packages the build, the tests and `make run` need, and
# only those that are missing. Runs apt-get as root (directly, or through sudo).
set -e
packages="cmake make g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth googletest
librsvg2-bin icoutils imagemagick wixl msitools zip unzip faketime osslsigncode openssl softhsm2
libengine-pkcs11-openssl chromium nlohmann-json3-dev python3 python3-websocket procps"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
