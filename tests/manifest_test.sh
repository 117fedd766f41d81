#!/bin/sh
# The built executable carries its manifest as Windows reads it: resource
# type 24 (RT_MANIFEST), id 1, well-formed XML that declares per-monitor v2
# DPI awareness (per monitor as the fallback), the common controls 6.0
# dependency and Windows 10/11 as a supported system.
# Usage: manifest_test.sh VELOTIDE_EXE
set -e
wrestool -x --raw --type=24 --name=1 "$1" > "${TMPDIR:-/tmp}/velotide-manifest.$$"
trap 'rm -f "${TMPDIR:-/tmp}/velotide-manifest.$$"' EXIT
/usr/bin/python3 - "${TMPDIR:-/tmp}/velotide-manifest.$$" <<'PY'
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()  # raises on XML that is not well formed
asm1, asm3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
ws2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
ws2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
compat = "{urn:schemas-microsoft-com:compatibility.v1}"
failures = []

def check(what, ok):
    print(("ok     " if ok else "FAILED ") + what)
    if not ok:
        failures.append(what)

check("root is an asm.v1 assembly", root.tag == asm1 + "assembly" and root.get("manifestVersion") == "1.0")
settings = root.find(f"{asm3}application/{asm3}windowsSettings")
awareness = settings.findtext(f"{ws2016}dpiAwareness", "") if settings is not None else ""
check("dpiAwareness PerMonitorV2, then PerMonitor",
      [v.strip().lower() for v in awareness.split(",")] == ["permonitorv2", "permonitor"])
aware = settings.findtext(f"{ws2005}dpiAware", "") if settings is not None else ""
check("dpiAware true/pm for older systems", aware.strip().lower() == "true/pm")
controls = [a for a in root.iter(asm1 + "assemblyIdentity")
            if a.get("name") == "Microsoft.Windows.Common-Controls"]
check("depends on common controls 6.0.0.0",
      len(controls) == 1 and controls[0].get("version") == "6.0.0.0"
      and controls[0].get("publicKeyToken") == "6595b64144ccf1df")
ids = [e.get("Id") for e in root.iter(compat + "supportedOS")]
check("supports Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" in ids)
print(f"{5 - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
PY
