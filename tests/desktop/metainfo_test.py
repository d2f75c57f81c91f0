#!/usr/bin/env python3
"""The metainfo says in German whatever it says in English, and names no web
address: the project has none of its own, and an address someone else may
own would send software centres to a stranger's page. Each release it lists
that the package's changelog (given second) also has carries the date the
changelog gives it."""
import email.utils
import re
import sys
import xml.etree.ElementTree as ET

LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def changelog_dates(path):
    """Upstream version -> the date of its changelog entry, as YYYY-MM-DD."""
    dates, version = {}, None
    with open(path, encoding="utf-8") as changelog:
        for line in changelog:
            heading = re.match(r"\S+ \(([^)-]+)(?:-[^)]*)?\)", line)
            if heading:
                version = heading.group(1)
            elif line.startswith(" -- ") and version and version not in dates:
                stamp = email.utils.parsedate_to_datetime(line.split(">", 1)[1].strip())
                dates[version] = stamp.strftime("%Y-%m-%d")
    return dates


def main(path, changelog):
    root = ET.parse(path).getroot()
    faults = []
    dates = changelog_dates(changelog)
    for release in root.iter("release"):
        version, date = release.get("version"), release.get("date")
        if version in dates and dates[version] != date:
            faults.append(f"release {version} dated {date}, the changelog says {dates[version]}")
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
    sys.exit(main(sys.argv[1], sys.argv[2]))
