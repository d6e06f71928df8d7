"""End-to-end cases of `varistellar transform`: a finished report, whoever wrote it, transformed
with a coefficient file.

The expected rows are computed here from the report's own numbers by transform_cases' model of
the equations (numerical derivatives for MERR, partners interpolated in time), never by the
program's closed forms; every case that writes a report is followed by `check` of what it wrote."""

from cases import Case, fifo, symlink
from check_star_cases import three
from command_line_cases import USAGE_HINT, more, on_console, plural
from transform_cases import (COEFFICIENTS, Inputs, away_from_ties, coefficient_file,
                             coefficient_values, needed, partner, partners_of, role,
                             signed_three, statistics)

INI = coefficient_file()
HEADER = (b"#TYPE=Extended\r\n#OBSCODE=ABCD\r\n#SOFTWARE=MAGNIVEX via VARISTELLAR 1.0.0\r\n"
          b"#DELIM=,\r\n#DATE=HJD\r\n#OBSTYPE=CCD\r\n"
          b"#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES"
          b"\r\n")
STANDARD = {"B": "B", "V": "V", "R": "R", "I": "I", "TB": "B", "TG": "V", "TR": "R"}


class Row:
    """A row as `convert --check-star` writes it: the filter's V-C (VMAGINS), its MERR, the check
    star's -(C1-K1) (KMAGINS) and the catalogue magnitudes, each with 3 decimals."""

    def __init__(self, date, filt, v, merr=0.010, k=-0.5, comp=12.345, kref=13.021, group="na",
                 trans="NO"):
        self.date, self.filt, self.v, self.merr, self.k = date, filt, v, merr, k
        self.comp, self.kref, self.group, self.trans = comp, kref, group, trans

    hjd = property(lambda self: float(self.date))
    x = property(lambda self: float(three(self.v)))
    s = property(lambda self: float(three(self.merr)))
    kx = property(lambda self: None if self.k is None else float(three(self.k)))
    standard = property(lambda self: STANDARD[self.filt])

    def notes(self):
        text = b"|VMAGINS=%s|CMAGINS=0.000" % three(self.v)
        if self.k is not None:
            text += b"|KMAGINS=%s" % three(self.k)
        text += b"|CREFMAG=%s" % three(self.comp)
        if self.k is not None:
            text += b"|KREFMAG=%s" % three(self.kref)
        return text

    def fields(self):
        return [b"RR LYR", self.date.encode(), three(self.comp + self.x), three(self.merr),
                self.filt.encode(), self.trans.encode(), b"STD", b"000-AAA-001", b"0.000",
                b"000-AAA-002" if self.k is not None else b"na",
                three(self.k) if self.k is not None else b"na", b"1.200", self.group.encode(),
                b"12345AB", self.notes()]


def at(minutes):
    return "%.5f" % (2460600.3 + minutes / 1440.0)


