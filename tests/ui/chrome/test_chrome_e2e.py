"""The About and feedback windows in the real window system: they open from
their shortcuts, close by Esc and by the window manager's close, and the main
window takes typing again afterwards."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session  # noqa: E402


def main(app):
    with Session(app, window_manager=True) as s:
        proc = s.start_app()
        window = s.wait_window("Quorvane")
        s.activate(window)

        s.key("ctrl+b")
        about = s.wait_window("About Quorvane")
        s.activate(about)
        s.key("Escape")
        s.wait_no_window("About Quorvane")
        # The main window has its focus back without being clicked.
        s.type("abc")
        assert s.post_text(window) == "abc"

        s.key("ctrl+i")
        s.wait_window("I Like Quorvane")
        s.run(["wmctrl", "-c", "I Like Quorvane"])
        s.wait_no_window("I Like Quorvane")
        s.key("End")
        s.type("d")
        assert s.post_text(window) == "abcd"

        # Opened again, the About window is the same one, still answering Esc.
        s.key("ctrl+b")
        about = s.wait_window("About Quorvane")
        s.activate(about)
        s.key("Escape")
        s.wait_no_window("About Quorvane")

        assert proc.poll() is None
        proc.terminate()
        proc.wait(timeout=30)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
