#!/usr/bin/env python3
"""Every dialog of the tool bar opens over the main window, also right after
any other: the real program under openbox on its own Xvfb, at 1x and 2x.

The dialogs are opened in a round that follows each of them with each of the
others once (an Euler circuit of the ordered pairs), three rounds at each
scale, each closed by its own key or button. Each must stand where the game
places its dialogs: centred across the main window's frame, its middle at
the client area's middle seen from the frame's bottom edge. The frame of a
dialog the window manager was still framing once read as 1 x 1, and the
dialog's corner then landed on the main window's centre, a few times in a
hundred openings.
Usage: dialog_placement_e2e.py <quellon executable> <zqln.dat>
Exits 77 (skipped) when a tool it needs is missing.
"""
import sys
import time

from e2e_sandbox import SKIPPED, Sandbox, missing_tools, run, settled, visible, wait_for

TOOLS = ("Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo")
QUIET = "[common]\ntongue=0\nmusic=0\nsound=0\npatmode=0\n"
ROUNDS = 3

# Tool button (left edge in the window's own pixels, negative from the right
# edge) and how the dialog closes: a key, or a click at a point of its own.
DIALOGS = {
    "new-game question": (5, "n"),
    "load": (58, (321, 381)),
    "statistics": (111, "Return"),
    "selection": (218, "Escape"),
    "options": (-208, "Return"),
    "information": (-156, "Return"),
}


def every_pair_once(names):
    """A sequence in which each name follows each other name exactly once."""
    out = {name: [other for other in names if other != name] for name in names}
    stack, circuit = [names[0]], []
    while stack:
        if out[stack[-1]]:
            stack.append(out[stack[-1]].pop(0))
        else:
            circuit.append(stack.pop())
    return circuit[::-1]


def geometry(window, env):
    info = dict(line.strip().split(":", 1) for line in run("xwininfo", "-id", window, env=env).splitlines()
                if line.strip().startswith(("Absolute upper-left", "Width", "Height")))
    return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
            int(info["Width"]), int(info["Height"]))


def check_scale(program, catalogue, scale):
    with Sandbox("quellon-dialogs-", program, catalogue, QUIET) as sandbox:
        env = dict(sandbox.start_xvfb("1920x1080x24" if scale == 1 else "2560x1600x24"), QUELLON_NO_ANIMATION="1",
                   HOME=sandbox.work, QT_SCALE_FACTOR=str(scale))
        sandbox.start_openbox(env)
        game = sandbox.start_game(env)
        main = wait_for("the main window", lambda: visible("^Zindle Quellon", env)[:1])[0]
        client, frame = settled(main, env)
        time.sleep(0.5)  # the first activation's steps
        active = lambda: run("xdotool", "getactivewindow", env=env)
        sequence = every_pair_once(list(DIALOGS)) * ROUNDS
        misplaced = []
        previous = None
        for name in sequence:
            left, close = DIALOGS[name]
            x = left if left >= 0 else client[2] // scale + left
            run("xdotool", "mousemove", "--window", main, str((x + 25) * scale), str(31 * scale), "click", "1",
                env=env)
            dialog = wait_for(f"the {name} dialog", lambda: (lambda a: a if a and a != main else None)(active()))
            at = geometry(dialog, env)
            # The game's rule in its own pixels, so at 2x each side may round
            # by a pixel.
            expected_x = frame[0] + (frame[2] - at[2]) // 2
            expected_y = frame[1] + frame[3] - (client[3] + at[3]) // 2
            if abs(at[0] - expected_x) > scale or abs(at[1] - expected_y) > scale:
                misplaced.append(f"{name} after {previous}: at {at[:2]}, not {(expected_x, expected_y)}")
            if isinstance(close, tuple):
                run("xdotool", "mousemove", "--window", dialog, str(close[0] * scale), str(close[1] * scale),
                    "click", "1", env=env)
            else:
                run("xdotool", "key", close, env=env)
            wait_for(f"the {name} dialog to close", lambda: active() == main)
            previous = name
        print(f"at {scale}x: {len(sequence)} openings, {len(misplaced)} misplaced")
        assert not misplaced, "\n".join(misplaced)
        run("wmctrl", "-i", "-c", main, env=env)
        wait_for("the quit question", lambda: active() != main)
        time.sleep(0.3)
        run("xdotool", "key", "Return", env=env)
        assert game.wait(timeout=30) == 0, "the game did not end cleanly"


def main():
    if missing_tools(TOOLS):
        return SKIPPED
    program, catalogue = sys.argv[1], sys.argv[2]
    for scale in (1, 2):
        check_scale(program, catalogue, scale)
    return 0


if __name__ == "__main__":
    sys.exit(main())
