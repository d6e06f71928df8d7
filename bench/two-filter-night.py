#!/usr/bin/env python3
"""Writes a night observed in several filters from known standard magnitudes:
per filter a folder (B/, V/, ...) with lightcurve.txt and VARISTELLAR-input.txt
as the photometry program and the observer write them, and tg.ini, the
transformation coefficients that turn the instrumental differences back into
those standard magnitudes. The same bytes for the same options.

    bench/two-filter-night.py OUTPUT [--filters B,V] [--count N] [--variant V]
                              [--cadence SECONDS] [--pause-every CYCLES]
                              [--colour-index INDEX] [--print-colour INDEX]
                              [--start HJD]

--filters is one of B,V  V,R  V,I  B,V,I  B,V,R,I, or one filter alone
(transformed with the colour index --colour-index, by default B-V for B and
V, V-R for R and V-I for I). Each cycle takes one exposure per filter in that
order, --cadence seconds apart (default 75, with a tenth of jitter); every
--pause-every cycles (default 40; 0 for none) the observer pauses for 3 to 12
minutes. A night lasts 8 hours; a longer series goes on the next night.
--count observations per filter (default 150). --start is the first
exposure's HJD (default 2460600.25, in October 2024); a series of thousands of
nights needs an earlier one, or its last nights lie in the future, and every
check of its report warns of them.

The target is a pulsating star whose colour follows its brightness; the
comparison and the check star are constant, the check star a whole magnitude
redder in B-V than the comparison, so that an untransformed check star is
visibly off its catalogue magnitude and a transformed one lands on it. Every
instrumental difference is the transformation inverted,
    x = (Xs - Xc) - T * ((Ys - Zs) - (Yc - Zc)),
plus Gaussian noise of the size the table writes as its error (s1 for V-C,
s3 for C1-K1 = -(the check star's x)).

--print-colour INDEX prints, after writing, the value of convert's --colour
option for that index: the target's mean colour over the night, the
comparison's and the check star's.
"""
import argparse
import math
import os
import random

START = 2460600.25000  # the first exposure's HJD
PERIOD = 0.5668  # the target's period, days
NIGHT_HOURS = 8.0
LATITUDE, DECLINATION = math.radians(45.0), math.radians(20.0)

OBSERVER, STAR, CHART = "ABCD", "RR LYR", "12345AB"
COMPARISON_ID, CHECK_ID = "000-AAA-001", "000-AAA-002"
PARAMETER_HEADERS = ["Observer parameters for the AAVSO report",
                     "line 5 code, 6 star, 7 comp, 8 comp mag",
                     "line 9 filter, 10 chart, 11 check, 12 check mag",
                     "----"]

# Standard magnitudes: V and the colours B-V, V-R, V-I. The catalogue writes
# three decimals, and the night is made from exactly those values.
COMPARISON = {"V": 12.345, "B-V": 0.550, "V-R": 0.330, "V-I": 0.660}
CHECK = {"V": 13.021, "B-V": 1.550, "V-R": 0.930, "V-I": 1.860}

# The coefficients and their errors, by the name the coefficient file gives them.
COEFFICIENTS = {
    "Tb_bv": (0.1181, 0.0103), "Tv_bv": (-0.0467, 0.0070),
    "Tv_vr": (-0.0710, 0.0082), "Tr_vr": (-0.0930, 0.0091),
    "Tv_vi": (-0.0385, 0.0064), "Ti_vi": (0.0421, 0.0088),
    "Tr_vi": (-0.0640, 0.0095),
}

# Which coefficient transforms which filter of a set, and with which colour index.
SETS = {
    ("B", "V"): {"B": "Tb_bv", "V": "Tv_bv"},
    ("V", "R"): {"V": "Tv_vr", "R": "Tr_vr"},
    ("V", "I"): {"V": "Tv_vi", "I": "Ti_vi"},
    ("B", "V", "I"): {"B": "Tb_bv", "V": "Tv_bv", "I": "Ti_vi"},
    ("B", "V", "R", "I"): {"B": "Tb_bv", "V": "Tv_bv", "R": "Tr_vi", "I": "Ti_vi"},
}
DEFAULT_INDEX = {"B": "B-V", "V": "B-V", "R": "V-R", "I": "V-I"}


