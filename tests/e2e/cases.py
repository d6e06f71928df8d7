"""The end-to-end cases: input files, standard input, and every byte expected."""

import os
from decimal import ROUND_HALF_UP, Decimal

from transcript import (ANY_KEY, BANNER, CONVERTED, ENTER, HEADERS_READ,
                        HEADER_READ_FAILURE, OPEN_LIGHT_CURVE_FAILURE, OPEN_PARAMETERS_FAILURE,
                        PARAMETERS_OPENED, PARAMETERS_OPENING, PARAMETERS_READ,
                        PARAMETER_READ_FAILURE, REPORT_OPENED, REPORT_OPENING, count_line, header_echo, line, report_file,
                        report_header, successful_run, unhandled)


class Special:
    def __init__(self, kind, target=None):
        self.kind, self.target = kind, target


DIRECTORY = Special("directory")


def readonly(content):
    return Special("readonly", content)


def unreadable(content):
    """A file no one but its owner may read (the case runs unprivileged)."""
    return Special("unreadable", content)


def symlink(target):
    return Special("symlink", target)


def fifo(content=None):
    """A FIFO; with `content`, a background writer gives it those bytes once, to its first
    reader."""
    return Special("fifo", content)


def hardlink(target):
    """A second name for the case's file `target` (made before it)."""
    return Special("hardlink", target)


class Case:
    def __init__(self, name, files, stdin, stdout, status, stderr=b"", after=None, env=None,
                 unprivileged=False, close_stdout=False, close_stderr=False, skip=None,
                 args=None, folders=(), memory_limit=None, watcher=None):
        self.name, self.files, self.stdin, self.stdout = name, files, stdin, stdout
        self.status, self.stderr, self.after = status, stderr, after or {}
        self.env, self.unprivileged, self.close_stdout = env or {}, unprivileged, close_stdout
        self.close_stderr = close_stderr
        self.skip = skip or {}
        # Command-line arguments: a list, or a function that gives one of the
        # platform's path separator ("/" or "\\") and, when it takes a second
        # parameter, of the scratch directory's absolute path as the program
        # sees it (under wine "Z:\\tmp\\...", wine's drive Z: being /).
        self.args = args or []
        self.folders = folders  # folders made in the scratch directory, as paths with "/"
        self.memory_limit = memory_limit  # bytes of data (heap and mappings) the program may have
        # A Python program run in the scratch directory beside the program: the program starts
        # once the watcher has printed its first line, and the case waits for the watcher to end.
        self.watcher = watcher

    def args_for(self, wine, directory=""):
        if callable(self.args):
            separator = "\\" if wine else "/"
            if self.args.__code__.co_argcount == 2:
                seen = "Z:" + directory.replace("/", "\\") if wine else directory
                return self.args(separator, seen)
            return self.args(separator)
        return list(self.args)

    def stdout_for(self, platforms):
        if callable(self.stdout):
            return self.stdout(platforms)
        if not isinstance(self.stdout, dict):
            return self.stdout
        return next(self.stdout[p] for p in platforms if p in self.stdout)

    # A run names its platforms most specific first: ("posix",) on Linux,
    # ("wine", "windows") for the Windows executable under wine, where "wine"
    # marks what wine does differently from Windows itself.
    def stderr_for(self, platforms):
        if callable(self.stderr):
            return self.stderr(platforms)
        if not isinstance(self.stderr, dict):
            return self.stderr
        return next(self.stderr[p] for p in platforms if p in self.stderr)

    def skip_reason(self, platforms):
        return next((self.skip[p] for p in platforms if p in self.skip), None)


def in_system_words(case, windows, posix):
    """The case with a system error's text in the platform's own words: the command line says
    strerror's text on POSIX and Windows' message under wine."""
    given = Case(case.name, {}, b"", b"", 0, stderr=case.stderr)
    case.stderr = lambda platforms: (given.stderr_for(platforms) if "windows" in platforms
                                     else given.stderr_for(platforms).replace(windows, posix))
    return case


def own_check(findings):
    """What convert's and transform's own check of their report prints of what check finds: its
    warnings and errors; notes are check's to print."""
    return b"".join(line for line in findings.splitlines(keepends=True) if b": note: " not in line)


