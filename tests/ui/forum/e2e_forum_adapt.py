"""Forum > Copy for Forum and Adapt Post for Forum... in the real window under
Xvfb, driven with the keyboard: phpBB 3.3 chosen, the adapted post read from
the real clipboard, the changes applied with Apply Changes and taken back with
one Ctrl+Z."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402

POST = "[size=5]Big[/size] [s]gone[/s]"
ADAPTED = "[size=150]Big[/size] gone"


def forum_menu(session, window, *keys):
    """Opens F&orum (its first item is highlighted) and moves with `keys`."""
    session.activate(window)
    session.key("alt+o", *keys, "Return")


def main(app):
    with Session(app, window_manager=True) as s:
        proc = s.start_app()
        window = s.wait_window("Quorvane")
        forum_menu(s, window, "Down")  # phpBB 3.3
        s.activate(window)
        s.type(POST)
        assert s.post_text(window) == POST

        # The last item: Copy for Forum.
        forum_menu(s, window, "Up")
        wait_for(lambda: s.clipboard() == ADAPTED, what="the adapted post on the clipboard")
        assert s.post_text(window) == POST

        # The one before it: Adapt Post for Forum...
        forum_menu(s, window, "Up", "Up")
        adapt = s.wait_window("Adapt Post for phpBB 3.3")
        s.activate(adapt)
        s.key("alt+a")  # Apply Changes
        s.wait_no_window("Adapt Post for phpBB 3.3")
        assert s.post_text(window) == ADAPTED
        s.activate(window)
        s.key("ctrl+z")
        assert s.post_text(window) == POST

        proc.terminate()
        proc.wait(timeout=30)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
