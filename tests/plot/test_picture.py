"""The night's picture, read back: the SVG parsed as XML, its points where their dates and
magnitudes put them, and rendered by a real SVG renderer into a picture that is not blank.

    python3 tests/plot/test_picture.py --binary path/to/varistellar
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import struct
import xml.etree.ElementTree as ElementTree
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
SAMPLE = os.path.join(ROOT, "examples", "sample-night")
SVG = "{http://www.w3.org/2000/svg}"
BINARY = None


def convert(folder, *args):
    return subprocess.run([BINARY, "convert", *args, folder], capture_output=True, check=True)


def elements(root, class_name):
    return [e for e in root.iter() if class_name in e.get("class", "").split()]


def linear_map(labels, coordinate, offset=0.0):
    """From the labelled ticks of an axis: the function from a coordinate to a value."""
    points = [(float(e.get(coordinate)), float(e.text) + offset) for e in labels]
    (c0, v0), (c1, v1) = points[0], points[-1]
    return lambda c: v0 + (c - c0) * (v1 - v0) / (c1 - c0)


def png_pixels(path):
    """The pixels of an 8-bit, non-interlaced RGB or RGBA PNG file, as tuples."""
    with open(path, "rb") as png:
        data = png.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    chunks, at = {}, 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        chunks.setdefault(kind, []).append(data[at + 8:at + 8 + length])
        at += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"][0])
    assert depth == 8 and colour in (2, 6) and interlace == 0
    size = 4 if colour == 6 else 3
    raw = zlib.decompress(b"".join(chunks[b"IDAT"]))
    stride, rows, previous = width * size, [], bytearray(width * size)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - size] if i >= size else 0
            up, up_left = previous[i], previous[i - size] if i >= size else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - up_left
                nearest = min((abs(p - left), 0, left), (abs(p - up), 1, up),
                              (abs(p - up_left), 2, up_left))[2]
                line[i] = (line[i] + nearest) & 255
        rows.append(line)
        previous = line
    return [tuple(row[x:x + size]) for row in rows for x in range(0, stride, size)]


def report_rows(path):
    with open(path, "rb") as report:
        return [line.split(b",") for line in report.read().split(b"\r\n")[7:-1]]


class SampleNightPicture(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp()
        for name in os.listdir(SAMPLE):
            shutil.copy(os.path.join(SAMPLE, name), cls.work)
        cls.picture = os.path.join(cls.work, "night.svg")
        convert(cls.work, "--plot", cls.picture)
        cls.root = ElementTree.parse(cls.picture).getroot()
        cls.rows = report_rows(os.path.join(cls.work, "lightcurve-aavso.txt"))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def test_one_element_per_written_observation_in_each_series(self):
        for class_name in ("obs", "check", "airmass"):
            self.assertEqual(len(elements(self.root, class_name)), len(self.rows), class_name)

    def test_points_stand_where_their_dates_and_magnitudes_put_them(self):
        axis_label = next(e.text for e in self.root.iter(SVG + "text") if "(days)" in e.text)
        offset = float(re.search(r"- (\d+)", axis_label).group(1))
        date_at = linear_map(elements(self.root, "xtick"), "x", offset)
        # A value label stands 4 units below its grid line.
        magnitude_labels = elements(self.root, "ytick-obs")
        for label in magnitude_labels:
            label.set("y", str(float(label.get("y")) - 4))
        magnitude_at = linear_map(magnitude_labels, "y")
        points = elements(self.root, "obs")
        pixel_in_days = abs(date_at(1.0) - date_at(0.0))
        pixel_in_magnitudes = abs(magnitude_at(1.0) - magnitude_at(0.0))
        for point, row in ((points[0], self.rows[0]), (points[-1], self.rows[-1])):
            self.assertAlmostEqual(date_at(float(point.get("cx"))), float(row[1]),
                                   delta=pixel_in_days)
            self.assertAlmostEqual(magnitude_at(float(point.get("cy"))), float(row[2]),
                                   delta=pixel_in_magnitudes)

    def test_a_brighter_point_stands_above_a_fainter_one(self):
        points = elements(self.root, "obs")
        magnitudes = [float(row[2]) for row in self.rows]
        brightest = magnitudes.index(min(magnitudes))
        faintest = magnitudes.index(max(magnitudes))
        self.assertLess(float(points[brightest].get("cy")), float(points[faintest].get("cy")))

    def test_the_title_names_the_star_filter_observer_date_and_count(self):
        title = self.root.find(SVG + "title").text
        self.assertEqual(title, "RR LYR, filter V, observer ABCD, 2012-09-05 UT, 316 observations")

    def test_the_same_night_gives_the_same_bytes(self):
        again = os.path.join(self.work, "again.svg")
        convert(self.work, "--plot", again)
        with open(self.picture, "rb") as first, open(again, "rb") as second:
            self.assertEqual(first.read(), second.read())

    def test_it_needs_nothing_from_elsewhere(self):
        with open(self.picture, "rb") as picture:
            text = picture.read()
        for outside in (b"<script", b"<image", b"href", b"@import", b"url("):
            self.assertNotIn(outside, text)

    @unittest.skipUnless(shutil.which("rsvg-convert"), "rsvg-convert is not installed")
    def test_a_renderer_draws_it(self):
        png = os.path.join(self.work, "night.png")
        subprocess.run(["rsvg-convert", "-o", png, self.picture], check=True)
        pixels = png_pixels(png)
        ink = [p for p in pixels if p[:3] != (255, 255, 255)]
        # Ink in many shades: points, bars, grid and text on the white ground.
        self.assertGreater(len(set(ink)), 10)
        self.assertGreater(len(ink), 5000)


class TwoFilterPicture(unittest.TestCase):
    """The sample night as V and, with another comparison magnitude, as B: one picture."""

    def test_each_filter_in_its_own_colour_with_a_legend(self):
        work = tempfile.mkdtemp()
        try:
            for folder, line8, line9 in (("b", b"12.900", b"B"), ("v", None, None)):
                os.mkdir(os.path.join(work, folder))
                shutil.copy(os.path.join(SAMPLE, "lightcurve.txt"), os.path.join(work, folder))
                with open(os.path.join(SAMPLE, "VARISTELLAR-input.txt"), "rb") as f:
                    lines = f.read().split(b"\n")
                if line8:
                    lines[7], lines[8] = line8, line9
                with open(os.path.join(work, folder, "VARISTELLAR-input.txt"), "wb") as f:
                    f.write(b"\n".join(lines))
            picture = os.path.join(work, "night.svg")
            subprocess.run([BINARY, "convert", "--check-star", "--plot", picture, "--report",
                            os.path.join(work, "night.txt"), os.path.join(work, "b"),
                            os.path.join(work, "v")], capture_output=True, check=True)
            root = ElementTree.parse(picture).getroot()
            rows = report_rows(os.path.join(work, "night.txt"))
            points = elements(root, "obs")
            self.assertEqual(len(points), len(rows))
            # A point's colour is its filter's (the points come filter by filter); the
            # legend names both.
            per_filter = {f: sum(1 for row in rows if row[4] == f) for f in (b"B", b"V")}
            styles = [point.get("style") for point in points]
            colours = {b"B": styles[0], b"V": styles[-1]}
            self.assertEqual(styles.count(colours[b"B"]), per_filter[b"B"])
            self.assertEqual(styles.count(colours[b"V"]), per_filter[b"V"])
            self.assertNotEqual(colours[b"B"], colours[b"V"])
            legend = [e.text for e in elements(root, "legend") if e.tag == SVG + "text"]
            self.assertEqual(legend, ["B", "V"])
            marks = {e.get("fill") for e in elements(root, "legend") if e.tag == SVG + "circle"}
            self.assertEqual(marks, {style.split(":")[1] for style in colours.values()})
            self.assertEqual(root.find(SVG + "title").text,
                             "RR LYR, filters B, V, observer ABCD, 2012-09-05 UT, 632 observations")
        finally:
            shutil.rmtree(work)


class LongNightPicture(unittest.TestCase):
    def test_beyond_a_few_thousand_observations_it_shows_bins(self):
        work = tempfile.mkdtemp()
        try:
            shutil.copy(os.path.join(SAMPLE, "VARISTELLAR-input.txt"), work)
            subprocess.run([sys.executable, os.path.join(ROOT, "bench", "long-night.py"), "20000",
                            os.path.join(work, "lightcurve.txt"), "--dropped", "7"], check=True)
            picture = os.path.join(work, "night.svg")
            convert(work, "--plot", picture)
            root = ElementTree.parse(picture).getroot()
            drawn = len(elements(root, "obs"))
            self.assertGreater(drawn, 100)
            self.assertLessEqual(drawn, 500)
            self.assertLess(os.path.getsize(picture), 150_000)
            texts = " ".join(e.text for e in root.iter(SVG + "text"))
            self.assertIn("17143 observations shown as 500 bins", texts)
        finally:
            shutil.rmtree(work)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    options, rest = parser.parse_known_args()
    BINARY = os.path.abspath(options.binary)
    unittest.main(argv=[sys.argv[0], *rest])
