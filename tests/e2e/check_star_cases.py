"""End-to-end cases of convert --check-star: the check star's columns and statistics, computed
here from the table itself."""

import math
from decimal import ROUND_HALF_UP, Decimal

from cases import PARAMETERS, TABLE_HEADER, Case, parameters, source_file
from command_line_cases import aavso_report, failing, on_console, sample_quality, summary, trimmed

C_REF, K_REF = 12.345, 13.021


def three(value):
    """A number as the report's fixed-point fields write it with 3 decimals, without blanks.
    Those fields scale the value into [1, 10) by one double operation with a power of ten and
    round the scaled value's exact digits half away from zero; no sign when it rounds to 0."""
    magnitude = abs(value)
    if magnitude == 0:
        return b"0.000"
    estimate = ((math.frexp(magnitude)[1] - 1) * 19728) >> 16
    scaled = magnitude / 10.0 ** estimate if estimate > 0 else magnitude * 10.0 ** -estimate
    exponent = estimate + 1
    if scaled >= 10:
        scaled, exponent = scaled / 10, exponent + 1
    # The first 17 digits of the scaled value, cut off, then rounded at the first unwritten one.
    digits = Decimal(scaled).quantize(Decimal("1e-16"), rounding="ROUND_DOWN")
    shown = digits.scaleb(exponent - 1).quantize(Decimal("0.001"), rounding=ROUND_HALF_UP)
    if shown == 0:
        return b"0.000"
    return (b"-" if value < 0 else b"") + str(shown).encode()


def signed(value):
    text = three(value)
    return text if text.startswith(b"-") else b"+" + text


def table_rows(table):
    """The observation rows of a table: lists of its ten numbers, with their table lines."""
    rows = []
    for number, line in enumerate(table.split(b"\n")[2:], start=3):
        values = line.split()
        if len(values) == 10 and float(values[1]) <= 90:
            rows.append((number, [float(v) for v in values]))
    return rows


def with_check_star(record, values):
    """An AAVSO record of convert, given the check star's CMAG, KMAG and NOTES."""
    v_c, c1_k1 = values[1], values[5]
    fields = record.split(b",")
    fields[8] = b"0.000"
    if c1_k1 > 90:
        fields[10] = b"na"
        fields[14] = b"|VMAGINS=%s|CMAGINS=0.000|CREFMAG=%s" % (three(v_c), three(C_REF))
    else:
        fields[10] = three(-c1_k1)
        fields[14] = (b"|VMAGINS=%s|CMAGINS=0.000|KMAGINS=%s|CREFMAG=%s|KREFMAG=%s"
                      % (three(v_c), three(-c1_k1), three(C_REF), three(K_REF)))
    return b",".join(fields)


def statistics_line(kstd):
    n = len(kstd)
    mean = sum(kstd) / n
    deviation = math.sqrt(sum((k - mean) ** 2 for k in kstd) / (n - 1)) if n > 1 else 0.0
    return (b"check star 000-AAA-002: %d observations, mean %s (catalogue %s, difference "
            b"%s), standard deviation %s\n"
            % (n, three(mean), three(K_REF), signed(mean - K_REF), three(deviation)))


def sample_night_with_check_star():
    night = {name: source_file("examples", "sample-night", name)
             for name in ("lightcurve.txt", "VARISTELLAR-input.txt")}
    golden = source_file("tests", "golden", "sample-night-report.txt").split(b"\r\n")[7:-1]
    rows = table_rows(night["lightcurve.txt"].replace(b"\r", b""))
    records = [with_check_star(trimmed(r), values) for r, (_, values) in zip(golden, rows)]
    kstd = [C_REF - values[5] for _, values in rows if values[5] <= 90]
    first, last = golden[0].split(b",")[1], golden[-1].split(b",")[1]
    stdout = summary(b"lightcurve.txt", 320, 316, 4, first, last, b"lightcurve-aavso.txt")
    return Case("convert --check-star: the sample night's check star, row by row", night, b"",
                on_console(stdout + statistics_line(kstd)), 0, args=["convert", "--check-star"],
                stderr=on_console(sample_quality(b"lightcurve.txt")),
                after={"lightcurve-aavso.txt": aavso_report(records)})


