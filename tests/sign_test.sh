#!/bin/sh
# A release signed with a throwaway root's code-signing certificate, as
# `make dist SIGN_...` signs it, checked the two ways Windows users would:
# osslsigncode against that root, and Windows' own WinVerifyTrust (TRUST, run
# under Wine with the root among the prefix's trusted ones). Also: a
# certificate that can't be used stops signing with one line and leaves no
# file; one byte changed after signing fails both checks; the loader the
# program writes out and loads is the signed one; each signed file, its
# signature removed, is the rebuild's bytes; and a site's program made from
# the signed velotide.exe carries no signature until its owner signs it.
# A time stamp comes from a local RFC 3161 server (tests/timestamp_server.py,
# on 127.0.0.1, stopped when done). Runs inside scripts/wine-session.sh.
# Usage: sign_test.sh SOURCE_DIR WORK_DIR TRUST DRIVER ENGINE
set -u
src=$1 work=$2 trust=$3 driver=$4 engine=$5
. "$(dirname "$0")/dist_helpers.sh"
sign="sh $src/packaging/sign.sh"
# The release is built in WORK_DIR itself, beside the build folder, so that
# the compiler's cache serves it.
keys=$work/keys build=$work release=$work/release scratch=$work/scratch
rm -rf "$keys" "$release" "$scratch"
mkdir -p "$keys" "$release" "$scratch"

# --- A root, a publisher's certificate it issued (PKCS#12 and PEM, the
# same key), a site owner's, and a key of no certificate.
cat >"$keys/ext.cnf" <<'EOF'
[root]
basicConstraints=critical,CA:TRUE
keyUsage=critical,keyCertSign,cRLSign
subjectKeyIdentifier=hash
[tsa]
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=critical,timeStamping
[signer]
basicConstraints=critical,CA:FALSE
keyUsage=critical,digitalSignature
extendedKeyUsage=codeSigning
subjectKeyIdentifier=hash
authorityKeyIdentifier=keyid
EOF
(
    cd "$keys" || exit 1
    openssl req -newkey rsa:2048 -nodes -keyout root.key -out root.csr -subj "/CN=Velotide Test Root"
    openssl x509 -req -in root.csr -signkey root.key -out root.pem -days 2 -extfile ext.cnf -extensions root
    openssl x509 -in root.pem -outform der -out root.der
    for who in publisher owner; do
        openssl req -newkey rsa:2048 -nodes -keyout $who.key -out $who.csr -subj "/CN=Velotide Test $who"
        openssl x509 -req -in $who.csr -CA root.pem -CAkey root.key -CAcreateserial -out $who.pem -days 2 \
            -extfile ext.cnf -extensions signer
    done
    openssl req -newkey rsa:2048 -nodes -keyout tsa.key -out tsa.csr -subj "/CN=Velotide Test TSA"
    openssl x509 -req -in tsa.csr -CA root.pem -CAkey root.key -CAcreateserial -out tsa.pem -days 2 \
        -extfile ext.cnf -extensions tsa
    printf '[tsa]\ndefault_tsa = tsa\nserial = tsa.serial\nsigner_digest = sha256\ndefault_policy = 1.2.3.4.1\n%s\n' \
        'digests = sha256, sha1' >tsa.cnf
    openssl req -newkey rsa:2048 -nodes -keyout stray.key -out /dev/null -subj "/CN=stray"
    printf 'correct horse\n' >password
    printf 'wrong horse\n' >wrong-password
    openssl pkcs12 -export -in publisher.pem -inkey publisher.key -certfile root.pem -out publisher.p12 \
        -passout file:password
) >/dev/null 2>&1
check "throwaway root and certificates made" [ -s "$keys/publisher.p12" ] && [ -s "$keys/owner.pem" ]

