"""The Forum menu in the real program under Xvfb: phpBB 3.3 chosen from the
Forum menu over the accessibility bus, a custom spoiler tag added in Forum >
Custom Tags..., the post typed with the real keyboard, and the Live Preview
read over the bus, as a screen reader reads it: the quote is headed "Anna
wrote:" as phpBB shows it, and the spoiler shows its replacement, not its tags.

Run with Debian's python3 (it has pyatspi): test_forum_atspi.py QUORVANE.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "atspi"))
from test_atspi_session import (TIMEOUT, find, poll,  # noqa: E402
                                press, scenario_main, showing, walk)

QUOTE = "[QUOTE=Anna]Bring water[/QUOTE]"
SPOILER = " [spoiler=Ending]He lives[/spoiler]"
POST = QUOTE + SPOILER


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=False, timeout=30)


def forum_item(program, name):
    """An item of the Forum menu (Qt shows a radio item to AT-SPI as a "menu
    item" with a checked state; any kind of menu item is taken)."""
    menu = find(program.frame, "menu item", "Forum")
    return poll(lambda: next((a for a in walk(menu) if a.name == name and
                              a.getRoleName().endswith("menu item")), None),
                timeout=TIMEOUT, what="the Forum menu's %r" % name)


def add_custom_spoiler(program, check):
    """Forum > Custom Tags...: a spoiler's usage and replacement typed into the
    dialog's fields, Add, then OK."""
    p = program
    press(find(find(p.frame, "menu item", "Forum"), "menu item", "Custom Tags..."))
    dialog = p.wait_dialog("Custom Tags - phpBB 3.3")
    for name, text in (("Usage", "[spoiler={TEXT1}]{TEXT2}[/spoiler]"),
                       ("HTML replacement",
                        "<details><summary>{TEXT1}</summary>{TEXT2}</details>")):
        field = find(dialog, "text", name)
        field.queryEditableText().setTextContents(text)
        poll(lambda: field.queryText().getText(0, -1) == text, timeout=TIMEOUT,
             what="the %s field to hold %r" % (name, text))
    press(find(dialog, "push button", "Add"))
    listed = poll(lambda: next((a for a in walk(dialog) if a.getRoleName() == "list item" and
                                a.name.startswith("[spoiler=")), None),
                  timeout=TIMEOUT, what="the spoiler in the list")
    check.true("the spoiler is listed in the dialog", listed is not None)
    p.bus.press_without_waiting(find(dialog, "push button", "OK"))
    p.wait_no_dialog("Custom Tags - phpBB 3.3")


def forum_preview(program, check):
    p = program
    checked = lambda acc: acc.getState().contains(p.pyatspi.STATE_CHECKED)  # noqa: E731
    focused = lambda acc: acc.getState().contains(p.pyatspi.STATE_FOCUSED)  # noqa: E731

    check.true("Generic is the forum at first", checked(forum_item(p, "Generic (Preview page)")))
    phpbb = forum_item(p, "phpBB 3.3")
    press(phpbb)
    try:
        poll(lambda: checked(phpbb), timeout=TIMEOUT, what="phpBB 3.3 checked")
    except AssertionError:
        pass
    check.true("phpBB 3.3 is checked in the Forum menu", checked(phpbb))
    check.true("Generic is no longer checked",
               not checked(forum_item(p, "Generic (Preview page)")))
    try:
        find(p.frame, "label", "Forum: phpBB 3.3")
    except AssertionError:
        pass
    check.true("the forum named in the window",
               any(a.getRoleName() == "label" and a.name == "Forum: phpBB 3.3"
                   for a in walk(p.frame)))

    add_custom_spoiler(p, check)

    poll(lambda: focused(p.post), timeout=TIMEOUT, what="the editor focused")
    xdotool("type", "--delay", "20", POST)
    p.wait_text(POST, "the post typed")
    xdotool("key", "F6")
    window = poll(lambda: next((c for c in p.root if c is not None and
                                c.getRoleName() == "frame" and
                                c.name == "Quorvane - Live Preview" and showing(c)), None),
                  timeout=TIMEOUT, what="the Live Preview window")
    view = find(window, "label", "Live Preview")

    def preview_text():
        text = view.queryText()
        return text.getText(0, text.characterCount)
    try:
        poll(lambda: "Anna wrote:" in preview_text(), timeout=TIMEOUT,
             what="the quote header in the preview")
    except AssertionError:
        pass
    check.true("the preview shows phpBB's quote header \"Anna wrote:\" (shown: %r)"
               % preview_text(), "Anna wrote:" in preview_text())
    check.true("the preview shows the quoted words", "Bring water" in preview_text())
    try:
        poll(lambda: "He lives" in preview_text(), timeout=TIMEOUT,
             what="the spoiler's words in the preview")
    except AssertionError:
        pass
    check.true("the preview shows the custom spoiler's title and words (shown: %r)"
               % preview_text(), "Ending" in preview_text() and "He lives" in preview_text())
    check.true("the preview shows no spoiler tag", "[spoiler" not in preview_text())
    check.true("the preview's note names phpBB 3.3",
               any(a.getRoleName() == "label" and "phpBB 3.3" in a.name for a in walk(window)))


if __name__ == "__main__":
    scenario_main(__file__, forum_preview)
