#!/bin/sh
# The packages as a user meets them, in the test prefix: the zip's contents;
# the MSI installed quietly, the installed program started and quit; the MSI
# removed again, which must take the program and its shortcut but leave the
# user's settings alone. Runs inside scripts/wine-session.sh.
# Usage: dist_test.sh VERSION ZIP MSI EXE DRIVER ENGINE
set -u
version=$1 zip=$2 msi=$3 exe=$4 driver=$5 engine=$6
. "$(dirname "$0")/dist_helpers.sh"

localappdata=$(unixpath LOCALAPPDATA)
appdata=$(unixpath APPDATA)
installed="$localappdata/Programs/Velotide/velotide.exe"
installed_win='\AppData\Local\Programs\Velotide\velotide.exe'
shortcut="$appdata/Microsoft/Windows/Start Menu/Programs/Velotide.lnk"
data="$localappdata/Velotide"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# --- The portable zip: the program, its two documents and the Group Policy
# templates, nothing else.
check "zip holds velotide.exe, README.md, LICENSE and the templates" \
    [ "$(zip -sf "$zip" | sed -n 's/^  //p' | sort | tr '\n' ' ')" = \
      "LICENSE README.md policy/Velotide.admx policy/en-US/Velotide.adml velotide.exe " ]

# --- The MSI's package facts: per-user, no elevation, this version.
msiinfo export "$msi" Property | tr -d '\r' >"$scratch/properties"
check "MSI ProductVersion is $version" grep -q -x "ProductVersion	$version" "$scratch/properties"
check "MSI sets no ALLUSERS (per-user install)" sh -c '! grep -q "^ALLUSERS	" "$1"' - "$scratch/properties"
# Word count bit 8: the installer needs no elevated privileges.
words=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
check "MSI asks for no elevation (word count $words)" [ $(( ${words:-0} & 8 )) -eq 8 ]
# The Start menu shortcut carries the AppUserModelID the program gives itself.
appid=$(msiinfo export "$msi" MsiShortcutProperty |
    awk -F '\t' '$2 == "VelotideShortcut" && $3 == "System.AppUserModel.ID" { print $4 }' | tr -d '\r')
check "shortcut's AppUserModelID ($appid) is velotide.exe's" \
    sh -c 'x86_64-w64-mingw32-strings -el "$1" | grep -q -x -F "$2"' - "$exe" "$appid"

# A run cut short may have left an installation or settings behind.
$wine msiexec /x "$(winpath "$msi")" /qn >/dev/null 2>&1
rm -rf "$data"
check "nothing installed before the test" absent "$installed"

# The user's settings, as a previous run of the program left them.
mkdir -p "$data"
printf 'url=https://example.com\r\nblockAds=1\r\n' >"$data/config.ini"
cp "$data/config.ini" "$scratch/config.ini"

# --- Install.
$wine msiexec /i "$(winpath "$msi")" /qn
check "msiexec /i succeeds" [ $? -eq 0 ]
check "installed program is the built velotide.exe" cmp -s "$exe" "$installed"
check "Start menu shortcut Velotide.lnk exists" [ -f "$shortcut" ]
check "shortcut targets the installed program" mentions "$shortcut" "$installed_win"
check "shortcut carries the program icon" mentions "$shortcut" '\velotide.ico'
check "installed settings untouched" cmp -s "$scratch/config.ini" "$data/config.ini"

# --- Start the installed program, with the test engine standing in for the
# WebView2 Runtime, and quit it from the menu.
check "installed program shows its main window and ends with exit code 0" \
    [ "$(run_installed "$installed" "$engine" "$driver" "$scratch")" = "shown, exit 0" ]
# What the program wrote there is the user's now.
cp "$data/config.ini" "$scratch/config.ini"

# --- Uninstall.
$wine msiexec /x "$(winpath "$msi")" /qn
check "msiexec /x succeeds" [ $? -eq 0 ]
check "program removed" absent "$installed"
check "install folder removed" absent "$localappdata/Programs/Velotide"
check "shortcut removed" absent "$shortcut"
check "installer registry values removed" sh -c '! $1 reg query "HKCU\\Software\\Velotide\\Installer" >/dev/null 2>&1' - "$wine"
check "config.ini kept as it was" cmp -s "$scratch/config.ini" "$data/config.ini"

rm -rf "$data"
echo "$failures check(s) failed"
[ $failures -eq 0 ]
