#!/usr/bin/env bash
# Builds the Debian source and binary packages the way a distribution does
# (scripts/build-deb, without the package's own tests, which "make test" runs
# anyway), checks what the package holds and depends on, lets lintian judge
# the upload (no error, no warning), installs the package into a temporary
# root and runs the package's own installed-game test (debian/tests) there:
# the installed folder must be a working program directory.
set -euo pipefail
build=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
# A fixed folder inside the build: a compiler cache finds the same paths again.
work="$build/debian-package"
rm -rf "$work"
mkdir -p "$work"

DEB_BUILD_OPTIONS=nocheck JOBS=${JOBS:-2} "$source_dir/scripts/build-deb" "$work/out" >"$work/build.log" 2>&1 \
  || { tail -n 80 "$work/build.log"; exit 1; }
deb=$(ls "$work"/out/quellon_*_*.deb)
changes=$(ls "$work"/out/quellon_*.changes)

# The path is everything after the fifth column (music file names hold spaces).
contents=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s/ -> .*$//')
for path in ./usr/lib/quellon/quellon ./usr/lib/quellon/zqln.dat ./usr/lib/quellon/zqln.qhc \
            ./usr/lib/quellon/zqln.qch ./usr/games/quellon \
            ./usr/share/man/man6/quellon.6.gz ./usr/share/doc/quellon/copyright \
            ./usr/share/doc/quellon/changelog.Debian.gz \
            ./usr/lib/quellon/modules/quellon-sounds.so ./usr/lib/quellon/modules/quellon-help.so \
            ./usr/share/applications/io.quellon.Quellon.desktop \
            ./usr/share/metainfo/io.quellon.Quellon.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/io.quellon.Quellon.svg \
            ./usr/share/icons/hicolor/48x48/apps/io.quellon.Quellon.png; do
  grep -qxF "$path" <<<"$contents" || { echo "package lacks $path"; exit 1; }
done
for piece in "$source_dir"/data/music/*.mid; do
  grep -qxF "./usr/lib/quellon/$(basename "$piece")" <<<"$contents" \
    || { echo "package lacks the music $(basename "$piece")"; exit 1; }
done
if grep -q '\.zql$\|^\./usr/lib/quellon/games' <<<"$contents"; then echo "package holds saved games"; exit 1; fi

depends=$(dpkg-deb -f "$deb" Depends)
for dependency in timgm6mb-soundfont fonts-liberation libqt6sql6-sqlite qt6-qpa-plugins libfluidsynth libqt6widgets6 \
                  libsdl2-2.0-0 libqt6help6 libqt6svg6; do
  grep -q "$dependency" <<<"$depends" || { echo "package does not depend on $dependency: $depends"; exit 1; }
done
# The FluidSynth package is the one holding the library version the game opens.
fluidsynth=$(grep -ao 'libfluidsynth\.so\.[0-9]*' "$work"/out/quellon-*/obj-*/game/quellon | head -n 1)
grep -q "\\b${fluidsynth/.so./}\\b" <<<"$depends" || { echo "the game opens $fluidsynth, the package depends on: $depends"; exit 1; }

# Source and binary packages: informational tags are listed for the reader
# (the README says why each is left); errors and warnings fail.
if ! lintian --fail-on error,warning --display-info "$changes" >"$work/lintian.log" 2>&1; then
  echo "lintian finds faults in the packages:"; cat "$work/lintian.log"; exit 1
fi
grep -v '^running with root' "$work/lintian.log" || true

dpkg-deb -x "$deb" "$work/root"
[[ "$(readlink "$work/root/usr/games/quellon")" == ../lib/quellon/quellon ]] || { echo "games/quellon is no link to the game"; exit 1; }
desktop-file-validate "$work/root/usr/share/applications/io.quellon.Quellon.desktop"
# The desktop entry and the metainfo name the command the package puts in
# /usr/games, which is on every user's PATH on Debian.
exec_command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$work/root/usr/share/applications/io.quellon.Quellon.desktop")
provided=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$work/root/usr/share/metainfo/io.quellon.Quellon.metainfo.xml")
for command in "$exec_command" "$provided"; do
  [[ -x "$work/root/usr/games/$(basename "$command")" && ( "$command" != /* || "$command" == /usr/games/* ) ]] \
    || { echo "the desktop files name \"$command\", not the command in /usr/games"; exit 1; }
done

# Started from the link, the game finds its catalogue in the real folder,
# shows its main window and quits cleanly when asked to close.
QUELLON_COMMAND="$work/root/usr/games/quellon" "$source_dir/debian/tests/start-and-close"
rm -rf "$work"
echo "package ok: $(basename "$deb")"
