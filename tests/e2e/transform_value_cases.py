"""End-to-end cases of the values `transform` and `convert --transform` read and write: NOTES that
switch their sub-delimiter, numbers that are not plain decimals, --colour over several stars, a
negative [Error] entry, and filter names in lower case."""

from cases import Case
from command_line_cases import on_console
from report_transform_cases import HEADER, INI, V_ALONE, Model, Row, at, transformed
from transform_cases import (COEFFICIENTS, Night, TIMES, coefficient_file, converted, refused,
                             series)


class SwitchedRow(Row):
    """A row whose NOTES switch their sub-delimiter to ';' after a free text."""

    def notes(self):
        return b"DELIM=;clear" + super().notes().replace(b"|", b";")


def switched_model():
    rows = [SwitchedRow(r.date, r.filt, r.v, k=r.k) for r in V_ALONE]
    model = Model(rows, colour=("B-V", 0.62, 0.55, 1.25))
    # The subfields transform adds take the row's ';' as well.
    for fields in model.out:
        fields[14] = fields[14].replace(b"|", b";")
    return model


CASES = transformed("NOTES that switch their sub-delimiter get the subfields with theirs",
                    switched_model(), args=["--colour", "B-V=0.62,0.55,1.25"])

# ---------------------------------------------------------------- numbers that are not plain

UNPLAIN_ROWS = [
    # The #CREFMAG= line's comparison is "12,895": a decimal comma, no number, never 12.
    b"RR LYR,%s,11.900,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,0.700,1.200,na,12345AB,"
    b"|VMAGINS=-0.500|CMAGINS=0.000" % at(0).encode(),
    b"RR LYR,%s,11.910,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,0.700,1.200,na,12345AB,"
    b"|VMAGINS=-0.490|CMAGINS=0.000" % at(2).encode(),
    # The row's own CREFMAG has letters after its number.
    b"RR LYR,%s,11.920,0.010,V,NO,STD,000-AAA-001,0.000,000-AAA-002,0.700,1.200,na,12345AB,"
    b"|VMAGINS=-0.480|CMAGINS=0.000|CREFMAG=12.345abc" % at(4).encode(),
]
UNPLAIN = (HEADER.replace(b"#STARID", b"#CREFMAG=12,895 0.010 13.5x 0.010\r\n#STARID")
           + b"".join(r + b"\r\n" for r in UNPLAIN_ROWS))
UNPLAIN_TAIL = (b", no plain decimal number, so it counts as not given; write a point for the "
                b"decimals and blanks between the numbers\n")
CASES += [
    Case("transform: a decimal comma in #CREFMAG=, letters after a number in NOTES: no number, "
         "with a warning",
         {"r.txt": UNPLAIN, "tg.ini": INI}, b"",
         on_console(b"r.txt: 3 observations: 0 transformed, 3 written as they were\n"
                    b"wrote r-transformed.txt: 3 observations\n"), 0,
         stderr=on_console(
             b"r.txt:7: warning: #CREFMAG= gives the comparison's magnitude as \"12,895\""
             + UNPLAIN_TAIL
             + b"r.txt:7: warning: #CREFMAG= gives the check star's magnitude as \"13.5x\""
             + UNPLAIN_TAIL
             + b"r.txt:11: warning: 1 row has a NOTES subfield VMAGINS, CMAGINS, KMAGINS, CREFMAG "
               b"or KREFMAG whose value is no plain decimal number (the first: \"CREFMAG=12.345abc\"); "
               b"such a value counts as not given\n"
             b"r.txt:9: warning: 3 rows cannot be transformed: no comparison magnitude: no CREFMAG "
             b"in NOTES and no #CREFMAG= line above; they are written as they were\n"
             # The output's own check: its warnings, not its notes.
             b"r-transformed.txt:11:97: warning: NOTES subfield \"CREFMAG=12.345abc\" is not "
             b"KEY=value [R20]\n"),
         after={"r-transformed.txt": UNPLAIN},
         args=["transform", "--transform", "tg.ini", "r.txt"]),
]

# ---------------------------------------------------------------- --colour and several stars


def star_row(star, minutes, filt=b"V"):
    fields = Row(at(minutes), filt.decode(), -0.5).fields()
    fields[0] = star
    return b",".join(fields) + b"\r\n"


# SS CYG has B and V and takes no --colour; RR LYR and V1 CYG are alone in V.
STARS = HEADER + b"".join([star_row(b"SS CYG", 0, b"B"), star_row(b"SS CYG", 1),
                           star_row(b"RR LYR", 2), star_row(b"rr lyr", 3),
                           star_row(b"V1 CYG", 4, b"TG")])
CASES += [
    Case("transform refuses --colour for rows of two stars alone in their filter",
         {"r.txt": STARS, "tg.ini": INI}, b"", b"", 1,
         stderr=on_console(b"r.txt: error: --colour gives one star's colours, but the report has "
                           b"rows of 2 stars alone in their filter: RR LYR, V1 CYG\n"
                           b"varistellar: 1 error; nothing was written\n"),
         args=["transform", "--transform", "tg.ini", "--colour", "B-V=0.62,0.55", "r.txt"]),
]



