"""Where Live Preview opens, in the real program under Xvfb with a window
manager: beside the main window on the side with room (narrower when it must
be; the main window slides over when only that makes room), never over the
editor; and, once moved, where it was last put."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402

SCREEN = (0, 0, 1024, 768)


def frame(s, window):
    """The window's frame as (x, y, width, height), or None while unknown."""
    shell = s.run(["xdotool", "getwindowgeometry", "--shell", window], check=False).stdout
    values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
    extents = s.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], check=False).stdout
    if "=" not in extents or "X" not in values:
        return None
    left, right, top, bottom = (int(v) for v in extents.split("=", 1)[1].split(","))
    return (int(values["X"]) - left, int(values["Y"]) - top,
            int(values["WIDTH"]) + left + right, int(values["HEIGHT"]) + top + bottom)


# After a window is moved from outside, Qt's idea of where it stands can be
# off by the frame's edges (a pixel at the sides, the title bar at the top).
SLACK = 2


def beside(main, preview):
    """Side by side without overlapping, both on the screen."""
    if main is None or preview is None:
        return False
    mx, _, mw, _ = main
    px, py, pw, ph = preview
    apart = px >= mx + mw or px + pw <= mx
    on_screen = (px >= SCREEN[0] - SLACK and px + pw <= SCREEN[2] + SLACK and
                 py + ph <= SCREEN[3] + SLACK)
    return apart and on_screen


# Where the main window (at its usual 640 x 480) stands before F6, and the
# side the preview must open on: narrowed to the room there is.
CASES = [
    ("room on the right", (0, 10), "right"),
    ("room on the left", (382, 10), "left"),
    ("room only when the main window slides over", (191, 153), None),
]


def main(app):
    for name, at, side in CASES:
        with Session(app, window_manager=True) as s:
            s.start_app()
            window = s.wait_window("Quorvane")
            s.run(["wmctrl", "-i", "-r", window, "-e", "0,%d,%d,-1,-1" % at])
            wait_for(lambda: frame(s, window) and frame(s, window)[0] == at[0],
                     what="the main window moved")
            s.activate(window)
            s.key("F6")
            preview = s.wait_window("Quorvane - Live Preview")
            wait_for(lambda: beside(frame(s, window), frame(s, preview)),
                     what="%s: the preview beside the main window" % name)
            main_frame, preview_frame = frame(s, window), frame(s, preview)
            if side == "right":
                assert preview_frame[0] >= main_frame[0] + main_frame[2], (name, main_frame,
                                                                          preview_frame)
            elif side == "left":
                assert preview_frame[0] + preview_frame[2] <= main_frame[0], (name, main_frame,
                                                                             preview_frame)
            # Its top is the main window's (give or take a title bar, above).
            assert abs(preview_frame[1] - main_frame[1]) <= 25, (name, main_frame, preview_frame)

            if side is None:
                # Moved by the writer, it opens there again.
                s.run(["xdotool", "windowmove", "--sync", preview, "40", "30"])
                moved = wait_for(lambda: (lambda f: f if f and f[:2] != preview_frame[:2]
                                          else None)(frame(s, preview)), what="the preview moved")
                s.activate(window)
                s.key("F6")
                s.wait_no_window("Quorvane - Live Preview")
                s.activate(window)
                s.key("F6")
                preview = s.wait_window("Quorvane - Live Preview")
                wait_for(lambda: frame(s, preview) == moved, what="the preview where it was put")
        print("ok:", name)
    print("%d passed, 0 failed" % len(CASES))


if __name__ == "__main__":
    main(sys.argv[1])
