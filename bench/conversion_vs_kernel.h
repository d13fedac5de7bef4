// What the conversion benchmarks share: a scratch output folder with the host services set
// up, the conversion of a model's meta text, the blank cut by all its tools in one OpenCASCADE
// Boolean, and the side-by-side timing of the two with their ratio.
#pragma once

#include "bench/kernel_cut.h"
#include "metamodel/core/metaobject.h"
#include "metamodel/core/registry.h"
#include "metamodel/m3d/register.h"
#include "natlinksolidworks/create_document.h"
#include "platform/host/services/host_services.h"
#include "platform/sldworks/session/session.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include <unistd.h>

struct benchFolderS {
    std::filesystem::path path;
    explicit benchFolderS(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
        hostsvc::resetHostServices();
        registerMetaCoreClasses();
        registerM3dClasses();
    }
    ~benchFolderS() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
        hostsvc::resetHostServices();
    }
};

inline double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The model read from its meta text, built and saved; false when anything was not built. Not
// inlined, so that a profiler (callgrind) shows each side whole.
[[gnu::noinline]] inline bool convertModelText(const std::string& text, const std::string& folder) {
    metaObjectC model;
    model.ctorFromText(mzComStringC(text.c_str()));
    swCreation3dS creation;
    creation.app = createSimulatedSldWorks();
    creation.outputLocation = folder;
    return createSWDocument(creation, model.getTreePtr()) == 0 && creation.failedItems.empty();
}

// Conversion (meta text read, part built and saved) against plain OpenCASCADE, each timed in
// every iteration; the counters are the fastest of each, so that a busy machine spoils less.
inline void compareWithKernel(benchmark::State& state, const std::string& text,
                              const std::string& folder, const std::function<bool()>& kernel) {
    double convertBest = std::numeric_limits<double>::infinity();
    double kernelBest = std::numeric_limits<double>::infinity();
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!convertModelText(text, folder))
            state.SkipWithError("the model was not built");
        convertBest = std::min(convertBest, secondsSince(start));
        start = std::chrono::steady_clock::now();
        if (!kernel())
            state.SkipWithError("OpenCASCADE did not cut the blank");
        kernelBest = std::min(kernelBest, secondsSince(start));
    }
    state.counters["convert_ms"] = convertBest * 1e3;
    state.counters["kernel_ms"] = kernelBest * 1e3;
    state.counters["ratio"] = convertBest / kernelBest;
}
