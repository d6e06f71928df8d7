"""End-to-end cases of varistellar check FILE...: real files, the findings on standard output,
an unreadable file on standard error, and the exit status."""

from cases import DIRECTORY, Case, source_file
from command_line_cases import aavso_report, on_console, sample_findings, trimmed

GOLDEN = source_file("tests", "golden", "sample-night-report.txt")
CONVERTED = aavso_report([trimmed(r) for r in GOLDEN.split(b"\r\n")[7:-1]])

# What both front ends' reports of the sample night share: a single comparison star, no CMAG,
# no KMAG and no CREFMAG subfields.
SAMPLE_NIGHT_TAIL = (
    b"%(f)s:8:%(cmag)d: warning: MTYPE STD with comparison star \"000-AAA-001\" and CMAG na: the "
    b"check star's magnitude (K - C) cannot be derived (and 315 more lines) [R13b]\n"
    b"%(f)s:8:%(kname)d: warning: KNAME \"000-AAA-002\" is given with KMAG na (and 315 more "
    b"lines) [R15b]\n"
    b"%(f)s:8:%(notes)d: note: MTYPE STD with a single comparison star and no CREFMAG / KREFMAG in "
    b"NOTES: the observation cannot be transformed later (and 315 more lines) [R21]\n"
    b"%(f)s: note: 316 observation lines [F10]\n")

INTERACTIVE_FINDINGS = (
    b'lightcurve-aavso.txt:8:1: warning: STARID "RR LYR     " has blanks at its end (and 315 more '
    b"lines) [R3]\n"
    b'lightcurve-aavso.txt:8:34: warning: MERR " 0.041" has blanks at its start (and 315 more '
    b"lines) [R3]\n"
    b'lightcurve-aavso.txt:8:41: warning: FILT "V     " has blanks at its end (and 315 more '
    b"lines) [R3]\n"
    b'lightcurve-aavso.txt:8:85: warning: AIRMASS " 1.454" has blanks at its start (and 315 more '
    b"lines) [R3]\n"
    b'lightcurve-aavso.txt:8:95: warning: CHART "12345AB " has blanks at its end (and 315 more '
    b"lines) [R3]\n"
    + SAMPLE_NIGHT_TAIL % {b"f": b"lightcurve-aavso.txt", b"cmag": 67, b"kname": 82, b"notes": 104}
    + b"lightcurve-aavso.txt: 316 observations, 0 errors, 7 warnings, 2 notes\n")

CONVERTED_FINDINGS = (
    sample_findings(b"r.txt", 316, notes=True) + b"r.txt: note: 316 observation lines [F10]\n"
    + b"r.txt: 316 observations, 0 errors, 2 warnings, 2 notes\n")

HEADER = b"#TYPE=Extended\n#OBSCODE=ABCD\n#SOFTWARE=test\n#DELIM=,\n#DATE=HJD\n#OBSTYPE=CCD\n"
ROW = b"SS CYG,2456175.6587%d,11.707,0.039,V,NO,STD,ENSEMBLE,na,na,na,1.452,na,12345AB,na"
GOOD = HEADER + b"".join(ROW % i + b"\n" for i in range(3))

BAD = (b"#TYPE=Extended\n#OBSCODE=N/A\n#SOFTWARE=test\n#DELIM=,\n#DATE=BJD\n#OBSTYPE=CMOS\n"
       b"SS CYG,2456175.65873,11,0.039,Rc,NO,DIFF,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n"
       b"SS CYG,2456175.65874,11.707,0.039,V,NO,STD,ENSEMBLE,na,na,na,1.452,na\n"
       b"SS CYG,2456175.65875,11,0.039,Rc,NO,DIFF,ENSEMBLE,na,na,na,1.452,,12345AB,na\n")
