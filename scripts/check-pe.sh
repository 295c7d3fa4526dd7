#!/usr/bin/env bash
# Checks that the product is a 32-bit GUI program that imports only system DLLs,
# and that its manifest asks for no elevation, names the systems it supports and
# declares per-monitor DPI awareness (version 2, with the system's DPI where only dpiAware is
# read). Given a version (the build's one version), also checks
# that the manifest and the version resource carry it, and that no time stamp is set.
set -u
exe=${1:?usage: check-pe.sh tivoler.exe [version]}
version=${2:-}
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
# The manifest is stored as plain text in the resources.
manifest=$(sed -n '/<assembly /,/<\/assembly>/p' "$exe" | tr -d '\r')
grep -q 'requestedExecutionLevel level="asInvoker"' <<<"$manifest" ||
  { echo "the manifest does not run the program as the invoker: $exe"; fail=1; }
for os in e2011457-1546-43c5-a5fe-008deee3d3f0 35138b9a-5d96-4fbd-8e2d-a2440225f93a \
  4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
  8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a; do
  grep -q "supportedOS Id=\"{$os}\"" <<<"$manifest" || { echo "the manifest lacks supportedOS $os"; fail=1; }
done
grep -q '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>' <<<"$manifest" ||
  { echo "the manifest lacks dpiAware true (the system's DPI on Windows Vista to 8.1): $exe"; fail=1; }
grep -q '<dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>' <<<"$manifest" ||
  { echo "the manifest lacks dpiAwareness PerMonitorV2: $exe"; fail=1; }
if [ -n "$version" ]; then
  grep -q "name=\"Tivoler\" version=\"$version.0\"" <<<"$manifest" ||
    { echo "the manifest's version is not $version.0"; fail=1; }
  for name in FileVersion ProductVersion; do
    [ "$(strings -el "$exe" | grep -A1 -x "$name" | sed -n 2p)" = "$version" ] ||
      { echo "the version resource's $name is not $version"; fail=1; }
  done
  grep -q '^Time/Date.*1970' <<<"$dump" || { echo "the PE header holds a time stamp: $exe"; fail=1; }
fi
if [ $fail -eq 0 ]; then
  echo "$exe: PE32 i386, Windows GUI, imports $(echo $dlls | tr ' ' ',')"
  echo "$exe: manifest asInvoker, Windows Vista to 11, DPI aware per monitor (v2; system on Vista to 8.1)${version:+; version $version in the manifest and the version resource, no time stamp}"
fi
exit $fail
