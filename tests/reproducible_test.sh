#!/bin/sh
# The release files (velotide.exe, its embedded WebView2Loader.dll, the zip and
# the MSI) built twice, from two copies of the sources in fresh folders of
# different names, one after the other, must be the same bytes. Prints each
# file that differs with its first differing offset.
# Usage: reproducible_test.sh SOURCE_DIR WORK_DIR
set -eu
src=$1 work=$2
# Both copies are "the same commit": its time, as packaging/source_date.sh reads it.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null || echo 315532800)}
export SOURCE_DATE_EPOCH
rm -rf "$work"
for copy in one the-second-copy; do
    mkdir -p "$work/$copy/source"
    if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        (cd "$src" && git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf -) |
            tar -xf - -C "$work/$copy/source"
    else
        (cd "$src" && tar --exclude=./build --exclude=./dist -cf - .) | tar -xf - -C "$work/$copy/source"
    fi
    cmake -S "$work/$copy/source" -B "$work/$copy/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$work/$copy/build" -j "$(nproc)" --target velotide velotide_loader velotide_packages >/dev/null
done

failures=0
for file in velotide.exe loader/WebView2Loader.dll $(cd "$work/one/build" && ls packages/*); do
    a="$work/one/build/$file" b="$work/the-second-copy/build/$file"
    if difference=$(cmp "$a" "$b" 2>&1); then
        echo "same     $file  $(sha256sum <"$a" | cut -d' ' -f1)"
    else
        echo "DIFFERS  $file: ${difference#*differ: }"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && rm -rf "$work"
exit "$failures"
