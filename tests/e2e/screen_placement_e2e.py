#!/usr/bin/env python3
"""Where the windows stand under a real window manager (openbox on its own
Xvfb), on the screens players have.

First start, nothing stored, on a 1920 x 1080 screen, a 1366 x 768 one and a
doubly scaled 1280 x 800 one, with the pattern window of each size: the framed
main window is centred; the pattern window stands beside it on the side with
more room, its top level with the board's, where that side has room, and
elsewhere over no tool button or parking place, hiding no more of the board
than any such place would. It stays where it is when the main window is
moved and resized.
A restart: the pattern window stands at its stored place and carries the
game's icon.
A window closed maximised: made normal again it has its stored outer size
and place, and closing it once more stores the same rectangle.
At 1x and 2x: the picture-selection button is not left lit once a Quellon
was chosen in its dialog with the pointer elsewhere.
Usage: screen_placement_e2e.py <quellon executable> <zqln.dat>
Exits 77 (skipped) when a tool it needs is missing.
"""
import subprocess
import sys
import time

from e2e_sandbox import SKIPPED, TIMEOUT, Sandbox, missing_tools, prop, run, settled, visible, wait_for

TOOLS = ("Xvfb", "openbox", "wmctrl", "xdotool", "xprop", "xwininfo", "import", "compare")
QUIET = "[common]\ntongue=0\nmusic=0\nsound=0\n"

# The tool buttons in the window's own pixels: (left, top, width, height),
# a negative left counting from the client area's right edge.
BUTTONS = [(left, 6, 50, 50) for left in (5, 58, 111, 164, 218, -208, -156, -104, -52)] + \
          [(left, top, 50, 25) for left in (270, 323) for top in (6, 30)]


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def start(sandbox, screen, scale):
    env = dict(sandbox.start_xvfb(screen), QUELLON_NO_ANIMATION="1", HOME=sandbox.work, QT_SCALE_FACTOR=str(scale))
    sandbox.start_openbox(env)
    game = sandbox.start_game(env)
    main = wait_for("the main window", lambda: visible("^Zindle Quellon", env)[:1])[0]
    return env, game, main


def quit_game(game, main, env):
    # The frame's close request, not a typed Alt+F4: openbox sometimes keeps
    # the keyboard grabbed after a synthetic Alt+F4 and the answer never
    # arrives.
    run("wmctrl", "-i", "-c", main, env=env)
    wait_for("the quit question", lambda: run("xdotool", "getactivewindow", "getwindowname", env=env) == "Zindle Quellon")
    time.sleep(0.3)
    run("xdotool", "key", "Return", env=env)
    assert game.wait(timeout=TIMEOUT) == 0, "the game did not end cleanly"


