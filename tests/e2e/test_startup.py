"""The real window starts, takes typing, stays single, and remembers the
editor font across a restart (including a restart after being killed)."""

import os
import signal
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quorvane_e2e import Session, wait_for  # noqa: E402


def open_editor_format(session, window):
    # Format is the third menu; its last item is "Editor Format...".
    session.activate(window)
    session.key("alt+f", "Right", "Right", "Up", "Return")
    return session.wait_window("Editor Format")


def main(app):
    with Session(app, window_manager=True) as s:
        first = s.start_app()
        window = s.wait_window("Quorvane")
        s.activate(window)
        s.type("Hello [B]world[/B]")
        assert s.post_text(window) == "Hello [B]world[/B]"

        # A second start ends at once with status 0 and no second window.
        second = s.start_app()
        assert second.wait(timeout=30) == 0
        assert len(s.windows("Quorvane")) == 1
        assert first.poll() is None

        # Choose Courier New 12 in the real Editor Format window.
        form = open_editor_format(s, window)
        s.activate(form)
        s.key("Home")
        s.type("Cou")
        s.key("Tab")
        s.key("Home")
        s.type("12")
        s.key("Return")
        s.wait_no_window("Editor Format")
        wait_for(lambda: os.path.exists(s.settings_file()) and
                 "CustomFontName=Courier New" in open(s.settings_file()).read(),
                 what="the font stored")
        assert "CustomFontSize=12" in open(s.settings_file()).read()

        # Killed outright, the program leaves its lock behind; the next start
        # must not be blocked by it.
        first.send_signal(signal.SIGKILL)
        first.wait(timeout=30)
        s.wait_no_window("Quorvane")
        third = s.start_app()
        window = s.wait_window("Quorvane")
        assert third.poll() is None

        # The lists of the new run hold the stored choice: OK keeps it.
        form = open_editor_format(s, window)
        s.activate(form)
        s.key("Return")
        s.wait_no_window("Editor Format")
        text = open(s.settings_file()).read()
        assert "CustomFontName=Courier New" in text and "CustomFontSize=12" in text, text

        third.terminate()
        third.wait(timeout=30)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
