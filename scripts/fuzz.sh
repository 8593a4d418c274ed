#!/usr/bin/env bash
# Runs libFuzzer targets of a native build for a fixed time each, from their seeds and the corpus
# of earlier runs; any finding (crash, sanitizer report, timeout, leak) fails the run and leaves
# its input under <build>/fuzz-findings/.
# Usage: scripts/fuzz.sh <build folder> <seconds> [target...]   (default: every *_fuzz target)
set -euo pipefail
build=$(realpath "${1:?build folder}")
seconds=${2:?seconds}
shift 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$build" -maxdepth 1 -type f -name '*_fuzz' -executable -printf '%f\n' | sort)
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in $build" >&2; exit 1; }

status=0
for target in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$target"
  seeds="$build/fuzz-seeds/$target"
  findings="$build/fuzz-findings"
  mkdir -p "$corpus" "$findings"
  dirs=("$corpus")
  [ -d "$seeds" ] && dirs+=("$seeds")
  log="$build/fuzz-$target.log"
  echo "== Fuzzing $target for ${seconds}s (log: $log)"
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/$target-" "${dirs[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" || true
  else
    echo "== $target: a finding (input under $findings/):" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