class Model:
    """What transform makes of rows of one star: each row's line, the transformed rows' fields,
    the counts and the check star's values."""

    def __init__(self, rows, colour=None, minutes=10.0):
        self.rows, self.out, self.kept = rows, [], {}
        self.kstd, self.kstd_t, self.counts, self.plans = {}, {}, {}, {}
        series = [r for r in rows if r.group == "na" and r.trans == "NO"]
        filters = sorted({r.standard for r in series}, key="BVRI".index)
        for r in rows:
            fields = r.fields()
            if r.trans == "YES":
                self.kept.setdefault("already", []).append(r)
                self.out.append(fields)
                continue
            count = self.counts.setdefault(r.filt, [0, 0])
            count[0] += 1
            f = r.standard
            alone = colour if len(filters) == 1 else None
            if len(filters) == 1 and not colour:
                self.kept.setdefault("colour", []).append(r)
                self.out.append(fields)
                self.tally_check(r, None)
                continue
            index = alone[0] if alone else None
            coefficients = coefficient_values(needed(f, filters, index))
            inputs, check = Inputs(), Inputs()
            inputs.coefficients = check.coefficients = coefficients
            inputs.terms[f] = [(1.0, r.x, r.s)]
            check.terms[f] = [(1.0, r.kx if r.kx is not None else float("nan"), 0.0)]
            comps = {f: r.comp}
            ok = True
            for p in ([] if alone else partners_of(f, filters)):
                found = partner([q for q in series if q.standard == p], r.hjd, minutes)
                if found is None:
                    ok = False
                    break
                inputs.terms[p] = [(w, q.x, q.s) for w, q in found]
                check.terms[p] = [(w, q.kx if q.kx is not None else float("nan"), 0.0)
                                  for w, q in found]
                comps[p] = found[0][1].comp
            if not ok:
                self.kept.setdefault("partner", []).append(r)
                self.out.append(fields)
                self.tally_check(r, None)
                continue
            solve_alone = (index, alone[1] - alone[2]) if alone else None
            offset, merr, d = inputs.solve(f, filters, solve_alone)
            name, idx = role(f, filters, index)
            blue, red = idx.split("-")
            stated = alone[1] if alone else d + comps[blue] - comps[red]
            fields[2], fields[3] = three(away_from_ties(r.comp + offset)), three(
                away_from_ties(merr))
            fields[4], fields[5] = f.encode(), b"YES"
            value, error = COEFFICIENTS[name]
            fields[14] += b"|%s=%s|%sERR=%s|%sCOLOR=%s" % (
                name.encode(), value.encode(), name.encode(), error.encode(),
                idx.replace("-", "").encode(), three(away_from_ties(stated)))
            self.out.append(fields)
            count[1] += 1
            self.plans.setdefault(r.filt, name)
            k_offset = None
            if r.kx is not None and (not alone or len(alone) > 3):
                check_alone = (index, alone[3] - alone[2]) if alone else None
                k_offset = check.solve(f, filters, check_alone)[0]
            self.tally_check(r, k_offset)
        self.used = sorted(set(self.plans.values()), key=lambda n: "BVRI".index(n[1].upper()))

    def tally_check(self, r, k_offset):
        if r.kx is None:
            return
        self.kstd.setdefault(r.standard, []).append(r.comp + r.kx)
        if k_offset is not None and k_offset == k_offset:
            self.kstd_t.setdefault(r.standard, []).append(r.comp + k_offset)

    def report(self, header=HEADER):
        return header + b"".join(b",".join(r.fields()) + b"\r\n" for r in self.rows)

    def transformed(self, header=HEADER, ini_name=b"tg.ini"):
        lines = [b"#TRANSFORM %s=%s +/- %s (%s)" % (n.encode(), COEFFICIENTS[n][0].encode(),
                                                   COEFFICIENTS[n][1].encode(), ini_name)
                 for n in self.used]
        return header + b"".join(line + b"\r\n" for line in lines) + b"".join(
            b",".join(f) + b"\r\n" for f in self.out)

    def warnings(self, name, minutes_text=b"10"):
        texts = {"already": b"already transformed (TRANS YES)",
                 "colour": b"cannot be transformed: its filter has no partner filter (of its "
                           b"star, or of its GROUP) and no --colour gives the star's colour",
                 "partner": b"no partner filter's row within %s minutes" % minutes_text}
        out = b""
        first_line = {id(r): n for n, r in enumerate(self.rows, start=8)}
        for kind in ("already", "colour", "partner"):
            rows = self.kept.get(kind)
            if not rows:
                continue
            n = len(rows)
            verb = {"already": (b"is ", b"are "), "partner": (b"has ", b"have ")}.get(kind,
                                                                                     (b"", b""))
            out += b"%s:%d: warning: %d row%s %s%s; %s\n" % (
                name, first_line[id(rows[0])], n, plural(n), verb[n != 1], texts[kind],
                b"it is written as it was" if n == 1 else b"they are written as they were")
        for f in self.kstd:
            if self.kstd_t.get(f):
                kref = next(r.kref for r in self.rows if r.standard == f)
                before = sum(self.kstd[f]) / len(self.kstd[f]) - kref
                after = sum(self.kstd_t[f]) / len(self.kstd_t[f]) - kref
                if abs(after) - abs(before) > 0.020:
                    out += (b"%s: warning: the transformation moved the check star from %s to %s: "
                            b"check the coefficients and the catalogue colours\n"
                            % (name, signed_three(before), signed_three(after)))
        return out

    def summary(self, name, out_name):
        n = len(self.rows)
        t = sum(c[1] for c in self.counts.values())
        text = b"%s: %d observation%s: %d transformed, %d written as they were\n" % (
            name, n, plural(n), t, n - t)
        text += b"wrote %s: %d observation%s\n" % (out_name, n, plural(n))
        for filt in sorted(self.counts, key=lambda f: ["U", "B", "V", "R", "I", "TB", "TG",
                                                       "TR"].index(f)):
            rows, done = self.counts[filt]
            text += b"transformed %s: %d of %d observation%s" % (filt.encode(), done, rows,
                                                                 plural(rows))
            if filt in self.plans:
                name_ = self.plans[filt]
                text += b", with %s=%s +/- %s" % (name_.encode(), COEFFICIENTS[name_][0].encode(),
                                                  COEFFICIENTS[name_][1].encode())
            text += b"\n"
        for f in self.kstd:
            kref = next(r.kref for r in self.rows if r.standard == f)
            text += statistics(f.encode(), self.kstd[f], kref)
            if self.kstd_t.get(f):
                text += statistics(f.encode() + b" transformed", self.kstd_t[f], kref)
        return text


