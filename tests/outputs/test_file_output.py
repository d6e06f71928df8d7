"""The file output's failures that need root to set up, with real causes: a small tmpfs filled
to its last byte, and a folder the test may not write in, run with dropped privileges.

    python3 tests/outputs/test_file_output.py --binary path/to/file_output_test
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]


def fill(folder):
    """Writes into `folder` until its disk has no byte left."""
    filler = os.open(os.path.join(folder, "filler"), os.O_WRONLY | os.O_CREAT, 0o644)
    try:
        while os.write(filler, b"\0" * 512) > 0:
            pass
    except OSError:
        pass
    finally:
        os.close(filler)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    binary = os.path.abspath(parser.parse_args().binary)
    if os.geteuid() != 0 or shutil.which("setpriv") is None:
        print("skipped: needs root and setpriv")
        return 0
    scratch = tempfile.mkdtemp()
    os.chmod(scratch, 0o755)
    disk = os.path.join(scratch, "disk")
    unwritable = os.path.join(scratch, "unwritable")
    os.mkdir(disk)
    os.mkdir(unwritable, 0o755)
    work = os.path.join(scratch, "work")
    os.mkdir(work)
    os.chmod(work, 0o1777)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k,mode=1777", "tmpfs", disk],
                             stderr=subprocess.DEVNULL).returncode == 0
    try:
        environment = dict(os.environ, VARISTELLAR_UNWRITABLE_FOLDER=unwritable, TMPDIR=work)
        tests = "FileOutputTest.AnUnwritableFolderIsReported"
        if mounted:
            fill(disk)
            environment["VARISTELLAR_FULL_FOLDER"] = disk
            tests += ":FileOutputTest.AFullDiskLeavesNoReport"
        result = subprocess.run([*NOBODY, binary, "--gtest_filter=" + tests], cwd=work,
                                env=environment, stdout=subprocess.PIPE, text=True)
        print(result.stdout)
        if "[  SKIPPED ]" in result.stdout:
            print("a test that was set up was skipped")
            return 1
        return result.returncode
    finally:
        if mounted:
            subprocess.run(["umount", disk])
        shutil.rmtree(scratch)


if __name__ == "__main__":
    sys.exit(main())
