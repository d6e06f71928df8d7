"""End-to-end cases of convert reading other programs' tables: AstroImageJ's measurement table
(TAB or CSV, an ensemble of comparison stars, aperture lines) and Siril's light curve."""

import math

from cases import TABLE_HEADER, Case, parameters
from several_nights_cases import B_PARAMETERS, B_TABLE
from command_line_cases import VERSION, failing, on_console, sep

# An AstroImageJ run: target T1, check star T2, the ensemble C3 (12.000) and C4 (12.500).
TITLES = ["", "Label", "slice", "J.D.-2400000", "JD_UTC", "HJD_UTC", "BJD_TDB", "AIRMASS",
          "rel_flux_T1", "rel_flux_err_T1", "rel_flux_T2", "rel_flux_err_T2", "tot_C_cnts",
          "Source-Sky_T1", "Source_Error_T1", "Source_AMag_T1", "Source-Sky_T2", "Source_Error_T2",
          "Source-Sky_C3", "Source_Error_C3", "Source_AMag_C3", "Source-Sky_C4", "Source_Error_C4",
          "Source_AMag_C4"]
ENSEMBLE_MAG = -2.5 * math.log10(10 ** (-0.4 * 12.0) + 10 ** (-0.4 * 12.5))


def aij_row(i, target, airmass="1.2345", hjd=True, label=None):
    """Row i (from 0): the target's counts against comparison stars of 60000 and 40000 counts."""
    jd = 2460600.5 + i * 0.01
    comparisons, errors = [60000.0, 40000.0], [300.0, 200.0]
    total = sum(comparisons)
    squared = sum(e * e for e in errors) / total ** 2

    def relative(flux, error):
        ratio = flux / total
        return ratio, ratio * math.sqrt((error / flux) ** 2 + squared)

    r, r_err = relative(target, 500.0)
    k, k_err = relative(30000.0, 400.0)
    return [str(i + 1), label or "frame_%d.fits" % (i + 1), str(i + 1), "%.6f" % (jd - 2400000),
            "%.6f" % jd, "%.6f" % (jd + 0.0031) if hjd else "", "%.6f" % (jd + 0.0039), airmass,
            "%.9f" % r, "%.9f" % r_err, "%.9f" % k, "%.9f" % k_err, "%.3f" % total,
            "%.3f" % target, "500.000", "%.6f" % (ENSEMBLE_MAG - 2.5 * math.log10(r)), "30000.000",
            "400.000", "60000.000", "300.000", "12.000000", "40000.000", "200.000", "12.500000"]


ROWS = [aij_row(0, 50000.0), aij_row(1, 52000.0, airmass="-1"), aij_row(2, 48000.0)]


def tab_table(rows, titles=TITLES):
    return "".join("\t".join(fields) + "\n" for fields in [titles] + rows).encode()


def csv_table(rows, titles=TITLES):
    """With AstroImageJ's metadata lines, CR LF, and a label that needs its quotes."""
    def field(text):
        return '"%s"' % text if "," in text else text
    lines = ["# AIJ_version 5.1.3", "# AIJ_apertures 4"] + [
        ",".join(field(f) for f in fields) for fields in [titles] + rows]
    return "".join(line + "\r\n" for line in lines).encode()


ENSEMBLE_PARAMETERS = parameters(comp=b"ENSEMBLE", comp_mag=b"na", check_mag=b"13.300")
ONE_STAR_TITLES = [t for t in TITLES if not t.endswith("_C4")]


def report(records, program=b"AstroImageJ", date=b"HJD"):
    header = [b"#TYPE=Extended", b"#OBSCODE=ABCD",
              b"#SOFTWARE=" + program + b" via VARISTELLAR " + VERSION, b"#DELIM=,",
              b"#DATE=" + date, b"#OBSTYPE=CCD",
              b"#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES"]
    return b"".join(line + b"\r\n" for line in header + records)


def aij(name, files, args, stdout, stderr=b"", after=None, status=0):
    return Case("convert of an AstroImageJ table: " + name, files, b"", on_console(stdout), status,
                args=["convert"] + args, stderr=on_console(stderr), after=after)


def siril(name, files, args, stdout, stderr=b"", after=None, status=0):
    return Case("convert of a Siril light curve: " + name, files, b"", on_console(stdout), status,
                args=["convert"] + args, stderr=on_console(stderr), after=after)


