"""Inside the widgets layer each folder includes only the folders below it: the
windows neither the shell nor the commands, the shell not the commands. (The
core cannot reach src/ui at all: tests/core/layers.)"""

import pathlib
import re
import sys

# (folder under src, what its files may not include)
RULES = [
    ("ui/windows", re.compile(r'^#include "(shell|commands)/')),
    ("ui/shell", re.compile(r'^#include "commands/')),
]


def main(src):
    src = pathlib.Path(src)
    faults = []
    for folder, forbidden in RULES:
        files = sorted((src / folder).rglob("*.[ch]*"))
        if not files:
            faults.append("%s: no files found" % folder)
        for path in files:
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                if forbidden.search(line):
                    faults.append("%s:%d: %s" % (path.relative_to(src), number, line))
    for fault in faults:
        print("FAIL", fault)
    print("%d includes against the layers" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
