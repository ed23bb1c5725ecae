"""The Forum menu's own mark-up in the real program under Xvfb, driven over
the accessibility bus: SMF 2.1 chosen, a word struck through from the Forum
Tags submenu, another quoted with Quote Selection... (the author typed in the
real dialog) and a table inserted with Insert Table... (the real dialog's
size taken), then typing lands in the table's first cell.

Run with Debian's python3 (it has pyatspi): test_forummarkup_atspi.py QUORVANE.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "atspi"))
from test_atspi_session import (TIMEOUT, find, poll,  # noqa: E402
                                press, scenario_main, walk)

TABLE = ("[table]\n[tr][td][/td][td][/td][/tr]\n[tr][td][/td][td][/td][/tr]\n"
         "[tr][td][/td][td][/td][/tr]\n[/table]")


def forum_item(program, name):
    """An item of the Forum menu or of its Forum Tags submenu."""
    menu = find(program.frame, "menu item", "Forum")
    return poll(lambda: next((a for a in walk(menu) if a.name == name and
                              a.getRoleName().endswith("menu item")), None),
                timeout=TIMEOUT, what="the Forum menu's %r" % name)


def forum_markup(program, check):
    p = program
    press(forum_item(p, "SMF 2.1"))
    find(p.frame, "label", "Forum: SMF 2.1")

    p.type_at_caret("Bring water")
    p.wait_text("Bring water", "the post typed")
    p.select("water")
    press(forum_item(p, "Strike-through [s]"))
    p.wait_text("Bring [s]water[/s]", "the word struck through in SMF's tag")

    p.select("Bring")
    p.bus.press_without_waiting(forum_item(p, "Quote Selection..."))
    dialog = p.wait_dialog("Quote Selection")
    p.answer_prompt(dialog, "Anna")
    p.wait_no_dialog("Quote Selection")
    p.wait_text("[quote author=Anna]Bring[/quote] [s]water[/s]",
                "the word quoted in SMF's form with its author")

    p.caret_to_end()
    p.bus.press_without_waiting(forum_item(p, "Insert Table..."))
    dialog = p.wait_dialog("Insert Table")
    p.bus.press_without_waiting(find(dialog, "push button", "OK"))
    p.wait_no_dialog("Insert Table")
    before = "[quote author=Anna]Bring[/quote] [s]water[/s]"
    p.wait_text(before + TABLE, "SMF's table of three rows and two columns")
    p.type_at_caret("Name")
    p.wait_text(before + TABLE.replace("[td]", "[td]Name", 1), "typing lands in the first cell")


if __name__ == "__main__":
    scenario_main(__file__, forum_markup)
