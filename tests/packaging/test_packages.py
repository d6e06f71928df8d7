"""Unpacks the built packages and runs the program from what they hold.

    python3 tests/packaging/test_packages.py build/packages

The .deb is unpacked with dpkg-deb -x and the .tar.gz with tar, as a user's
system would lay them out; the .zip is unpacked and its varistellar.exe run
under wine. Each runs --version and the interactive conversion of the sample
night they carry, its ten pauses answered with empty lines, and the Windows
report must equal the Linux one byte for byte. The .deb and the .zip carry
varistellar.html and the licence, the Linux ones the README and the pages of
docs/ as in the source, the .deb what Debian asks of a package: lintian finds
no error in it.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEN_ANSWERS = b"\n" * 10
failures = []


def check(condition, what):
    print("%s: %s" % ("ok" if condition else "FAILED", what))
    if not condition:
        failures.append(what)
    return condition


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt")) as cmake_lists:
        return re.search(r"project\(varistellar VERSION (\S+)", cmake_lists.read()).group(1)


def documentation_pages():
    """What the Linux packages carry in their documentation folder, as laid out in the source."""
    pages = ["README.md", "ARCHITECTURE.md", "LICENSE", os.path.join("docs", "sample-night.svg")]
    pages += sorted(os.path.join("docs", name) for name in os.listdir(os.path.join(ROOT, "docs"))
                    if name.endswith(".md"))
    return pages


def kept_observations(night):
    """The table's observations the report keeps: those with V-C at most 90."""
    with open(os.path.join(night, "lightcurve.txt"), "rb") as table:
        rows = [line.split() for line in table.read().split(b"\n")[2:]]
    return [row for row in rows if row and float(row[1]) <= 90]


def convert(what, command, night, env=None):
    """Runs an interactive conversion in a copy of a night; returns the report."""
    work = tempfile.mkdtemp(prefix="varistellar-package-night-")
    try:
        for name in os.listdir(night):
            shutil.copy(os.path.join(night, name), work)
        result = subprocess.run(command, cwd=work, input=TEN_ANSWERS, capture_output=True,
                                env=env, timeout=300)
        check(result.returncode == 0, "%s: the conversion exits 0 (%d; %r)"
              % (what, result.returncode, result.stderr[-300:]))
        report_path = os.path.join(work, "lightcurve-aavso.txt")
        if not check(os.path.exists(report_path), "%s: the conversion writes the report" % what):
            return b""
        with open(report_path, "rb") as report:
            return report.read()
    finally:
        shutil.rmtree(work)


def check_report(report, night, what):
    """The report holds the night: its header and one record per kept observation."""
    lines = report.split(b"\r\n")
    check(lines[0] == b"#TYPE=Extended" and lines[-1] == b"", what + ": a CR LF report")
    with open(os.path.join(night, "VARISTELLAR-input.txt"), "rb") as parameters:
        obscode = parameters.read().split(b"\n")[4].rstrip(b"\r")[:4]
    check(b"#OBSCODE=" + obscode in lines, what + ": the observer code of the night")
    kept = kept_observations(night)
    records = lines[7:-1]
    check(len(records) == len(kept) > 0,
          "%s: %d records for %d kept observations" % (what, len(records), len(kept)))
    dates = [record.split(b",")[1] for record in records]
    check(dates == [b"%.5f" % float(row[0]) for row in kept[:len(dates)]],
          what + ": each record dated by its observation's JDHEL")


def check_unix_tree(tree, what, version):
    program = os.path.join(tree, "bin", "varistellar")
    doc = os.path.join(tree, "share", "doc", "varistellar")
    for path in (program, os.path.join(doc, "varistellar.html"),
                 os.path.join(tree, "share", "man", "man1", "varistellar.1.gz")):
        check(os.path.isfile(path), "%s holds %s" % (what, os.path.relpath(path, tree)))
    for page in documentation_pages():
        path = os.path.join(doc, page)
        if check(os.path.isfile(path), "%s holds %s" % (what, os.path.relpath(path, tree))):
            with open(path, "rb") as packed, open(os.path.join(ROOT, page), "rb") as source:
                check(packed.read() == source.read(), "%s: %s as in the source" % (what, page))
    result = subprocess.run([program, "--version"], capture_output=True, timeout=60)
    check(result.stdout == b"varistellar %s\n" % version.encode(),
          "%s: --version prints %r" % (what, result.stdout))
    night = os.path.join(doc, "sample-night")
    report = convert(what, [program], night)
    check_report(report, night, what)
    return report


