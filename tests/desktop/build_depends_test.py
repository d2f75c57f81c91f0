#!/usr/bin/env python3
"""The Debian package builds with what scripts/deps installs: every package
the source package's Build-Depends names is one scripts/deps installs, and
every package scripts/deps installs is either needed to build the package or
listed here with the work it serves instead. A package added to one list
and forgotten in the other fails here."""
import re
import sys

# Installed for development and CI, not needed by the package build (which
# runs no test that needs a display), with the reason.
NOT_FOR_THE_PACKAGE = {
    "build-essential": "implied by every Debian build",
    "dpkg-dev": "part of build-essential; makes the package",
    "fakeroot": "makes packages of the old kind; the package needs no root",
    "lintian": "checks the package",
    "git": "source control",
    "libbenchmark-dev": "benchmarks",
    "clang": "fuzzing",
    "libclang-rt-14-dev": "fuzzing and sanitizers",
    "xvfb": "tests under an X server",
    "xdotool": "tests under an X server",
    "x11-utils": "tests under an X server",
    "imagemagick": "screenshots of the running game",
    "openbox": "tests under a window manager",
    "wmctrl": "tests under a window manager",
    "libxfixes3": "the cursor test under an X server",
    "weston": "tests on a Wayland desktop",
    "xwayland": "tests on a Wayland desktop",
    "qt6-wayland": "tests on a Wayland desktop",
    "pulseaudio": "the audio test at a real sound server",
    "pulseaudio-utils": "the audio test records the sound server's sink",
    "at-spi2-core": "the screen-reader test through the accessibility bus",
    "dbus": "the screen-reader test's private session bus",
    "gir1.2-atspi-2.0": "the screen-reader test reads the accessibility bus",
    "python3-gi": "the screen-reader test reads the accessibility bus",
    "clang-format": "the check that the sources keep their format",
}


def installed_by_deps(path):
    text = open(path).read()
    block = re.search(r"^packages=\((.*?)^\)", text, re.S | re.M)
    if not block:
        raise SystemExit(f"{path}: no packages=( ... ) list")
    words = re.sub(r"#.*", "", block.group(1)).split()
    return set(words)


def build_depends(path):
    text = open(path).read()
    source = text.split("\n\n")[0]
    lines = [line for line in source.splitlines() if not line.startswith("#")]
    field = re.search(r"^Build-Depends:(.*?)(?=^\S|\Z)", "\n".join(lines) + "\n", re.S | re.M)
    if not field:
        raise SystemExit(f"{path}: no Build-Depends")
    names = set()
    for relation in field.group(1).split(","):
        for alternative in relation.split("|"):
            name = re.sub(r"\(.*?\)|\[.*?\]|<.*?>|:\w+", "", alternative).strip()
            if name:
                # debhelper-compat is debhelper at a compatibility level.
                names.add("debhelper" if name == "debhelper-compat" else name)
    return names


def main(deps_path, control_path):
    deps = installed_by_deps(deps_path)
    needed = build_depends(control_path)
    faults = []
    faults += [f"Build-Depends names {p}, which scripts/deps does not install" for p in sorted(needed - deps)]
    unexplained = deps - needed - NOT_FOR_THE_PACKAGE.keys()
    faults += [f"scripts/deps installs {p}: add it to Build-Depends or say here why the package build needs it not"
               for p in sorted(unexplained)]
    faults += [f"{p} is said not to be needed for the package, yet Build-Depends names it"
               for p in sorted(needed & NOT_FOR_THE_PACKAGE.keys())]
    faults += [f"{p} is explained here but scripts/deps no longer installs it"
               for p in sorted(NOT_FOR_THE_PACKAGE.keys() - deps)]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
