#!/usr/bin/python3
"""varistellar.html in headless Chromium, driven through the ids of its
controls, against the command-line program on the same files: the summary,
every finding and the downloaded report and picture, byte for byte.

    /usr/bin/python3 tests/web/test_page.py --page build/web/varistellar.html \
        --binary build/release/src/varistellar [--screenshot build/web/screenshot.png]

Debian's python3-selenium serves /usr/bin/python3. Chromium runs without a
network, a sandbox or a profile of its own; the page is opened from the disk.
The closing line counts the cases: 'N passed, N failed, N skipped'.
"""

import argparse
import base64
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SAMPLE = os.path.join(ROOT, "examples", "sample-night")
TWO_FILTER_NIGHT = os.path.join(ROOT, "examples", "two-filter-night")
AIJ_NIGHT = os.path.join(ROOT, "examples", "aij-night")
SIRIL_NIGHT = os.path.join(ROOT, "examples", "siril-night")


class Skip(Exception):
    pass


def start_browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--allow-file-access-from-files",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--no-first-run", "--disable-dev-shm-usage", "--window-size=1200,1600",
                 f"--user-data-dir={profile}"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Page:
    def __init__(self, browser, path):
        self.browser = browser
        self.path = path

    def open(self):
        self.browser.get("file://" + os.path.abspath(self.path))
        self.wait_for(("ready",))

    def element(self, id_):
        return self.browser.find_element(By.ID, id_)

    def state(self):
        return self.browser.execute_script("return document.body.dataset.state || ''")

    def wait_for(self, states, seconds=60):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            state = self.state()
            if state in states:
                return state
            time.sleep(0.01)
        raise AssertionError(f"the page stayed '{self.state()}'; status: {self.element('status').text}")

    def run(self, paths, check_star=False, date="HJD", merr="table", merr_window=""):
        self.open()  # a fresh page: the file input only ever adds
        if self.element("check-star").is_selected() != check_star:
            self.element("check-star").click()
        self.browser.execute_script(f"document.getElementById('date').value = '{date}'")
        self.browser.execute_script(f"document.getElementById('merr').value = '{merr}'")
        if merr_window:
            self.element("merr-window").send_keys(merr_window)
        self.element("files").send_keys("\n".join(os.path.abspath(p) for p in paths))
        self.element("run").click()
        return self.wait_for(("done", "failed"))

    def summary(self):
        return self.browser.execute_script("return document.getElementById('summary').textContent")

    def findings(self):
        return [item.get_attribute("textContent")
                for item in self.browser.find_elements(By.CSS_SELECTOR, "#findings li")]

    def download(self, id_):
        """The bytes behind a download link, or None without the link."""
        if not self.browser.find_elements(By.ID, id_):
            return None
        encoded = self.browser.execute_async_script("""
            const done = arguments[arguments.length - 1];
            fetch(document.getElementById(arguments[0]).href)
              .then((response) => response.arrayBuffer())
              .then((buffer) => {
                const bytes = new Uint8Array(buffer);
                let text = '';
                for (let i = 0; i < bytes.length; ++i) text += String.fromCharCode(bytes[i]);
                done(btoa(text));
              });""", id_)
        return base64.b64decode(encoded)


def native(binary, folder, args):
    """The command line's run: stdout lines, stderr lines, exit status."""
    done = subprocess.run([binary] + args, cwd=folder, capture_output=True, timeout=60)
    return done.stdout.decode().splitlines(), done.stderr.decode().splitlines(), done.returncode


def finding(line):
    return any(f": {kind}: " in line for kind in ("error", "warning", "note"))


