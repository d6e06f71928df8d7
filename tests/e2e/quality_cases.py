"""End-to-end cases of the night's quality: convert's `quality:` warnings after the summary, each
on a night made with that fault and none on a sound night, and --merr check-scatter's errors,
worked out here from the table itself."""

import math

from cases import TABLE_HEADER, Case, parameters
from check_star_cases import statistics_line, three
from command_line_cases import aavso_report, failing, on_console, sep, summary, usage
from readers_cases import SIRIL_CURVE

C_REF, K_REF = 12.345, 13.021
UNMEASURED = None


class Row:
    """One table line: its date, V-C, s1, the check star's standard magnitude (None: not
    measured), s3 and the airmass, each as the table writes it with 5 decimals."""

    def __init__(self, date, v_c, s1, kstd, s3, airmass):
        self.text = b"%.5f %.5f %.5f 1.3 0.02 %s %s 0.00569 %.5f 43.4\n" % (
            date, v_c, s1, b"%.5f" % (C_REF - kstd) if kstd is not None else b"99.999",
            b"%.5f" % s3 if kstd is not None else b"99.999", airmass)
        values = self.text.split()
        self.date, self.v_c, self.s1 = values[0], float(values[1]), float(values[2])
        c1_k1 = float(values[5])
        self.measured = c1_k1 <= 90
        self.kmag = -c1_k1
        self.kstd = C_REF + self.kmag if self.measured else None
        self.s3 = float(values[6])
        self.airmass = float(values[8])

    def record(self, merr=None, source=b""):
        merr = self.s1 if merr is None else merr
        notes = b"|VMAGINS=%s|CMAGINS=0.000" % three(self.v_c)
        if self.measured:
            notes += b"|KMAGINS=%s|CREFMAG=%s|KREFMAG=%s" % (three(self.kmag), three(C_REF),
                                                            three(K_REF))
        else:
            notes += b"|CREFMAG=%s" % three(C_REF)
        return (b"RR LYR,%s,%s,%s,V,NO,STD,000-AAA-001,0.000,000-AAA-002,%s,%s,na,12345AB,%s%s"
                % (self.date, three(C_REF + self.v_c), three(merr),
                   three(self.kmag) if self.measured else b"na", three(self.airmass), notes, source))


def night(count, kstd, s3=0.005, airmass=lambda i: 1.2 + 0.001 * i, s1=0.01):
    """`count` rows two minutes apart, the check star's magnitude kstd(i)."""
    return [Row(2460600.3 + 0.0014 * i, -0.5 - 0.001 * i, s1, kstd(i), s3, airmass(i))
            for i in range(count)]


def table(rows):
    return TABLE_HEADER + b"".join(row.text for row in rows)


def wobble(size):
    return lambda i: size if i % 2 == 0 else -size


def deviation(values):
    mean = sum(values) / len(values)
    return math.sqrt(sum((v - mean) ** 2 for v in values) / (len(values) - 1))


def measured(rows):
    return [row.kstd for row in rows if row.measured]


# ---------------------------------------------------------------- the warnings' texts

def away(rows, table_name=b"lightcurve.txt"):
    difference = sum(measured(rows)) / len(measured(rows)) - K_REF
    return (b"%s: warning: quality: check star 000-AAA-002 V is %.2f %s than its catalogue "
            b"magnitude 13.021: is it the right star, the right catalogue magnitude and the right "
            b"filter?\n" % (table_name, abs(difference),
                            b"brighter" if difference < 0 else b"fainter"))


def understated(rows):
    errors = sorted(row.s3 for row in rows if row.measured)
    half = len(errors) // 2
    median = errors[half] if len(errors) % 2 else (errors[half - 1] + errors[half]) / 2
    spread = deviation(measured(rows))
    return (b"lightcurve.txt: warning: quality: the check star scatters %s in V, %.1f times its "
            b"reported error: the table's errors understate this night's; --merr check-scatter "
            b"reports the scatter\n" % (three(spread), spread / median))


def drift(rows):
    points = [(row.airmass, row.kstd) for row in rows if row.measured]
    n = len(points)
    mx = sum(x for x, _ in points) / n
    my = sum(y for _, y in points) / n
    slope = (sum((x - mx) * (y - my) for x, y in points)
             / sum((x - mx) ** 2 for x, _ in points))
    low, high = min(x for x, _ in points), max(x for x, _ in points)
    return (b"lightcurve.txt: warning: quality: the check star drifts %s over airmass %.2f to "
            b"%.2f in V: a colour difference between the stars (transform the night) or "
            b"differential extinction\n" % (three(abs(slope) * (high - low)), low, high))


def converted(name, rows, stderr, args=(), records=None, left_out=()):
    """A night converted with --check-star: its records, summary, statistics (of the rows
    written) and warnings."""
    records = records if records is not None else [row.record() for row in rows]
    written = [row for i, row in enumerate(rows) if i not in left_out]
    stdout = (summary(b"lightcurve.txt", len(rows), len(written), 0, rows[0].date, rows[-1].date,
                      b"lightcurve-aavso.txt", left_out=len(left_out))
              + statistics_line(measured(written)))
    return Case("quality: " + name, {"lightcurve.txt": table(rows),
                                     "VARISTELLAR-input.txt": parameters()},
                b"", on_console(stdout), 0, args=["convert", "--check-star"] + list(args),
                stderr=on_console(stderr),
                after={"lightcurve-aavso.txt": aavso_report(records)})