def long_notes(name, report, delimiter=b","):
    """The note of NOTES longer than 100 characters that the report's own check makes."""
    found = [(n, row) for n, row in enumerate(report.split(b"\r\n"), start=1)
             if row and not row.startswith(b"#") and len(row.split(delimiter, 14)[14]) > 100]
    if not found:
        return b""
    n, row = found[0]
    notes = row.split(delimiter, 14)[14]
    return (b"%s:%d:%d: note: NOTES has %d characters, more than 100 (the classic upload tool once "
            b"said: \"Line Number %d: The notes field should not exceed 100 characters\")%s [R19]\n"
            % (name, n, len(row) - len(notes) + 1, len(notes), n, more(len(found))))


def check_of(title, name, report, findings=b"", delimiter=b","):
    """`check` finds no error in what transform wrote."""
    count = sum(1 for line in report.split(b"\r\n") if line and not line.startswith(b"#"))
    notes = long_notes(name, report, delimiter)
    stdout = (notes + findings
              + b"%s: note: %d observation lines [F10]\n" % (name, count)
              + b"%s: %d observations, 0 errors, %d warnings, %d notes\n"
              % (name, count, findings.count(b" warning: "),
                 notes.count(b" note: ") + findings.count(b" note: ") + 1))
    return Case("check finds no error in what transform wrote: " + title, {name.decode(): report},
                b"", on_console(stdout), 0, args=["check", name.decode()])


def transformed(title, model, args=(), out=b"r-transformed.txt", name=b"r.txt", minutes=b"10"):
    """transform of the model's report: the output, the summary, and a check of the output."""
    report, result = model.report(), model.transformed()
    files = {name.decode(): report, "tg.ini": INI}
    after = {out.decode(): result}
    stderr = model.warnings(name, minutes)
    return [Case("transform: " + title, files, b"", on_console(model.summary(name, out)), 0,
                 stderr=on_console(stderr), after=after,
                 args=["transform", "--transform", "tg.ini", *args, name.decode()]),
            check_of(title, out, result)]


def two_filters(count=7, step=1.5, v_shift=0.4):
    """B and V taken in turn, `step` minutes apart."""
    rows = []
    for i in range(count):
        rows.append(Row(at(2 * i * step), "B", -0.6 + 0.013 * i, merr=0.007 + 0.001 * (i % 3),
                        k=1.5517 + 0.0043 * i, comp=12.895, kref=14.571))
        rows.append(Row(at((2 * i + 1) * step), "V", -0.6 + v_shift - 0.011 * i,
                        merr=0.005 + 0.001 * (i % 2), k=0.7213 + 0.0037 * i, comp=12.345,
                        kref=13.021))
    return rows


BV = Model(two_filters())
CASES = transformed("a two-filter report that convert --check-star wrote", BV)

# One filter alone: its colour from --colour; without it, every row stays as it was.
V_ALONE = [Row(at(2 * i), "V", -0.5 + 0.01 * i, k=0.7041 + 0.0023 * i) for i in range(5)]
CASES += transformed("one filter with --colour", Model(V_ALONE, colour=("B-V", 0.62, 0.55, 1.25)),
                     args=["--colour", "B-V=0.62,0.55,1.25"])
CASES += transformed("one filter without --colour stays as it was", Model(V_ALONE))

# A V row far from any B: no partner; a row already transformed: kept.
GAPPED = two_filters(3) + [Row(at(60), "V", -0.3), Row(at(61), "V", -0.25), Row(at(62), "V", -0.2, trans="YES")]
CASES += transformed("rows without a partner, and rows already transformed", Model(GAPPED))
# Rows 3 minutes apart pair within exactly 3 minutes; a sixth V row 3.5 minutes after the last B
# does not.
WIDE = two_filters(5, step=3.0) + [Row(at(31.5), "V", -0.25, k=0.731)]
CASES += transformed("--pair-within: a distance of exactly MINUTES counts as within",
                     Model(WIDE, minutes=3.0), args=["--pair-within", "3"], minutes=b"3")
CASES += transformed("--output names the report", BV, args=["--output", "out.csv"],
                     out=b"out.csv")

# ---------------------------------------------------------------- a report from another program

OTHER_HEADER = (b"#TYPE=EXTENDED\n#OBSCODE=ABCD\n#SOFTWARE=Another program 2.1\n#DELIM=;\n"
                b"#DATE=JD\n#OBSTYPE=CCD\n#CREFMAG=12.000 0.010 13.000 0.010\n"
                b"#NAME;DATE;MAG;MERR;FILT;TRANS;MTYPE;CNAME;CMAG;KNAME;KMAG;AMASS;GROUP;CHART;"
                b"NOTES\n")