def group_row(star, minutes, group, filt=b"V"):
    fields = Row(at(minutes), filt.decode(), -0.5, group=group).fields()
    fields[0] = star
    return b",".join(fields) + b"\r\n"


# A GROUP of one row is a filter alone too: SS CYG alone in GROUP 1 and in its series counts
# once, RR LYR's GROUP 2 of B and V takes no --colour, V1 CYG is alone in GROUP 3.
GROUPS = HEADER + b"".join([group_row(b"SS CYG", 0, "1"), star_row(b"SS CYG", 1),
                            group_row(b"RR LYR", 2, "2", b"B"), group_row(b"RR LYR", 3, "2"),
                            group_row(b"V1 CYG", 4, "3")])
CASES += [
    Case("transform refuses --colour for GROUPs of one row of two stars",
         {"r.txt": GROUPS, "tg.ini": INI}, b"", b"", 1,
         stderr=on_console(b"r.txt: error: --colour gives one star's colours, but the report has "
                           b"rows of 2 stars alone in their filter: SS CYG, V1 CYG\n"
                           b"varistellar: 1 error; nothing was written\n"),
         args=["transform", "--transform", "tg.ini", "--colour", "B-V=0.62,0.55", "r.txt"]),
]

# ---------------------------------------------------------------- a negative [Error] entry

NEGATIVE = coefficient_file(coefficients=dict(COEFFICIENTS, Tv_bv=("-0.0467", "-0.0070")))
CASES += [
    Case("transform refuses a coefficient file with a negative [Error] entry",
         {"r.txt": STARS, "tg.ini": NEGATIVE}, b"", b"", 1,
         stderr=on_console(b"tg.ini:14:8: error: the value \"-0.0070\" of \"Tv_bv\" in [Error] is "
                           b"negative; an error is a size, such as 0.0070\n"
                           b"varistellar: 1 error; nothing was written\n"),
         args=["transform", "--transform", "tg.ini", "r.txt"]),
    refused("a negative [Error] entry", {"tg.ini": NEGATIVE, **Night(
        "", b"V", b"12.345", b"13.021", series(b"V", TIMES)).files()},
        ["convert", "--transform", "tg.ini", "--colour", "B-V=0.62,0.55"],
        b"tg.ini:14:8: error: the value \"-0.0070\" of \"Tv_bv\" in [Error] is negative; an error "
        b"is a size, such as 0.0070\n"),
]

# ---------------------------------------------------------------- filters in lower case

# A parameter file's "b" and "v" are B and V, as everywhere in the format.
LOWER = [Night("b", b"b", b"12.900", b"13.650", series(b"B", TIMES)),
         Night("v", b"v", b"12.345", b"13.021", series(b"V", TIMES))]
CASES += converted("b and v in lower case are transformed as B and V", LOWER)

# ---------------------------------------------------------------- memory with a star per row

MANY = 100000


def many_stars():
    """A report of MANY rows, each of a star of its own, alone in its filter."""
    rows = (b"S%07d,%.5f,11.500,0.010,V,NO,STD,000-AAA-001,-0.500,000-AAA-002,0.600,1.200,na,"
            b"X1234,|VMAGINS=-0.500|CMAGINS=0.000|KMAGINS=0.600|CREFMAG=12.000|KREFMAG=13.100\r\n"
            % (i, 2460600.3 + i * 0.0001) for i in range(MANY))
    return HEADER + b"".join(rows)


MANY_REPORT = many_stars()
CASES += [
    # Nothing is kept per star beyond its name and a slot: 64 bytes a row and 4 MiB hold.
    Case("transform: a star per row keeps within 64 bytes a row above 4 MiB",
         {"r.txt": MANY_REPORT, "tg.ini": INI}, b"",
         on_console(b"r.txt: %d observations: 0 transformed, %d written as they were\n"
                    b"wrote r-transformed.txt: %d observations\n"
                    b"transformed V: 0 of %d observations\n"
                    b"check star 000-AAA-002 V: %d observations, mean 12.600 (catalogue 13.100, "
                    b"difference -0.500), standard deviation 0.000\n" % ((MANY,) * 5)), 0,
         stderr=on_console(b"r.txt:8: warning: %d rows cannot be transformed: its filter has no "
                           b"partner filter (of its star, or of its GROUP) and no --colour gives "
                           b"the star's colour; they are written as they were\n" % MANY),
         after={"r-transformed.txt": MANY_REPORT},
         args=["transform", "--transform", "tg.ini", "r.txt"],
         memory_limit=(4 << 20) + 64 * MANY,
         skip={"wine": "wine needs more memory than the limit",
               "sanitized": "the sanitizers need more memory than the limit"}),
]
