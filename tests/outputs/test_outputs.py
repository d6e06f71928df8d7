"""convert's outputs when things go wrong around them, on Linux: runs stopped by signals at
several points, FIFOs with and without a reader, a pipe whose reader has gone, a full disk
under the picture, a failure between the two renames, a planted link at the temporary name,
and the report's permission bits. Each run is the real program on the sample night in a
scratch folder; what is left in the folder is compared byte for byte.

    python3 tests/outputs/test_outputs.py --binary path/to/varistellar
"""
import argparse
import os
import resource
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SAMPLE = os.path.join(ROOT, "examples", "sample-night")
BINARY = None
OLD_REPORT = b"an old report\r\n"
OLD_PICTURE = b"<svg>an old picture</svg>\n"


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def sample(name):
    return read(os.path.join(SAMPLE, name))


def folder_state(folder):
    """Every entry of the folder: bytes for a file, 'fifo', 'folder' or a link's target."""
    state = {}
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if os.path.islink(path):
            state[name] = "link to " + os.readlink(path)
        elif stat.S_ISFIFO(os.lstat(path).st_mode):
            state[name] = "fifo"
        elif os.path.isdir(path):
            state[name] = "folder"
        else:
            state[name] = read(path)
    return state


def can_mount_tmpfs():
    probe = tempfile.mkdtemp()
    try:
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", probe],
                                 capture_output=True).returncode == 0
        if mounted:
            subprocess.run(["umount", probe])
        return mounted
    except OSError:
        return False
    finally:
        os.rmdir(probe)


# Run in a mount namespace of its own, the program finds its /proc/self/fd empty: Linux's
# unnamed files can then be neither read back nor named, and the temporary files have names
# from the start, as on a file system without unnamed files. (The rest of /proc stays: a
# sanitized build reads its environment there.)
HIDE_OWN_DESCRIPTORS = 'mount -t tmpfs none "/proc/$$/fd" && exec "$@"'


def can_hide_proc():
    """Whether the program's /proc/self/fd can be hidden."""
    try:
        return subprocess.run(["unshare", "--mount", "sh", "-c", HIDE_OWN_DESCRIPTORS, "sh", "true"],
                              capture_output=True).returncode == 0
    except OSError:
        return False


def no_core_file():
    """SIGQUIT would otherwise leave a core file among the outputs."""
    resource.setrlimit(resource.RLIMIT_CORE, (0, 0))


class Night(unittest.TestCase):
    """A scratch folder with the sample night, an old report and, once made, the report and
    picture the program writes for that night."""

    expected_report = None
    expected_picture = None

    @classmethod
    def setUpClass(cls):
        folder = tempfile.mkdtemp(prefix="varistellar-outputs-")
        try:
            for name in ("lightcurve.txt", "VARISTELLAR-input.txt"):
                shutil.copy(os.path.join(SAMPLE, name), folder)
            subprocess.run([BINARY, "convert", "--quiet", "--plot", "night.svg"], cwd=folder,
                           check=True, capture_output=True)
            cls.expected_report = read(os.path.join(folder, "lightcurve-aavso.txt"))
            cls.expected_picture = read(os.path.join(folder, "night.svg"))
        finally:
            shutil.rmtree(folder)

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="varistellar-outputs-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        for name in ("lightcurve.txt", "VARISTELLAR-input.txt"):
            shutil.copy(os.path.join(SAMPLE, name), self.folder)
        write(self.path("lightcurve-aavso.txt"), OLD_REPORT)
        write(self.path("night.svg"), OLD_PICTURE)

    def path(self, name):
        return os.path.join(self.folder, name)

    def start(self, *args, hide_proc=False, stdout=subprocess.PIPE):
        command = [BINARY, "convert", *args]
        if hide_proc:
            command = ["unshare", "--mount", "sh", "-c",
                       HIDE_OWN_DESCRIPTORS, "sh"] + command
        return subprocess.Popen(command, cwd=self.folder, stdin=subprocess.DEVNULL, stdout=stdout,
                                stderr=subprocess.PIPE, preexec_fn=no_core_file)

    def untouched(self, **more):
        """The folder as it was before the run: inputs, old report, old picture."""
        state = {"lightcurve.txt": sample("lightcurve.txt"),
                 "VARISTELLAR-input.txt": sample("VARISTELLAR-input.txt"),
                 "lightcurve-aavso.txt": OLD_REPORT, "night.svg": OLD_PICTURE}
        state.update(more)
        return {k: v for k, v in state.items() if v is not None}


