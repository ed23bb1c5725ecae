"""--help, --version and a wrong option, for both programs, with no display to
open: what each writes where, and its exit status."""

import os
import re
import subprocess
import sys
import tempfile


def main(quorvane, convert, version):
    home = tempfile.mkdtemp(prefix="quorvane-cli-")
    env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=home, XDG_CONFIG_HOME=home,
               QT_QPA_PLATFORM="xcb")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    # (program, arguments, status, what stdout matches, what stderr matches)
    cases = [
        (quorvane, ["--help"], 0, r"^usage: quorvane .*--version.*FILE", r"^$"),
        (quorvane, ["-h", "post.txt"], 0, r"^usage: quorvane ", r"^$"),
        (quorvane, ["--version"], 0, r"^quorvane %s\n$" % re.escape(version), r"^$"),
        (quorvane, ["-v"], 0, r"^quorvane %s\n$" % re.escape(version), r"^$"),
        (quorvane, ["--bogus", "post.txt"], 2, r"^$",
         r"^quorvane: unknown option --bogus\nusage: quorvane "),
        (convert, ["--help"], 0, r"^usage: quorvane-convert .*--strip.*--version", r"^$"),
        (convert, ["--version"], 0, r"^quorvane-convert %s\n$" % re.escape(version), r"^$"),
        (convert, ["-v"], 0, r"^quorvane-convert %s\n$" % re.escape(version), r"^$"),
        (convert, ["--bogus"], 2, r"^$",
         r"^quorvane-convert: unknown option --bogus\nusage: quorvane-convert "),
        # The usage errors the table of modes and options makes.
        (convert, ["--strip", "--check"], 2, r"^$",
         r"^quorvane-convert: only one of --strip, --text, --check, --from-html, "
         r"--from-rtf, --length and --adapt may be given\nusage: "),
        (convert, ["--text", "--split", "5"], 2, r"^$",
         r"^quorvane-convert: --split goes with no other of --strip, .* and --adapt\n"),
        (convert, ["--split", "0"], 2, r"^$", r"^quorvane-convert: --split needs a limit above 0\n"),
        (convert, ["--strip", "--count", "text"], 2, r"^$",
         r"^quorvane-convert: --count and --break go with --split only\n"),
        (convert, ["--split", "9", "--forum", "smf", "--break", "2"], 2, r"^$",
         r"^quorvane-convert: --count and --break do not go with --forum\n"),
        (convert, ["--length"], 2, r"^$",
         r"^quorvane-convert: --length needs --forum phpbb, smf or mybb\n"),
        (convert, ["--check", "--no-spelling", "--lang", "en_US"], 2, r"^$",
         r"^quorvane-convert: --lang goes with --check, without --no-spelling\n"),
        (convert, ["--program-dir=/a", "--program-dir", "/b"], 2, r"^$",
         r"^quorvane-convert: --program-dir given twice\n"),
        (convert, ["--help"], 0, r"\n  --split LIMIT     the post cut .*\n  --count tags\|text with --split",
         r"^$"),
    ]
    failed = 0
    for program, args, status, out, err in cases:
        run = subprocess.run([program, *args], env=env, stdin=subprocess.DEVNULL,
                             capture_output=True, text=True, timeout=60)
        name = "%s %s" % (os.path.basename(program), " ".join(args))
        problems = []
        if run.returncode != status:
            problems.append("status %d, not %d" % (run.returncode, status))
        if not re.search(out, run.stdout, re.S):
            problems.append("stdout %r" % run.stdout)
        if not re.search(err, run.stderr, re.S):
            problems.append("stderr %r" % run.stderr)
        if problems:
            failed += 1
            print("FAIL %s: %s" % (name, "; ".join(problems)))
    print("%d passed, %d failed" % (len(cases) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
