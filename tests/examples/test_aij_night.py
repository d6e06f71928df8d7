"""The example nights of other photometry programs: each is what its command writes, convert
reads the AstroImageJ tables and the Siril light curve, and the report's magnitudes come back to
the ones the night was made from, within the noise.

    python3 tests/examples/test_aij_night.py --binary path/to/varistellar
"""
import argparse
import math
import os
import re
import runpy
import shutil
import statistics
import subprocess
import sys
import tempfile
import types
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
GENERATOR = os.path.join(ROOT, "bench", "aij-night.py")
AIJ = os.path.join(ROOT, "examples", "aij-night")
SIRIL = os.path.join(ROOT, "examples", "siril-night")
BINARY = None

night = types.SimpleNamespace(**runpy.run_path(GENERATOR))


def files_under(folder):
    found = {}
    for directory, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(directory, name)
            with open(path, "rb") as content:
                found[os.path.relpath(path, folder)] = content.read()
    return found


def readme_command(example):
    with open(os.path.join(example, "README.txt"), encoding="ascii") as readme:
        return re.search(r"`python3 (bench/aij-night\.py [^`]*)`", readme.read()).group(1).split()


def convert(*arguments):
    return subprocess.run([BINARY, "convert", *arguments], capture_output=True, cwd=ROOT)


def report_of(path):
    """(header lines, records split at commas) of a report."""
    with open(path, "rb") as report:
        lines = [line.decode("ascii") for line in report.read().split(b"\r\n") if line]
    header = [line for line in lines if line.startswith("#")]
    return header, [line.split(",") for line in lines if not line.startswith("#")]


def notes_of(record):
    """NOTES's subfields as a dictionary of numbers."""
    return {key: float(value) for key, value in re.findall(r"\|(\w+)=([-.\d]+)", record[14])}


def untransformed(filt, date, comparisons, airmass=1.0):
    """What convert makes of the target without noise: the ensemble's catalogue magnitude plus
    the target's instrumental difference against the ensemble's summed light."""
    target = night.target_at(date)
    star = {"V": target["V"], "B-V": target["B-V"]}
    reference = night.ensemble_magnitude([night.magnitude(c, filt) for c in comparisons])
    light = sum(night.counts(c, filt, airmass) for c in comparisons)
    return reference - 2.5 * math.log10(night.counts(star, filt, airmass) / light)


def in_units_of_merr(records, expected):
    """Each record's MAG against the expected one, in units of its own MERR."""
    return [(float(r[2]) - expected(r)) / float(r[3]) for r in records]


