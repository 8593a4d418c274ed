#!/usr/bin/env bash
# The finders' benchmark in one command: builds bench/tools_bench.cpp, makes (or reuses) the
# benchmark prefix (scripts/bench-common.sh), writes the finders' file tree into it once
# (scripts/make-tools-workload.py, fixed seed: 100,000 files in 5,000 folders), then runs the
# bench pinned to one CPU together with the prefix's wineserver and prints its table.
# QUORVEL_BUILD_DIR, QUORVEL_BENCH_ROUNDS and QUORVEL_BENCH_CPU as for the other benchmarks.
set -euo pipefail
bench_target=tools_bench
source "$(dirname "$(realpath "$0")")/bench-common.sh"

tree="$WINEPREFIX/drive_c/QuorvelToolsBench"
tree_id=$(sha256sum scripts/make-tools-workload.py | cut -c1-16)
tree_marker="$WINEPREFIX/.quorvel-tools-workload"
if [ "$(cat "$tree_marker" 2>/dev/null)" != "$tree_id" ]; then
  echo "Writing the finders' file tree..." >&2
  rm -rf "$tree"
  python3 scripts/make-tools-workload.py "$tree"
  echo "$tree_id" >"$tree_marker"
fi

echo "== Finders benchmark (pinned to CPU $cpu with the wineserver, $rounds rounds)"
print_machine
echo "load average before: $(load)"
run_wine "$(winepath -w "$bench_exe")" --folder 'C:\QuorvelToolsBench\' --rounds "$rounds" --server-pid "$server_pid"
echo "load average after: $(load)"
