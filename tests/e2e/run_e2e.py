#!/usr/bin/env python3
"""End-to-end cases: the real program in a scratch directory, with real files
and a real standard input, compared byte for byte (stdout, stderr, exit
status and every file of the directory afterwards).

    run_e2e.py --binary build/src/varistellar [--wine [--wine-prefix DIR]] [-k NAME]

With --wine the binary is a Windows executable run under wine, in a wine
prefix of its own (created on first use, beside the binary unless
--wine-prefix says otherwise) whose wineserver stays up for the whole suite.
The closing line counts the cases: 'N passed, N failed, N skipped'.
"""

import argparse
import contextlib
import os
import resource
import shutil
import stat
import subprocess
import sys
import tempfile
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cases import CASES as INTERACTIVE_CASES  # noqa: E402
from command_line_cases import CASES as COMMAND_LINE_CASES  # noqa: E402
from check_star_cases import CASES as CHECK_STAR_CASES  # noqa: E402
from check_cases import CASES as CHECK_CASES  # noqa: E402
from input_cases import CASES as INPUT_CASES  # noqa: E402
from output_cases import CASES as OUTPUT_CASES  # noqa: E402
from several_nights_cases import CASES as SEVERAL_NIGHTS_CASES  # noqa: E402
from transform_cases import CASES as TRANSFORM_CASES  # noqa: E402
from report_transform_cases import CASES as REPORT_TRANSFORM_CASES  # noqa: E402
from transform_value_cases import CASES as TRANSFORM_VALUE_CASES  # noqa: E402
from message_cases import CASES as MESSAGE_CASES  # noqa: E402
from readers_cases import CASES as READERS_CASES  # noqa: E402
from quality_cases import CASES as QUALITY_CASES  # noqa: E402

CASES = (INTERACTIVE_CASES + COMMAND_LINE_CASES + CHECK_STAR_CASES + CHECK_CASES + INPUT_CASES
         + OUTPUT_CASES + SEVERAL_NIGHTS_CASES + TRANSFORM_CASES + REPORT_TRANSFORM_CASES
         + TRANSFORM_VALUE_CASES + MESSAGE_CASES + READERS_CASES + QUALITY_CASES)


# The FIFO writers of the case that runs, ended when it is over.
WRITERS = []
FIFO_WRITER = ("import sys\n"
               "data = sys.stdin.buffer.read()\n"
               "with open(sys.argv[1], 'wb') as f:\n"
               "    f.write(data)\n")


def make_fifo(path, content):
    os.mkfifo(path, 0o666)
    os.chmod(path, 0o666)
    if content is None:
        return
    writer = subprocess.Popen([sys.executable, "-c", FIFO_WRITER, path], stdin=subprocess.PIPE)
    writer.stdin.write(content)
    writer.stdin.close()
    WRITERS.append(writer)


def end_background(processes):
    for process in processes:
        try:
            process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    processes.clear()