# --- The release, signed as `make dist` signs it.
export SIGN_PKCS12="$keys/publisher.p12" SIGN_PASSWORD_FILE="$keys/password"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELOTIDE_SIGN=ON -DVELOTIDE_WEBVIEW2_LOADER= >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target velotide velotide_packages >"$scratch/build.log" 2>&1
check "signed release built" [ $? -eq 0 ]
unset SIGN_PKCS12 SIGN_PASSWORD_FILE
cp "$build/signed/WebView2Loader.dll" "$build/loader/WebView2Loader.dll" "$build/velotide.exe" "$build"/packages/* \
    "$release/" 2>/dev/null
mv "$release/WebView2Loader.dll" "$release/loader.dll"  # the signed one, copied second
cp "$build/loader/WebView2Loader.dll" "$release/unsigned-loader.dll"
signed="loader.dll velotide.exe $(cd "$release" && ls ./*.msi | sed 's|^\./||' | tr '\n' ' ')"

# --- Each certificate that can't be used: one line that says why, exit 1,
# and nothing written where the signed file would go.
k=$keys no_signing=
for v in PKCS12 PASSWORD_FILE CERT KEY PKCS11_MODULE PKCS11_KEY TIMESTAMP_URL; do
    no_signing="$no_signing -u SIGN_$v"
done
while IFS='|' read -r said settings; do
    rm -f "$scratch/out.dll"
    # shellcheck disable=SC2086 # the settings are words
    env $no_signing $settings sh "$src/packaging/sign.sh" "$build/loader/WebView2Loader.dll" "$scratch/out.dll" \
        2>"$scratch/said"
    code=$? lines=$(wc -l <"$scratch/said")
    check "sign.sh with $settings: exit 1, one line ($(cat "$scratch/said"))" \
        sh -c '[ "$1" = 1 ] && [ "$2" = 1 ] && grep -q -F "$3" "$4"' - "$code" "$lines" "$said" "$scratch/said"
    check "  ... and no signed file" absent "$scratch/out.dll"
done <<EOF
the password in $k/wrong-password is not the one|SIGN_PKCS12=$k/publisher.p12 SIGN_PASSWORD_FILE=$k/wrong-password
the password file $k/none can't be read|SIGN_PKCS12=$k/publisher.p12 SIGN_PASSWORD_FILE=$k/none
the certificate $k/none.p12 can't be read|SIGN_PKCS12=$k/none.p12 SIGN_PASSWORD_FILE=$k/password
can't be read as PKCS#12|SIGN_PKCS12=$k/root.pem SIGN_PASSWORD_FILE=$k/password
the key $k/stray.key doesn't match the certificate|SIGN_CERT=$k/publisher.pem SIGN_KEY=$k/stray.key
can't be read as PEM|SIGN_CERT=$k/publisher.key SIGN_KEY=$k/publisher.key
SIGN_CERT and SIGN_KEY go together|SIGN_CERT=$k/publisher.pem
needs SIGN_PKCS11_KEY|SIGN_PKCS11_MODULE=$k/root.der
no certificate|SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
was not signed: HTTP failure|SIGN_CERT=$k/publisher.pem SIGN_KEY=$k/publisher.key SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
EOF

# A file signed in place that can't be signed is removed, not left unsigned
# where a signed one belongs (the build signs velotide.exe so).
cp "$release/unsigned-loader.dll" "$scratch/in-place.dll"
SIGN_PKCS12="$keys/publisher.p12" SIGN_PASSWORD_FILE="$keys/password" SIGN_TIMESTAMP_URL=http://127.0.0.1:9/ \
    $sign "$scratch/in-place.dll" "$scratch/in-place.dll" 2>/dev/null
check "signed in place and failed: exit 1, the file removed" \
    sh -c '[ "$1" = 1 ] && [ ! -e "$2" ] && [ ! -e "$2.signing" ]' - $? "$scratch/in-place.dll"

# --- A key on a token, through its PKCS#11 module (SoftHSM's): signs with
# the right PIN; a wrong PIN, or a certificate not the key's, is one line
# and no file.
export SOFTHSM2_CONF="$keys/softhsm2.conf"
mkdir -p "$keys/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$keys/tokens" >"$SOFTHSM2_CONF"
openssl pkcs8 -topk8 -nocrypt -in "$keys/publisher.key" -out "$keys/publisher.p8"
softhsm2-util --init-token --free --label velotide --pin 1234 --so-pin 5678 >/dev/null &&
    softhsm2-util --import "$keys/publisher.p8" --token velotide --label signing --id 01 --pin 1234 >/dev/null
check "key put on a SoftHSM token" [ $? -eq 0 ]
printf '1234\n' >"$keys/pin"
printf '9999\n' >"$keys/wrong-pin"
pkcs11() {  # CERT PIN_FILE OUT
    SIGN_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so SIGN_PKCS11_KEY='pkcs11:token=velotide;object=signing' \
        SIGN_CERT=$1 SIGN_PASSWORD_FILE=$2 $sign "$release/unsigned-loader.dll" "$3" Velotide 2>"$scratch/said"
}
pkcs11 "$keys/publisher.pem" "$keys/pin" "$scratch/token.dll"
code=$?
check "signed with the token's key" sh -c \
    '[ "$1" = 0 ] && osslsigncode verify -CAfile "$2" -in "$3" >/dev/null 2>&1' - $code "$keys/root.pem" \
    "$scratch/token.dll"
while IFS='|' read -r said cert pin; do
    pkcs11 "$cert" "$pin" "$scratch/out.dll"
    code=$?
    check "token, $(cat "$scratch/said"): exit 1, one line, no file" sh -c \
        '[ "$1" = 1 ] && [ "$(wc -l <"$2")" = 1 ] && grep -q -F "$3" "$2" && [ ! -e "$4" ]' - \
        $code "$scratch/said" "$said" "$scratch/out.dll"
done <<EOF
Login failed|$keys/publisher.pem|$keys/wrong-pin
consistency of a private key|$keys/owner.pem|$keys/pin
EOF
unset SOFTHSM2_CONF

# --- A time stamp from an RFC 3161 server (a local one): the signature
# verifies after the certificate has expired, as one without a time stamp
# doesn't.
tsa=
trap '[ -z "$tsa" ] || kill "$tsa" 2>/dev/null; [ -z "${root_added:-}" ] ||
      $wine "$trust" remove-root "$(winpath "$keys/root.der")" >/dev/null 2>&1' EXIT
python3 "$(dirname "$0")/timestamp_server.py" "$keys" "$keys/port" &
tsa=$!
for _ in $(seq 50); do [ -s "$keys/port" ] && break; sleep 0.1; done
SIGN_PKCS12="$keys/publisher.p12" SIGN_PASSWORD_FILE="$keys/password" \
    SIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat "$keys/port")/" \
    $sign "$release/unsigned-loader.dll" "$scratch/stamped.dll" Velotide
check "signed with a time stamp from SIGN_TIMESTAMP_URL" [ $? -eq 0 ]
kill "$tsa" 2>/dev/null
later=$(($(date +%s) + 5 * 86400))  # the certificates last two days
check "time stamp verified" sh -c 'osslsigncode verify -CAfile "$1" -TSA-CAfile "$1" -in "$2" >"$3" 2>&1 &&
    grep -q "Timestamp Server Signature verification: ok" "$3"' - "$keys/root.pem" "$scratch/stamped.dll" \
    "$scratch/said"
check "time-stamped: verifies once the certificate has expired" sh -c \
    'osslsigncode verify -CAfile "$1" -TSA-CAfile "$1" -time "$2" -in "$3" >/dev/null 2>&1' - "$keys/root.pem" \
    "$later" "$scratch/stamped.dll"
check "not time-stamped: fails once the certificate has expired" sh -c \
    '! osslsigncode verify -CAfile "$1" -time "$2" -in "$3" >/dev/null 2>&1' - "$keys/root.pem" "$later" \
    "$release/loader.dll"

$wine "$trust" add-root "$(winpath "$keys/root.der")" >/dev/null && root_added=1
check "throwaway root trusted in the Wine prefix" [ $? -eq 0 ]
for file in $signed; do
    check "$file: osslsigncode verifies it against the root" \
        sh -c 'osslsigncode verify -CAfile "$1" -in "$2" >/dev/null 2>&1' - "$keys/root.pem" "$release/$file"
    check "$file: WinVerifyTrust trusts it" $wine "$trust" verify "$(winpath "$release/$file")"
    # One byte changed, halfway through: both checks fail.
    cp "$release/$file" "$scratch/$file"
    at=$(($(stat -c %s "$scratch/$file") / 2))
    byte=$(od -An -tu1 -j "$at" -N1 "$scratch/$file" | tr -d ' ')
    printf "\\$(printf %o $((byte ^ 255)))" | dd of="$scratch/$file" bs=1 seek="$at" conv=notrunc 2>/dev/null
    check "$file changed: osslsigncode refuses it" \
        sh -c '! osslsigncode verify -CAfile "$1" -in "$2" >/dev/null 2>&1' - "$keys/root.pem" "$scratch/$file"
    # Wine's WinVerifyTrust checks a PE file's digest, but not an MSI's: it
    # takes any MSI with a signature that parses, so only osslsigncode can
    # show a changed MSI refused here; an MSI without one Wine does refuse.
    case $file in
    *.msi)
        osslsigncode remove-signature -in "$release/$file" -out "$scratch/unsigned-$file" >/dev/null
        check "$file unsigned: WinVerifyTrust refuses it" sh -c '! $1 "$2" verify "$3" >/dev/null' - "$wine" "$trust" \
            "$(winpath "$scratch/unsigned-$file")"
        ;;
    *)
        check "$file changed: WinVerifyTrust refuses it" sh -c '! $1 "$2" verify "$3" >/dev/null' - "$wine" "$trust" \
            "$(winpath "$scratch/$file")"
        ;;
    esac
done

# --- What is packed is the signed velotide.exe.
check "the zip carries the signed velotide.exe" \
    sh -c 'unzip -p "$1" velotide.exe | cmp -s - "$2"' - "$release"/velotide-*.zip "$release/velotide.exe"
for msi in "$release"/*.msi; do
    rm -rf "$scratch/msi" && mkdir "$scratch/msi" && (cd "$scratch/msi" && msiextract "$msi" >/dev/null 2>&1)
    check "$(basename "$msi") installs the signed velotide.exe" \
        cmp -s "$(find "$scratch/msi" -name velotide.exe | head -n 1)" "$release/velotide.exe"
done

# --- The loader velotide.exe carries and writes out at start is the signed one.
wrestool -x --raw --type=10 --name=2 "$release/velotide.exe" >"$release/embedded-loader.dll"
check "velotide.exe embeds the signed loader" cmp -s "$release/embedded-loader.dll" "$release/loader.dll"
data="$(unixpath LOCALAPPDATA)/Velotide"
rm -rf "$data"
check "signed velotide.exe starts and quits" \
    [ "$(run_installed "$release/velotide.exe" "$engine" "$driver" "$scratch")" = "shown, exit 0" ]
check "the loader it wrote and loaded is the signed one, byte for byte" \
    cmp -s "$data/WebView2Loader.dll" "$release/loader.dll"
check "WinVerifyTrust trusts the loader it wrote" $wine "$trust" verify "$(winpath "$data/WebView2Loader.dll")"
rm -rf "$data"

# --- Each signed file is the unsigned build plus its signature: the loader,
# signature removed, is the build's own; velotide.exe, signature removed, is
# a rebuild that embeds the released loader; an MSI's Authenticode digest is
# that of the rebuild's MSI packed around the released velotide.exe.
osslsigncode remove-signature -in "$release/loader.dll" -out "$scratch/stripped-loader.dll" >/dev/null
check "loader without its signature is the unsigned build's" \
    cmp -s "$scratch/stripped-loader.dll" "$release/unsigned-loader.dll"
cmake -S "$src" -B "$build" -DVELOTIDE_SIGN=OFF -DVELOTIDE_WEBVIEW2_LOADER="$release/embedded-loader.dll" >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target velotide >>"$scratch/build.log" 2>&1
osslsigncode remove-signature -in "$release/velotide.exe" -out "$scratch/stripped-velotide.exe" >/dev/null
check "velotide.exe without its signature is the rebuild's, byte for byte" \
    cmp -s "$scratch/stripped-velotide.exe" "$build/velotide.exe"
digest() { osslsigncode extract-data -in "$1" -out "$2" >/dev/null; }
digest "$release/velotide.exe" "$scratch/digest-release"
digest "$build/velotide.exe" "$scratch/digest-rebuild"
check "velotide.exe's Authenticode digest is the rebuild's" cmp -s "$scratch/digest-release" "$scratch/digest-rebuild"
# The MSIs packed again around the released velotide.exe (newer than what
# it is linked from, so the build takes it as it is): each signed MSI's
# Authenticode digest is that of the unsigned MSI the rebuild packs.
cp "$release/velotide.exe" "$build/velotide.exe"
cmake --build "$build" -j"$(nproc)" --target velotide_packages >>"$scratch/build.log" 2>&1
check "the rebuild packs the released velotide.exe as it is" cmp -s "$build/velotide.exe" "$release/velotide.exe"
for msi in "$release"/*.msi; do
    name=$(basename "$msi")
    digest "$msi" "$scratch/digest-release-$name"
    digest "$build/packages/$name" "$scratch/digest-rebuild-$name"
    check "$name: its Authenticode digest is the rebuild's" \
        cmp -s "$scratch/digest-release-$name" "$scratch/digest-rebuild-$name"
done

# --- A site's program made from the signed velotide.exe: no signature, not
# a broken one; its owner's signature verifies; the loader inside keeps
# Velotide's.
program="$scratch/Acme Board.exe"
$wine "$release/velotide.exe" --make-program "$(winpath "$program")" --url https://acme.example --name "Acme Board" \
    --publisher "Acme Ltd" --version 2.1
check "program made from the signed velotide.exe" [ -s "$program" ]
check "the program carries no signature" \
    sh -c 'osslsigncode verify -in "$1" 2>&1 | grep -q "No signature found"' - "$program"
check "its header names no certificate table" \
    sh -c 'x86_64-w64-mingw32-objdump -p "$1" | grep -q "^Entry 4 0*0 00000000 Security Directory"' - "$program"
SIGN_CERT="$keys/owner.pem" SIGN_KEY="$keys/owner.key" $sign "$program" "$program" "Acme Board"
check "the owner signs it" [ $? -eq 0 ]
osslsigncode verify -CAfile "$keys/root.pem" -in "$program" >"$scratch/said" 2>&1
check "osslsigncode verifies the owner's signature" \
    sh -c '[ "$1" = 0 ] && grep -q "Velotide Test owner" "$2"' - $? "$scratch/said"
check "WinVerifyTrust trusts the owner's program" $wine "$trust" verify "$(winpath "$program")"
wrestool -x --raw --type=10 --name=2 "$program" >"$scratch/program-loader.dll"
check "the program's loader keeps Velotide's signature" cmp -s "$scratch/program-loader.dll" "$release/loader.dll"

# --- Signed again with another certificate (the owner's, as `make program`
# signs the velotide.exe it builds from), the loader and velotide.exe carry
# the new signature, though no source changed.
signer() { osslsigncode verify -CAfile "$keys/root.pem" -in "$1" 2>/dev/null | grep -q "CN=Velotide Test $2"; }
export SIGN_CERT="$keys/owner.pem" SIGN_KEY="$keys/owner.key"
cmake -S "$src" -B "$build" -DVELOTIDE_SIGN=ON -DVELOTIDE_WEBVIEW2_LOADER= >/dev/null &&
    cmake --build "$build" -j"$(nproc)" --target velotide >>"$scratch/build.log" 2>&1
unset SIGN_CERT SIGN_KEY
wrestool -x --raw --type=10 --name=2 "$build/velotide.exe" >"$scratch/owner-loader.dll"
check "signed again by another certificate: velotide.exe carries it" signer "$build/velotide.exe" owner
check "  ... and so does its loader" signer "$scratch/owner-loader.dll" owner

$wine "$trust" remove-root "$(winpath "$keys/root.der")" >/dev/null
check "throwaway root taken out of the prefix again" [ $? -eq 0 ]
root_added=
echo "$failures check(s) failed"
[ $failures -eq 0 ] && rm -rf "$scratch" "$keys"
[ $failures -eq 0 ]
