#!/usr/bin/env bash
# Builds the Debian package from a finished build, checks what it holds and
# what it depends on, lets lintian judge it (no error, no warning), unpacks it
# into a temporary root and starts the game from there: the installed folder
# must be a working program directory. The package is made from this build,
# not from a Release build of its own: the same install rules and CPack
# settings, stripped the same way, at the cost of no second compilation.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/quellon_*.deb)

# The path is everything after the fifth column (music file names hold spaces).
contents=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s/ -> .*$//')
for path in ./usr/lib/quellon/quellon ./usr/lib/quellon/zqln.dat ./usr/lib/quellon/zqln.qhc \
            ./usr/lib/quellon/zqln.qch ./usr/games/quellon \
            ./usr/share/man/man6/quellon.6.gz ./usr/share/doc/quellon/copyright \
            ./usr/share/doc/quellon/changelog.gz \
            ./usr/lib/quellon/modules/quellon-sounds.so ./usr/lib/quellon/modules/quellon-help.so \
            ./usr/share/applications/io.quellon.Quellon.desktop \
            ./usr/share/metainfo/io.quellon.Quellon.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/io.quellon.Quellon.svg \
            ./usr/share/icons/hicolor/48x48/apps/io.quellon.Quellon.png; do
  grep -qxF "$path" <<<"$contents" || { echo "package lacks $path"; exit 1; }
done
music=$(dirname "$0")/../../data/music
for piece in "$music"/*.mid; do
  grep -qxF "./usr/lib/quellon/$(basename "$piece")" <<<"$contents" \
    || { echo "package lacks the music $(basename "$piece")"; exit 1; }
done
if grep -q '\.zql$\|^\./usr/lib/quellon/games' <<<"$contents"; then echo "package holds saved games"; exit 1; fi

depends=$(dpkg-deb -f "$deb" Depends)
for dependency in timgm6mb-soundfont fonts-liberation libqt6sql6-sqlite qt6-qpa-plugins libfluidsynth3 libqt6widgets6 \
                  libqt6multimedia6 libqt6help6 libqt6svg6; do
  grep -q "$dependency" <<<"$depends" || { echo "package does not depend on $dependency: $depends"; exit 1; }
done

# Informational tags are listed for the reader; errors and warnings fail.
if ! lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1; then
  echo "lintian finds faults in the package:"; cat "$work/lintian.log"; exit 1
fi
cat "$work/lintian.log"

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

# Started from the link under its own X server, the game finds its catalogue
# in the real folder and shows its main window (a missing catalogue would
# show only the fatal box).
mkdir -p "$work/config/ZindleGames/ZindleQuellon"
printf '[common]\ntongue=2\nmusic=0\nsound=0\n' >"$work/config/ZindleGames/ZindleQuellon/V3.conf"
# -noreset: the server would start afresh when its last client leaves and
# refuse the game if it connected just then.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" "${game_pid:-}" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=xcb \
  "$work/root/usr/games/quellon" >"$work/game.log" 2>&1 &
game_pid=$!
shown=no
for _ in $(seq 150); do
  if xdotool search --onlyvisible --name '^Zindle Quellon V3' >/dev/null 2>&1; then shown=yes; break; fi
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.2
done
[[ $shown == yes ]] || { echo "the installed game showed no main window:"; cat "$work/game.log"; exit 1; }
echo "package ok: $(basename "$deb")"
