#!/usr/bin/env bash
# Whole processes: `natlinkhost convert` of the drilled plate of drilling_bench (1, 100 and
# 1000 drillings) beside plain_plate, the same solid made by a program using OpenCASCADE alone.
# The commands run in turn (plain, convert, other, plain, ...) so that a busy machine weighs on
# each alike, after three warm-up runs each; every run's wall time and CPU time (user + system,
# from wait4) is taken, and the table gives the medians and the ratios of the medians.
# Usage: bench/process_bench.sh [BUILD_DIR [OTHER_NATLINKHOST]]
#   BUILD_DIR defaults to build/default; OTHER_NATLINKHOST (another build's host) is measured
#   beside, for a before-and-after. RUNS (default 40; a quarter for 1000 drillings) sets the
#   runs of each command.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/default}")
other=${2:+$(realpath "$2")}
host=$build/tools/natlinkhost/natlinkhost
plain=$build/bench/plain_plate
[ -x "$host" ] && [ -x "$plain" ] || { echo "process_bench: build natlinkhost and plain_plate in $build" >&2; exit 2; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for n in 1 100 1000; do "$plain" --meta "$n" >"$scratch/plate$n.meta"; done
python3 - "$plain" "$host" "$scratch" "${RUNS:-40}" ${other:+"$other"} <<'PY'
import os, statistics, subprocess, sys, time
plain, host, scratch, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
hosts = [host] + sys.argv[5:]

def once(argv):
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit("process_bench: %s failed (%d)" % (" ".join(argv), status))
    return wall * 1e3, (usage.ru_utime + usage.ru_stime) * 1e3

head = "%-6s %-8s %9s %9s" % ("drills", "", "plain", "convert")
head += "".join(" %9s %6s" % ("other", "") for _ in hosts[1:])
print(head + "   convert/plain" + "".join("  other/plain" for _ in hosts[1:]))
for n in (1, 100, 1000):
    out = os.path.join(scratch, "out")
    commands = [[plain, str(n)]] + [[h, "convert", os.path.join(scratch, "plate%d.meta" % n),
                                     "-o", out] for h in hosts]
    count = runs if n < 1000 else max(3, runs // 4)
    for argv in commands:
        for _ in range(3):
            once(argv)
    taken = [[] for _ in commands]
    for r in range(count):
        for k in range(len(commands)):
            i = (r + k) % len(commands)
            taken[i].append(once(commands[i]))
    for what, index in (("wall ms", 0), ("cpu ms", 1)):
        med = [statistics.median(t[index] for t in runs_of) for runs_of in taken]
        line = "%-6s %-8s %9.1f %9.1f" % (n, what, med[0], med[1])
        line += "".join(" %9.1f %6s" % (m, "") for m in med[2:])
        line += "   %13.2f" % (med[1] / med[0]) + "".join("  %11.2f" % (m / med[0]) for m in med[2:])
        print(line, flush=True)
PY
