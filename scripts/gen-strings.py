#!/usr/bin/env python3
"""Turns the string table of resources/strings.rc into a C++ table for the native
build, so that the unit tests read the very texts the executable carries. The ids
are names from src/core/resource_ids.h, as the resource compiler reads them, each
optionally followed by "+ kJapaneseTextOffset"."""
import re
import sys

source, header, target = sys.argv[1], sys.argv[2], sys.argv[3]

# The numeric #defines of the header (the icon names are not numbers and stay out).
ids = {}
for line in open(header, encoding="utf-8"):
    m = re.match(r"^#define\s+(\w+)\s+(\d+)\b", line)
    if m:
        ids[m.group(1)] = int(m.group(2))

def resolve(expression):
    """The value of an id: a number, a name of the header, or a sum of those."""
    total = 0
    for term in expression.split("+"):
        term = term.strip()
        if term.isdigit():
            total += int(term)
        elif term in ids:
            total += ids[term]
        else:
            sys.exit("%s: unknown text id %r (not in %s)" % (source, term, header))
    return total

entries = []
for line in open(source, encoding="utf-8"):
    m = re.match(r'^\s*(\w[\w\s+]*?),\s*"(.*)"\s*$', line)
    if not m:
        continue
    text = m.group(2).replace('""', '"').replace("\\n", "\n")
    entries.append((resolve(m.group(1)), text))
if len({id_ for id_, _ in entries}) != len(entries):
    sys.exit("%s: a text id is given twice" % source)

def cpp(text):
    out = []
    for b in text.encode("utf-8"):
        c = chr(b)
        if c == "\\" or c == '"':
            out.append("\\" + c)
        elif c == "\n":
            out.append("\\n")
        elif 32 <= b < 127:
            out.append(c)
        else:
            out.append('\\%03o' % b)
    return '"' + "".join(out) + '"'

with open(target, "w", encoding="utf-8") as f:
    f.write("// Generated from resources/strings.rc by scripts/gen-strings.py.\n")
    f.write('#include "string_table.h"\n\nnamespace tivoler::test {\n\n')
    f.write("const std::map<int, std::string>& StringTable() {\n")
    f.write("  static const std::map<int, std::string> table = {\n")
    for id_, text in entries:
        f.write("      {%d, %s},\n" % (id_, cpp(text)))
    f.write("  };\n  return table;\n}\n\n}  // namespace tivoler::test\n")
