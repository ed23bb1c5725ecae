"""Resizable Window in the real window system: turned on from the View menu,
the window maximised by the window manager, and the editor across the whole
width. QUORVANE_SCREENSHOT names where the picture goes (docs/ keeps one)."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402


def geometry(s, window):
    out = s.run(["xdotool", "getwindowgeometry", "--shell", window]).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return {k: int(v) for k, v in values.items() if k in ("X", "Y", "WIDTH", "HEIGHT")}


def longest_white_run(row):
    best = run = 0
    for x in range(0, len(row), 3):
        if row[x] >= 250 and row[x + 1] >= 250 and row[x + 2] >= 250:
            run += 1
            best = max(best, run)
        else:
            run = 0
    return best


def settings_say(s, text):
    try:
        with open(s.settings_file(), encoding="utf-8") as f:
            return text in f.read()
    except FileNotFoundError:
        return False


def main(app):
    with Session(app, window_manager=True, framebuffer=True) as s:
        proc = s.start_app()
        window = s.wait_window("Quorvane")
        s.activate(window)
        s.type("A long post deserves a window that grows with it.")
        s.key("Return")
        s.type("[B]Resizable Window[/B] gives the editor the whole screen.")
        assert geometry(s, window)["WIDTH"] == 640
        screen_width = int(s.run(["xdotool", "getdisplaygeometry"]).stdout.split()[0])

        # Full Screen, even from the fixed window: F11 in, Esc out.
        s.key("F11")
        wait_for(lambda: geometry(s, window)["WIDTH"] == screen_width, what="full screen")
        s.key("Escape")
        wait_for(lambda: geometry(s, window)["WIDTH"] == 640, what="the fixed window again")

        # View > Resizable Window: the menu opens on its first item; Up wraps
        # to the last (Full Screen), then Preview Beside Editor, then ours.
        s.key("alt+v")
        s.key("Up", "Up", "Up", "Return")
        wait_for(lambda: settings_say(s, "ResizableWindow=true"), what="Resizable Window on")

        s.run(["wmctrl", "-i", "-r", window, "-b", "add,maximized_vert,maximized_horz"])
        wait_for(lambda: geometry(s, window)["WIDTH"] >= screen_width - 10,
                 what="the maximised window")
        g = geometry(s, window)

        # Near the bottom of the window, below the text: the editor's white
        # runs from its left edge to the scroll bar.
        def editor_fills_width():
            _, _, rows = s.screen_pixels()
            y = g["Y"] + g["HEIGHT"] - 60
            return longest_white_run(rows[y]) >= g["WIDTH"] - 40
        wait_for(editor_fills_width, what="the editor across the width")

        target = os.environ.get("QUORVANE_SCREENSHOT")
        if target:
            s.run(["xdotool", "mousemove", "--window", window, str(g["WIDTH"] // 2), "2"])
            s.save_png(target)

        # Preview Beside Editor: Live Preview inside the main window, no
        # window of its own; F6 hides and shows it there.
        s.activate(window)
        s.key("alt+v")
        s.key("Up", "Up", "Return")
        wait_for(lambda: settings_say(s, "PreviewBesideEditor=true"), what="Preview Beside on")
        wait_for(lambda: settings_say(s, "Open=true"), what="Live Preview shown")

        def editor_run():
            _, _, rows = s.screen_pixels()
            return longest_white_run(rows[g["Y"] + g["HEIGHT"] - 60])
        wait_for(lambda: editor_run() < g["WIDTH"] * 0.8, what="the preview beside the editor")
        assert not s.windows("Quorvane - Live Preview")
        s.key("F6")
        wait_for(lambda: editor_run() >= g["WIDTH"] - 40, what="F6 hiding the preview")
        s.key("F6")
        wait_for(lambda: editor_run() < g["WIDTH"] * 0.8, what="F6 showing it again")

        assert proc.poll() is None
        proc.terminate()
        proc.wait(timeout=30)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
