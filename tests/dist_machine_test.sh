#!/bin/sh
# The per-machine MSI as an administrator deploys it, in the test prefix:
# without SITEURL no site is set; with it, the machine policy Url names the
# site and the installed program opens it without asking, the person's own
# settings untouched; uninstalling takes the program, its shortcut and that
# value, and nothing else (a policy it did not write, the person's settings).
# Runs inside scripts/wine-session.sh.
# Usage: dist_machine_test.sh MSI EXE DRIVER ENGINE
set -u
msi=$1 exe=$2 driver=$3 engine=$4
. "$(dirname "$0")/dist_helpers.sh"

policy='HKLM\SOFTWARE\Policies\Velotide'
site=https://intranet.test/
installed="$(unixpath ProgramFiles)/Velotide/velotide.exe"
# With ALLUSERS=1 Windows puts the shortcut in the Start menu of all users;
# Wine's msiexec puts it in the installing user's, whatever ALLUSERS says.
shortcuts="$(unixpath ProgramData)/Microsoft/Windows/Start Menu/Programs/Velotide.lnk
$(unixpath APPDATA)/Microsoft/Windows/Start Menu/Programs/Velotide.lnk"
shortcut() { echo "$shortcuts" | while read -r lnk; do [ -e "$lnk" ] && echo "$lnk"; done; }
data="$(unixpath LOCALAPPDATA)/Velotide"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
policy_value() { $wine reg query "$policy" /v "$1" 2>/dev/null | tr -d '\r' | awk -v name="$1" '$1 == name { print $3 }'; }

# --- The package facts: for all users, elevated, SITEURL reaching the
# elevated part (which Wine, running everything elevated, can't show).
msiinfo export "$msi" Property | tr -d '\r' >"$scratch/properties"
check "MSI sets ALLUSERS=1" grep -q -x "ALLUSERS	1" "$scratch/properties"
check "SITEURL is a secure property" grep -q "^SecureCustomProperties	\(.*;\)\?SITEURL\(;\|$\)" "$scratch/properties"
words=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
check "MSI asks for elevation (word count $words)" [ $(( ${words:-8} & 8 )) -eq 0 ]

# A run cut short may have left an installation, a value or settings behind.
$wine msiexec /x "$(winpath "$msi")" /qn >/dev/null 2>&1
$wine reg delete "$policy" /f >/dev/null 2>&1
rm -rf "$data"
# A policy the administrator set otherwise, and the person's own settings.
$wine reg add "$policy" /v BlockAds /t REG_DWORD /d 0 /f >/dev/null
mkdir -p "$data"
printf 'url=https://own.test/\r\nblockAds=1\r\n' >"$data/config.ini"

# --- Without SITEURL: the program, no site.
$wine msiexec /i "$(winpath "$msi")" /qn
check "msiexec /i without SITEURL succeeds" [ $? -eq 0 ]
check "installed into Program Files" cmp -s "$exe" "$installed"
check "no Url without SITEURL" [ -z "$(policy_value Url)" ]
$wine msiexec /x "$(winpath "$msi")" /qn

# --- With SITEURL: the one-line deployment.
$wine msiexec /i "$(winpath "$msi")" SITEURL=$site /qn
check "msiexec /i SITEURL=$site succeeds" [ $? -eq 0 ]
check "machine policy Url is $site" [ "$(policy_value Url)" = "$site" ]
check "Start menu shortcut targets the installed program" \
    mentions "$(shortcut)" '\Program Files\Velotide\velotide.exe'

log="$scratch/engine.log"
VELOTIDE_TEST_ENGINE_LOG=$(winpath "$log") \
    WEBVIEW2_BROWSER_EXECUTABLE_FOLDER=$(install_engine "$engine" "$scratch/runtime") $wine "$installed" &
app=$!
opened=false
if $wine "$driver" wait VelotideMain 20000; then
    for _ in $(seq 100); do
        grep -q "^navigation started 1 $site\$" "$log" 2>/dev/null && { opened=true; break; }
        sleep 0.2
    done
fi
check "installed program opens $site" $opened
check "no prompt for an address" sh -c '! $1 "$2" wait VelotidePrompt 1000' - "$wine" "$driver"
$wine "$driver" command 106 >/dev/null || kill $app 2>/dev/null  # Quit
wait $app
check "the person's own lines stay in config.ini" grep -q -x "url=https://own.test/.\?" "$data/config.ini"
cp "$data/config.ini" "$scratch/config.ini"
# A repair has no SITEURL of its own: the package's remembered one is written again.
$wine msiexec /fvomus "$(winpath "$msi")" /qn
check "a repair keeps the Url" [ "$(policy_value Url)" = "$site" ]

# --- Uninstall: what the MSI wrote goes, nothing else.
$wine msiexec /x "$(winpath "$msi")" /qn
check "msiexec /x succeeds" [ $? -eq 0 ]
check "program removed" absent "$installed"
check "shortcut removed" [ -z "$(shortcut)" ]
check "Url removed" [ -z "$(policy_value Url)" ]
check "a policy the MSI did not write stays" [ "$(policy_value BlockAds)" = 0x0 ]
check "config.ini kept as it was" cmp -s "$scratch/config.ini" "$data/config.ini"

$wine reg delete "$policy" /f >/dev/null 2>&1
rm -rf "$data"
echo "$failures check(s) failed"
[ $failures -eq 0 ]
