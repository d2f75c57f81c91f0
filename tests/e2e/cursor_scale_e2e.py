#!/usr/bin/env python3
"""The pointer acts where the board's cursors point, on a plain, a doubly
and a one-and-a-half times scaled screen (QT_SCALE_FACTOR=2, 1.5).

For each scale the real program runs under its own Xvfb; help lays piece 1
at its solution spot, a press on its anchor picks it up, and a small move
over it shows the move cursor. The X server's own picture of that cursor
(read through XFixes) must have its hot spot in its middle, and be drawn at
the screen's scale rather than stretched.
Usage: cursor_scale_e2e.py <quellon executable> <zqln.dat>
"""
import ctypes
import ctypes.util
import sys
import time

from e2e_sandbox import Sandbox, run, wait_for

TOOL_BAR_HEIGHT = 60
BOARD_COLUMNS, BOARD_ROWS = 91, 61
TIP_BUTTON = (164 + 25, 6 + 25)
CURSOR_SIZE = 32  # the cursor pictures' size at scale 1


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def shown_cursor(display):
    """(width, height, hot x, hot y) of the cursor the X server shows now."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    assert connection, f"cannot open display {display}"
    try:
        image = xfixes.XFixesGetCursorImage(connection)
        assert image, "no cursor image"
        shown = (image.contents.width, image.contents.height, image.contents.xhot, image.contents.yhot)
        x11.XFree(image)
        return shown
    finally:
        x11.XCloseDisplay(connection)


def client_size(window, env):
    values = dict(line.split("=", 1) for line in run("xdotool", "getwindowgeometry", "--shell", window, env=env).splitlines())
    return int(values["WIDTH"]), int(values["HEIGHT"])


def check_scale(scale, program, catalogue, first_piece):
    with Sandbox(f"quellon-cursor-{scale}x-", program, catalogue,
                 "[common]\ntongue=0\nmusic=0\nsound=0\npatmode=1\n") as sandbox:
        env = dict(sandbox.start_xvfb("2560x2048x24"), QT_SCALE_FACTOR=str(scale), QUELLON_NO_ANIMATION="1")
        sandbox.start_game(env)
        window = wait_for("the main window",
                          lambda: run("xdotool", "search", "--onlyvisible", "--name", "^Zindle Quellon", env=env).split()[:1])[0]
        time.sleep(0.5)  # the first activation's steps

        def press_at(x, y):  # in the window's own (unscaled) pixels
            run("xdotool", "mousemove", "--window", window, str(round(x * scale)), str(round(y * scale)), "click", "1",
                env=env)

        press_at(*TIP_BUTTON)
        # The board's place in the window, as the window lays it out.
        width, height = (int(size / scale) for size in client_size(window, env))
        cell = min(width // 93, (height - TOOL_BAR_HEIGHT) // 63)
        left = (width - BOARD_COLUMNS * cell) // 2
        top = (height - TOOL_BAR_HEIGHT - BOARD_ROWS * cell) // 2 + TOOL_BAR_HEIGHT
        anchor = (left + first_piece[0] * cell, top + first_piece[1] * cell)
        time.sleep(0.3)
        press_at(*anchor)  # picks piece 1 up
        time.sleep(0.3)
        run("xdotool", "mousemove", "--window", window, str(round(anchor[0] * scale) + 1), str(round(anchor[1] * scale) + 1),
            env=env)
        expected = round(CURSOR_SIZE * scale)

        # At 1.5 the theme's hand is as large as the move cursor: wait for
        # the move cursor, known by its hot spot in the middle.
        seen = []

        def move_cursor():
            shown = shown_cursor(env["DISPLAY"])
            seen.append(shown)
            return shown if shown == (expected, expected, expected // 2, expected // 2) else None
        try:
            shown = wait_for(f"the move cursor at scale {scale}", move_cursor, timeout=10)
        except AssertionError:
            raise AssertionError(f"scale {scale}: no {expected} x {expected} cursor with its hot spot in its middle; "
                                 f"last seen {seen[-1:]}") from None
        print(f"scale {scale}: cursor {shown[0]} x {shown[1]}, hot spot {shown[2]}, {shown[3]}")


def main():
    program, catalogue = sys.argv[1], sys.argv[2]
    with open(catalogue, "rb") as file:
        first_piece = tuple(file.read(3))  # Quellon 1, piece 1: x, y, orientation
    for scale in (1, 2, 1.5):
        check_scale(scale, program, catalogue, first_piece)
    print("cursors act at their middle at every scale")
    return 0


if __name__ == "__main__":
    sys.exit(main())
