#!/usr/bin/env python3
"""Packs the download for Windows users.

  dist.py VERSION EXE OUTDIR

writes OUTDIR/tivoler-VERSION-win32.zip with the program, the licence and the user
guide in English and Japanese (one HTML file each, its pictures inside, so that it
opens with a double-click and needs no network), and beside it the zip's SHA-256 in
the form `sha256sum -c` reads. The last line printed is that SHA-256 line.

The zip is the same file for the same sources on any day and in any folder: a fixed
entry order, every entry dated with the time of the last commit (SOURCE_DATE_EPOCH
when set), no owner, permissions or extra fields, and HTML made without dates.
Needs Python-Markdown (Debian: python3-markdown).
"""
import base64
import hashlib
import html
import os
import re
import subprocess
import sys
import time
import zipfile

import markdown
from markdown.extensions.toc import slugify_unicode

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (language, Markdown source, name in the zip, title)
GUIDES = [
    ("en", "docs/guide.md", "guide-en.html", "Tivoler user guide"),
    ("ja", "docs/guide.ja.md", "guide-ja.html", "Tivoler 使い方ガイド"),
]

STYLE = """
body { font-family: "Segoe UI", Tahoma, "Meiryo", "MS PGothic", sans-serif; line-height: 1.55;
       max-width: 46em; margin: 2em auto; padding: 0 1em; color: #1b1b1b; background: #fff; }
h1, h2, h3 { line-height: 1.25; }
h2 { border-bottom: 1px solid #d0d0d0; padding-bottom: .2em; margin-top: 2em; }
code, kbd { font-family: Consolas, "Courier New", monospace; background: #f2f2f2;
            padding: 0 .25em; border-radius: 3px; white-space: nowrap; }
img { display: block; margin: .8em 0; border: 1px solid #c8c8c8; image-rendering: pixelated; }
table { border-collapse: collapse; margin: .8em 0; }
th, td { border: 1px solid #c8c8c8; padding: .3em .6em; text-align: left; vertical-align: top; }
th { background: #f2f2f2; }
td:first-child { white-space: nowrap; }
"""


def source_date():
    """The entries' time: SOURCE_DATE_EPOCH, else the last commit's, else 1980-01-01."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        try:
            epoch = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"],
                                   capture_output=True, text=True, check=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            epoch = ""
    if not epoch:
        return (1980, 1, 1, 0, 0, 0)
    t = time.gmtime(int(epoch))
    # A zip entry's date starts in 1980 and counts seconds in steps of two.
    return max((t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec - t.tm_sec % 2),
               (1980, 1, 1, 0, 0, 0))


def embed_images(body, folder):
    """Replaces each <img src="images/x.png"> by the picture itself (a data: URL)."""
    def inline(match):
        path = os.path.join(folder, html.unescape(match.group(2)))
        with open(path, "rb") as f:
            data = base64.b64encode(f.read()).decode("ascii")
        return '%sdata:image/png;base64,%s%s' % (match.group(1), data, match.group(3))
    return re.sub(r'(<img [^>]*src=")([^":]+\.png)(")', inline, body)


# A line break inside a Japanese paragraph: next to a Japanese character (or the end or
# start of bold or code that touches one), and not before a line that starts a block of
# its own (a list item, a table row, a heading, a picture, a quote).
JAPANESE_BREAK = re.compile(r"(?:(?<=[^\x00-\x7f])|(?<=\*\*)|(?<=`))\n[ \t]*"
                            r"(?![ \t\n]|[-*+] |\d+\. |[|#>!])")


def join_japanese_lines(text):
    """Joins the lines of each Japanese paragraph without a space.

    A browser shows a line break as a space, and Japanese has none between words: not
    after "。" or "、", not between two Japanese words, and not where a line ends with a
    Japanese word and the next begins with a Latin one (the source puts a space on the
    line itself where it wants one). Code blocks keep their lines.
    """
    out = []
    for block in re.split(r"(\n{2,})", text):
        if block.startswith("    ") or block.startswith("\n"):
            out.append(block)
            continue
        block = JAPANESE_BREAK.sub("", block)
        # The same before a Japanese character, after the end of a Latin line.
        block = re.sub(r"\n[ \t]*(?=[^\x00-\x7f])", "", block)
        out.append(block)
    return "".join(out)


def guide_html(language, source, title):
    path = os.path.join(ROOT, source)
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if language == "ja":
        text = join_japanese_lines(text)
    # Headings get ids made of their own words, in either language, as links in the
    # guides spell them.
    body = markdown.markdown(text, extensions=["tables", "toc"], output_format="html",
                             extension_configs={"toc": {"slugify": slugify_unicode}})
    body = embed_images(body, os.path.dirname(path))
    page = ('<!DOCTYPE html>\n<html lang="%s">\n<head>\n<meta charset="utf-8">\n'
            '<meta name="viewport" content="width=device-width, initial-scale=1">\n'
            '<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n%s\n</body>\n</html>\n'
            % (language, html.escape(title), STYLE, body))
    return page.encode("utf-8")


def crlf(data):
    """Text with Windows line ends, so that every editor shows its lines."""
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def main():
    version, exe, outdir = sys.argv[1:4]
    with open(exe, "rb") as f:
        program = f.read()
    with open(os.path.join(ROOT, "LICENSE"), "rb") as f:
        licence = crlf(f.read())
    entries = [("tivoler.exe", program), ("LICENSE.txt", licence)]
    for language, source, name, title in GUIDES:
        entries.append((name, guide_html(language, source, title)))

    os.makedirs(outdir, exist_ok=True)
    name = "tivoler-%s-win32.zip" % version
    zip_path = os.path.join(outdir, name)
    date = source_date()
    with zipfile.ZipFile(zip_path + ".new", "w") as z:
        for entry, data in entries:  # in this order, whatever the file system says
            info = zipfile.ZipInfo(entry, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or permissions
            info.external_attr = 0x20  # the archive attribute, as Windows writes it
            z.writestr(info, data, compresslevel=9)
    os.replace(zip_path + ".new", zip_path)

    with open(zip_path, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    line = "%s  %s" % (digest, name)
    with open(zip_path + ".sha256", "w", encoding="ascii", newline="\n") as f:
        f.write(line + "\n")
    for entry, data in entries:
        print("  %-14s %9d bytes" % (entry, len(data)))
    print(line)


if __name__ == "__main__":
    main()
