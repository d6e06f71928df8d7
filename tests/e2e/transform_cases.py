"""End-to-end cases of convert --transform: magnitudes on the standard system from one filter with
its colour, or from the filters of one night paired in time.

The expected magnitudes, MERR, colours and check-star statistics are computed here from the tables
by a model of the equations of its own: the colour difference solved from the filters' V-C, each
filter's offset from its comparison, and MERR propagated to first order by numerical derivatives
(not by the program's closed forms), then written as the report's 6.3 fields write them. A case
thus pins the program's bytes and checks its arithmetic at once; `away_from_ties` refuses any
number so near a rounding tie that a last-bit difference could decide it."""

import math
from decimal import Decimal

from cases import (ACCESS_DENIED, DIRECTORY, NO_SUCH_FILE, TABLE_HEADER, Case, in_system_words,
                   own_check, parameters, unreadable)
from check_star_cases import three
from command_line_cases import USAGE_HINT, aavso_report, more, on_console, plural, sep

REPORT = "night.txt"

# ---------------------------------------------------------------- the coefficient files

COEFFICIENTS = {  # name: (value, error) as the files write them
    "Tb_bv": ("0.1181", "0.0103"), "Tv_bv": ("-0.0467", "0.0070"),
    "Tv_vr": ("-0.0350", "0.0080"), "Tr_vr": ("0.0620", "0.0120"),
    "Tv_vi": ("-0.0410", "0.0060"), "Ti_vi": ("0.0550", "0.0090"),
    "Tr_vi": ("0.0840", "0.0110"),
}


def coefficient_file(names=tuple(COEFFICIENTS), errors=None, extra=b"", coefficients=COEFFICIENTS):
    """An INI file as the AAVSO's generator writes it, with the coefficients `names`; their
    [Error] entries for `errors` (default: the same names)."""
    errors = names if errors is None else errors
    text = (b"[Setup]\r\ndescription= TG - Version 5.10, ...\r\n[Coefficients]\r\nTbv= 1.1974\r\n"
            + b"".join(b"%s= %s\r\n" % (n.encode(), coefficients[n][0].encode()) for n in names)
            + b"[Error]\r\n"
            + b"".join(b"%s= %s\r\n" % (n.encode(), coefficients[n][1].encode()) for n in errors)
            + b"[R Squared Values]\r\nTb_bv= 0.97\r\n" + extra)
    return text


WORKED_INI = (b"[Setup]\ndescription= TG - Version 5.10, ...\n[Coefficients]\nTbv= 1.1974\n"
              b"Tb_bv= 0.1181\nTv_bv= -0.0467\n[Error]\nTb_bv= 0.0103\nTv_bv= 0.0070\n")


# ---------------------------------------------------------------- the nights

class Row:
    """One observation line of a table, its numbers as written."""

    def __init__(self, date, v_c, s1=b"0.01000", c1_k1=b"-0.50000", helcor=b"0.00500",
                 airmass=b"1.20000"):
        self.date, self.v_c, self.s1, self.c1_k1 = date, v_c, s1, c1_k1
        self.helcor, self.airmass = helcor, airmass

    def text(self):
        return b"%s %s %s 1.3 0.02 %s 0.03 %s %s 43.4\n" % (
            self.date, self.v_c, self.s1, self.c1_k1, self.helcor, self.airmass)

    hjd = property(lambda self: float(self.date))
    x = property(lambda self: float(self.v_c))
    s = property(lambda self: float(self.s1))
    k = property(lambda self: None if float(self.c1_k1) > 90 else -float(self.c1_k1))
    dropped = property(lambda self: float(self.v_c) > 90)
    # A MERR of s1 that is written as 1.000 or more leaves the observation out.
    left_out = property(lambda self: not self.dropped and three(float(self.s1)) >= b"1.000")


def at(minutes, day=b"2460600.3"):
    """A date `minutes` after HJD 2460600.3, with 5 decimals."""
    return b"%.5f" % (float(day) + minutes / 1440.0)


class Night:
    """One FOLDER: its filter, its comparison's and check star's catalogue magnitudes, its rows."""

    def __init__(self, folder, filt, comp, check, rows, table=None):
        self.folder, self.filt, self.comp, self.check, self.rows = folder, filt, comp, check, rows
        self.table = table  # bytes of a table given whole, else made of the rows

    def files(self):
        table = self.table if self.table is not None else TABLE_HEADER + b"".join(
            r.text() for r in self.rows)
        if self.check is None:
            params = parameters(filt=self.filt, comp_mag=self.comp, check=b"", check_mag=b"")
        else:
            params = parameters(filt=self.filt, comp_mag=self.comp, check_mag=self.check)
        prefix = self.folder + "/" if self.folder else ""
        return {prefix + "lightcurve.txt": table, prefix + "VARISTELLAR-input.txt": params}

    def table_name(self, platforms):
        return (self.folder.encode() + sep(platforms) if self.folder else b"") + b"lightcurve.txt"

    standard = property(lambda self: STANDARD.get(self.filt))
    comp_value = property(lambda self: float(self.comp))
    # The rows that are written, each with its line in the table.
    written = property(lambda self: [(n, r) for n, r in enumerate(self.rows, start=3)
                                     if not r.dropped and not r.left_out])


STANDARD = {b"B": "B", b"V": "V", b"R": "R", b"I": "I", b"TB": "B", b"TG": "V", b"TR": "R",
            b"b": "B", b"v": "V"}  # a filter's name in any case
ORDER = "BVRI"


# ---------------------------------------------------------------- the equations

def name_of(filt, index):
    return "T%s_%s" % (filt.lower(), index.replace("-", "").lower())


def role(filt, filters, alone_index=None):
    """(coefficient, colour index) of a filter in a set of filters, or alone in an index."""
    if alone_index:
        return name_of(filt, alone_index), alone_index
    s = set(filters)
    if s in ({"B", "V"}, {"B", "V", "I"}, {"B", "V", "R", "I"}) and filt in "BV":
        return name_of(filt, "B-V"), "B-V"
    if s in ({"B", "V", "I"}, {"B", "V", "R", "I"}):
        return name_of(filt, "V-I"), "V-I"
    index = "V-R" if "R" in s else "V-I"
    return name_of(filt, index), index


