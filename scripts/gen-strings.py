#!/usr/bin/env python3
"""Turns the string table of resources/strings.rc into a C++ table for the native
build, so that the unit tests read the very texts the executable carries."""
import re
import sys

source, target = sys.argv[1], sys.argv[2]
entries = []
for line in open(source, encoding="utf-8"):
    m = re.match(r'^\s*(\d+),\s*"(.*)"\s*$', line)
    if not m:
        continue
    text = m.group(2).replace('""', '"').replace("\\n", "\n")
    entries.append((int(m.group(1)), text))

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
