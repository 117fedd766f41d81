#!/bin/sh
# The time every package entry carries: SOURCE_DATE_EPOCH when set, else the
# time of the commit being built, else 1980-01-01 (the first a zip can hold).
# Written to FILE only when it changed, so packages are rebuilt for a new
# commit and only then.
# Usage: source_date.sh SOURCE_DIR FILE
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$1" log -1 --format=%ct 2>/dev/null)}
epoch=${epoch:-315532800}
[ -f "$2" ] && [ "$(cat "$2")" = "$epoch" ] && exit 0
mkdir -p "$(dirname "$2")"
echo "$epoch" > "$2"
