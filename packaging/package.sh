#!/bin/sh
# Builds the portable zip and the per-user MSI so that the same sources give
# the same bytes: every file enters with the source date's time, in a fixed
# order, and the MSI's summary carries that time and a package code made from
# what it installs. wixl and msibuild take the time from the clock, which
# faketime holds at the source date while they run.
# The shortcut's properties (its AppUserModelID) are a table of their own,
# added by msibuild: wixl knows no ShortcutProperty.
# Usage: package.sh DATE_FILE STAGE_DIR ZIP MSI VERSION UPGRADE_CODE PRODUCT_CODE WXS SHORTCUT_PROPERTIES_IDT
#        EXE ICON README LICENSE
set -e
date_file=$1 stage=$2 zip=$3 msi=$4 version=$5 upgrade=$6 product=$7 wxs=$8 properties=$9
shift 9
epoch=$(cat "$date_file")
export TZ=UTC
clock=$(date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')

rm -rf "$stage"
mkdir -p "$stage"
for file in "$@"; do
    cp "$file" "$stage/"
    touch -d "@$epoch" "$stage/$(basename "$file")"
done
exe=$(basename "$1") icon=$(basename "$2") readme=$(basename "$3") license=$(basename "$4")

rm -f "$zip"
(cd "$stage" && zip -q -X "$zip" "$exe" "$readme" "$license")

# A package code of its own for every MSI that differs in what it installs.
hash=$(cat "$stage/$exe" "$stage/$icon" "$wxs" "$properties" | sha256sum | tr 'a-f' 'A-F')
package=$(echo "$hash" | sed 's/^\(.\{8\}\)\(.\{4\}\)\(.\{4\}\)\(.\{4\}\)\(.\{12\}\).*/\1-\2-\3-\4-\5/')
rm -f "$msi"
# wixl takes source files only as paths relative to its working directory.
(cd "$stage" && faketime -f "$clock" wixl -a x64 -o "$msi" "$wxs" -D Version="$version" \
    -D UpgradeCode="$upgrade" -D ProductCode="$product" -D ExeFile="$exe" -D IconFile="$icon")
faketime -f "$clock" msibuild "$msi" -i "$properties" \
    -s "Velotide $version" "The Velotide developers" "x64;1033" "{$package}"
