"""A lock file that no live copy holds never stops the start: an empty one (a
crash between creating and writing it) is taken over, and a lock that cannot
be taken at all (a folder in its place) lets the program start anyway and say
why on standard error."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quorvane_e2e import Session  # noqa: E402


def start_and_stop(s):
    """Starts the program, waits for its window, ends it; returns its stderr."""
    proc = s.start_app()
    s.wait_window("Quorvane")
    assert proc.poll() is None
    proc.terminate()
    _, err = proc.communicate(timeout=30)
    s.wait_no_window("Quorvane")
    return err


def main(app):
    with Session(app) as s:
        lock = os.path.join(s.env()["XDG_RUNTIME_DIR"], "quorvane.lock")

        open(lock, "wb").close()
        err = start_and_stop(s)
        assert "lock" not in err, err

        os.remove(lock) if os.path.isfile(lock) else None
        os.mkdir(lock)
        err = start_and_stop(s)
        assert lock in err and "starting anyway" in err, err
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
