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
import shutil
import sys
import time

from e2e_sandbox import TIMEOUT, Sandbox, prop, run, settled, visible, wait_for

TOOLS = ("Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo")

# Motif function bits.
MWM_HINTS_FUNCTIONS = 1
MWM_FUNC_ALL, MWM_FUNC_RESIZE, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE, MWM_FUNC_CLOSE = 1, 2, 8, 16, 32


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
    # English, quiet, the small pattern window; no placement stored yet.
    with Sandbox("quellon-wm-", program, catalogue,
                 "[common]\ntongue=0\nmusic=0\nsound=0\npatmode=1\n") as sandbox:
        env = dict(sandbox.start_xvfb(), QUELLON_NO_ANIMATION="1", HOME=sandbox.work)
        sandbox.start_openbox(env)

        first = None
        placements = []
        for start in range(1, 5):
            game = sandbox.start_game(env)
            window = wait_for("the main window", lambda: visible("^Zindle Quellon", env)[:1])[0]
            client_rect, frame = settled(window, env)
            client = client_rect[2:]
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
            placements.append(sandbox.stored_placement())
            assert placements[-1] == placements[0], f"placements stored: {placements}"
        print("stored placement:", placements[0])
        return 0


if __name__ == "__main__":
    sys.exit(main())
