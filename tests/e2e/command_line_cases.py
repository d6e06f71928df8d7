"""End-to-end cases of the command line: varistellar COMMAND ..."""

from cases import (DIRECTORY, NO_SUCH_FILE, PARAMETERS, RECORD_1, RECORD_2, TABLE_HEADER,
                   SAMPLE_LINE_1, SAMPLE_LINE_2, DROPPED_LINE, Case, in_system_words, parameters,
                   source_file, symlink)

VERSION = b"1.1.0"


def console(text, platforms):
    """Console lines as the platform ends them."""
    return text.replace(b"\n", b"\r\n") if "windows" in platforms else text


def on_console(text):
    return lambda platforms: console(text, platforms)


def trimmed(record):
    """An interactive record with the edge blanks of its fields removed."""
    return b",".join(field.strip(b" ") for field in record.split(b","))


def aavso_report(records, code=b"ABCD", date=b"HJD"):
    header = [b"#TYPE=Extended", b"#OBSCODE=" + code,
              b"#SOFTWARE=MAGNIVEX via VARISTELLAR " + VERSION, b"#DELIM=,", b"#DATE=" + date,
              b"#OBSTYPE=CCD",
              b"#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES"]
    return b"".join(line + b"\r\n" for line in header + records)


def plural(count):
    return b"" if count == 1 else b"s"


def summary(table, lines, written, dropped, first, last, report, left_out=0):
    return (b"%s: %d observation line%s: %d written, %d dropped (V-C above 90), %d left out "
            b"(MERR of 1.0 or more)\n" % (table, lines, plural(lines), written, dropped, left_out)
            + b"star RR LYR, filter V, observer ABCD, chart 12345AB\n"
            + b"comparison star 000-AAA-001 (12.345), check star 000-AAA-002 (13.021)\n"
            + b"dates (HJD): %s to %s\n" % (first, last)
            + b"wrote %s: %d observation%s\n" % (report, written, plural(written)))


def more(count):
    return b"" if count == 1 else b" (and 1 more line)" if count == 2 else b" (and %d more lines)" % (
        count - 1)


def sample_findings(report, count, notes=False):
    """What check finds in convert's report of RR LYR without --check-star: a single comparison
    star with no CMAG, a check star with no KMAG, no CREFMAG subfields (a note, which check
    prints and convert's own check does not)."""
    found = (b"%s:8:56: warning: MTYPE STD with comparison star \"000-AAA-001\" and CMAG na: the "
             b"check star's magnitude (K - C) cannot be derived%s [R13b]\n" % (report, more(count))
             + b"%s:8:71: warning: KNAME \"000-AAA-002\" is given with KMAG na%s [R15b]\n"
             % (report, more(count)))
    if notes:
        found += (b"%s:8:91: note: MTYPE STD with a single comparison star and no CREFMAG / KREFMAG "
                  b"in NOTES: the observation cannot be transformed later%s [R21]\n"
                  % (report, more(count)))
    return found


def sample_quality(table):
    """convert's warning of the sample night's check star: its catalogue magnitude on line 12 is
    made up, 2.6 magnitudes fainter than the star the table measures."""
    return (b"%s: warning: quality: check star 000-AAA-002 V is 2.64 brighter than its catalogue "
            b"magnitude 13.021: is it the right star, the right catalogue magnitude and the right "
            b"filter?\n" % table)


def converted_findings(report, count, notes=False, table=None):
    """What convert says of its report of the sample night's rows after the summary: the
    quality warning of the table (lightcurve.txt beside the report unless named), then what
    its own check of the report finds."""
    if table is None:
        table = report[:-len(b"lightcurve-aavso.txt")] + b"lightcurve.txt"
    return sample_quality(table) + sample_findings(report, count, notes)


FOLDER = "Nuit-été"
TABLE = "ночь.txt"
REPORT = "отчёт-été.txt"


def in_folder(platforms, name):
    return FOLDER.encode() + sep(platforms) + name


NIGHT = {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + DROPPED_LINE + SAMPLE_LINE_2,
         "VARISTELLAR-input.txt": PARAMETERS}