def expect_same_run(page, binary, folder, args, succeeded):
    out, err, status = native(binary, folder, args)
    assert (status == 0) == succeeded, f"the command line exited {status}: {err}"
    summary = [line for line in out + err if not finding(line)]
    findings = [line for line in out + err if finding(line)]
    assert page.summary().splitlines() == summary, f"summary:\n{page.summary()}\nwanted:\n{summary}"
    assert page.findings() == findings, f"findings: {page.findings()}\nwanted: {findings}"
    report = page.download("download-report")
    picture = page.download("download-picture")
    if not succeeded:
        assert report is None and picture is None, "a failed run offers downloads"
        return
    with open(os.path.join(folder, "lightcurve-aavso.txt"), "rb") as f:
        assert report == f.read(), "the downloaded report differs from the command line's"
    assert b"\r\n" in report and b"\n" not in report.replace(b"\r\n", b"")
    with open(os.path.join(folder, "lightcurve-aavso.svg"), "rb") as f:
        assert picture == f.read(), "the downloaded picture differs from the command line's"
    shown = page.browser.find_elements(By.CSS_SELECTOR, "#picture svg .obs")
    assert shown, "no picture on the page"


CONVERT = ["--report", "lightcurve-aavso.txt", "--plot", "lightcurve-aavso.svg"]


def case_sample_night(page, binary, scratch, screenshot):
    folder = os.path.join(scratch, "night")
    shutil.copytree(SAMPLE, folder)
    paths = [os.path.join(folder, name) for name in ("VARISTELLAR-input.txt", "lightcurve.txt")]
    assert page.run(paths, check_star=True, date="JD") == "done"
    expect_same_run(page, binary, folder, ["convert", "--check-star", "--date", "JD"] + CONVERT
                    + ["--table", "lightcurve.txt", "--parameters", "VARISTELLAR-input.txt"], True)
    if screenshot:
        page.browser.save_screenshot(screenshot)


def case_scatter_errors(page, binary, scratch, screenshot):
    """MERR from the check star's scatter, chosen on the page, and the night's quality warning
    among the findings, as the command line gives them."""
    folder = os.path.join(scratch, "scatter")
    shutil.copytree(SAMPLE, folder)
    paths = [os.path.join(folder, name) for name in ("VARISTELLAR-input.txt", "lightcurve.txt")]
    assert page.run(paths, merr="check-scatter", merr_window="11") == "done"
    assert any(": warning: quality: " in line for line in page.findings()), page.findings()
    expect_same_run(page, binary, folder, ["convert", "--merr", "check-scatter:11"] + CONVERT
                    + ["--table", "lightcurve.txt", "--parameters", "VARISTELLAR-input.txt"], True)


def case_bad_input(page, binary, scratch, screenshot):
    folder = os.path.join(scratch, "bad")
    shutil.copytree(SAMPLE, folder)
    table = os.path.join(folder, "V-table.txt")
    os.rename(os.path.join(folder, "lightcurve.txt"), table)
    with open(table, "rb") as f:
        lines = f.read().split(b"\n")
    lines[4] = lines[4].replace(b"-0.6", b"-0.0l", 1)
    lines[9] = lines[9] + b" 7"
    with open(table, "wb") as f:
        f.write(b"\n".join(lines))
    assert page.run([table, os.path.join(folder, "VARISTELLAR-input.txt")]) == "failed"
    assert len(page.findings()) >= 2 and all(":5:" in f or ":10:" in f for f in page.findings()[:2])
    expect_same_run(page, binary, folder, ["convert"] + CONVERT
                    + ["--table", "V-table.txt", "--parameters", "VARISTELLAR-input.txt"], False)


def case_report_check(page, binary, scratch, screenshot):
    folder = os.path.join(scratch, "check")
    shutil.copytree(SAMPLE, folder)
    subprocess.run([binary, "convert", "--quiet", folder], check=True, capture_output=True)
    report = os.path.join(folder, "lightcurve-aavso.txt")
    with open(report, "rb") as f:
        lines = f.read().split(b"\r\n")
    lines[8] = lines[8].replace(b",V,", b",V  ,", 1)
    lines[10] = lines[10].replace(b",NO,", b",MAYBE,", 1)
    with open(report, "wb") as f:
        f.write(b"\r\n".join(lines))
    page.run([report])
    out, err, _ = native(binary, folder, ["check", "lightcurve-aavso.txt"])
    assert page.findings() == [line for line in out + err if finding(line)], page.findings()
    assert page.summary().splitlines() == [line for line in out + err if not finding(line)]
    assert page.download("download-report") is None