def offset(filt, filters, x, T, alone=None):
    """The standard magnitude minus the comparison's of filter `filt`, and the colour difference
    that went into it, from the filters' V-C `x` (by standard filter) and the coefficients `T`.
    `alone`: (index, T - C) of a filter alone."""
    if alone:
        index, d = alone
        return x[filt] + T[name_of(filt, index)] * d, d
    s = set(filters)
    if s == {"V", "R"} or s == {"V", "I"}:
        red = "R" if "R" in s else "I"
        index = "V-" + red
        tx, ty = T[name_of("V", index)], T[name_of(red, index)]
        d = (x["V"] - x[red]) / (1 - tx + ty)
        return x[filt] + T[name_of(filt, index)] * d, d
    # B and V solved together; I and R then from V's standard magnitude.
    tb, tv = T["Tb_bv"], T["Tv_bv"]
    d = (x["B"] - x["V"]) / (1 - tb + tv)
    if filt in "BV":
        return x[filt] + T[name_of(filt, "B-V")] * d, d
    v_offset = x["V"] + tv * d
    e = (v_offset - x["I"]) / (1 + T["Ti_vi"])
    return x[filt] + T[name_of(filt, "V-I")] * e, e


def propagated(function, values, errors):
    """sqrt(sum((df/dp * sigma_p)^2)), each derivative by a central difference."""
    total = 0.0
    for i, sigma in enumerate(errors):
        if sigma == 0:
            continue
        h = 1e-6
        up, down = list(values), list(values)
        up[i] += h
        down[i] -= h
        total += ((function(up) - function(down)) / (2 * h) * sigma) ** 2
    return math.sqrt(total)


class Inputs:
    """The inputs of one filter's equation at one time: each filter's V-C as a weighted sum of
    observations (value, error), and the coefficients (value, error)."""

    def __init__(self):
        self.terms = {}  # filter: [(weight, value, error)]
        self.coefficients = {}

    def solve(self, filt, filters, alone=None):
        """(offset, MERR, colour difference)."""
        flat, errors, where = [], [], []
        for f, terms in self.terms.items():
            for w, value, error in terms:
                where.append(("x", f, w))
                flat.append(value)
                errors.append(w * error)  # d(wv)/dv = w: the weight goes with the error
        for name, (value, error) in self.coefficients.items():
            where.append(("T", name, 1))
            flat.append(value)
            errors.append(error)

        def function(p, part=0):
            x, T = {}, {}
            for (kind, key, w), value in zip(where, p):
                if kind == "x":
                    x[key] = x.get(key, 0.0) + w * value
                else:
                    T[key] = value
            return offset(filt, filters, x, T, alone)[part]

        return function(flat), propagated(function, flat, errors), function(flat, 1)


def coefficient_values(names, ini_coefficients=COEFFICIENTS, errors_known=True):
    return {n: (float(ini_coefficients[n][0]), float(ini_coefficients[n][1]) if errors_known else 0.0)
            for n in names}


def needed(filt, filters, alone_index=None):
    """The coefficients the equation of `filt` takes."""
    if alone_index:
        return [name_of(filt, alone_index)]
    s = set(filters)
    if s in ({"V", "R"}, {"V", "I"}):
        red = "R" if "R" in s else "I"
        return [name_of("V", "V-" + red), name_of(red, "V-" + red)]
    return ["Tb_bv", "Tv_bv"] + (["Ti_vi"] if filt in "RI" else []) + (
        ["Tr_vi"] if filt == "R" else [])


def partners_of(filt, filters):
    """The filters whose V-C the equation of `filt` takes beside its own."""
    s = set(filters)
    if len(s) <= 2:
        return [p for p in filters if p != filt]
    if filt in "BV":
        return ["V" if filt == "B" else "B"]
    return ["B", "V"] + (["I"] if filt == "R" else [])


def within(days, minutes):
    return abs(days) * 1440 <= minutes + 5e-6


def partner(series, t, minutes):
    """[(weight, row)] of a partner filter's written rows at time t, or None."""
    exact = [r for r in series if r.hjd == t]
    if exact:
        return [(1.0, exact[0])]
    before = [r for r in series if r.hjd < t]
    after = [r for r in series if r.hjd > t]
    b = max(before, key=lambda r: r.hjd) if before else None
    a = min(after, key=lambda r: r.hjd) if after else None
    b_in = b is not None and within(t - b.hjd, minutes)
    a_in = a is not None and within(a.hjd - t, minutes)
    if b_in and a_in:
        w = (t - b.hjd) / (a.hjd - b.hjd)
        return [(1 - w, b), (w, a)]
    if b_in:
        return [(1.0, b)]
    if a_in:
        return [(1.0, a)]
    return None


# ---------------------------------------------------------------- the report, as the model writes it

