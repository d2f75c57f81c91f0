#!/usr/bin/env python3
"""A new player changes the options, saves a game while quitting, starts
again and finds both.

Drives the real program under its own Xvfb server with real X events: the
options dialog's language, sound, background and pattern buttons; help on the
first Quellon (unsaved progress); the exit button, Yes to the quit question,
the name "evening" in the save dialog and its OK button. The second start must
name the game in its German caption, show the big pattern window, and the
saved progress byte must be the one help left.
Usage: save_round_trip_e2e.py <quellon executable> <zqln.dat>
"""
import os
import subprocess
import sys
import time

from e2e_sandbox import TIMEOUT, Sandbox, run, wait_for


def geometry(window, env):
    values = dict(line.split("=", 1) for line in run("xdotool", "getwindowgeometry", "--shell", window, env=env).splitlines())
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def window_of_size(pid, size, env):
    """The visible window of the program with this client size (frameless dialogs have no name)."""
    def probe():
        listing = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                                 capture_output=True, text=True, timeout=TIMEOUT).stdout.split()
        for window in listing:
            if geometry(window, env)[2:] == size:
                return window
        return None
    return wait_for(f"a {size[0]} x {size[1]} window", probe)


def is_visible(window, pid, env):
    listing = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=env,
                             capture_output=True, text=True, timeout=TIMEOUT).stdout.split()
    return window in listing


def click(window, x, y, env):
    run("xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1", env=env)


def main_window(env):
    return wait_for("the main window", lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Zindle Quellon", env=env).split()[:1])[0]


def start_game(sandbox, env):
    """Starts the game and returns it with its main window. A busy Xvfb now and
    then refuses a new client; the program then ends at once, and is started
    again rather than failing the test for the server's sake."""
    for _ in range(3):
        game = sandbox.start_game(env)
        found = None
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline and game.poll() is None:
            found = run("xdotool", "search", "--onlyvisible", "--name", "^Zindle Quellon", env=env).split()[:1]
            if found:
                return game, found[0]
            time.sleep(0.1)
        with open(sandbox.game_log) as said:
            refused = "could not connect to display" in said.read()
        if game.poll() is None or not refused:
            return game, main_window(env)
        time.sleep(0.5)
    raise AssertionError("the X server refused the game three times")


def answer_quit_with_yes(pid, env):
    dialog = window_of_size(pid, (319, 158), env)
    click(dialog, 260 + 25, 100 + 25, env)  # YesBtn


def main():
    program, catalogue = sys.argv[1], sys.argv[2]
    # English chosen before and no music, so no language question is asked.
    with Sandbox("quellon-e2e-", program, catalogue, "[common]\ntongue=0\nmusic=0\nsound=0\n") as sandbox:
        env = sandbox.start_xvfb()
        game = None
        try:
            # First run: help gives unsaved progress, then quit and save it.
            game, window = start_game(sandbox, env)
            time.sleep(0.5)  # the first activation's steps
            width = geometry(window, env)[2]
            click(window, width - 208 + 25, 6 + 25, env)  # OptionBtn
            options = window_of_size(game.pid, (497, 416), env)
            for button_top in (47, 103, 215, 271):  # language, sound, background, pattern
                click(options, 116 + 16 + 25, 12 + button_top + 25, env)
            click(options, 436 + 25, 355 + 25, env)  # OKBtn
            wait_for("the options dialog to close", lambda: not is_visible(options, game.pid, env))
            click(window, 164 + 25, 6 + 25, env)  # TipBtn
            click(window, width - 52 + 25, 6 + 25, env)  # ExitBtn
            answer_quit_with_yes(game.pid, env)
            save = window_of_size(game.pid, (357, 187), env)
            click(save, 12 + 12 + 100, 12 + 63 + 13, env)  # into NameEdit; keys follow the pointer
            run("xdotool", "type", "--delay", "30", "evening", env=env)
            time.sleep(0.3)
            click(save, 296 + 25, 127 + 25, env)  # OKBtn
            assert game.wait(timeout=TIMEOUT) == 0, "the first run did not end cleanly"

            saved = os.path.join(sandbox.program_dir, "games", "evening.zql")
            assert os.path.exists(saved), "no saved game evening.zql"
            with open(saved, "rb") as file:
                progress = file.read()
            assert len(progress) == 950, f"saved game holds {len(progress)} bytes"
            assert progress[0] == 1, f"Quellon 1 saved with progress {progress[0]}, expected help level 1"

            # Second run: the game comes back under its name.
            game, window = start_game(sandbox, env)
            title = wait_for("the game name in the caption",
                             lambda: (lambda t: t if t.endswith(" - Spiel: evening") else None)(
                                 run("xdotool", "getwindowname", window, env=env)))
            print("caption after restart:", title)
            pattern = wait_for("the pattern window",
                               lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Quellon 1$", env=env).split()[:1])[0]
            assert geometry(pattern, env)[2:] == (361, 240), f"pattern window {geometry(pattern, env)[2:]}"
            with open(sandbox.settings_file) as settings:
                stored = settings.read()
            for line in ("tongue=1", "sound=1", "back=1", "patmode=3", "game=evening"):
                assert line in stored.splitlines(), f"settings lack {line}:\n{stored}"
            width = geometry(window, env)[2]
            click(window, width - 52 + 25, 6 + 25, env)
            answer_quit_with_yes(game.pid, env)  # nothing unsaved: no save dialog follows
            assert game.wait(timeout=TIMEOUT) == 0, "the second run did not end cleanly"
            print("save, quit and restart: ok")
            return 0
        except BaseException:
            if game and game.poll() is not None:
                print("program exited with", game.returncode)
            raise


if __name__ == "__main__":
    sys.exit(main())
