"""End-to-end cases of convert with several FOLDERs, one filter's night each, into one report."""

from cases import DROPPED_LINE, TABLE_HEADER, Case, parameters
from command_line_cases import aavso_report, on_console, sep

# Two nights of one star: B and V, measured at the same two times, V once more at a time
# between them and B once at the same time as V's last (a tie, written in folder order).
B_TABLE = (TABLE_HEADER
           + b"2456175.65918 -0.60000 0.03000 1.0 0.02 1.90000 0.03000 0.00569 1.44949 43.5\n"
           + b"2456175.65873 -0.61000 0.03100 1.0 0.02 99.999 99.999 0.00569 1.45156 43.4\n"
           + DROPPED_LINE
           + b"2456175.66100 -0.62000 0.03200 1.0 0.02 1.92000 0.03200 0.00569 1.44100 43.9\n")
V_TABLE = (TABLE_HEADER
           + b"2456175.65873 -0.63823 0.03856 1.0 0.02 1.96095 0.03387 0.00569 1.45156 43.47\n"
           + b"2456175.65900 -0.64000 0.03900 1.0 0.02 1.96200 0.03400 0.00569 1.45000 43.50\n"
           + b"2456175.66100 -0.65000 0.04000 1.0 0.02 1.97000 0.03500 0.00569 1.44100 43.90\n")
B_PARAMETERS = parameters(filt=b"B", comp_mag=b"12.900", check_mag=b"13.500")
V_PARAMETERS = parameters()


def night(folder, table, params):
    return {folder + "/lightcurve.txt": table, folder + "/VARISTELLAR-input.txt": params}


NIGHTS = night("b", B_TABLE, B_PARAMETERS) | night("v", V_TABLE, V_PARAMETERS)
FOLDERS = ["b", "v"]


def record(date, mag, merr, filt, airmass, notes=None, kmag=None):
    if notes is None:
        return b"RR LYR,%s,%s,%s,%s,NO,STD,000-AAA-001,na,000-AAA-002,na,%s,na,12345AB,na" % (
            date, mag, merr, filt, airmass)
    return b"RR LYR,%s,%s,%s,%s,NO,STD,000-AAA-001,0.000,000-AAA-002,%s,%s,na,12345AB,%s" % (
        date, mag, merr, filt, kmag, airmass, notes)


# In time order; at 2456175.66100 B (the first FOLDER) before V.
REPORT = aavso_report([
    record(b"2456175.65873", b"12.290", b"0.031", b"B", b"1.452"),
    record(b"2456175.65873", b"11.707", b"0.039", b"V", b"1.452"),
    record(b"2456175.65900", b"11.705", b"0.039", b"V", b"1.450"),
    record(b"2456175.65918", b"12.300", b"0.030", b"B", b"1.449"),
    record(b"2456175.66100", b"12.280", b"0.032", b"B", b"1.441"),
    record(b"2456175.66100", b"11.695", b"0.040", b"V", b"1.441"),
])


def summary(p):
    s = sep(p)
    return on_console(
        b"b%slightcurve.txt: 4 observation lines: 3 written, 1 dropped (V-C above 90), 0 left out "
        b"(MERR of 1.0 or more)\n" % s
        + b"v%slightcurve.txt: 3 observation lines: 3 written, 0 dropped (V-C above 90), 0 left out "
        b"(MERR of 1.0 or more)\n" % s
        + b"star RR LYR, filters B, V, observer ABCD, chart 12345AB\n"
        b"comparison star 000-AAA-001 (B 12.900, V 12.345), check star 000-AAA-002 "
        b"(B 13.500, V 13.021)\n"
        b"dates (HJD): 2456175.65873 to 2456175.66100\n"
        b"wrote night.txt: 6 observations\n")(p)


# The sample's rows, whose check star is 2.5 to 2.6 brighter than line 12 says in both filters.
QUALITY = (b"b@lightcurve.txt: warning: quality: check star 000-AAA-002 B is 2.51 brighter than its "
           b"catalogue magnitude 13.500: is it the right star, the right catalogue magnitude and the "
           b"right filter?\n"
           b"v@lightcurve.txt: warning: quality: check star 000-AAA-002 V is 2.64 brighter than its "
           b"catalogue magnitude 13.021: is it the right star, the right catalogue magnitude and the "
           b"right filter?\n")


def quality(platforms):
    return QUALITY.replace(b"@", sep(platforms))


def check_findings(platforms):
    """What the report's own check says of records without the check star's magnitudes, after
    the quality warnings."""
    return on_console(quality(platforms) +
        b"night.txt:8:56: warning: MTYPE STD with comparison star \"000-AAA-001\" and CMAG na: the "
        b"check star's magnitude (K - C) cannot be derived (and 5 more lines) [R13b]\n"
        b"night.txt:8:71: warning: KNAME \"000-AAA-002\" is given with KMAG na (and 5 more lines) "
        b"[R15b]\n")(platforms)


def several(name, files, args, errors):
    """A run refused with `errors`, in whose paths '@' stands for the platform's separator."""
    folders = sorted({path.split("/")[0] for path in files})
    count = errors.count(b": error: ")
    tail = b"varistellar: %d error%s; nothing was written\n" % (count, b"" if count == 1 else b"s")
    return Case("convert with several FOLDERs: " + name, files, b"", b"", 1, args=["convert"] + args,
                folders=folders,
                stderr=lambda p: on_console((errors + tail).replace(b"@", sep(p)))(p))