class Outcome:
    """What the model makes of a night: the records in time order, each night's counts, the
    check star's values and every row's fate."""

    def __init__(self, nights, ini_coefficients=COEFFICIENTS, errors_known=True, colour=None,
                 minutes=10.0, date="HJD"):
        self.nights = nights
        # The coefficients as records and #TRANSFORM lines write them (4 decimals).
        self.texts = {n: (v.encode(), e.encode() if errors_known else b"0.0000")
                      for n, (v, e) in ini_coefficients.items()}
        filters = [n.standard for n in nights]
        entries = []  # (date, night index, line, record fields)
        self.counts = []  # per night: written, transformed, left out by the transformation
        self.kstd, self.kstd_transformed = [], []
        self.unpaired_first = []
        self.plans = []  # each night's own coefficient, None when it is not transformed
        self.left_out_lines = []  # (night, line, MERR)
        for i, night in enumerate(nights):
            f = night.standard
            partners = partners_of(f, filters)
            alone = check_alone = None
            if len(nights) == 1 or any(not n.written for n in nights if n.standard in partners):
                partners = []
                if colour:
                    index, t, c, k = colour
                    alone = (index, t - c)
                    check_alone = (index, k - c) if k is not None else None
            # A filter without observations uses no coefficient.
            transformable = (bool(partners) or alone is not None) and bool(night.written)
            self.plans.append(role(f, filters, alone[0] if alone else None)[0]
                              if transformable else None)
            coefficients = coefficient_values(
                needed(f, filters, alone[0] if alone else None), ini_coefficients,
                errors_known) if transformable else {}
            written = transformed = left = 0
            kstd, kstd_t = [], []
            first_unpaired = None
            for line, r in night.written:
                inputs, check = Inputs(), Inputs()
                inputs.coefficients = check.coefficients = coefficients
                inputs.terms[f] = [(1.0, r.x, r.s)]
                check.terms[f] = [(1.0, r.k if r.k is not None else math.nan, 0.0)]
                ok = transformable
                for p in partners:
                    series = [row for _, row in nights[filters.index(p)].written]
                    found = partner(series, r.hjd, minutes)
                    if found is None:
                        ok = False
                        break
                    inputs.terms[p] = [(w, q.x, q.s) for w, q in found]
                    check.terms[p] = [(w, q.k if q.k is not None else math.nan, 0.0)
                                      for w, q in found]
                record = dict(filt=night.filt.decode(), mag=night.comp_value + r.x, merr=r.s,
                              kmag=r.k, x=r.x, row=r, night=night, trans=False)
                if ok:
                    mag_offset, merr, d = inputs.solve(f, filters, alone)
                    if three(merr) >= b"1.000":
                        left += 1
                        self.left_out_lines.append((i, line, merr))
                        continue
                    own = role(f, filters, alone[0] if alone else None)
                    # A filter alone states the colour it was given; partners the colour solved.
                    stated = colour[1] if alone else d + comparison_colour(own[1], nights)
                    record.update(filt=f, mag=night.comp_value + mag_offset, merr=merr, trans=True,
                                  coefficient=own[0], colour=stated, index=own[1])
                    transformed += 1
                    if night.check is not None and r.k is not None:
                        if alone:
                            if check_alone:
                                kstd_t.append(night.comp_value + check.solve(f, filters,
                                                                             check_alone)[0])
                        else:
                            k_offset = check.solve(f, filters)[0]
                            if not math.isnan(k_offset):
                                kstd_t.append(night.comp_value + k_offset)
                elif first_unpaired is None:
                    first_unpaired = line
                if night.check is not None and r.k is not None:
                    kstd.append(night.comp_value + r.k)
                written += 1
                day = Decimal(r.date.decode()) - (Decimal(r.helcor.decode()) if date == "JD" else 0)
                entries.append((day, i, line, record))
            self.counts.append((written, transformed, left))
            self.kstd.append(kstd)
            self.kstd_transformed.append(kstd_t)
            self.unpaired_first.append(first_unpaired)
        entries.sort(key=lambda e: (e[0], e[1], e[2]))
        self.entries = entries
        # Only a coefficient that transformed a record is named.
        self.coefficients_used = sorted((ORDER.index(n.standard), plan)
                                        for n, plan, counts in zip(nights, self.plans, self.counts)
                                        if plan and counts[1] > 0)

    def records(self):
        return [record_text(day, rec, self.texts) for day, _, _, rec in self.entries]


def comparison_colour(index, nights):
    blue, red = index.split("-")
    mags = {n.standard: n.comp_value for n in nights}
    return mags[blue] - mags[red]


def away_from_ties(value):
    """The value, refused when a last-bit difference could round it either way."""
    scaled = abs(value) * 1000
    assert abs(scaled - math.floor(scaled) - 0.5) > 1e-6, "%r lies on a rounding tie" % value
    return value


def record_text(day, rec, texts):
    night, row = rec["night"], rec["row"]
    checked = night.check is not None
    notes = b"|VMAGINS=%s|CMAGINS=0.000" % three(rec["x"])
    if checked and rec["kmag"] is not None:
        notes += b"|KMAGINS=%s" % three(rec["kmag"])
    notes += b"|CREFMAG=%s" % three(night.comp_value)
    if checked and rec["kmag"] is not None:
        notes += b"|KREFMAG=%s" % three(float(night.check))
    if rec["trans"]:
        value, error = texts[rec["coefficient"]]
        notes += b"|%s=%s|%sERR=%s|%sCOLOR=%s" % (
            rec["coefficient"].encode(), value, rec["coefficient"].encode(), error,
            rec["index"].replace("-", "").encode(), three(away_from_ties(rec["colour"])))
    # The values the model computed must not hang on a last bit.
    mag, merr = (away_from_ties(rec["mag"]), away_from_ties(rec["merr"])) if rec["trans"] else (
        rec["mag"], rec["merr"])
    kmag = three(rec["kmag"]) if checked and rec["kmag"] is not None else b"na"
    return b"RR LYR,%s,%s,%s,%s,%s,STD,000-AAA-001,0.000,%s,%s,%s,na,12345AB,%s" % (
        str(day).encode(), three(mag), three(merr),
        rec["filt"].encode(), b"YES" if rec["trans"] else b"NO",
        b"000-AAA-002" if checked else b"na", kmag, three(float(row.airmass)), notes)


def transform_lines(outcome, ini_name=b"tg.ini"):
    return [b"#TRANSFORM %s=%s +/- %s (%s)" % (name.encode(), *outcome.texts[name], ini_name)
            for _, name in outcome.coefficients_used]


def report_bytes(outcome, ini_name=b"tg.ini", date=b"HJD"):
    header = aavso_report([], date=date)
    body = transform_lines(outcome, ini_name)
    return header + b"".join(line + b"\r\n" for line in body + outcome.records())