class Stops(Night):
    """A run stopped by a signal leaves the old files and no temporary file, and ends with the
    signal's own status."""

    def stop_while_table_is_read(self, signal_number, hide_proc=False):
        os.remove(self.path("lightcurve.txt"))
        os.mkfifo(self.path("table"))
        run = self.start("--table", "table", "--plot", "night.svg", ".", hide_proc=hide_proc)
        with open(self.path("table"), "wb") as table:
            table.write(sample("lightcurve.txt")[:5000])
            table.flush()
            time.sleep(0.3)  # the outputs are open, half the table read
            temporaries = [n for n in os.listdir(self.folder) if n.endswith(".tmp")]
            # Unnamed files on Linux; with names where those cannot be had.
            self.assertEqual(len(temporaries), 2 if hide_proc else 0)
            run.send_signal(signal_number)
            run.communicate(timeout=30)
        self.assertEqual(run.returncode, -signal_number)
        self.assertEqual(folder_state(self.folder),
                         self.untouched(**{"lightcurve.txt": None, "table": "fifo"}))

    def test_each_signal_while_the_table_is_read(self):
        for signal_number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT,
                              signal.SIGKILL):
            with self.subTest(signal=signal_number):
                self.setUp()
                self.stop_while_table_is_read(signal_number)

    @unittest.skipUnless(can_hide_proc(), "needs a mount namespace to hide /proc")
    def test_each_signal_with_temporary_files_that_have_names(self):
        for signal_number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT):
            with self.subTest(signal=signal_number):
                self.setUp()
                self.stop_while_table_is_read(signal_number, hide_proc=True)

    def test_each_signal_while_the_picture_waits_for_its_reader(self):
        # The report is complete and checked, still without a name; the picture goes down a
        # FIFO whose reader takes nothing, so the run waits there. Even SIGKILL, which no
        # handler sees, leaves no temporary file.
        for signal_number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT,
                              signal.SIGKILL):
            with self.subTest(signal=signal_number):
                self.setUp()
                os.remove(self.path("night.svg"))
                os.mkfifo(self.path("night.svg"))
                reader = os.open(self.path("night.svg"), os.O_RDONLY | os.O_NONBLOCK)
                try:
                    run = self.start("--plot", "night.svg", ".")
                    time.sleep(0.5)
                    self.assertIsNone(run.poll())
                    run.send_signal(signal_number)
                    run.communicate(timeout=30)
                finally:
                    os.close(reader)
                self.assertEqual(run.returncode, -signal_number)
                self.assertEqual(folder_state(self.folder), self.untouched(**{"night.svg": "fifo"}))

    def test_a_stop_before_the_outputs_are_opened(self):
        os.remove(self.path("VARISTELLAR-input.txt"))
        os.mkfifo(self.path("VARISTELLAR-input.txt"))
        run = self.start("--plot", "night.svg", ".")
        time.sleep(0.3)
        run.send_signal(signal.SIGTERM)
        run.communicate(timeout=30)
        self.assertEqual(run.returncode, -signal.SIGTERM)
        self.assertEqual(folder_state(self.folder),
                         self.untouched(**{"VARISTELLAR-input.txt": "fifo"}))


class Streams(Night):
    def test_a_fifo_waits_for_its_reader_and_gets_the_whole_report(self):
        os.mkfifo(self.path("report.fifo"))
        run = self.start("--quiet", "--report", "report.fifo", ".")
        time.sleep(0.5)
        self.assertIsNone(run.poll(), "the run waits for a reader")
        received = read(self.path("report.fifo"))
        _, stderr = run.communicate(timeout=30)
        # The sample's made-up check-star magnitude, then, checked as it went out, what check
        # finds in the sample night's report.
        self.assertEqual((run.returncode, stderr), (0, (
            b"./lightcurve.txt: warning: quality: check star 000-AAA-002 V is 2.64 brighter than its "
            b"catalogue magnitude 13.021: is it the right star, the right catalogue magnitude and "
            b"the right filter?\n"
            b'report.fifo:8:56: warning: MTYPE STD with comparison star "000-AAA-001" and CMAG na: '
            b"the check star's magnitude (K - C) cannot be derived (and 315 more lines) [R13b]\n"
            b'report.fifo:8:71: warning: KNAME "000-AAA-002" is given with KMAG na (and 315 more '
            b"lines) [R15b]\n")))
        self.assertEqual(received, self.expected_report)
        self.assertEqual(folder_state(self.folder), self.untouched(**{"report.fifo": "fifo"}))

    def test_a_fifo_whose_reader_goes_away(self):
        os.remove(self.path("lightcurve.txt"))
        os.mkfifo(self.path("table"))
        os.mkfifo(self.path("report.fifo"))
        reader = os.open(self.path("report.fifo"), os.O_RDONLY | os.O_NONBLOCK)
        run = self.start("--quiet", "--table", "table", "--report", "report.fifo", ".")
        with open(self.path("table"), "wb") as table:
            time.sleep(0.3)  # the report is open; the reader leaves before a byte is written
            os.close(reader)
            table.write(sample("lightcurve.txt"))
        _, stderr = run.communicate(timeout=30)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(stderr, b"report.fifo: error: cannot write the report: Broken pipe\n"
                                 b"varistellar: 1 error; nothing was written\n")

    def test_standard_output_into_a_closed_pipe(self):
        reader, writer = os.pipe()
        os.close(reader)
        try:
            run = self.start("--report", "/dev/stdout", ".", stdout=writer)
        finally:
            os.close(writer)
        _, stderr = run.communicate(timeout=30)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(stderr, b"/dev/stdout: error: cannot write the report: Broken pipe\n"
                                 b"varistellar: 1 error; nothing was written\n")
        self.assertEqual(folder_state(self.folder), self.untouched())

    def test_standard_output_redirected_to_a_file_gets_the_report_then_the_summary(self):
        with open(self.path("out.txt"), "wb") as out:
            run = self.start("--report", "/dev/stdout", ".", stdout=out)
            run.communicate(timeout=30)
        self.assertEqual(run.returncode, 0)
        written = read(self.path("out.txt"))
        self.assertTrue(written.startswith(self.expected_report))
        self.assertTrue(written.endswith(b"wrote /dev/stdout: 316 observations\n"))
        self.assertEqual(folder_state(self.folder), self.untouched(**{"out.txt": written}))