def row(date, v_c, c1_k1, s1=b"0.01000"):
    return b"%s %s %s 1.3 0.02 %s 0.03 0.005 1.20000 43.4\n" % (date, v_c, s1, c1_k1)


# Check star magnitudes 12.980, 13.000 and 13.020: mean 13.000, deviation 0.020.
KNOWN = (row(b"2460600.30000", b"-0.50000", b"-0.63500")
         + row(b"2460600.30100", b"-0.51000", b"-0.65500")
         + row(b"2460600.30200", b"-0.52000", b"-0.67500"))
KNOWN_RECORDS = [
    b"RR LYR,2460600.30000,11.845,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,0.635,1.200,na,"
    b"12345AB,|VMAGINS=-0.500|CMAGINS=0.000|KMAGINS=0.635|CREFMAG=12.345|KREFMAG=13.021",
    b"RR LYR,2460600.30100,11.835,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,0.655,1.200,na,"
    b"12345AB,|VMAGINS=-0.510|CMAGINS=0.000|KMAGINS=0.655|CREFMAG=12.345|KREFMAG=13.021",
    b"RR LYR,2460600.30200,11.825,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,0.675,1.200,na,"
    b"12345AB,|VMAGINS=-0.520|CMAGINS=0.000|KMAGINS=0.675|CREFMAG=12.345|KREFMAG=13.021",
]


def known_night():
    stdout = (summary(b"lightcurve.txt", 3, 3, 0, b"2460600.30000", b"2460600.30200",
                      b"lightcurve-aavso.txt")
              + b"check star 000-AAA-002: 3 observations, mean 13.000 (catalogue 13.021, "
                b"difference -0.021), standard deviation 0.020\n")
    return Case("convert --check-star: a night of known mean and deviation",
                {"lightcurve.txt": TABLE_HEADER + KNOWN, "VARISTELLAR-input.txt": PARAMETERS},
                b"", on_console(stdout), 0, args=["convert", "--check-star"],
                after={"lightcurve-aavso.txt": aavso_report(KNOWN_RECORDS)})


def one_stray():
    """Twenty steady rows and one that strays: it is listed with its line."""
    lines = [row(b"2460600.30%03d" % i, b"-0.50000", b"-0.6%02d00" % (50 + i % 3))
             for i in range(20)]
    lines.insert(7, row(b"2460600.29999", b"-0.50000", b"-0.95000"))
    table = TABLE_HEADER + b"".join(lines)
    kstd = [C_REF - values[5] for _, values in table_rows(table)]
    mean = sum(kstd) / len(kstd)
    deviation = math.sqrt(sum((k - mean) ** 2 for k in kstd) / (len(kstd) - 1))
    stray = C_REF + 0.95
    stdout = (summary(b"lightcurve.txt", 21, 21, 0, b"2460600.29999", b"2460600.30019",
                      b"lightcurve-aavso.txt")
              + statistics_line(kstd)
              + b"check star lines beyond three standard deviations, furthest first:\n"
              + b"  lightcurve.txt:10: Kstd %s, %s from the mean (%.1f standard deviations)\n"
              % (three(stray), signed(stray - mean), (stray - mean) / deviation))
    records = [b"RR LYR,%s,11.845,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,%s,1.200,na,"
               b"12345AB,|VMAGINS=-0.500|CMAGINS=0.000|KMAGINS=%s|CREFMAG=12.345|KREFMAG=13.021"
               % (line.split()[0][:13], three(-values[5]), three(-values[5]))
               for line, (_, values) in zip(lines, table_rows(table))]
    # The stray widens the deviation to twice the rows' error s3 (0.03) and more.
    understated = (b"lightcurve.txt: warning: quality: the check star scatters %s in V, %.1f times "
                   b"its reported error: the table's errors understate this night's; --merr "
                   b"check-scatter reports the scatter\n" % (three(deviation), deviation / 0.03))
    return Case("convert --check-star: a stray check star is listed with its line",
                {"lightcurve.txt": table, "VARISTELLAR-input.txt": PARAMETERS}, b"",
                on_console(stdout), 0, args=["convert", "--check-star"],
                stderr=on_console(understated),
                after={"lightcurve-aavso.txt": aavso_report(records)})


