"""Checks every relative link of the project's Markdown pages.

    python3 scripts/check-doc-links.py [FILE.md...]

Each link or image of README.md, ARCHITECTURE.md and docs/*.md (every
tracked .md file when no FILE is given) whose target is not a web address
must name a file or folder that exists, and its #anchor, if any, a heading
of the page it names, spelled as the forge spells heading anchors: lower
case, punctuation dropped, blanks turned into hyphens, a repeated heading
numbered -1, -2 and so on. Links inside code blocks and code spans are
not links. Prints each broken link as FILE:LINE: TEXT and exits 1 if any.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(([^()\s]+)(?:\s+\"[^\"]*\")?\)")
FENCE = re.compile(r"^\s*(```|~~~)")
CODE_SPAN = re.compile(r"(`+)(?:(?!\1).)+?\1")


def prose_lines(path):
    """(line number, text) of each line outside code blocks, code spans blanked."""
    fenced = False
    with open(path, encoding="utf-8") as page:
        for number, line in enumerate(page, 1):
            if FENCE.match(line):
                fenced = not fenced
                continue
            if not fenced:
                yield number, CODE_SPAN.sub(lambda span: " " * len(span.group(0)), line)


def make_slug(text):
    text = re.sub(r"<[^>]+>", "", text).strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def heading_anchors(path):
    """The anchors of a page's headings, code spans in them included as text."""
    seen = {}
    result = set()
    fenced = False
    with open(path, encoding="utf-8") as page:
        for line in page:
            if FENCE.match(line):
                fenced = not fenced
                continue
            heading = None if fenced else re.match(r"^#{1,6}\s+(.*?)\s*#*\s*$", line)
            if heading:
                slug = make_slug(heading.group(1))
                count = seen.get(slug, 0)
                seen[slug] = count + 1
                result.add(slug if count == 0 else "%s-%d" % (slug, count))
    return result


def broken_links(page):
    for number, line in prose_lines(page):
        for match in LINK.finditer(line):
            target = match.group(1)
            if re.match(r"^[a-z][a-z0-9+.-]*:", target):
                continue  # a web address or mailto:
            path, _, anchor = target.partition("#")
            named = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
            if not os.path.exists(named):
                yield number, "%s: no such file" % target
            elif anchor and named.endswith(".md") and anchor not in heading_anchors(named):
                yield number, "%s: no heading of %s has the anchor #%s" % (
                    target, os.path.relpath(named, ROOT), anchor)


def main(arguments):
    os.chdir(ROOT)
    pages = arguments or subprocess.run(["git", "ls-files", "--cached", "--others",
                                         "--exclude-standard", "*.md"], capture_output=True,
                                        text=True, check=True).stdout.split()
    broken = 0
    for page in pages:
        for number, text in broken_links(page):
            print("%s:%d: %s" % (page, number, text))
            broken += 1
    print("documentation links: %d pages, %d broken links" % (len(pages), broken))
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