def prepare(directory, files):
    for name, content in files.items():
        path = os.path.join(directory, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        os.chmod(os.path.dirname(path), 0o777)
        if isinstance(content, bytes):
            with open(path, "wb") as f:
                f.write(content)
            os.chmod(path, 0o666)  # writable for a case run as an unprivileged user
        elif content.kind == "directory":
            os.mkdir(path)
        elif content.kind == "fifo":
            make_fifo(path, content.target)
        elif content.kind == "symlink":
            os.symlink(content.target, path)
        elif content.kind == "hardlink":
            os.link(os.path.join(directory, content.target), path)
        elif content.kind == "readonly":
            with open(path, "wb") as f:
                f.write(content.target)
            os.chmod(path, 0o444)
        elif content.kind == "unreadable":
            with open(path, "wb") as f:
                f.write(content.target)
            os.chmod(path, 0o000)


def snapshot(directory, prefix=""):
    state = {}
    for name in sorted(os.listdir(directory)):
        path = os.path.join(directory, name)
        if os.path.isdir(path) and not os.path.islink(path) and prefix + name in FOLDERS:
            state.update(snapshot(path, prefix + name + "/"))
            continue
        name = prefix + name
        if os.path.islink(path):
            state[name] = "symlink"
        elif stat.S_ISFIFO(os.lstat(path).st_mode):
            state[name] = "fifo"
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
        elif content.kind in ("readonly", "unreadable"):
            state[name] = content.target
        elif content.kind == "hardlink":
            state[name] = case.files[content.target]
        else:
            state[name] = content.kind
    state.update(case.after)
    return {k: v for k, v in state.items() if v is not None}


NOBODY = 65534
FOLDERS = set()  # the folders a case makes, whose files are compared one by one


def as_nobody(cmd):
    """The command run as the unprivileged user when the runner is root."""
    if os.geteuid() != 0:
        return cmd
    return ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"] + cmd


def command(binary, wine, case, directory):
    # root opens read-only files for writing all the same, so those cases run
    # unprivileged. Under wine every case does: wine runs only as the owner of
    # its prefix, and a read-only file refuses writing to every Windows user.
    args = case.args_for(wine, directory)
    if wine:
        return as_nobody(["wine", binary] + args)
    if case.unprivileged:
        return as_nobody([binary] + args)
    return [binary] + args


def platforms_of(wine):
    return ("wine", "windows") if wine else ("posix",)


def start_as_case_says(case):
    """In the child before the program starts: standard error closed, or the memory the
    program may take for its data limited, when the case asks for it."""
    if case.close_stderr:
        os.close(2)
    if case.memory_limit:
        resource.setrlimit(resource.RLIMIT_DATA, (case.memory_limit, case.memory_limit))


def run_case(case, binary, wine):
    platforms = platforms_of(wine)
    directory = tempfile.mkdtemp(prefix="varistellar-e2e-")
    try:
        os.chmod(directory, 0o777)
        prepare(directory, case.files)
        FOLDERS.clear()
        FOLDERS.update(case.folders)
        for folder in case.folders:
            os.makedirs(os.path.join(directory, folder), exist_ok=True)
            os.chmod(os.path.join(directory, folder), 0o777)
        env = {k: v for k, v in os.environ.items() if k != "TABSIZE"}
        env.update(case.env)
        if case.close_stdout:
            reader, writer = os.pipe()
            os.close(reader)
            stdout_target = writer
        else:
            stdout_target = subprocess.PIPE
        watchers = []
        if case.watcher:
            watcher = subprocess.Popen([sys.executable, "-c", case.watcher], cwd=directory,
                                       stdout=subprocess.PIPE)
            watchers.append(watcher)
            watcher.stdout.readline()  # ready
        result = subprocess.run(command(binary, wine, case, directory), cwd=directory, input=case.stdin,
                                stdout=stdout_target, stderr=subprocess.PIPE, env=env, timeout=120,
                                preexec_fn=lambda: start_as_case_says(case))
        if case.close_stdout:
            os.close(writer)
        end_background(watchers)
        end_background(WRITERS)
        problems = []
        stdout = result.stdout if not case.close_stdout else b""
        expect_stdout = case.stdout_for(platforms) if not case.close_stdout else b""
        expect_stderr = case.stderr_for(platforms)
        if stdout != expect_stdout:
            problems.append(describe("stdout", expect_stdout, stdout))
        if result.stderr != expect_stderr:
            problems.append(describe("stderr", expect_stderr, result.stderr))
        # Under wine too the shell sees the low 8 bits of the status: the
        # program's ExitProcess(4294967295) arrives as 255, as _exit(-1) does.
        if result.returncode != case.status:
            problems.append("exit status: expected %d, got %d" % (case.status, result.returncode))
        got_files = snapshot(directory)
        want_files = expected_state(case)
        for name in sorted(set(got_files) | set(want_files)):
            want = want_files.get(name)
            if callable(want):  # a file judged by what it holds, not pinned byte for byte
                if not (isinstance(got_files.get(name), bytes) and want(got_files[name])):
                    problems.append("file %s: not as expected: %r" % (name, got_files.get(name)))
                continue
            if got_files.get(name) != want:
                problems.append(describe("file " + name, want_files.get(name), got_files.get(name)))
        return problems
    finally:
        for process in WRITERS:
            process.kill()
            process.wait()
        WRITERS.clear()
        subprocess.run(["chmod", "-R", "u+w", directory])
        shutil.rmtree(directory, ignore_errors=True)


def describe(what, expected, got):
    if isinstance(expected, bytes) and isinstance(got, bytes):
        at = next((i for i in range(min(len(expected), len(got))) if expected[i] != got[i]),
                  min(len(expected), len(got)))
        return "%s differs at byte %d:\n  expected %r\n  got      %r" % (
            what, at, expected[max(0, at - 60):at + 60], got[max(0, at - 60):at + 60])
    return "%s: expected %r, got %r" % (what, expected, got)


@contextlib.contextmanager
def wine_session(prefix, binary):
    """A wine prefix and one persistent wineserver for the whole suite.

    Every case then starts only the program itself: wine's own start-up
    (creating the prefix, starting its services) happens here, once, with its
    chatter kept away from the cases' standard error, and no long-lived wine
    process inherits a case's pipes."""
    os.environ["WINEPREFIX"] = prefix
    os.environ["WINEDEBUG"] = "-all"
    # Wine makes the wide-character command line from the Unix arguments in
    # the locale's character set: under the C locale a name that is not ASCII
    # would be lost before the program saw it, as no Windows shell loses it.
    os.environ["LC_ALL"] = "C.UTF-8"
    quiet = {"stdin": subprocess.DEVNULL, "stdout": subprocess.DEVNULL,
             "stderr": subprocess.DEVNULL}
    if not os.path.exists(prefix):
        os.makedirs(prefix)
        if os.geteuid() == 0:
            os.chown(prefix, NOBODY, NOBODY)
    for path, test in ((prefix, "-w"), (binary, "-r")):
        if subprocess.run(as_nobody(["test", test, path])).returncode != 0:
            user = NOBODY if os.geteuid() == 0 else os.geteuid()
            sys.exit("run_e2e.py: wine runs as uid %d and cannot use %s" % (user, path))
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        # No Mono, Gecko or menu entries: the program needs none of them, and
        # the installers would wait for an answer.
        env = dict(os.environ, WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        subprocess.run(as_nobody(["wineboot", "--init"]), env=env, check=True, timeout=600,
                       **quiet)
        subprocess.run(as_nobody(["wineserver", "--wait"]), check=True, timeout=600)
    subprocess.run(as_nobody(["wineserver", "--persistent"]), check=True, timeout=60)
    try:
        warm_up = tempfile.mkdtemp(prefix="varistellar-e2e-wine-")
        os.chmod(warm_up, 0o777)
        try:
            subprocess.run(as_nobody(["wine", binary]), cwd=warm_up, timeout=600, **quiet)
        finally:
            shutil.rmtree(warm_up, ignore_errors=True)
        yield
    finally:
        subprocess.run(as_nobody(["wineserver", "--kill"]), timeout=60)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--sanitized", action="store_true",
                        help="the program is built with the sanitizers (cases that limit memory skip)")
    parser.add_argument("--wine-prefix", default="",
                        help="wine prefix to use (default: wine-prefix beside the binary)")
    parser.add_argument("-k", dest="only", default="")
    args = parser.parse_args()
    binary = os.path.abspath(args.binary)
    if args.wine:
        prefix = os.path.abspath(args.wine_prefix or
                                 os.path.join(os.path.dirname(binary), "wine-prefix"))
        staging = None
        if not (nobody_can("-r", binary) and nobody_can_create(prefix)):
            # The checkout lies where the unprivileged user cannot reach (a
            # private temporary directory, say): the executable and the prefix
            # move to a directory of their own that it can.
            staging = tempfile.mkdtemp(prefix="varistellar-wine-")
            os.chmod(staging, 0o755)
            shutil.copy(binary, staging)
            binary = os.path.join(staging, os.path.basename(binary))
            os.chmod(binary, 0o755)
            prefix = os.path.join(staging, "wine-prefix")
        try:
            with wine_session(prefix, binary):
                return run_cases(args, binary)
        finally:
            if staging:
                subprocess.run(["rm", "-rf", staging])
    return run_cases(args, binary)


def nobody_can(test, path):
    """Whether the user the wine cases run as passes `test -X path`."""
    return subprocess.run(as_nobody(["test", test, path])).returncode == 0


def nobody_can_create(prefix):
    """Whether that user can use the prefix, or its directory to make it in."""
    if os.path.exists(prefix):
        return nobody_can("-w", prefix)
    # As root the prefix is made and handed over: the user only has to reach it.
    return nobody_can("-x" if os.geteuid() == 0 else "-w", os.path.dirname(prefix))


def run_cases(args, binary):
    passed = failed = skipped = 0
    for case in CASES:
        if args.only and args.only not in case.name:
            continue
        reason = case.skip_reason(platforms_of(args.wine) + (("sanitized",) if args.sanitized else ()))
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