SOUND = night(25, lambda i: K_REF + wobble(0.004)(i))
AWAY = night(25, lambda i: K_REF - 0.23 + wobble(0.004)(i))
AWAY_JUST = night(25, lambda i: K_REF + 0.099 + wobble(0.004)(i))
UNDERSTATED = night(10, lambda i: K_REF + wobble(0.03)(i), s3=0.014)
STATED = night(10, lambda i: K_REF + wobble(0.03)(i), s3=0.016)
NINE = night(9, lambda i: K_REF + wobble(0.03)(i), s3=0.001)
DRIFT = night(25, lambda i: K_REF + 0.06 * 0.03 * i + wobble(0.002)(i), s3=0.01,
              airmass=lambda i: 1.1 + 0.03 * i)
NARROW = night(25, lambda i: K_REF + 0.06 * 0.0082 * i * 4 + wobble(0.002)(i), s3=0.01,
               airmass=lambda i: 1.1 + 0.0082 * i)
EVERY = night(25, lambda i: K_REF - 0.3 + 0.06 * 0.03 * i + wobble(0.02)(i), s3=0.004,
              airmass=lambda i: 1.1 + 0.03 * i)


# ---------------------------------------------------------------- --merr check-scatter

def scatter_of(rows, width):
    """Each row's deviation over its window: for rows evenly spaced in time the `width` rows
    centred on it, slid in at the night's ends; None with fewer than 5 measured."""
    n, half = len(rows), width // 2
    out = []
    for i in range(n):
        start = min(max(i - half, 0), max(n - width, 0))
        values = measured(rows[start:start + width])
        out.append(deviation(values) if len(values) >= 5 else None)
    return out


def scattered_records(rows, width):
    records = []
    for row, spread in zip(rows, scatter_of(rows, width)):
        if spread is None:
            records.append(row.record())
        else:
            merr = math.sqrt(row.s1 ** 2 + spread ** 2)
            records.append(None if merr >= 0.9995 else
                           row.record(merr, b"|MERRSRC=KC%d" % width))
    return records


# The first row's check star unmeasured: the first three windows of five hold four measured.
SCATTERED = night(9, lambda i: UNMEASURED if i == 0 else K_REF + wobble(0.03)(i), s3=0.005)
# The third row's s1 of 0.9 with a scatter near 0.5: MERR 1.0 and more, left out.
WIDE = night(7, lambda i: K_REF + wobble(0.5)(i), s1=0.01)
WIDE[2] = Row(2460600.3 + 0.0014 * 2, -0.502, 0.9, K_REF + 0.5, 0.005, 1.202)


def scatter_case(name, rows, width, stderr, args):
    records = scattered_records(rows, width)
    left_out = [i for i, record in enumerate(records) if record is None]
    return converted(name, rows, stderr, args=args,
                     records=[r for r in records if r is not None], left_out=left_out)


# Two filters' nights, each of five rows: each filter's window of five is its whole night. The
# table's C1-K1 is written against 12.345; B's comparison is 12.900, so B's check star stands
# 0.555 fainter than the Row's magnitude: 13.5 and about.
B_ROWS = night(5, lambda i: 13.5 - 0.555 + wobble(0.02)(i) + 0.001 * i)
V_ROWS = [Row(2460600.3007 + 0.0014 * i, -0.6, 0.012, K_REF + wobble(0.01)(i), 0.004, 1.3)
          for i in range(5)]


def statistics_of(name, kstd, catalogue):
    n = len(kstd)
    mean = sum(kstd) / n
    return (b"check star 000-AAA-002 %s: %d observations, mean %s (catalogue %s, difference %s), "
            b"standard deviation %s\n" % (name, n, three(mean), three(catalogue),
                                          (b"" if mean - catalogue < 0 else b"+")
                                          + three(mean - catalogue), three(deviation(kstd))))


