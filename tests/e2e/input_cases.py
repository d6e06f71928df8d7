"""End-to-end cases of what convert reads: input text echoed in messages, files that are not
light-curve tables or parameter files, and findings that repeat on every line."""

import random

from cases import (DIRECTORY, PARAMETERS, RECORD_1, SAMPLE_LINE_1, SAMPLE_LINE_2, TABLE_HEADER,
                   Case, parameters)
from command_line_cases import (NIGHT, aavso_report, failing, on_console, converted_findings, summary,
                                trimmed)

TEN_VALUES = (b"an observation line holds ten: JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS "
              b"ALTITUDE")
NOT_TEXT = b"it is not a text file (it holds NUL bytes): give "
UTF16 = (b'error: the file is UTF-16 text (what Notepad calls "Unicode"); save it as ANSI or '
         b'UTF-8\n')
CR_ONLY = (b"error: the file's lines end with CR alone, as on old Macs; save it with LF or CR LF "
           b"line ends\n")


def long_line(kind):
    return (b"error: the line is longer than 4096 bytes, so the file does not look like %s; it is "
            b"read no further\n" % kind)


def binary_bytes(count, stream):
    """Bytes that look like an image or a program given as the table, the same for a stream
    number on every run."""
    return random.Random(stream).randbytes(count)


# An ESC sequence that clears the screen and an OSC 52 sequence that writes
# the clipboard, each where a value stands.
CLEAR_SCREEN = b"\x1b[2J"
SET_CLIPBOARD = b"\x1b]52;c;aGVsbG8=\x07"
ESCAPED_TABLE_LINE = (b"2456175.65918 " + CLEAR_SCREEN + b" 0.03876 " + SET_CLIPBOARD
                      + b" 0.02142 1.96452 0.03419 0.00569 1.44949 43.54\n")


def many_faults():
    """Lines whose s1 holds a decimal comma, 250 of them, and 101 lines of nine values, the two
    kinds taking turns at first: each kind is listed up to 100, then counted."""
    lines, comma, short = [], 0, 0
    while comma < 250 or short < 101:
        if short < 101 and (comma >= 250 or len(lines) % 2 == 1):
            lines.append(b"short")
            short += 1
        else:
            lines.append(b"comma")
            comma += 1
    table = TABLE_HEADER + SAMPLE_LINE_1
    errors = b""
    listed = {b"comma": 0, b"short": 0}
    for number, kind in enumerate(lines, start=4):
        if kind == b"comma":
            table += b"2456175.65873 -0.63823 0,00655 1 1 1 1 1 1 1\n"
            text = (b'lightcurve.txt:%d:24: error: "0,00655" (value 3, s1) is not a plain decimal '
                    b"number; write a point for the decimals, not a comma\n" % number)
        else:
            table += b"2456175.65873 -0.63823 0.00655 1 1 1 1 1 1\n"
            text = b"lightcurve.txt:%d: error: the line holds 9 values; %s\n" % (number, TEN_VALUES)
        if listed[kind] < 100:
            errors += text
        listed[kind] += 1
    errors += (b"lightcurve.txt: error: 150 more values are not plain decimal numbers; the first "
               b"100 are listed\n"
               b"lightcurve.txt: error: 1 more line holds another number of values than ten; the "
               b"first 100 are listed\n")
    return table, errors


MANY_FAULTS_TABLE, MANY_FAULTS_ERRORS = many_faults()

LEFT_OUT_LINE = SAMPLE_LINE_2.replace(b" 0.03876 ", b" 0.99951 ")
LEFT_OUT_WARNINGS = b"".join(
    b"lightcurve.txt:%d: warning: MERR 1.000 is 1.0 or more, which the AAVSO does not accept: the "
    b"observation is left out of the report\n" % number for number in range(4, 104))


