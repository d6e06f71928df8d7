#!/usr/bin/python3
"""varistellar.html's speed in headless Chromium beside the native program:
the sample night after the page has loaded, and a long night from
bench/long-night.py against `convert` of the same files; the page's size.

    /usr/bin/python3 bench/web-page.py --page build/web/varistellar.html \
        --binary build/release/src/varistellar [--observations 100000] [--runs 5]

Times are medians of the page's own clock, as its status line shows them:
from the click on `run` to the results on the page (reading the files, the
worker's run, the picture drawn), and the program's part of it (callMain).
The native time is the whole process, run between the page's runs so that
both see the same load on the machine.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "web"))
from test_page import SAMPLE, Page, start_browser  # noqa: E402

ARGS = ["convert", "--report", "lightcurve-aavso.txt", "--plot", "lightcurve-aavso.svg",
        "--table", "lightcurve.txt", "--parameters", "VARISTELLAR-input.txt"]


def measure(page, binary, folder, runs):
    """Page totals, program times and native times, in milliseconds."""
    paths = [os.path.join(folder, "lightcurve.txt"), os.path.join(folder, "VARISTELLAR-input.txt")]
    page.open()
    page.element("files").send_keys("\n".join(paths))
    totals, programs, native = [], [], []
    for _ in range(runs):
        page.browser.execute_script("document.body.dataset.state = 'ready'")
        page.element("run").click()
        assert page.wait_for(("done",), seconds=300) == "done", page.findings()[:3]
        status = page.element("status").text
        if not totals:
            print(f"  first run: {status}")
        total, program = re.search(r"in (\d+) ms \(.*the program (\d+) ms", status).groups()
        totals.append(float(total))
        programs.append(float(program))
        started = time.perf_counter()
        subprocess.run([binary] + ARGS, cwd=folder, check=True, capture_output=True)
        native.append((time.perf_counter() - started) * 1000)
    return totals, programs, native


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--binary", required=True)
    parser.add_argument("--observations", type=int, default=100000)
    parser.add_argument("--runs", type=int, default=5)
    options = parser.parse_args()
    binary = os.path.abspath(options.binary)
    print(f"page: {os.path.getsize(options.page):,} bytes")
    with tempfile.TemporaryDirectory() as scratch:
        sample = os.path.join(scratch, "sample")
        shutil.copytree(SAMPLE, sample)
        long_night = os.path.join(scratch, "long")
        shutil.copytree(SAMPLE, long_night)
        subprocess.run([sys.executable, os.path.join(ROOT, "bench", "long-night.py"),
                        str(options.observations), os.path.join(long_night, "lightcurve.txt")],
                       check=True)
        browser = start_browser(os.path.join(scratch, "profile"))
        try:
            page = Page(browser, options.page)
            for name, folder in (("sample night", sample),
                                 (f"{options.observations:,} observations", long_night)):
                totals, programs, native = measure(page, binary, folder, options.runs)
                page_ms, program_ms, native_ms = (statistics.median(t)
                                                  for t in (totals, programs, native))
                print(f"{name}: page {page_ms:.0f} ms (first run {totals[0]:.0f} ms), the "
                      f"program in it {program_ms:.0f} ms; native {native_ms:.0f} ms; page/native "
                      f"{page_ms / native_ms:.1f}, program/native {program_ms / native_ms:.1f}")
        finally:
            browser.quit()


if __name__ == "__main__":
    main()
