"""The generated nights of several filters: the example is what its command writes, convert
reads every filter's folder, and the transformation of the instrumental differences gives back
the standard magnitudes they were made from.

    python3 tests/examples/test_two_filter_night.py --binary path/to/varistellar
"""
import argparse
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
EXAMPLE = os.path.join(ROOT, "examples", "two-filter-night")
GENERATOR = os.path.join(ROOT, "bench", "two-filter-night.py")
BINARY = None

# The generator's own model of the night, read from its file.
night = types.SimpleNamespace(**runpy.run_path(GENERATOR))


def generate(folder, *args):
    subprocess.run([sys.executable, GENERATOR, folder, *args], check=True)


def table(folder):
    """(JDHEL, V-C, s1, the check star's x = -(C1-K1)) of every observation line."""
    with open(os.path.join(folder, "lightcurve.txt"), "rb") as lines:
        rows = [line.split() for line in lines.read().split(b"\r\n")[2:] if line]
    for row in rows:
        assert len(row) == 10, row
    return [(float(r[0]), float(r[1]), float(r[2]), -float(r[5])) for r in rows]


def files_under(folder):
    found = {}
    for directory, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(directory, name)
            with open(path, "rb") as content:
                found[os.path.relpath(path, folder)] = content.read()
    return found


def interpolated(rows, column, at):
    """The column's value at a time, linear between the two rows around it."""
    for before, after in zip(rows, rows[1:]):
        if before[0] <= at <= after[0]:
            w = (at - before[0]) / (after[0] - before[0])
            return (1.0 - w) * before[column] + w * after[column]
    return min(rows, key=lambda row: abs(row[0] - at))[column]


def check_star_lines(stdout):
    """Filter (or None) -> the check-star line's difference from the catalogue."""
    found = {}
    for match in re.finditer(rb"^check star 000-AAA-002( [A-Z]+)?: .*difference ([-+]\d\.\d{3})\)",
                             stdout, re.MULTILINE):
        found[match.group(1).strip().decode() if match.group(1) else None] = float(match.group(2))
    return found


QUALITY = re.compile(rb"^.*: warning: quality: check star 000-AAA-002 ([A-Z]+) is (\d+\.\d\d) "
                     rb"(brighter|fainter) than its catalogue magnitude \d+\.\d{3}: is it the right "
                     rb"star, the right catalogue magnitude and the right filter\?$")


def colour_warnings(stderr):
    """Filter -> the signed difference of convert's quality warnings of a check star away from
    its catalogue magnitude: untransformed, the colour term puts it there. Any other line of
    standard error fails."""
    found = {}
    for line in stderr.splitlines():
        match = QUALITY.match(line)
        assert match, line
        size = float(match.group(2))
        found[match.group(1).decode()] = -size if match.group(3) == b"brighter" else size
    return found


def expect_colour_warnings(test, done, differences, filt=None):
    """The warnings of `done` are those of the check-star lines' differences beyond 0.10."""
    test.assertEqual(done.returncode, 0, done.stderr)
    expected = {f: round(d, 2) for f, d in differences.items() if abs(d) > 0.10}
    warned = colour_warnings(done.stderr)
    if filt is not None:
        # One folder's line names no filter.
        expected = {filt: difference for difference in expected.values()}
    test.assertEqual(warned, expected, done.stderr)


def coefficient(name):
    return night.COEFFICIENTS[name][0]


