"""What every end-to-end script of the real program needs around it.

A sandbox is a temporary folder holding a program folder of its own (the
executable with the catalogue beside it, so saved games land there too) and
a settings folder for XDG_CONFIG_HOME with the given V3.conf. It starts an
Xvfb of its own when asked, keeps every process started through it, and on
leaving ends them, newest first, and removes the folder. When the script
fails, the game's output (game.log in the sandbox) is printed first: it tells
more than a timeout alone.
"""
import os
import shutil
import subprocess
import tempfile
import time

# Generous: CI machines run other tests beside these.
TIMEOUT = 60.0
# The exit code by which a script tells CTest it was skipped.
SKIPPED = 77


def missing_tools(tools):
    """The tools not on the PATH, said on the output; empty when all are there."""
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing:
        print("skipped: missing", " ".join(missing))
    return missing


def run(*args, env, timeout=TIMEOUT):
    """A tool's standard output, stripped."""
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout).stdout.strip()


def visible(name, env):
    """The ids of the shown windows whose name matches the pattern."""
    return run("xdotool", "search", "--onlyvisible", "--name", name, env=env).split()


def prop(window, name, env):
    """The value part of one xprop line, empty when the property is missing."""
    line = run("xprop", "-id", window, name, env=env)
    return line.split("=", 1)[1].strip() if "=" in line else ""


def stacking(env):
    """The ids of the windows the window manager manages, bottom to top."""
    listed = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING", env=env)
    return [str(int(v, 16)) for v in listed.split("#", 1)[1].split(",")] if "#" in listed else []


def wait_for(what, probe, timeout=TIMEOUT, process=None, log=None):
    """The first true value of probe(); fails after timeout, or as soon as
    process has ended, quoting log when given."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        if process is not None and process.poll() is not None:
            break
        time.sleep(0.1)
    said = ""
    if log and os.path.exists(log):
        with open(log) as text:
            said = "\n" + text.read()
    raise AssertionError(f"timed out waiting for {what}{said}")


def framed(window, env):
    """(client rectangle, frame rectangle) on the screen, each as (x, y,
    width, height): the client widened by the extents the window manager
    reports; None before it framed the window."""
    extents = prop(window, "_NET_FRAME_EXTENTS", env)
    if not extents:
        return None
    left, right, top, bottom = (int(v) for v in extents.split(","))
    info = dict(line.strip().split(":", 1) for line in run("xwininfo", "-id", window, env=env).splitlines()
                if line.strip().startswith(("Absolute upper-left", "Width", "Height")))
    x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])
    width, height = int(info["Width"]), int(info["Height"])
    return (x, y, width, height), (x - left, y - top, width + left + right, height + top + bottom)


def settled(window, env):
    """framed() once two readings 0.4 s apart agree."""
    def probe():
        first = framed(window, env)
        time.sleep(0.4)
        return first if first and first == framed(window, env) else None
    return wait_for("a window to settle in its frame", probe)


def stop(process, timeout=10):
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Sandbox:
    def __init__(self, prefix, program, catalogue, settings):
        self.work = tempfile.mkdtemp(prefix=prefix)
        self.program_dir = os.path.join(self.work, "program")
        os.makedirs(self.program_dir)
        self.program = os.path.join(self.program_dir, "quellon")
        shutil.copy2(program, self.program)
        shutil.copy2(catalogue, os.path.join(self.program_dir, "zqln.dat"))
        self.config = os.path.join(self.work, "config")
        settings_dir = os.path.join(self.config, "ZindleGames", "ZindleQuellon")
        os.makedirs(settings_dir)
        self.settings_file = os.path.join(settings_dir, "V3.conf")
        with open(self.settings_file, "w") as file:
            file.write(settings)
        self.game_log = os.path.join(self.work, "game.log")
        self.processes = []

    def __enter__(self):
        return self

    def __exit__(self, kind, error, trace):
        try:
            if kind is not None and os.path.exists(self.game_log):
                with open(self.game_log) as said:
                    print("program output:\n" + said.read())
            for process in reversed(self.processes):
                stop(process)
        finally:
            shutil.rmtree(self.work, ignore_errors=True)
        return False

    def path(self, *parts):
        return os.path.join(self.work, *parts)

    def start(self, args, env, log=None):
        """A process that ends with the sandbox at the latest; its output goes
        to log (appended), or nowhere."""
        out = open(log, "a") if log else subprocess.DEVNULL
        process = subprocess.Popen(args, env=env, stdout=out, stderr=subprocess.STDOUT)
        if log:
            out.close()  # the child keeps its own copy
        self.processes.append(process)
        return process

    def start_game(self, env, log=None):
        return self.start([self.program], env, log or self.game_log)

    def start_openbox(self, env):
        """openbox on the sandbox's X server, once it manages the screen."""
        self.start(["openbox"], env)
        wait_for("openbox", lambda: "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", env=env))

    def stored_placement(self):
        """The main window's placement as the settings file holds it, or None."""
        with open(self.settings_file) as settings:
            for line in settings:
                if line.startswith("MainForm="):
                    return line.split("=", 1)[1].strip().strip('"')
        return None

    def start_xvfb(self, screen="1280x1024x24"):
        """An X server of its own on the first free display, ready once its
        number is known; returns the environment of an X11 client on it that
        reads its settings from the sandbox."""
        read_fd, write_fd = os.pipe()
        # -noreset: without it the server starts afresh whenever its last
        # client leaves (each xdotool call), and refuses whoever connects then.
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-noreset", "-screen", "0", screen,
                                 "-nolisten", "tcp"],
                                pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(xvfb)
        os.close(write_fd)
        with os.fdopen(read_fd) as display_pipe:
            display = display_pipe.readline().strip()  # written once the server is ready
        assert display, "Xvfb did not start"
        env = dict(os.environ, DISPLAY=":" + display, XDG_CONFIG_HOME=self.config, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        return env