def never_measured():
    table = TABLE_HEADER + row(b"2460600.30000", b"-0.50000", b"99.999")
    record = (b"RR LYR,2460600.30000,11.845,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,na,"
              b"1.200,na,12345AB,|VMAGINS=-0.500|CMAGINS=0.000|CREFMAG=12.345")
    stdout = (summary(b"lightcurve.txt", 1, 1, 0, b"2460600.30000", b"2460600.30000",
                      b"lightcurve-aavso.txt")
              + b"check star 000-AAA-002: not measured on any written line (C1-K1 above 90), "
                b"so KMAG is na\n")
    stderr = (b"lightcurve.txt: warning: the check star 000-AAA-002 was not measured on any "
              b"written line (C1-K1 above 90): KMAG is na throughout\n"
              # What check says of such a report: true, and said after the summary.
              b"lightcurve-aavso.txt:8:74: warning: KNAME \"000-AAA-002\" is given with KMAG na "
              b"[R15b]\n")
    return Case("convert --check-star: a check star never measured gives KMAG na",
                {"lightcurve.txt": table, "VARISTELLAR-input.txt": PARAMETERS}, b"",
                on_console(stdout), 0, stderr=on_console(stderr),
                args=["convert", "--check-star"],
                after={"lightcurve-aavso.txt": aavso_report([record])})


def one_observation():
    table = TABLE_HEADER + row(b"2460600.30000", b"-0.50000", b"-0.65500")
    stdout = (summary(b"lightcurve.txt", 1, 1, 0, b"2460600.30000", b"2460600.30000",
                      b"lightcurve-aavso.txt")
              + b"check star 000-AAA-002: 1 observations, mean 13.000 (catalogue 13.021, "
                b"difference -0.021), standard deviation 0.000\n")
    return Case("convert --check-star: one observation has a deviation of 0.000",
                {"lightcurve.txt": table, "VARISTELLAR-input.txt": PARAMETERS}, b"",
                on_console(stdout), 0, args=["convert", "--check-star"],
                after={"lightcurve-aavso.txt": aavso_report([KNOWN_RECORDS[1].replace(
                    b"2460600.30100", b"2460600.30000").replace(b"11.835", b"11.845").replace(
                    b"-0.510", b"-0.500")])})


WITHOUT_CHECK_STAR = parameters(check=b"", check_mag=b"")

CASES = [
    sample_night_with_check_star(),
    known_night(),
    one_stray(),
    never_measured(),
    one_observation(),
    failing("convert --check-star without a check star in the parameter file",
            {"lightcurve.txt": TABLE_HEADER + KNOWN, "VARISTELLAR-input.txt": WITHOUT_CHECK_STAR},
            ["convert", "--check-star"],
            b"VARISTELLAR-input.txt:11: error: --check-star needs a check star, but line 11 names "
            b"none: put the check star's name on line 11 and its catalogue magnitude on line 12\n",
            after={"lightcurve-aavso.txt": None}),
    failing("convert --check-star: a catalogue magnitude the report cannot hold",
            {"lightcurve.txt": TABLE_HEADER + KNOWN,
             "VARISTELLAR-input.txt": parameters(check_mag=b"130.21")},
            ["convert", "--check-star"],
            b"VARISTELLAR-input.txt:12: error: the check star's magnitude does not fit the "
            b"report's magnitude fields: it must lie above -10 and below 100\n",
            after={"lightcurve-aavso.txt": None}),
    failing("convert --plot into a folder writes neither the picture nor the report",
            {"lightcurve.txt": TABLE_HEADER + KNOWN, "VARISTELLAR-input.txt": PARAMETERS},
            ["convert", "--plot", "pictures"],
            b"pictures: error: cannot write the picture: it is a folder\n",
            after={"lightcurve-aavso.txt": None}, folders=("pictures",)),
]
