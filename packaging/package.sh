#!/bin/sh
# Builds the portable zip and the MSIs (per user, per machine) so that the
# same sources give the same bytes: every file enters with the source date's
# time, in a fixed order, and each MSI's summary carries that time and a
# package code made from what it installs. wixl and msibuild take the time
# from the clock, which faketime holds at the source date while they run.
# The shortcut's properties (its AppUserModelID) are a table of their own,
# added by msibuild: wixl knows no ShortcutProperty. Nor does it know
# conditions: a component named SiteUrl gets the condition SITEURL here, and
# SITEURL a place among the secure properties, so that it reaches the
# elevated part of a per-machine install.
# The zip holds the program, its documents and the Group Policy templates
# (policy/Velotide.admx, policy/en-US/Velotide.adml).
# Usage: package.sh DATE_FILE STAGE_DIR ZIP VERSION SHORTCUT_PROPERTIES_IDT EXE ICON README LICENSE ADMX ADML
#        [MSI WXS UPGRADE_CODE PRODUCT_CODE]...
set -e
date_file=$1 stage=$2 zip=$3 version=$4 properties=$5 exe_file=$6 icon_file=$7 readme_file=$8 license_file=$9
shift 9
admx_file=$1 adml_file=$2
shift 2
epoch=$(cat "$date_file")
export TZ=UTC
clock=$(date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')

rm -rf "$stage"
mkdir -p "$stage/policy/en-US"
for file in "$exe_file" "$icon_file" "$readme_file" "$license_file"; do
    cp "$file" "$stage/"
done
cp "$admx_file" "$stage/policy/"
cp "$adml_file" "$stage/policy/en-US/"
find "$stage" -exec touch -d "@$epoch" {} +
exe=$(basename "$exe_file") icon=$(basename "$icon_file")
admx=policy/$(basename "$admx_file") adml=policy/en-US/$(basename "$adml_file")

rm -f "$zip"
(cd "$stage" && zip -q -X -D "$zip" "$exe" "$(basename "$readme_file")" "$(basename "$license_file")" "$admx" "$adml")

# A table of the MSI with the rows awk's program makes of it.
edit_table() {  # MSI TABLE AWK_PROGRAM
    msiinfo export "$1" "$2" | awk -F '\t' -v OFS='\t' "$3" >"$stage/$2.idt"
    faketime -f "$clock" msibuild "$1" -i "$stage/$2.idt"
}

while [ $# -ge 4 ]; do
    msi=$1 wxs=$2 upgrade=$3 product=$4
    shift 4
    # A package code of its own for every MSI that differs in what it installs.
    hash=$(cat "$stage/$exe" "$stage/$icon" "$wxs" "$properties" "$0" | sha256sum | tr 'a-f' 'A-F')
    package=$(echo "$hash" | sed 's/^\(.\{8\}\)\(.\{4\}\)\(.\{4\}\)\(.\{4\}\)\(.\{12\}\).*/\1-\2-\3-\4-\5/')
    rm -f "$msi"
    # wixl takes source files only as paths relative to its working directory.
    (cd "$stage" && faketime -f "$clock" wixl -a x64 -o "$msi" "$wxs" -D Version="$version" \
        -D UpgradeCode="$upgrade" -D ProductCode="$product" -D ExeFile="$exe" -D IconFile="$icon")
    if msiinfo export "$msi" Component | grep -q '^SiteUrl	'; then
        edit_table "$msi" Component '$1 == "SiteUrl" { $5 = "SITEURL" } 1'
        edit_table "$msi" Property '$1 == "SecureCustomProperties" { $2 = "SITEURL;" $2 } 1'
    fi
    faketime -f "$clock" msibuild "$msi" -i "$properties" \
        -s "Velotide $version" "The Velotide developers" "x64;1033" "{$package}"
done