def two_filters():
    b_kstd = [12.9 + row.kmag for row in B_ROWS]
    v_kstd = measured(V_ROWS)
    records = []
    for rows, kstd, filt, comp, check in ((B_ROWS, b_kstd, b"B", 12.9, 13.5),
                                         (V_ROWS, v_kstd, b"V", C_REF, K_REF)):
        spread = deviation(kstd)
        for row in rows:
            records.append((float(row.date), b"RR LYR,%s,%s,%s,%s,NO,STD,000-AAA-001,0.000,"
                            b"000-AAA-002,%s,%s,na,12345AB,|VMAGINS=%s|CMAGINS=0.000|KMAGINS=%s|"
                            b"CREFMAG=%s|KREFMAG=%s|MERRSRC=KC5"
                            % (row.date, three(comp + row.v_c),
                               three(math.sqrt(row.s1 ** 2 + spread ** 2)), filt,
                               three(row.kmag), three(row.airmass), three(row.v_c),
                               three(row.kmag), three(comp), three(check))))
    report = aavso_report([record for _, record in sorted(records, key=lambda r: r[0])])
    files = {"b/lightcurve.txt": table(B_ROWS),
             "b/VARISTELLAR-input.txt": parameters(filt=b"B", comp_mag=b"12.900",
                                                   check_mag=b"13.500"),
             "v/lightcurve.txt": table(V_ROWS), "v/VARISTELLAR-input.txt": parameters()}

    def stdout(p):
        s = sep(p)
        return on_console(
            b"b%slightcurve.txt: 5 observation lines: 5 written, 0 dropped (V-C above 90), 0 left "
            b"out (MERR of 1.0 or more)\n" % s
            + b"v%slightcurve.txt: 5 observation lines: 5 written, 0 dropped (V-C above 90), 0 "
            b"left out (MERR of 1.0 or more)\n" % s
            + b"star RR LYR, filters B, V, observer ABCD, chart 12345AB\n"
            b"comparison star 000-AAA-001 (B 12.900, V 12.345), check star 000-AAA-002 "
            b"(B 13.500, V 13.021)\n"
            b"dates (HJD): %s to %s\n" % (B_ROWS[0].date, V_ROWS[-1].date)
            + b"wrote night.txt: 10 observations\n"
            + statistics_of(b"B", b_kstd, 13.5) + statistics_of(b"V", v_kstd, K_REF))(p)
    return Case("quality: --merr check-scatter:5 over two filters, each its own window",
                files, b"", stdout, 0,
                args=["convert", "--merr", "check-scatter:5", "--report", "night.txt", "b", "v"],
                folders=["b", "v"], after={"night.txt": report})


CASES = [
    converted("a sound night draws no warning", SOUND, b""),
    converted("a check star 0.23 brighter than its catalogue magnitude", AWAY, away(AWAY)),
    converted("a check star 0.099 away is close enough", AWAY_JUST, b""),
    converted("a check star scattering more than twice its errors", UNDERSTATED,
              understated(UNDERSTATED)),
    converted("a check star scattering less than twice its errors", STATED, b""),
    converted("nine observations are too few to judge the errors", NINE, b""),
    converted("a check star that drifts with airmass", DRIFT, drift(DRIFT)),
    converted("a drift over an airmass range below 0.2 is not judged", NARROW, b""),
    converted("every warning, in their order", EVERY,
              away(EVERY) + understated(EVERY) + drift(EVERY)),
    scatter_case("--merr check-scatter:5 widens MERR by the check star's scatter nearby",
                 SCATTERED, 5,
                 b"lightcurve.txt:3: warning: 3 observations have fewer than 5 measured check "
                 b"stars among the 5 observations nearest in time: they keep the table's error as "
                 b"MERR\n"
                 b"lightcurve-aavso.txt:8:74: warning: KNAME \"000-AAA-002\" is given with KMAG na "
                 b"[R15b]\n", ["--merr", "check-scatter:5"]),
    scatter_case("a MERR widened to 1.0 or more is left out", WIDE, 5,
                 b"lightcurve.txt:5: warning: MERR %s is 1.0 or more, which the AAVSO does not "
                 b"accept: the observation is left out of the report\n"
                 % three(math.sqrt(0.9 ** 2 + scatter_of(WIDE, 5)[2] ** 2)),
                 ["--merr=check-scatter:5"]),
    two_filters(),
    failing("quality: --merr check-scatter without a check star",
            {"lightcurve.txt": table(SOUND),
             "VARISTELLAR-input.txt": parameters(check=b"", check_mag=b"")},
            ["convert", "--merr", "check-scatter"],
            b"VARISTELLAR-input.txt:11: error: --merr check-scatter needs a check star, but line "
            b"11 names none: put the check star's name on line 11 and its catalogue magnitude on "
            b"line 12, or convert with --merr table\n"),
    failing("quality: --merr check-scatter on a Siril light curve, which measures no check star",
            {"light_curve.dat": SIRIL_CURVE, "VARISTELLAR-input.txt": parameters()},
            ["convert", "--merr", "check-scatter"],
            b"VARISTELLAR-input.txt:11: warning: the check star 000-AAA-002 is not in the Siril "
            b"light curve, which measures none: KNAME and KMAG are na\n"
            b"light_curve.dat: error: --merr check-scatter needs a check star, but the table "
            b"measures none: convert with --merr table\n"),
    failing("quality: --merr check-scatter on a table out of time order",
            {"lightcurve.txt": table(SOUND[:6] + SOUND[7:9] + SOUND[6:7]),
             "VARISTELLAR-input.txt": parameters()},
            ["convert", "--merr", "check-scatter:5"],
            b"lightcurve.txt:11: error: --merr check-scatter needs the table in time order, but "
            b"this observation comes before the one on line 10: sort the table by time, or "
            b"convert with --merr table\n"),
    usage(["convert", "--merr", "check-scatter:20"],
          b"option '--merr check-scatter:W' takes an odd window W (the observation and as many "
          b"on either side), not '20'"),
]
