"""End-to-end cases of convert's outputs: files that must not collide, and the
temporary files of stopped runs."""

from cases import Case, hardlink, symlink
from command_line_cases import (NIGHT, NIGHT_REPORT, OLD_REPORT, failing, on_console, converted_findings,
                                sep, summary)


def same_file(later, later_role, earlier, earlier_role):
    return b"%s: error: the %s is the same file as the %s %s; give each its own file\n" % (
        later, later_role, earlier_role, earlier)


TABLE = b"lightcurve.txt"
PARAMETERS = b"VARISTELLAR-input.txt"
NIGHT_WITH_REPORT = NIGHT | {"lightcurve-aavso.txt": OLD_REPORT}


def colliding(name, args, errors, files=NIGHT_WITH_REPORT, skip=None):
    """A run refused before anything is written: every file stays as it was."""
    return failing("convert refuses one file in two roles: " + name, files, ["convert"] + args,
                   errors, skip=skip)


# A temporary name a stopped run would have made (no process has its id).
STALE = "lightcurve-aavso.txt.varistellar-99999999-0badf00d.tmp"
STALE_PICTURE = "night.svg.varistellar-99999998-00000001.tmp"


def removed(name):
    return b"%s: note: removed: a temporary file left by a run of varistellar that was stopped\n" % (
        name.encode())


def left_alone(what, content, skip=None):
    """A file named as a stopped run's temporary file that the program cannot tell is its own."""
    kept = isinstance(content, bytes)  # a link is compared as the link it is
    return Case("convert leaves a file named like its temporary file that is " + what,
                NIGHT_WITH_REPORT | {STALE: content},
                b"", on_console(summary(TABLE, 3, 2, 1, b"2456175.65873", b"2456175.65918",
                                        b"lightcurve-aavso.txt")),
                0, args=["convert"], skip=skip,
                stderr=on_console(b"%s: note: left where it is: named like a temporary file of "
                                  b"varistellar, but not one that varistellar can tell is its own "
                                  b"(a link, or contents it does not write)\n" % STALE.encode()
                                  + converted_findings(b"lightcurve-aavso.txt", 2)),
                after={"lightcurve-aavso.txt": NIGHT_REPORT} | ({STALE: content} if kept else {}))


CASES = [
    colliding("the report over the table", ["--report", "lightcurve.txt"],
              same_file(b"lightcurve.txt", b"report", TABLE, b"light-curve table")),
    colliding("the report over the table, spelt otherwise",
              ["--table", "./lightcurve.txt", "--report", "lightcurve.txt"],
              same_file(b"lightcurve.txt", b"report", b"./lightcurve.txt", b"light-curve table")),
    colliding("the picture over the parameter file", ["--plot", "VARISTELLAR-input.txt"],
              same_file(PARAMETERS, b"picture", PARAMETERS, b"parameter file")),
    colliding("the table as its own parameter file", ["--parameters", "lightcurve.txt"],
              same_file(b"lightcurve.txt", b"parameter file", TABLE, b"light-curve table")),
    colliding("a report and a picture of one new name, spelt two ways",
              ["--report", "night.txt", "--plot", "./night.txt"],
              same_file(b"./night.txt", b"picture", b"night.txt", b"report")),
    colliding("a report and a picture that are one old file",
              ["--report", "night.txt", "--plot", "night.txt"],
              same_file(b"night.txt", b"picture", b"night.txt", b"report"),
              files=NIGHT_WITH_REPORT | {"night.txt": OLD_REPORT}),
    colliding("the report as a hard link of the table", ["--report", "night.txt"],
              same_file(b"night.txt", b"report", TABLE, b"light-curve table"),
              files=NIGHT_WITH_REPORT | {"night.txt": hardlink("lightcurve.txt")}),
    colliding("the report as a symbolic link to the parameter file", ["--report", "night.txt"],
              same_file(b"night.txt", b"report", PARAMETERS, b"parameter file"),
              files=NIGHT_WITH_REPORT | {"night.txt": symlink("VARISTELLAR-input.txt")},
              skip={"wine": "to wine a link is an ordinary file"}),
    Case("convert removes the temporary file of a run that was stopped, and says so",
         NIGHT | {"lightcurve-aavso.txt": OLD_REPORT,
                  STALE: b"#TYPE=EXTENDED\r\n#OBSCODE=ABC",
                  STALE_PICTURE: b"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns",
                  # Names no run makes: left alone, without a word.
                  "lightcurve-aavso.txt.99999999.tmp": b"#TYPE=EXTENDED\r\n",
                  "lightcurve-aavso.txt.2024.tmp": b"important",
                  "lightcurve-aavso.txt.varistellar-099999999-0badf00d.tmp": b"#"},
         b"", on_console(summary(TABLE, 3, 2, 1, b"2456175.65873", b"2456175.65918",
                                 b"lightcurve-aavso.txt")),
         0, args=["convert"],
         stderr=on_console(removed(STALE) + converted_findings(b"lightcurve-aavso.txt", 2)),
         after={"lightcurve-aavso.txt": NIGHT_REPORT, STALE: None,
                STALE_PICTURE: b"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns"}),
    Case("convert keeps quiet about the stale temporary files it removes under --quiet",
         {"night/" + k: v for k, v in NIGHT.items()} | {"night/" + STALE: b""},
         b"", b"", 0, args=["convert", "--quiet", "night"], folders=["night"],
         stderr=lambda p: on_console(converted_findings(b"night%slightcurve-aavso.txt" % sep(p), 2,
                                                     notes=False))(p),
         after={"night/lightcurve-aavso.txt": NIGHT_REPORT, "night/" + STALE: None}),
    left_alone("a user's file", b"important"),
    left_alone("a hard link of a report", hardlink("lightcurve-aavso.txt")),
    left_alone("a symbolic link to a report", symlink("lightcurve-aavso.txt"),
               skip={"wine": "to wine a link is an ordinary file"}),
]
