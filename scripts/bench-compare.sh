#!/usr/bin/env bash
# The compare benchmark in one command: builds bench/compare_bench.cpp, makes (or reuses) the
# capture benchmark's prefix with its workload (scripts/bench-common.sh), then runs the bench
# pinned to CPU 0 together with the prefix's wineserver and prints its tables. The bench saves a
# configuration, makes about 30,000 changes to the workload, saves again, undoes the changes and
# checks that they are gone; while it runs the prefix is marked dirty, so that a run that is
# interrupted or cannot put everything back leaves a prefix that the next run makes anew.
# QUORVEL_BUILD_DIR moves the build folder (default build/); QUORVEL_BENCH_ROUNDS sets the
# repetitions (default 5); QUORVEL_BENCH_CPU the CPU (default 0).
set -euo pipefail
bench_target=compare_bench
source "$(dirname "$(realpath "$0")")/bench-common.sh"

echo "== Compare benchmark (pinned to CPU $cpu with the wineserver, $rounds rounds)"
print_machine
echo "load average before: $(load)"
workload_dirty
rc=0
run_wine "$(winepath -w "$bench_exe")" --root HKEY_CURRENT_USER --key 'Software\QuorvelBench' --drive Q \
  --folder 'Q:\' --work 'C:\QuorvelCompareBench' --rounds "$rounds" --server-pid "$server_pid" || rc=$?
echo "load average after: $(load)"
if [ "$rc" -eq 0 ]; then
  workload_clean
else
  echo "The bench failed (exit code $rc): the next benchmark run makes the prefix anew." >&2
fi
exit "$rc"
