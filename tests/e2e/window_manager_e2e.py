#!/usr/bin/env python3
"""The game under a real window manager (openbox on its own Xvfb).

Restarting: four starts in a row, each left through the exit button and
Enter, must give back the same window, frame for frame, and store the same
placement each time; the frame must not be added to the window at every start.

The pattern window: the window manager must not offer to minimise, maximise,
resize or make it full-screen, the Motif hints must allow moving alone, and a
close request sent anyway (wmctrl -c) must leave it on the screen.

Its stacking, on a 1366 x 768 screen with the big pattern window over the
middle of the main window: another program's window brought to the front
covers it, and the game's window brought back brings it back above itself;
shown 50 times by the options' pattern button (hidden and shown in the same
turn twice in three), it comes back each time above the main window and below
the options dialog; and every dialog of the game opens above it and takes a
click on its closing button with the pattern window moved over that button.
Usage: window_manager_e2e.py <quellon executable> <zqln.dat>
Exits 77 (skipped) when a tool it needs is missing.
"""
import sys
import time

from e2e_sandbox import SKIPPED, TIMEOUT, Sandbox, missing_tools, prop, run, settled, stacking, stop, visible, wait_for

TOOLS = ("Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo", "xmessage")

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


# The dialogs in the order they are opened: the tool button that opens each
# (its left edge in the main window, negative from the right edge; None when
# the one before leads to it) and the button that closes it, 50 x 50, at its
# left and top in the dialog. Help first gives progress to offer a save for,
# so that loading opens the save dialog and then the load dialog.
DIALOGS = [
    ("new-game question", 5, (204, 100)),
    ("statistics", 111, (484, 355)),
    ("selection", 218, (504, 371)),
    ("options", -208, (436, 355)),
    ("information", -156, (519, 359)),
    ("save dialog", 58, (240, 128)),
    ("load dialog", None, (296, 356)),
    ("quit question", -52, (204, 100)),
]
HELP_BUTTON = 164
PATTERN_WIDTHS = {1: 181, 2: 271, 3: 361}
SHOWINGS = 50


def click_tool(main, client, left, env):
    x = left if left >= 0 else client[2] + left
    run("xdotool", "mousemove", "--window", main, str(x + 25), "31", "click", "1", env=env)


def open_dialog(game, known, env):
    """The shown window of the game that is none of `known`."""
    def probe():
        shown = run("xdotool", "search", "--onlyvisible", "--pid", str(game.pid), env=env).split()
        return next((window for window in shown if window not in known), None)
    return wait_for("a dialog", probe, timeout=10)


def above(order, lower, upper):
    return lower in order and upper in order and order.index(lower) < order.index(upper)


def check_other_program(sandbox, main, pattern, env):
    _, frame = settled(pattern, env)
    other = sandbox.start(["xmessage", "-geometry", f"{frame[2] + 100}x{frame[3] + 100}+{frame[0] - 50}+{frame[1] - 50}",
                           "another program"], env)
    window = wait_for("another program's window", lambda: visible("^xmessage$", env)[:1])[0]
    run("xdotool", "windowactivate", window, env=env)
    wait_for("the other program in front of the game", lambda: above(stacking(env), main, window), timeout=10)
    time.sleep(0.3)
    assert above(stacking(env), pattern, window), f"the pattern window stays above another program's: {stacking(env)}"
    run("xdotool", "windowactivate", main, env=env)
    wait_for("the game in front again", lambda: above(stacking(env), window, main), timeout=10)
    assert above(stacking(env), main, pattern), f"the pattern window is not above the main window: {stacking(env)}"
    stop(other)


