#!/bin/sh
# Installs the Debian packages the build, the tests and `make run` need, and
# only those that are missing, and the CI workflows' validator from npm. Runs
# apt-get and npm as root (directly, or through sudo).
set -e
packages="cmake make g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xauth googletest
librsvg2-bin icoutils imagemagick wixl msitools zip unzip faketime osslsigncode openssl softhsm2
libengine-pkcs11-openssl chromium nlohmann-json3-dev python3 python3-websocket procps"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
# npm for the validator below, unless a Node.js of another origin brings its own.
command -v npm >/dev/null || missing="$missing nodejs npm"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# The CI workflows' validator, from npm; it runs without the network.
validator() {
    command -v action-validator >/dev/null || $sudo npm install -g --no-fund --no-audit @action-validator/cli@0.6.0 >/dev/null
}
[ -z "$missing" ] && { validator; exit 0; }
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
validator
