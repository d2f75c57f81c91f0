#!/usr/bin/env python3
"""On a Wayland desktop the game runs as an X11 client under XWayland, so its
windows are placed and stacked by the X11 rules; without an X display it still
runs, on Wayland.

A headless weston with XWayland stands in for the desktop. The game gets the
environment of a Wayland session (WAYLAND_DISPLAY, DISPLAY for XWayland,
XDG_SESSION_TYPE=wayland, no QT_QPA_PLATFORM), in which Qt on its own would
pick its Wayland plugin. Where the windows really are is read from the
compositor's scene graph (weston --debug): weston keeps every X window's frame
at the X root's corner and places it in its own space only, so X coordinates
say nothing here.

1. With DISPLAY: Qt loads its X11 plugin, the X server knows the pattern
   window as transient for the main window (kept above it, not above
   everything), and the compositor shows both. weston's shell places every
   X window that has a parent itself, wherever the window asked to be, so the
   stored "pleft"/"ptop" are not looked for here; X11 window managers honour
   them (window_manager_e2e, screen_placement_e2e).
2. Without DISPLAY, and with a DISPLAY whose server is gone: Qt ends up with
   its Wayland plugin (so it is installed and the first choice was a real
   one), the compositor shows the main window, and the X server knows no
   window of the game.

Usage: wayland_session_e2e.py <quellon executable> <zqln.dat>
"""
import os
import re
import sys

from e2e_sandbox import Sandbox, run, stop, wait_for

STORED_POSITION = (640, 300)


def scene_views(env):
    """Title and top-left corner of every top-level window the compositor shows."""
    graph = run("weston-debug", "scene-graph", env=env)
    return {title: (int(x), int(y)) for title, x, y in
            re.findall(r"top-level window '([^']*)'.*\n\s*position: \((-?\d+), (-?\d+)\)", graph)}


def x_windows(pid, env):
    found = run("xdotool", "search", "--onlyvisible", "--pid", str(pid), env=env).split()
    return {run("xdotool", "getwindowname", window, env=env).strip() for window in found}


def loaded_platform_plugins(log):
    """The platform plugins Qt loaded, in order (it tries the next when one fails)."""
    return re.findall(r"platforms/libq(\w[\w-]*)\.so\" loaded library", open(log).read())


def start_weston(sandbox, env):
    """A headless weston with XWayland, ending with the sandbox; returns its X display."""
    # XWayland's socket folder, which an X server would make itself.
    try:
        os.mkdir("/tmp/.X11-unix")
        os.chmod("/tmp/.X11-unix", 0o1777)
    except FileExistsError:
        pass
    log_path = sandbox.path("weston.log")
    weston = sandbox.start(["weston", "--backend=headless-backend.so", "--xwayland", "--debug",
                            "--socket=" + env["WAYLAND_DISPLAY"], "--idle-time=0",
                            "--width=1280", "--height=1024"], env, log_path)
    display = wait_for("weston's X display",
                       lambda: re.findall(r"xserver listening on display (:\d+)", open(log_path).read()),
                       process=weston, log=log_path)[0]
    return display


def main():
    program, catalogue = sys.argv[1], sys.argv[2]
    # English chosen before, no music, the small pattern window where the
    # player left it.
    with Sandbox("quellon-wayland-", program, catalogue,
                 "[common]\ntongue=0\nmusic=0\nsound=0\npatmode=1\n"
                 f"pleft={STORED_POSITION[0]}\nptop={STORED_POSITION[1]}\n") as sandbox:
        runtime = sandbox.path("runtime")
        os.makedirs(runtime, mode=0o700)

        env = {key: value for key, value in os.environ.items()
               if key not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_CURRENT_DESKTOP",
                              "XDG_SESSION_DESKTOP")}
        env.update(XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="quellon-test", XDG_SESSION_TYPE="wayland",
                   XDG_CONFIG_HOME=sandbox.config, XDG_DATA_HOME=sandbox.path("data"),
                   XDG_CACHE_HOME=sandbox.path("cache"), QT_DEBUG_PLUGINS="1")
        display = start_weston(sandbox, env)
        x_env = dict(env, DISPLAY=display)

        # 1. A Wayland session with XWayland: the game is an X11 client.
        log = sandbox.path("game-x11.log")
        game = sandbox.start_game(x_env, log)
        wait_for("the pattern window on the X display", lambda: "Quellon 1" in x_windows(game.pid, x_env),
                 process=game, log=log)
        plugins = loaded_platform_plugins(log)
        assert plugins == ["xcb"], f"platform plugins loaded: {plugins}"
        wait_for("the main and the pattern window in the compositor",
                 lambda: "Quellon 1" in scene_views(env) and
                 any(t.startswith("Zindle Quellon") for t in scene_views(env)), process=game, log=log)
        main = run("xdotool", "search", "--onlyvisible", "--name", "^Zindle Quellon", env=x_env).split()
        pattern = run("xdotool", "search", "--onlyvisible", "--name", "^Quellon 1$", env=x_env).split()
        transient = run("xprop", "-id", pattern[0], "WM_TRANSIENT_FOR", env=x_env)
        assert main and transient.endswith(hex(int(main[0]))), f"the pattern window is {transient}, main {main}"
        stop(game)
        wait_for("end of the first game's windows", lambda: not scene_views(env))

        # 2. No X display, or one whose server is gone: the game runs on Wayland.
        gone = next(f":{n}" for n in range(90, 200)
                    if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"))
        cases = (("no DISPLAY", env), ("DISPLAY of no server", dict(env, DISPLAY=gone)))
        for number, (case, case_env) in enumerate(cases):
            log = sandbox.path(f"game-wayland-{number}.log")
            game = sandbox.start_game(case_env, log)
            wait_for(f"the main window in the compositor ({case})",
                     lambda: any(t.startswith("Zindle Quellon") for t in scene_views(env)), process=game, log=log)
            plugins = loaded_platform_plugins(log)
            assert plugins and plugins[-1].startswith("wayland"), f"{case}: platform plugins loaded: {plugins}"
            assert not x_windows(game.pid, x_env), f"{case}: the game made X windows"
            # The task bar finds the desktop entry, its name and icon, by the application id.
            ids = set(re.findall(r"top-level window '[^']*' of ([^ ,]+),", run("weston-debug", "scene-graph", env=env)))
            assert ids == {"io.quellon.Quellon"}, f"{case}: application ids {ids}, not the desktop entry's"
            assert game.poll() is None, f"{case}: the game ended on Wayland:\n" + open(log).read()
            stop(game)
            wait_for(f"end of the game's windows ({case})", lambda: not scene_views(env))
        print("wayland session ok: X11 first with its windows in place, Wayland without an X server")


if __name__ == "__main__":
    main()