NIGHT_REPORT = aavso_report([trimmed(RECORD_1), trimmed(RECORD_2)])
# With --check-star, which leaves check nothing to warn of.
NIGHT_CHECK_STAR_REPORT = aavso_report([
    b"RR LYR,2456175.65873,11.707,0.039,V,NO,STD,000-AAA-001,0.000,000-AAA-002,-1.961,1.452,na,"
    b"12345AB,|VMAGINS=-0.638|CMAGINS=0.000|KMAGINS=-1.961|CREFMAG=12.345|KREFMAG=13.021",
    b"RR LYR,2456175.65918,11.703,0.039,V,NO,STD,000-AAA-001,0.000,000-AAA-002,-1.965,1.449,na,"
    b"12345AB,|VMAGINS=-0.642|CMAGINS=0.000|KMAGINS=-1.965|CREFMAG=12.345|KREFMAG=13.021"])
# The sample rows' check star stands at 10.384: with that as its catalogue
# magnitude the night draws no quality warning.
FITTING_PARAMETERS = parameters(check_mag=b"10.384")
FITTING_CHECK_STAR_REPORT = NIGHT_CHECK_STAR_REPORT.replace(b"KREFMAG=13.021", b"KREFMAG=10.384")
OLD_REPORT = b"an old report\r\n"
USAGE_HINT = b"Try 'varistellar --help' for the commands and options.\n"


def usage(args, message):
    return Case("usage error: " + " ".join(args), {}, b"", b"", 2, args=args,
                stderr=on_console(b"varistellar: " + message + b"\n" + USAGE_HINT))


def failing(name, files, args, errors, after=None, count=None, skip=None, folders=()):
    count = count if count is not None else errors.count(b": error: ")
    tail = b"varistellar: %d error%s; nothing was written\n" % (count, b"" if count == 1 else b"s")
    return Case(name, files, b"", b"", 1, args=args, stderr=on_console(errors + tail),
                after=after, skip=skip, folders=folders)


def sample_night_convert(name="convert: the sample night is the interactive report without edge "
                                "blanks", **options):
    """The sample night's report from convert: the golden interactive report, trimmed."""
    night = {name: source_file("examples", "sample-night", name)
             for name in ("lightcurve.txt", "VARISTELLAR-input.txt")}
    golden = source_file("tests", "golden", "sample-night-report.txt").split(b"\r\n")[7:-1]
    report = aavso_report([trimmed(r) for r in golden])
    first, last = golden[0].split(b",")[1], golden[-1].split(b",")[1]
    return Case(name, night,
                b"", on_console(summary(b"lightcurve.txt", 320, 316, 4, first, last,
                                        b"lightcurve-aavso.txt")), 0,
                args=["convert"], after={"lightcurve-aavso.txt": report},
                stderr=on_console(converted_findings(b"lightcurve-aavso.txt", 316)), **options)



# A report of 2008, before the format's parameter lines: comments, then rows with errors.
DAMAGED_REPORT = (
    b"# TransformApplier output\n# 2008\n"
    b"#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES\n"
    b"SS CYG,2456175.65873,11,0.039,Rc,NO,DIFF,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n"
    b"SS CYG,2456175.65874,11.707,0.039,V,NO,STD,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n"
    b"SS CYG,2456175.65875,11,0.039,Rc,NO,DIFF,ENSEMBLE,na,na,na,1.452,,12345AB,na\n")
DAMAGED_FINDINGS = (
    b"old.txt:4: error: an observation before #TYPE, #OBSCODE, #SOFTWARE, #DELIM and #DATE "
    b"(and 2 more lines) [F8]\n"
    b'old.txt:4:22: error: MAG "11" has no decimal point (write 9.0, not 9) (and 1 more line) [R7]\n'
    b'old.txt:4:31: error: FILT "Rc" is not a filter of the format (and 1 more line) [R9]\n'
    b'old.txt:4:37: error: MTYPE "DIFF" is not STD, DIF or ABS (and 1 more line) [R11]\n'
    b"old.txt:6:66: error: GROUP is empty; write na for a missing value [R2]\n"
    b"old.txt: error: #TYPE=EXTENDED is missing [P1]\n"
    b"old.txt: error: #OBSCODE= is missing [P2]\n"
    b"old.txt: error: #SOFTWARE= is missing [P4]\n"
    b"old.txt: error: #DELIM= is missing [P5]\n"
    b"old.txt: error: #DATE= is missing [P6]\n"
    b"old.txt: note: #OBSTYPE is missing; CCD is assumed [P7]\n"
    b"old.txt: note: 3 observation lines [F10]\n"
    b"old.txt: 3 observations, 10 errors, 0 warnings, 2 notes\n")