def long_notes(report_name, report):
    """What the report's own check notes of NOTES longer than 100 characters."""
    rows = report.split(b"\r\n")
    found = [(number, row) for number, row in enumerate(rows, start=1)
             if row and not row.startswith(b"#") and len(row.split(b",", 14)[14]) > 100]
    if not found:
        return b""
    number, row = found[0]
    column = len(row) - len(row.split(b",", 14)[14]) + 1
    return (b"%s:%d:%d: note: NOTES has %d characters, more than 100 (the classic upload tool once "
            b"said: \"Line Number %d: The notes field should not exceed 100 characters\")%s [R19]\n"
            % (report_name, number, column, len(row.split(b",", 14)[14]), number, more(len(found))))


# ---------------------------------------------------------------- the summary on standard output

# Why a night that wrote nothing has no check-star statistics.
NONE_WRITTEN = (b"no observation was written: every one was dropped (V-C above 90) or left out "
                b"(MERR of 1.0 or more)")


def check_star_warnings(outcome):
    """Each night's check star never measured, or moved away by the transformation by more than
    0.020."""
    out = b""
    for night, kstd, kstd_t, counts in zip(outcome.nights, outcome.kstd, outcome.kstd_transformed,
                                           outcome.counts):
        if night.check is None:
            continue
        table = (night.folder + "@" if night.folder else "").encode() + b"lightcurve.txt"
        if not kstd and not counts[0]:
            out += (b"%s: warning: the check star 000-AAA-002 was not measured, as %s\n"
                    % (table, NONE_WRITTEN))
            continue
        if not kstd:
            out += (b"%s: warning: the check star 000-AAA-002 was not measured on any written line "
                    b"(C1-K1 above 90): KMAG is na throughout\n" % table)
            continue
        if not kstd_t:
            continue
        before = sum(kstd) / len(kstd) - float(night.check)
        after = sum(kstd_t) / len(kstd_t) - float(night.check)
        if abs(after) - abs(before) > 0.020:
            out += (b"%s: warning: the transformation moved the check star from %s to %s: check "
                    b"the coefficients and the catalogue colours\n"
                    % (table, signed_three(away_from_ties(before)),
                       signed_three(away_from_ties(after))))
    return out


def quality_warnings(outcome):
    """convert's quality warnings after the summary: a check star away from its catalogue
    magnitude by more than 0.10, judged on the transformed line where there is one. The nights
    here hold fewer than 10 check-star observations each, too few for the other warnings."""
    out = b""
    for i, night in enumerate(outcome.nights):
        kstd = outcome.kstd_transformed[i] or outcome.kstd[i]
        if night.check is None or not kstd:
            continue
        assert len(kstd) < 10
        table = (night.folder + "@" if night.folder else "").encode() + b"lightcurve.txt"
        name = (STANDARD[night.filt] if outcome.counts[i][1] else night.filt.decode()).encode()
        difference = sum(kstd) / len(kstd) - float(night.check)
        if abs(difference) > 0.10:
            out += (b"%s: warning: quality: check star 000-AAA-002 %s is %.2f %s than its catalogue "
                    b"magnitude %s: is it the right star, the right catalogue magnitude and the "
                    b"right filter?\n" % (table, name, abs(difference),
                                           b"brighter" if difference < 0 else b"fainter",
                                           three(float(night.check))))
    return out


def statistics(name, values, catalogue):
    n = len(values)
    mean = sum(values) / n
    deviation = math.sqrt(sum((v - mean) ** 2 for v in values) / (n - 1)) if n > 1 else 0.0
    return (b"check star 000-AAA-002 %s: %d observations, mean %s (catalogue %s, difference %s), "
            b"standard deviation %s\n" % (name, n, three(away_from_ties(mean)), three(catalogue),
                                           signed_three(away_from_ties(mean - catalogue)),
                                           three(away_from_ties(deviation))))


def signed_three(value):
    text = three(value)
    return text if text.startswith(b"-") else b"+" + text


def summary(outcome, platforms, report=REPORT.encode(), date=b"HJD"):
    nights = outcome.nights
    several = len(nights) > 1
    out = b""
    for night, (written, _, left) in zip(nights, outcome.counts):
        lines = len(night.rows)
        dropped = sum(1 for r in night.rows if r.dropped)
        left += sum(1 for r in night.rows if r.left_out)
        out += (b"%s: %d observation line%s: %d written, %d dropped (V-C above 90), %d left out "
                b"(MERR of 1.0 or more)\n" % (night.table_name(platforms), lines, plural(lines),
                                                written, dropped, left))
    if several:
        out += b"star RR LYR, filters %s, observer ABCD, chart 12345AB\n" % b", ".join(
            n.filt for n in nights)
        comps = b", ".join(n.filt + b" " + n.comp for n in nights)
        checks = b", ".join(n.filt + b" " + (n.check or b"") for n in nights)
    else:
        out += b"star RR LYR, filter %s, observer ABCD, chart 12345AB\n" % nights[0].filt
        comps, checks = nights[0].comp, nights[0].check
    out += b"comparison star 000-AAA-001 (%s), " % comps
    out += (b"check star 000-AAA-002 (%s)\n" % checks) if nights[0].check else b"no check star\n"
    days = sorted(day for day, _, _, _ in outcome.entries)
    out += b"dates (%s): %s to %s\n" % (date, str(days[0]).encode(), str(days[-1]).encode())
    written = len(outcome.entries)
    out += b"wrote %s: %d observation%s\n" % (report, written, plural(written))
    for i, (night, (written, transformed, _)) in enumerate(zip(nights, outcome.counts)):
        out += b"transformed %s: %d of %d observation%s" % (night.filt, transformed, written,
                                                           plural(written))
        plan = outcome.plans[i]
        if plan:
            out += b", with %s=%s +/- %s" % (plan.encode(), *outcome.texts[plan])
        out += b"\n"
    for i, night in enumerate(nights):
        if night.check is None:
            continue
        name = (STANDARD[night.filt] if outcome.counts[i][1] else night.filt.decode()).encode()
        if outcome.kstd[i]:
            out += statistics(name, outcome.kstd[i], float(night.check))
        elif not outcome.counts[i][0]:
            out += b"check star 000-AAA-002 %s: not measured, as %s\n" % (name, NONE_WRITTEN)
        else:
            out += (b"check star 000-AAA-002 %s: not measured on any written line (C1-K1 above "
                    b"90), so KMAG is na\n" % name)
        if outcome.kstd_transformed[i]:
            out += statistics(name + b" transformed", outcome.kstd_transformed[i],
                              float(night.check))
    return out