CASES = [
    failing("convert: control bytes in table values are shown escaped, never sent raw",
            {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + ESCAPED_TABLE_LINE,
             "VARISTELLAR-input.txt": PARAMETERS}, ["convert"],
            b'lightcurve.txt:4:15: error: "\\x1B[2J" (value 2, V-C) is not a plain decimal '
            b"number\n"
            b'lightcurve.txt:4:28: error: "\\x1B]52;c;aGVsbG8=\\x07" (value 4, V-K1) is not a '
            b"plain decimal number\n"),
    failing("convert: control bytes in parameter values are named or shown escaped",
            {"lightcurve.txt": NIGHT["lightcurve.txt"],
             "VARISTELLAR-input.txt": parameters(star=b"RR LYR" + SET_CLIPBOARD,
                                                 comp_mag=b"12.345" + CLEAR_SCREEN,
                                                 filt=b"V" + CLEAR_SCREEN)},
            ["convert"],
            b"VARISTELLAR-input.txt:6:7: error: the star's name holds a byte that is not "
            b"printable ASCII (0x1B); the AAVSO accepts ASCII only\n"
            b"VARISTELLAR-input.txt:8:1: error: the comparison star's magnitude "
            b'"12.345\\x1B[2J" is not a plain decimal number; write it like 12.345 (a point, no '
            b"comma, nothing else on the line)\n"
            b"VARISTELLAR-input.txt:9:2: error: the filter holds a byte that is not printable "
            b"ASCII (0x1B); the AAVSO accepts ASCII only\n"),
    failing("convert: a long value is cut in its message",
            {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1.replace(b"0.03856", b"0.0" + b"l" * 60),
             "VARISTELLAR-input.txt": PARAMETERS}, ["convert"],
            b'lightcurve.txt:3:24: error: "0.0' + b"l" * 37 + b'..." (value 3, s1) is not a '
            b"plain decimal number\n"),
    failing("convert: a binary file as the table is one error",
            {"lightcurve.txt": binary_bytes(300_000, 17),
             "VARISTELLAR-input.txt": PARAMETERS}, ["convert"],
            b"lightcurve.txt: error: " + NOT_TEXT + b"the light-curve table that MAGNIVEX writes\n"),
    failing("convert: a NUL byte past the table's first bytes ends the reading",
            {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 * 1000 + b"\0\0\0\0\n"
             + b"0,1\n" * 5, "VARISTELLAR-input.txt": PARAMETERS}, ["convert"],
            b"lightcurve.txt:1003: error: the line holds a NUL byte, so the file is not text: give "
            b"the light-curve table that MAGNIVEX writes; it is read no further\n"),
    failing("convert: after 100 findings of one kind the rest are counted",
            {"lightcurve.txt": MANY_FAULTS_TABLE, "VARISTELLAR-input.txt": PARAMETERS},
            ["convert"], MANY_FAULTS_ERRORS, count=351),
    Case("convert: after 100 warnings of one kind the rest are counted",
         {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + LEFT_OUT_LINE * 102,
          "VARISTELLAR-input.txt": PARAMETERS}, b"",
         on_console(summary(b"lightcurve.txt", 103, 1, 0, b"2456175.65873", b"2456175.65873",
                            b"lightcurve-aavso.txt", left_out=102)), 0, args=["convert"],
         stderr=on_console(LEFT_OUT_WARNINGS
                           + b"lightcurve.txt: warning: 2 more observations with MERR of 1.0 or "
                             b"more are left out; the first 100 are listed\n"
                           + converted_findings(b"lightcurve-aavso.txt", 1)),
         after={"lightcurve-aavso.txt": aavso_report([trimmed(RECORD_1)])}),
    failing("convert: a table line longer than 4096 bytes ends the reading",
            {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1 + b"1 " * 2500 + b"\n" + b"0,1\n",
             "VARISTELLAR-input.txt": PARAMETERS}, ["convert"],
            b"lightcurve.txt:4: " + long_line(b"a light-curve table")),
    failing("convert: a table without any line end is read no further than 4096 bytes",
            {"lightcurve.txt": b"JDHEL" + b" 1" * 100_000, "VARISTELLAR-input.txt": PARAMETERS},
            ["convert"], b"lightcurve.txt:1: " + long_line(b"a light-curve table")),
    failing("convert: a UTF-16 table is one error",
            {"lightcurve.txt": NIGHT["lightcurve.txt"].decode("ascii").encode("utf-16"),
             "VARISTELLAR-input.txt": PARAMETERS}, ["convert"], b"lightcurve.txt: " + UTF16),
    failing("convert: a table with CR line ends is one error",
            {"lightcurve.txt": NIGHT["lightcurve.txt"].replace(b"\n", b"\r"),
             "VARISTELLAR-input.txt": PARAMETERS}, ["convert"], b"lightcurve.txt: " + CR_ONLY),
    failing("convert: --table . is a folder",
            {"VARISTELLAR-input.txt": PARAMETERS}, ["convert", "--table", "."],
            b".: error: cannot open the light-curve table: it is a folder, not a file\n"),
    failing("convert: a UTF-16 parameter file without a byte order mark is one error",
            {"lightcurve.txt": NIGHT["lightcurve.txt"],
             "p16.txt": PARAMETERS.decode("ascii").encode("utf-16-le")},
            ["convert", "--parameters", "p16.txt"], b"p16.txt: " + UTF16),
    failing("convert: a parameter file given as a folder",
            {"lightcurve.txt": NIGHT["lightcurve.txt"], "VARISTELLAR-input.txt": DIRECTORY},
            ["convert"],
            b"VARISTELLAR-input.txt: error: cannot open the parameter file: it is a folder, not "
            b"a file\n"),
    failing("convert: a binary parameter file is one error",
            {"lightcurve.txt": NIGHT["lightcurve.txt"],
             "VARISTELLAR-input.txt": b"\x89PNG\r\n\x1a\n\0\0\0\rIHDR" + PARAMETERS},
            ["convert"],
            b"VARISTELLAR-input.txt: error: " + NOT_TEXT
            + b"the parameter file, a text file of twelve lines\n"),
    failing("convert: a parameter line longer than 4096 bytes ends its reading",
            {"lightcurve.txt": NIGHT["lightcurve.txt"],
             "VARISTELLAR-input.txt": parameters(star=b"RR LYR" * 1000)},
            ["convert"], b"VARISTELLAR-input.txt:6: " + long_line(b"a parameter file")),
    failing("convert: a parameter file with CR line ends is one error",
            {"lightcurve.txt": NIGHT["lightcurve.txt"],
             "VARISTELLAR-input.txt": PARAMETERS.replace(b"\n", b"\r")},
            ["convert"], b"VARISTELLAR-input.txt: " + CR_ONLY),
    failing("convert: a line of one value",
            {"lightcurve.txt": TABLE_HEADER + b"2456175.65873\n", "VARISTELLAR-input.txt": PARAMETERS},
            ["convert"], b"lightcurve.txt:3: error: the line holds 1 value; %s\n" % TEN_VALUES),
    Case("convert: one observation line, one observation",
         {"lightcurve.txt": TABLE_HEADER + SAMPLE_LINE_1, "VARISTELLAR-input.txt": PARAMETERS}, b"",
         on_console(summary(b"lightcurve.txt", 1, 1, 0, b"2456175.65873", b"2456175.65873",
                            b"lightcurve-aavso.txt")), 0, args=["convert"],
         stderr=on_console(converted_findings(b"lightcurve-aavso.txt", 1)),
         after={"lightcurve-aavso.txt": aavso_report([trimmed(RECORD_1)])}),
]
