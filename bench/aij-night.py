#!/usr/bin/env python3
"""Writes a night measured by another photometry program from known standard
magnitudes: an AstroImageJ measurement table per filter, or a Siril light
curve, each in a folder with the observer's VARISTELLAR-input.txt. The same
bytes for the same options.

    bench/aij-night.py OUTPUT [--format aij|siril] [--filters B,V] [--rows N]
                              [--comparisons N] [--variant V] [--cadence SECONDS]
                              [--lost N]

aij (the default): OUTPUT/B/ and OUTPUT/V/ (one folder per filter of --filters,
B,V or V alone) each with Measurements.xls, a multi-aperture run's table, TAB
separated: a blank title over the row numbers, Label, slice, the times, AIRMASS,
per aperture the counts, errors, entered and derived magnitudes, sky and
position, FWHM_T1, then rel_flux_T1, rel_flux_T2 and tot_C_cnts. Aperture T1 is the
target, T2 the check star, C3 up the --comparisons (default 5) comparison
stars, whose catalogue magnitudes were entered, so the table carries
Source_AMag. The parameter file names ENSEMBLE on line 7 (with one comparison
star, that star and its magnitude on line 8) and the check star on line 11; OUTPUT/tg.ini holds the coefficients the night was made with.

siril: OUTPUT/light_curve.dat (V only; the target against the mean flux of the
comparison stars, `# JD_UT V-C err`, the AAVSO chart in a `#` line) and its
parameter file, whose chart line is left empty so the table's chart is taken.

--lost N: in N images per filter, spread over the night, a cloud hides the
target, and AstroImageJ writes NaN for its measurements (default 0).

--rows observations per filter (default 200), one exposure per filter in turn,
--cadence seconds apart (default 60). The target is the pulsating star of
two-filter-night.py, with its colour terms: a star's counts are
10^(-0.4 (M - T * (B-V) + k * X - Z)) for its standard magnitude M, the
filter's coefficient T, extinction k at airmass X and zero point Z, plus
Gaussian noise of the star's photon and sky noise. The comparison stars'
catalogue magnitudes are written with three decimals, and the night is made
from exactly those values.
"""
import argparse
import math
import os
import random
import runpy

HERE = os.path.dirname(os.path.abspath(__file__))
two = runpy.run_path(os.path.join(HERE, "two-filter-night.py"))
target_at, sky_at = two["target_at"], two["sky_at"]
heliocentric_correction, observation_times = two["heliocentric_correction"], two["observation_times"]
COEFFICIENTS, coefficient_file = two["COEFFICIENTS"], two["coefficient_file"]
OBSERVER, STAR, CHART = two["OBSERVER"], two["STAR"], two["CHART"]
PARAMETER_HEADERS, CHECK_ID = two["PARAMETER_HEADERS"], two["CHECK_ID"]
COMPARISON_ID = two["COMPARISON_ID"]

TABLE_NAME, SIRIL_NAME = "Measurements.xls", "light_curve.dat"
NAMES = {"B": "Tb_bv", "V": "Tv_bv"}
EXTINCTION = {"B": 0.32, "V": 0.19}  # magnitudes per airmass
ZERO_POINT = {"B": 24.6, "V": 25.1}  # the magnitude that gives one electron
SKY_PER_PIXEL, APERTURE_PIXELS, READ_NOISE = 180.0, 113.0, 9.0
TT_MINUS_UTC = 69.184 / 86400.0

# The check star, a magnitude redder in B-V than the comparison stars.
CHECK = {"V": 13.021, "B-V": 1.550}
# The first five comparison stars; more are made from a seeded draw.
COMPARISONS = [
    {"V": 12.345, "B-V": 0.550}, {"V": 11.872, "B-V": 0.612}, {"V": 12.904, "B-V": 0.487},
    {"V": 12.517, "B-V": 0.701}, {"V": 11.658, "B-V": 0.593},
]


def magnitude(star, filt):
    return star["V"] + (star["B-V"] if filt == "B" else 0.0)


def comparison_stars(count):
    stars = list(COMPARISONS[:count])
    draw = random.Random(count)
    while len(stars) < count:
        stars.append({"V": round(draw.uniform(11.3, 13.2), 3), "B-V": round(draw.uniform(0.40, 0.80), 3)})
    return stars