# ---------------------------------------------------------------- the cases' makers

def with_separators(text):
    """Bytes of a message whose paths hold '@' for the platform's separator."""
    return lambda platforms: text.replace(b"@", sep(platforms))


def check_of(name, report_name, report, findings=b""):
    """`varistellar check` on a report that convert wrote: no error, and exit status 0.
    `findings`: what it finds beside the long NOTES, as convert's own check found it."""
    notes = long_notes(report_name, report)
    count = report.count(b"\r\nRR LYR,")
    stdout = (notes + findings + b"%s: note: %d observation lines [F10]\n" % (report_name, count)
              + b"%s: %d observations, 0 errors, %d warnings, %d notes\n"
              % (report_name, count, findings.count(b" warning: "),
                 notes.count(b" note: ") + findings.count(b" note: ") + 1))
    return Case("check finds no error in the report of convert --transform: " + name,
                {report_name.decode(): report}, b"", on_console(stdout), 0,
                args=["check", report_name.decode()])


def converted(name, nights, options=(), colour=None, minutes=10.0, date="HJD", ini=None,
              ini_path="tg.ini", warnings=b"", extra_files=None, after_extra=None, outcome=None,
              ini_name=b"tg.ini", errors_known=True, stdout_tail=b"", check_findings=b"",
              folders=(), ini_coefficients=COEFFICIENTS):
    """A transformed night as the model writes it: the report, the summary, and a check of the
    report. `warnings`: what stands on standard error before the report's own check, '@' for
    the platform's separator."""
    outcome = outcome or Outcome(nights, ini_coefficients, colour=colour, minutes=minutes,
                                 date=date, errors_known=errors_known)
    several = len(nights) > 1
    report_name = REPORT.encode() if several else b"lightcurve-aavso.txt"
    report = report_bytes(outcome, ini_name=ini_name, date=date.encode())
    files = {ini_path: ini if ini is not None else coefficient_file(coefficients=ini_coefficients)}
    for night in nights:
        files.update(night.files())
    files.update(extra_files or {})
    args = ["convert", "--transform", ini_path] + list(options)
    if date != "HJD":
        args += ["--date", date]
    if several:
        args += ["--report", REPORT] + [n.folder for n in nights]
    stdout = (lambda p: on_console(summary(outcome, p, report=report_name, date=date.encode(),
                                           )
                                   + stdout_tail)(p))
    warnings += check_star_warnings(outcome) + quality_warnings(outcome)
    stderr = (lambda p: on_console(with_separators(warnings)(p) + own_check(check_findings))(p))
    after = {report_name.decode(): report}
    after.update(after_extra or {})
    folders = [n.folder for n in nights if n.folder] + list(folders)
    return [Case("convert --transform: " + name, files, b"", stdout, 0, args=args,
                 folders=folders, stderr=stderr, after=after),
            check_of(name, report_name, report, check_findings)]


OLD_REPORT = b"an old report\r\n"


def refused(name, files, args, errors, folders=(), usage=False, unprivileged=False):
    """A run that writes nothing: the errors ('@' for the separator), the old report kept."""
    files = dict(files)
    several = len(folders) > 1
    report = REPORT if several else "lightcurve-aavso.txt"
    files.setdefault(report, OLD_REPORT)
    if usage:
        stderr = on_console(b"varistellar: " + errors + b"\n" + USAGE_HINT)
        return Case("convert --transform: usage error: " + name, files, b"", b"", 2, args=args,
                    folders=folders, stderr=stderr)
    count = errors.count(b": error: ")
    tail = b"varistellar: %d error%s; nothing was written\n" % (count, plural(count))
    return Case("convert --transform refuses " + name, files, b"", b"", 1, args=args,
                folders=folders, stderr=lambda p: on_console(with_separators(errors + tail)(p))(p),
                unprivileged=unprivileged)


# ---------------------------------------------------------------- the nights of the cases

COMP = {b"B": b"12.900", b"V": b"12.345", b"R": b"11.950", b"I": b"11.600"}
CHECK = {b"B": b"13.650", b"V": b"13.021", b"R": b"12.640", b"I": b"12.280"}
BASE = {"B": (-0.3512, 0.7413), "V": (-0.6307, 0.6921), "R": (-0.8046, 0.6618),
        "I": (-0.9733, 0.6302)}  # V-C and -(C1-K1) at the first observation


def series(filt, minutes, step=0.0123):
    """Rows of a filter at the given minutes after the night's start, each a little brighter."""
    x0, k0 = BASE[STANDARD[filt]]
    return [Row(at(m), b"%.5f" % (x0 - step * j), b"%.5f" % (0.0112 + 0.00137 * j),
                b"%.5f" % -(k0 + 0.0021 * j), airmass=b"%.5f" % (1.2 + 0.0104 * j))
            for j, m in enumerate(minutes)]


def filter_night(filt, minutes, folder=None, check=True, rows=None):
    standard = STANDARD[filt].encode()
    return Night(folder if folder is not None else filt.decode().lower(), filt, COMP[standard],
                 CHECK[standard] if check else None,
                 rows if rows is not None else series(filt, minutes))


TIMES = [0, 3, 6]


def filter_set(filters, minutes=TIMES):
    return [filter_night(f, minutes) for f in filters]


# The worked example: B 11.779 and V 11.166 for the comparison, b = -0.021 and v = -0.746.
WORKED = [Night("b", b"B", b"11.779", b"12.300", [Row(b"2460600.30000", b"-0.02100")]),
          Night("v", b"V", b"11.166", b"11.600",
                [Row(b"2460600.30000", b"-0.74600", s1=b"0.01200", c1_k1=b"-0.40000")])]
