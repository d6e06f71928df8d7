#!/usr/bin/env python3
"""End-to-end cases: the real program in a scratch directory, with real files
and a real standard input, compared byte for byte (stdout, stderr, exit
status and every file of the directory afterwards).

    run_e2e.py --binary build/src/varistellar [--wine] [-k NAME]

With --wine the binary is a Windows executable run under wine. The closing
line counts the cases: 'N passed, N failed'.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cases import CASES  # noqa: E402


def prepare(directory, files):
    for name, content in files.items():
        path = os.path.join(directory, name)
        if isinstance(content, bytes):
            with open(path, "wb") as f:
                f.write(content)
            os.chmod(path, 0o666)  # writable for a case run as an unprivileged user
        elif content.kind == "directory":
            os.mkdir(path)
        elif content.kind == "symlink":
            os.symlink(content.target, path)
        elif content.kind == "readonly":
            with open(path, "wb") as f:
                f.write(content.target)
            os.chmod(path, 0o444)


def snapshot(directory):
    state = {}
    for name in sorted(os.listdir(directory)):
        path = os.path.join(directory, name)
        if os.path.islink(path):
            state[name] = "symlink"
        elif os.path.isdir(path):
            state[name] = "directory"
        else:
            with open(path, "rb") as f:
                state[name] = f.read()
    return state


def expected_state(case):
    state = {}
    for name, content in case.files.items():
        if isinstance(content, bytes):
            state[name] = content
        elif content.kind == "readonly":
            state[name] = content.target
        else:
            state[name] = content.kind
    state.update(case.after)
    return {k: v for k, v in state.items() if v is not None}


def command(binary, wine, case):
    cmd = ["wine", binary] if wine else [binary]
    if case.unprivileged:
        cmd = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + cmd
    return cmd


def run_case(case, binary, wine):
    platform = "windows" if wine else "posix"
    directory = tempfile.mkdtemp(prefix="varistellar-e2e-")
    try:
        os.chmod(directory, 0o777)
        prepare(directory, case.files)
        env = {k: v for k, v in os.environ.items() if k != "TABSIZE"}
        env.update(case.env)
        if case.close_stdout:
            reader, writer = os.pipe()
            os.close(reader)
            stdout_target = writer
        else:
            stdout_target = subprocess.PIPE
        result = subprocess.run(command(binary, wine, case), cwd=directory, input=case.stdin,
                                stdout=stdout_target, stderr=subprocess.PIPE, env=env, timeout=120)
        if case.close_stdout:
            os.close(writer)
        problems = []
        stdout = result.stdout if not case.close_stdout else b""
        expect_stdout = case.stdout if not case.close_stdout else b""
        expect_stderr = case.stderr_for(platform)
        if stdout != expect_stdout:
            problems.append(describe("stdout", expect_stdout, stdout))
        if result.stderr != expect_stderr:
            problems.append(describe("stderr", expect_stderr, result.stderr))
        if result.returncode != case.status:
            problems.append("exit status: expected %d, got %d" % (case.status, result.returncode))
        got_files = snapshot(directory)
        want_files = expected_state(case)
        for name in sorted(set(got_files) | set(want_files)):
            if got_files.get(name) != want_files.get(name):
                problems.append(describe("file " + name, want_files.get(name), got_files.get(name)))
        return problems
    finally:
        subprocess.run(["chmod", "-R", "u+w", directory])
        shutil.rmtree(directory, ignore_errors=True)


def describe(what, expected, got):
    if isinstance(expected, bytes) and isinstance(got, bytes):
        at = next((i for i in range(min(len(expected), len(got))) if expected[i] != got[i]),
                  min(len(expected), len(got)))
        return "%s differs at byte %d:\n  expected %r\n  got      %r" % (
            what, at, expected[max(0, at - 60):at + 60], got[max(0, at - 60):at + 60])
    return "%s: expected %r, got %r" % (what, expected, got)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("-k", dest="only", default="")
    args = parser.parse_args()
    binary = os.path.abspath(args.binary)
    passed = failed = skipped = 0
    for case in CASES:
        if args.only and args.only not in case.name:
            continue
        reason = case.skip_reason("windows" if args.wine else "posix")
        if reason:
            print("SKIP %s: %s" % (case.name, reason))
            skipped += 1
            continue
        try:
            problems = run_case(case, binary, args.wine)
        except Exception:  # a harness failure counts against the case
            problems = [traceback.format_exc()]
        if problems:
            failed += 1
            print("FAIL %s" % case.name)
            for p in problems:
                print("  " + p.replace("\n", "\n  "))
        else:
            passed += 1
            print("ok   %s" % case.name)
    print("%d passed, %d failed, %d skipped" % (passed, failed, skipped))
    return 1 if failed or passed == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