BAD_FINDINGS = (
    b'bad.txt:2: error: #OBSCODE is "N/A", not an observer code [P2]\n'
    b'bad.txt:5: error: #DATE is "BJD", not JD, HJD or EXCEL [P6]\n'
    b'bad.txt:6: error: #OBSTYPE is "CMOS", not CCD, DSLR or PEP [P7]\n'
    b'bad.txt:7:22: error: MAG "11" has no decimal point (write 9.0, not 9) (and 1 more line) '
    b"[R7]\n"
    b'bad.txt:7:31: error: FILT "Rc" is not a filter of the format (and 1 more line) [R9]\n'
    b'bad.txt:7:37: error: MTYPE "DIFF" is not STD, DIF or ABS (and 1 more line) [R11]\n'
    b"bad.txt:8: error: 13 fields, not 15; is the line cut short or wrapped? [R1]\n"
    b"bad.txt:9:66: error: GROUP is empty; write na for a missing value [R2]\n"
    b"bad.txt: note: 3 observation lines [F10]\n"
    b"bad.txt: 3 observations, 8 errors, 0 warnings, 1 notes\n")


def good_summary(name):
    return b"%s: note: 3 observation lines [F10]\n%s: 3 observations, 0 errors, 0 warnings, 1 notes\n" % (
        name, name)


def checked(name, files, args, stdout, status, stderr=b""):
    return Case(name, files, b"", on_console(stdout), status, args=["check"] + args,
                stderr=on_console(stderr) if stderr else b"")


CASES = [
    checked("check: the interactive report has padding warnings and no error",
            {"lightcurve-aavso.txt": GOLDEN}, ["lightcurve-aavso.txt"], INTERACTIVE_FINDINGS, 0),
    checked("check: convert's report has no error and no padding warning",
            {"r.txt": CONVERTED}, ["r.txt"], CONVERTED_FINDINGS, 0),
    checked("check: a bad file lists its errors, each repeating one once", {"bad.txt": BAD},
            ["bad.txt"], BAD_FINDINGS, 1),
    checked("check: a folder cannot be read; the files around it are checked",
            {"good.txt": GOOD, "night": DIRECTORY, "bad.txt": BAD},
            ["good.txt", "night", "bad.txt"], good_summary(b"good.txt") + BAD_FINDINGS, 2,
            stderr=b"night: error: cannot read: it is a folder, not a file\n"),
    checked("check: LF, CR LF and no line end at all", {"lf.txt": GOOD,
                                                        "crlf.txt": GOOD.replace(b"\n", b"\r\n"),
                                                        "open.txt": GOOD[:-1]},
            ["lf.txt", "crlf.txt", "open.txt"],
            good_summary(b"lf.txt") + good_summary(b"crlf.txt")
            + b"open.txt:9: note: the last line has no line end [F6]\n"
            + b"open.txt: note: 3 observation lines [F10]\n"
            + b"open.txt: 3 observations, 0 errors, 0 warnings, 2 notes\n", 0),
    checked("check: mixed line ends, a byte order mark and NUL bytes",
            {"odd.txt": b"\xef\xbb\xbf" + HEADER.replace(b"\n", b"\r\n", 5)
             + ROW % 0 + b"\r\n" + ROW % 1 + b"\x00\x00\r\n" + ROW % 2},
            ["odd.txt"],
            b"odd.txt:1:1: error: the file starts with a UTF-8 byte order mark [F2]\n"
            b"odd.txt:6: warning: LF and CR LF line ends are mixed in the file [F4]\n"
            b"odd.txt:8:81: error: byte 0x00 is not printable ASCII [F1]\n"
            b"odd.txt:9: note: the last line has no line end [F6]\n"
            b"odd.txt: note: 3 observation lines [F10]\n"
            b"odd.txt: 3 observations, 2 errors, 1 warnings, 2 notes\n", 1),
]


def delimited(delim_line, delimiter, line_end=b"\n"):
    """A report whose #DELIM line is `delim_line` and whose two rows are split at `delimiter`."""
    lines = [b"#TYPE=Extended", b"#OBSCODE=ABCD", b"#SOFTWARE=test", delim_line, b"#DATE=HJD",
             b"#OBSTYPE=CCD"] + [(ROW % i).replace(b",", delimiter) for i in range(2)]
    return b"".join(line + line_end for line in lines)


