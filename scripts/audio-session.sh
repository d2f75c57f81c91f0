# Sourced by the audio scripts: a private sound server (a null sink recorded
# from its monitor), an Xvfb and a program folder holding the game, all in
# one temporary folder that is removed at the end.
# Needs: root (the source tree), build (the build tree with game/quellon).
work=$(mktemp -d)
chmod 700 "$work"
session_pids=()
session_cleanup() {
  local i
  for (( i=${#session_pids[@]}-1; i>=0; i-- )); do kill "${session_pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap session_cleanup EXIT

export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" HOME="$work"
mkdir -p "$XDG_RUNTIME_DIR" -m 700
pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=stderr --log-level=error \
  -L "module-null-sink sink_name=game_out rate=48000 channels=2" -L "module-native-protocol-unix" \
  2>"$work/pulse.log" &
session_pids+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "no sound server:" >&2; cat "$work/pulse.log" >&2; exit 1; }

Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
session_pids+=($!)
for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

# The program folder: the game, its modules and catalogue, no music yet.
mkdir -p "$work/program" "$XDG_CONFIG_HOME/ZindleGames/ZindleQuellon"
cp -r "$build/game/quellon" "$build/game/modules" "$build/game/zqln.dat" "$work/program/"
printf '[common]\ntongue=0\nsound=1\nmusic=1\npatmode=0\n' >"$XDG_CONFIG_HOME/ZindleGames/ZindleQuellon/V3.conf"

# Records the sink's monitor as raw 16-bit stereo at 48 kHz into $1.
record() {
  parec --raw --format=s16le --rate=48000 --channels=2 -d game_out.monitor >"$1" &
  session_pids+=($!)
}

start_game() {
  "$work/program/quellon" >>"$work/game.log" 2>&1 &
  game_pid=$!
  session_pids+=($game_pid)
}
