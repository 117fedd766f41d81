#!/bin/sh
# A release signed with a throwaway root's certificates, as `make dist SIGN_...`
# signs it, checked the two ways Windows users would: osslsigncode against that
# root, and Windows' own WinVerifyTrust (TRUST, run under Wine with the root
# among the prefix's trusted ones). One changed byte fails both; the loader
# written at start is the signed one; each signed file is the unsigned rebuild
# plus its signature; a certificate that can't be used is one line and no
# file; a site's program made from the signed velotide.exe carries no
# signature until its owner signs it; a key on a (SoftHSM) token signs too.
# Runs inside scripts/wine-session.sh.
# Usage: sign_test.sh SOURCE_DIR WORK_DIR TRUST DRIVER ENGINE
set -u
src=$1 work=$2 trust=$3 driver=$4 engine=$5
. "$(dirname "$0")/dist_helpers.sh"
sign="sh $src/packaging/sign.sh"
# The release is built in WORK_DIR itself, so that the compiler's cache serves it.
keys=$work/keys build=$work release=$work/release scratch=$work/scratch
rm -rf "$keys" "$release" "$scratch"
mkdir -p "$keys/tokens" "$release" "$scratch"

# --- A root, the publisher's certificate (PKCS#12 and PEM, one key), a site
# owner's and a time-stamp server's it issued, a key of no certificate, and
# the owner's key on a token.
export SOFTHSM2_CONF="$keys/softhsm2.conf"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$keys/tokens" >"$SOFTHSM2_CONF"
(
    cd "$keys" || exit 1
    ca="-addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign"
    leaf="-CA root.pem -CAkey root.key -addext basicConstraints=critical,CA:FALSE -addext authorityKeyIdentifier=keyid
          -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage"
    for who in "root $ca" "publisher $leaf=codeSigning" "owner $leaf=codeSigning" "tsa $leaf=critical,timeStamping"; do
        # shellcheck disable=SC2086 # the options are words
        set -- $who
        name=$1 && shift
        openssl req -x509 -config /dev/null -newkey rsa:2048 -nodes -keyout "$name.key" -out "$name.pem" -days 2 \
            -subj "/CN=Velotide Test $name" -addext subjectKeyIdentifier=hash "$@"
    done
    openssl x509 -in root.pem -outform der -out root.der
    printf '[tsa]\ndefault_tsa = tsa\nserial = tsa.serial\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n%s\n' \
        'digests = sha256, sha1' >tsa.cnf
    openssl genrsa -out stray.key 2048
    printf 'correct horse\n' >password && printf 'wrong horse\n' >wrong-password
    printf 'correct horse\r\nwritten on Windows\r\n' >windows-password
    printf '1234\n' >pin && printf '9999\n' >wrong-pin
    openssl pkcs12 -export -in publisher.pem -inkey publisher.key -certfile root.pem -out publisher.p12 \
        -passout file:password
    openssl pkcs8 -topk8 -nocrypt -in owner.key -out owner.p8
    softhsm2-util --init-token --free --label velotide --pin 1234 --so-pin 5678 &&
        softhsm2-util --import owner.p8 --token velotide --label signing --id 01 --pin 1234
) >/dev/null 2>&1
check "throwaway certificates made, the owner's key on a token" [ $? -eq 0 -a -s "$keys/publisher.p12" ]
token="SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so SIGN_PKCS11_KEY=pkcs11:token=velotide;object=signing"

# --- The release, signed as `make dist` signs it, with a time stamp from a
# local RFC 3161 server (tests/timestamp_server.py, stopped when done).
tsa= silent=
trap '[ -z "$tsa" ] || kill "$tsa" 2>/dev/null; [ -z "$silent" ] || kill "$silent" 2>/dev/null
      [ -z "${root_added:-}" ] || $wine "$trust" remove-root "$(winpath "$keys/root.der")" >/dev/null 2>&1' EXIT
