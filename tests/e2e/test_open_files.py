"""Files from outside the window: the program started with a file, a later
start handing its file over to the running copy (which asks about its
modified post first, and keeps a file handed over meanwhile until that is
answered), a later start with a file that cannot be read, a later start without a file bringing the window to the front,
and a running copy that does not answer."""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from quorvane_e2e import Session, wait_for  # noqa: E402


def later_start(s, args, cwd, extra_env=None):
    """A second copy run to its end; returns (status, stderr, seconds taken)."""
    started = time.monotonic()
    proc = subprocess.run([s.app, *args], env=s.env(extra_env), cwd=cwd, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True, timeout=60)
    return proc.returncode, proc.stderr, time.monotonic() - started


def watch_root(s):
    """Starts recording the root window's events; returns a reader of them."""
    path = os.path.join(s.home, "root-events.txt")
    log = open(path, "w")
    s.procs.append(subprocess.Popen(["xev", "-root", "-event", "property"], env=s.env(),
                                    stdout=log, stderr=subprocess.DEVNULL))
    log.close()

    def events():
        with open(path) as f:
            return f.read()

    # Listening once a property change of our own shows up.
    def ready():
        s.run(["xprop", "-root", "-f", "QUORVANE_E2E", "8s", "-set", "QUORVANE_E2E", "x"])
        return "QUORVANE_E2E" in events()
    wait_for(ready, what="xev listening", interval=0.2)
    return events


def active_window(s):
    result = s.run(["xdotool", "getactivewindow"], check=False)
    return result.stdout.strip() if result.returncode == 0 else None


def main(app):
    with Session(app, window_manager=True) as s:
        folder = os.path.join(s.home, "posts")
        os.makedirs(folder)
        for name, text in (("first.txt", "Alpha [B]one[/B]\n"), ("second.txt", "Beta two\n")):
            with open(os.path.join(folder, name), "w") as f:
                f.write(text)

        # Started with a file named relative to its working folder.
        first = subprocess.Popen([s.app, "first.txt"], env=s.env(), cwd=folder,
                                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        s.procs.append(first)
        window = s.wait_window("Quorvane")
        wait_for(lambda: s.post_text(window) == "Alpha [B]one[/B]", timeout=60,
                 what="the file in the editor")

        # A later start hands its file over, named relative to ITS folder, and
        # ends at once although the running copy is still asking about its
        # modified post. It never opens the display (it has none here).
        s.activate(window)
        s.key("ctrl+End")
        s.type(" more")
        status, err, _ = later_start(s, ["second.txt"], cwd=folder, extra_env={"DISPLAY": ""})
        assert status == 0, err
        wait_for(lambda: len(s.windows("Quorvane")) == 2, what="the save question")
        # A file handed over while the question is open waits for the answer,
        # then replaces the (now clean) post: the newest request wins.
        status, err, _ = later_start(s, ["first.txt"], cwd=folder)
        assert status == 0, err
        s.key("n")
        wait_for(lambda: len(s.windows("Quorvane")) == 1, what="the question answered")
        wait_for(lambda: s.post_text(window) == "Alpha [B]one[/B]",
                 what="the handed files opened")
        assert first.poll() is None

        # A file that cannot be read is not handed over: the later start says
        # why on standard error and ends with 1, and the window shows nothing.
        os.symlink(os.path.join(folder, "gone.txt"), os.path.join(folder, "dangling.txt"))
        os.makedirs(os.path.join(folder, "a folder"))
        os.mkfifo(os.path.join(folder, "pipe.txt"))
        for name, why in (("absent.txt", "there is no such file"),
                          ("a folder", "it is a folder"),
                          ("dangling.txt", "it links to nothing"),
                          ("pipe.txt", "it is not a regular file")):
            status, err, _ = later_start(s, [name], cwd=folder)
            assert status == 1, (name, status, err)
            assert err == "quorvane: cannot open %s: %s.\n" % (name, why), err
        # Requests are taken in order: a good one after them opens at once,
        # with no message in front of it.
        status, err, _ = later_start(s, ["second.txt"], cwd=folder)
        assert status == 0, err
        wait_for(lambda: s.post_text(window) == "Beta two", what="the good file opened")
        assert len(s.windows("Quorvane")) == 1

        # Without a file, a later start brings the minimised window back to
        # the front, and the running copy ends the launcher's "starting"
        # feedback for it (a message to the root window).
        s.run(["xdotool", "windowminimize", "--sync", window])
        wait_for(lambda: not s.windows("Quorvane"), what="the window minimised")
        root_events = watch_root(s)
        status, err, _ = later_start(s, [], cwd=folder,
                                     extra_env={"DESKTOP_STARTUP_ID": "launcher-7_TIME42"})
        assert status == 0, err
        s.wait_window("Quorvane")
        wait_for(lambda: active_window(s) == window, what="the window active again")
        wait_for(lambda: "_NET_STARTUP_INFO_BEGIN" in root_events(), what="the startup message")

        # A running copy that does not answer is not waited on for ever.
        try:
            first.send_signal(signal.SIGSTOP)
            status, err, seconds = later_start(s, ["first.txt"], cwd=folder)
        finally:
            first.send_signal(signal.SIGCONT)
        assert status == 1, (status, err)
        assert "did not answer" in err, err
        assert seconds < 3, seconds

        first.terminate()
        first.wait(timeout=30)
    print("1 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