CASES = [
    Case("convert with several FOLDERs: one report in time order, ties in FOLDER order",
         NIGHTS, b"", summary, 0, args=["convert", "--report", "night.txt"] + FOLDERS,
         folders=FOLDERS, stderr=check_findings,
         after={"night.txt": REPORT}),
    Case("convert with several FOLDERs: the check star's line for each filter",
         NIGHTS, b"",
         lambda p: summary(p) + on_console(
             b"check star 000-AAA-002 B: 2 observations, mean 10.990 (catalogue 13.500, "
             b"difference -2.510), standard deviation 0.014\n"
             b"check star 000-AAA-002 V: 3 observations, mean 10.381 (catalogue 13.021, "
             b"difference -2.640), standard deviation 0.005\n")(p),
         0, args=["convert", "--check-star", "--report", "night.txt"] + FOLDERS, folders=FOLDERS,
         # The first B row's check star was not measured.
         stderr=lambda p: on_console(quality(p) + b'night.txt:8:74: warning: KNAME "000-AAA-002" '
                                     b"is given with KMAG na [R15b]\n")(p),
         after={"night.txt": aavso_report([
             record(b"2456175.65873", b"12.290", b"0.031", b"B", b"1.452",
                    b"|VMAGINS=-0.610|CMAGINS=0.000|CREFMAG=12.900", b"na"),
             record(b"2456175.65873", b"11.707", b"0.039", b"V", b"1.452",
                    b"|VMAGINS=-0.638|CMAGINS=0.000|KMAGINS=-1.961|CREFMAG=12.345|KREFMAG=13.021",
                    b"-1.961"),
             record(b"2456175.65900", b"11.705", b"0.039", b"V", b"1.450",
                    b"|VMAGINS=-0.640|CMAGINS=0.000|KMAGINS=-1.962|CREFMAG=12.345|KREFMAG=13.021",
                    b"-1.962"),
             record(b"2456175.65918", b"12.300", b"0.030", b"B", b"1.449",
                    b"|VMAGINS=-0.600|CMAGINS=0.000|KMAGINS=-1.900|CREFMAG=12.900|KREFMAG=13.500",
                    b"-1.900"),
             record(b"2456175.66100", b"12.280", b"0.032", b"B", b"1.441",
                    b"|VMAGINS=-0.620|CMAGINS=0.000|KMAGINS=-1.920|CREFMAG=12.900|KREFMAG=13.500",
                    b"-1.920"),
             record(b"2456175.66100", b"11.695", b"0.040", b"V", b"1.441",
                    b"|VMAGINS=-0.650|CMAGINS=0.000|KMAGINS=-1.970|CREFMAG=12.345|KREFMAG=13.021",
                    b"-1.970"),
         ])}),
    several("parameter files that disagree, each difference named",
            night("b", B_TABLE, parameters(filt=b"B", code=b"WXYZ", star=b"RR Lyr",
                                           check=b""))
            | night("v", V_TABLE, V_PARAMETERS),
            ["--report", "night.txt", "v", "b"],
            b'b@VARISTELLAR-input.txt:5: error: the observer code "WXYZ" differs from "ABCD" in '
            b"v@VARISTELLAR-input.txt; the nights of one report must agree on it\n"
            b'b@VARISTELLAR-input.txt:6: error: the star\'s name "RR Lyr" differs from "RR LYR" in '
            b"v@VARISTELLAR-input.txt; the nights of one report must agree on it\n"
            b'b@VARISTELLAR-input.txt:11: error: the check star is not given, but it is "000-AAA-002" in '
            b"v@VARISTELLAR-input.txt; the nights of one report must agree on it\n"),
    several("every table's errors, listed in FOLDER order",
            night("b", B_TABLE + b"2456175.7 -0.6 0,031 1 1 1 1 1 1 1\n", B_PARAMETERS)
            | night("v", V_TABLE.replace(b"1.45000 43.50", b"1.45000"), V_PARAMETERS),
            ["--report", "night.txt", "v", "b"],
            b"v@lightcurve.txt:4: error: the line holds 9 values; an observation line holds ten: "
            b"JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\n"
            b'b@lightcurve.txt:7:16: error: "0,031" (value 3, s1) is not a plain decimal number; '
            b"write a point for the decimals, not a comma\n"),
    several("two FOLDERs with one filter",
            night("v1", V_TABLE, V_PARAMETERS) | night("v2", V_TABLE, parameters(filt=b"v")),
            ["--report", "night.txt", "v1", "v2"],
            b'v2@VARISTELLAR-input.txt:9: error: the filter "v" is the filter of '
            b"v1@VARISTELLAR-input.txt too; each FOLDER holds the night of one filter\n"),
    several("one folder given twice is one file in two roles",
            NIGHTS, ["--report", "night.txt", "v", "./v"],
            b"./v@lightcurve.txt: error: the light-curve table is the same file as the "
            b"light-curve table v@lightcurve.txt; give each its own file\n"
            b"./v@VARISTELLAR-input.txt: error: the parameter file is the same file as the "
            b"parameter file v@VARISTELLAR-input.txt; give each its own file\n"),
]
