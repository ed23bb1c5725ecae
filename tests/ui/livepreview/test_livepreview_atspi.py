"""The Live Preview in the real program under Xvfb: opened with F6 from the
editor, the post typed with the real keyboard, and the preview's text read
over the accessibility bus, as a screen reader reads it.

Run with Debian's python3 (it has pyatspi): test_livepreview_atspi.py QUORVANE.
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "atspi"))
from test_atspi_session import (TIMEOUT, find, poll,  # noqa: E402
                                scenario_main, showing)



def xdotool(*args):
    subprocess.run(["xdotool", *args], check=False, timeout=30)


def live_preview(program, check):
    p = program
    focused = lambda acc: acc.getState().contains(p.pyatspi.STATE_FOCUSED)  # noqa: E731
    poll(lambda: focused(p.post), timeout=TIMEOUT, what="the editor focused at start")

    xdotool("key", "F6")
    window = poll(lambda: next((c for c in p.root if c is not None and
                                c.getRoleName() == "frame" and
                                c.name == "Quorvane - Live Preview" and showing(c)), None),
                  timeout=TIMEOUT, what="the Live Preview window")
    # Read-only rich text is a "label" to AT-SPI; its text is all there.
    view = find(window, "label", "Live Preview")
    check.true("the View menu's item is checked",
               find(find(p.frame, "menu item", "View"), "menu item", "Live Preview")
               .getState().contains(p.pyatspi.STATE_CHECKED))

    # Opening it leaves the keyboard in the editor: the writer types on.
    poll(lambda: focused(p.post), timeout=TIMEOUT, what="the editor still focused")
    xdotool("type", "--delay", "20", "[B]Hello[/B] live world :)")
    xdotool("key", "Return")
    xdotool("type", "--delay", "20", "second line")
    # The line break is the page's empty paragraph (a no-break space); the
    # smiley is a picture (U+FFFC).
    expected = ["Hello", "live", "world", "\ufffc", "second", "line"]

    def preview_text():
        text = view.queryText()
        return text.getText(0, text.characterCount).split()
    try:
        poll(lambda: preview_text() == expected, timeout=TIMEOUT, what="the preview's text")
    except AssertionError:
        pass
    check.equal("the preview's text over the bus", preview_text(), expected)

    # Esc in the preview gives the keyboard back to the editor.
    xdotool("search", "--name", "^Quorvane - Live Preview$", "windowactivate", "--sync")
    poll(lambda: focused(view) or window.getState().contains(p.pyatspi.STATE_ACTIVE),
         timeout=TIMEOUT, what="the preview active")
    xdotool("key", "Escape")
    try:
        poll(lambda: focused(p.post), timeout=TIMEOUT, what="the editor focused after Esc")
    except AssertionError:
        pass
    check.true("Esc returns to the editor", focused(p.post))

    # F6 again closes it.
    xdotool("key", "F6")
    try:
        poll(lambda: not showing(window), timeout=TIMEOUT, what="the preview closed")
    except AssertionError:
        pass
    check.true("F6 closes the preview", not showing(window))


if __name__ == "__main__":
    scenario_main(__file__, live_preview)
