"""The real program keeps every word: killed with SIGKILL after typing, the
next start offers the post above the editor, and Alt+R brings it back
exactly; "No" at Exit leaves it in Recover Drafts...; SIGTERM writes the draft
before the program ends. Typing at once after the offer goes into the editor,
and Restore over it asks and keeps it; an imported post is asked about and
journalled."""

import glob
import os
import signal
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402


def drafts_folder(s):
    return os.path.join(s.home, ".local", "share", "Quorvane", "Quorvane", "drafts")


def live_draft_texts(s, kind="qvdraft"):
    """The text of every live draft file (or history file), read past its header."""
    texts = []
    for path in glob.glob(os.path.join(drafts_folder(s), "*." + kind)):
        with open(path, "rb") as f:
            data = f.read()
        head, _, body = data.partition(b"\n\n")
        texts.append(body.decode("utf-8", "replace"))
    return texts


def start(s):
    proc = s.start_app()
    window = s.wait_window("Quorvane")
    s.activate(window)
    return proc, window


def restore_from_offer(s, window):
    # The keyboard stays in the editor; the offer's Restore is Alt+R.
    s.activate(window)
    s.key("alt+r")


def second_window(s, window, what):
    """A question is titled like the main window: the other one of that name."""
    return wait_for(lambda: next((w for w in s.windows("Quorvane") if w != window), None),
                    what=what)


def main(app):
    post = "A long post\n[b]typed[/b] for an hour"
    post_crlf = post.replace("\n", "\r\n")
    with Session(app, window_manager=True) as s:
        # 1. Typed, then killed outright: the draft reached the disk by itself.
        proc, window = start(s)
        s.type("A long post")
        s.key("Return")
        s.type("[b]typed[/b] for an hour")
        wait_for(lambda: post_crlf in live_draft_texts(s), timeout=15,
                 what="the post in a draft file")
        proc.kill()
        proc.wait(timeout=10)

        proc, window = start(s)
        if os.environ.get("QUORVANE_SCREENSHOT"):
            s.screenshot(os.environ["QUORVANE_SCREENSHOT"])
        restore_from_offer(s, window)
        wait_for(lambda: s.post_text(window) == post, what="the restored post")

        # 2. "No" at Exit ends cleanly; the post waits in Recover Drafts...
        s.activate(window)
        s.key("ctrl+q")
        s.activate(second_window(s, window, "the save prompt"))
        s.key("n")
        assert proc.wait(timeout=30) == 0
        assert live_draft_texts(s) == [], "a clean end leaves no live draft"

        proc, window = start(s)
        s.key("alt+f")
        # Exit is last; Open Recent stands above it, and Recover Drafts... above that
        s.key("Up", "Up", "Up", "Return")
        recover = s.wait_window("Recover Drafts")
        s.activate(recover)
        s.key("Return")  # the newest entry is selected
        s.wait_no_window("Recover Drafts")
        wait_for(lambda: s.post_text(window) == post, what="the post from history")

        # 3. SIGTERM (logout, shutdown): the draft holds the post as it stood.
        s.activate(window)
        s.key("ctrl+End")
        s.type(" and one more line")
        proc.send_signal(signal.SIGTERM)
        assert proc.wait(timeout=30) == 0, "SIGTERM should end the program normally"

        proc, window = start(s)
        restore_from_offer(s, window)
        wait_for(lambda: s.post_text(window) == post + " and one more line",
                 what="the post as it stood at SIGTERM")
        proc.kill()
        proc.wait(timeout=10)

        # 4. Typing at once after the offer goes into the editor, exactly;
        # Alt+R then asks, restores, and keeps what was typed as history.
        proc, window = start(s)
        s.type("Hi there")
        wait_for(lambda: s.post_text(window) == "Hi there", what="the typing in the editor")
        restore_from_offer(s, window)
        question = second_window(s, window, "the question before restoring over typing")
        s.activate(question)
        s.key("Return")  # Yes
        wait_for(lambda: s.post_text(window) == post + " and one more line",
                 what="the post restored over the typing")
        wait_for(lambda: "Hi there" in live_draft_texts(s, "qvhistory"),
                 what="the typing kept as history")

        # 5. An imported post is a new, unsaved post: journalled, and asked
        # about before New clears it.
        s.activate(window)
        s.key("ctrl+n")
        s.activate(second_window(s, window, "the save prompt at New"))
        s.key("n")
        wait_for(lambda: s.windows("Quorvane") == [window], what="the prompt to go")
        page = os.path.join(s.home, "page.html")
        with open(page, "w", encoding="utf-8") as f:
            f.write("<html><body><p><b>Imported</b> from a page</p></body></html>")
        s.activate(window)
        s.key("alt+f")
        s.key("Up", "Up", "Up", "Up", "Return")  # Import as BBCode... stands above Recover Drafts...
        dialog = s.wait_window("Open")
        s.activate(dialog)
        s.type(page)
        s.key("Return")
        s.wait_no_window("Open")
        imported = "[B]Imported[/B] from a page"
        wait_for(lambda: s.post_text(window) == imported, what="the imported post")
        wait_for(lambda: imported in live_draft_texts(s), what="the imported post's draft")
        s.activate(window)
        s.key("ctrl+n")
        s.activate(second_window(s, window, "the save prompt for the imported post"))
        s.key("Escape")
        wait_for(lambda: s.windows("Quorvane") == [window], what="the prompt to go")
        assert s.post_text(window) == imported, "Cancel keeps the imported post"
        proc.kill()
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
