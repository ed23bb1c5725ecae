"""A whole session driven through the accessibility interface, as a screen
reader drives it: every control is found over AT-SPI by its accessible name
and role, and pressed or filled in through the same interface.

Run with Debian's python3 (it has pyatspi): test_atspi_session.py QUORVANE
QUORVANE_CONVERT. The script starts a private display, then runs itself again
inside a private D-Bus session with the accessibility bus, where the program
and the checks run.
"""

import os
import signal
import subprocess
import sys
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from quorvane_e2e import Session, wait_for  # noqa: E402

INNER = "--inner"
TIMEOUT = 30.0

# Everything a screen reader must reach by name, by role.
MENUS = {
    "File": ["New...", "Open...", "Save File...", "Preview in Browser [ BETA ]", "Exit"],
    "Edit": ["Cut", "Copy", "Paste", "Delete", "Find...", "Replace...", "Add Current Time",
             "Add Current Date", "Select All"],
    "Format": ["Editor Text Alignment", "Editor Format..."],
    "Forum": ["Generic (Preview page)", "phpBB 3.3", "SMF 2.1", "MyBB 1.8",
              "Insert Table...", "Quote Selection...", "Custom Tags...",
              "Adapt Post for Forum...", "Copy for Forum"],
    "View": ["Live Preview", "Check Spelling"],
    "Tools": ["Windows\u00ae Character Map", "Clear Windows Clipboard"],
    "Help and Support": ["License Agreement", "Contact Kelvaro Software", "I Like Quorvane...",
                         "Quorvane on the web", "About Quorvane..."],
}
SUBMENU = "Editor Text Alignment"
ALIGNMENT_ITEMS = ["Center", "Left Justify", "Right Justify"]
TOOLBAR_BUTTONS = [
    "New...", "Open...", "Save File...", "Preview in Browser [ BETA ]", "Find...", "Replace...",
    "Bold", "Italic", "Underline", "Insert Smiley", "Left", "Center", "Right", "Ordered List",
    "Unordered List", "Decrease Indent", "Increase Indent", "Highlight", "Insert Link",
    "Insert Email Link", "Insert Image", "Warp [QUOTE] tags around selected text",
    "Warp [CODE] tags around selected text", "Warp [HTML] tags around selected text",
    "Warp [PHP] tags around selected text", "Add Current Date", "Add Current Time",
    "Remove Text Formatting",
]
STRIP_BUTTONS = ["Minimize To Taskbar", "Exit Quorvane", "More free utilities..."]
CHOOSERS = ["Fonts", "Sizes", "Colors"]
SMILIES = ["Big Grin", "Frown", "Wink", "Cool", "EEK!", "Embarrassment", "Mad",
           "Stick Out Tongue", "Smile", "Roll Eyes (Sarcastic)"]
# Panel name -> (push buttons, text boxes)
PANELS = {
    "Find": (["Find", "Cancel"], ["Find What"]),
    "Replace": (["Replace", "Cancel"], ["Find What", "Replace With"]),
    "Standrad Smilies": (SMILIES + ["Hide"], []),
}

# A QFrame is a "frame" to AT-SPI; a plain widget would be a "panel".
PANEL_ROLES = ("frame", "panel", "filler")


# -- the outer run: display and private home ---------------------------------
def run_on_private_bus(script, app, extra=(), timeout=200):
    """Runs `script INNER app extra...` under a display with a window manager,
    a private home and its own D-Bus session; prints what it printed and
    gives 0 when it passed."""
    app = os.path.abspath(app)
    # A window manager, so that the window is active and keeps the focus.
    with Session(app, window_manager=True) as session:
        env = session.env({"QUORVANE_ATSPI_HOME": session.home})
        # No desktop is named, so the program's URL handler is plain xdg-open.
        for name in ("XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "DBUS_SESSION_BUS_ADDRESS",
                     "AT_SPI_BUS_ADDRESS"):
            env.pop(name, None)
        # The D-Bus daemons keep any inherited output open; give them a file.
        log_path = os.path.join(session.home, "inner.log")
        with open(log_path, "w") as log:
            inner_run = subprocess.Popen(
                ["dbus-run-session", "--", sys.executable, os.path.abspath(script), INNER, app,
                 *extra], env=env, stdout=log, stderr=subprocess.STDOUT,
                start_new_session=True)
            try:
                status = inner_run.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                os.killpg(inner_run.pid, signal.SIGKILL)
                inner_run.wait()
                status = "timed out"
        with open(log_path, errors="replace") as log:
            sys.stdout.write(log.read())
        if status != 0:
            print("the session ended with %s" % status)
        return 0 if status == 0 else 1


