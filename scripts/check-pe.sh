#!/usr/bin/env bash
# Checks that the product is a 32-bit GUI program that imports only system DLLs.
set -u
exe=${1:?usage: check-pe.sh tivoler.exe}
dump=$(i686-w64-mingw32-objdump -p "$exe") || exit 1
fail=0
grep -q '^architecture: i386' <<<"$(i686-w64-mingw32-objdump -f "$exe")" ||
  { echo "not an i386 executable: $exe"; fail=1; }
grep -Eq '^Magic\s+010b\s+\(PE32\)' <<<"$dump" || { echo "not PE32: $exe"; fail=1; }
grep -q '^Subsystem.*(Windows GUI)' <<<"$dump" || { echo "not a GUI program: $exe"; fail=1; }
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|shlwapi|shfolder|msvcrt|version)\.dll$'
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u)
for dll in $dlls; do
  grep -Eq "$allowed" <<<"$dll" || { echo "imports a non-system DLL: $dll"; fail=1; }
done
if [ $fail -eq 0 ]; then
  echo "$exe: PE32 i386, Windows GUI, imports $(echo $dlls | tr ' ' ',')"
fi
exit $fail
