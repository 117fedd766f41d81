#!/bin/sh
# Signs release files with the publisher's certificate, by osslsigncode
# (Authenticode, SHA-256), taken from the environment as `make dist` and
# `make program` hand it on:
#   SIGN_PKCS12=FILE [SIGN_PASSWORD_FILE=FILE]   a PKCS#12 file and its password
#   SIGN_CERT=FILE SIGN_KEY=FILE [SIGN_PASSWORD_FILE=FILE]   PEM (an encrypted key's password)
#   SIGN_PKCS11_MODULE=FILE SIGN_PKCS11_KEY=URI [SIGN_CERT=FILE] [SIGN_PASSWORD_FILE=FILE]
#       a token's or a cloud's key (its certificate from SIGN_CERT, else from
#       the token under the key's URI; its PIN in the password file)
#   SIGN_TIMESTAMP_URL=URL   an RFC 3161 time stamp, so the signature outlives the certificate
#       (a server that doesn't answer in 30 seconds is a fault)
# A password only ever comes from its file, never from a command line.
# "sign.sh check" checks the certificate alone (a token's key by signing a
# few bytes); "sign.sh IN OUT [DESCRIPTION]"
# writes IN (an exe, a DLL, an MSI) signed to OUT, which may be IN,
# DESCRIPTION the name Windows shows with the signature. A fault is one line
# on standard error and exit 1, with OUT removed: no build takes an unsigned
# or half-written file for a signed one.
set -u
fail() { echo "sign: $*" >&2; exit 1; }
readable() { [ -f "$1" ] && [ -r "$1" ]; }
signed=no out= trial=
[ "${1:-}" = check ] || out=${2:-}
trap '[ -z "$trial" ] || rm -rf "$trial"
      [ -z "$out" ] || { rm -f "$out.signing" "$out.stamped"; [ "$signed" = yes ] || rm -f "$out"; }' EXIT
# Stopped (Ctrl+C in the build), it cleans up as on a fault.
trap 'exit 1' HUP INT TERM
# The password is the file's first line without its end (a CR too, as a
# Windows editor writes it) or a UTF-8 mark: the same to openssl's checks
# as to osslsigncode, which would take the whole file. It reaches both on
# standard input, from the shell's own printf.
pass= secret=
if [ -n "${SIGN_PASSWORD_FILE:-}" ]; then
    readable "$SIGN_PASSWORD_FILE" || fail "the password file $SIGN_PASSWORD_FILE can't be read"
    pass=$SIGN_PASSWORD_FILE secret=$(LC_ALL=C sed -n '1{s/^\xEF\xBB\xBF//;s/\r$//;p}' "$pass")
fi
password() { printf '%s\n' "$secret"; }
# openssl's answer to a read, its first line when it refused.
why() { sed -n '1{s/^[0-9A-F]*:error:[0-9A-F]*://;p}'; }

# The certificate and its key, checked before anything is signed.
check() {
    if [ -n "${SIGN_PKCS12:-}" ]; then
        [ -z "${SIGN_CERT:-}${SIGN_KEY:-}${SIGN_PKCS11_MODULE:-}" ] ||
            fail "give SIGN_PKCS12, SIGN_CERT with SIGN_KEY, or SIGN_PKCS11_MODULE with SIGN_PKCS11_KEY, one of them"
        readable "$SIGN_PKCS12" || fail "the certificate $SIGN_PKCS12 can't be read"
        # Older PKCS#12 files (Windows' own, say) are encrypted with what
        # OpenSSL calls legacy.
        for legacy in "" -legacy; do
            answer=$(password | openssl pkcs12 $legacy -in "$SIGN_PKCS12" -passin stdin -noout 2>&1) && return
        done
        case $answer in
        *"invalid password"*) fail "the password in ${pass:-(none given)} is not the one of $SIGN_PKCS12" ;;
        *) fail "the certificate $SIGN_PKCS12 can't be read as PKCS#12 ($(echo "$answer" | why))" ;;
        esac
    fi
    if [ -n "${SIGN_PKCS11_MODULE:-}" ]; then
        [ -n "${SIGN_PKCS11_KEY:-}" ] || fail "SIGN_PKCS11_MODULE needs SIGN_PKCS11_KEY, the key's pkcs11: URI"
        [ -z "${SIGN_KEY:-}" ] || fail "SIGN_KEY and SIGN_PKCS11_KEY both name a key: give one"
        readable "$SIGN_PKCS11_MODULE" || fail "the PKCS#11 module $SIGN_PKCS11_MODULE can't be read"
    elif [ -n "${SIGN_CERT:-}${SIGN_KEY:-}${SIGN_PKCS11_KEY:-}" ]; then
        [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ] ||
            fail "SIGN_CERT and SIGN_KEY go together (a PKCS#11 key needs SIGN_PKCS11_MODULE)"
        readable "$SIGN_KEY" || fail "the key $SIGN_KEY can't be read"
    else
        fail "no certificate: give SIGN_PKCS12, SIGN_CERT with SIGN_KEY, or SIGN_PKCS11_MODULE with SIGN_PKCS11_KEY"
    fi
    [ -z "${SIGN_CERT:-}" ] && return
    readable "$SIGN_CERT" || fail "the certificate $SIGN_CERT can't be read"
    certificate=$(openssl x509 -in "$SIGN_CERT" -noout -pubkey 2>&1) ||
        fail "the certificate $SIGN_CERT can't be read as PEM ($(echo "$certificate" | why))"
    [ -n "${SIGN_KEY:-}" ] || return 0
    key=$(password | openssl pkey -in "$SIGN_KEY" -passin stdin -pubout 2>&1) ||
        fail "the key $SIGN_KEY can't be read (a wrong password, or not a PEM key)"
    [ "$key" = "$certificate" ] || fail "the key $SIGN_KEY doesn't match the certificate $SIGN_CERT"
}

