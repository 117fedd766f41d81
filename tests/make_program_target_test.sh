#!/bin/sh
# `make program` hands URL, NAME, ICON and PUBLISHER to scripts/make-program.sh
# as they were typed, whatever they hold: the Makefile's program target runs in a
# scratch copy where cmake, the dependencies' script and the Wine session are
# stand-ins, the last writing down the words the script would get. And a
# `make dist` that stops leaves no earlier release behind.
# Usage: make_program_target_test.sh SOURCE_DIR
set -u
source=$1 scratch=$(mktemp -d) failures=0
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/scripts" "$scratch/bin"
cp "$source/Makefile" "$scratch/"
printf '#!/bin/sh\n' >"$scratch/bin/cmake"
printf '' >"$scratch/scripts/install-deps.sh"
# BUILD sh scripts/make-program.sh BUILD URL NAME ICON PUBLISHER VERSION SIGN:
# all but the first four, one a line, and the character set Wine would read
# them in.
printf '#!/bin/sh\nshift 4\nprintf "%%s\\n" "$@" "$(locale charmap)" >words\n' >"$scratch/scripts/wine-session.sh"
chmod +x "$scratch/bin/cmake" "$scratch/scripts/wine-session.sh"

# URL, NAME, ICON and PUBLISHER as typed on make's command line (which drops
# spaces before a value, as the program drops them around a name), by a
# caller whose locale is plain ASCII.
while IFS='|' read -r url name icon publisher; do
    rm -f "$scratch/words"
    env -u MAKEFLAGS -u MFLAGS -u LANG LC_ALL=C PATH="$scratch/bin:$PATH" make -s -C "$scratch" program \
        URL="$url" NAME="$name" ICON="$icon" PUBLISHER="$publisher" VERSION=2.1 >/dev/null 2>&1
    expected=$(printf '%s\n%s\n%s\n%s\n2.1\nOFF\nUTF-8' "$url" "$name" "$icon" "$publisher")
    if [ "$(cat "$scratch/words" 2>/dev/null)" = "$expected" ]; then
        printf 'ok   %s\n' "$name"
    else
        printf 'FAIL %s: got %s\n' "$name" "$(tr '\n' '|' <"$scratch/words" 2>/dev/null)"
        failures=$((failures + 1))
    fi
done <<'CASES'
https://board.acme.example|Acme Board|acme.png|Acme Ltd
https://a.example/?q=$HOME|Price $5 $(id) ${PATH}|$HOME/icon.png|$USER & Co
https://a.example/|It's "quoted" `id` \n \\ & ; # x|it's.png|O'Brien `x`
https://a.example/|$$ $$(x)||
https://a.example/|Béla Board|béla.png|Béla Kft
CASES
# The signing files, relative to the checkout or absolute, reach the signing
# script whole as absolute paths, spaces and quotes and all; its stand-in
# writes down what it gets.
mkdir -p "$scratch/packaging"
printf '#!/bin/sh\nprintf "%%s\\n" "$SIGN_PKCS12" "$SIGN_PASSWORD_FILE" >"$(dirname "$0")/../signing"\n' \
    >"$scratch/packaging/sign.sh"
env -u MAKEFLAGS -u MFLAGS PATH="$scratch/bin:$PATH" make -s -C "$scratch" program URL=https://a.example/ NAME=A \
    SIGN_PKCS12="my certs/publisher.p12" SIGN_PASSWORD_FILE="/keys/it's \$here/password" >/dev/null 2>&1
expected=$(printf '%s\n%s' "$scratch/my certs/publisher.p12" "/keys/it's \$here/password")
if [ "$(cat "$scratch/signing" 2>/dev/null)" = "$expected" ]; then
    printf 'ok   signing files\n'
else
    printf 'FAIL signing files: got %s\n' "$(tr '\n' '|' <"$scratch/signing" 2>/dev/null)"
    failures=$((failures + 1))
fi
# A `make dist` whose build stops (here: nothing is built) leaves none of an
# earlier release in dist/, to be taken for this one.
mkdir -p "$scratch/dist" && (cd "$scratch/dist" &&
    touch velotide.exe velotide-0.9.0-win-x64.zip Velotide-0.9.0-x64.msi Velotide-0.9.0-x64-machine.msi SHA256SUMS)
env -u MAKEFLAGS -u MFLAGS PATH="$scratch/bin:$PATH" make -s -C "$scratch" dist >/dev/null 2>&1
if [ -z "$(ls -A "$scratch/dist")" ]; then
    printf 'ok   dist cleared\n'
else
    printf 'FAIL dist cleared: %s left\n' "$(ls "$scratch/dist" | tr '\n' ' ')"
    failures=$((failures + 1))
fi
echo "$failures check(s) failed"
[ $failures -eq 0 ]