# A report of 2008 that begins with comment lines, then rows with errors.
DAMAGED_REPORT = (
    b"# TransformApplier output\n# 2008\n"
    b"#STARID,DATE,MAG,MERR,FILT,TRANS,MTYPE,CNAME,CMAG,KNAME,KMAG,AIRMASS,GROUP,CHART,NOTES\n"
    b"SS CYG,2456175.65873,11,0.039,Rc,NO,DIFF,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n"
    b"SS CYG,2456175.65874,11.707,0.039,V,NO,STD,ENSEMBLE,na,na,na,1.452,na,12345AB,na\n"
    b"SS CYG,2456175.65875,11,0.039,Rc,NO,DIFF,ENSEMBLE,na,na,na,1.452,,12345AB,na\n")


def case_damaged_report(page, binary, scratch, screenshot):
    """A damaged report is checked as the command line checks it, not taken for a parameter
    file: the page asks the program's own detector what each file is."""
    folder = os.path.join(scratch, "damaged")
    os.makedirs(folder)
    with open(os.path.join(folder, "old-report.txt"), "wb") as f:
        f.write(DAMAGED_REPORT)
    assert page.run([os.path.join(folder, "old-report.txt")]) == "failed"
    out, err, status = native(binary, folder, ["check", "old-report.txt"])
    assert status == 1, f"check exited {status}"
    assert page.findings() == [line for line in out + err if finding(line)], page.findings()
    assert sum(": error: " in line for line in page.findings()) == 10, page.findings()
    assert page.summary().splitlines() == [line for line in out + err if not finding(line)]
    problems = page.browser.find_elements(By.CSS_SELECTOR, "#problems li")
    assert not problems, [p.get_attribute("textContent") for p in problems]
    assert page.download("download-report") is None
    if screenshot:
        page.browser.save_screenshot(screenshot.replace(".png", "-damaged.png"))


def case_two_filters(page, binary, scratch, screenshot):
    folder = os.path.join(scratch, "two")
    os.makedirs(folder)
    with open(os.path.join(SAMPLE, "VARISTELLAR-input.txt"), "rb") as f:
        parameters = f.read()
    with open(os.path.join(SAMPLE, "lightcurve.txt"), "rb") as f:
        table = f.read()
    paths = []
    for band, shift in (("B", b"12.845"), ("V", b"12.345")):
        os.makedirs(os.path.join(folder, band))
        for name, content in (("lightcurve.txt", table),
                              ("VARISTELLAR-input.txt",
                               parameters.replace(b"\nV\n", b"\n" + band.encode() + b"\n")
                               .replace(b"12.345", shift))):
            with open(os.path.join(folder, band, name), "wb") as f:
                f.write(content)
            flat = os.path.join(folder, name.replace(".txt", f"-{band}.txt"))
            shutil.copyfile(os.path.join(folder, band, name), flat)
            paths.append(flat)
    page.run(paths)
    if "one FOLDER" in page.summary():
        raise Skip("this build's convert takes one FOLDER; several filters wait for it")
    expect_same_run(page, binary, folder, ["convert"] + CONVERT + ["B", "V"], True)


def case_transformed_night(page, binary, scratch, screenshot):
    """The two-filter example with its coefficient file: the page transforms it."""
    folder = os.path.join(scratch, "transformed")
    shutil.copytree(TWO_FILTER_NIGHT, folder)
    paths = [os.path.join(folder, "tg.ini")]
    for band in ("B", "V"):
        for name in ("lightcurve.txt", "VARISTELLAR-input.txt"):
            flat = os.path.join(folder, name.replace(".txt", f"-{band}.txt"))
            shutil.copyfile(os.path.join(folder, band, name), flat)
            paths.append(flat)
    page.run(paths, check_star=True)
    expect_same_run(page, binary, folder,
                    ["convert", "--check-star", "--transform", "tg.ini"] + CONVERT + ["B", "V"],
                    True)
    assert "transformed:" in page.summary()
    if screenshot:
        page.browser.save_screenshot(screenshot.replace(".png", "-transformed.png"))


