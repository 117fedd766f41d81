#!/usr/bin/python3
"""The Group Policy templates against the program: every policy of
Velotide.admx writes a value velotide.exe reads, under its key, with the type
and values it takes; every string and presentation the ADMX names is in the
ADML, and every control there belongs to its policy's elements; and every
value the program reads has a policy. The program's list comes from its own
table (policy_list.exe), so neither side can drift.

Usage: policy_templates_test.py POLICY_DIR EMULATOR POLICY_LIST_EXE"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ET

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
problems = []


def check(ok, message):
    if not ok:
        problems.append(message)


def program_values(emulator, lister):
    """{lower-case value name: (name, kind, lowest, highest, longest)} and the key."""
    out = subprocess.run([emulator, lister], capture_output=True, text=True, timeout=60, check=True).stdout
    rows = [line.rstrip("\r").split("\t") for line in out.splitlines() if line.strip()]
    key = rows[0][1]
    values = {row[0].lower(): (row[0], row[1], int(row[2]), int(row[3]), int(row[4])) for row in rows[1:]}
    return key.lower(), values


def written_values(policy, key):
    """What the policy writes: (key, value name, kind, numbers written, element)."""
    written = []
    name = policy.get("valueName")
    if name:
        numbers = [int(d.get("value")) for d in policy.iterfind("p:enabledValue/p:decimal", NS)]
        numbers += [int(d.get("value")) for d in policy.iterfind("p:disabledValue/p:decimal", NS)]
        strings = policy.findall("p:enabledValue/p:string", NS) + policy.findall("p:disabledValue/p:string", NS)
        check(not strings, f"{policy.get('name')}: writes {name} as text, which the program reads as a number")
        written.append((key, name, "number", numbers, None))
    for element in policy.find("p:elements", NS) if policy.find("p:elements", NS) is not None else []:
        tag = element.tag.split("}")[1]
        element_key = element.get("key", key)
        if tag == "text":
            check(element.get("expandable") != "true", f"{policy.get('name')}: {element.get('id')} is expandable")
            written.append((element_key, element.get("valueName"), "address", [], element))
        elif tag == "list":
            check(element.get("expandable") != "true", f"{policy.get('name')}: {element.get('id')} is expandable")
            base, _, list_name = element_key.rpartition("\\")
            written.append((base, list_name, "origins", [], element))
        else:
            problems.append(f"{policy.get('name')}: element {tag} is not one the check knows")
    return written


def main():
    policy_dir, emulator, lister = sys.argv[1:4]
    admx = ET.parse(f"{policy_dir}/Velotide.admx").getroot()
    adml = ET.parse(f"{policy_dir}/en-US/Velotide.adml").getroot()
    program_key, values = program_values(emulator, lister)
    check(len(values) > 0, "the program lists no policy values")

    strings = {s.get("id") for s in adml.iterfind("p:resources/p:stringTable/p:string", NS)}
    presentations = {p.get("id"): p for p in adml.iterfind("p:resources/p:presentationTable/p:presentation", NS)}
    categories = {c.get("name") for c in admx.iterfind("p:categories/p:category", NS)}
    supported = {d.get("name") for d in admx.iterfind("p:supportedOn/p:definitions/p:definition", NS)}

    # Every $(string.X) anywhere in the ADMX is in the ADML's string table.
    for element in admx.iter():
        for attribute, text in element.attrib.items():
            for ref in re.findall(r"\$\(string\.([^)]*)\)", text):
                check(ref in strings, f"{attribute} names string {ref}, which the ADML lacks")

    covered = set()
    for policy in admx.iterfind("p:policies/p:policy", NS):
        name = policy.get("name")
        check(policy.get("class") in ("Machine", "User", "Both"), f"{name}: class {policy.get('class')}")
        for ref in policy.iterfind("p:parentCategory", NS):
            check(ref.get("ref") in categories, f"{name}: category {ref.get('ref')} is not defined")
        for ref in policy.iterfind("p:supportedOn", NS):
            check(ref.get("ref") in supported, f"{name}: supportedOn {ref.get('ref')} is not defined")
        writes = written_values(policy, policy.get("key", ""))
        check(writes, f"{name}: writes no value")
        element_ids = set()
        for key, value_name, kind, numbers, element in writes:
            check(key.lower() == program_key, f"{name}: key {key} is not {program_key}")
            read = values.get((value_name or "").lower())
            if not read:
                problems.append(f"{name}: the program reads no value {value_name}")
                continue
            covered.add(value_name.lower())
            check(read[0] == value_name, f"{name}: {value_name} is spelt {read[0]} by the program")
            check(read[1] == kind, f"{name}: {value_name} written as {kind}, read as {read[1]}")
            for number in numbers:
                check(read[2] <= number <= read[3], f"{name}: writes {value_name}={number}, out of {read[2]}..{read[3]}")
            if element is not None:
                element_ids.add(element.get("id"))
                if kind == "address":
                    longest = int(element.get("maxLength", "1023"))
                    check(longest == read[4], f"{name}: {value_name} takes {longest} characters, the program {read[4]}")
        # The presentation it names exists, and shows exactly its elements.
        reference = re.fullmatch(r"\$\(presentation\.([^)]*)\)", policy.get("presentation", ""))
        shown = set()
        if reference:
            presentation = presentations.get(reference.group(1))
            check(presentation is not None, f"{name}: presentation {reference.group(1)} is not in the ADML")
            shown = {c.get("refId") for c in presentation if c.get("refId")} if presentation is not None else set()
        check(shown == element_ids, f"{name}: the presentation shows {sorted(shown)}, the elements are {sorted(element_ids)}")

    for missing in sorted(set(values) - covered):
        problems.append(f"the program reads {values[missing][0]}, which no policy sets")
    for problem in problems:
        print("FAIL", problem)
    print(f"{len(values)} values the program reads, {len(covered)} covered, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