# What follows '=' on a #DELIM line: a byte outside 0x21-0x7E is an error named for what it is,
# and the rows are split at it as a reader would.
CASES += [
    checked("check: #DELIM= followed by the CR of a CR LF line end is the delimiter CR",
            {"cr.txt": delimited(b"#DELIM=", b",", b"\r\n")}, ["cr.txt"],
            b"cr.txt:4: error: #DELIM CR (0x0D) is not a delimiter (one character, tab or comma) "
            b"[P5]\n"
            b"cr.txt:7: error: 1 fields, not 15; is the line cut short or wrapped? (and 1 more line) "
            b"[R1]\n"
            b"cr.txt: note: 2 observation lines [F10]\n"
            b"cr.txt: 2 observations, 2 errors, 0 warnings, 1 notes\n", 1),
    # Not nul.txt: to Windows that is the null device.
    checked("check: a NUL as the delimiter",
            {"zero.txt": delimited(b"#DELIM=\x00", b"\x00")}, ["zero.txt"],
            b"zero.txt:4:8: error: byte 0x00 is not printable ASCII [F1]\n"
            b"zero.txt:4: error: #DELIM NUL (0x00) is not a delimiter (one character, tab or comma) "
            b"[P5]\n"
            b"zero.txt:7:7: error: byte 0x00 is not printable ASCII [F1]\n"
            b"zero.txt:8:7: error: byte 0x00 is not printable ASCII [F1]\n"
            b"zero.txt: note: 2 observation lines [F10]\n"
            b"zero.txt: 2 observations, 4 errors, 0 warnings, 1 notes\n", 1),
    checked("check: a byte 0xE9 as the delimiter, with blanks around it or without",
            {"e9.txt": delimited(b"#DELIM=\xe9", b"\xe9"),
             "blanks.txt": delimited(b"#DELIM= \xe9 ", b"\xe9")}, ["e9.txt", "blanks.txt"],
            b"e9.txt:4:8: error: byte 0xE9 is not printable ASCII [F1]\n"
            b"e9.txt:4: error: #DELIM byte 0xE9 is not a delimiter (one character, tab or comma) "
            b"[P5]\n"
            b"e9.txt:7:7: error: byte 0xE9 is not printable ASCII [F1]\n"
            b"e9.txt:8:7: error: byte 0xE9 is not printable ASCII [F1]\n"
            b"e9.txt: note: 2 observation lines [F10]\n"
            b"e9.txt: 2 observations, 4 errors, 0 warnings, 1 notes\n"
            b"blanks.txt:4:9: error: byte 0xE9 is not printable ASCII [F1]\n"
            b"blanks.txt:4: warning: blanks around '=' in #DELIM= [P10]\n"
            b"blanks.txt:4: error: #DELIM byte 0xE9 is not a delimiter (one character, tab or comma) "
            b"[P5]\n"
            b"blanks.txt:7:7: error: byte 0xE9 is not printable ASCII [F1]\n"
            b"blanks.txt:8:7: error: byte 0xE9 is not printable ASCII [F1]\n"
            b"blanks.txt: note: 2 observation lines [F10]\n"
            b"blanks.txt: 2 observations, 4 errors, 1 warnings, 1 notes\n", 1),
    checked("check: a TAB byte as the delimiter, where the word tab is meant",
            {"tab.txt": delimited(b"#DELIM=\t", b"\t")}, ["tab.txt"],
            b"tab.txt:4:8: error: byte 0x09 is not printable ASCII [F1]\n"
            b"tab.txt:4: warning: blanks around '=' in #DELIM= [P10]\n"
            b"tab.txt:4: error: #DELIM TAB (0x09) is not a delimiter (one character, tab or comma); "
            b"write #DELIM=tab [P5]\n"
            b"tab.txt: note: 2 observation lines [F10]\n"
            b"tab.txt: 2 observations, 2 errors, 1 warnings, 1 notes\n", 1),
    checked("check: a good delimiter, as a character, as the word tab and in a CR LF file",
            {"semicolon.txt": delimited(b"#DELIM=;", b";"),
             "tab.txt": delimited(b"#DELIM=tab", b"\t"),
             "crlf.txt": delimited(b"#DELIM=,", b",", b"\r\n")},
            ["semicolon.txt", "tab.txt", "crlf.txt"],
            b"semicolon.txt: note: 2 observation lines [F10]\n"
            b"semicolon.txt: 2 observations, 0 errors, 0 warnings, 1 notes\n"
            b"tab.txt: note: 2 observation lines [F10]\n"
            b"tab.txt: 2 observations, 0 errors, 0 warnings, 1 notes\n"
            b"crlf.txt: note: 2 observation lines [F10]\n"
            b"crlf.txt: 2 observations, 0 errors, 0 warnings, 1 notes\n", 0),
]
