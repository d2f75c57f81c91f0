#!/usr/bin/env python3
"""The metainfo says in German whatever it says in English, and names no web
address: the project has none of its own, and an address someone else may
own would send software centres to a stranger's page."""
import sys
import xml.etree.ElementTree as ET

LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def main(path):
    root = ET.parse(path).getroot()
    faults = []
    # Release notes need no translation; everything a player reads does.
    releases = root.find("releases")
    notes = set(releases.iter()) if releases is not None else set()
    for tag in ("summary", "p", "li", "caption"):
        elements = [e for e in root.iter(tag) if e not in notes]
        english = [e for e in elements if LANG not in e.attrib]
        german = [e for e in elements if e.attrib.get(LANG) == "de"]
        if len(german) != len(english):
            faults.append(f"{len(english)} English <{tag}> but {len(german)} German ones")
    # Software centres and task bars find the desktop entry by this name.
    launchable = root.findtext("launchable")
    if launchable != root.findtext("id") + ".desktop":
        faults.append(f"the metainfo launches {launchable}, not the entry named after its id")
    for element in root.iter():
        for text in [element.text or ""] + list(element.attrib.values()):
            if "http://" in text or "https://" in text:
                faults.append(f"<{element.tag}> names a web address: {text.strip()}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