NO_SUCH_FILE = (b"The system cannot find the file specified.", b"No such file or directory")
ACCESS_DENIED = (b"Access Denied.", b"Permission denied")
DISK_FULL = (b"There is not enough space on the disk.", b"No space left on device")


ANSWERS = b"\n" * 10
UNHANDLED = 255  # exit status -1 as the shell sees it
HANDLED = 1

TABLE_HEADER = (b"JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n"
                b"Aperture: 1, Filter: g, JD: heliocentric\n")
SAMPLE_LINE_1 = b"2456175.65873 -0.63823 0.03856 1.32272 0.02160 1.96095 0.03387 0.00569 1.45156 43.47\n"
SAMPLE_LINE_2 = b"2456175.65918 -0.64224 0.03876 1.32227 0.02142 1.96452 0.03419 0.00569 1.44949 43.54\n"
SAMPLE_LINE_3 = b"2456175.65963 -0.66323 0.03692 1.32950 0.02057 1.99273 0.03253 0.00569 1.44743 43.62\n"
DROPPED_LINE = b"2456175.66008 99.999 99.999 1.32950 0.02057 99.999 99.999 0.00569 1.44538 43.69\n"

PARAMETER_HEADERS = [b"Observer parameters for the AAVSO report",
                     b"line 5 code, 6 star, 7 comp, 8 comp mag",
                     b"line 9 filter, 10 chart, 11 check, 12 check mag",
                     b"----"]


def parameters(code=b"ABCD", star=b"RR LYR", comp=b"000-AAA-001", comp_mag=b"12.345",
               filt=b"V", chart=b"12345AB", check=b"000-AAA-002", check_mag=b"13.021"):
    return b"".join(x + b"\n" for x in PARAMETER_HEADERS + [code, star, comp, comp_mag, filt,
                                                            chart, check, check_mag])


PARAMETERS = parameters()
ECHOES = [b"ABCD AAVSO Observer code",
          b"RR LYR      Variable star ID",
          b"000-AAA-001 12.345 Comparison ID & Magnitude",
          b"000-AAA-002 13.021 Check star ID & Magnitude"]
HEADER = report_header(b"ABCD")


def record(date, mag, merr, airmass, star=b"RR LYR     ", filt=b"V     ", comp=b"000-AAA-001",
           check=b"000-AAA-002", chart=b"12345AB "):
    return b",".join([star, date, mag, merr, filt, b"NO", b"STD", comp, b"na", check, b"na",
                      airmass, b"na", chart, b"na"])


RECORD_1 = record(b"2456175.65873", b"11.707", b" 0.039", b" 1.452")
RECORD_2 = record(b"2456175.65918", b"11.703", b" 0.039", b" 1.449")
RECORD_3 = record(b"2456175.65963", b"11.682", b" 0.037", b" 1.447")

WORKED_TABLE = TABLE_HEADER + SAMPLE_LINE_1


def success(name, table, records, params=PARAMETERS, echoes=ECHOES, header=HEADER, env=None,
            extra_files=None, headers=PARAMETER_HEADERS):
    files = {"lightcurve.txt": table, "VARISTELLAR-input.txt": params}
    files.update(extra_files or {})
    return Case(name, files, ANSWERS,
                successful_run(len(records), headers, echoes, header, records), 0,
                after={"lightcurve-aavso.txt": report_file(header, records)}, env=env)


def input_ends_at_each_pause():
    """Standard input that runs out at each of the ten pauses of a successful run.

    The console shows the successful transcript up to that pause's prompt; the
    old report stays untouched until the first write reaches it, which is at
    the end of the run: the header lines are written out when the run ends at
    the ninth pause, the whole report at the tenth."""
    old_report = b"an older and longer report\r\n" * 20
    transcript = successful_run(1, PARAMETER_HEADERS, ECHOES, HEADER, [RECORD_1])
    prompts = [i + len(p) for i in range(len(transcript))
               for p in (ENTER, ANY_KEY) if transcript.startswith(p, i)]
    assert len(prompts) == 10
    report = {8: report_file(HEADER, []), 9: report_file(HEADER, [RECORD_1])}
    cases = []
    for answered, end in enumerate(prompts):
        cases.append(Case(
            "input ends at pause %d of 10" % (answered + 1),
            {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": PARAMETERS,
             "lightcurve-aavso.txt": old_report},
            b"\n" * answered, transcript[:end], UNHANDLED,
            stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=*,..."),
            after={"lightcurve-aavso.txt": report.get(answered, old_report)}))
    return cases