def outer(app, convert):
    return run_on_private_bus(__file__, app, [os.path.abspath(convert)])


# -- the inner run: accessibility bus, program and checks ---------------------
class Bus:
    """The accessibility bus, started for this session only."""

    def __init__(self):
        self.launcher = subprocess.Popen(
            ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        import gi
        gi.require_version("Gio", "2.0")
        from gi.repository import Gio, GLib
        self.Gio, self.GLib = Gio, GLib
        session = Gio.bus_get_sync(Gio.BusType.SESSION, None)

        def address():
            try:
                reply = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus",
                                          "GetAddress", None, GLib.VariantType("(s)"),
                                          Gio.DBusCallFlags.NO_AUTO_START, 2000, None)
                return reply.unpack()[0]
            except GLib.Error:
                return None
        self.address = wait_for(address, timeout=TIMEOUT, what="the accessibility bus")
        flags = (Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT |
                 Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)
        self.connection = Gio.DBusConnection.new_for_address_sync(self.address, flags, None, None)

    def press_without_waiting(self, acc, action="Press"):
        """Presses a control whose handler opens a modal dialog: the program
        answers only once the dialog closes, so no answer is waited for."""
        Gio, GLib = self.Gio, self.GLib
        message = Gio.DBusMessage.new_method_call(acc.app.bus_name, acc.path,
                                                  "org.a11y.atspi.Action", "DoAction")
        message.set_body(GLib.Variant("(i)", (action_index(acc, action),)))
        message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED)
        self.connection.send_message(message, Gio.DBusSendMessageFlags.NONE)
        self.connection.flush_sync(None)

    def close(self):
        self.connection.close_sync(None)
        try:
            os.killpg(self.launcher.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self.launcher.wait(timeout=10)


def poll(condition, timeout=TIMEOUT, what="condition"):
    """wait_for, where an object that vanishes while it is read (a dialog just
    closed) counts as not there yet."""
    from gi.repository import GLib

    def quietly():
        try:
            return condition()
        except GLib.Error:
            return None
    return wait_for(quietly, timeout=timeout, what=what)


def action_index(acc, name):
    actions = acc.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if name not in names:
        raise AssertionError("%s %r has no %r action (only %r)"
                             % (acc.getRoleName(), acc.name, name, names))
    return names.index(name)


def press(acc, action="Press"):
    acc.queryAction().doAction(action_index(acc, action))


def walk(acc):
    yield acc
    for child in acc:
        if child is not None:
            yield from walk(child)


def find(root, role, name, timeout=TIMEOUT):
    def look():
        for acc in walk(root):
            if acc.name == name and acc.getRoleName() == role:
                return acc
        return None
    return poll(look, timeout=timeout, what="%s %r" % (role, name))


def showing(acc):
    import pyatspi
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


class Checks:
    def __init__(self):
        self.failures = []
        self.passed = 0

    def equal(self, what, actual, expected):
        if actual == expected:
            self.passed += 1
        else:
            self.failures.append("%s:\n  expected %r\n  actual   %r" % (what, expected, actual))

    def true(self, what, condition):
        self.equal(what, bool(condition), True)


class Program:
    def __init__(self, app, bus, checks):
        import pyatspi
        self.pyatspi = pyatspi
        self.bus = bus
        self.check = checks
        home = os.environ["QUORVANE_ATSPI_HOME"]
        self.record = os.path.join(home, "xdg-open.log")
        fake_bin = os.path.join(home, "fakebin")
        os.makedirs(fake_bin, exist_ok=True)
        # The browser stand-in: it only notes what it was asked to open.
        with open(os.path.join(fake_bin, "xdg-open"), "w") as script:
            script.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' % self.record)
        os.chmod(os.path.join(fake_bin, "xdg-open"), 0o755)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   PATH=fake_bin + os.pathsep + os.environ["PATH"])
        self.proc = subprocess.Popen([app], env=env, cwd=home, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.root = poll(self.application, timeout=TIMEOUT, what="Quorvane on the bus")
        self.frame = poll(lambda: next((c for c in self.root if c is not None and
                                        c.getRoleName() == "frame" and showing(c)), None),
                          timeout=TIMEOUT, what="the main window")
        self.post = find(self.frame, "text", "Post")

    def application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.name == "Quorvane" and \
                        app.get_process_id() == self.proc.pid and app.childCount > 0:
                    return app
            except Exception:
                pass
        return None

    # -- dialogs --------------------------------------------------------------
    def dialogs(self, title):
        return [c for c in self.root if c is not None and c.getRoleName() == "dialog" and
                c.name == title and showing(c)]

    def wait_dialog(self, title, other_than=None):
        def look():
            for dialog in self.dialogs(title):
                if other_than is None or dialog.path != other_than.path:
                    return dialog
            return None
        return poll(look, timeout=TIMEOUT, what="the %r dialog" % title)

    def wait_no_dialog(self, title):
        poll(lambda: not self.dialogs(title), timeout=TIMEOUT, what="no %r dialog" % title)

    def answer_prompt(self, dialog, text):
        """Fills the prompt's text field and presses OK."""
        field = next(a for a in walk(dialog) if a.getRoleName() == "text")
        field.queryEditableText().setTextContents(text)
        poll(lambda: field.queryText().getText(0, -1) == text, timeout=TIMEOUT,
             what="the prompt to hold %r" % text)
        self.bus.press_without_waiting(find(dialog, "push button", "OK"))

    # -- the post ---------------------------------------------------------------
    def text(self):
        return self.post.queryText().getText(0, -1)

    def wait_text(self, expected, what):
        try:
            poll(lambda: self.text() == expected, timeout=TIMEOUT, what=what)
        except AssertionError:
            pass
        self.check.equal(what, self.text(), expected)

    def type_at_caret(self, text):
        accessible_text = self.post.queryText()
        self.post.queryEditableText().insertText(accessible_text.caretOffset, text, len(text))

    def select(self, word):
        start = self.text().index(word)
        self.post.queryText().setSelection(0, start, start + len(word))
        poll(lambda: self.post.queryText().getSelection(0) == (start, start + len(word)),
             timeout=TIMEOUT, what="%r selected" % word)

    def caret_to_end(self):
        text = self.post.queryText()
        text.setCaretOffset(text.characterCount)
        poll(lambda: text.caretOffset == text.characterCount, timeout=TIMEOUT,
             what="the caret at the end")

    def panel(self, name):
        return poll(lambda: next((a for a in walk(self.frame) if a.name == name and
                                  a.getRoleName() in PANEL_ROLES), None),
                    timeout=TIMEOUT, what="the %r panel" % name)

    def button(self, name):
        return find(self.frame, "push button", name)

    def menu_item(self, menu, item):
        return find(find(self.frame, "menu item", menu), "menu item", item)

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
        self.proc.wait(timeout=30)


def program_data_dir(app):
    bin_dir = os.path.dirname(os.path.realpath(app))
    installed = os.path.normpath(os.path.join(bin_dir, "..", "share", "quorvane"))
    return installed if os.path.isdir(os.path.join(installed, "Smilies")) else bin_dir


def check_names(program, check):
    """Every control a user works with is reachable by its name and role."""
    import pyatspi
    frame = program.frame
    everything = [(a.getRoleName(), a.name, a) for a in walk(frame)]

    def reachable(role, name, within=None):
        pool = everything if within is None else [(a.getRoleName(), a.name, a)
                                                  for a in walk(within)]
        return [a for r, n, a in pool if r == role and n == name]

    missing = []

    def expect(role, name, within=None, action=None):
        found = reachable(role, name, within)
        if not found:
            missing.append("%s %r" % (role, name))
            return None
        # A disabled control offers no actions until it is enabled.
        if action and found[0].getState().contains(pyatspi.STATE_ENABLED):
            actions = found[0].queryAction()
            names = [actions.getName(i) for i in range(actions.nActions)]
            if action not in names:
                missing.append("%s %r without %r" % (role, name, action))
        return found[0]

    bar = next((a for r, n, a in everything if r == "menu bar"), None)
    check.true("the window has a menu bar", bar is not None)
    for menu, items in MENUS.items():
        top = expect("menu item", menu, within=bar, action="ShowMenu")
        for item in items:
            if top is not None:
                expect("menu item", item, within=top,
                       action="ShowMenu" if item == SUBMENU else "Press")
    alignment = expect("menu item", SUBMENU, action="ShowMenu")
    for item in ALIGNMENT_ITEMS:
        if alignment is not None:
            expect("menu item", item, within=alignment, action="Press")
    for name in TOOLBAR_BUTTONS + STRIP_BUTTONS:
        expect("push button", name, action="Press")
    expect("check box", "Lock Controls", action="Toggle")
    for name in CHOOSERS:
        expect("combo box", name)
    expect("text", "Character count")
    expect("text", "Post")
    for panel, (buttons, boxes) in PANELS.items():
        frame_acc = next((a for r, n, a in everything if n == panel and r in PANEL_ROLES),
                         None)
        if frame_acc is None:
            missing.append("panel %r" % panel)
            continue
        for name in buttons:
            expect("push button", name, within=frame_acc, action="Press")
        for name in boxes:
            expect("text", name, within=frame_acc)
    check.equal("controls not reachable by name", missing, [])


def session(program, convert, data_dir, check):
    p = program
    CRLF = "\r\n"

    # Typed into the editor, a line at a time.
    p.type_at_caret("Good morning caf\u00e9 crowd\n")
    p.type_at_caret("See the link here\n")
    p.type_at_caret("Shopping:")
    typed = "Good morning caf\u00e9 crowd\nSee the link here\nShopping:"
    p.wait_text(typed, "the typed post")

    p.select("morning")
    press(p.button("Bold"))
    post = typed.replace("morning", "[B]morning[/B]")
    p.wait_text(post, "the post after Bold")

    p.select("link")
    p.bus.press_without_waiting(p.button("Insert Link"))
    prompt = p.wait_dialog("Insert Link")
    field = next(a for a in walk(prompt) if a.getRoleName() == "text")
    check.equal("the link prompt's default", field.queryText().getText(0, -1), "http://")
    check.true("the link prompt says what it wants",
               any(a.name == "Please enter the URL of your link:" for a in walk(prompt)
                   if a.getRoleName() == "label"))
    address = "http://example.org/page?id=1&x=2"
    p.answer_prompt(prompt, address)
    p.wait_no_dialog("Insert Link")
    post = post.replace("link", "[URL=%s]link[/URL]" % address)
    p.wait_text(post, "the post after Insert Link")

    p.caret_to_end()
    p.bus.press_without_waiting(p.button("Ordered List"))
    first = p.wait_dialog("Ordered List")
    p.answer_prompt(first, "milk")
    second = p.wait_dialog("Ordered List", other_than=first)
    p.answer_prompt(second, "bread & jam")
    third = p.wait_dialog("Ordered List", other_than=second)
    p.bus.press_without_waiting(find(third, "push button", "Cancel"))
    p.wait_no_dialog("Ordered List")
    post += "[LIST=1]\n[*]milk\n[*]bread & jam\n[/LIST]"
    p.wait_text(post, "the post after Ordered List")

    p.type_at_caret("\nThanks ")
    press(p.button("Insert Smiley"))
    smilies = p.panel("Standrad Smilies")
    poll(lambda: showing(smilies), timeout=TIMEOUT, what="the smilies panel")
    press(find(smilies, "push button", "Big Grin"))
    post += "\nThanks :D "
    p.wait_text(post, "the post after Big Grin")
    press(find(smilies, "push button", "Hide"))
    poll(lambda: not showing(smilies), timeout=TIMEOUT, what="the smilies panel to hide")

    # The preview: the page is written, then handed to the browser stand-in.
    press(p.button("Preview in Browser [ BETA ]"))
    def recorded():
        if not os.path.exists(p.record):
            return None
        with open(p.record) as record:
            return record.read().strip()
    launched = poll(recorded, timeout=TIMEOUT, what="the browser stand-in to be called")
    target = launched.splitlines()[-1]
    page_path = urllib.parse.unquote(urllib.parse.urlparse(target).path) \
        if target.startswith("file:") else target
    cache_dir = os.path.join(os.environ["XDG_CACHE_HOME"], "Quorvane", "Quorvane")
    check.true("the page opened is Preview.htm in the program's folder or its cache (%s)"
               % page_path,
               page_path in (os.path.join(data_dir, "Preview.htm"),
                             os.path.join(cache_dir, "Preview.htm")))
    with open(page_path, "rb") as page_file:
        page = page_file.read()
    post_crlf = post.replace("\n", CRLF)
    expected_page = subprocess.run([convert, "--program-dir", data_dir],
                                   input=post_crlf.encode("utf-8"), stdout=subprocess.PIPE,
                                   check=True, timeout=60).stdout
    check.equal("the page against quorvane-convert", page, expected_page)
    smiley = '<img src="%s">' % os.path.join(data_dir, "Smilies", "Grin.gif")
    for piece in [b"Good <b>morning</b> caf&#233; crowd<p>&nbsp;</p>",
                  b"<a href=http://example.org/page?id=1&x=2>link</a>",
                  b"<ol><p>&nbsp;</p><li>milk<p>&nbsp;</p><li>bread & jam<p>&nbsp;</p></ol>",
                  b"Thanks " + smiley.encode() + b" "]:
        check.true("the page holds %r" % piece, piece in page)
    check.true("the page ends with the title", page.endswith(b"<title>Quorvane - Preview</title>\r\n"))
    check.true("the page is US-ASCII", all(b < 128 for b in page))
    p.wait_text(post, "the post after the preview")

    press(p.button("Remove Text Formatting"))
    stripped = subprocess.run([convert, "--strip"], input=post_crlf.encode("utf-8"),
                              stdout=subprocess.PIPE, check=True, timeout=60).stdout
    stripped = stripped.decode("utf-8")[:-2].replace(CRLF, "\n")
    p.wait_text(stripped, "the post after Remove Text Formatting")
    # The link keeps its target, glued to its text; smiley codes stay.
    check.equal("the stripped post", p.text(),
                "Good morning caf\u00e9 crowd\nSee the http://example.org/page?id=1&x=2link here\n"
                "Shopping:\nmilk\nbread & jam\n\nThanks :D ")
    post = p.text()

    # Find, from the Edit menu and the panel's own controls.
    press(p.menu_item("Edit", "Find..."))
    find_panel = p.panel("Find")
    poll(lambda: showing(find_panel), timeout=TIMEOUT, what="the Find panel")
    term_box = find(find_panel, "text", "Find What")
    term_box.queryEditableText().setTextContents("CROWD")
    find_button = find(find_panel, "push button", "Find")
    poll(lambda: find_button.getState().contains(p.pyatspi.STATE_ENABLED), timeout=TIMEOUT,
         what="the Find button to be enabled")
    press(find_button)
    start = post.index("crowd")
    try:
        poll(lambda: p.post.queryText().getSelection(0) == (start, start + 5),
             timeout=TIMEOUT, what="the term selected")
    except AssertionError:
        pass
    check.equal("the editor's selection after Find", p.post.queryText().getSelection(0),
                (start, start + 5))
    focused = lambda: p.post.getState().contains(p.pyatspi.STATE_FOCUSED)  # noqa: E731
    try:
        poll(focused, timeout=TIMEOUT, what="the editor focused")
    except AssertionError:
        pass
    check.true("Find leaves the focus in the editor", focused())

    # Save through the real file dialog.
    saved_path = os.path.join(os.environ["QUORVANE_ATSPI_HOME"], "session post.txt")
    p.bus.press_without_waiting(p.menu_item("File", "Save File..."))
    dialog = p.wait_dialog("Save As")
    name_box = find(dialog, "text", "File name:")
    name_box.queryEditableText().setTextContents(saved_path)
    poll(lambda: name_box.queryText().getText(0, -1) == saved_path, timeout=TIMEOUT,
         what="the file name typed")
    p.bus.press_without_waiting(find(dialog, "push button", "Save"))
    p.wait_no_dialog("Save As")
    poll(lambda: os.path.exists(saved_path), timeout=TIMEOUT, what="the saved file")
    with open(saved_path, "rb") as saved_file:
        saved = saved_file.read()
    check.equal("the saved file", saved, (post.replace("\n", CRLF) + CRLF).encode("utf-8"))

    # Saved, so Exit asks nothing and the program ends.
    p.bus.press_without_waiting(p.menu_item("File", "Exit"))
    try:
        p.proc.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        pass
    check.equal("the exit status after Exit, with nothing asked", p.proc.poll(), 0)


def run_scenario(app, *scenarios):
    """Starts the program on this bus, plays each `scenario(program, check)`
    and prints the checks; 0 when all passed."""
    check = Checks()
    bus = Bus()
    program = None
    try:
        program = Program(app, bus, check)
        for scenario in scenarios:
            scenario(program, check)
    finally:
        if program:
            program.close()
        bus.close()
        for failure in check.failures:
            print("FAILED: " + failure)
        print("%d passed, %d failed" % (check.passed, len(check.failures)), flush=True)
    return 1 if check.failures else 0


def scenario_main(script, scenario, timeout=150):
    """The command line of a script that plays one scenario in the program:
    SCRIPT QUORVANE, run again inside its own display and D-Bus session."""
    if len(sys.argv) > 1 and sys.argv[1] == INNER:
        sys.exit(run_scenario(sys.argv[2], scenario))
    if len(sys.argv) != 2:
        sys.exit("usage: %s QUORVANE" % os.path.basename(script))
    sys.exit(run_on_private_bus(script, sys.argv[1], timeout=timeout))


def inner(app, convert):
    return run_scenario(app, check_names,
                        lambda program, check: session(program, convert,
                                                       program_data_dir(app), check))


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == INNER:
        sys.exit(inner(sys.argv[2], sys.argv[3]))
    if len(sys.argv) != 3:
        sys.exit("usage: test_atspi_session.py QUORVANE QUORVANE_CONVERT")
    sys.exit(outer(sys.argv[1], sys.argv[2]))
