"""End-to-end cases of what messages show: names and arguments escaped, and messages that say
what really happened."""

from cases import PARAMETERS, RECORD_1, RECORD_2, SAMPLE_LINE_1, TABLE_HEADER, Case
from command_line_cases import (NIGHT, NIGHT_REPORT, USAGE_HINT, aavso_report, on_console,
                                sample_findings, converted_findings, sample_quality, sep, summary, trimmed)
from report_transform_cases import BV, HEADER, INI, transformed
from transform_cases import COEFFICIENTS, coefficient_file

ESCAPE = "\x1b[2J\x1b]0;hi\x07"  # clears the screen and sets the window's title
SHOWN_ESCAPE = b"\\x1B[2J\\x1B]0;hi\\x07"
FOLDER = "ni\ngh" + ESCAPE + "t"
SHOWN_FOLDER = b"ni\\x0Agh" + SHOWN_ESCAPE + b"t"


def usage(name, args, message, files=None, folders=()):
    return Case("message: " + name, files or {}, b"", b"", 2, args=args, folders=folders,
                stderr=on_console(b"varistellar: " + message + b"\n" + USAGE_HINT))


def in_folder(folder, files):
    return {folder + "/" + name: content for name, content in files.items()}


def night_summary(folder, platforms):
    path = folder + sep(platforms)
    return summary(path + b"lightcurve.txt", 3, 2, 1, b"2456175.65873", b"2456175.65918",
                   path + b"lightcurve-aavso.txt")


# Windows refuses control characters and '"' in names.
NOT_ON_WINDOWS = {"windows": "Windows names hold no control characters and no '\"'"}


def converted(name, folder, shown, args, skip=None):
    return Case("message: " + name, in_folder(folder, NIGHT), b"",
                lambda p: on_console(night_summary(shown, p))(p), 0, args=args(folder),
                folders=[folder],
                stderr=lambda p: on_console(
                    converted_findings(shown + sep(p) + b"lightcurve-aavso.txt", 2))(p),
                after={folder + "/lightcurve-aavso.txt": NIGHT_REPORT}, skip=skip)


def nights_in(folders):
    return {f + "/" + name: content for f, filt in folders.items()
            for name, content in (("lightcurve.txt", NIGHT["lightcurve.txt"]),
                                  ("VARISTELLAR-input.txt", PARAMETERS.replace(b"\nV\n", filt)))}


DROPPED_REPORT = aavso_report([trimmed(RECORD_1.replace(b"V     ", b"B     ")), trimmed(RECORD_1),
                               trimmed(RECORD_2.replace(b"V     ", b"B     ")), trimmed(RECORD_2)])


def dropped_nights(platforms):
    s = sep(platforms)
    return on_console(
        b"n1%slightcurve.txt: 3 observation lines: 2 written, 1 dropped (V-C above 90), 0 left out "
        b"(MERR of 1.0 or more)\n" % s
        + b"n2%slightcurve.txt: 3 observation lines: 2 written, 1 dropped (V-C above 90), 0 left out "
        b"(MERR of 1.0 or more)\n" % s
        + b"star RR LYR, filters B, V, observer ABCD, chart 12345AB\n"
        b"comparison star 000-AAA-001 (B 12.345, V 12.345), check star 000-AAA-002 "
        b"(B 13.021, V 13.021)\n"
        b"dates (HJD): 2456175.65873 to 2456175.65918\n"
        b"wrote lightcurve-aavso.txt: 4 observations\n")(platforms)


def dropped_findings(platforms):
    # The same sample rows in B and V: the check star is as far from line 12 in both.
    quality = b"".join(sample_quality(b"n%d%slightcurve.txt" % (n, sep(platforms))).replace(
        b" V is ", b" %s is " % filt) for n, filt in ((1, b"B"), (2, b"V")))
    return on_console(quality +
        b"lightcurve-aavso.txt:8:56: warning: MTYPE STD with comparison star \"000-AAA-001\" and "
        b"CMAG na: the check star's magnitude (K - C) cannot be derived (and 3 more lines) [R13b]\n"
        b"lightcurve-aavso.txt:8:71: warning: KNAME \"000-AAA-002\" is given with KMAG na "
        b"(and 3 more lines) [R15b]\n")(platforms)


def ini_with(**values):
    coefficients = dict(COEFFICIENTS)
    coefficients.update(values)
    return coefficient_file(coefficients=coefficients)


UTF16_REPORT = BV.report().decode().encode("utf-16")
UTF16 = b'error: the file is UTF-16 text (what Notepad calls "Unicode"); save it as ANSI or UTF-8'


def long_notes_row(notes):
    return (b"RR LYR,2460600.30000,11.707,0.010,V,NO,STD,000-AAA-001,0.000,na,na,1.200,na,12345AB,"
            + notes + b"\r\n")


