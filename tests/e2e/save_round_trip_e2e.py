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
import shutil
import subprocess
import sys
import tempfile
import time

# Generous: CI machines run other tests beside this one.
TIMEOUT = 60.0


def run(*args, env):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=TIMEOUT).stdout.strip()


def wait_for(what, probe):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


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


def start_game(program, log_path, env):
    """Starts the game and returns it with its main window. A busy Xvfb now and
    then refuses a new client; the program then ends at once, and is started
    again rather than failing the test for the server's sake."""
    for _ in range(3):
        log = open(log_path, "a")
        game = subprocess.Popen([program], env=env, stdout=log, stderr=subprocess.STDOUT)
        found = None
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline and game.poll() is None:
            found = run("xdotool", "search", "--onlyvisible", "--name", "^Zindle Quellon", env=env).split()[:1]
            if found:
                return game, found[0]
            time.sleep(0.1)
        with open(log_path) as said:
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
    work = tempfile.mkdtemp(prefix="quellon-e2e-")
    xvfb = None
    game = None
    try:
        # A program directory of its own: the games directory lands beside it.
        program_dir = os.path.join(work, "program")
        os.makedirs(program_dir)
        shutil.copy2(program, os.path.join(program_dir, "quellon"))
        shutil.copy2(catalogue, os.path.join(program_dir, "zqln.dat"))
        config = os.path.join(work, "config")
        settings_dir = os.path.join(config, "ZindleGames", "ZindleQuellon")
        os.makedirs(settings_dir)
        # English chosen before and no music, so no language question is asked.
        with open(os.path.join(settings_dir, "V3.conf"), "w") as settings:
            settings.write("[common]\ntongue=0\nmusic=0\nsound=0\n")

        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as display_pipe:
            display = display_pipe.readline().strip()  # written once the server is ready
        assert display, "Xvfb did not start"
        env = dict(os.environ, DISPLAY=":" + display, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)

        # First run: help gives unsaved progress, then quit and save it.
        game_log = os.path.join(work, "game.log")
        game, window = start_game(os.path.join(program_dir, "quellon"), game_log, env)
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
        game = None

        saved = os.path.join(program_dir, "games", "evening.zql")
        assert os.path.exists(saved), "no saved game evening.zql"
        with open(saved, "rb") as file:
            progress = file.read()
        assert len(progress) == 950, f"saved game holds {len(progress)} bytes"
        assert progress[0] == 1, f"Quellon 1 saved with progress {progress[0]}, expected help level 1"

        # Second run: the game comes back under its name.
        game, window = start_game(os.path.join(program_dir, "quellon"), game_log, env)
        title = wait_for("the game name in the caption",
                         lambda: (lambda t: t if t.endswith(" - Spiel: evening") else None)(
                             run("xdotool", "getwindowname", window, env=env)))
        print("caption after restart:", title)
        pattern = wait_for("the pattern window",
                           lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Quellon 1$", env=env).split()[:1])[0]
        assert geometry(pattern, env)[2:] == (361, 240), f"pattern window {geometry(pattern, env)[2:]}"
        with open(os.path.join(settings_dir, "V3.conf")) as settings:
            stored = settings.read()
        for line in ("tongue=1", "sound=1", "back=1", "patmode=3", "game=evening"):
            assert line in stored.splitlines(), f"settings lack {line}:\n{stored}"
        width = geometry(window, env)[2]
        click(window, width - 52 + 25, 6 + 25, env)
        answer_quit_with_yes(game.pid, env)  # nothing unsaved: no save dialog follows
        assert game.wait(timeout=TIMEOUT) == 0, "the second run did not end cleanly"
        game = None
        print("save, quit and restart: ok")
        return 0
    except BaseException:
        # What the program said helps more than the timeout alone.
        game_log = os.path.join(work, "game.log")
        if os.path.exists(game_log):
            with open(game_log) as said:
                print("program output:\n" + said.read())
        if game and game.poll() is not None:
            print("program exited with", game.returncode)
        raise
    finally:
        for process in (game, xvfb):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
