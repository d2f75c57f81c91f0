#!/usr/bin/env python3
"""A start whose last game cannot be read places the window as any start does:
the real program under openbox on a 1920 x 1080 Xvfb, with the saved game's
name pointing at a folder. The notice shows over the window; once it is
answered the framed window stands centred when nothing is stored, or exactly
on the stored outer rectangle, and closing stores that rectangle unchanged.
Shown before the window manager had framed the window, the notice once left
it 7 px too high, or took the stored outer rectangle for the client area.
Usage: start_notice_e2e.py <quellon executable> <zqln.dat>
Exits 77 (skipped) when a tool it needs is missing.
"""
import os
import sys
import time

from e2e_sandbox import SKIPPED, Sandbox, missing_tools, run, settled, visible, wait_for

TOOLS = ("Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo")
SETTINGS = "[common]\ntongue=0\nmusic=0\nsound=0\npatmode=0\ngame=lost\n"
SCREEN = (1920, 1080)


def start_with_unreadable_game(program, catalogue, stored):
    settings = SETTINGS + (f"MainForm={stored}\n" if stored else "")
    with Sandbox("quellon-notice-", program, catalogue, settings) as sandbox:
        os.makedirs(sandbox.path("program", "games", "lost.zql"))  # a folder, not a saved game
        env = dict(sandbox.start_xvfb(f"{SCREEN[0]}x{SCREEN[1]}x24"), QUELLON_NO_ANIMATION="1", HOME=sandbox.work)
        sandbox.start_openbox(env)
        game = sandbox.start_game(env)
        active = lambda: run("xdotool", "getactivewindow", env=env)
        notice = wait_for("the load-failure notice",
                          lambda: (lambda a: a if a and a not in visible("^Zindle Quellon V", env) else None)(active()))
        time.sleep(0.3)
        run("xdotool", "key", "Return", env=env)
        main = wait_for("the main window", lambda: visible("^Zindle Quellon V", env)[:1])[0]
        wait_for("the notice to close", lambda: active() == main)
        _, frame = settled(main, env)
        print(f"stored {stored}: frame {frame}")
        if stored:
            left, top, right, bottom = (int(v) for v in stored.split(",")[3:])
            assert frame == (left, top, right - left, bottom - top), f"frame {frame}, stored {stored}"
        else:
            assert abs(frame[0] - (SCREEN[0] - frame[2]) // 2) <= 1 and \
                abs(frame[1] - (SCREEN[1] - frame[3]) // 2) <= 1, f"frame {frame} not centred"
        run("wmctrl", "-i", "-c", main, env=env)
        wait_for("the quit question", lambda: active() != main)
        time.sleep(0.3)
        run("xdotool", "key", "Return", env=env)
        assert game.wait(timeout=30) == 0, "the game did not end cleanly"
        kept = sandbox.stored_placement()
        expected = stored or f"200,0,1,{frame[0]},{frame[1]},{frame[0] + frame[2]},{frame[1] + frame[3]}"
        assert kept == expected, f"stored {kept} on closing, expected {expected}"


def main():
    if missing_tools(TOOLS):
        return SKIPPED
    program, catalogue = sys.argv[1], sys.argv[2]
    for stored in (None, "200,0,1,300,200,1300,900"):
        start_with_unreadable_game(program, catalogue, stored)
    return 0


if __name__ == "__main__":
    sys.exit(main())
