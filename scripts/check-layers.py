#!/usr/bin/env python3
"""Fails when the source breaks the order of rooms that ARCHITECTURE.md writes down: a file of
src/ that includes a room standing above its own, a folder of src/ that the order leaves out (or a
room it lists that does not exist), or a file outside src/platform/ that includes a system header.

    python3 scripts/check-layers.py [ROOT]
"""
import os
import re
import sys

SYSTEM_HEADERS = re.compile(r'#\s*include\s*<(unistd\.h|windows\.h|fcntl\.h|dirent\.h|pthread\.h|'
                            r'semaphore\.h|io\.h|signal\.h|sys/[^>]+|emscripten[^>]*)>')
LOCAL_INCLUDE = re.compile(r'#\s*include\s*"([^/"]+)/[^"]+"')


def rooms_of(architecture):
    """The rooms listed after the marker, the top room first."""
    text = open(architecture, encoding="utf-8").read()
    marker = text.index("<!-- rooms:")
    block = text[text.index("```", marker) + 3:]
    block = block[block.index("\n") + 1:block.index("```")]
    return [line.split()[0] for line in block.splitlines() if line.strip()]


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    src = os.path.join(root, "src")
    rooms = rooms_of(os.path.join(root, "ARCHITECTURE.md"))
    height = {room: len(rooms) - i for i, room in enumerate(rooms)}
    problems = []
    folders = {f for f in os.listdir(src) if os.path.isdir(os.path.join(src, f))}
    for folder in sorted(folders - set(rooms)):
        problems.append("src/%s/ is not in ARCHITECTURE.md's order of rooms" % folder)
    for room in rooms:
        if room not in folders:
            problems.append("ARCHITECTURE.md lists the room %s, but src/%s/ does not exist" % (room, room))
    for folder in sorted(folders & set(rooms)):
        for name in sorted(os.listdir(os.path.join(src, folder))):
            path = os.path.join(src, folder, name)
            if not name.endswith((".h", ".cpp")):
                continue
            for number, line in enumerate(open(path, encoding="utf-8"), start=1):
                where = "src/%s/%s:%d" % (folder, name, number)
                included = LOCAL_INCLUDE.match(line.strip())
                if included and included.group(1) in height and \
                        height[included.group(1)] > height[folder]:
                    problems.append("%s: %s/ includes %s/, which stands above it" %
                                    (where, folder, included.group(1)))
                if folder != "platform" and SYSTEM_HEADERS.match(line.strip()):
                    problems.append("%s: a system header outside platform/" % where)
    for problem in problems:
        print(problem)
    print("%d rooms, %d problems" % (len(rooms), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