WORKED_OUTCOME = Outcome(WORKED)
assert [three(e[3]["mag"]) for e in WORKED_OUTCOME.entries] == [b"11.861", b"10.379"]


def alone_night(filt=b"V", check=True, rows=None):
    night = filter_night(filt, TIMES, folder="", check=check, rows=rows)
    return night


# V, B and I at times that interleave: each filter's partners are interpolated or nearest.
INTERLEAVED = [filter_night(b"B", [1, 6, 11]), filter_night(b"V", [0, 4, 8, 30])]
# B brackets V at 4 (w = 0.6); V at 0 and 8 have one B within reach; V at 30 none.
INTERLEAVED_WARNING = (b"v@lightcurve.txt:6: warning: 1 observation has no B observation within "
                       b"10 minutes: it is written untransformed (TRANS NO)\n")

# V's partners one side beyond reach: B at 0 has V at -15 (beyond) and 3 (within).
ONE_SIDE = [filter_night(b"B", [0, 20]), filter_night(b"V", [-15, 3, 24])]

# No partner at all for the first two of each filter.
APART = [filter_night(b"B", [0, 1, 60]), filter_night(b"V", [40, 41, 60])]
APART_WARNINGS = (b"b@lightcurve.txt:3: warning: 2 observations have no V observation within 10 "
                  b"minutes: they are written untransformed (TRANS NO)\n"
                  b"v@lightcurve.txt:3: warning: 2 observations have no B observation within 10 "
                  b"minutes: they are written untransformed (TRANS NO)\n")

# 7.2 minutes apart: 2460600.30000 and 2460600.30500.
EDGE = [Night("b", b"B", COMP[b"B"], CHECK[b"B"], [Row(b"2460600.30000", b"-0.35120")]),
        Night("v", b"V", COMP[b"V"], CHECK[b"V"], [Row(b"2460600.30500", b"-0.63070")])]


def edge_warning(minutes):
    return (b"b@lightcurve.txt:3: warning: 1 observation has no V observation within %s minutes: "
            b"it is written untransformed (TRANS NO)\n"
            b"v@lightcurve.txt:3: warning: 1 observation has no B observation within %s minutes: "
            b"it is written untransformed (TRANS NO)\n" % (minutes, minutes))


# V's check star not measured at 3 minutes: B at 3 keeps its magnitude, not its check star.
UNMEASURED_PARTNER = [filter_night(b"B", TIMES), filter_night(b"V", TIMES)]
UNMEASURED_PARTNER[1].rows[1].c1_k1 = b"99.999"

# V's rows at 0 (dropped) and 1 (s1 written 1.000: left out) are no partners: B at 0.5 pairs
# with V at 9 alone.
NO_PARTNERS = [filter_night(b"B", [0.5]),
               Night("v", b"V", COMP[b"V"], CHECK[b"V"],
                     [Row(at(0), b"99.999", b"99.999", b"99.999"),
                      Row(at(1), b"-0.62000", b"0.99950"),
                      Row(at(9), b"-0.64100", b"0.02100", b"-0.69000")])]
NO_PARTNERS_WARNING = (b"v@lightcurve.txt:4: warning: MERR 1.000 is 1.0 or more, which the AAVSO "
                       b"does not accept: the observation is left out of the report\n")

# B's MERR transformed reaches 1.0: left out; it stays V's partner.
WIDE = [Night("b", b"B", COMP[b"B"], CHECK[b"B"], [Row(at(0), b"-0.35120", b"0.90000")]),
        Night("v", b"V", COMP[b"V"], CHECK[b"V"], [Row(at(0), b"-0.63070", b"0.90000")])]
WIDE_WARNING = (b"b@lightcurve.txt:3: warning: MERR 1.027 is 1.0 or more, which the AAVSO does not "
                b"accept: the observation is left out of the report\n")

# A B night whose every row is dropped: V has no partner.
NO_B = [Night("b", b"B", COMP[b"B"], CHECK[b"B"], [Row(at(0), b"99.999", b"99.999")]),
        filter_night(b"V", TIMES)]
NO_B_WARNING = (b"v@lightcurve.txt:3: warning: 3 observations have no partner filter in the night "
                b"and no --colour: they are written untransformed (TRANS NO)\n")

# The check star's catalogue colour far from its measured one: the transformation moves it away.
MOVED = [Night("b", b"B", COMP[b"B"], b"13.250", series(b"B", TIMES)),
         Night("v", b"V", COMP[b"V"], b"13.037",
               [Row(r.date, r.v_c, r.s1, b"%.5f" % (float(r.c1_k1) + 1.0))
                for r in series(b"V", TIMES)])]

TB_TG = [filter_night(b"TB", [0, 3, 40]), filter_night(b"TG", [0, 3])]
TB_TG_WARNING = (b"tb@lightcurve.txt:5: warning: 1 observation has no V observation within 10 "
                 b"minutes: it is written untransformed (TRANS NO)\n")


# V and R 30 minutes apart: neither has a partner, and no coefficient is named.
VR_APART = [filter_night(b"V", [0]), filter_night(b"R", [30])]
VR_APART_WARNINGS = (b"v@lightcurve.txt:3: warning: 1 observation has no R observation within 10 "
                     b"minutes: it is written untransformed (TRANS NO)\n"
                     b"r@lightcurve.txt:3: warning: 1 observation has no V observation within 10 "
                     b"minutes: it is written untransformed (TRANS NO)\n")

# B and V pair; I comes half an hour later: Ti_vi transforms nothing and is not named.
I_UNPAIRED = filter_set([b"B", b"V"]) + [filter_night(b"I", [40, 43])]
I_UNPAIRED_WARNING = (b"i@lightcurve.txt:3: warning: 2 observations have no B and V observation "
                      b"within 10 minutes: they are written untransformed (TRANS NO)\n")