class Examples(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_each_example_is_what_its_command_writes(self):
        for example, name in ((AIJ, "aij-night"), (SIRIL, "siril-night")):
            with self.subTest(example=name):
                words = readme_command(example)
                self.assertEqual(words[1], "examples/" + name)
                written = os.path.join(self.work, name)
                subprocess.run([sys.executable, GENERATOR, written, *words[2:]], check=True)
                committed = files_under(example)
                del committed["README.txt"]
                self.assertEqual(files_under(written), committed)

    def test_the_aij_table_has_every_column_its_title_line_names(self):
        with open(os.path.join(AIJ, "V", night.TABLE_NAME), encoding="ascii", newline="") as table:
            lines = table.read().split("\n")
        self.assertEqual(lines.pop(), "")
        titles = lines[0].split("\t")
        self.assertEqual(titles[:8], ["", "Label", "slice", "J.D.-2400000", "JD_UTC", "HJD_UTC", "BJD_TDB",
                                      "AIRMASS"])
        for aperture in ("T1", "T2", "C3", "C7"):
            self.assertIn("Source-Sky_" + aperture, titles)
        self.assertNotIn("Source-Sky_C8", titles)
        self.assertEqual({len(line.split("\t")) for line in lines}, {len(titles)})
        self.assertEqual(len(lines), 201)


class AstroImageJNight(unittest.TestCase):
    comparisons = night.comparison_stars(5)

    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.report = os.path.join(self.work, "aavso.txt")

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_each_filter_is_its_untransformed_magnitudes(self):
        for filt in ("B", "V"):
            with self.subTest(filter=filt):
                done = convert("--report", self.report, os.path.join(AIJ, filt))
                self.assertEqual(done.returncode, 0, done.stderr)
                header, records = report_of(self.report)
                # Untransformed, the check star sits off its catalogue magnitude by the colour
                # term (0.11 too bright in B): beyond 0.10, convert warns of it, and of nothing else.
                away = statistics.mean(float(r[10]) for r in records) - float(notes_of(records[0])["KREFMAG"])
                warned = re.fullmatch(rb".*: warning: quality: check star 000-AAA-002 %s is (\d\.\d\d) "
                                      rb"brighter than its catalogue magnitude \d+\.\d{3}: is it the right "
                                      rb"star, the right catalogue magnitude and the right filter\?\n"
                                      % filt.encode(), done.stderr)
                if abs(away) > 0.10:
                    self.assertTrue(warned, done.stderr)
                    self.assertAlmostEqual(float(warned.group(1)), -away, delta=0.006)
                else:
                    self.assertEqual(done.stderr, b"")
                self.assertIn("#SOFTWARE=AstroImageJ via VARISTELLAR", header[2])
                self.assertEqual(header[4], "#DATE=HJD")
                self.assertEqual(len(records), 200)
                record = records[0]
                self.assertEqual(record[4:9], [filt, "NO", "STD", "ENSEMBLE", "na"])
                self.assertEqual(record[9], "000-AAA-002")
                units = in_units_of_merr(records, lambda r: untransformed(filt, float(r[1]), self.comparisons))
                self.assertLess(abs(statistics.mean(units)), 0.25)
                self.assertLess(statistics.stdev(units), 1.3)
                self.assertGreater(statistics.stdev(units), 0.7)

    def test_every_record_carries_the_ensembles_subfields(self):
        done = convert("--report", self.report, os.path.join(AIJ, "V"))
        self.assertEqual((done.returncode, done.stderr), (0, b""))
        _, records = report_of(self.report)
        reference = night.ensemble_magnitude([night.magnitude(c, "V") for c in self.comparisons])
        for record in records:
            notes = notes_of(record)
            self.assertEqual(list(notes), ["VMAGINS", "CMAGINS", "KMAGINS", "CREFMAG", "KREFMAG"])
            self.assertEqual(notes["CMAGINS"], 0.0)
            self.assertAlmostEqual(notes["CREFMAG"], reference, delta=0.0006)
            self.assertEqual(notes["KREFMAG"], 13.021)
            self.assertAlmostEqual(notes["CREFMAG"] + notes["VMAGINS"], float(record[2]), delta=0.0016)
            self.assertAlmostEqual(notes["CREFMAG"] + notes["KMAGINS"], float(record[10]), delta=0.0016)

    def test_comparison_lines_make_the_ensemble_of_those_stars(self):
        chosen = {"C3": 0, "C5": 2, "C6": 3}
        folder = os.path.join(self.work, "V")
        shutil.copytree(os.path.join(AIJ, "V"), folder)
        with open(os.path.join(folder, "VARISTELLAR-input.txt"), "a", encoding="ascii") as parameters:
            parameters.write("# the ensemble, from the chart\n")
            for aperture, index in chosen.items():
                parameters.write("comparison %s %.3f\n" % (aperture, self.comparisons[index]["V"]))
        done = convert("--report", self.report, folder)
        self.assertEqual(done.returncode, 0, done.stderr)
        stars = [self.comparisons[i] for i in chosen.values()]
        # The table's own reference is all five stars': a warning names both values.
        warnings = [line for line in done.stderr.split(b"\n") if b": warning: " in line]
        self.assertEqual(len(warnings), 1, done.stderr)
        for ensemble in (stars, self.comparisons):
            value = "%.3f" % night.ensemble_magnitude([s["V"] for s in ensemble])
            self.assertIn(value.encode(), warnings[0])
        _, records = report_of(self.report)
        self.assertAlmostEqual(notes_of(records[0])["CREFMAG"],
                               night.ensemble_magnitude([s["V"] for s in stars]), delta=0.0006)
        units = in_units_of_merr(records, lambda r: untransformed("V", float(r[1]), stars))
        self.assertLess(abs(statistics.mean(units)), 0.25)
        self.assertLess(statistics.stdev(units), 1.3)

    def test_transformed_the_target_is_its_true_light_curve(self):
        done = convert("--check-star", "--transform", os.path.join(AIJ, "tg.ini"), "--report", self.report,
                       os.path.join(AIJ, "B"), os.path.join(AIJ, "V"))
        self.assertEqual((done.returncode, done.stderr), (0, b""))
        _, records = report_of(self.report)
        self.assertEqual(len(records), 400)
        self.assertTrue(all(r[5] == "YES" for r in records))
        for filt in ("B", "V"):
            with self.subTest(filter=filt):
                mine = [r for r in records if r[4] == filt]
                units = in_units_of_merr(mine, lambda r: night.magnitude(night.target_at(float(r[1])), filt))
                # The partner filter's noise comes in through the colour: a little wider than MERR.
                self.assertLess(abs(statistics.mean(units)), 0.3)
                self.assertLess(statistics.stdev(units), 1.6)
        transformed = re.findall(rb"^check star 000-AAA-002 ([BV]) transformed: .*difference ([-+][.\d]+)\)",
                                 done.stdout, re.MULTILINE)
        self.assertEqual([f for f, _ in transformed], [b"B", b"V"])
        for _, difference in transformed:
            self.assertLess(abs(float(difference)), 0.006)

    def test_a_long_table_of_many_comparison_stars(self):
        subprocess.run([sys.executable, GENERATOR, self.work, "--filters", "V", "--rows", "300",
                        "--comparisons", "20", "--variant", "3"], check=True)
        with open(os.path.join(self.work, "V", night.TABLE_NAME), encoding="ascii") as table:
            columns = len(table.readline().split("\t"))
        self.assertGreater(columns, 140)
        done = convert("--report", self.report, os.path.join(self.work, "V"))
        self.assertEqual((done.returncode, done.stderr), (0, b""))
        _, records = report_of(self.report)
        self.assertEqual(len(records), 300)
        comparisons = night.comparison_stars(20)
        units = in_units_of_merr(records, lambda r: untransformed("V", float(r[1]), comparisons))
        self.assertLess(abs(statistics.mean(units)), 0.25)
        self.assertLess(statistics.stdev(units), 1.3)


    def test_one_comparison_star_is_named_as_in_a_magnivex_night(self):
        subprocess.run([sys.executable, GENERATOR, self.work, "--filters", "V", "--comparisons", "1"], check=True)
        done = convert("--check-star", "--report", self.report, os.path.join(self.work, "V"))
        self.assertEqual((done.returncode, done.stderr), (0, b""))
        _, records = report_of(self.report)
        self.assertEqual({tuple(r[7:9]) for r in records}, {("000-AAA-001", "0.000")})
        self.assertEqual(list(notes_of(records[0])), ["VMAGINS", "CMAGINS", "KMAGINS", "CREFMAG", "KREFMAG"])
        comparisons = night.comparison_stars(1)
        units = in_units_of_merr(records, lambda r: untransformed("V", float(r[1]), comparisons))
        self.assertLess(abs(statistics.mean(units)), 0.25)
        self.assertLess(statistics.stdev(units), 1.3)


    def spoil_comparison(self, aperture, factor):
        """The V table with `aperture`'s counts multiplied by factor(row)."""
        subprocess.run([sys.executable, GENERATOR, self.work, "--filters", "V"], check=True)
        path = os.path.join(self.work, "V", night.TABLE_NAME)
        with open(path, encoding="ascii", newline="") as table:
            lines = table.read().split("\n")
        column = lines[0].split("\t").index("Source-Sky_" + aperture)
        for row in range(1, len(lines)):
            fields = lines[row].split("\t")
            if len(fields) > column:
                fields[column] = "%.4f" % (float(fields[column]) * factor(row))
                lines[row] = "\t".join(fields)
        with open(path, "w", encoding="ascii", newline="") as table:
            table.write("\n".join(lines))

    def quality_of_comparisons(self, *extra):
        done = convert("--report", self.report, *extra, os.path.join(self.work, "V"))
        self.assertEqual(done.returncode, 0, done.stderr)
        return [line for line in done.stderr.decode().splitlines() if "comparison star" in line]

    def test_a_comparison_star_off_its_catalogue_magnitude_is_named(self):
        self.spoil_comparison("C5", lambda row: 0.85)  # 0.18 fainter than the others say
        warnings = self.quality_of_comparisons()
        self.assertEqual(len(warnings), 1, warnings)
        self.assertRegex(warnings[0], r"quality: comparison star C5 measures 0\.1\d fainter than "
                         r"its catalogue magnitude \d+\.\d{3} against the others: a variable or "
                         r"misidentified star\? Leave it out with comparison lines$")

    def test_a_comparison_star_that_scatters_is_named_and_drawn(self):
        self.spoil_comparison("C6", lambda row: 1.0 + 0.05 * (-1) ** row)
        picture = os.path.join(self.work, "night.svg")
        warnings = self.quality_of_comparisons("--plot", picture)
        self.assertEqual(len(warnings), 1, warnings)
        self.assertIn("quality: comparison star C6 scatters 0.0", warnings[0])
        with open(picture, encoding="utf-8") as drawn:
            svg = drawn.read()
        for aperture in ("C3", "C4", "C5", "C6", "C7"):
            self.assertIn(">%s<" % aperture, svg)

    def test_a_sound_ensemble_draws_no_comparison_warning(self):
        subprocess.run([sys.executable, GENERATOR, self.work, "--filters", "V"], check=True)
        self.assertEqual(self.quality_of_comparisons(), [])

    def test_images_where_a_cloud_hid_the_target_are_dropped_and_counted(self):
        subprocess.run([sys.executable, GENERATOR, self.work, "--filters", "V", "--lost", "3"], check=True)
        done = convert("--report", self.report, os.path.join(self.work, "V"))
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn(b": 200 observation lines: 197 written, 3 dropped (a needed value NaN", done.stdout)
        warnings = done.stderr.decode().splitlines()
        self.assertEqual(len(warnings), 1, warnings)
        self.assertIn(os.path.join("V", night.TABLE_NAME) + ":51: warning: ", warnings[0])
        _, records = report_of(self.report)
        self.assertEqual(len(records), 197)


class SirilNight(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()
        self.report = os.path.join(self.work, "aavso.txt")

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_the_light_curve_is_its_untransformed_magnitudes(self):
        done = convert("--report", self.report, SIRIL)
        self.assertEqual((done.returncode, done.stderr), (0, b""))
        header, records = report_of(self.report)
        self.assertIn("#SOFTWARE=Siril via VARISTELLAR", header[2])
        self.assertEqual(header[4], "#DATE=JD")
        self.assertEqual(len(records), 200)
        comparisons = night.comparison_stars(5)
        for record in records:
            self.assertEqual(record[4:12], ["V", "NO", "STD", "ENSEMBLE", "na", "na", "na", "na"])
            self.assertEqual(record[13], "12345AB")  # the chart the table names
            notes = notes_of(record)
            self.assertEqual(list(notes), ["VMAGINS", "CMAGINS", "CREFMAG"])
            self.assertAlmostEqual(notes["CREFMAG"] + notes["VMAGINS"], float(record[2]), delta=0.0016)

        def expected(record):  # the table's JD, the light curve's HJD
            jd = float(record[1])
            return untransformed("V", jd + night.heliocentric_correction(jd), comparisons)

        units = in_units_of_merr(records, expected)
        self.assertLess(abs(statistics.mean(units)), 0.25)
        self.assertLess(statistics.stdev(units), 1.3)
        self.assertGreater(statistics.stdev(units), 0.7)

    def test_the_check_star_cannot_be_asked_for(self):
        done = convert("--check-star", "--report", self.report, SIRIL)
        self.assertEqual(done.returncode, 1)
        self.assertIn(b"error", done.stderr)
        self.assertFalse(os.path.exists(self.report))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    options, rest = parser.parse_known_args()
    BINARY = os.path.abspath(options.binary)
    unittest.main(argv=[sys.argv[0], *rest])