TABLE_HEADER_ROW = (TABLE_HEADER
                    + b"2456175.65873 -0.63823 0.03856 1.0 0.02 1.96095 0.03387 0.00569 1.45156 43.47\n")

SIRIL_CURVE = (b"# Siril light curve of RR LYR, AAVSO chart X28571ABC\n"
               b"#JD_UT (+ 2460000)\n"
               b"# JD_UT V-C err\n"
               b"600.50000 -0.51234 0.01200\n"
               b"600.51000 -0.52000 0.01300\n"
               b"600.52000 -0.50000 9.99900\n"
               b"2460600.53000 -0.49000 0.01100\n")



def written(table, lines, kept, dropped, first, last, comparison, check, date=b"HJD",
            chart=b"12345AB", why=b"a needed value NaN, empty or a count not above 0"):
    return (b"%s: %d observation lines: %d written, %d dropped (%s), 0 left out (MERR of 1.0 or "
            b"more)\nstar RR LYR, filter V, observer ABCD, chart %s\ncomparison star %s, %s\n"
            b"dates (%s): %s to %s\nwrote lightcurve-aavso.txt: %d observations\n"
            % (table, lines, kept, dropped, why, chart, comparison, check, date, first, last, kept))


def ensemble_record(date, mag, merr, airmass, vmagins, cref=b"11.469", kmag=b"12.776"):
    return (b"RR LYR,%s,%s,%s,V,NO,STD,ENSEMBLE,na,000-AAA-002,%s,%s,na,12345AB,|VMAGINS=%s|"
            b"CMAGINS=0.000|KMAGINS=1.307|CREFMAG=%s|KREFMAG=13.300"
            % (date, mag, merr, kmag, airmass, vmagins, cref))


ENSEMBLE_REPORT = report([
    ensemble_record(b"2460600.50310", b"12.221", b"0.011", b"1.234", b"0.753"),
    ensemble_record(b"2460600.51310", b"12.179", b"0.011", b"na", b"0.710"),
    ensemble_record(b"2460600.52310", b"12.266", b"0.012", b"1.234", b"0.797"),
])
ENSEMBLE_SUMMARY = written(b"Measurements.xls", 3, 3, 0, b"2460600.50310", b"2460600.52310",
                           b"ENSEMBLE (11.469)", b"check star 000-AAA-002 (13.300)")