# What osslsigncode said of a fault: its first line.
said() { echo "$answer" | grep -v -e '^Succeeded' -e '^$' | head -n 1 | grep . || echo Failed; }

# osslsigncode signs $1 to $2 with the certificate, the options after them
# added (a description); a fault, in $fault, is what it said.
sign() {
    from=$1 to=$2 && shift 2
    if [ -n "${SIGN_PKCS12:-}" ]; then
        set -- "$@" -pkcs12 "$SIGN_PKCS12"
    elif [ -n "${SIGN_PKCS11_MODULE:-}" ]; then
        set -- "$@" -pkcs11module "$SIGN_PKCS11_MODULE" -key "$SIGN_PKCS11_KEY"
        if [ -n "${SIGN_CERT:-}" ]; then
            set -- "$@" -certs "$SIGN_CERT"
        else
            set -- "$@" -pkcs11cert "$SIGN_PKCS11_KEY"
        fi
    else
        set -- "$@" -certs "$SIGN_CERT" -key "$SIGN_KEY"
    fi
    [ -n "$pass" ] && set -- "$@" -readpass /dev/stdin
    answer=$(password | osslsigncode sign -h sha256 "$@" -in "$from" -out "$to" 2>&1) || fault=$(said)
}

check
if [ "${1:-}" = check ]; then
    # Only a signature shows that a token holds the key, takes the PIN and
    # matches the certificate: a few bytes of script are signed to see.
    [ -z "${SIGN_PKCS11_MODULE:-}" ] && exit 0
    trial=$(mktemp -d) || fail "no folder for a trial signature"
    printf 'exit 0\r\n' >"$trial/trial.ps1" && fault=
    sign "$trial/trial.ps1" "$trial/signed.ps1"
    [ -z "$fault" ] || fail "the key $SIGN_PKCS11_KEY can't sign: $fault"
    exit 0
fi
[ $# -ge 2 ] || fail "usage: sign.sh check | sign.sh IN OUT [DESCRIPTION]"
in=$1 fault=
# osslsigncode writes over no file: one a killed run left goes.
rm -f "$out.signing" "$out.stamped"
sign "$in" "$out.signing" -n "${3:-$(basename "$2")}"
[ -z "$fault" ] || fail "$in was not signed: $fault"
# The time stamp comes once signed, the server given half a minute: one that
# takes the request and never answers would hold the build for good. (In the
# foreground, so that Ctrl+C reaches osslsigncode.)
if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then
    answer=$(timeout --foreground 30 osslsigncode add -h sha256 -ts "$SIGN_TIMESTAMP_URL" -in "$out.signing" \
        -out "$out.stamped" 2>&1)
    case $? in
    0) mv -f "$out.stamped" "$out.signing" ;;
    124) fail "$in was not signed: the time-stamp server $SIGN_TIMESTAMP_URL didn't answer in 30 seconds" ;;
    *) fail "$in was not signed: $(said)" ;;
    esac
fi
mv -f "$out.signing" "$out" && signed=yes