def check_showings(game, main, pattern, client, env):
    click_tool(main, client, -208, env)
    options = open_dialog(game, (main, pattern), env)
    box, _ = settled(options, env)
    # Over the right half of the options, clear of the pattern button.
    run("xdotool", "windowmove", pattern, str(box[0] + 250), str(box[1] + 50), env=env)
    wait_for("the pattern window moved", lambda: settled(pattern, env)[1][0] >= box[0] + 240, timeout=10)
    mode, showings, wrong = 3, 0, 0
    while showings < SHOWINGS and wrong < 3:
        run("xdotool", "mousemove", "--window", options, str(116 + 16 + 25), str(12 + 271 + 25), "click", "1", env=env)
        mode = (mode + 1) % 4
        if mode == 0:
            wait_for("the pattern window hidden", lambda: pattern not in visible("^Quellon [0-9]+", env), timeout=10)
            continue
        showings += 1

        def stacked():
            size = run("xdotool", "getwindowgeometry", "--shell", pattern, env=env).split()
            order = stacking(env)
            return (f"WIDTH={PATTERN_WIDTHS[mode]}" in size and pattern in visible("^Quellon [0-9]+", env) and
                    above(order, main, pattern) and above(order, pattern, options))
        try:
            wait_for(f"showing {showings} stacked", stacked, timeout=3)
        except AssertionError:
            wrong += 1
            print(f"showing {showings}: stacking {stacking(env)}, main {main}, pattern {pattern}, options {options}")
    print(f"{showings} showings by the pattern button, {wrong} out of place")
    assert wrong == 0, "the pattern window lost its place in the stacking"
    run("xdotool", "mousemove", "--window", options, str(436 + 25), str(355 + 25), "click", "1", env=env)
    wait_for("the options to close", lambda: options not in visible(".*", env), timeout=10)


def check_dialogs(game, main, pattern, client, env):
    dialog = None
    for name, tool, (left, top) in DIALOGS:
        if name == "save dialog":
            click_tool(main, client, HELP_BUTTON, env)
        if tool is not None:
            click_tool(main, client, tool, env)
        dialog = open_dialog(game, (main, pattern, dialog), env)
        box, _ = settled(dialog, env)
        button = (box[0] + left + 25, box[1] + top + 25)
        # The pattern window over the button: it must stay below the dialog.
        run("xdotool", "windowmove", pattern, str(button[0] - 150), str(button[1] - 100), env=env)

        def covering():
            found = settled(pattern, env)[1]
            return found if found[0] < button[0] < found[0] + found[2] and found[1] < button[1] < found[1] + found[3] \
                else None
        wait_for(f"the pattern window over the {name}'s button", covering, timeout=10)
        order = stacking(env)
        assert order[-1:] == [dialog] and above(order, pattern, dialog), \
            f"the {name} is not in front of the pattern window: {order}, pattern {pattern}, dialog {dialog}"
        run("xdotool", "mousemove", str(button[0]), str(button[1]), "click", "1", env=env)
        wait_for(f"the {name} to take the click", lambda: dialog not in visible(".*", env), timeout=5)


def stacking_on_a_small_screen(program, catalogue):
    width, height = 1366, 768
    position = f"pleft={(width - 363) // 2}\nptop={(height - 263) // 2}\n"
    with Sandbox("quellon-wm-", program, catalogue,
                 "[common]\ntongue=0\nmusic=0\nsound=0\npatmode=3\n" + position) as sandbox:
        env = dict(sandbox.start_xvfb(f"{width}x{height}x24"), QUELLON_NO_ANIMATION="1", HOME=sandbox.work)
        sandbox.start_openbox(env)
        game = sandbox.start_game(env)
        main = wait_for("the main window", lambda: visible("^Zindle Quellon", env)[:1])[0]
        pattern = wait_for("the pattern window", lambda: visible("^Quellon [0-9]+", env)[:1])[0]
        client, _ = settled(main, env)
        check_other_program(sandbox, main, pattern, env)
        check_dialogs(game, main, pattern, client, env)
        started = time.monotonic()
        check_showings(game, main, pattern, client, env)
        print(f"{SHOWINGS} showings checked in {time.monotonic() - started:.1f} s")
        click_tool(main, client, -52, env)
        question = open_dialog(game, (main, pattern), env)
        run("xdotool", "mousemove", "--window", question, str(260 + 25), str(100 + 25), "click", "1", env=env)
        assert game.wait(timeout=TIMEOUT) == 0, "the game did not end cleanly"


def main():
    if missing_tools(TOOLS):
        return SKIPPED
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
    stacking_on_a_small_screen(program, catalogue)
    return 0


if __name__ == "__main__":
    sys.exit(main())