ENSEMBLE_NIGHT = {"Measurements.xls": tab_table(ROWS), "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS}
NO_HJD_ROWS = [aij_row(0, 50000.0), aij_row(1, 52000.0, airmass="0", hjd=False),
               aij_row(2, 48000.0)]
DROPPED_ROW = aij_row(1, 52000.0)
DROPPED_ROW[8] = "NaN"
TEXT_ROW = aij_row(2, 48000.0)
TEXT_ROW[9] = "n/a"
COMPARISON_LINES = b"\n# the ensemble, recomputed\ncomparison C3 12.000\nCOMPARISON c4 12.6\n"
APERTURE_USAGE = (b"; an aperture line is `target T1`, `check T2` or `comparison C2 12.345` (an "
                  b"aperture of the AstroImageJ table, and a comparison star's catalogue magnitude)")
SIRIL_PARAMETERS = parameters(comp=b"ENSEMBLE", comp_mag=b"12.100", chart=b"", check=b"",
                              check_mag=b"")
ROW_B = [aij_row(0, 40000.0), aij_row(1, 41000.0), aij_row(2, 39000.0)]
TWO_FILTERS = {"b/Measurements.xls": tab_table(ROW_B), "v/Measurements.xls": tab_table(ROWS),
               "b/VARISTELLAR-input.txt": parameters(comp=b"ENSEMBLE", comp_mag=b"na", filt=b"B",
                                                     check_mag=b"13.900"),
               "v/VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS}
TG_INI = (b"[Setup]\ndescription= TG - Version 5.10, ...\n[Coefficients]\nTbv= 1.1974\n"
          b"Tb_bv= 0.1181\nTv_bv= -0.0467\n[Error]\nTb_bv= 0.0103\nTv_bv= 0.0070\n")


def two_filter_record(date, mag, merr, filt, airmass, vmagins, kref, trans=b""):
    return (b"RR LYR,%s,%s,%s,%s,%s,STD,ENSEMBLE,na,000-AAA-002,12.776,%s,na,12345AB,|VMAGINS=%s|"
            b"CMAGINS=0.000|KMAGINS=1.307|CREFMAG=11.469|KREFMAG=%s%s"
            % (date, mag, merr, filt, b"YES" if trans else b"NO", airmass, vmagins, kref, trans))


B_NOTES = b"|Tb_bv=0.1181|Tb_bvERR=0.0103|BVCOLOR="
V_NOTES = b"|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR="
TRANSFORM_LINES = [b"#TRANSFORM Tb_bv=0.1181 +/- 0.0103 (tg.ini)",
                   b"#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (tg.ini)"]
PLAIN_TWO_FILTERS = report([
    two_filter_record(b"2460600.50310", b"12.464", b"0.014", b"B", b"1.234", b"0.995", b"13.900"),
    two_filter_record(b"2460600.50310", b"12.221", b"0.011", b"V", b"1.234", b"0.753", b"13.300"),
    two_filter_record(b"2460600.51310", b"12.437", b"0.014", b"B", b"1.234", b"0.968", b"13.900"),
    two_filter_record(b"2460600.51310", b"12.179", b"0.011", b"V", b"na", b"0.710", b"13.300"),
    two_filter_record(b"2460600.52310", b"12.491", b"0.014", b"B", b"1.234", b"1.022", b"13.900"),
    two_filter_record(b"2460600.52310", b"12.266", b"0.012", b"V", b"1.234", b"0.797", b"13.300"),
])
DIRECT_TRANSFORMED = report(TRANSFORM_LINES + [
    two_filter_record(b"2460600.50310", b"12.498", b"0.016", b"B", b"1.234", b"0.995", b"13.900",
                      B_NOTES + b"0.290"),
    two_filter_record(b"2460600.50310", b"12.208", b"0.012", b"V", b"1.234", b"0.753", b"13.300",
                      V_NOTES + b"0.290"),
    two_filter_record(b"2460600.51310", b"12.473", b"0.016", b"B", b"1.234", b"0.968", b"13.900",
                      B_NOTES + b"0.309"),
    two_filter_record(b"2460600.51310", b"12.164", b"0.012", b"V", b"na", b"0.710", b"13.300",
                      V_NOTES + b"0.309"),
    two_filter_record(b"2460600.52310", b"12.523", b"0.017", b"B", b"1.234", b"1.022", b"13.900",
                      B_NOTES + b"0.270"),
    two_filter_record(b"2460600.52310", b"12.253", b"0.013", b"V", b"1.234", b"0.797", b"13.300",
                      V_NOTES + b"0.270"),
])
LATER_TRANSFORMED = (DIRECT_TRANSFORMED.replace(b"12.164,0.012", b"12.165,0.012")
                     .replace(b"12.523,0.017", b"12.523,0.016").replace(b"0.270", b"0.269"))


def magnitudes(text):
    return [float(line.split(b",")[2]) for line in text.split(b"\r\n") if line.startswith(b"RR")]


# The round trip: `transform` of the report convert wrote gives convert --transform's magnitudes.
assert all(abs(a - b) <= 0.001 + 1e-9
           for a, b in zip(magnitudes(DIRECT_TRANSFORMED), magnitudes(LATER_TRANSFORMED)))
TWO_FILTER_SUMMARY = (
    b"b@Measurements.xls: 3 observation lines: 3 written, 0 dropped (a needed value NaN, empty or "
    b"a count not above 0), 0 left out (MERR of 1.0 or more)\n"
    b"v@Measurements.xls: 3 observation lines: 3 written, 0 dropped (a needed value NaN, empty or "
    b"a count not above 0), 0 left out (MERR of 1.0 or more)\n"
    b"star RR LYR, filters B, V, observer ABCD, chart 12345AB\n"
    b"comparison star ENSEMBLE (B 11.469, V 11.469), check star 000-AAA-002 (B 13.900, V 13.300)\n"
    b"dates (HJD): 2460600.50310 to 2460600.52310\n")
CHECK_STAR_LINES = (
    b"check star 000-AAA-002 B: 3 observations, mean 12.776 (catalogue 13.900, difference -1.124), "
    b"standard deviation 0.000\n"
    b"check star 000-AAA-002 B transformed: 3 observations, mean 12.776 (catalogue 13.900, "
    b"difference -1.124), standard deviation 0.000\n"
    b"check star 000-AAA-002 V: 3 observations, mean 12.776 (catalogue 13.300, difference -0.524), "
    b"standard deviation 0.000\n"
    b"check star 000-AAA-002 V transformed: 3 observations, mean 12.776 (catalogue 13.300, "
    b"difference -0.524), standard deviation 0.000\n")
TRANSFORMED_COUNTS = (b"transformed B: 3 of 3 observations, with Tb_bv=0.1181 +/- 0.0103\n"
                      b"transformed V: 3 of 3 observations, with Tv_bv=-0.0467 +/- 0.0070\n")


def check_away(table, filt, size, catalogue):
    """convert's quality warning of a check star that measures `size` brighter than line 12. The
    check star T2 here has 30,000 counts against the ensemble's 100,000: 1.307 fainter than the
    ensemble (11.469), 12.776, where line 12 says 13.300 (V) or 13.900 (B)."""
    return (b"%s: warning: quality: check star 000-AAA-002 %s is %s brighter than its catalogue "
            b"magnitude %s: is it the right star, the right catalogue magnitude and the right "
            b"filter?\n" % (table, filt, size, catalogue))


V_AWAY = check_away(b"Measurements.xls", b"V", b"0.52", b"13.300")
TWO_AWAY = (check_away(b"b@Measurements.xls", b"B", b"1.12", b"13.900")
            + check_away(b"v@Measurements.xls", b"V", b"0.52", b"13.300"))


def with_separator(text):
    return lambda p: on_console(text.replace(b"@", sep(p)))(p)


CASES = [
    aij("an ensemble's records, FOLDER's one table by its content", ENSEMBLE_NIGHT, [],
        ENSEMBLE_SUMMARY, stderr=V_AWAY, after={"lightcurve-aavso.txt": ENSEMBLE_REPORT}),
    aij("--check-star prints the check star's statistics", ENSEMBLE_NIGHT, ["--check-star"],
        ENSEMBLE_SUMMARY + b"check star 000-AAA-002: 3 observations, mean 12.776 (catalogue "
        b"13.300, difference -0.524), standard deviation 0.000\n", stderr=V_AWAY,
        after={"lightcurve-aavso.txt": ENSEMBLE_REPORT}),
    aij("CSV with quoted fields, CR LF and comparison lines that differ from the table's",
        {"m.csv": csv_table(ROWS[:1] + [aij_row(1, 52000.0, airmass="-1", label="a,b.fits")] + ROWS[2:]),
         "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS.replace(b"na\n", b"11.500\n", 1)
         + COMPARISON_LINES},
        ["--table", "m.csv"],
        written(b"m.csv", 3, 3, 0, b"2460600.50310", b"2460600.52310", b"ENSEMBLE (11.506)",
                b"check star 000-AAA-002 (13.300)"),
        stderr=b"m.csv:4: warning: the comparison lines of the parameter file give the "
        b"comparison's magnitude as 11.506, but the table's own ensemble magnitude (Source_AMag_T1 "
        b"+ 2.5 log10(rel_flux_T1)) is 11.469 on its first kept row\n"
        # Against the comparison lines' 11.506 the check star stands at 12.814.
        + check_away(b"m.csv", b"V", b"0.49", b"13.300")
        # The table's counts put C3 and C4 0.16 apart from what those lines say.
        + b"m.csv: warning: quality: comparison star C3 measures 0.16 fainter than its catalogue "
        b"magnitude 12.000 against the others: a variable or misidentified star? Leave it out "
        b"with comparison lines\n"
        b"m.csv: warning: quality: comparison star C4 measures 0.16 brighter than its catalogue "
        b"magnitude 12.600 against the others: a variable or misidentified star? Leave it out "
        b"with comparison lines\n",
        after={"lightcurve-aavso.txt": report([
            ensemble_record(b"2460600.50310", b"12.259", b"0.011", b"1.234", b"0.753",
                            b"11.506", b"12.814"),
            ensemble_record(b"2460600.51310", b"12.216", b"0.011", b"na", b"0.710",
                            b"11.506", b"12.814"),
            ensemble_record(b"2460600.52310", b"12.303", b"0.012", b"1.234", b"0.797",
                            b"11.506", b"12.814")])}),
    aij("a kept row without HJD makes the night JD, with a note",
        {"Measurements.xls": tab_table(NO_HJD_ROWS), "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS},
        [], written(b"Measurements.xls", 3, 3, 0, b"2460600.50000", b"2460600.52000",
                    b"ENSEMBLE (11.469)", b"check star 000-AAA-002 (13.300)", date=b"JD"),
        stderr=b"Measurements.xls: note: line 3, a kept row, has no HJD_UTC: the report's dates "
        b"are JD, from JD_UTC\n" + V_AWAY,
        after={"lightcurve-aavso.txt": ENSEMBLE_REPORT.replace(b"#DATE=HJD", b"#DATE=JD")
               .replace(b"2460600.50310", b"2460600.50000").replace(b"2460600.51310", b"2460600.51000")
               .replace(b"2460600.52310", b"2460600.52000")}),
    failing("convert of an AstroImageJ table: --date HJD without HJD on every kept row",
            {"Measurements.xls": tab_table(NO_HJD_ROWS), "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS},
            ["convert", "--date", "HJD"],
            b"Measurements.xls: error: --date HJD needs an HJD on every kept row, but line 3, a kept "
            b"row, has no HJD_UTC\n"),
    aij("a NaN row is dropped with one warning",
        {"Measurements.xls": tab_table([ROWS[0], DROPPED_ROW, ROWS[2]]),
         "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS}, [],
        written(b"Measurements.xls", 3, 2, 1, b"2460600.50310", b"2460600.52310",
                b"ENSEMBLE (11.469)", b"check star 000-AAA-002 (13.300)"),
        stderr=b"Measurements.xls:3: warning: 1 row was dropped, this the first: a value the night "
        b"needs is NaN or empty, or a count is not above 0\n" + V_AWAY,
        after={"lightcurve-aavso.txt": report([ENSEMBLE_REPORT.split(b"\r\n")[7],
                                               ENSEMBLE_REPORT.split(b"\r\n")[9]])}),
    failing("convert of an AstroImageJ table: text that is no number names line, column and text",
            {"Measurements.xls": tab_table([ROWS[0], ROWS[1], TEXT_ROW]),
             "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS}, ["convert"],
            b'Measurements.xls:4: error: "n/a" in column rel_flux_err_T1 is not a number\n'),
    failing("convert of an AstroImageJ table: each faulty aperture line named",
            {"Measurements.xls": tab_table(ROWS),
             "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS
             + b"\ntarget T7\ncheck C3\ncompare C4 12.5\ncomparison C4 twelve\n"}, ["convert"],
            b'VARISTELLAR-input.txt:16: error: "compare" is not target, check or comparison'
            + APERTURE_USAGE + b"\n"
            b'VARISTELLAR-input.txt:17: error: the magnitude "twelve" is not a plain decimal number '
            b"such as 12.345" + APERTURE_USAGE + b"\n"
            b"VARISTELLAR-input.txt:14: error: the table has no aperture T7 (no column "
            b"Source-Sky_T7)\n"
            b"VARISTELLAR-input.txt:15: error: the check star C3 is one of the ensemble's "
            b"comparison stars\n"),
    failing("convert of an AstroImageJ table: an aperture named twice",
            {"Measurements.xls": tab_table(ROWS),
             "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS + b"target T2\ncheck T2\n"}, ["convert"],
            b"VARISTELLAR-input.txt:14: error: the aperture T2 is named twice\n"
            b"VARISTELLAR-input.txt:13: error: the target T2 cannot be the check star\n"),
    failing("convert of an AstroImageJ table: an ensemble needs ENSEMBLE on line 7",
            {"Measurements.xls": tab_table(ROWS), "VARISTELLAR-input.txt": parameters()}, ["convert"],
            b"VARISTELLAR-input.txt:7: error: the comparison stars are an ensemble (C3, C4): line 7 "
            b'must be ENSEMBLE, not "000-AAA-001"\n'),
    failing("convert of an AstroImageJ table: no magnitude for the ensemble",
            {"Measurements.xls": tab_table(ROWS, [t.replace("Source_AMag_T1", "Source_AMag")
                                                  for t in TITLES]),
             "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS}, ["convert"],
            b"Measurements.xls:1: error: the table gives no catalogue magnitude for the comparison "
            b"stars (no column Source_AMag_T1): enter their magnitudes in AstroImageJ, or give "
            b"`comparison C2 12.345` lines after line 12 of the parameter file\n"),
    failing("convert of an AstroImageJ table: FOLDER with two tables asks for --table",
            {"a.xls": tab_table(ROWS), "b.csv": csv_table(ROWS),
             "VARISTELLAR-input.txt": ENSEMBLE_PARAMETERS}, ["convert"],
            b'a.xls: error: the folder holds no lightcurve.txt or light_curve.dat, and 2 AstroImageJ '
            b'tables: "a.xls", "b.csv"; name the one to convert with --table\n'),
    failing("convert: aperture lines beside a MAGNIVEX table are an error",
            {"lightcurve.txt": TABLE_HEADER_ROW, "VARISTELLAR-input.txt": parameters()
             + b"target T2\n"}, ["convert"],
            b"VARISTELLAR-input.txt:13: error: an aperture line is for an AstroImageJ table, but the "
            b"table is MAGNIVEX's; leave the line out\n"),
    Case("convert of AstroImageJ tables: --transform of two ensembles", TWO_FILTERS | {
         "tg.ini": TG_INI}, b"",
         with_separator(TWO_FILTER_SUMMARY + b"wrote direct.txt: 6 observations\n"
                        + TRANSFORMED_COUNTS + CHECK_STAR_LINES), 0,
         args=["convert", "--transform", "tg.ini", "--report", "direct.txt", "b", "v"],
         folders=["b", "v"], stderr=with_separator(TWO_AWAY),
         after={"direct.txt": DIRECT_TRANSFORMED}),
    Case("convert of AstroImageJ tables: two ensembles in one report", TWO_FILTERS, b"",
         with_separator(TWO_FILTER_SUMMARY + b"wrote plain.txt: 6 observations\n"), 0,
         args=["convert", "--report", "plain.txt", "b", "v"], folders=["b", "v"],
         stderr=with_separator(TWO_AWAY), after={"plain.txt": PLAIN_TWO_FILTERS}),
    Case("transform of an ensemble report convert wrote", {"plain.txt": PLAIN_TWO_FILTERS,
                                                           "tg.ini": TG_INI}, b"",
         on_console(b"plain.txt: 6 observations: 6 transformed, 0 written as they were\n"
                    b"wrote plain-transformed.txt: 6 observations\n" + TRANSFORMED_COUNTS
                    + CHECK_STAR_LINES), 0,
         args=["transform", "--transform", "tg.ini", "plain.txt"],
         after={"plain-transformed.txt": LATER_TRANSFORMED}),
    siril("the chart, the JD's offset, a failed row dropped",
          {"light_curve.dat": SIRIL_CURVE, "VARISTELLAR-input.txt": SIRIL_PARAMETERS}, [],
          written(b"light_curve.dat", 4, 3, 1, b"2460600.50000", b"2460600.53000",
                  b"ENSEMBLE (12.100)", b"no check star", date=b"JD", chart=b"X28571ABC",
                  why=b"V-C above 90 or err above 9.99"),
          after={"lightcurve-aavso.txt": report([
              b"RR LYR,%s,%s,%s,V,NO,STD,ENSEMBLE,na,na,na,na,na,X28571ABC,|VMAGINS=%s|"
              b"CMAGINS=0.000|CREFMAG=12.100" % values for values in [
                  (b"2460600.50000", b"11.588", b"0.012", b"-0.512"),
                  (b"2460600.51000", b"11.580", b"0.013", b"-0.520"),
                  (b"2460600.53000", b"11.610", b"0.011", b"-0.490")]], b"Siril", b"JD")}),
    siril("a check star on line 11 is not in the light curve",
          {"light_curve.dat": SIRIL_CURVE, "VARISTELLAR-input.txt": parameters()}, [],
          written(b"light_curve.dat", 4, 3, 1, b"2460600.50000", b"2460600.53000",
                  b"000-AAA-001 (12.345)", b"no check star", date=b"JD",
                  why=b"V-C above 90 or err above 9.99"),
          stderr=b"VARISTELLAR-input.txt:11: warning: the check star 000-AAA-002 is not in the "
          b"Siril light curve, which measures none: KNAME and KMAG are na\n"
          b'lightcurve-aavso.txt:8:56: warning: MTYPE STD with comparison star "000-AAA-001" and '
          b"CMAG na: the check star's magnitude (K - C) cannot be derived (and 2 more lines) "
          b"[R13b]\n",
          after={"lightcurve-aavso.txt": report([
              b"RR LYR,%s,%s,%s,V,NO,STD,000-AAA-001,na,na,na,na,na,12345AB,na" % values
              for values in [(b"2460600.50000", b"11.833", b"0.012"),
                             (b"2460600.51000", b"11.825", b"0.013"),
                             (b"2460600.53000", b"11.855", b"0.011")]], b"Siril", b"JD")}),
    failing("convert of a Siril light curve: every error at once",
            {"light_curve.dat": SIRIL_CURVE + b"600.54 -0.5\n600.55 x 0.01\n",
             "VARISTELLAR-input.txt": parameters(comp_mag=b"na") + b"check T2\n"},
            ["convert", "--check-star", "--date", "HJD"],
            b"VARISTELLAR-input.txt:8:1: error: the comparison star's magnitude \"na\" is not a "
            b"plain decimal number; write it like 12.345 (a point, no comma, nothing else on the "
            b"line)\n"
            b"VARISTELLAR-input.txt:13: error: an aperture line is for an AstroImageJ table, but "
            b"the table is Siril's; leave the line out\n"
            b"light_curve.dat: error: --date HJD: the Siril light curve has JD_UT only, no HJD\n"
            b"light_curve.dat: error: --check-star: the Siril light curve measures no check star\n"
            b"light_curve.dat:8: error: the line holds 2 values; a data line holds three: JD_UT "
            b"V-C err\n"
            b'light_curve.dat:9:8: error: "x" (V-C) is not a number\n'),
    Case("convert of a MAGNIVEX and an AstroImageJ night into one report",
         {"b/lightcurve.txt": B_TABLE, "b/VARISTELLAR-input.txt": B_PARAMETERS,
          "v/m.xls": tab_table([[f for t, f in zip(TITLES, row) if not t.endswith("_C4")]
                                for row in ROWS], ONE_STAR_TITLES),
          "v/VARISTELLAR-input.txt": parameters(comp_mag=b"11.469")}, b"",
         with_separator(
             b"b@lightcurve.txt: 4 observation lines: 3 written, 1 dropped (V-C above 90), 0 left "
             b"out (MERR of 1.0 or more)\n"
             b"v@m.xls: 3 observation lines: 3 written, 0 dropped (a needed value NaN, empty or a "
             b"count not above 0), 0 left out (MERR of 1.0 or more)\n"
             b"star RR LYR, filters B, V, observer ABCD, chart 12345AB\n"
             b"comparison star 000-AAA-001 (B 12.900, V 11.469), check star 000-AAA-002 (B 13.500, "
             b"V 13.021)\n"
             b"dates (HJD): 2456175.65873 to 2460600.52310\nwrote n.txt: 6 observations\n"), 0,
         args=["convert", "--report", "n.txt", "b", "v"], folders=["b", "v"],
         # B's rows are the sample's, far from line 12; V's check star against its one
         # comparison C3 (rel_flux_T2 against the table's total) measures 12.776, not 13.021.
         stderr=with_separator(
             b"b@lightcurve.txt: warning: quality: check star 000-AAA-002 B is 2.51 brighter than "
             b"its catalogue magnitude 13.500: is it the right star, the right catalogue magnitude "
             b"and the right filter?\n"
             + check_away(b"v@m.xls", b"V", b"0.24", b"13.021") +
             b'n.txt:8:56: warning: MTYPE STD with comparison star "000-AAA-001" and CMAG na: the '
             b"check star's magnitude (K - C) cannot be derived (and 5 more lines) [R13b]\n"
             b'n.txt:8:71: warning: KNAME "000-AAA-002" is given with KMAG na (and 5 more lines) '
             b"[R15b]\n"),
         after={"n.txt": report([
             b"RR LYR,%s,%s,%s,%s,NO,STD,000-AAA-001,na,000-AAA-002,na,%s,na,12345AB,na" % values
             for values in [
                 (b"2456175.65873", b"12.290", b"0.031", b"B", b"1.452"),
                 (b"2456175.65918", b"12.300", b"0.030", b"B", b"1.449"),
                 (b"2456175.66100", b"12.280", b"0.032", b"B", b"1.441"),
                 (b"2460600.50310", b"12.222", b"0.011", b"V", b"1.234"),
                 (b"2460600.51310", b"12.179", b"0.011", b"V", b"na"),
                 (b"2460600.52310", b"12.266", b"0.012", b"V", b"1.234")]], b"MAGNIVEX")}),
]
