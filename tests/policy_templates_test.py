#!/usr/bin/python3
"""The Group Policy templates against the program's own list of the values it
reads (policy_list.exe): every policy writes such a value under the program's
key, of its kind and within its range; every string, presentation, category
and support definition named exists; every value read has a policy.
Usage: policy_templates_test.py POLICY_DIR EMULATOR POLICY_LIST_EXE"""
import re, subprocess, sys
import xml.etree.ElementTree as ET

P = "{http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions}"
policy_dir, emulator, lister = sys.argv[1:4]
admx = ET.parse(f"{policy_dir}/Velotide.admx").getroot()
adml = ET.parse(f"{policy_dir}/en-US/Velotide.adml").getroot()
listed = subprocess.run([emulator, lister], capture_output=True, text=True, timeout=60, check=True).stdout
rows = [line.strip().split("\t") for line in listed.splitlines() if line.strip()]
key = rows[0][1].lower()
read = {r[0]: (["address", "origins", "number"][int(r[1])], int(r[2]), int(r[3]), r[4]) for r in rows[1:]}
defined = {e.get("name") for e in admx.iter() if e.tag in (P + "category", P + "definition")}
strings = {e.get("id") for e in adml.iter(P + "string")}
presentations = {p.get("id"): {c.get("refId") for c in p} for p in adml.iter(P + "presentation")}
problems, covered = [], set()


def check(ok, problem):
    if not ok:
        problems.append(problem)


for e in admx.iter():
    for text in e.attrib.values():
        for s in re.findall(r"\$\(string\.([^)]*)\)", text):
            check(s in strings, f"string {s} is not in the ADML")
for policy in admx.iter(P + "policy"):
    name, base = policy.get("name"), policy.get("key", "")
    for ref in list(policy.iter(P + "parentCategory")) + list(policy.iter(P + "supportedOn")):
        check(ref.get("ref") in defined, f"{name}: {ref.get('ref')} is not defined")
    check(not list(policy.iter(P + "string")), f"{name}: writes text where the program reads a number")
    # What it writes: (key, value, kind, numbers written, element).
    writes = []
    if policy.get("valueName"):
        writes.append((base, policy.get("valueName"), "number", [int(d.get("value")) for d in policy.iter(P + "decimal")], None))
    elements = policy.find(P + "elements")
    for element in elements if elements is not None else []:
        kind = {P + "text": "address", P + "list": "origins"}.get(element.tag)
        check(kind and element.get("expandable") != "true", f"{name}: {element.tag} is expandable or unknown")
        if kind == "origins":  # the list's own key is the value the program reads
            writes.append((*element.get("key", base).rpartition("\\")[::2], kind, [], element))
        else:
            writes.append((element.get("key", base), element.get("valueName"), kind, [], element))
    for where, value, kind, numbers, element in writes:
        kind_read, lowest, highest, longest = read.get(value, (None, 0, 0, ""))
        covered.add(value)
        check(where.lower() == key, f"{name}: key {where}")
        check(kind == kind_read, f"{name}: {value} is written as {kind}, read as {kind_read}")
        for n in numbers:
            check(lowest <= n <= highest, f"{name}: {value}={n} is out of {lowest}..{highest}")
        if kind == "address":
            check(element.get("maxLength") == longest, f"{name}: {value} takes {element.get('maxLength')} characters")
    shown = presentations.get(re.sub(r"\$\(presentation\.(.*)\)", r"\1", policy.get("presentation", "")), set())
    check(shown == {w[4].get("id") for w in writes if w[4] is not None}, f"{name}: the presentation shows {shown}")
for value in read:
    check(value in covered, f"the program reads {value}, which no policy sets")
print("\n".join(["FAIL " + p for p in problems] + [f"{len(read)} values read, {len(problems)} problem(s)"]))
sys.exit(1 if problems or not read else 0)
