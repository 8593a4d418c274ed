#!/usr/bin/env bash
# The capture benchmark in one command: builds the i686 target (x86_64 where 32-bit code cannot
# run), makes a throwaway prefix under the build folder, puts the synthetic workload into it once
# (a registry key tree under HKCU\Software\QuorvelBench and a file tree on drive Q:), then runs
# bench/capture_bench.cpp pinned to CPU 0 together with the prefix's wineserver, and prints its
# table.
# QUORVEL_BUILD_DIR moves the build folder (default build/); QUORVEL_BENCH_ROUNDS sets the
# repetitions (default 5); QUORVEL_BENCH_CPU the CPU (default 0); QUORVEL_BENCH_UNPINNED=1 adds
# a run of the save on all CPUs, QUORVEL_BENCH_SPLIT=1 one with its threads placed on two CPUs.
# The build, the prefix and the workload are scripts/bench-common.sh's.
set -euo pipefail
bench_target=capture_bench
source "$(dirname "$(realpath "$0")")/bench-common.sh"

echo "== Capture benchmark (pinned to CPU $cpu with the wineserver, $rounds rounds)"
print_machine
echo "load average before: $(load)"
run_wine "$(winepath -w "$bench_exe")" --root HKEY_CURRENT_USER --key 'Software\QuorvelBench' --drive Q \
  --folder 'Q:\' --rounds "$rounds" --server-pid "$server_pid"
echo "load average after: $(load)"

# The save's two threads can only overlap on more than one CPU: on request, the save and the
# sections again with the bench and the server free to use every CPU. Registry calls then cost
# whatever the scheduler makes of the round trips (see docs/performance.md).
if [ "${QUORVEL_BENCH_UNPINNED:-0}" = 1 ] && [ "$(nproc)" -gt 1 ]; then
  echo
  echo "== The save on all $(nproc) CPUs (not pinned), $rounds rounds"
  taskset -p -c "0-$(( $(nproc) - 1 ))" "$server_pid" >/dev/null
  cpu="0-$(( $(nproc) - 1 ))"
  run_wine "$(winepath -w "$bench_exe")" --root HKEY_CURRENT_USER --key 'Software\QuorvelBench' --drive Q \
    --folder 'Q:\' --rounds "$rounds" --server-pid "$server_pid" --figures save
  echo "load average after: $(load)"
fi

# On request, the save with its two threads on two CPUs: the registry thread beside the server
# on the pinned CPU, the drives thread on the next one (see bench/capture_bench.cpp).
if [ "${QUORVEL_BENCH_SPLIT:-0}" = 1 ] && [ "$(nproc)" -gt 1 ]; then
  first=${QUORVEL_BENCH_CPU:-0}
  second=$(( (first + 1) % $(nproc) ))
  echo
  echo "== The save with its threads on CPU $first (registry, with the server) and CPU $second (drives), $rounds rounds"
  taskset -p -c "$first" "$server_pid" >/dev/null
  cpu="$first,$second"
  run_wine "$(winepath -w "$bench_exe")" --root HKEY_CURRENT_USER --key 'Software\QuorvelBench' --drive Q \
    --folder 'Q:\' --rounds "$rounds" --server-pid "$server_pid" --figures save --split-threads "$first,$second"
  echo "load average after: $(load)"
fi