class ExampleNight(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.work)

    def test_the_example_is_what_its_command_writes(self):
        with open(os.path.join(EXAMPLE, "README.txt"), encoding="ascii") as readme:
            command = re.search(r"`python3 (bench/two-filter-night\.py [^`]*)`", readme.read()).group(1)
        words = command.split()
        self.assertEqual(words[1], "examples/two-filter-night")
        generate(self.work, *words[2:])
        written = files_under(self.work)
        committed = files_under(EXAMPLE)
        del committed["README.txt"]
        self.assertEqual(sorted(written), sorted(committed))
        for name, content in committed.items():
            self.assertEqual(written[name], content, name)

    def test_convert_reads_each_filter_folder(self):
        for filt in ("B", "V"):
            folder = os.path.join(self.work, filt)
            shutil.copytree(os.path.join(EXAMPLE, filt), folder)
            done = subprocess.run([BINARY, "convert", "--check-star", folder], capture_output=True)
            # B's check star lands 0.12 too bright untransformed, which convert warns of.
            expect_colour_warnings(self, done, check_star_lines(done.stdout), filt)
            self.assertIn(b": 150 observation lines: 150 written, 0 dropped", done.stdout)
            with open(os.path.join(folder, "lightcurve-aavso.txt"), "rb") as report:
                records = [r for r in report.read().split(b"\r\n") if r and not r.startswith(b"#")]
            self.assertEqual(len(records), 150)
            self.assertTrue(all(b",%s,NO,STD," % filt.encode() in r for r in records))

    def test_untransformed_the_check_star_is_off_by_the_colour_term(self):
        report = os.path.join(self.work, "two.txt")
        done = subprocess.run([BINARY, "convert", "--check-star", "--report", report,
                               os.path.join(EXAMPLE, "B"), os.path.join(EXAMPLE, "V")],
                              capture_output=True)
        differences = check_star_lines(done.stdout)
        expect_colour_warnings(self, done, differences)
        colour_difference = night.CHECK["B-V"] - night.COMPARISON["B-V"]
        self.assertAlmostEqual(differences["B"], -coefficient("Tb_bv") * colour_difference, delta=0.006)
        self.assertAlmostEqual(differences["V"], -coefficient("Tv_bv") * colour_difference, delta=0.006)

    def test_transformed_the_target_is_its_true_light_curve(self):
        b, v = table(os.path.join(EXAMPLE, "B")), table(os.path.join(EXAMPLE, "V"))
        tb, tv = coefficient("Tb_bv"), coefficient("Tv_bv")
        k = 1.0 - tb + tv
        for rows, partner, filt, t, sign in ((b, v, "B", tb, 1.0), (v, b, "V", tv, -1.0)):
            residuals = []
            for date, x, s1, _ in rows:
                y = interpolated(partner, 1, date)
                d = sign * (x - y) / k
                transformed = night.magnitude(night.COMPARISON, filt) + x + t * d
                residuals.append((transformed - night.magnitude(night.target_at(date), filt)) / s1)
            # Each residual in units of its own s1: the pair's noise makes them a little wider.
            self.assertLess(abs(statistics.mean(residuals)), 0.3, filt)
            self.assertLess(statistics.stdev(residuals), 1.6, filt)
            self.assertGreater(statistics.stdev(residuals), 0.8, filt)

    def test_the_observers_command_puts_the_check_star_on_its_catalogue_value(self):
        usage = subprocess.run([BINARY, "--help"], capture_output=True).stdout
        if b"--transform" not in usage:
            self.skipTest("this varistellar does not transform")
        done = subprocess.run([BINARY, "convert", "--transform", "examples/two-filter-night/tg.ini",
                               "--check-star", "--report", os.path.join(self.work, "aavso.txt"),
                               "examples/two-filter-night/B", "examples/two-filter-night/V"],
                              capture_output=True, cwd=ROOT)
        self.assertEqual(done.returncode, 0, done.stderr)
        transformed = re.findall(rb"^check star 000-AAA-002 ([BV]) transformed: .*difference ([-+][.\d]+)\)",
                                 done.stdout, re.MULTILINE)
        self.assertEqual([f for f, _ in transformed], [b"B", b"V"])
        for _, difference in transformed:
            self.assertLess(abs(float(difference)), 0.006)


def records_of(path):
    with open(path, "rb") as report:
        return [r.split(b",") for r in report.read().split(b"\r\n") if r and not r.startswith(b"#")]