OTHER_ROWS = [
    # A set in GROUP 1: B and V differential magnitudes with the #CREFMAG= line's comparison.
    b"SS CYG;2460600.30000;-0.500;0.010;B;NO;DIF;000-AAA-001;-8.000;000-AAA-002;-7.000;1.2;1;"
    b"12345AB;na",
    b"SS CYG;2460600.30010;-0.400;0.010;V;NO;DIF;000-AAA-001;-8.000;000-AAA-002;-7.100;1.2;1;"
    b"12345AB;na",
    # An ensemble with its averages, in GROUP 2 with a B row; one without, kept.
    b"SS CYG;2460600.30100;11.620;0.012;V;NO;STD;ENSEMBLE;na;000-AAA-002;-7.100;1.2;2;12345AB;"
    b"|CREFMAG=12.100|CMAGINS=-9.000|VMAGINS=-9.480",
    b"SS CYG;2460600.30110;11.980;0.012;B;NO;STD;000-AAA-001;-8.000;000-AAA-002;-7.000;1.2;2;"
    b"12345AB;na",
    b"SS CYG;2460600.30200;11.500;0.010;V;NO;STD;ENSEMBLE;na;000-AAA-002;-7.100;1.2;na;12345AB;"
    b"na",
]


def other_expected():
    """The two sets solved by hand from the model's equations."""
    T = coefficient_values(["Tb_bv", "Tv_bv"])
    out = []
    for b, v, cb, cv, error in ((-0.5, -0.4, 12.0, 12.0, 0.010),
                                (11.980 - 12.0, -9.480 + 9.0, 12.0, 12.1, 0.012)):
        rows = {}
        for f, comp in (("B", cb), ("V", cv)):
            inputs = Inputs()
            inputs.coefficients = T
            inputs.terms = {"B": [(1.0, b, error)], "V": [(1.0, v, error)]}
            offset, merr, d = inputs.solve(f, ["B", "V"])
            rows[f] = (three(away_from_ties(comp + offset)), three(away_from_ties(merr)),
                       three(away_from_ties(d + cb - cv)))
        out.append(rows)
    return out


def other_report():
    (b1, v1), (b2, v2) = [(s["B"], s["V"]) for s in other_expected()]
    rows = [
        b"SS CYG;2460600.30000;%s;%s;B;YES;STD;000-AAA-001;-8.000;000-AAA-002;-7.000;1.2;1;"
        b"12345AB;|Tb_bv=0.1181|Tb_bvERR=0.0103|BVCOLOR=%s" % b1,
        b"SS CYG;2460600.30010;%s;%s;V;YES;STD;000-AAA-001;-8.000;000-AAA-002;-7.100;1.2;1;"
        b"12345AB;|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=%s" % v1,
        b"SS CYG;2460600.30100;%s;%s;V;YES;STD;ENSEMBLE;na;000-AAA-002;-7.100;1.2;2;12345AB;"
        b"|CREFMAG=12.100|CMAGINS=-9.000|VMAGINS=-9.480|Tv_bv=-0.0467|Tv_bvERR=0.0070|BVCOLOR=%s"
        % v2,
        b"SS CYG;2460600.30110;%s;%s;B;YES;STD;000-AAA-001;-8.000;000-AAA-002;-7.000;1.2;2;"
        b"12345AB;|Tb_bv=0.1181|Tb_bvERR=0.0103|BVCOLOR=%s" % b2,
        OTHER_ROWS[4],
    ]
    header = OTHER_HEADER.replace(b"NOTES\n", b"NOTES\r\n").replace(b"\n", b"\r\n").replace(
        b"\r\r\n", b"\r\n")
    header += (b"#TRANSFORM Tb_bv=0.1181 +/- 0.0103 (tg.ini)\r\n"
               b"#TRANSFORM Tv_bv=-0.0467 +/- 0.0070 (tg.ini)\r\n")
    return header + b"".join(r + b"\r\n" for r in rows)


OTHER = OTHER_HEADER + b"".join(r + b"\n" for r in OTHER_ROWS)
OTHER_OUT = other_report()
OTHER_FINDINGS = (b"other-transformed.txt:11:97: note: MTYPE STD with a single comparison star and "
                  b"no CREFMAG / KREFMAG in NOTES: the observation cannot be transformed later "
                  b"(and 2 more lines) [R21]\n")
