#!/usr/bin/env bash
# Checks that every C++ source of the repository is formatted as .clang-format says, with the
# one clang-format version the project pins (another version formats some lines differently).
# Usage: scripts/check-format.sh          lists the files that differ and fails
#        scripts/check-format.sh --fix    formats them in place
set -euo pipefail
top=$(dirname "$(dirname "$(realpath "$0")")")
cd "$top"
formatter=clang-format-16
command -v "$formatter" >/dev/null || { echo "$formatter is missing: run scripts/deps.sh" >&2; exit 2; }

mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$formatter" -i
  exit 0
fi
# One run over all files; it names each file where a line differs.
mapfile -t unformatted < <(printf '%s\0' "${files[@]}" | xargs -0 -n 100 "$formatter" --dry-run 2>&1 |
  sed -nE 's/^(.+):[0-9]+:[0-9]+: (warning|error): .*/\1/p' | sort -u)
if [ ${#unformatted[@]} -gt 0 ]; then
  echo "== Format check: ${#unformatted[@]} files differ from .clang-format ($formatter):" >&2
  printf '   %s\n' "${unformatted[@]}" >&2
  echo "   Run scripts/check-format.sh --fix and commit." >&2
  exit 1
fi
echo "== Format check: ${#files[@]} files formatted"