class Files(Night):
    def test_a_replaced_report_keeps_its_permission_bits(self):
        os.chmod(self.path("lightcurve-aavso.txt"), 0o640)
        run = self.start("--quiet", ".")
        run.communicate(timeout=30)
        self.assertEqual(run.returncode, 0)
        self.assertEqual(stat.S_IMODE(os.stat(self.path("lightcurve-aavso.txt")).st_mode), 0o640)
        self.assertEqual(read(self.path("lightcurve-aavso.txt")), self.expected_report)

    def planted_link_run(self, hide_proc):
        # The shell's own process id is the program's after exec: the link stands at the
        # temporary name the run would take first.
        script = ('ln -s /nowhere "lightcurve-aavso.txt.$$.tmp" && '
                  'exec "$0" convert --quiet --plot night.svg .')
        command = ["sh", "-c", script, BINARY]
        if hide_proc:
            command = ["unshare", "--mount", "sh", "-c",
                       HIDE_OWN_DESCRIPTORS, "sh"] + command
        run = subprocess.run(command, cwd=self.folder, capture_output=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)
        links = [n for n in os.listdir(self.folder) if n.endswith(".tmp")]
        self.assertEqual(len(links), 1)
        self.assertEqual(os.readlink(self.path(links[0])), "/nowhere")
        self.assertEqual(read(self.path("lightcurve-aavso.txt")), self.expected_report)
        self.assertEqual(read(self.path("night.svg")), self.expected_picture)

    def test_a_planted_dangling_link_is_passed_over(self):
        self.planted_link_run(hide_proc=False)

    @unittest.skipUnless(can_hide_proc(), "needs a mount namespace to hide /proc")
    def test_a_planted_dangling_link_is_passed_over_by_named_temporary_files(self):
        self.planted_link_run(hide_proc=True)

    def test_a_failure_between_the_renames_says_which_file_is_new(self):
        os.remove(self.path("lightcurve.txt"))
        os.remove(self.path("night.svg"))
        os.mkfifo(self.path("table"))
        run = self.start("--quiet", "--table", "table", "--plot", "night.svg", ".")
        with open(self.path("table"), "wb") as table:
            time.sleep(0.3)  # the outputs are open; now the picture's place is taken
            os.mkdir(self.path("night.svg"))
            write(self.path("night.svg/kept.txt"), b"kept\n")
            table.write(sample("lightcurve.txt"))
        _, stderr = run.communicate(timeout=30)
        self.assertEqual(run.returncode, 3)
        self.assertTrue(stderr.startswith(b"night.svg: error: cannot write the picture: cannot put "
                                          b"it in place: "), stderr)
        self.assertIn(b"; the report ./lightcurve-aavso.txt was written, the picture was not\n",
                      stderr)
        state = folder_state(self.folder)
        self.assertEqual(state.pop("lightcurve-aavso.txt"), self.expected_report)
        self.assertEqual(state, {"VARISTELLAR-input.txt": sample("VARISTELLAR-input.txt"),
                                 "table": "fifo", "night.svg": "folder"})

    @unittest.skipUnless(can_mount_tmpfs(), "needs to mount a small tmpfs")
    def test_a_full_disk_under_the_picture_leaves_the_old_report(self):
        disk = self.path("disk")
        os.mkdir(disk)
        # Room for the report but not for the picture too.
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=100k", "tmpfs", disk], check=True)
        self.addCleanup(subprocess.run, ["umount", disk])
        for name in ("lightcurve.txt", "VARISTELLAR-input.txt"):
            shutil.copy(os.path.join(SAMPLE, name), disk)
        write(os.path.join(disk, "lightcurve-aavso.txt"), OLD_REPORT)
        run = self.start("--quiet", "--plot", "disk/night.svg", "disk")
        _, stderr = run.communicate(timeout=30)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(stderr, b"disk/night.svg: error: cannot write the picture: No space left "
                                 b"on device\n"
                                 b"varistellar: 1 error; nothing was written\n")
        self.assertEqual(folder_state(disk), {
            "lightcurve.txt": sample("lightcurve.txt"),
            "VARISTELLAR-input.txt": sample("VARISTELLAR-input.txt"),
            "lightcurve-aavso.txt": OLD_REPORT})


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    arguments, rest = parser.parse_known_args()
    BINARY = os.path.abspath(arguments.binary)
    unittest.main(argv=[sys.argv[0]] + rest)