CASES += [
    Case("transform: GROUP sets, a #CREFMAG= line, DIF rows and an ensemble with and without its "
         "averages", {"other.txt": OTHER, "tg.ini": INI}, b"",
         on_console(b"other.txt: 5 observations: 4 transformed, 1 written as they were\n"
                    b"wrote other-transformed.txt: 5 observations\n"
                    b"transformed B: 2 of 2 observations, with Tb_bv=0.1181 +/- 0.0103\n"
                    b"transformed V: 2 of 2 observations, with Tv_bv=-0.0467 +/- 0.0070\n"
                    # The ensemble's V row has no CMAG: its check star, and so the second set's
                    # transformed check star, is not measured.
                    b"check star 000-AAA-002 B: 2 observations, mean 13.000 (catalogue 13.000, "
                    b"difference +0.000), standard deviation 0.000\n"
                    b"check star 000-AAA-002 B transformed: 1 observations, mean 13.014 (catalogue "
                    b"13.000, difference +0.014), standard deviation 0.000\n"
                    b"check star 000-AAA-002 V: 1 observations, mean 12.900 (catalogue 13.000, "
                    b"difference -0.100), standard deviation 0.000\n"
                    b"check star 000-AAA-002 V transformed: 1 observations, mean 12.894 (catalogue "
                    b"13.000, difference -0.106), standard deviation 0.000\n"), 0,
         stderr=on_console(b"other.txt:13: warning: 1 row cannot be transformed: an ensemble "
                           b"(CNAME ENSEMBLE) without the ensemble's averages CREFMAG, CMAGINS and "
                           b"VMAGINS in NOTES; it is written as it was\n"),
         after={"other-transformed.txt": OTHER_OUT},
         args=["transform", "--transform", "tg.ini", "other.txt"]),
    check_of("a report from another program", b"other-transformed.txt", OTHER_OUT,
             OTHER_FINDINGS, b";"),
]

# ---------------------------------------------------------------- refusals

BAD = HEADER + b"RR LYR,2460600.30000,12.300,0.010,B,MAYBE,STD,000-AAA-001,0.000,na,na,1.200,na," \
               b"12345AB,na\r\n"
CASES += [
    Case("transform refuses a report that check rejects, with check's errors",
         {"r.txt": BAD, "tg.ini": INI}, b"", b"",
         1, stderr=on_console(b"r.txt:8:37: error: TRANS \"MAYBE\" is neither YES nor NO [R10]\n"
                              b"varistellar: 1 error; nothing was written\n"), args=["transform", "--transform", "tg.ini",
                                                     "r.txt"]),
    Case("transform never writes over its report", {"r.txt": BV.report(), "tg.ini": INI}, b"", b"",
         1, stderr=on_console(b"r.txt: error: the transformed report is the same file as the report "
                              b"to transform r.txt; give each its own file\n"
                              b"varistellar: 1 error; nothing was written\n"),
         args=["transform", "--transform", "tg.ini", "--output", "r.txt", "r.txt"]),
    Case("transform needs --transform", {"r.txt": BV.report()}, b"", b"", 2,
         stderr=on_console(b"varistellar: transform needs --transform FILE\n" + USAGE_HINT),
         args=["transform", "r.txt"]),
]

# ---------------------------------------------------------------- temporary files


def beside_the_output(title, extra, after, note=b""):
    """transform of the two-filter report with other files beside its output."""
    case = transformed(title, BV)[0]
    case.name = "transform " + title
    case.files = case.files | extra
    case.after = case.after | after
    plain = case.stderr
    case.stderr = lambda platforms: on_console(note)(platforms) + plain(platforms)
    return case


STALE = "r-transformed.txt.varistellar-99999999-0badf00d.tmp"
CASES += [
    beside_the_output("never removes a user's file that only looks like a temporary name",
                      {"r-transformed.txt.2024.tmp": b"important\n"},
                      {"r-transformed.txt.2024.tmp": b"important\n"}),
    beside_the_output("removes the temporary file of a stopped run",
                      {STALE: HEADER}, {STALE: None},
                      b"%s: note: removed: a temporary file left by a run of varistellar that was "
                      b"stopped\n" % STALE.encode()),
    beside_the_output("leaves a file with its temporary name that it did not write",
                      {STALE: b"important\n"}, {STALE: b"important\n"},
                      b"%s: note: left where it is: named like a temporary file of varistellar, "
                      b"but not one that varistellar can tell is its own (a link, or contents it "
                      b"does not write)\n" % STALE.encode()),
]

# ---------------------------------------------------------------- delimiters and names


def refused_delimiter(title, report, name, line, delimiter, shown):
    return Case("transform refuses " + title, {name.decode(): report, "tg.ini": INI}, b"", b"", 1,
                stderr=on_console(b"%s:%d: error: the report's delimiter '%s' appears in the "
                                  b"fields transform writes (%s); write the report with another "
                                  b"delimiter, such as ',' or ';'\n"
                                  b"varistellar: 1 error; nothing was written\n"
                                  % (name, line, delimiter, shown)),
                args=["transform", "--transform", "tg.ini", name.decode()])