class ScatterErrors(unittest.TestCase):
    """--merr check-scatter on the transformed night: with a window wider than either filter's
    night, each filter's scatter is its transformed check star's deviation, which the summary
    prints, added in quadrature to each transformed error."""

    def test_each_transformed_error_widened_by_its_filters_transformed_deviation(self):
        work = tempfile.mkdtemp()
        try:
            runs = {}
            for method in ("table", "check-scatter:301"):
                report = os.path.join(work, method.replace(":", "-") + ".txt")
                done = subprocess.run([BINARY, "convert", "--transform", "tg.ini", "--check-star",
                                       "--merr", method, "--report", report, "B", "V"],
                                      capture_output=True, cwd=EXAMPLE)
                self.assertEqual((done.returncode, done.stderr), (0, b""), method)
                runs[method] = (records_of(report), done.stdout)
            table, _ = runs["table"]
            scattered, stdout = runs["check-scatter:301"]
            deviations = {m.group(1): float(m.group(2)) for m in re.finditer(
                rb"^check star 000-AAA-002 ([BV]) transformed: .*standard deviation (\d\.\d{3})$",
                stdout, re.MULTILINE)}
            self.assertEqual(sorted(deviations), [b"B", b"V"])
            self.assertEqual(len(table), len(scattered))
            for plain, widened in zip(table, scattered):
                self.assertEqual(plain[:3] + plain[4:14], widened[:3] + widened[4:14])
                self.assertTrue(widened[14].endswith(b"|MERRSRC=KC301"), widened[14])
                self.assertEqual(plain[14] + b"|MERRSRC=KC301", widened[14])
                expected = (float(plain[3]) ** 2 + deviations[widened[4]] ** 2) ** 0.5
                # Both errors and the deviation are rounded to 0.001 before this sum.
                self.assertAlmostEqual(float(widened[3]), expected, delta=0.0012)
        finally:
            shutil.rmtree(work)


class OtherFilterSets(unittest.TestCase):
    """Every set the generator writes: convert reads each folder, and the check star's mean
    instrumental differences, transformed, give its catalogue magnitudes (the equations are
    linear, so the means transform as the observations do)."""

    SETS = ["B,V", "V,R", "V,I", "B,V,I", "B,V,R,I", "V", "R"]

    def test_each_set(self):
        for filters in self.SETS:
            with self.subTest(filters=filters):
                work = tempfile.mkdtemp()
                try:
                    generate(work, "--filters", filters, "--count", "400", "--variant", "7")
                    means = {}
                    for filt in filters.split(","):
                        folder = os.path.join(work, filt)
                        done = subprocess.run([BINARY, "convert", "--quiet", "--check-star", folder],
                                              capture_output=True)
                        # Untransformed, a colour term can put the check star more than
                        # 0.10 away: the only warning there may be.
                        self.assertEqual(done.returncode, 0, done.stderr)
                        self.assertLessEqual(set(colour_warnings(done.stderr)), {filt})
                        means[filt] = statistics.mean(row[3] for row in table(folder))
                    with open(os.path.join(work, "tg.ini"), encoding="ascii", newline="") as ini:
                        text = ini.read()
                    self.assertTrue(text.endswith("\r\n"))
                    for filt, magnitude in self.transform(filters.split(","), means).items():
                        self.assertAlmostEqual(magnitude, night.magnitude(night.CHECK, filt),
                                               delta=0.004, msg=filt)
                finally:
                    shutil.rmtree(work)

    @staticmethod
    def transform(filters, x):
        c = night.COMPARISON
        if len(filters) == 1:
            filt = filters[0]
            index = night.DEFAULT_INDEX[filt]
            t = coefficient(night.coefficient_name(filt, index))
            d = night.colour(night.CHECK, index) - night.colour(c, index)
            return {filt: night.magnitude(c, filt) + x[filt] + t * d}
        names = night.SETS[tuple(filters)]
        blue, red = filters[0], filters[1]
        tx, ty = coefficient(names[blue]), coefficient(names[red])
        d = (x[blue] - x[red]) / (1.0 - tx + ty)
        out = {blue: night.magnitude(c, blue) + x[blue] + tx * d,
               red: night.magnitude(c, red) + x[red] + ty * d}
        if "I" in filters and len(filters) > 2:
            ti = coefficient("Ti_vi")
            e = ((out["V"] - c["V"]) - x["I"]) / (1.0 + ti)
            out["I"] = night.magnitude(c, "I") + x["I"] + ti * e
            if "R" in filters:
                out["R"] = night.magnitude(c, "R") + x["R"] + coefficient("Tr_vi") * e
        return out


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    options, rest = parser.parse_known_args()
    BINARY = os.path.abspath(options.binary)
    unittest.main(argv=[sys.argv[0], *rest])
