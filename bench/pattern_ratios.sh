#!/usr/bin/env bash
# The checks of large patterns against plain OpenCASCADE, by one command: pattern_bench's
# conversions of a rollback of 400 copies, a 30 x 30 grid and a sketch-driven pattern of 2000
# holes beside the same blank cut by the same cylinders in one Boolean (each at most 1.5 times
# it), and a ring of 720 holes half a degree apart and 50 overlapping holes 0.01 mm apart (each
# under 5 s). Exit 1 when a check fails.
# Usage: bench/pattern_ratios.sh [BUILD_DIR]
#   REPS=N (default 3) repetitions of each benchmark; every figure is the fastest of them (each
#   repetition times both sides twice, in turn, so a busy machine weighs on both alike).
#   INSTRUCTIONS=1 also counts the instructions of one conversion and one kernel cut of the two
#   ratio models with callgrind (a few minutes each), a ratio the machine's load does not move.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/default}")
bench=$build/bench/pattern_bench
[ -x "$bench" ] || { echo "pattern_ratios: build pattern_bench in $build" >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$bench" --benchmark_filter='^BM_(RollbackOf400Copies|LinearPattern30x30|SketchDriven2000|CircularPattern720|OverlappingHoles50)/' \
  --benchmark_repetitions="${REPS:-3}" --benchmark_format=json --benchmark_out="$scratch/out.json" \
  --benchmark_out_format=json >/dev/null
if [ "${INSTRUCTIONS:-0}" = 1 ]; then
  for model in RollbackOf400Copies LinearPattern30x30; do
    valgrind --tool=callgrind --callgrind-out-file="$scratch/$model.cg" "$bench" \
      --benchmark_filter="^Once/$model/" >/dev/null 2>&1
    callgrind_annotate --inclusive=yes "$scratch/$model.cg" >"$scratch/$model.txt"
  done
fi
python3 - "$scratch" "${INSTRUCTIONS:-0}" <<'PY'
import json, os, re, sys
scratch, instructions = sys.argv[1], sys.argv[2] == "1"
runs = json.load(open(os.path.join(scratch, "out.json")))["benchmarks"]
best = {}
for run in runs:
    if run.get("run_type") != "iteration":
        continue
    name = run["name"].split("/")[0][3:]
    got = best.setdefault(name, {"convert_ms": float("inf"), "kernel_ms": float("inf")})
    for key in got:
        got[key] = min(got[key], run[key])
checks = [("RollbackOf400Copies", "ratio", 1.5), ("LinearPattern30x30", "ratio", 1.5),
          ("SketchDriven2000", "ratio", 1.5), ("CircularPattern720", "convert_ms", 5000),
          ("OverlappingHoles50", "convert_ms", 5000)]
failed = False
print("%-22s %11s %11s %7s   %s" % ("model", "convert_ms", "kernel_ms", "ratio", "check"))
for name, what, limit in checks:
    got = best[name]
    ratio = got["convert_ms"] / got["kernel_ms"]
    value = ratio if what == "ratio" else got["convert_ms"]
    ok = value <= limit
    failed = failed or not ok
    print("%-22s %11.1f %11.1f %7.3f   %s <= %g: %s" % (name, got["convert_ms"], got["kernel_ms"],
                                                      ratio, what, limit, "ok" if ok else "FAILED"))
if instructions:
    print("\ninstructions of one conversion and one kernel cut (callgrind, inclusive)")
    for name in ("RollbackOf400Copies", "LinearPattern30x30"):
        counts = {}
        for line in open(os.path.join(scratch, name + ".txt")):
            for key, pattern in (("convert", r":convertModelText\("), ("kernel", r"::kernelCut\(")):
                if key not in counts and re.search(pattern, line):
                    counts[key] = int(line.split()[0].replace(",", ""))
        ratio = counts["convert"] / counts["kernel"]
        ok = ratio <= 1.5
        failed = failed or not ok
        print("%-22s %9.3f G %9.3f G %7.3f   ratio <= 1.5: %s" % (
            name, counts["convert"] / 1e9, counts["kernel"] / 1e9, ratio, "ok" if ok else "FAILED"))
sys.exit(1 if failed else 0)
PY