def left_out_warning(outcome):
    return b"".join(
        b"%s@lightcurve.txt:%d: warning: MERR %s is 1.0 or more, which the AAVSO does not accept: "
        b"the observation is left out of the report\n"
        % (outcome.nights[n].folder.encode(), line, three(merr))
        for n, line, merr in outcome.left_out_lines)


def picture_of(count):
    """An SVG picture with one point of class obs per observation."""
    return lambda data: data.startswith(b"<?xml") and data.count(b'class="obs"') == count


CASES = (
    converted("the worked example: B 11.861, V 10.379", WORKED, ini=WORKED_INI,
              outcome=WORKED_OUTCOME)
    + converted("B and V at the same times", filter_set([b"B", b"V"]))
    + converted("V and R", filter_set([b"V", b"R"]))
    + converted("V and I", filter_set([b"V", b"I"]))
    + converted("B, V and I", filter_set([b"B", b"V", b"I"]))
    # The FOLDERs in another order: the #TRANSFORM lines stay in the order B, V, R, I.
    + converted("B, V, R and I, the FOLDERs in another order",
                filter_set([b"I", b"R", b"V", b"B"]))
    + converted("V alone with --colour B-V=T,C,K", [alone_night()],
                options=["--colour", "B-V=0.912,0.633,0.71"], colour=("B-V", 0.912, 0.633, 0.71))
    + converted("R alone with --colour V-I=T,C and no check star's colour", [alone_night(b"R")],
                options=["--colour", "V-I=0.712,0.351"], colour=("V-I", 0.712, 0.351, None))
    + converted("TB and TG are reported as B and V, an unpaired TB keeps its name", TB_TG,
                warnings=TB_TG_WARNING)
    + converted("TG and TR as V and R", [filter_night(b"TG", TIMES), filter_night(b"TR", TIMES)])
    + converted("a B night with no observation leaves V alone: untransformed without --colour",
                NO_B, warnings=NO_B_WARNING)
    + converted("a B night with no observation leaves V alone: transformed with --colour", NO_B,
                options=["--colour", "B-V=0.912,0.633,0.71"], colour=("B-V", 0.912, 0.633, 0.71))
    + converted("partners interpolated, or the nearest within reach", INTERLEAVED,
                warnings=INTERLEAVED_WARNING)
    + converted("the nearest partner when the other side is beyond reach", ONE_SIDE,
                warnings=b"v@lightcurve.txt:3: warning: 1 observation has no B observation within "
                         b"10 minutes: it is written untransformed (TRANS NO)\n")
    + converted("no partner within reach: TRANS NO and one warning per filter", APART,
                warnings=APART_WARNINGS)
    + converted("partners exactly --pair-within apart", EDGE, options=["--pair-within", "7.2"],
                minutes=7.2)
    + converted("partners within 5e-6 minutes beyond --pair-within", EDGE,
                options=["--pair-within", "7.199996"], minutes=7.199996)
    + converted("partners just beyond --pair-within", EDGE, options=["--pair-within", "7.19999"],
                minutes=7.19999, warnings=edge_warning(b"7.19999"))
    + converted("V and R 30 minutes apart: no #TRANSFORM line", VR_APART,
                warnings=VR_APART_WARNINGS)
    + converted("B, V and I whose I has no partner: no Ti_vi line", I_UNPAIRED,
                warnings=I_UNPAIRED_WARNING)
    + converted("a partner without its check star leaves the check star out", UNMEASURED_PARTNER,
                check_findings=b'night.txt:13:75: warning: KNAME "000-AAA-002" is given with KMAG '
                               b'na [R15b]\n'
                               b"night.txt:13:95: note: MTYPE STD with a single comparison star "
                               b"and no CREFMAG / KREFMAG in NOTES: the observation cannot be "
                               b"transformed later [R21]\n")
    + converted("dropped and left-out rows are never partners", NO_PARTNERS,
                warnings=NO_PARTNERS_WARNING)
    + converted("a transformed MERR of 1.0 or more leaves the observation out", WIDE,
                warnings=left_out_warning(Outcome(WIDE)))
    + converted("the check star moved away by the transformation", MOVED)
    + converted("without a check star: KMAG na, no check-star lines",
                [filter_night(b"B", TIMES, check=False), filter_night(b"V", TIMES, check=False)])
    + converted("with --date JD", filter_set([b"B", b"V"]), date="JD")
    + converted("with --plot", filter_set([b"B", b"V"]), options=["--plot", "night.svg"],
                after_extra={"night.svg": picture_of(6)},
                stdout_tail=b"drew night.svg: 6 observations\n")
    + converted("the coefficient file's name without its folder", filter_set([b"V", b"R"]),
                ini_path="coefficients/my tg.ini", ini_name=b"my tg.ini",
                folders=["coefficients"])
)


def night_files(nights):
    files = {}
    for night in nights:
        files.update(night.files())
    return files


BV = [filter_night(b"B", TIMES), filter_night(b"V", TIMES)]
INI = coefficient_file()
# Implausible, but no divisor comes near 0: 1 - Tv_vi + Ti_vi = 2.341.
IMPLAUSIBLE = dict(COEFFICIENTS, Ti_vi=("1.3000", "0.0090"))


def bad(name, files, options, errors, nights=BV, usage=False, unprivileged=False, ini=INI):
    """convert --transform tg.ini refused: `files` over the nights' files and tg.ini."""
    all_files = night_files(nights) | ({"tg.ini": ini} if ini is not None else {}) | files
    several = len(nights) > 1
    folders = [n.folder for n in nights if n.folder]
    args = ["convert"] + options + (["--report", REPORT] if several else []) + folders
    return refused(name, all_files, args, errors, folders=folders, usage=usage,
                   unprivileged=unprivileged)


T = ["--transform", "tg.ini"]
MALFORMED = (b"[Coefficients]\nTb_bv= 0,1181\nTv_bv= -0.04.67\n[Setup]\nnot read= at all\n"
             b"[Error]\nTb_bv= about 0.01\n")

