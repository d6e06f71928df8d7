#!/usr/bin/env python3
"""Fails when the source breaks the order of rooms that ARCHITECTURE.md writes down: a file of
src/ that includes a room standing above its own or beside it, a folder of src/ that the order
leaves out (or a room it lists that does not exist), a file outside src/platform/ that includes a
system header, or a core library whose source list in src/CMakeLists.txt is not room by room from
the bottom, each file once.

    python3 scripts/check-layers.py [ROOT]
"""
import os
import re
import sys

SYSTEM_HEADERS = re.compile(r'#\s*include\s*<(unistd\.h|windows\.h|fcntl\.h|dirent\.h|pthread\.h|'
                            r'semaphore\.h|io\.h|signal\.h|sys/[^>]+|emscripten[^>]*)>')
LOCAL_INCLUDE = re.compile(r'#\s*include\s*"([^/"]+)/[^"]+"')
PLATFORM_LAYERS = ("platform/posix.cpp", "platform/win32.cpp")


def levels_of(architecture):
    """The rooms listed after the marker, one list per level, the top level first. A level's
    rooms stand before its description, separated by commas; a line that begins with blanks
    goes on describing the level above it."""
    text = open(architecture, encoding="utf-8").read()
    marker = text.index("<!-- rooms:")
    block = text[text.index("```", marker) + 3:]
    block = block[block.index("\n") + 1:block.index("```")]
    levels = []
    for line in block.splitlines():
        if not line.strip() or line[0].isspace():
            continue
        names = re.split(r"\s{2,}", line.strip())[0]
        levels.append([name.strip() for name in names.split(",") if name.strip()])
    return levels


def include_problems(src, folder, height):
    problems = []
    for name in sorted(os.listdir(os.path.join(src, folder))):
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.join(src, folder, name)
        for number, line in enumerate(open(path, encoding="utf-8"), start=1):
            where = "src/%s/%s:%d" % (folder, name, number)
            included = LOCAL_INCLUDE.match(line.strip())
            if included and included.group(1) in height and included.group(1) != folder:
                other = included.group(1)
                if height[other] > height[folder]:
                    problems.append("%s: %s/ includes %s/, which stands above it" % (where, folder, other))
                elif height[other] == height[folder]:
                    problems.append("%s: %s/ includes %s/, which stands beside it" % (where, folder, other))
            if folder != "platform" and SYSTEM_HEADERS.match(line.strip()):
                problems.append("%s: a system header outside platform/" % where)
    return problems


def source_list_problems(src, levels):
    """The core library's sources: every source of the rooms once, room by room from the bottom."""
    text = open(os.path.join(src, "CMakeLists.txt"), encoding="utf-8").read()
    start = text.index("add_library(varistellar_core")
    listed = re.findall(r"([a-z_]+/[a-z_0-9]+\.cpp)", text[start:text.index(")", start)])
    problems = ["src/CMakeLists.txt lists %s more than once" % f for f in sorted(set(listed))
                if listed.count(f) > 1]
    rank = {room: i for i, level in enumerate(reversed(levels)) for room in level}
    ranks = [rank.get(f.split("/")[0], -1) for f in listed]
    if ranks != sorted(ranks):
        problems.append("src/CMakeLists.txt: the core's sources are not room by room from the bottom")
    for room in rank:
        for name in sorted(os.listdir(os.path.join(src, room))):
            path = "%s/%s" % (room, name)
            if name.endswith(".cpp") and path not in listed and path not in PLATFORM_LAYERS:
                problems.append("src/CMakeLists.txt does not list %s" % path)
    return problems


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    src = os.path.join(root, "src")
    levels = levels_of(os.path.join(root, "ARCHITECTURE.md"))
    height = {room: len(levels) - i for i, level in enumerate(levels) for room in level}
    problems = []
    folders = {f for f in os.listdir(src) if os.path.isdir(os.path.join(src, f))}
    for folder in sorted(folders - set(height)):
        problems.append("src/%s/ is not in ARCHITECTURE.md's order of rooms" % folder)
    for room in sorted(set(height) - folders):
        problems.append("ARCHITECTURE.md lists the room %s, but src/%s/ does not exist" % (room, room))
    for folder in sorted(folders & set(height)):
        problems += include_problems(src, folder, height)
    problems += source_list_problems(src, levels)
    for problem in problems:
        print(problem)
    print("%d rooms, %d problems" % (len(height), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