def ensemble_magnitude(magnitudes):
    """The catalogue magnitude of the stars' summed light."""
    return -2.5 * math.log10(sum(10.0 ** (-0.4 * m) for m in magnitudes))


def counts(star, filt, airmass):
    """Electrons the star gives in one exposure, before noise."""
    colour_term = COEFFICIENTS[NAMES[filt]][0] * star["B-V"]
    return 10.0 ** (-0.4 * (magnitude(star, filt) - colour_term + EXTINCTION[filt] * airmass - ZERO_POINT[filt]))


def measured(star, filt, airmass, noise):
    """(net counts, their error): photon noise of the star and of the sky in the aperture."""
    flux = counts(star, filt, airmass)
    error = math.sqrt(flux + APERTURE_PIXELS * (SKY_PER_PIXEL * airmass + READ_NOISE ** 2))
    return flux + noise.gauss(0.0, error), error


def titles(apertures):
    row = ["", "Label", "slice", "J.D.-2400000", "JD_UTC", "HJD_UTC", "BJD_TDB", "AIRMASS", "FWHM_Mean"]
    # Per aperture in one sequence, as the multi-aperture run writes them; rel_flux and tot_C last.
    for name in apertures:
        row += ["X(IJ)_" + name, "Source-Sky_" + name, "Source_Error_" + name, "Source_AMag_" + name,
                "Source_AMag_Err_" + name, "Sky/Pixel_" + name]
    return row + ["FWHM_T1", "rel_flux_T1", "rel_flux_err_T1", "rel_flux_T2", "rel_flux_err_T2", "tot_C_cnts",
                  "tot_C_err"]


def table_row(number, hjd, hours, filt, comparisons, noise, lost=False):
    """One image's row of the table; a lost target's measurements are NaN."""
    altitude, airmass = sky_at(hours)
    jd = hjd - heliocentric_correction(hjd)
    target = target_at(hjd)
    stars = [{"V": target["V"], "B-V": target["B-V"]}, CHECK] + comparisons
    measures = [measured(star, filt, airmass, noise) for star in stars]
    total = sum(f for f, _ in measures[2:])
    total_error = math.sqrt(sum(e * e for _, e in measures[2:]))
    reference = ensemble_magnitude([magnitude(c, filt) for c in comparisons])
    fwhm = 3.1 * airmass ** 0.6 + noise.uniform(-0.2, 0.2)
    cells = ["%d" % number, "RR_Lyr_%s_%04d.fits" % (filt, number), "%d" % number, "%.6f" % (jd - 2400000.0),
             "%.6f" % jd, "%.6f" % hjd, "%.6f" % (hjd + TT_MINUS_UTC), "%.6f" % airmass, "%.4f" % fwhm]
    relative = []
    for index, (flux, error) in enumerate(measures):
        if index < 2:
            ratio = flux / total
            ratio_error = ratio * math.hypot(error / flux, total_error / total)
            relative += [ratio, ratio_error]
            amag = reference - 2.5 * math.log10(ratio)
            amag_error = 2.5 * math.log10(1.0 + ratio_error / ratio)
        else:
            amag = magnitude(comparisons[index - 2], filt)
            amag_error = 2.5 * math.log10(1.0 + error / flux)
        cells += ["%.9f" % (512.0 + 97.3 * index + noise.uniform(-0.5, 0.5)), "%.9f" % flux, "%.9f" % error,
                  "%.6f" % amag, "%.6f" % amag_error, "%.9f" % (SKY_PER_PIXEL * airmass + noise.gauss(0.0, 2.0))]
    cells += ["%.4f" % (fwhm + noise.uniform(-0.1, 0.1))]
    cells += ["%.9f" % r for r in relative] + ["%.6f" % total, "%.6f" % total_error]
    if lost:  # Source-Sky_T1 to Source_AMag_Err_T1, rel_flux_T1 and its error
        for index in (10, 11, 12, 13, -6, -5):
            cells[index] = "NaN"
    return "\t".join(cells) + "\n"


def parameter_file(filt, comparison_line, magnitude_line, chart, check):
    lines = PARAMETER_HEADERS + [OBSERVER, STAR, comparison_line, magnitude_line, filt, chart]
    lines += [CHECK_ID, "%.3f" % magnitude(CHECK, filt)] if check else ["", ""]
    return "".join(line + "\n" for line in lines)