# '_' stands in the coefficient's name, '=' in every subfield: the rows would read back torn.
CASES += [
    refused_delimiter("a report delimited by '_', which the coefficients' names hold",
                      BV.report(HEADER.replace(b",", b"_")).replace(b",", b"_"), b"r.txt", 4,
                      b"_", b"Tb_bv=0.1181 in NOTES"),
    refused_delimiter("a report delimited by '=', which every NOTES subfield holds",
                      OTHER_HEADER.replace(b"#DELIM=;", b"#DELIM==")
                      + b"".join(r.replace(b";", b"=") + b"\n" for r in OTHER_ROWS[:2]),
                      b"other.txt",
                      4, b"=", b"Tb_bv=0.1181 in NOTES"),
]


def named_coefficients(title, file_name, shown, skip=None):
    """transform with a coefficient file of an awkward name: the #TRANSFORM lines show it in
    printable ASCII, and check finds no error in them."""
    report, result = BV.report(), BV.transformed(ini_name=shown)
    out = b"r-transformed.txt"
    return [Case("transform: " + title, {"r.txt": report, file_name: INI}, b"",
                 on_console(BV.summary(b"r.txt", out)), 0,
                 stderr=on_console(BV.warnings(b"r.txt")),
                 after={out.decode(): result}, skip=skip,
                 args=["transform", "--transform", file_name, "r.txt"]),
            check_of(title, out, result)]


CASES += named_coefficients("a coefficient file whose name is not ASCII", "coëff.ini",
                            b"co\\xC3\\xABff.ini")
CASES += named_coefficients("a coefficient file with a TAB in its name", "co\teff.ini",
                            b"co\\x09eff.ini", skip={"wine": "Windows names hold no TAB"})

# A report sent to standard output goes out as it is written, checked as it goes: the same
# findings as a file's check, and no file left behind.
STREAMED = BV.transformed()
CASES += [
    Case("transform: a report sent down a pipe is written and checked as it goes",
         {"r.txt": BV.report(), "tg.ini": INI}, b"",
         STREAMED + BV.summary(b"r.txt", b"/dev/stdout"), 0,
         stderr=BV.warnings(b"r.txt"),
         args=["transform", "--transform", "tg.ini", "--output", "/dev/stdout", "r.txt"],
         skip={"wine": "Windows has no /dev/stdout"}),
]


# ---------------------------------------------------------------- reports read only once, long lines

# A FIFO fed by a writer, and standard input (a pipe) under a name of its own: each can be read
# only once, and is transformed as the file itself is.
BV_OUT = BV.transformed()
CASES += [
    Case("transform reads a FIFO once", {"r.txt": fifo(BV.report()), "tg.ini": INI}, b"",
         on_console(BV.summary(b"r.txt", b"r-transformed.txt")), 0,
         stderr=b"",
         after={"r-transformed.txt": BV_OUT}, skip={"wine": "no FIFOs under wine"},
         args=["transform", "--transform", "tg.ini", "r.txt"]),
    Case("transform reads standard input once", {"in.txt": symlink("/dev/stdin"), "tg.ini": INI},
         BV.report(), on_console(BV.summary(b"in.txt", b"out.txt")), 0,
         stderr=b"", after={"out.txt": BV_OUT},
         skip={"wine": "no /dev/stdin under wine"},
         args=["transform", "--transform", "tg.ini", "--output", "out.txt", "in.txt"]),
]

# The own check's notes (NOTES longer than 100 characters) speak of transform's own choice:
# check prints them, transform does not. --quiet leaves the summary out, not the warnings.
CASES += [
    Case("transform: a transformed report's run prints none of its own check's notes",
         {"r.txt": BV.report(), "tg.ini": INI}, b"",
         on_console(BV.summary(b"r.txt", b"r-transformed.txt")), 0, stderr=b"",
         after={"r-transformed.txt": BV_OUT}, args=["transform", "--transform", "tg.ini", "r.txt"]),
    Case("transform --quiet prints nothing when all is well", {"r.txt": BV.report(), "tg.ini": INI},
         b"", b"", 0, stderr=b"", after={"r-transformed.txt": BV_OUT},
         args=["transform", "--quiet", "--transform", "tg.ini", "r.txt"]),
    Case("transform --quiet prints only the warnings", {"other.txt": OTHER, "tg.ini": INI}, b"",
         b"", 0,
         stderr=on_console(b"other.txt:13: warning: 1 row cannot be transformed: an ensemble "
                           b"(CNAME ENSEMBLE) without the ensemble's averages CREFMAG, CMAGINS and "
                           b"VMAGINS in NOTES; it is written as it was\n"),
         after={"other-transformed.txt": OTHER_OUT},
         args=["transform", "--transform", "tg.ini", "other.txt", "--quiet"]),
]


