"""The real window with the X server's own clipboard: another program's text
makes Paste usable at once, Find selects a hit whatever its case, Replace
rewrites the post, and Clear Windows Clipboard empties the desktop's clipboard."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402


def main(app):
    with Session(app, window_manager=True) as s:
        s.start_app()
        window = s.wait_window("Quorvane")
        s.activate(window)

        # Another program copies; with an empty post the only usable Edit
        # items are Paste and the two stamps, so the menu opens on Paste.
        s.set_clipboard("Pasted from ELSEWHERE")
        wait_for(lambda: s.clipboard() == "Pasted from ELSEWHERE", what="the other program's text")
        s.activate(window)
        s.key("alt+e", "Return")
        wait_for(lambda: s.post_text(window) == "Pasted from ELSEWHERE", what="the pasted post")

        # Ctrl+F, type the term, Return: the hit is selected in the editor while
        # the keyboard stays in the box; Esc hands it to the editor, hit selected.
        s.activate(window)
        s.key("ctrl+Home", "ctrl+f")
        s.type("elsewhere")
        s.key("Return", "Escape", "ctrl+c")
        wait_for(lambda: s.clipboard() == "ELSEWHERE", what="the hit on the clipboard")

        # Ctrl+R, both terms, Return: every occurrence replaced, whatever its case.
        s.key("ctrl+r")
        s.type("PASTED from")
        s.key("Tab")
        s.type("Sent to")
        s.key("Return", "Escape")  # Esc closes the panel and gives the editor the keyboard
        wait_for(lambda: s.post_text(window) == "Sent to ELSEWHERE", what="the replaced post")

        # Tools > Clear Windows Clipboard (below the character map item).
        s.set_clipboard("to be cleared")
        wait_for(lambda: s.clipboard() == "to be cleared", what="text to clear")
        s.activate(window)
        s.key("alt+t", "Down", "Return")
        wait_for(lambda: not s.clipboard(), what="an empty clipboard")


if __name__ == "__main__":
    main(sys.argv[1])
