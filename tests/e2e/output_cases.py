"""End-to-end cases of convert's outputs: files that must not collide, and the
temporary files of stopped runs."""

from cases import Case, hardlink, symlink
from command_line_cases import (NIGHT, NIGHT_REPORT, OLD_REPORT, failing, on_console, sample_findings,
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
                  "lightcurve-aavso.txt.99999999.tmp": b"half a report",
                  # Not a name a run makes: left alone.
                  "lightcurve-aavso.txt.099999999.tmp": b"someone's file"},
         b"", on_console(summary(TABLE, 3, 2, 1, b"2456175.65873", b"2456175.65918",
                                 b"lightcurve-aavso.txt")),
         0, args=["convert"],
         stderr=on_console(b"lightcurve-aavso.txt.99999999.tmp: note: removed: a temporary file "
                           b"left by a run of varistellar that was stopped\n"
                           + sample_findings(b"lightcurve-aavso.txt", 2)),
         after={"lightcurve-aavso.txt": NIGHT_REPORT, "lightcurve-aavso.txt.99999999.tmp": None}),
    Case("convert keeps quiet about the stale temporary files it removes under --quiet",
         {"night/" + k: v for k, v in NIGHT.items()} | {"night/lightcurve-aavso.txt.99999999-3.tmp": b"x"},
         b"", b"", 0, args=["convert", "--quiet", "night"], folders=["night"],
         stderr=lambda p: on_console(sample_findings(b"night%slightcurve-aavso.txt" % sep(p), 2,
                                                     notes=False))(p),
         after={"night/lightcurve-aavso.txt": NIGHT_REPORT,
                "night/lightcurve-aavso.txt.99999999-3.tmp": None}),
]