def coefficient_name(filt, index):
    return "T%s_%s" % (filt.lower(), index.replace("-", "").lower())


def index_of(name):
    """Tr_vi -> V-I."""
    pair = name.split("_")[1].upper()
    return pair[0] + "-" + pair[1]


def magnitude(star, filt):
    """A star's standard magnitude in a filter, from its V and colours."""
    v = star["V"]
    return {"V": v, "B": v + star["B-V"], "R": v - star["V-R"], "I": v - star["V-I"]}[filt]


def colour(star, index):
    first, second = index.split("-")
    return magnitude(star, first) - magnitude(star, second)


def target_at(hjd):
    """The target's standard V and colours at a time: brighter is bluer."""
    phase = ((hjd - START) / PERIOD) % 1.0
    v = 11.90 - 0.30 * math.sin(2.0 * math.pi * phase) - 0.08 * math.sin(4.0 * math.pi * phase + 0.5)
    b_v = 0.45 + 0.40 * (v - 11.90)
    return {"V": v, "B-V": b_v, "V-R": 0.02 + 0.60 * b_v, "V-I": 0.03 + 1.15 * b_v}


def instrumental(star, filt, name):
    """x = (Xs - Xc) - T * D: what the camera measures of a star against the comparison."""
    index = index_of(name)
    return (magnitude(star, filt) - magnitude(COMPARISON, filt)
            - COEFFICIENTS[name][0] * (colour(star, index) - colour(COMPARISON, index)))


def sky_at(elapsed_hours):
    """The altitude (degrees) and airmass of the field some hours into a night."""
    hour_angle = math.radians(15.0 * (elapsed_hours - 3.5))
    sin_altitude = (math.sin(LATITUDE) * math.sin(DECLINATION)
                    + math.cos(LATITUDE) * math.cos(DECLINATION) * math.cos(hour_angle))
    altitude = math.degrees(math.asin(sin_altitude))
    return altitude, 1.0 / sin_altitude


def heliocentric_correction(hjd):
    """Days; it follows the year and hardly changes within a night."""
    return 0.0058 * math.cos(2.0 * math.pi * (hjd - 2460400.0) / 365.25)


def observation_times(count, filters, cadence, pause_every, noise, start=START):
    """(HJD, elapsed hours into its night, filter) of every exposure, in time order."""
    elapsed = 0.0  # seconds since the series began, counting only the nights' hours
    night_seconds = NIGHT_HOURS * 3600.0
    for cycle in range(count):
        if pause_every and cycle and cycle % pause_every == 0:
            elapsed += noise.uniform(180.0, 720.0)
        for filt in filters:
            night, into = divmod(elapsed, night_seconds)
            yield start + night + into / 86400.0, into / 3600.0, filt
            elapsed += cadence * noise.uniform(0.9, 1.1)


def error_of(mag, airmass, floor):
    """The photometric error of a star of this magnitude: larger when faint and low."""
    return floor * 10.0 ** (0.2 * (mag - 12.0)) * math.sqrt(airmass)


def table_line(hjd, altitude, airmass, filt, name, noise):
    target = target_at(hjd)
    s1 = error_of(magnitude(target, filt), airmass, 0.004)
    s3 = error_of(magnitude(CHECK, filt), airmass, 0.005)
    v_c = instrumental(target, filt, name) + noise.gauss(0.0, s1)
    c1_k1 = -(instrumental(CHECK, filt, name) + noise.gauss(0.0, s3))
    return "%.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f %.2f\r\n" % (
        hjd, v_c, s1, v_c + c1_k1, math.hypot(s1, s3), c1_k1, s3,
        heliocentric_correction(hjd), airmass, altitude)


def parameter_file(filt):
    lines = PARAMETER_HEADERS + [
        OBSERVER, STAR, COMPARISON_ID, "%.3f" % magnitude(COMPARISON, filt), filt, CHART,
        CHECK_ID, "%.3f" % magnitude(CHECK, filt)]
    return "".join(line + "\n" for line in lines)


