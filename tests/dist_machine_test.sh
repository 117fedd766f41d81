#!/bin/sh
# The per-machine MSI as an administrator deploys it, in the test prefix:
# without SITEURL no site is set; with it the package's own value Url names
# the site and the installed program opens it without asking; a Url that
# Group Policy sets meanwhile stays over a repair; uninstalling takes the
# program, its shortcut and the package's value (which Wine, evaluating the
# component's condition again, leaves unless the package remembers SITEURL),
# and nothing else. Runs inside scripts/wine-session.sh.
# Usage: dist_machine_test.sh MSI EXE DRIVER ENGINE
set -u
msi=$1 exe=$2 driver=$3 engine=$4
. "$(dirname "$0")/dist_helpers.sh"
policy='HKLM\SOFTWARE\Policies\Velotide' package='HKLM\SOFTWARE\Velotide' site=https://intranet.test/
gp=https://group-policy.test/ scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
installed="$(unixpath ProgramFiles)/Velotide/velotide.exe" data="$(unixpath LOCALAPPDATA)/Velotide"
# Windows puts the shortcut of an ALLUSERS=1 install in all users' Start menu,
# Wine's msiexec in the installing user's.
shortcut() { ls "$(unixpath ProgramData)/Microsoft/Windows/Start Menu/Programs/Velotide.lnk" \
    "$(unixpath APPDATA)/Microsoft/Windows/Start Menu/Programs/Velotide.lnk" 2>/dev/null; }
value() { $wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { print $3 }'; }
msiexec() { $wine msiexec "$1" "$(winpath "$msi")" ${2:-} /qn; }

# Elevated, for all users; SITEURL reaches the elevated part (which Wine,
# running every install elevated, can't show).
words=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
check "MSI asks for elevation and sets ALLUSERS=1" sh -c '[ $(($1 & 8)) -eq 0 ] && msiinfo export "$2" Property |
    grep -q "^ALLUSERS	1" && msiinfo export "$2" Property | grep -q "^SecureCustomProperties	SITEURL;"' - "${words:-8}" "$msi"

# A run cut short may have left things behind; then a policy set otherwise, and the person's settings.
msiexec /x; $wine reg delete "$policy" /f >/dev/null 2>&1; rm -rf "$data"; mkdir -p "$data"
$wine reg add "$policy" /v BlockAds /t REG_DWORD /d 0 /f >/dev/null
printf 'url=https://own.test/\r\n' >"$data/config.ini"

check "msiexec /i without SITEURL succeeds" msiexec /i
check "installed into Program Files, no Url" sh -c '[ -z "$1" ] && cmp -s "$2" "$3"' - "$(value "$package" Url)" \
    "$exe" "$installed"
msiexec /x
check "msiexec /i SITEURL=$site succeeds" msiexec /i SITEURL=$site
check "the package's Url is $site, no policy's" sh -c '[ "$1" = "$2" ] && [ -z "$3" ]' - \
    "$(value "$package" Url)" $site "$(value "$policy" Url)"
check "Start menu shortcut targets the installed program" mentions "$(shortcut)" '\Program Files\Velotide\velotide.exe'

check "installed program runs" [ "$(run_installed "$installed" "$engine" "$driver" "$scratch")" = "shown, exit 0" ]
check "it opened $site" grep -q -x "navigation started 1 $site" "$scratch/engine.log"
check "the person's own site stays in config.ini" grep -q "^url=https://own.test/" "$data/config.ini"
cp "$data/config.ini" "$scratch/config.ini"

# Group Policy sets a site of its own: a repair that rewrites every value
# (REINSTALLMODE m) writes the package's again (gone meanwhile, to see that
# it does) and leaves the policy's.
$wine reg add "$policy" /v Url /d $gp /f >/dev/null
$wine reg delete "$package" /v Url /f >/dev/null
check "a repair (REINSTALL=ALL REINSTALLMODE=amus) succeeds" msiexec /i "REINSTALL=ALL REINSTALLMODE=amus"
check "the policy's Url stays, the package's is $site" sh -c '[ "$1" = "$2" ] && [ "$3" = "$4" ]' - \
    "$(value "$policy" Url)" $gp "$(value "$package" Url)" $site

check "msiexec /x succeeds" msiexec /x
check "program, shortcut and the package's Url removed" sh -c '[ ! -e "$1" ] && [ -z "$2$3" ]' - "$installed" \
    "$(shortcut)" "$(value "$package" Url)"
check "policies the MSI did not write stay" sh -c '[ "$1" = 0x0 ] && [ "$2" = "$3" ]' - "$(value "$policy" BlockAds)" \
    "$(value "$policy" Url)" $gp
check "config.ini kept as it was" cmp -s "$scratch/config.ini" "$data/config.ini"
$wine reg delete "$policy" /f >/dev/null 2>&1; rm -rf "$data"
echo "$failures check(s) failed"
[ $failures -eq 0 ]