def comparison_lines(comparisons, filt, reference):
    """Lines 7 and 8: the ensemble, or the one comparison star and its magnitude."""
    if len(comparisons) > 1:
        return "ENSEMBLE", reference
    return COMPARISON_ID, "%.3f" % magnitude(comparisons[0], filt)


def write(path, text):
    with open(path, "w", newline="", encoding="ascii") as out:
        out.write(text)


def write_aij(options, filters, comparisons):
    apertures = ["T1", "T2"] + ["C%d" % (3 + i) for i in range(len(comparisons))]
    tables = {}
    for filt in filters:
        folder = os.path.join(options.output, filt)
        os.makedirs(folder, exist_ok=True)
        name, value = comparison_lines(comparisons, filt, "na")
        write(os.path.join(folder, "VARISTELLAR-input.txt"), parameter_file(filt, name, value, CHART, True))
        tables[filt] = open(os.path.join(folder, TABLE_NAME), "w", newline="", encoding="ascii")
        tables[filt].write("\t".join(titles(apertures)) + "\n")
    if filters == ["B", "V"]:
        write(os.path.join(options.output, "tg.ini"), coefficient_file(["Tb_bv", "Tv_bv"], options.variant))
    noise = random.Random(options.variant)
    rows = {filt: [] for filt in filters}
    numbers = {filt: 0 for filt in filters}
    lost = {(n + 1) * options.rows // (options.lost + 1) for n in range(options.lost)}
    for hjd, hours, filt in observation_times(options.rows, filters, options.cadence, 40, noise):
        numbers[filt] += 1
        rows[filt].append(table_row(numbers[filt], hjd, hours, filt, comparisons, noise, numbers[filt] in lost))
        if len(rows[filt]) == 1024:
            tables[filt].write("".join(rows[filt]))
            rows[filt].clear()
    for filt in filters:
        tables[filt].write("".join(rows[filt]))
        tables[filt].close()


def write_siril(options, comparisons):
    """V against the mean flux of the comparison stars, as Siril measures it."""
    noise = random.Random(options.variant)
    reference = ensemble_magnitude([magnitude(c, "V") for c in comparisons]) + 2.5 * math.log10(len(comparisons))
    os.makedirs(options.output, exist_ok=True)
    name, value = comparison_lines(comparisons, "V", "%.3f" % reference)
    write(os.path.join(options.output, "VARISTELLAR-input.txt"), parameter_file("V", name, value, "", False))
    lines = ["# Siril light curve of %s, %d comparison stars from the AAVSO chart %s\n"
             % (STAR, len(comparisons), CHART), "# JD_UT V-C err\n"]
    for hjd, hours, _ in observation_times(options.rows, ["V"], options.cadence, 40, noise):
        _, airmass = sky_at(hours)
        target = target_at(hjd)
        flux, error = measured({"V": target["V"], "B-V": target["B-V"]}, "V", airmass, noise)
        mean = sum(measured(c, "V", airmass, noise)[0] for c in comparisons) / len(comparisons)
        lines.append("%.6f %.6f %.6f\n" % (hjd - heliocentric_correction(hjd), -2.5 * math.log10(flux / mean),
                                           2.5 * math.log10(1.0 + error / flux)))
    write(os.path.join(options.output, SIRIL_NAME), "".join(lines))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("output")
    parser.add_argument("--format", choices=("aij", "siril"), default="aij")
    parser.add_argument("--filters", choices=("B,V", "V"), default="B,V")
    parser.add_argument("--rows", type=int, default=200)
    parser.add_argument("--comparisons", type=int, default=5)
    parser.add_argument("--variant", type=int, default=1)
    parser.add_argument("--cadence", type=float, default=60.0)
    parser.add_argument("--lost", type=int, default=0)
    options = parser.parse_args()
    if options.comparisons < 1:
        raise SystemExit("aij-night.py: --comparisons must be at least 1")
    comparisons = comparison_stars(options.comparisons)
    if options.format == "siril":
        write_siril(options, comparisons)
    else:
        write_aij(options, options.filters.split(","), comparisons)


if __name__ == "__main__":
    main()
