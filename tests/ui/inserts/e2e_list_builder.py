"""An ordered list built through the real prompt dialogs, answered by typed
keys, then read back from the clipboard."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402

PROMPT = "Ordered List"

# The Ordered List button is the eighth of the toolbar's second row: 21 px
# buttons 2 px apart from a 4 px margin. Its row starts below the menu bar,
# the 20 px top strip and the first row; y = 82 is inside it for any menu bar
# from 14 to 33 px high.
BUTTON_X = 4 + 7 * (21 + 2) + 10
BUTTON_Y = 82


def next_prompt(session, previous):
    """Waits for a prompt window other than the one just answered."""
    def find():
        current = session.windows(PROMPT)
        if previous in current:
            return None
        return current[0] if current else None
    return wait_for(find, what="the next %r prompt" % PROMPT)


def answer(session, prompt, keys=None, text=None):
    session.activate(prompt)
    if text is not None:
        session.type(text)
    session.key(*(keys or ["Return"]))


def main(app):
    with Session(app, window_manager=True) as s:
        proc = s.start_app()
        window = s.wait_window("Quorvane")
        s.activate(window)
        s.type("Shopping:")

        s.click(BUTTON_X, BUTTON_Y, window=window)
        try:
            first = next_prompt(s, None)
        except AssertionError:
            s.screenshot(os.path.join(s.home, "..", "quorvane-e2e-list.png"))
            raise
        answer(s, first, text="bread and butter")
        second = next_prompt(s, first)
        answer(s, second, text="  tea ")
        third = next_prompt(s, second)
        # Esc cancels the prompt, which closes the list.
        answer(s, third, keys=["Escape"])
        s.wait_no_window(PROMPT)

        text = s.post_text(window)
        expected = "Shopping:[LIST=1]\n[*]bread and butter\n[*]  tea \n[/LIST]"
        assert text.replace("\r\n", "\n") == expected, repr(text)

        proc.kill()
        proc.wait(timeout=30)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
