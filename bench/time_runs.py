#!/usr/bin/env python3
"""Times whole processes, interleaved, and reports the median of each.

    time_runs.py RUNS NAME STDIN COMMAND... [-- NAME STDIN COMMAND...]...

Each process is started with posix_spawn in the current directory, its
standard input from STDIN (a file) and its standard output to /dev/null; the
time runs from the spawn to the wait, so it counts starting the process as
well as its work. Rounds go through every command in turn, so a noisy
moment of the machine falls on all of them alike.
"""

import json
import os
import statistics
import sys
import time


def parse(argv):
    runs = int(argv[0])
    commands, current = [], []
    for word in argv[1:] + ["--"]:
        if word == "--":
            if current:
                commands.append({"name": current[0], "stdin": current[1], "argv": current[2:]})
            current = []
        else:
            current.append(word)
    return runs, commands


def run_once(command):
    stdin = os.open(command["stdin"], os.O_RDONLY)
    null = os.open(os.devnull, os.O_WRONLY)
    actions = [(os.POSIX_SPAWN_DUP2, stdin, 0), (os.POSIX_SPAWN_DUP2, null, 1)]
    start = time.perf_counter()
    pid = os.posix_spawnp(command["argv"][0], command["argv"], os.environ, file_actions=actions)
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    os.close(stdin)
    os.close(null)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%s failed with status %d" % (command["name"], os.waitstatus_to_exitcode(status)))
    return elapsed


def main():
    runs, commands = parse(sys.argv[1:])
    for command in commands:  # warm the caches
        for _ in range(10):
            run_once(command)
    times = {c["name"]: [] for c in commands}
    for _ in range(runs):
        for command in commands:
            times[command["name"]].append(run_once(command))
    summary = {name: {"median_ms": statistics.median(t) * 1e3} for name, t in times.items()}
    for name, s in summary.items():
        print("%-12s median %7.3f ms" % (name, s["median_ms"]))
    json.dump(summary, open("timings.json", "w"))


if __name__ == "__main__":
    main()
