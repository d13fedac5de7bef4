#!/usr/bin/env bash
# Whole processes: `natlinkhost convert` of the drilled plate of drilling_bench (1, 100 and
# 1000 drillings) beside plain_plate, the same solid made by a program using OpenCASCADE alone.
# Each command runs under hyperfine (Debian package `hyperfine`) without a shell, after warm-up
# runs, many times; the table gives the median wall time of each and the ratio of the medians.
# Usage: bench/process_bench.sh [BUILD_DIR [OTHER_NATLINKHOST]]
#   BUILD_DIR defaults to build/default; OTHER_NATLINKHOST (another build's host) is measured
#   beside, for a before-and-after. RUNS (default 40) sets the runs of each command.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/default}")
other=${2:+$(realpath "$2")}
runs=${RUNS:-40}
host=$build/tools/natlinkhost/natlinkhost
plain=$build/bench/plain_plate
command -v hyperfine >/dev/null || { echo "process_bench: needs hyperfine (apt-get install hyperfine)" >&2; exit 2; }
[ -x "$host" ] && [ -x "$plain" ] || { echo "process_bench: build natlinkhost and plain_plate in $build" >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '%-6s %12s %12s %7s' drills plain_ms convert_ms ratio
[ -n "$other" ] && printf ' %12s %7s' other_ms ratio
echo
for n in 1 100 1000; do
  "$plain" --meta "$n" >"$scratch/plate$n.meta"
  mkdir -p "$scratch/out"
  r=$runs; [ "$n" -eq 1000 ] && r=$(( (runs + 3) / 4 ))
  commands=("$plain $n" "$host convert $scratch/plate$n.meta -o $scratch/out")
  [ -n "$other" ] && commands+=("$other convert $scratch/plate$n.meta -o $scratch/out")
  hyperfine -N --warmup 3 --runs "$r" --export-json "$scratch/$n.json" "${commands[@]}" >/dev/null
  python3 - "$scratch/$n.json" "$n" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
med = [r["median"] * 1e3 for r in results]
line = "%-6s %12.1f %12.1f %7.2f" % (sys.argv[2], med[0], med[1], med[1] / med[0])
if len(med) > 2:
    line += " %12.1f %7.2f" % (med[2], med[2] / med[0])
print(line)
PY
done