def coefficient_file(names, variant):
    """The coefficient file, CR LF as the Windows tools write it; with each pair's
    colour coefficient (Tbv = 1 / (1 - Tb_bv + Tv_bv)), which convert does not need."""
    lines = ["[Setup]",
             "description= two-filter-night.py, variant %d: the coefficients the night was made with"
             % variant, "[Coefficients]"]
    for first, second in (("b", "v"), ("v", "r"), ("v", "i")):
        pair = "T%s_%s%s" % (first, first, second), "T%s_%s%s" % (second, first, second)
        if pair[0] in names and pair[1] in names:
            k = 1.0 - COEFFICIENTS[pair[0]][0] + COEFFICIENTS[pair[1]][0]
            lines.append("T%s%s= %.4f" % (first, second, 1.0 / k))
    lines += ["%s= %.4f" % (name, COEFFICIENTS[name][0]) for name in names]
    lines.append("[Error]")
    lines += ["%s= %.4f" % (name, COEFFICIENTS[name][1]) for name in names]
    return "".join(line + "\r\n" for line in lines)


def coefficients_for(filters, colour_index):
    """Filter -> coefficient name, in the filters' order."""
    if len(filters) == 1:
        filt = filters[0]
        name = coefficient_name(filt, colour_index or DEFAULT_INDEX[filt])
        if name not in COEFFICIENTS:
            raise SystemExit("two-filter-night.py: no coefficient %s for %s alone" % (name, filt))
        return {filt: name}
    if tuple(filters) not in SETS:
        raise SystemExit("two-filter-night.py: --filters must be one of %s, or one filter"
                         % ", ".join(",".join(s) for s in SETS))
    return SETS[tuple(filters)]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--filters", default="B,V")
    parser.add_argument("--count", type=int, default=150)
    parser.add_argument("--variant", type=int, default=1)
    parser.add_argument("--cadence", type=float, default=75.0)
    parser.add_argument("--pause-every", type=int, default=40)
    parser.add_argument("--colour-index", choices=("B-V", "V-R", "V-I"))
    parser.add_argument("--print-colour", choices=("B-V", "V-R", "V-I"))
    parser.add_argument("--start", type=float, default=START)
    options = parser.parse_args()

    filters = options.filters.upper().split(",")
    names = coefficients_for(filters, options.colour_index)
    noise = random.Random(options.variant)
    tables = {}
    for filt in filters:
        os.makedirs(os.path.join(options.output, filt), exist_ok=True)
        with open(os.path.join(options.output, filt, "VARISTELLAR-input.txt"), "w",
                  newline="") as parameters:
            parameters.write(parameter_file(filt))
        tables[filt] = open(os.path.join(options.output, filt, "lightcurve.txt"), "w", newline="")
        tables[filt].write("JDHEL V-C s1 V-K1 s2 C1-K1 s3 HELCOR AIRMASS ALTITUDE\r\n")
        tables[filt].write("Aperture: 1, Filter: %s, JD: heliocentric\r\n" % filt)
    with open(os.path.join(options.output, "tg.ini"), "w", newline="") as ini:
        ini.write(coefficient_file([names[f] for f in filters], options.variant))

    rows = {filt: [] for filt in filters}
    colour_sum = 0.0
    times = observation_times(options.count, filters, options.cadence, options.pause_every, noise,
                              options.start)
    for hjd, hours, filt in times:
        altitude, airmass = sky_at(hours)
        rows[filt].append(table_line(hjd, altitude, airmass, filt, names[filt], noise))
        if options.print_colour and filt == filters[0]:
            colour_sum += colour(target_at(hjd), options.print_colour)
        if len(rows[filt]) == 4096:
            tables[filt].write("".join(rows[filt]))
            rows[filt].clear()
    for filt in filters:
        tables[filt].write("".join(rows[filt]))
        tables[filt].close()
    if options.print_colour:
        index = options.print_colour
        print("%s=%.3f,%.3f,%.3f" % (index, colour_sum / max(options.count, 1),
                                     colour(COMPARISON, index), colour(CHECK, index)))


if __name__ == "__main__":
    main()