class LongRow(Row):
    """A row whose NOTES carry a subfield that makes them `length` characters long."""

    def __init__(self, length, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.length = length

    def notes(self):
        text = super().notes() + b"|FILL="
        return text + b"x" * (self.length - len(text))


def long_rows(length):
    return [LongRow(length, r.date, r.filt, r.v, r.merr, r.k, r.comp, r.kref)
            for r in two_filters(3)]


def first_row(report):
    return next(n for n, row in enumerate(report.split(b"\r\n"), start=1)
                if row and not row.startswith(b"#"))


def notes_findings(name, report):
    """check's warning of NOTES of more than 4000 characters, at the first row."""
    rows = [(n, row) for n, row in enumerate(report.split(b"\r\n"), start=1)
            if row and not row.startswith(b"#")]
    n, row = rows[0]
    notes = row.split(b",", 14)[14]
    return b"%s:%d:%d: warning: NOTES has %d characters, more than 4000%s [R19]\n" % (
        name, n, len(row) - len(notes) + 1, len(notes), more(len(rows)))


# NOTES of exactly 4000 characters, where check starts to warn, in rows of 4096 bytes and more;
# and NOTES beyond the 64 KiB of a line that check keeps.
for length in (4000, 70000):
    model = Model(long_rows(length))
    report, result = model.report(), model.transformed()
    assert all(len(line) >= 4096 for line in report.split(b"\r\n") if line[:1] == b"R")
    CASES += [
        Case("transform: rows with NOTES of %d characters" % length,
             {"r.txt": report, "tg.ini": INI}, b"",
             on_console(model.summary(b"r.txt", b"r-transformed.txt")), 0,
             stderr=on_console(notes_findings(b"r-transformed.txt", result)),
             after={"r-transformed.txt": result},
             args=["transform", "--transform", "tg.ini", "r.txt"]),
        Case("transform's output with NOTES of %d characters is transformed again as it was"
             % length, {"r.txt": result, "tg.ini": INI}, b"",
             on_console(b"r.txt: 6 observations: 0 transformed, 6 written as they were\n"
                        b"wrote r-transformed.txt: 6 observations\n"), 0,
             stderr=on_console(b"r.txt:%d: warning: 6 rows are already transformed (TRANS YES); "
                               b"they are written as they were\n" % first_row(result)
                               + notes_findings(b"r-transformed.txt", result)),
             after={"r-transformed.txt": result},
             args=["transform", "--transform", "tg.ini", "r.txt"]),
    ]

# The report rewritten between transform's two readings, by a process that watches it: it waits
# for the first reading to close the report, rewrites one digit, and only then opens the output,
# a FIFO whose opening the second reading waits for.
CHANGED = BV.report().replace(b"2460600.30000,12.", b"2460600.30000,13.", 1)
assert CHANGED != BV.report()
REWRITER = """
import ctypes, os
libc = ctypes.CDLL(None, use_errno=True)
watch = libc.inotify_init()
libc.inotify_add_watch(watch, b"r.txt", 0x10)  # IN_CLOSE_NOWRITE
print("ready", flush=True)
os.read(watch, 4096)
with open("r.txt", "wb") as f:
    f.write(%r)
with open("out.txt", "rb") as f:
    f.read()
""" % CHANGED
CASES.append(
    Case("transform refuses a report changed between its two readings",
         {"r.txt": BV.report(), "tg.ini": INI, "out.txt": fifo()}, b"", b"", 1,
         stderr=on_console(b"r.txt: error: the report changed while it was being transformed: it "
                           b"no longer holds what was read and checked; transform it again once "
                           b"it is complete\nvaristellar: 1 error; the report sent to out.txt is "
                           b"incomplete\n"),
         after={"r.txt": CHANGED}, watcher=REWRITER, skip={"wine": "no FIFOs under wine"},
         args=["transform", "--transform", "tg.ini", "--output", "out.txt", "r.txt"]))

# Only coefficients that transformed a row are named: V and R 30 minutes apart transform nothing,
# and an I without a partner leaves Ti_vi out.
CASES += transformed("V and R 30 minutes apart: no #TRANSFORM line",
                     Model([Row(at(0), "V", -0.3), Row(at(30), "R", -0.5)]))
CASES += transformed("B, V and I whose I has no partner: no Ti_vi line",
                     Model(two_filters(3) + [Row(at(40), "I", -0.8, k=0.9)]))


# ---------------------------------------------------------------- rows out of time order, last-line errors

# The same rows in time order and in reverse: every row is transformed alike wherever it stands,
# so the reversed report's rows are the ordered one's, reversed.
ORDERED = Model(two_filters(5))
REVERSED = Model(list(reversed(two_filters(5))))


def reversed_output():
    ordered = ORDERED.transformed()
    rows = ordered[len(ordered) - sum(len(b",".join(f)) + 2 for f in ORDERED.out):]
    head = ordered[:len(ordered) - len(rows)]
    return head + b"".join(reversed(rows.splitlines(keepends=True)))


CASES += [
    Case("transform: rows in reverse time order give the ordered report's rows, reversed",
         {"r.txt": REVERSED.report(), "tg.ini": INI}, b"",
         on_console(REVERSED.summary(b"r.txt", b"r-transformed.txt")), 0,
         stderr=on_console(REVERSED.warnings(b"r.txt")),
         after={"r-transformed.txt": reversed_output()},
         args=["transform", "--transform", "tg.ini", "r.txt"]),
]

# An error on the report's very last line: whatever was read before it, nothing is written, from
# a file or from a FIFO read once.
LAST_BAD = BV.report() + BAD[len(HEADER):]
LAST_LINE = LAST_BAD.count(b"\n")
LAST_BAD_ERR = on_console(b"r.txt:%d:37: error: TRANS \"MAYBE\" is neither YES nor NO [R10]\n"
                          b"varistellar: 1 error; nothing was written\n" % LAST_LINE)
CASES += [
    Case("transform refuses a report whose last line check rejects, and writes nothing",
         {"r.txt": LAST_BAD, "tg.ini": INI}, b"", b"", 1, stderr=LAST_BAD_ERR,
         args=["transform", "--transform", "tg.ini", "r.txt"]),
    Case("transform refuses a FIFO whose last line check rejects, and writes nothing",
         {"r.txt": fifo(LAST_BAD), "tg.ini": INI}, b"", b"", 1, stderr=LAST_BAD_ERR,
         skip={"wine": "no FIFOs under wine"},
         args=["transform", "--transform", "tg.ini", "r.txt"]),
]


# ---------------------------------------------------------------- one pass, and the second when it fails

# transform writes a report as it reads it, a piece at a time, holding a row back while a partner
# may still come. A block of comment lines more than the 1 MiB it holds back forces out the rows
# before it with what is known then. What it wrote stays only when the whole report's plan solves
# every row alike; otherwise (a star that gains a filter after its first row was written, a partner
# that was not yet read, a series out of time order) the report is written again: the same bytes
# either way.
FORCED = 10000  # comment lines of 120 bytes: 1.2 MB, the bound and a piece read beyond it
APART = 1000  # 120 KB: the rows before and after it are read in pieces of their own


def with_comments(data, after_rows, count):
    """`data`, a report or its transformation, with `count` comment lines after its first
    `after_rows` rows."""
    lines = data.split(b"\r\n")
    rows = [n for n, line in enumerate(lines) if line and not line.startswith(b"#")]
    at_row = rows[after_rows - 1] + 1
    block = [b"# %05d %s" % (i, b"." * 110) for i in range(count)]
    return b"\r\n".join(lines[:at_row] + block + lines[at_row:])


def held_back(title, model, after_rows, count=FORCED, report_file=None):
    report = with_comments(model.report(), after_rows, count)
    result = with_comments(model.transformed(), after_rows, count)
    files = {"r.txt": report_file(report) if report_file else report, "tg.ini": INI}
    return [Case("transform: " + title, files, b"", on_console(model.summary(b"r.txt",
                                                                            b"r-transformed.txt")),
                 0, stderr=on_console(model.warnings(b"r.txt")),
                 after={"r-transformed.txt": result},
                 skip={"wine": "no FIFOs under wine"} if report_file else {},
                 args=["transform", "--transform", "tg.ini", "r.txt"]),
            check_of(title, b"r-transformed.txt", result)]


SHORT = Model(two_filters(3))
# The B row alone is forced out before any V is read: written alone, then given up once V comes.
CASES += held_back("a star that gains a filter after its first row was written", SHORT, 1)
# Both rows are read when they are forced out, and solved as the whole report's plan solves them.
CASES += held_back("rows forced out with their partners read, solved alike",
                   Model(two_filters(1)), 2)
# The second B row is forced out with the one V row before it; the V row after it, read later,
# brackets it: written again.
CASES += held_back("a row forced out before the partner that brackets it is read", SHORT, 3)
CASES += held_back("the same from a FIFO, written again from its copy", SHORT, 3,
                   report_file=fifo)

# I rows read after B and V rows were written: B, V and I transform as a set of three.
LATE_I = two_filters(8) + [Row(at(23.0), "I", -0.8, k=0.9), Row(at(24.0), "I", -0.7, k=0.91)]
CASES += held_back("a star whose I rows come after its B and V rows were written", Model(LATE_I),
                   16, APART)
# A V row out of time order, read after the rows before it were written.
SWAPPED = two_filters(8)
SWAPPED[11], SWAPPED[15] = SWAPPED[15], SWAPPED[11]
CASES += held_back("a V row out of time order after rows were written", Model(SWAPPED), 10, APART)
