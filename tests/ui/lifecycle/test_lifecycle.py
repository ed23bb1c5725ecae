"""The real window under a window manager: Ctrl+S saves through the real save
dialog, and a close by the window manager asks before a modified post is
thrown away."""

import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return None


def main(app):
    with Session(app, window_manager=True) as s:
        proc = s.start_app()
        window = s.wait_window("Quorvane")
        s.activate(window)
        s.type("My post")
        s.key("Return")
        s.type("[B]second[/B] line")
        wait_for(lambda: s.post_text(window) == "My post\n[B]second[/B] line",
                 what="the typed post")

        # Ctrl+S opens the real save dialog, whose name field has the focus.
        target = os.path.join(tempfile.mkdtemp(dir=s.home), "saved post.txt")
        s.activate(window)
        s.key("ctrl+s")
        dialog = s.wait_window("Save As")
        s.activate(dialog)
        s.type(target)
        s.key("Return")
        s.wait_no_window("Save As")
        wait_for(lambda: read_bytes(target) == b"My post\r\n[B]second[/B] line\r\n",
                 what="the post in the file")

        # Modify the post, then close the window the way the title bar does.
        s.activate(window)
        s.key("ctrl+End")
        s.type("!")
        s.key("alt+F4")
        # The prompt is titled like the main window: a second one appears.
        prompt = wait_for(lambda: next((w for w in s.windows("Quorvane") if w != window), None),
                          what="the save prompt")
        s.activate(prompt)
        s.key("Escape")
        wait_for(lambda: s.windows("Quorvane") == [window], what="the prompt to go")
        assert proc.poll() is None, "the program ended although Cancel was pressed"
        assert s.post_text(window) == "My post\n[B]second[/B] line!"
        assert read_bytes(target) == b"My post\r\n[B]second[/B] line\r\n"

        # Closed again and answered No, the program ends normally.
        s.activate(window)
        s.key("alt+F4")
        prompt = wait_for(lambda: next((w for w in s.windows("Quorvane") if w != window), None),
                          what="the save prompt again")
        s.activate(prompt)
        s.key("n")
        assert proc.wait(timeout=30) == 0
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