def test_deb(packages, scratch, version):
    deb = os.path.join(packages, "varistellar_%s_amd64.deb" % version)
    if not check(os.path.isfile(deb), "the .deb is " + os.path.basename(deb)):
        return b""
    fields = subprocess.run(["dpkg-deb", "-f", deb, "Package", "Version", "Depends"],
                            capture_output=True, text=True, check=True).stdout
    check(fields == "Package: varistellar\nVersion: %s\n" % version,
          ".deb control: the package and version, no dependencies")
    lintian = subprocess.run(["lintian", "--fail-on", "error", deb], capture_output=True, text=True)
    check(lintian.returncode == 0, ".deb: lintian finds no error\n" + lintian.stdout)
    tree = os.path.join(scratch, "deb")
    subprocess.run(["dpkg-deb", "-x", deb, tree], check=True)
    for name in ("copyright", "changelog.gz"):
        check(os.path.isfile(os.path.join(tree, "usr", "share", "doc", "varistellar", name)),
              ".deb holds usr/share/doc/varistellar/" + name)
    return check_unix_tree(os.path.join(tree, "usr"), ".deb", version)


def test_tarball(packages, scratch, version):
    name = "varistellar-%s-linux-x86_64" % version
    tarball = os.path.join(packages, name + ".tar.gz")
    if not check(os.path.isfile(tarball), "the .tar.gz is " + os.path.basename(tarball)):
        return
    tree = os.path.join(scratch, "tar")
    os.makedirs(tree)
    subprocess.run(["tar", "-xzf", tarball, "-C", tree], check=True)
    check_unix_tree(os.path.join(tree, name), ".tar.gz", version)


def test_zip(packages, scratch, version, linux_report):
    name = "varistellar-%s-windows-x86_64" % version
    archive = os.path.join(packages, name + ".zip")
    if not check(os.path.isfile(archive), "the .zip is " + os.path.basename(archive)):
        return
    with zipfile.ZipFile(archive) as unpacking:
        unpacking.extractall(os.path.join(scratch, "zip"))
    folder = os.path.join(scratch, "zip", name)
    with open(os.path.join(folder, "README.txt"), "rb") as readme:
        text = readme.read()
    check(text.count(b"\n") > 0 and text.count(b"\n") == text.count(b"\r\n"),
          ".zip: README.txt ends every line with CR LF")
    for word in (b"double-click", b"drop", b"varistellar.html", b"convert", b"check",
                 version.encode()):
        check(word in text.lower(), ".zip: README.txt tells of %r" % word)
    licence_path = os.path.join(folder, "LICENSE.txt")
    if check(os.path.isfile(licence_path), ".zip holds LICENSE.txt"):
        with open(licence_path, "rb") as licence, open(os.path.join(ROOT, "LICENSE"), "rb") as source:
            packed = licence.read()
            check(packed.replace(b"\r\n", b"\n") == source.read() and b"\n" not in
                  packed.replace(b"\r\n", b""), ".zip: LICENSE.txt is the licence, with CR LF")
    with open(os.path.join(folder, "varistellar.html"), "rb") as page:
        check(b"createVaristellar" in page.read(), ".zip: varistellar.html holds the program")

    # wine runs as the owner of its prefix: one of this run's own, kept with
    # the packages so that it is made once.
    env = dict(os.environ, WINEPREFIX=os.path.join(packages, "wine-prefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    exe = os.path.join(folder, "varistellar.exe")
    try:
        result = subprocess.run(["wine", exe, "--version"], capture_output=True, env=env,
                                stdin=subprocess.DEVNULL, timeout=600)
        check(result.stdout.replace(b"\r\n", b"\n") == b"varistellar %s\n" % version.encode(),
              ".zip: varistellar.exe --version prints %r" % result.stdout)
        night = os.path.join(folder, "sample-night")
        report = convert(".zip", ["wine", exe], night, env)
        check_report(report, night, ".zip")
        check(report == linux_report, ".zip: the report equals the .deb's byte for byte")
    finally:
        subprocess.run(["wineserver", "--kill"], env=env, timeout=60)


def main():
    packages = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/packages")
    version = project_version()
    scratch = tempfile.mkdtemp(prefix="varistellar-packages-")
    try:
        linux_report = test_deb(packages, scratch, version)
        test_tarball(packages, scratch, version)
        test_zip(packages, scratch, version, linux_report)
    finally:
        shutil.rmtree(scratch)
    print("packages: %d failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
