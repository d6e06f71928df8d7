#!/usr/bin/env python3
"""Times whole processes, interleaved, and reports the median of each.

    time_runs.py [--warmup W] RUNS NAME STDIN COMMAND... [-- NAME STDIN COMMAND...]...

Each process is started with posix_spawn in the current directory, its
standard input from STDIN (a file) and its standard output to /dev/null; the
time runs from the spawn to the wait, so it counts starting the process as
well as its work. Rounds go through every command in turn, so a noisy
moment of the machine falls on all of them alike. Beside the elapsed time it
reports the CPU time (user + system) of each process (not its peak memory: a
spawned child's peak counts this script's own until its exec); W runs of each command first warm the caches
(default 10). The medians go to timings.json.
"""

import json
import os
import statistics
import sys
import time


def parse(argv):
    warmup = 10
    if argv[0] == "--warmup":
        warmup, argv = int(argv[1]), argv[2:]
    runs = int(argv[0])
    commands, current = [], []
    for word in argv[1:] + ["--"]:
        if word == "--":
            if current:
                commands.append({"name": current[0], "stdin": current[1], "argv": current[2:]})
            current = []
        else:
            current.append(word)
    return warmup, runs, commands


def run_once(command):
    stdin = os.open(command["stdin"], os.O_RDONLY)
    null = os.open(os.devnull, os.O_WRONLY)
    actions = [(os.POSIX_SPAWN_DUP2, stdin, 0), (os.POSIX_SPAWN_DUP2, null, 1)]
    start = time.perf_counter()
    pid = os.posix_spawnp(command["argv"][0], command["argv"], os.environ, file_actions=actions)
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    os.close(stdin)
    os.close(null)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("%s failed with status %d" % (command["name"], os.waitstatus_to_exitcode(status)))
    return elapsed, usage.ru_utime + usage.ru_stime


def main():
    warmup, runs, commands = parse(sys.argv[1:])
    for command in commands:  # warm the caches
        for _ in range(warmup):
            run_once(command)
    results = {c["name"]: [] for c in commands}
    for _ in range(runs):
        for command in commands:
            results[command["name"]].append(run_once(command))
    summary = {}
    for name, rounds in results.items():
        summary[name] = {
            "median_ms": statistics.median(r[0] for r in rounds) * 1e3,
            "cpu_median_ms": statistics.median(r[1] for r in rounds) * 1e3,
        }
    for name, s in summary.items():
        print("%-12s median %9.3f ms, CPU median %9.3f ms"
              % (name, s["median_ms"], s["cpu_median_ms"]))
    json.dump(summary, open("timings.json", "w"))


if __name__ == "__main__":
    main()
