#!/usr/bin/env bash
# The short fuzz run of every submission (make fuzz-smoke): builds the three libFuzzer targets
# (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in build/fuzz, replays every
# regression input once, then runs each target from the repository's seeds for a bounded
# number of inputs with a fixed seed. A crash, sanitizer report, leak, hang past -timeout or
# growth past -rss_limit_mb fails the run; what each target said is in build/fuzz/logs/ and
# the inputs that failed are in build/fuzz/findings/.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build/fuzz

# The launcher is always given, empty without ccache, so that an earlier configure of
# build/fuzz that named one this machine lacks cannot break the build.
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=)
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNATLINK_FUZZ=ON >/dev/null || exit 1
cmake --build "$build" -j "${JOBS:-$(nproc)}" \
    --target fuzz_document_reader fuzz_meta_text fuzz_conversion_road || exit 1

logs=$build/logs
findings=$build/findings
work=$build/corpus
rm -rf "$logs" "$findings" "$work" "$build/tmp"
mkdir -p "$logs" "$findings" "$work/document" "$work/meta" "$work/road" "$build/tmp"
export TMPDIR=$root/$build/tmp MMGT_OPT=0
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/cmake/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

limits=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1)
# An input of the road target is converted twice and each saved document read four times
# (inspected, checked in, exported as STEP and as STL), each time replaying its features: its
# own, longer, limit (sweep-loft-leak.meta, whose loft replays slowly, takes some 40 s).
road_limits=(-timeout=60)
failed=()

# run NAME LOG ARGS...: one run of fuzz_NAME; a failure is kept with its log's end.
run() {
    local name=$1 log=$logs/$2
    shift 2
    if ! "$build/fuzz/fuzz_$name" -artifact_prefix="$root/$findings/$name-" "${limits[@]}" "$@" \
        >"$log" 2>&1; then
        failed+=("$log")
        echo "fuzz-smoke: fuzz_$name failed, see $log:"
        grep -E "^(FINDING|==[0-9]+==ERROR|SUMMARY|.*runtime error)" "$log" | head -5
    fi
}

# Every regression input on its own, so that each one that fails is named.
for input in fuzz/corpus/document/* fuzz/regressions/document/*; do
    [ -f "$input" ] && run document_reader "replay-$(basename "$input").log" "$input"
done
for input in fuzz/regressions/meta/*; do
    [ -f "$input" ] && run meta_text "replay-$(basename "$input").log" "$input"
done
for input in fuzz/regressions/road/*; do
    [ -f "$input" ] && run conversion_road "replay-$(basename "$input").log" "${road_limits[@]}" \
        "$input"
done

run document_reader document.log -seed=1 -runs=40000 -max_total_time=10 \
    "$work/document" fuzz/corpus/document
run meta_text meta.log -seed=1 -runs=40000 -max_total_time=10 \
    -dict=fuzz/conversion_road.dict "$work/meta" examples tests/natcheckin/golden
run conversion_road road.log "${road_limits[@]}" -seed=1 -runs=100 -max_total_time=60 \
    -dict=fuzz/conversion_road.dict "$work/road" examples tests/natcheckin/golden fuzz/corpus/road

for log in document.log meta.log road.log; do
    grep -h "stat::number_of_executed_units\|stat::peak_rss_mb" "$logs/$log" |
        sed "s|^|fuzz-smoke: ${log%.log}: |"
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz-smoke: ${#failed[@]} run(s) failed; inputs in $findings"
    exit 1
fi
echo "fuzz-smoke: no findings"