def until_parameters(n):
    """Console output up to the parameter stage's first echo lines."""
    return (BANNER + count_line(n) + ENTER + PARAMETERS_OPENING + PARAMETERS_OPENED
            + header_echo(PARAMETER_HEADERS) + HEADERS_READ)


def thousand_lines(count, start=0):
    """Observation lines whose values never round from a tie, and their records."""
    lines, records = [], []
    for i in range(start, start + count):
        date = b"%.5f" % (2456175.5 + i * 0.00045)
        v_c = Decimal("-0.1%03d12" % (i * 37 % 800 // 1))
        s1 = Decimal("0.0%03d7" % (100 + i % 900))
        airmass = Decimal("1.4%03d3" % (i % 1000))
        lines.append(b"%s %s %s 1.3 0.02 1.9 0.03 0.005 %s 43.4\n"
                     % (date, str(v_c).encode(), str(s1).encode(), str(airmass).encode()))
        records.append(record(date, fixed(Decimal("12.345") + v_c), fixed(s1), fixed(airmass)))
    return b"".join(lines), records


def fixed(value):
    """A 6.3 field of a value that lies well away from a rounding tie."""
    return b"%6s" % str(value.quantize(Decimal("0.001"), rounding=ROUND_HALF_UP)).encode()


FIRST_HALF, FIRST_RECORDS = thousand_lines(500)
SECOND_HALF, SECOND_RECORDS = thousand_lines(500, 500)
LONG_NIGHT, LONG_NIGHT_RECORDS = thousand_lines(4100)

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def source_file(*path):
    with open(os.path.join(ROOT, *path), "rb") as f:
        return f.read()


def sample_night_golden():
    """The sample night, answered at every pause: the committed transcript and report."""
    night = {name: source_file("examples", "sample-night", name)
             for name in ("lightcurve.txt", "VARISTELLAR-input.txt")}
    return Case("the sample night matches its golden transcript and report", night, ANSWERS,
                source_file("tests", "golden", "sample-night-transcript.txt"), 0,
                after={"lightcurve-aavso.txt":
                       source_file("tests", "golden", "sample-night-report.txt")})


CASES = [
    # ---------------------------------------------------------------- success
    success("worked example", WORKED_TABLE, [RECORD_1]),
    success("three observations with a dropped line between",
            TABLE_HEADER + SAMPLE_LINE_1 + DROPPED_LINE + SAMPLE_LINE_2 + SAMPLE_LINE_3,
            [RECORD_1, RECORD_2, RECORD_3]),
    success("CR LF lines, blank and tabbed lines read alike",
            TABLE_HEADER.replace(b"\n", b"\r\n") + b"\r\n   \r\n"
            + SAMPLE_LINE_1.replace(b" ", b"\t").replace(b"\n", b"\r\n") + b"\n\t\n"
            + SAMPLE_LINE_2, [RECORD_1, RECORD_2]),
    success("no observations: header lines only", TABLE_HEADER, []),
    success("every observation dropped", TABLE_HEADER + DROPPED_LINE + DROPPED_LINE, []),
    success("last observation without a line end is kept",
            TABLE_HEADER + SAMPLE_LINE_1 + SAMPLE_LINE_2.rstrip(b"\n"), [RECORD_1, RECORD_2]),
    success("an observation spread over two lines",
            TABLE_HEADER + b"2456175.65873 -0.63823 0.03856 1.32272\n"
            b"0.02160 1.96095 0.03387 0.00569 1.45156 43.47 ignored words\n" + SAMPLE_LINE_2,
            [RECORD_1, RECORD_2]),
    success("eight values take the ninth from the next line",
            TABLE_HEADER + b"2456175.65873 -0.63823 0.03856 1.32272 0.02160 1.96095 0.03387 0.00569\n"
            b"1.45156 this rest is skipped\n" + SAMPLE_LINE_2, [RECORD_1, RECORD_2]),
    success("V-C of exactly 90 stays, NaN stays, infinity is dropped",
            TABLE_HEADER
            + b"2456175.65873 90 0.03856 1 1 1 1 1 1.45156 43\n"
            + b"2456175.65873 NaN 0.03856 1 1 1 1 1 1.45156 43\n"
            + b"2456175.65873 Inf 0.03856 1 1 1 1 1 1.45156 43\n"
            + b"2456175.65873 -inf 0.03856 1 1 1 1 1 1.45156 43\n",
            [record(b"2456175.65873", b"******", b" 0.039", b" 1.452"),
             record(b"2456175.65873", b"   NaN", b" 0.039", b" 1.452"),
             record(b"2456175.65873", b"  -INF", b" 0.039", b" 1.452")]),
    success("fields too narrow for their values are asterisks",
            TABLE_HEADER + b"-2456175.65873 -22.9 1234.5 1 1 1 1 1 -12.25 43\n"
            + b"56175.65873 87.654 -0.0004 1 1 1 1 1 0.0005 43\n",
            [record(b"*************", b"******", b"******", b"******"),
             record(b"  56175.65873", b"99.999", b" 0.000", b" 0.001")]),
    success("null values and repeat counts in an observation line",
            TABLE_HEADER + b"2456175.65873,-0.63823,,1,2,3,4,5,1.45156\n"
            + b"2456175.65918 -0.64224 3*0.03876 2*, 1*5 1.44949\n",
            [record(b"2456175.65873", b"11.707", b" 0.000", b" 1.452"),
             record(b"2456175.65918", b"11.703", b" 0.039", b" 1.449")]),
    success("short and long text values keep their widths",
            WORKED_TABLE,
            [record(b"2456175.65873", b"11.707", b" 0.039", b" 1.452", star=b"V1234 CYGNI",
                    filt=b"Johnso", comp=b"REF STAR 01", check=b"  CHK      ", chart=b"X       ")],
            params=parameters(code=b"AB", star=b"V1234 CYGNI EXTRA", comp=b"REF STAR 01 and more",
                              filt=b"Johnson V", chart=b"X", check=b"  CHK"),
            echoes=[b"AB   AAVSO Observer code", b"V1234 CYGNI Variable star ID",
                    b"REF STAR 01 12.345 Comparison ID & Magnitude",
                    b"  CHK       13.021 Check star ID & Magnitude"],
            header=report_header(b"AB  ")),
    success("decimal comma in the comparison magnitude",
            WORKED_TABLE, [record(b"2456175.65873", b"11.362", b" 0.039", b" 1.452")],
            params=parameters(comp_mag=b"12,345", check_mag=b"1.5D1 trailing words"),
            echoes=ECHOES[:2] + [b"000-AAA-001 12.000 Comparison ID & Magnitude",
                                 b"000-AAA-002 15.000 Check star ID & Magnitude"]),
    success("a word for the comparison magnitude is not-a-number",
            WORKED_TABLE, [record(b"2456175.65873", b"   NaN", b" 0.039", b" 1.452")],
            params=parameters(comp_mag=b"na", check_mag=b"-1234.5"),
            echoes=ECHOES[:2] + [b"000-AAA-001    NaN Comparison ID & Magnitude",
                                 b"000-AAA-002 ****** Check star ID & Magnitude"]),
    success("a blank magnitude line takes the value from the next line",
            WORKED_TABLE, [record(b"2456175.65873", b"11.707", b" 0.039", b" 1.452",
                                  filt=b"12345A", chart=b"000-AAA-", check=b"13.021     ")],
            params=(b"".join(x + b"\n" for x in PARAMETER_HEADERS)
                    + b"ABCD\nRR LYR\n000-AAA-001\n\n12.345\n12345AB\n000-AAA-002\n13.021\n"
                    + b"1.0\n"),
            echoes=ECHOES[:2] + [b"000-AAA-001 12.345 Comparison ID & Magnitude",
                                 b"13.021       1.000 Check star ID & Magnitude"]),
    success("TAB in a parameter line with TABSIZE=3",
            WORKED_TABLE, [record(b"2456175.65873", b"11.707", b" 0.039", b" 1.452",
                                  star=b"RRR   LYR  ")],
            params=parameters(star=b"RRR\tLYR"),
            echoes=[ECHOES[0], b"RRR   LYR   Variable star ID"] + ECHOES[2:],
            env={"TABSIZE": "3"}),
    success("TABSIZE=0 keeps a TAB as it is",
            WORKED_TABLE, [record(b"2456175.65873", b"11.707", b" 0.039", b" 1.452",
                                  star=b"RR\tLYR     ")],
            params=parameters(star=b"RR\tLYR"),
            echoes=[ECHOES[0], b"RR\tLYR      Variable star ID"] + ECHOES[2:],
            env={"TABSIZE": "0"}),
    success("a parameter file whose line 12 has no line end is read whole", WORKED_TABLE,
            [RECORD_1], params=PARAMETERS.rstrip(b"\n")),
    success("a longer old report is fully replaced", WORKED_TABLE, [RECORD_1],
            extra_files={"lightcurve-aavso.txt": b"old line\r\n" * 500}),
    success("exactly 1000 observations, with dropped lines among them",
            TABLE_HEADER + FIRST_HALF + DROPPED_LINE * 3 + SECOND_HALF,
            FIRST_RECORDS + SECOND_RECORDS),

    success("a night of 4100 observations, beyond a block of the table",
            TABLE_HEADER + LONG_NIGHT + DROPPED_LINE, LONG_NIGHT_RECORDS),
    sample_night_golden(),

    # ---------------------------------------------------------------- light-curve failures
    Case("dropped lines after 1000 observations are not counted",
         {"lightcurve.txt": TABLE_HEADER + FIRST_HALF + SECOND_HALF + DROPPED_LINE * 5},
         b"\n\n", BANNER + count_line(1000) + ENTER + PARAMETERS_OPENING,
         UNHANDLED, stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=*,...")),
    Case("no light-curve table: created empty, header read failure", {}, ANSWERS,
         BANNER + HEADER_READ_FAILURE, HANDLED, after={"lightcurve.txt": b""}),
    Case("a one-line light-curve table", {"lightcurve.txt": b"JDHEL V-C s1\n"}, ANSWERS,
         BANNER + HEADER_READ_FAILURE, HANDLED),
    Case("second header line without a line end is read",
         {"lightcurve.txt": TABLE_HEADER.rstrip(b"\n")}, b"\n", BANNER + count_line(0) + ENTER,
         UNHANDLED, stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=*,...")),
    Case("a directory in the light-curve table's place", {"lightcurve.txt": DIRECTORY}, ANSWERS,
         BANNER + OPEN_LIGHT_CURVE_FAILURE, HANDLED),
    Case("a read-only light-curve table", {"lightcurve.txt": readonly(WORKED_TABLE)}, ANSWERS,
         BANNER + OPEN_LIGHT_CURVE_FAILURE, HANDLED, unprivileged=True),
    Case("a malformed number in an observation line",
         {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + b"2456175.65918 -0.64224 0.0387x 1\n"},
         ANSWERS, BANNER, UNHANDLED,
         stderr=unhandled(b"Illegal character in numeric input", b"READ(UNIT=13,...")),
    Case("a table whose column headings stand where numbers belong",
         {"lightcurve.txt": TABLE_HEADER + TABLE_HEADER}, ANSWERS, BANNER, UNHANDLED,
         stderr=unhandled(b"Illegal character in numeric input", b"READ(UNIT=13,...")),

    # ---------------------------------------------------------------- parameter failures
    Case("no parameter file: created empty, line read failure", {"lightcurve.txt": WORKED_TABLE},
         ANSWERS, BANNER + count_line(1) + ENTER + PARAMETERS_OPENING + PARAMETERS_OPENED
         + PARAMETER_READ_FAILURE, HANDLED, after={"VARISTELLAR-input.txt": b""}),
    Case("a directory in the parameter file's place",
         {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": DIRECTORY}, ANSWERS,
         BANNER + count_line(1) + ENTER + PARAMETERS_OPENING + OPEN_PARAMETERS_FAILURE, HANDLED),
    Case("a read-only parameter file",
         {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": readonly(PARAMETERS)}, ANSWERS,
         BANNER + count_line(1) + ENTER + PARAMETERS_OPENING + OPEN_PARAMETERS_FAILURE, HANDLED,
         unprivileged=True),
    Case("a parameter file of three lines",
         {"lightcurve.txt": WORKED_TABLE,
          "VARISTELLAR-input.txt": b"".join(h + b"\n" for h in PARAMETER_HEADERS[:3])},
         ANSWERS, BANNER + count_line(1) + ENTER + PARAMETERS_OPENING + PARAMETERS_OPENED
         + header_echo(PARAMETER_HEADERS[:3]) + PARAMETER_READ_FAILURE, HANDLED),
    Case("a parameter file that ends after line 7",
         {"lightcurve.txt": WORKED_TABLE,
          "VARISTELLAR-input.txt": b"".join(x + b"\n" for x in PARAMETER_HEADERS)
          + b"ABCD\nRR LYR\n000-AAA-001\n"},
         ANSWERS, until_parameters(1) + line(ECHOES[0]) + line(ECHOES[1]), UNHANDLED,
         stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=14,...")),
    Case("a word in place of the comparison magnitude",
         {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": parameters(comp_mag=b"abc")},
         ANSWERS, until_parameters(1) + line(ECHOES[0]) + line(ECHOES[1]), UNHANDLED,
         stderr=unhandled(b"Illegal character in numeric input", b"READ(UNIT=14,...")),
    Case("line 11 as the last line without a line end is read, line 12 then missing",
         {"lightcurve.txt": WORKED_TABLE,
          "VARISTELLAR-input.txt": parameters()[:-len(b"\n13.021\n")]},
         ANSWERS, until_parameters(1) + b"".join(line(e) for e in ECHOES[:3]), UNHANDLED,
         stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=14,...")),

    # ---------------------------------------------------------------- report failures
    Case("a directory in the report's place",
         {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": PARAMETERS,
          "lightcurve-aavso.txt": DIRECTORY}, ANSWERS,
         until_parameters(1) + b"".join(line(e) for e in ECHOES) + PARAMETERS_READ + CONVERTED
         + REPORT_OPENING, UNHANDLED,
         stderr=unhandled(b"Access Denied.", b"OPEN(UNIT=15,...", system=True)),
    Case("a read-only old report stays unchanged",
         {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": PARAMETERS,
          "lightcurve-aavso.txt": readonly(b"old report\r\n")}, ANSWERS,
         until_parameters(1) + b"".join(line(e) for e in ECHOES) + PARAMETERS_READ + CONVERTED
         + REPORT_OPENING, UNHANDLED,
         stderr=unhandled(b"Access Denied.", b"OPEN(UNIT=15,...", system=True), unprivileged=True),
    Case("a full disk under the report",
         {"lightcurve.txt": WORKED_TABLE, "VARISTELLAR-input.txt": PARAMETERS,
          "lightcurve-aavso.txt": symlink("/dev/full")}, ANSWERS,
         until_parameters(1) + b"".join(line(e) for e in ECHOES) + PARAMETERS_READ + CONVERTED
         + REPORT_OPENING + REPORT_OPENED, UNHANDLED,
         stderr=unhandled(b"There is not enough space on the disk.", b"WRITE(UNIT=15,...",
                          system=True)),

    # ---------------------------------------------------------------- console
    Case("no console input at the first pause", {"lightcurve.txt": WORKED_TABLE}, b"", BANNER,
         UNHANDLED, stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=*,...")),
    Case("typed text at a pause is discarded; input ends at the any-key pause",
         {"lightcurve.txt": WORKED_TABLE}, b"some words\n  more\n",
         BANNER + count_line(1) + ENTER + PARAMETERS_OPENING, UNHANDLED,
         stderr=unhandled(b"Attempt to read past end of file", b"READ(UNIT=*,...")),
    Case("a closed standard output",
         {"lightcurve.txt": WORKED_TABLE}, ANSWERS, b"", UNHANDLED,
         stderr={"posix": unhandled(b"Broken pipe", b"WRITE(UNIT=*,...", system=True),
                 "windows": unhandled(b"The pipe is being closed.", b"WRITE(UNIT=*,...",
                                      system=True),
                 # wine reports the closed pipe as code 233, not 232, in its own words
                 "wine": unhandled(b"Pipe not connected.", b"WRITE(UNIT=*,...", system=True)},
         close_stdout=True),
    # With standard error closed, the report of the malformed line must not
    # end up in the light-curve table, nor anywhere else.
    Case("a closed standard error never receives a file",
         {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + b"2456175.65918 -0.64224 0.0387x 1\n"},
         ANSWERS, BANNER, UNHANDLED, close_stderr=True),
] + input_ends_at_each_pause()