def case_aij_table(page, binary, scratch, screenshot):
    """One AstroImageJ table and its parameter file: the page converts it as convert does."""
    folder = os.path.join(scratch, "aij")
    shutil.copytree(os.path.join(AIJ_NIGHT, "V"), folder)
    assert page.run([os.path.join(folder, "Measurements.xls"),
                     os.path.join(folder, "VARISTELLAR-input.txt")]) == "done"
    expect_same_run(page, binary, folder, ["convert"] + CONVERT
                    + ["--table", "Measurements.xls", "--parameters", "VARISTELLAR-input.txt"], True)
    assert b"#SOFTWARE=AstroImageJ via VARISTELLAR" in page.download("download-report")


def case_siril_light_curve(page, binary, scratch, screenshot):
    folder = os.path.join(scratch, "siril")
    shutil.copytree(SIRIL_NIGHT, folder)
    assert page.run([os.path.join(folder, "light_curve.dat"),
                     os.path.join(folder, "VARISTELLAR-input.txt")]) == "done"
    expect_same_run(page, binary, folder, ["convert"] + CONVERT
                    + ["--table", "light_curve.dat", "--parameters", "VARISTELLAR-input.txt"], True)
    assert b"#SOFTWARE=Siril via VARISTELLAR" in page.download("download-report")


def case_aij_two_filters(page, binary, scratch, screenshot):
    """AstroImageJ's tables of B and V named by filter, with the coefficients: each pair finds
    its filter's folder, and each table keeps its own name there, so that messages name it."""
    folder = os.path.join(scratch, "aij-two")
    shutil.copytree(AIJ_NIGHT, folder)
    paths = [os.path.join(folder, "tg.ini")]
    for band in ("B", "V"):
        os.rename(os.path.join(folder, band, "Measurements.xls"),
                  os.path.join(folder, band, f"Measurements-{band}.xls"))
        for name in (f"Measurements-{band}.xls", "VARISTELLAR-input.txt"):
            flat = os.path.join(folder, name.replace("input.txt", f"input-{band}.txt"))
            shutil.copyfile(os.path.join(folder, band, name), flat)
            paths.append(flat)
    assert page.run(paths, check_star=True) == "done"
    expect_same_run(page, binary, folder,
                    ["convert", "--check-star", "--transform", "tg.ini"] + CONVERT + ["B", "V"],
                    True)
    assert "Measurements-B.xls" in page.summary() and "transformed:" in page.summary()
    if screenshot:
        page.browser.save_screenshot(screenshot.replace(".png", "-astroimagej.png"))


CASES = [case_sample_night, case_scatter_errors, case_bad_input, case_report_check, case_damaged_report,
         case_two_filters, case_transformed_night, case_aij_table, case_siril_light_curve,
         case_aij_two_filters]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--page", required=True)
    parser.add_argument("--binary", required=True)
    parser.add_argument("--screenshot")
    parser.add_argument("-k", dest="only")
    options = parser.parse_args()
    binary = os.path.abspath(options.binary)
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    with tempfile.TemporaryDirectory() as scratch:
        browser = start_browser(os.path.join(scratch, "profile"))
        try:
            page = Page(browser, options.page)
            for case in CASES:
                if options.only and options.only not in case.__name__:
                    continue
                work = os.path.join(scratch, case.__name__)
                os.makedirs(work)
                try:
                    case(page, binary, work, options.screenshot)
                    result = "passed"
                except Skip as skip:
                    result = "skipped"
                    print(f"{case.__name__}: skipped: {skip}")
                except Exception:  # every case runs; each failure is shown whole
                    result = "failed"
                    print(f"{case.__name__}: FAILED")
                    traceback.print_exc()
                counts[result] += 1
                if result == "passed":
                    print(f"{case.__name__}: passed")
        finally:
            browser.quit()
    print(f"{counts['passed']} passed, {counts['failed']} failed, {counts['skipped']} skipped")
    return 1 if counts["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
