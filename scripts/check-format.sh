#!/usr/bin/env bash
# Fails when a source file under src/ differs from what clang-format (Debian's, with the
# committed .clang-format) makes of it, and names the files. `scripts/check-format.sh --fix`
# formats them in place.
set -u
cd "$(dirname "$0")/.."
fix=false
[ "${1:-}" = "--fix" ] && fix=true
bad=()
while IFS= read -r file; do
  if $fix; then
    clang-format -i "$file"
  elif ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    bad+=("$file")
  fi
done < <(git ls-files -- 'src/*.cpp' 'src/*.h')
if [ ${#bad[@]} -gt 0 ]; then
  echo "not formatted as .clang-format says (scripts/check-format.sh --fix):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