# The references stand after the line's first 65536 bytes, which are all that check reads.
LONG_NOTES = b"|VMAGINS=-0.638" + b"|X=1" * 17000 + b"|CREFMAG=12.345"
HUGE_MERR_TABLE = TABLE_HEADER + SAMPLE_LINE_1 + SAMPLE_LINE_1.replace(b" 0.03856 ", b" 1234.5 ")
NEAR_HALF_INI = ini_with(Tb_bv=("0.45354", "0.0103"), Tv_bv=("-0.04650", "0.0070"))

CASES = [
    # Arguments in usage errors: no byte acts on the terminal, a long one is cut.
    usage("an escape sequence in an option", ["convert", "--" + ESCAPE],
          b"unknown option '--" + SHOWN_ESCAPE + b"' for convert"),
    usage("an escape sequence as a command", [ESCAPE], b"unknown command '" + SHOWN_ESCAPE + b"'"),
    usage("a long argument is cut", ["n" * 300], b"unknown command '" + b"n" * 100 + b"...'"),
    usage("an escape sequence in an option's value", ["convert", "--date", ESCAPE],
          b"option '--date' takes HJD or JD, not '" + SHOWN_ESCAPE + b"'"),
    usage("a C1 control in check's option", ["check", "-\u009b2J"],
          b"unknown option '-\\xC2\\x9B2J' for check"),
    # Names in findings and summary lines: plain ones as given, the rest escaped on one line.
    converted("a folder's name with a newline and an escape sequence", FOLDER, SHOWN_FOLDER,
              lambda folder: ["convert", folder], skip=NOT_ON_WINDOWS),
    converted("a folder's name with blanks, quotes and accents is shown as given",
              "Nuit d'été \"2\"", "Nuit d'été \"2\"".encode(), lambda folder: ["convert", folder],
              skip=NOT_ON_WINDOWS),
    Case("message: check names a file with a newline on one line",
         {"a\nb.txt": NIGHT_REPORT}, b"", lambda p: on_console(
             sample_findings(b"a\\x0Ab.txt", 2, notes=True)
             + b"a\\x0Ab.txt: note: 2 observation lines [F10]\n"
             b"a\\x0Ab.txt: 2 observations, 0 errors, 2 warnings, 2 notes\n")(p),
         0, args=["check", "a\nb.txt"], skip=NOT_ON_WINDOWS),
    # A report that went partly down a pipe is not "nothing".
    Case("message: convert calls a report sent down a pipe incomplete after an error",
         {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + b"1 2 3\n",
          "VARISTELLAR-input.txt": PARAMETERS}, b"",
         aavso_report([trimmed(RECORD_1)]), 1,
         args=["convert", "--quiet", "--report", "/dev/stdout"],
         stderr=b"lightcurve.txt:4: error: the line holds 3 values; an observation line holds ten: "
                b"JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n"
                b"varistellar: 1 error; the report sent to /dev/stdout is incomplete\n",
         skip={"wine": "Windows has no /dev/stdout"}),
    Case("message: transform calls a report sent down a pipe incomplete after an error",
         {"r.txt": HEADER + long_notes_row(b"|VMAGINS=-0.638|CMAGINS=0.000|CREFMAG=12.345")
          + long_notes_row(b"|VMAGINS=99999999999999999999.000|CMAGINS=0.000|CREFMAG=12.345")
          .replace(b"30000", b"30100"),
          "tg.ini": INI}, b"",
         HEADER + b"#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (tg.ini)\r\n"
         + long_notes_row(b"|VMAGINS=-0.638|CMAGINS=0.000|CREFMAG=12.345|Tv_bv=-0.0467"
                          b"|Tv_bvERR=0.0070|BVCOLOR=0.600")
         .replace(b"11.707,0.010,V,NO", b"11.702,0.010,V,YES"), 1,
         args=["transform", "--transform", "tg.ini", "--colour", "B-V=0.6,0.5", "--output",
               "/dev/stdout", "r.txt"],
         stderr=b"r.txt:9: error: the transformed magnitude, MERR or colour does not fit its "
                b"field\nvaristellar: 1 error; the report sent to /dev/stdout is incomplete\n",
         skip={"wine": "Windows has no /dev/stdout"}),
    # A night that wrote nothing did not fail to measure its check star for C1-K1.
    Case("message: convert --check-star with an empty table", {
        "lightcurve.txt": TABLE_HEADER, "VARISTELLAR-input.txt": PARAMETERS}, b"",
         on_console(b"lightcurve.txt: 0 observation lines: 0 written, 0 dropped (V-C above 90), "
                    b"0 left out (MERR of 1.0 or more)\n"
                    b"star RR LYR, filter V, observer ABCD, chart 12345AB\n"
                    b"comparison star 000-AAA-001 (12.345), check star 000-AAA-002 (13.021)\n"
                    b"dates (HJD): none\nwrote lightcurve-aavso.txt: 0 observations\n"
                    b"check star 000-AAA-002: not measured, as the table holds no observation\n"),
         0, args=["convert", "--check-star"],
         stderr=on_console(b"lightcurve.txt: warning: the check star 000-AAA-002 was not measured, "
                           b"as the table holds no observation\n"
                           b"lightcurve-aavso.txt: warning: no observation line [F9]\n"),
         after={"lightcurve-aavso.txt": aavso_report([])}),
    # Numbers in messages are whole, and visibly on their side of a limit.
    Case("message: a MERR too wide for its field is shown whole",
         {"lightcurve.txt": HUGE_MERR_TABLE, "VARISTELLAR-input.txt": PARAMETERS}, b"",
         b"", 0, args=["convert", "--quiet"],
         stderr=on_console(b"lightcurve.txt:4: warning: MERR 1234.500 is 1.0 or more, which the "
                           b"AAVSO does not accept: the observation is left out of the report\n"
                           + converted_findings(b"lightcurve-aavso.txt", 1, notes=False)),
         after={"lightcurve-aavso.txt": aavso_report([trimmed(RECORD_1)])}),
    Case("message: a coefficient too wide for its field is shown whole",
         {"r.txt": BV.report(),
          "tg.ini": coefficient_file(names=("Tb_bv",), coefficients={"Tb_bv": ("123456789.0",
                                                                               "0.0103")})},
         b"", b"", 1, args=["transform", "--transform", "tg.ini", "r.txt"],
         stderr=on_console(b"tg.ini:5: warning: Tb_bv is 123456789.0000, above 1 in size, which is "
                           b"implausible for a transformation coefficient\n"
                           b"tg.ini: error: [Coefficients] holds no Tv_bv, which the filters B and V "
                           b"need; it is never taken as 0\n"
                           b"varistellar: 1 error; nothing was written\n")),
    Case("message: a divisor just below 0.5 does not read as 0.5000",
         {"r.txt": BV.report(), "tg.ini": NEAR_HALF_INI}, b"", b"", 1,
         args=["transform", "--transform", "tg.ini", "r.txt"],
         stderr=on_console(b"tg.ini: error: 1 - Tb_bv + Tv_bv is 0.49996, below 0.5 in size: the "
                           b"transformation would be meaningless; check Tb_bv and Tv_bv\n"
                           b"varistellar: 1 error; nothing was written\n")),
    usage("transform with no REPORT", ["transform", "--transform", "tg.ini"],
          b"transform needs a REPORT"),
    usage("transform with two REPORTs", ["transform", "--transform", "tg.ini", "a.txt", "b.txt"],
          b"transform takes one REPORT"),
    # Two nights' folders dropped together: one report beside them.
    Case("message: two nights' folders dropped on the program make one report beside them",
         nights_in({"n1": b"\nB\n", "n2": b"\nV\n"}), b"", dropped_nights, 0, args=["n1", "n2"],
         folders=["n1", "n2"], stderr=dropped_findings,
         after={"lightcurve-aavso.txt": DROPPED_REPORT}),
    usage("dropped folders and a missing one", ["n1", "n9"], b"there is no folder or file 'n9'",
          folders=["n1"]),
    # A folder whose name begins with '-' is a folder, with "--" or without.
    converted("a folder named -dash given to convert", "-dash", b"-dash",
              lambda folder: ["convert", folder]),
    converted("a folder named -dash after --", "-dash", b"-dash",
              lambda folder: ["convert", "--", folder]),
    usage("an option that names nothing", ["convert", "-x"], b"unknown option '-x' for convert"),
    Case("message: UTF-16 is named in one sentence by check",
         {"r.txt": UTF16_REPORT}, b"", on_console(b"r.txt: " + UTF16 + b" [F1]\n"
                                                  b"r.txt: 0 observations, 1 errors, 0 warnings, "
                                                  b"0 notes\n"), 1, args=["check", "r.txt"]),
    Case("message: UTF-16 is named in one sentence by transform",
         {"r.txt": UTF16_REPORT, "tg.ini": INI}, b"", b"", 1,
         args=["transform", "--transform", "tg.ini", "r.txt"],
         stderr=on_console(b"r.txt: " + UTF16 + b" [F1]\nvaristellar: 1 error; nothing was "
                                                b"written\n")),
    Case("message: check does not call CREFMAG missing from NOTES it did not read to the end",
         {"r.txt": HEADER + long_notes_row(LONG_NOTES)}, b"", on_console(
             b"r.txt:8:85: warning: NOTES has 68030 characters, more than 4000 [R19]\n"
             b"r.txt:8:85: note: MTYPE STD with a single comparison star and no CREFMAG / KREFMAG "
             b"in the line's first 65536 bytes, which are all that check reads of a line: the rest "
             b"of NOTES was not read, so whether the observation can be transformed later is not "
             b"known [R21]\n"
             b"r.txt: note: 1 observation lines [F10]\n"
             b"r.txt: 1 observations, 0 errors, 1 warnings, 2 notes\n"), 0, args=["check", "r.txt"]),
]

# A report named all extension keeps it, and stays hidden.
CASES += transformed("a report named .txt is written to .txt-transformed.txt", BV,
                     out=b".txt-transformed.txt", name=b".txt")