python3 "$(dirname "$0")/timestamp_server.py" "$keys" "$keys/port" &
tsa=$!
for _ in $(seq 50); do [ -s "$keys/port" ] && break; sleep 0.1; done
SIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat "$keys/port")/"
export SIGN_PKCS12="$keys/publisher.p12" SIGN_PASSWORD_FILE="$keys/password" SIGN_TIMESTAMP_URL
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELOTIDE_SIGN=ON -DVELOTIDE_WEBVIEW2_LOADER= >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target velotide velotide_packages >"$scratch/build.log" 2>&1
check "signed release built" [ $? -eq 0 ]
unset SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_TIMESTAMP_URL
kill "$tsa" 2>/dev/null
cp "$build/velotide.exe" "$build"/packages/* "$release/"
cp "$build/signed/WebView2Loader.dll" "$release/loader.dll"
cp "$build/loader/WebView2Loader.dll" "$release/unsigned-loader.dll"
signed="loader.dll velotide.exe $(cd "$release" && ls ./*.msi | sed 's|^\./||' | tr '\n' ' ')"

# A time-stamp server that takes the request and never answers: a socket
# that listens and never accepts.
python3 -c 'import socket, sys, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen()
open(sys.argv[1], "w").write(str(s.getsockname()[1])); time.sleep(300)' "$keys/silent" &
silent=$!
for _ in $(seq 50); do [ -s "$keys/silent" ] && break; sleep 0.1; done

# --- A certificate that can't be used, or a signing that fails: one line
# that says why, exit 1, and the file being signed in place removed, not
# left unsigned where a signed one belongs, nor what a killed run left. A
# row that says nothing signs; one whose settings begin with "check" is the
# check before anything is built.
k=$keys no_signing=
for v in PKCS12 PASSWORD_FILE CERT KEY PKCS11_MODULE PKCS11_KEY TIMESTAMP_URL; do
    no_signing="$no_signing -u SIGN_$v"
done
while IFS='|' read -r said settings; do
    cp "$release/unsigned-loader.dll" "$scratch/out.dll"
    echo killed >"$scratch/out.dll.signing"
    set -- "$scratch/out.dll" "$scratch/out.dll"
    case $settings in check\ *) settings=${settings#check } && set -- check && rm "$scratch"/out.dll* ;; esac
    # shellcheck disable=SC2086 # the settings are words
    env $no_signing $settings $sign "$@" 2>"$scratch/said"
    code=$?
    outcome=${said:+"exit 1, one line, no file"}
    check "sign.sh with ${settings:-nothing}: ${outcome:-signed} ($(cat "$scratch/said"))" sh -c \
        'if [ -z "$3" ]; then [ "$1" = 0 ] && [ ! -s "$2" ] && [ -s "$4" ] && ! cmp -s "$4" "$5"
         else [ "$1" = 1 ] && [ "$(wc -l <"$2")" = 1 ] && grep -q -F "$3" "$2" && [ ! -e "$4" ]
         fi && [ ! -e "$4.signing" ]' - $code "$scratch/said" "$said" "$scratch/out.dll" "$release/unsigned-loader.dll"
done <<EOF
the password in $k/wrong-password is not the one|SIGN_PKCS12=$k/publisher.p12 SIGN_PASSWORD_FILE=$k/wrong-password
can't be read as PKCS#12|SIGN_PKCS12=$k/root.pem SIGN_PASSWORD_FILE=$k/password
the key $k/stray.key doesn't match the certificate|SIGN_CERT=$k/publisher.pem SIGN_KEY=$k/stray.key
no certificate|SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
was not signed: HTTP failure|SIGN_CERT=$k/publisher.pem SIGN_KEY=$k/publisher.key SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
Login failed|$token SIGN_CERT=$k/owner.pem SIGN_PASSWORD_FILE=$k/wrong-pin
consistency of a private key|$token SIGN_CERT=$k/publisher.pem SIGN_PASSWORD_FILE=$k/pin
|SIGN_PKCS12=$k/publisher.p12 SIGN_PASSWORD_FILE=$k/windows-password
the key pkcs11:token=velotide;object=none can't sign|check $token SIGN_PKCS11_KEY=pkcs11:token=velotide;object=none \
SIGN_CERT=$k/owner.pem SIGN_PASSWORD_FILE=$k/pin
didn't answer in 30 seconds|SIGN_PKCS12=$k/publisher.p12 SIGN_PASSWORD_FILE=$k/password \
SIGN_TIMESTAMP_URL=http://127.0.0.1:$(cat "$k/silent")/
EOF
kill "$silent" 2>/dev/null

# --- Each signed file verified both ways, and by its time stamp after the
# certificate has expired; one byte changed, halfway through, fails both.
$wine "$trust" add-root "$(winpath "$keys/root.der")" >/dev/null && root_added=1
check "throwaway root trusted in the Wine prefix" [ $? -eq 0 ]
verifies() {
    osslsigncode verify -CAfile "$keys/root.pem" -TSA-CAfile "$keys/root.pem" -in "$@" >"$scratch/verified" 2>&1
}
later=$(($(date +%s) + 5 * 86400))  # the certificates last two days
trusted() { $wine "$trust" verify "$(winpath "$1")" >/dev/null; }
both() { verifies "$1" && trusted "$1"; }
signed_by() { verifies "$1" && grep -q "CN=Velotide Test $2" "$scratch/verified"; }
not() { ! "$@"; }
for file in $signed; do
    check "$file: osslsigncode and WinVerifyTrust trust it" both "$release/$file"
    check "  ... and its time stamp once the certificate has expired" verifies "$release/$file" -time "$later"
    cp "$release/$file" "$scratch/$file"
    at=$(($(stat -c %s "$scratch/$file") / 2))
    byte=$(od -An -tu1 -j "$at" -N1 "$scratch/$file" | tr -d ' ')
    printf "\\$(printf %o $((byte ^ 255)))" | dd of="$scratch/$file" bs=1 seek="$at" conv=notrunc 2>/dev/null
    check "$file changed: osslsigncode refuses it" not verifies "$scratch/$file"
    # Wine's WinVerifyTrust checks a PE file's digest but takes any MSI whose
    # signature parses: there it is shown refusing an MSI with none.
    case $file in
    *.msi) osslsigncode remove-signature -in "$release/$file" -out "$scratch/unsigned.msi" >/dev/null
        check "$file unsigned: WinVerifyTrust refuses it" not trusted "$scratch/unsigned.msi" ;;
    *) check "$file changed: WinVerifyTrust refuses it" not trusted "$scratch/$file" ;;
    esac
done

# --- The zip packs the signed velotide.exe (the MSIs, below), and the
# loader it carries and writes out at start is the signed one.
check "the zip carries the signed velotide.exe" \
    sh -c 'unzip -p "$1" velotide.exe | cmp -s - "$2"' - "$release"/velotide-*.zip "$release/velotide.exe"
wrestool -x --raw --type=10 --name=2 "$release/velotide.exe" >"$release/embedded-loader.dll"
data="$(unixpath LOCALAPPDATA)/Velotide"
rm -rf "$data"
check "signed velotide.exe starts and quits" \
    [ "$(run_installed "$release/velotide.exe" "$engine" "$driver" "$scratch")" = "shown, exit 0" ]
check "the loader it wrote and loaded is the signed one" cmp -s "$data/WebView2Loader.dll" "$release/loader.dll"
rm -rf "$data"

# --- Each signed file is the unsigned build plus its signature: the
# loader's and velotide.exe's bytes, signature removed; an MSI's
# Authenticode digest, that of the MSI the rebuild packs around the
# released velotide.exe (newer than what it is linked from, so taken as it
# is), which it therefore holds.
unsign() { osslsigncode remove-signature -in "$release/$1" -out "$scratch/stripped-$1" >/dev/null; }
unsign loader.dll
check "loader without its signature is the unsigned build's" \
    cmp -s "$scratch/stripped-loader.dll" "$release/unsigned-loader.dll"
cmake -S "$src" -B "$build" -DVELOTIDE_SIGN=OFF -DVELOTIDE_WEBVIEW2_LOADER="$release/embedded-loader.dll" >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target velotide >>"$scratch/build.log" 2>&1
unsign velotide.exe
check "velotide.exe without its signature is the rebuild's" \
    cmp -s "$scratch/stripped-velotide.exe" "$build/velotide.exe"
cp "$release/velotide.exe" "$build/velotide.exe"
cmake --build "$build" -j"$(nproc)" --target velotide_packages >>"$scratch/build.log" 2>&1
for msi in "$release"/*.msi; do
    name=$(basename "$msi")
    osslsigncode extract-data -in "$msi" -out "$scratch/digest-release" >/dev/null
    osslsigncode extract-data -in "$build/packages/$name" -out "$scratch/digest-rebuild" >/dev/null
    check "$name: its Authenticode digest is the rebuild's" \
        sh -c 'cmp -s "$1" "$2" && cmp -s "$3" "$4"' - "$scratch/digest-release" "$scratch/digest-rebuild" \
        "$build/velotide.exe" "$release/velotide.exe"
done

# --- A site's program made from the signed velotide.exe carries no
# signature, not a broken one, until its owner signs it; the loader inside
# keeps Velotide's.
program="$scratch/Acme Board.exe"
$wine "$release/velotide.exe" --make-program "$(winpath "$program")" --url https://acme.example --name "Acme Board"
osslsigncode verify -in "$program" >"$scratch/said" 2>&1
check "the program carries no signature, and a true checksum" \
    sh -c 'grep -q "No signature found" "$1" && ! grep -q "invalid PE checksum" "$1"' - "$scratch/said"
SIGN_CERT="$keys/owner.pem" SIGN_KEY="$keys/owner.key" $sign "$program" "$program" "Acme Board"
check "its owner signs it, and both checks trust it" both "$program"
wrestool -x --raw --type=10 --name=2 "$program" >"$scratch/program-loader.dll"
check "  ... and its loader keeps Velotide's signature" cmp -s "$scratch/program-loader.dll" "$release/loader.dll"

# --- Signed again with another certificate, a key on a token (as `make
# program` signs the velotide.exe it builds from): velotide.exe and its
# loader carry the new signature though no source changed; with no time
# stamp, it ends with the certificate.
# shellcheck disable=SC2086,SC2163 # the settings are words
export $token SIGN_CERT="$keys/owner.pem" SIGN_PASSWORD_FILE="$keys/pin"
cmake -S "$src" -B "$build" -DVELOTIDE_SIGN=ON -DVELOTIDE_WEBVIEW2_LOADER= >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target velotide >>"$scratch/build.log" 2>&1
unset SIGN_PKCS11_MODULE SIGN_PKCS11_KEY SIGN_CERT SIGN_PASSWORD_FILE
wrestool -x --raw --type=10 --name=2 "$build/velotide.exe" >"$scratch/owner-loader.dll"
check "signed again with the token's key: velotide.exe carries it" signed_by "$build/velotide.exe" owner
check "  ... and so does its loader" signed_by "$scratch/owner-loader.dll" owner
check "  ... not time-stamped, it ends with the certificate" not verifies "$build/velotide.exe" -time "$later"

$wine "$trust" remove-root "$(winpath "$keys/root.der")" >/dev/null
check "throwaway root taken out of the prefix again" [ $? -eq 0 ]
root_added=
echo "$failures check(s) failed"
[ $failures -eq 0 ] && rm -rf "$scratch" "$keys"
[ $failures -eq 0 ]