CASES += (
    converted("a missing [Error] entry counts as 0, with a warning", BV,
              ini=coefficient_file(errors=("Tv_bv",)),
              ini_coefficients=dict(COEFFICIENTS, Tb_bv=("0.1181", "0.0000")),
              warnings=b"tg.ini: warning: [Error] holds no Tb_bv: its error counts as 0 in MERR\n")
    + converted("an implausible coefficient is a warning", filter_set([b"V", b"I"]),
                ini_coefficients=IMPLAUSIBLE,
                warnings=b"tg.ini:10: warning: Ti_vi is 1.3000, above 1 in size, which is "
                         b"implausible for a transformation coefficient\n")
)

COLOUR_USAGE = (b"option '--colour' takes INDEX=T,C[,K]: INDEX B-V, V-R or V-I, then the standard "
                b"colours of the target, the comparison and (if you like) the check star as plain "
                b"decimal numbers, not '%s'")
DIVISOR = b"below 0.5 in size: the transformation would be meaningless; check "

CASES += [
    in_system_words(bad("a missing coefficient file", {}, T,
                        b"tg.ini: error: cannot open the coefficient file: The system cannot find "
                        b"the file specified.\n", ini=None), *NO_SUCH_FILE),
    in_system_words(bad("an unreadable coefficient file", {"tg.ini": unreadable(INI)}, T,
                        b"tg.ini: error: cannot open the coefficient file: Access Denied.\n",
                        unprivileged=True), *ACCESS_DENIED),
    bad("a folder for the coefficient file", {"tg.ini": DIRECTORY}, T,
        b"tg.ini: error: cannot open the coefficient file: it is a folder, not a file\n"),
    # Every fault listed, each with its column; the [Setup] section is not read.
    bad("a malformed coefficient file", {}, T,
        b'tg.ini:2:8: error: the value "0,1181" of "Tb_bv" is not a decimal number; write a point '
        b"for the decimals, not a comma\n"
        b'tg.ini:3:8: error: the value "-0.04.67" of "Tv_bv" is not a decimal number; a number has '
        b"one point at most\n"
        b'tg.ini:7:8: error: the value "about 0.01" of "Tb_bv" is not a decimal number; write a '
        b"decimal number such as -0.0467 or -4.67e-2\n", ini=MALFORMED),
    bad("a needed coefficient that is missing", {}, T,
        b"tg.ini: error: [Coefficients] holds no Tv_bv, which the filters B and V need; it is "
        b"never taken as 0\n", ini=coefficient_file(names=("Tb_bv",))),
    bad("a filter that cannot be transformed",
        night_files([filter_night(b"B", TIMES), Night("v", b"SG", b"12.3", b"13.0", BV[1].rows)]),
        T, b'v@VARISTELLAR-input.txt:9: error: the filter "SG" cannot be transformed: only B, V, R '
           b"and I can (and a colour camera's TB, TG and TR, as B, V and R)\n"),
    bad("B and R together", {}, T,
        b"b@VARISTELLAR-input.txt:9: error: the filters B and R cannot be transformed together: "
        b"B and V, V and R, V and I, B, V and I, or B, V, R and I can be transformed together\n",
        nights=[filter_night(b"B", TIMES), filter_night(b"R", TIMES)]),
    bad("TB with B", {}, T,
        b'b@VARISTELLAR-input.txt:9: error: the filter "B" is transformed as B, the filter of '
        b"another FOLDER; each FOLDER holds the night of one filter\n",
        nights=[filter_night(b"TB", TIMES), filter_night(b"B", TIMES)]),
    bad("parameter files that disagree",
        {"v/VARISTELLAR-input.txt": parameters(filt=b"V", star=b"RR Lyr")}, T,
        b'v@VARISTELLAR-input.txt:6: error: the star\'s name "RR Lyr" differs from "RR LYR" in '
        b"b@VARISTELLAR-input.txt; the nights of one report must agree on it\n"),
    bad("a pair's divisor below 0.5", {}, T,
        b"tg.ini: error: 1 - Tb_bv + Tv_bv is 0.4500, " + DIVISOR + b"Tb_bv and Tv_bv\n",
        ini=coefficient_file(coefficients=dict(COEFFICIENTS, Tb_bv=("0.6000", "0.01"),
                                               Tv_bv=("0.0500", "0.01")))),
    bad("1 + Ti_vi below 0.5", {}, T, b"tg.ini: error: 1 + Ti_vi is 0.4000, " + DIVISOR + b"Ti_vi\n",
        nights=filter_set([b"B", b"V", b"I"]),
        ini=coefficient_file(coefficients=dict(COEFFICIENTS, Ti_vi=("-0.6000", "0.01")))),
    bad("one FOLDER without --colour", {}, T,
        b'VARISTELLAR-input.txt:9: error: the filter "V" has no partner filter in this night: give '
        b"the star's colour with --colour INDEX=T,C[,K] (B-V, V-R or V-I) to transform it\n",
        nights=[alone_night()]),
] + [bad("--colour " + value, {}, T + ["--colour", value], COLOUR_USAGE % value.encode(),
         nights=[alone_night()], usage=True)
     for value in ("B-V=1", "U-B=0.5,0.6", "B-V=0.5,0.6,0.7,0.8", "B-V=0.5,x", "b-v=0.5,0.6",
                   "B-V=0,5;0,6", "B-V=")] + [
    bad("--pair-within " + value, {}, T + ["--pair-within", value],
        b"option '--pair-within' takes a number of minutes, 0 or more, not '%s'" % value.encode(),
        usage=True)
    for value in ("-1", "ten", "1e1", "")] + [
    bad("--colour without --transform", {}, ["--colour", "B-V=0.5,0.6"],
        b"option '--colour' needs --transform FILE", nights=[alone_night()], usage=True),
    bad("--pair-within without --transform", {}, ["--pair-within", "5"],
        b"option '--pair-within' needs --transform FILE", usage=True),
]
