// Reading and printing the meta text: MB/s of a model of about 9 MB (sketches with lines
// and matrices, drillings, names), and the memory the store takes per node.
#include "platform/host/metatree/metatree_api.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <sstream>
#include <string>

namespace {

std::string modelText(int items) {
    std::ostringstream t;
    t.precision(17);
    t << "(PART (NAME \"Bench\") (ITEMS\n";
    for (int i = 0; i < items; ++i) {
        const double x = i * 0.1 + 1.0 / 3.0;
        if (i % 2 == 0) {
            t << "  (SKETCH (NAME \"S" << i << "\") (MAT 1.0 0.0 0.0 0.0 0.0 1.0 0.0 0.0 0.0 0.0 "
              << "1.0 0.0 " << x << " 2.5 -7.0 1.0) (SKETCHON (PLANE \"XY\"))\n"
              << "    (LOOP (LINE (POINT 0 0) (POINT " << x << " 0)) (LINE (POINT " << x
              << " 0) (POINT " << x << " 12.75)) (ARC (CENTER 1.5 2.5) (RADIUS " << x / 7
              << ") (ANGLES 0.0 3.141592653589793))))\n";
        } else {
            t << "  (DRILLING (NAME \"D" << i << "\") (STARTPOINT " << x << " " << x / 3
              << " 10) (DIRECTION 0 0 -1) (DIAMETER 4.2) (DEPTH 5) (COMMENT \"tab\\there\"))\n";
        }
    }
    t << "))\n";
    return t.str();
}

const std::string& sampleText() {
    static const std::string text = modelText(40000);
    return text;
}

// Heap bytes a node of the sample takes, measured on the first parse of the process (the
// store keeps and reuses the blocks of released nodes, so later parses take nothing new).
double bytesPerNode() {
    static const double measured = [] {
        IMetaTreeApi* api = getIMetaTreeApi();
        const std::int64_t liveBefore = api->liveNodeCount();
        const std::size_t heapBefore = mallinfo2().uordblks;
        metaTreePtrT root = api->parseText(sampleText(), "bench.meta");
        const double bytes = static_cast<double>(mallinfo2().uordblks - heapBefore);
        const double nodes = static_cast<double>(api->liveNodeCount() - liveBefore);
        api->release(root);
        return bytes / nodes;
    }();
    return measured;
}

void BM_ReadMetaText(benchmark::State& state) {
    IMetaTreeApi* api = getIMetaTreeApi();
    const std::string& text = sampleText();
    const double perNode = bytesPerNode();
    std::int64_t nodes = 0;
    for (auto _ : state) {
        const std::int64_t liveBefore = api->liveNodeCount();
        metaTreePtrT root = api->parseText(text, "bench.meta");
        state.PauseTiming();
        nodes = api->liveNodeCount() - liveBefore;
        api->release(root);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["bytes_per_node"] = perNode;
}

void BM_PrintMetaText(benchmark::State& state) {
    IMetaTreeApi* api = getIMetaTreeApi();
    metaTreePtrT root = api->parseText(sampleText(), "bench.meta");
    const auto style = state.range(0) == 0 ? metaPrintStyle::pretty : metaPrintStyle::compact;
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = api->print(root, style);
        bytes += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetLabel(style == metaPrintStyle::pretty ? "pretty" : "compact");
    api->release(root);
}

// Freeing a parsed tree (the parse is not timed).
void BM_ReleaseMetaText(benchmark::State& state) {
    IMetaTreeApi* api = getIMetaTreeApi();
    const std::string& text = sampleText();
    for (auto _ : state) {
        state.PauseTiming();
        metaTreePtrT root = api->parseText(text, "bench.meta");
        state.ResumeTiming();
        api->release(root);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

// A list of 100000 numbers: /0 with few decimals (as most numbers of a model), /1 needing all
// 17 digits; items per second are numbers printed.
void BM_PrintNumbers(benchmark::State& state) {
    IMetaTreeApi* api = getIMetaTreeApi();
    constexpr int count = 100000;
    std::ostringstream t;
    t.precision(17);
    t << "(NUMBERS";
    for (int i = 0; i < count; ++i)
        t << ' ' << (state.range(0) == 0 ? (i % 2000) * 0.25 - 7.5 : (i + 1) / 3.0);
    t << ")";
    metaTreePtrT root = api->parseText(t.str(), "numbers.meta");
    for (auto _ : state) {
        const std::string out = api->print(root, metaPrintStyle::compact);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
    state.SetLabel(state.range(0) == 0 ? "few decimals" : "all digits");
    api->release(root);
}

BENCHMARK(BM_ReadMetaText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReleaseMetaText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintNumbers)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintMetaText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
