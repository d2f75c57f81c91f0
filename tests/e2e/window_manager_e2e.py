#!/usr/bin/env python3
"""The game under a real window manager (openbox on its own Xvfb).

Restarting: four starts in a row, each left through the exit button and
Enter, must give back the same window, frame for frame, and store the same
placement each time; the frame must not be added to the window at every start.

The pattern window: the window manager must not offer to minimise, maximise,
resize or make it full-screen, the Motif hints must allow moving alone, and a
close request sent anyway (wmctrl -c) must leave it on the screen.
Usage: window_manager_e2e.py <quellon executable> <zqln.dat>
Exits 77 (skipped) when a tool it needs is missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

TIMEOUT = 60.0
TOOLS = ("Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo")

# Motif function bits.
MWM_HINTS_FUNCTIONS = 1
MWM_FUNC_ALL, MWM_FUNC_RESIZE, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE, MWM_FUNC_CLOSE = 1, 2, 8, 16, 32


def run(*args, env):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=TIMEOUT).stdout.strip()


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError(f"timed out waiting for {what}")


def visible(name, env):
    return run("xdotool", "search", "--onlyvisible", "--name", name, env=env).split()


def prop(window, name, env):
    """The value part of one xprop line, empty when the property is missing."""
    line = run("xprop", "-id", window, name, env=env)
    return line.split("=", 1)[1].strip() if "=" in line else ""


def frame_and_client(window, env):
    """(frame rectangle, client size): the client's place on the screen widened
    by the extents the window manager reports, or None before it framed it."""
    extents = prop(window, "_NET_FRAME_EXTENTS", env)
    if not extents:
        return None
    left, right, top, bottom = (int(v) for v in extents.split(","))
    info = dict(line.strip().split(":", 1) for line in run("xwininfo", "-id", window, env=env).splitlines()
                if line.strip().startswith(("Absolute upper-left", "Width", "Height")))
    x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
    width, height = int(info["Width"]), int(info["Height"])
    return (x - left, y - top, width + left + right, height + top + bottom), (width, height)


def settled_geometry(window, env):
    """The window's frame and client size once they stop changing."""
    def probe():
        first = frame_and_client(window, env)
        time.sleep(0.4)
        return first if first and first == frame_and_client(window, env) else None
    return wait_for("the main window to settle in its frame", probe)


def stored_placement(settings_file):
    with open(settings_file) as settings:
        for line in settings:
            if line.startswith("MainForm="):
                return line.split("=", 1)[1].strip().strip('"')
    return None


def quit_question(pid, env):
    """The frameless message dialog of the program, once it is shown."""
    for window in run("xdotool", "search", "--onlyvisible", "--pid", str(pid), env=env).split():
        size = run("xdotool", "getwindowgeometry", "--shell", window, env=env)
        if "WIDTH=319" in size.split() and "HEIGHT=158" in size.split():
            return window
    return None


def check_pattern_window(env):
    pattern = wait_for("the pattern window", lambda: visible("^Quellon [0-9]+", env)[:1])[0]
    wait_for("the pattern window's allowed actions", lambda: prop(pattern, "_NET_WM_ALLOWED_ACTIONS", env))
    allowed = prop(pattern, "_NET_WM_ALLOWED_ACTIONS", env)
    for action in ("MINIMIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT", "RESIZE", "FULLSCREEN"):
        assert f"_NET_WM_ACTION_{action}" not in allowed, f"the pattern window may {action.lower()}: {allowed}"
    hints = [int(v, 0) for v in prop(pattern, "_MOTIF_WM_HINTS", env).split(",")]
    assert hints[0] & MWM_HINTS_FUNCTIONS, f"no Motif functions given: {hints}"
    forbidden = MWM_FUNC_ALL | MWM_FUNC_RESIZE | MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE | MWM_FUNC_CLOSE
    assert not hints[1] & forbidden, f"Motif functions {hints[1]:#x} allow more than moving"
    title = run("xdotool", "getwindowname", pattern, env=env)
    # openbox offers close whatever the hints say: the request must be refused.
    run("wmctrl", "-c", title, env=env)
    time.sleep(1.0)
    assert pattern in visible("^Quellon [0-9]+", env), "the pattern window closed on the window manager's request"


def main():
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing:
        print("skipped: missing", " ".join(missing))
        return 77
    program, catalogue = sys.argv[1], sys.argv[2]
    work = tempfile.mkdtemp(prefix="quellon-wm-")
    processes = []
    game = None
    try:
        program_dir = os.path.join(work, "program")
        os.makedirs(program_dir)
        shutil.copy2(program, os.path.join(program_dir, "quellon"))
        shutil.copy2(catalogue, os.path.join(program_dir, "zqln.dat"))
        config = os.path.join(work, "config")
        settings_dir = os.path.join(config, "ZindleGames", "ZindleQuellon")
        os.makedirs(settings_dir)
        settings_file = os.path.join(settings_dir, "V3.conf")
        # English, quiet, the small pattern window; no placement stored yet.
        with open(settings_file, "w") as settings:
            settings.write("[common]\ntongue=0\nmusic=0\nsound=0\npatmode=1\n")

        read_fd, write_fd = os.pipe()
        processes.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                                           "-nolisten", "tcp"], pass_fds=(write_fd,),
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write_fd)
        with os.fdopen(read_fd) as display_pipe:
            display = display_pipe.readline().strip()
        assert display, "Xvfb did not start"
        env = dict(os.environ, DISPLAY=":" + display, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb",
                   QUELLON_NO_ANIMATION="1", HOME=work)
        env.pop("WAYLAND_DISPLAY", None)
        processes.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        wait_for("openbox", lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=env))

        log_path = os.path.join(work, "game.log")
        first = None
        placements = []
        for start in range(1, 5):
            game = subprocess.Popen([os.path.join(program_dir, "quellon")], env=env,
                                    stdout=open(log_path, "a"), stderr=subprocess.STDOUT)
            window = wait_for("the main window", lambda: visible("^Zindle Quellon", env)[:1])[0]
            frame, client = settled_geometry(window, env)
            print(f"start {start}: client {client[0]} x {client[1]}, frame {frame}")
            if start == 1:
                check_pattern_window(env)
                first = (frame, client)
            else:
                assert client == first[1], f"start {start}: client {client}, at the first start {first[1]}"
                assert frame == first[0], f"start {start}: frame {frame}, at the first start {first[0]}"
            run("xdotool", "mousemove", "--window", window, str(client[0] - 52 + 25), "31", "click", "1", env=env)
            question = wait_for("the quit question", lambda: quit_question(game.pid, env))
            run("xdotool", "mousemove", "--window", question, str(260 + 25), str(100 + 25), "click", "1", env=env)
            assert game.wait(timeout=TIMEOUT) == 0, f"start {start} did not end cleanly"
            game = None
            placements.append(stored_placement(settings_file))
            assert placements[-1] == placements[0], f"placements stored: {placements}"
        print("stored placement:", placements[0])
        return 0
    except BaseException:
        log_path = os.path.join(work, "game.log")
        if os.path.exists(log_path):
            with open(log_path) as said:
                print("program output:\n" + said.read())
        raise
    finally:
        for process in [game] + processes[::-1]:
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
