#!/usr/bin/env bash
# Every test: the source format, native unit tests (also under sanitizers), the fuzz targets for a
# bounded time, both Windows builds (the product checked as PE32 GUI with system
# imports only), and the end-to-end tests of the product under Wine 10 WoW64. Ends
# with one summary line and a non-zero exit on any failure.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
logs="$root/build/test-logs"
mkdir -p "$logs"
failed_steps=()
passed=0
failed=0

count() {  # adds the gtest counts of a log to the totals
  local p f
  local n
  for n in $(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$1"); do passed=$((passed + n)); done
  for n in $(sed -n 's/^\[  FAILED  \] \([0-9]*\) test.*/\1/p' "$1"); do failed=$((failed + n)); done
}

step() {  # step NAME COMMAND...: runs a step, keeps going on failure
  local name=$1
  shift
  echo "== $name"
  if ! "$@"; then
    failed_steps+=("$name")
  fi
}

step "source format (clang-format)" scripts/check-format.sh
step "native build" bash -c 'cmake --preset native >/dev/null && cmake --build --preset native -j2'
step "unit tests" bash -c "set -o pipefail; ./build/native/tivoler_unit --gtest_brief=1 | tee '$logs/unit.log'"
count "$logs/unit.log"
step "sanitizer build" bash -c 'cmake --preset native-sanitize >/dev/null && cmake --build --preset native-sanitize -j2'
step "unit tests under ASan and UBSan" bash -c "set -o pipefail; ./build/native-sanitize/tivoler_unit --gtest_brief=1 | tee '$logs/unit-sanitize.log'"
count "$logs/unit-sanitize.log"
step "fuzz targets (bounded)" env FUZZ_SECONDS="${FUZZ_SECONDS:-20}" scripts/fuzz.sh
step "win32 build" bash -c 'cmake --preset win32 >/dev/null && cmake --build --preset win32 -j2'
step "win32 product check" scripts/check-pe.sh build/win32/tivoler.exe \
  "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)"
step "docs against the build (version, links)" /usr/bin/python3 scripts/check-docs.py \
  "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)"
step "win64 build" bash -c 'cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2'
step "end-to-end tests (Wine 10)" bash -c "set -o pipefail; scripts/e2e.sh --gtest_brief=1 | tee '$logs/e2e.log'"
count "$logs/e2e.log"

echo
for s in "${failed_steps[@]}"; do echo "failed step: $s"; done
# A failed step without failed tests still fails the run.
[ ${#failed_steps[@]} -gt 0 ] && [ "$failed" -eq 0 ] && failed=1
echo "$passed passed, $failed failed"
[ ${#failed_steps[@]} -eq 0 ]