def board_and_parking(client, scale):
    """The board and its two parking places on the screen, as the game lays
    them out in the client area: cells of 1/93 of its width or 1/63 of its
    height below the tool bar, 91 x 61 of them centred there; a parked piece
    lies in columns 2 to 15 or 74 to 87 and rows 1 to 59."""
    width, height = client[2] // scale, client[3] // scale
    cell = max(min(width // 93, (height - 60) // 63), 1)
    left, top = (width - 91 * cell) // 2, (height - 60 - 61 * cell) // 2 + 60

    def on_screen(x, y, w, h):
        return client[0] + x * scale, client[1] + y * scale, w * scale, h * scale
    return on_screen(left, top, 91 * cell + 1, 61 * cell + 1), \
        [on_screen(left + column * cell, top + cell, 14 * cell, 59 * cell) for column in (2, 74)]


def hidden(window, board):
    across = min(window[0] + window[2], board[0] + board[2]) - max(window[0], board[0])
    down = min(window[1] + window[3], board[1] + board[3]) - max(window[1], board[1])
    return max(across, 0) * max(down, 0)


def first_start(program, catalogue, screen, scale, patmode):
    with Sandbox("quellon-place-", program, catalogue, QUIET + f"patmode={patmode}\n") as sandbox:
        env, game, main = start(sandbox, screen, scale)
        pattern = wait_for("the pattern window", lambda: visible("^Quellon [0-9]+", env)[:1])[0]
        client, frame = settled(main, env)
        _, pattern_frame = settled(pattern, env)
        width, height = (int(v) for v in screen.split("x")[:2])
        print(f"{screen} at {scale}, pattern mode {patmode}: main frame {frame}, pattern frame {pattern_frame}")
        # The framed window centred by its outer size.
        assert abs(frame[0] - (width - frame[2]) // 2) <= 1 and abs(frame[1] - (height - frame[3]) // 2) <= 1, \
            f"main frame {frame} not centred on {width} x {height}"
        clear = []
        for left, top, w, h in BUTTONS:
            x = left if left >= 0 else client[2] / scale + left
            clear.append((client[0] + round(x * scale), client[1] + round(top * scale), round(w * scale),
                          round(h * scale)))
        board, parking = board_and_parking(client, scale)
        clear += parking
        for keep in clear:
            assert not overlaps(keep, pattern_frame), f"the pattern window {pattern_frame} covers {keep}"
        assert 0 <= pattern_frame[0] and pattern_frame[0] + pattern_frame[2] <= width and \
            0 <= pattern_frame[1] and pattern_frame[1] + pattern_frame[3] <= height, "the pattern window is off the screen"
        room_left, room_right = frame[0], width - frame[0] - frame[2]
        if max(room_left, room_right) >= pattern_frame[2]:
            x = frame[0] + frame[2] if room_right >= room_left else frame[0] - pattern_frame[2]
            assert abs(pattern_frame[0] - x) <= scale and abs(pattern_frame[1] - board[1]) <= scale, \
                f"the pattern window {pattern_frame} is not beside the main window {frame} level with the board {board}"
        else:
            # No place clear of the buttons and the parking places hides less
            # of the board (tried every few pixels).
            size, step = pattern_frame[2:], 4 * scale
            least = min(hidden((x, y) + size, board) for x in range(0, width - size[0] + 1, step)
                        for y in range(0, height - size[1] + 1, step)
                        if not any(overlaps((x - 4 * scale, y - 4 * scale, size[0] + 8 * scale, size[1] + 8 * scale), keep)
                                   for keep in clear))
            assert hidden(pattern_frame, board) <= least, \
                f"the pattern window {pattern_frame} hides {hidden(pattern_frame, board)} pixels of the board, {least} would do"
        if patmode == 2:
            # Placed once: the main window moved and resized by the player,
            # once the start is over, leaves it where it is.
            time.sleep(1.5)
            run("xdotool", "windowsize", main, str(client[2] - 60 * scale), str(client[3] - 40 * scale), env=env)
            run("xdotool", "windowmove", main, str(frame[0] + 20), str(frame[1] + 10), env=env)
            wait_for("the main window resized", lambda: settled(main, env)[0][2] == client[2] - 60 * scale)
            time.sleep(0.5)
            assert settled(pattern, env)[1] == pattern_frame, "the pattern window followed the main window"
        quit_game(game, main, env)


def restart_and_maximised(program, catalogue):
    outer = (200, 150, 1000, 760)  # left, top, width, height
    stored = f"200,0,3,{outer[0]},{outer[1]},{outer[0] + outer[2]},{outer[1] + outer[3]}"
    with Sandbox("quellon-place-", program, catalogue,
                 QUIET + f"patmode=2\npleft=700\nptop=600\nMainForm={stored}\n") as sandbox:
        env, game, main = start(sandbox, "1920x1080x24", 1)
        pattern = wait_for("the pattern window", lambda: visible("^Quellon [0-9]+", env)[:1])[0]
        assert settled(pattern, env)[1][:2] == (700, 600), "the pattern window is not at its stored place"
        wait_for("the pattern window's icon", lambda: prop(pattern, "_NET_WM_ICON", env), timeout=10)
        wait_for("the main window maximised", lambda: "MAXIMIZED_VERT" in prop(main, "_NET_WM_STATE", env))
        run("wmctrl", "-i", "-r", main, "-b", "remove,maximized_vert,maximized_horz", env=env)
        wait_for("the main window made normal", lambda: "MAXIMIZED" not in prop(main, "_NET_WM_STATE", env))
        _, frame = settled(main, env)
        print(f"closed maximised, made normal: frame {frame}, stored {outer}")
        assert frame == outer, f"made normal at {frame}, stored {outer}"
        run("wmctrl", "-i", "-r", main, "-b", "add,maximized_vert,maximized_horz", env=env)
        wait_for("the main window maximised again", lambda: "MAXIMIZED_VERT" in prop(main, "_NET_WM_STATE", env))
        time.sleep(0.5)
        quit_game(game, main, env)
        again = sandbox.stored_placement()
        assert again == stored, f"stored {again}, before {stored}"


def button_face(sandbox, env, client, scale, name):
    """The picture-selection button as the screen shows it, as a file."""
    left, top, side = client[0] + 218 * scale, client[1] + 6 * scale, 50 * scale
    path = sandbox.path(name + ".png")
    subprocess.run(["import", "-window", "root", "-crop", f"{side}x{side}+{left}+{top}", path], env=env, check=True)
    return path


def same_picture(a, b, env):
    """compare prints the number of differing pixels."""
    done = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], env=env, capture_output=True, text=True)
    return done.stderr.strip() == "0"


def face_after_choice(program, catalogue, scale):
    with Sandbox("quellon-face-", program, catalogue, QUIET + "patmode=0\n") as sandbox:
        env, game, main = start(sandbox, "2560x1600x24", scale)
        client, _ = settled(main, env)
        time.sleep(0.5)  # the first activation's steps

        def point(x, y, *click):
            run("xdotool", "mousemove", "--window", main, str(x * scale), str(y * scale), *click, env=env)
        point(450, 400)
        time.sleep(0.5)
        plain = button_face(sandbox, env, client, scale, "plain")
        point(243, 31)
        wait_for("the lit face", lambda: not same_picture(plain, button_face(sandbox, env, client, scale, "lit"), env))
        point(243, 31, "click", "1")
        chooser = wait_for("the picture selection", lambda: visible("^Select Quellon$", env)[:1])[0]
        time.sleep(0.3)
        run("xdotool", "mousemove", "--window", chooser, str(330 * scale), str(60 * scale), "click", "1", env=env)
        wait_for("the selection to close", lambda: not visible("^Select Quellon$", env))
        time.sleep(0.5)
        after = button_face(sandbox, env, client, scale, "after")
        assert same_picture(plain, after, env), f"scale {scale}: the button is still lit with the pointer elsewhere"
        quit_game(game, main, env)


def main():
    if missing_tools(TOOLS):
        return SKIPPED
    program, catalogue = sys.argv[1], sys.argv[2]
    for screen, scale, patmodes in (("1920x1080x24", 1, (2, 3)), ("1366x768x24", 1, (1, 2, 3)),
                                    ("2560x1600x24", 2, (2, 3))):
        for patmode in patmodes:
            first_start(program, catalogue, screen, scale, patmode)
    restart_and_maximised(program, catalogue)
    for scale in (1, 2):
        face_after_choice(program, catalogue, scale)
    return 0


if __name__ == "__main__":
    sys.exit(main())
