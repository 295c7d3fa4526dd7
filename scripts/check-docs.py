#!/usr/bin/env python3
"""Checks what the user reads against the build.

  check-docs.py VERSION

- Every version number (three numbers with dots: 2.1.9) in README.md, both guides and
  the detail panel's source is VERSION, the one version of CMakeLists.txt; so are the
  names of the zip (tivoler-VERSION-win32.zip) in them. Each of these files names it.
- Every link inside a guide (#...) leads to a heading of the same guide, as the guide
  is shown in the download.

Prints each fault and exits non-zero when there is one. Needs Python-Markdown
(Debian: python3-markdown), as dist.py does.
"""
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dist  # noqa: E402  (the same HTML as the download)

ROOT = dist.ROOT
VERSIONED = ["README.md", "docs/guide.md", "docs/guide.ja.md", "src/main_form/detail_panel.cpp"]
VERSION_NUMBER = re.compile(r"(?<![\d.])\d+\.\d+\.\d+(?![\d.]*\d)")


def version_faults(version):
    faults = []
    for name in VERSIONED:
        with open(os.path.join(ROOT, name), encoding="utf-8") as f:
            text = f.read()
        found = 0
        for number, line in ((m.group(0), text.count("\n", 0, m.start()) + 1)
                             for m in VERSION_NUMBER.finditer(text)):
            found += 1
            if number != version:
                faults.append("%s:%d: version %s, but CMakeLists.txt says %s"
                              % (name, line, number, version))
        if not found:
            faults.append("%s: names no version (CMakeLists.txt says %s)" % (name, version))
    return faults


def link_faults():
    faults = []
    for language, source, _, title in dist.GUIDES:
        page = dist.guide_html(language, source, title).decode("utf-8")
        ids = set(re.findall(r'\sid="([^"]+)"', page))
        for target in re.findall(r'\shref="#([^"]*)"', page):
            if target not in ids:
                faults.append("%s: link to #%s, which no heading has" % (source, target))
    return faults


def main():
    version = sys.argv[1]
    if not re.fullmatch(r"\d+\.\d+\.\d+", version):
        sys.exit("check-docs.py: no version given (%r)" % version)
    faults = version_faults(version) + link_faults()
    for fault in faults:
        print(fault)
    if faults:
        sys.exit(1)
    print("docs: version %s everywhere; every link in the guides has its heading" % version)


if __name__ == "__main__":
    main()
