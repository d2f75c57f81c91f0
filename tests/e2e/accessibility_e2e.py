"""A screen reader's view of the game: through the desktop's accessibility
bus (at-spi2) every button of the main window, the options dialog and the
statistics dialog is listed with its role and its name, and the name and
description are those of the language chosen, so that a reader says "New
game" and what the button does, not merely "button".

Run inside a private D-Bus session (dbus-run-session), which starts the
accessibility bus on demand; the Python bindings of libatspi read it.
Arguments: the game's executable and the catalogue.
"""
import os
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_sandbox import Sandbox, run, wait_for  # noqa: E402

SETTINGS = "[common]\ntongue=0\npatmode=2\nmusic=0\nsound=0\n"

MAIN_BUTTONS = {
    "New game": "I want to play a new game.",
    "Load game": "I want to continue an old game.",
    "Statistics": "Let me see, what I've solved until now.",
    "Help": "I need a little help.",
    "Choose Quellon": "I try another Quellon.",
    "Next Quellon": "I take the next Quellon.",
    "Previous Quellon": "I take the previous Quellon.",
    "Next unsolved Quellon": "I take the next unsolved Quellon.",
    "Previous unsolved Quellon": "I take the previous unsolved Quellon.",
    "Options": "I want to modify the options.",
    "About Quellon": "Who did this ZINDLE GAME?",
    "Rules": "What's to do here?",
    "Quit": "I have enough!",
}


def controls(node, found=None):
    """Every button, slider, text field, list and progress bar below node, as
    (role, name, description, node)."""
    if found is None:
        found = []
    role = node.get_role_name()
    if role in ("push button", "slider", "text", "list", "progress bar", "check box", "combo box", "spin button"):
        found.append((role, node.get_name(), node.get_description(), node))
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is not None:
            controls(child, found)
    return found


def game_application():
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is not None and application.get_name() == "Zindle Quellon":
            return application
    return None


def window_named(application, wanted):
    """The top-level window showing whose controls include one named wanted."""
    application.clear_cache()
    for index in range(application.get_child_count()):
        window = application.get_child_at_index(index)
        if window is None:
            continue
        if not window.get_state_set().contains(Atspi.StateType.SHOWING):
            continue
        if any(name == wanted for _, name, _, _ in controls(window)):
            return window
    return None


def click(node, env):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    run("xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1", env=env)


def check(listed, expected_roles, where):
    """Each control of the window is listed with a name; returns them by name."""
    by_name = {}
    for role, name, description, node in listed:
        assert name, f"{where}: a {role} without a name"
        assert description, f"{where}: {role} '{name}' without a description"
        by_name[name] = (role, description, node)
    for name, role in expected_roles.items():
        assert name in by_name, f"{where}: no control named '{name}' among {sorted(by_name)}"
        assert by_name[name][0] == role, f"{where}: '{name}' is a {by_name[name][0]}, not a {role}"
    return by_name


def main():
    program, catalogue = sys.argv[1], sys.argv[2]
    assert os.environ.get("DBUS_SESSION_BUS_ADDRESS"), "run inside dbus-run-session"
    with Sandbox("quellon-a11y-", program, catalogue, SETTINGS) as sandbox:
        env = dict(sandbox.start_xvfb(), QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QUELLON_NO_ANIMATION="1",
                   HOME=sandbox.work)
        game = sandbox.start_game(env)
        application = wait_for("the game on the accessibility bus", game_application, process=game,
                               log=sandbox.game_log)
        main_window = wait_for("the main window's buttons",
                               lambda: window_named(application, "New game"), process=game,
                               log=sandbox.game_log)
        listed = controls(main_window)
        buttons = check(listed, {name: "push button" for name in MAIN_BUTTONS}, "main window")
        for name, hint in MAIN_BUTTONS.items():
            assert buttons[name][1] == hint, f"'{name}' described as '{buttons[name][1]}'"
        assert len(listed) == len(MAIN_BUTTONS), [name for _, name, _, _ in listed]

        click(buttons["Options"][2], env)
        options = wait_for("the options dialog", lambda: window_named(application, "Language"),
                           process=game, log=sandbox.game_log)
        option_controls = check(controls(options), {name: "push button" for name in
                                                    ("Language", "Sound", "Music", "Background", "Pattern", "OK")},
                                "options")
        assert option_controls["Sound"][1].startswith("Sound"), option_controls["Sound"][1]
        run("xdotool", "key", "Return", env=env)
        wait_for("the options dialog to close", lambda: window_named(application, "Language") is None)

        click(buttons["Statistics"][2], env)
        statistics = wait_for("the statistics dialog",
                              lambda: window_named(application, "Points reached"), process=game,
                              log=sandbox.game_log)
        stat_controls = check(controls(statistics), {"OK": "push button", "Finished Quellons": "progress bar",
                                                     "Points reached": "progress bar"}, "statistics")
        assert "0 out of" in stat_controls["Points reached"][1] or "no points" in stat_controls["Points reached"][1], \
            stat_controls["Points reached"][1]
        run("xdotool", "key", "Return", env=env)
        wait_for("the statistics dialog to close",
                 lambda: window_named(application, "Points reached") is None)
        print(f"main window {len(listed)} controls, options {len(option_controls)}, statistics {len(stat_controls)}")
        time.sleep(0.2)


if __name__ == "__main__":
    main()