CASES = [
    Case("--version", {}, b"", on_console(b"varistellar " + VERSION + b"\n"), 0,
         args=["--version"]),
    usage(["frobnicate"], b"unknown command 'frobnicate'"),
    usage(["--bogus"], b"unknown option '--bogus'"),
    usage(["convert", "--tabel", "x"], b"unknown option '--tabel' for convert"),
    usage(["convert", "--table"], b"option '--table' needs a FILE"),
    usage(["convert", "--date", "BJD"], b"option '--date' takes HJD or JD, not 'BJD'"),
    usage(["convert", "a", "b"], b"several FOLDERs make one report: name it with --report FILE"),
    usage(["convert", "--report", "r.txt", "--table", "t.txt", "a", "b"],
          b"option '--table' names one night's file; with several FOLDERs each holds its own"),
    usage(["convert", "--report", "r.txt", "a", "--parameters=p.txt", "b"],
          b"option '--parameters' names one night's file; with several FOLDERs each holds its own"),
    usage(["check"], b"check needs at least one FILE"),
    sample_night_convert(),
    Case("convert: a night in another folder, with an old report replaced",
         {"night/" + k: v for k, v in NIGHT.items()} | {"night/lightcurve-aavso.txt": OLD_REPORT},
         b"", lambda p: console(summary(b"night%slightcurve.txt" % sep(p), 3, 2, 1,
                                        b"2456175.65873", b"2456175.65918",
                                        b"night%slightcurve-aavso.txt" % sep(p)), p),
         0, args=["convert", "night"], folders=["night"],
         stderr=lambda p: console(converted_findings(b"night%slightcurve-aavso.txt" % sep(p), 2), p),
         after={"night/lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("convert --quiet with named files and --date JD",
         {"t.txt": NIGHT["lightcurve.txt"], "p.txt": PARAMETERS}, b"", b"", 0,
         args=["convert", "--quiet", "--table", "t.txt", "--parameters=p.txt", "--report",
               "r.txt", "--date", "JD"],
         stderr=on_console(converted_findings(b"r.txt", 2, notes=False, table=b"t.txt")),
         after={"r.txt": aavso_report([trimmed(RECORD_1).replace(b"2456175.65873", b"2456175.65304"),
                                       trimmed(RECORD_2).replace(b"2456175.65918", b"2456175.65349")],
                                      date=b"JD")}),
    failing("convert: bad values are listed with line and column; the old report stays",
            {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1
             + b"2460600.28403-0.98803 1 2 3 4 5 6 7 8\n"
             + b"2456175.65873 -0.63823 0,00655 1 1 1 1 1 1 1\n"
             + b"2456175.65873 -0.63823 0.0l234 1 1 1 1 1 1 1\n"
             + b"2456175.65873 -0.63823 0.03856 1.32272 0.02160 1.96095 0.03387 0.00569 1.45156\n",
             "VARISTELLAR-input.txt": PARAMETERS, "lightcurve-aavso.txt": OLD_REPORT},
            ["convert"],
            b'lightcurve.txt:4:1: error: "2460600.28403-0.98803" (value 1, JDHEL) is not a plain '
            b'decimal number; two numbers run together? Put a blank between them\n'
            b'lightcurve.txt:5:24: error: "0,00655" (value 3, s1) is not a plain decimal number; '
            b'write a point for the decimals, not a comma\n'
            b'lightcurve.txt:6:24: error: "0.0l234" (value 3, s1) is not a plain decimal number\n'
            b'lightcurve.txt:7: error: the line holds 9 values; an observation line holds ten: '
            b'JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n'),
    in_system_words(
        failing("convert: missing files are errors and are not created", {}, ["convert"],
                b"VARISTELLAR-input.txt: error: cannot open the parameter file: The system cannot "
                b"find the file specified.\n"
                b"lightcurve.txt: error: cannot open the light-curve table: The system cannot "
                b"find the file specified.\n"), *NO_SUCH_FILE),
    # The command line speaks the platform's words, where the interactive run keeps its own.
    failing("convert: a missing table is told in the system's own words on Linux",
            {"VARISTELLAR-input.txt": PARAMETERS}, ["convert"],
            b"lightcurve.txt: error: cannot open the light-curve table: No such file or "
            b"directory\n", skip={"wine": "Windows says it in its own words"}),
    failing("convert: parameter lines that would misread",
            {"lightcurve.txt": NIGHT["lightcurve.txt"],
             "VARISTELLAR-input.txt": PARAMETERS.replace(b"12.345", b"12,345")
             .replace(b"\nV\n", b"\n\n")},
            ["convert"],
            b'VARISTELLAR-input.txt:8:1: error: the comparison star\'s magnitude "12,345" is not '
            b'a plain decimal number; write it like 12.345 (a point, no comma, nothing else on '
            b'the line)\n'
            b"VARISTELLAR-input.txt:9: error: line 9 must hold the filter, but it is empty\n"),
    failing("convert: a folder in the report's place",
            NIGHT | {"lightcurve-aavso.txt": DIRECTORY}, ["convert"],
            b"lightcurve-aavso.txt: error: cannot write the report: it is a folder\n"),
    failing("convert: a report name the AAVSO's upload refuses",
            NIGHT, ["convert", "--report", "night.dat"],
            b"night.dat: error: the report's name must end in .txt, .csv or .tsv, as the AAVSO's "
            b"upload requires\n"),
    # 4 MiB leave no room for the second thread's stack: the report is read
    # back and checked after the writing, with the same findings.
    sample_night_convert("convert: without memory for a second thread the report is checked all "
                         "the same", memory_limit=4 << 20,
                         skip={"wine": "wine needs more memory than the limit",
                               "sanitized": "the sanitizers need more memory than the limit"}),
    Case("convert: out of memory ends with a message and leaves no temporary file",
         NIGHT | {"lightcurve-aavso.txt": OLD_REPORT}, b"", b"", 1, args=["convert"],
         stderr=b"varistellar: out of memory; nothing was written\n", memory_limit=640 << 10,
         skip={"wine": "wine needs more memory than the limit",
               "sanitized": "the sanitizers need more memory than the limit"}),
    failing("convert: a full disk leaves no temporary file",
            NIGHT | {"lightcurve-aavso.txt": symlink("/dev/full")}, ["convert"],
            b"lightcurve-aavso.txt: error: cannot write the report: No space left on device\n",
            skip={"wine": "Windows has no /dev/full; to wine the link is an ordinary file"}),
    failing("convert: a filter the AAVSO does not know is an error of the parameter file",
            NIGHT | {"VARISTELLAR-input.txt": PARAMETERS.replace(b"\nV\n", b"\nRc\n"),
                     "lightcurve-aavso.txt": OLD_REPORT}, ["convert"],
            b'VARISTELLAR-input.txt:9:1: error: the filter "Rc" is not one of the AAVSO\'s: use U, '
            b"B, V, R, I, J, H, K, TG, TB, TR, CV, CR, SZ, SU, SG, SR, SI, STU, STV, STB, STY, "
            b"STHBW, STHBN, MA, MB, MI, ZS, Y, HA or HAC (Rc is R, Ic is I, a clear filter is CV)\n"),
    # A pipe takes the report as it is written, no temporary file beside
    # /dev/stdout; its lines are checked as they go, with what a file's check says.
    Case("convert: a report sent down a pipe is written as it goes", NIGHT, b"", NIGHT_REPORT, 0,
         args=["convert", "--quiet", "--report", "/dev/stdout"],
         stderr=converted_findings(b"/dev/stdout", 2, notes=False, table=b"lightcurve.txt"),
         skip={"wine": "Windows has no /dev/stdout"}),
    Case("convert: MERR of 1.0 or more is left out with a warning",
         {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1
          + SAMPLE_LINE_2.replace(b" 0.03876 ", b" 0.99951 "),
          "VARISTELLAR-input.txt": PARAMETERS}, b"",
         on_console(summary(b"lightcurve.txt", 2, 1, 0, b"2456175.65873", b"2456175.65873",
                            b"lightcurve-aavso.txt", left_out=1)), 0, args=["convert"],
         stderr=on_console(b"lightcurve.txt:4: warning: MERR 1.000 is 1.0 or more, which the "
                           b"AAVSO does not accept: the observation is left out of the report\n"
                           + converted_findings(b"lightcurve-aavso.txt", 1)),
         after={"lightcurve-aavso.txt": aavso_report([trimmed(RECORD_1)])}),
] + [
    # Names that are not ASCII: UTF-8 bytes on Linux, wide characters on
    # Windows (the arguments and every file call), UTF-8 again in messages.
    Case("convert: a folder whose name is not ASCII, with an old report replaced",
         {FOLDER + "/" + k: v for k, v in NIGHT.items()} | {FOLDER + "/lightcurve-aavso.txt": OLD_REPORT},
         b"", lambda p: console(summary(in_folder(p, b"lightcurve.txt"), 3, 2, 1, b"2456175.65873",
                                        b"2456175.65918", in_folder(p, b"lightcurve-aavso.txt")), p),
         0, args=["convert", FOLDER], folders=[FOLDER],
         stderr=lambda p: console(converted_findings(in_folder(p, b"lightcurve-aavso.txt"), 2), p),
         after={FOLDER + "/lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("convert: --table, --parameters and --report files whose names are not ASCII",
         {TABLE: NIGHT["lightcurve.txt"], "paramètres.txt": PARAMETERS, REPORT: OLD_REPORT}, b"",
         on_console(summary(TABLE.encode(), 3, 2, 1, b"2456175.65873", b"2456175.65918",
                            REPORT.encode())),
         0, args=["convert", "--table", TABLE, "--parameters", "paramètres.txt", "--report", REPORT],
         stderr=on_console(converted_findings(REPORT.encode(), 2, table=TABLE.encode())), after={REPORT: NIGHT_REPORT}),
    in_system_words(
        failing("convert: a missing table whose name is not ASCII",
                {"VARISTELLAR-input.txt": PARAMETERS}, ["convert", "--table", TABLE],
                TABLE.encode() + b": error: cannot open the light-curve table: The system "
                b"cannot find the file specified.\n"), *NO_SUCH_FILE),
    # Windows paths proper: a drive letter, backslashes, and the forward
    # slashes Windows takes too; wine's drive Z: is the root of the Linux files.
    # The check star's catalogue magnitude fits what the table measures, so
    # that no quality warning names the scratch folder's path.
    Case("convert: a folder given as Z:\\...\\Nuit-été, its old report replaced",
         {FOLDER + "/lightcurve.txt": NIGHT["lightcurve.txt"],
          FOLDER + "/VARISTELLAR-input.txt": FITTING_PARAMETERS,
          FOLDER + "/lightcurve-aavso.txt": OLD_REPORT},
         b"", b"", 0, args=lambda separator, directory: ["convert", "--quiet", "--check-star",
                                            directory + "\\" + FOLDER],
         folders=[FOLDER], after={FOLDER + "/lightcurve-aavso.txt": FITTING_CHECK_STAR_REPORT},
         skip={"posix": "drive letters and backslashes are Windows paths"}),
    Case("convert: --table, --parameters and --report as Z:/... and Z:\\... paths",
         {TABLE: NIGHT["lightcurve.txt"], FOLDER + "/VARISTELLAR-input.txt": FITTING_PARAMETERS,
          FOLDER + "/" + REPORT: OLD_REPORT},
         b"", b"", 0,
         args=lambda separator, directory: [
             "convert", "--quiet", "--check-star", "--table", directory.replace("\\", "/") + "/" + TABLE,
             "--parameters=" + directory + "\\" + FOLDER + "\\VARISTELLAR-input.txt",
             "--report", directory + "\\" + FOLDER + "\\" + REPORT],
         folders=[FOLDER], after={FOLDER + "/" + REPORT: FITTING_CHECK_STAR_REPORT},
         skip={"posix": "drive letters and backslashes are Windows paths"}),
] + [
    # A night's folder or files dropped on the program: Windows starts it with
    # their paths alone, and it converts that night as `convert FOLDER` does.
    # (Its console is shared with the runner here, so it does not wait.)
    Case(f"a night's folder alone: {label}",
         {FOLDER + "/" + k: v for k, v in NIGHT.items()} | {FOLDER + "/lightcurve-aavso.txt": OLD_REPORT},
         b"", lambda p: console(summary(in_folder(p, b"lightcurve.txt"), 3, 2, 1, b"2456175.65873",
                                        b"2456175.65918", in_folder(p, b"lightcurve-aavso.txt")), p),
         0, args=end, folders=[FOLDER],
         stderr=lambda p: console(converted_findings(in_folder(p, b"lightcurve-aavso.txt"), 2), p),
         after={FOLDER + "/lightcurve-aavso.txt": NIGHT_REPORT})
    for label, end in (("converted as convert FOLDER", [FOLDER]),
                       ("a separator at its end", lambda separator: [FOLDER + separator]))
] + [
    Case("a night's files alone convert their folder, in any order",
         {FOLDER + "/" + k: v for k, v in NIGHT.items()}, b"",
         lambda p: console(summary(in_folder(p, b"lightcurve.txt"), 3, 2, 1, b"2456175.65873",
                                   b"2456175.65918", in_folder(p, b"lightcurve-aavso.txt")), p),
         0, args=lambda separator: [FOLDER + separator + "VARISTELLAR-input.txt",
                                    FOLDER + separator + "lightcurve.txt"], folders=[FOLDER],
         stderr=lambda p: console(converted_findings(in_folder(p, b"lightcurve-aavso.txt"), 2), p),
         after={FOLDER + "/lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("a night's file alone, from the current folder",
         dict(NIGHT), b"",
         on_console(summary(b"lightcurve.txt", 3, 2, 1, b"2456175.65873", b"2456175.65918",
                            b"lightcurve-aavso.txt")),
         0, args=["lightcurve.txt"],
         stderr=on_console(converted_findings(b"lightcurve-aavso.txt", 2)),
         after={"lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("files of two folders are no night", {"a/x.txt": b"x", "b/y.txt": b"y"}, b"", b"", 2,
         args=lambda separator: ["a" + separator + "x.txt", "b" + separator + "y.txt"],
         folders=["a", "b"],
         stderr=lambda p: console(b"varistellar: the files of one night are in one folder, but 'a"
                                  + sep(p) + b"x.txt' and 'b" + sep(p) + b"y.txt' are not\n"
                                  + USAGE_HINT, p)),
    usage(["night", "lightcurve.txt"], b"unknown command 'night'"),
] + [
    # Dropped files are sorted by what they are, whatever their names.
    Case("a table of another name dropped with its parameter file converts their folder",
         {FOLDER + "/V-nuit.txt": NIGHT["lightcurve.txt"], FOLDER + "/réglages.txt": PARAMETERS},
         b"",
         lambda p: console(summary(in_folder(p, b"V-nuit.txt"), 3, 2, 1, b"2456175.65873",
                                   b"2456175.65918", in_folder(p, b"lightcurve-aavso.txt")), p),
         0, args=lambda separator: [FOLDER + separator + "réglages.txt",
                                    FOLDER + separator + "V-nuit.txt"], folders=[FOLDER],
         stderr=lambda p: console(converted_findings(in_folder(p, b"lightcurve-aavso.txt"), 2,
                                                     table=in_folder(p, b"V-nuit.txt")), p),
         after={FOLDER + "/lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("two reports dropped alone are checked, each in its own folder",
         {"a/one.txt": NIGHT_REPORT, "b/two.txt": NIGHT_REPORT}, b"",
         lambda p: console(b"".join(
             sample_findings(name, 2, notes=True) + b"%s: note: 2 observation lines [F10]\n"
             b"%s: 2 observations, 0 errors, 2 warnings, 2 notes\n" % (name, name)
             for name in (b"a" + sep(p) + b"one.txt", b"b" + sep(p) + b"two.txt")), p),
         0, args=lambda separator: ["a" + separator + "one.txt", "b" + separator + "two.txt"],
         folders=["a", "b"]),
    Case("a damaged report dropped alone is checked: comment lines, then rows",
         {"old.txt": DAMAGED_REPORT}, b"", on_console(DAMAGED_FINDINGS), 1, args=["old.txt"]),
    Case("--identify tells the page what each file is, one line each",
         {"lightcurve.txt": NIGHT["lightcurve.txt"], "p.txt": PARAMETERS, "old.txt": DAMAGED_REPORT,
          "notes.txt": b"clouds\n"}, b"",
         on_console(b"lightcurve.txt: table MAGNIVEX\np.txt: parameters\nold.txt: report\n"
                    b"notes.txt: unknown\nmissing.txt: unknown\n"), 0,
         args=["--identify", "lightcurve.txt", "p.txt", "old.txt", "notes.txt", "missing.txt"]),
    usage(["--identify"], b"'--identify' needs at least one FILE"),
    Case("a night's files dropped with its old report convert it; the report is passed over",
         {FOLDER + "/" + k: v for k, v in NIGHT.items()}
         | {FOLDER + "/lightcurve-aavso.txt": aavso_report([trimmed(RECORD_1)])},
         b"",
         lambda p: console(summary(in_folder(p, b"lightcurve.txt"), 3, 2, 1, b"2456175.65873",
                                   b"2456175.65918", in_folder(p, b"lightcurve-aavso.txt")), p),
         0, args=lambda separator: [FOLDER + separator + name for name in (
             "lightcurve-aavso.txt", "lightcurve.txt", "VARISTELLAR-input.txt")], folders=[FOLDER],
         stderr=lambda p: console(converted_findings(in_folder(p, b"lightcurve-aavso.txt"), 2), p),
         after={FOLDER + "/lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("a night's files dropped with its old report and picture convert it; both are passed over",
         {FOLDER + "/" + k: v for k, v in NIGHT.items()}
         | {FOLDER + "/lightcurve-aavso.txt": aavso_report([trimmed(RECORD_1)]),
            FOLDER + "/lightcurve-aavso.svg": b'<?xml version="1.0" encoding="UTF-8"?>\n<svg></svg>\n'},
         b"",
         lambda p: console(summary(in_folder(p, b"lightcurve.txt"), 3, 2, 1, b"2456175.65873",
                                   b"2456175.65918", in_folder(p, b"lightcurve-aavso.txt")), p),
         0, args=lambda separator: [FOLDER + separator + name for name in (
             "lightcurve-aavso.svg", "lightcurve-aavso.txt", "lightcurve.txt",
             "VARISTELLAR-input.txt")], folders=[FOLDER],
         stderr=lambda p: console(converted_findings(in_folder(p, b"lightcurve-aavso.txt"), 2), p),
         after={FOLDER + "/lightcurve-aavso.txt": NIGHT_REPORT}),
    Case("two tables dropped together are no one night",
         {FOLDER + "/lightcurve.txt": NIGHT["lightcurve.txt"], FOLDER + "/B.txt": NIGHT["lightcurve.txt"]},
         b"", b"", 2,
         args=lambda separator: [FOLDER + separator + "lightcurve.txt", FOLDER + separator + "B.txt"],
         folders=[FOLDER],
         stderr=lambda p: console(b"varistellar: '" + in_folder(p, b"lightcurve.txt") + b"' and '"
                                  + in_folder(p, b"B.txt") + b"' are both light-curve tables; drop "
                                  b"one night's files, or the nights' folders\n" + USAGE_HINT, p)),
    Case("a dropped file that is none of the night's is named",
         {FOLDER + "/lightcurve.txt": NIGHT["lightcurve.txt"], FOLDER + "/notes.txt": b"clouds\n"},
         b"", b"", 2,
         args=lambda separator: [FOLDER + separator + "lightcurve.txt",
                                 FOLDER + separator + "notes.txt"], folders=[FOLDER],
         stderr=lambda p: console(b"varistellar: '" + in_folder(p, b"notes.txt")
                                  + b"' is not a light-curve table, a parameter file, a "
                                  b"coefficient file or an AAVSO report\n" + USAGE_HINT, p)),
]


def sep(platforms):
    return b"\\" if "windows" in platforms else b"/"
