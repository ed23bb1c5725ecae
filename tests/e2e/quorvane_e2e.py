"""Drives the real Quorvane window under a private Xvfb display.

Each Session owns its display, an optional window manager, and a private
HOME with its own XDG folders, so tests never touch a real user's files or
settings and can run side by side. Everything waits for conditions with
generous time-outs; nothing sleeps for a fixed time.
"""

import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

DEFAULT_TIMEOUT = 30.0


class TimeoutError_(AssertionError):
    pass


def wait_for(condition, timeout=DEFAULT_TIMEOUT, what="condition", interval=0.05):
    """Calls condition() until it returns something truthy; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError_("timed out waiting for " + what)
        time.sleep(interval)


class Session:
    def __init__(self, app, window_manager=False, home=None, framebuffer=False):
        self.app = os.path.abspath(app)
        self.window_manager = window_manager
        # Xvfb keeps its screen in a file here (XWD), read for screenshots.
        self.framebuffer = framebuffer
        self._own_home = home is None
        self.home = home or tempfile.mkdtemp(prefix="quorvane-e2e-")
        self.xvfb = None
        self.wm = None
        self.procs = []
        self.display = None

    # -- lifetime ---------------------------------------------------------
    def __enter__(self):
        self.start_display()
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start_display(self):
        # Xvfb picks a free display itself and writes its number once ready,
        # so sessions running side by side never share one.
        # -noreset: a server that resets when its last client leaves refuses
        # the next one for a moment (openbox would fail to start).
        read_end, write_end = os.pipe()
        extra = []
        if self.framebuffer:
            os.makedirs(os.path.join(self.home, "fb"), exist_ok=True)
            extra = ["-fbdir", os.path.join(self.home, "fb")]
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-noreset", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", *extra],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 30
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline or self.xvfb.poll() is not None:
                raise RuntimeError("Xvfb did not start")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        wait_for(lambda: self.run(["xdotool", "getdisplaygeometry"], check=False).returncode == 0,
                 timeout=15, what="the display to answer")
        if self.window_manager:
            self.wm = subprocess.Popen(["openbox"], env=self.env(),
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            wait_for(lambda: self.run(["wmctrl", "-m"], check=False).returncode == 0,
                     timeout=15, what="the window manager")

    def close(self):
        for proc in self.procs:
            if proc.poll() is None:
                proc.kill()
                proc.wait(timeout=10)
        for proc in (self.wm, self.xvfb):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    proc.kill()
        if self._own_home:
            shutil.rmtree(self.home, ignore_errors=True)

    def env(self, extra=None):
        env = dict(os.environ)
        runtime = os.path.join(self.home, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env.update({
            "DISPLAY": self.display,
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.home, ".config"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
            "XDG_RUNTIME_DIR": runtime,
            "QT_QPA_PLATFORM": "xcb",
            "LC_ALL": env.get("LC_ALL", "C.UTF-8"),
        })
        env.pop("QT_ACCESSIBILITY", None)
        if extra:
            env.update(extra)
        return env

    def run(self, args, check=True, **kwargs):
        return subprocess.run(args, env=self.env(), check=check, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, text=True, **kwargs)

    # -- the program ------------------------------------------------------
    def start_app(self, args=(), extra_env=None):
        proc = subprocess.Popen([self.app, *args], env=self.env(extra_env),
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.procs.append(proc)
        return proc

    def windows(self, name):
        result = self.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % name],
                          check=False)
        return [w for w in result.stdout.split() if w]

    def wait_window(self, name, timeout=DEFAULT_TIMEOUT):
        """Waits until a mapped window with exactly this title exists; returns its id."""
        return wait_for(lambda: (self.windows(name) or [None])[0], timeout=timeout,
                        what="window %r" % name)

    def wait_no_window(self, name, timeout=DEFAULT_TIMEOUT):
        wait_for(lambda: not self.windows(name), timeout=timeout, what="no window %r" % name)

    def activate(self, window):
        self.run(["xdotool", "windowactivate", "--sync", window], check=False)
        self.run(["xdotool", "windowfocus", "--sync", window], check=False)

    def key(self, *keys, window=None):
        args = ["xdotool", "key", "--delay", "30"]
        if window:
            args += ["--window", window]
        self.run(args + list(keys))

    def type(self, text):
        self.run(["xdotool", "type", "--delay", "15", text])

    def click(self, x, y, window=None):
        if window:
            self.run(["xdotool", "mousemove", "--window", window, str(x), str(y), "click", "1"])
        else:
            self.run(["xdotool", "mousemove", str(x), str(y), "click", "1"])

    def clipboard(self):
        result = self.run(["xclip", "-o", "-selection", "clipboard"], check=False, timeout=10)
        return result.stdout if result.returncode == 0 else None

    def set_clipboard(self, text):
        # xclip stays running to serve the selection; it is killed on close().
        proc = subprocess.Popen(["xclip", "-i", "-selection", "clipboard", "-loops", "0"],
                                env=self.env(), stdin=subprocess.PIPE, text=True,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        proc.stdin.write(text)
        proc.stdin.close()
        self.procs.append(proc)

    def post_text(self, window, timeout=DEFAULT_TIMEOUT):
        """The whole post (with LF line breaks), read through Select All and Copy."""
        sentinel = "\u2063quorvane-e2e-sentinel\u2063"
        self.set_clipboard(sentinel)
        wait_for(lambda: self.clipboard() == sentinel, what="the sentinel on the clipboard")

        def copied():
            # Keys sent while the window manager is still handing over the
            # focus can go astray: select and copy again until the post comes.
            self.activate(window)
            self.key("ctrl+a", "ctrl+c")
            try:
                return wait_for(lambda: (lambda c: c if c is not None and c != sentinel else None)(
                    self.clipboard()), timeout=3, what="the post on the clipboard")
            except TimeoutError_:
                return None
        return wait_for(copied, timeout=timeout, what="the post on the clipboard")

    def screenshot(self, path):
        """Best effort: needs ImageMagick's import, which the tests do not require."""
        try:
            self.run(["import", "-display", self.display, "-window", "root", path], check=False)
        except FileNotFoundError:
            pass

    def screen_pixels(self):
        """The screen as (width, height, rows of RGB bytes), read from the
        framebuffer file of a Session made with framebuffer=True."""
        with open(os.path.join(self.home, "fb", "Xvfb_screen0"), "rb") as f:
            data = f.read()
        fields = struct.unpack(">25I", data[:100])
        header_size, width, height = fields[0], fields[4], fields[5]
        byte_order, bits_per_pixel, bytes_per_line, ncolors = (
            fields[7], fields[11], fields[12], fields[19])
        if bits_per_pixel != 32:
            raise RuntimeError("a %d-bit framebuffer is not read here" % bits_per_pixel)
        start = header_size + 12 * ncolors
        rows = []
        for y in range(height):
            line = data[start + y * bytes_per_line:start + y * bytes_per_line + 4 * width]
            row = bytearray(3 * width)
            if byte_order == 0:  # LSBFirst: B, G, R, unused
                row[0::3], row[1::3], row[2::3] = line[2::4], line[1::4], line[0::4]
            else:
                row[0::3], row[1::3], row[2::3] = line[1::4], line[2::4], line[3::4]
            rows.append(bytes(row))
        return width, height, rows

    def save_png(self, path):
        """Writes the screen to path as a PNG (framebuffer=True sessions)."""
        width, height, rows = self.screen_pixels()

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff))
        raw = b"".join(b"\0" + row for row in rows)
        png = (b"\x89PNG\r\n\x1a\n" +
               chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
               chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
        with open(path, "wb") as f:
            f.write(png)

    def settings_file(self):
        return os.path.join(self.home, ".config", "Quorvane", "Quorvane.ini")
