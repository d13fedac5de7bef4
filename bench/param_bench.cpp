// Parametric transform and scale of a root model whose one instance lists n feature
// instances, each with a location and a feature vector of its own (so every lookup misses
// and every instance is copied): the time per instance should not grow with n. And one
// location lookup that misses among n locations.
#include "metamodel/param/paramdocument.h"
#include "metamodel/param/paramops.h"
#include "metamodel/param/paramregister.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

// Ten instances a feature, as a pattern of holes would have.
constexpr int instancesPerFeature = 10;

std::string paramText(int n) {
    std::ostringstream t;
    t << "(PDOC (PDOCPREFS (UNITBASE 1.0)) (ROOTMODEL \"Root\")"
      << " (PMODELS (PPART (NAME \"Root\") (PMODELIREFS 0)))"
      << " (PMODELIS (PPARTI (PANNOIREFS) (PFEATIREFS";
    for (int i = 0; i < n; ++i)
        t << ' ' << i;
    t << ")))  (PFEATS";
    for (int f = 0; f * instancesPerFeature < n; ++f) {
        t << " (PFEAT (PFEATIREFS";
        for (int i = f * instancesPerFeature; i < n && i < (f + 1) * instancesPerFeature; ++i)
            t << ' ' << i;
        t << "))";
    }
    t << ") (PFEATIS";
    for (int i = 0; i < n; ++i)
        t << " (PFEATI (PFEATUREREF " << i / instancesPerFeature << ") (PLOCATIONREF " << i
          << ") (PFEATUREVECTORREF " << i << ") (PANNOIREFS))";
    t << ") (PLOCS";
    for (int i = 0; i < n; ++i)
        t << " (PLOC (TYPE 0) (PLOCVALS " << i % 97 << ".5 " << i / 97 << ".25 0.0 0.0 0.0 "
          << (i % 7) * 15 << ".0))";
    t << ") (PFEATVECS";
    for (int i = 0; i < n; ++i)
        t << " (PFEATVEC (TYPE \"HOLE\") (PDELS " << 2 + i % 5 << ".0 " << i % 13
          << ".0) (PV3ELS (POINT3D " << i << ".5 1.0 0.0)))";
    t << ") (PFEATVECDESCS (PFEATVECDESC (TYPE \"HOLE\")"
      << " (PFEATELDESCSD (PFEATVECDDESC (SCALEINV 0)) (PFEATVECDDESC (SCALEINV 1)))"
      << " (PFEATELDESCSV3 (PFEAETVECV3DESC (SCALEINV 0) (TRANSINV 0) (ROTINV 0))))))";
    return t.str();
}

// Rotation about z by 90 degrees with a translation.
constexpr double moveM[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 10, -5, 2, 1};

template <class OpT> void runOnFreshDocuments(benchmark::State& state, OpT op) {
    registerParamClasses();
    const int n = static_cast<int>(state.range(0));
    const std::string text = paramText(n);
    for (auto _ : state) {
        state.PauseTiming();
        metaObjectC owner;
        owner.ctorFromText(mzComStringC(text.c_str()));
        m3dParamDocumentC doc(owner.getTreePtr());
        state.ResumeTiming();
        op(doc);
        state.PauseTiming();
        if (doc.getFeatureInstances().count() != 2 * n)
            state.SkipWithError("not every instance was copied");
        owner = metaObjectC(); // freed outside the timing
        state.ResumeTiming();
    }
    state.counters["per_instance"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

void BM_ParamTransform(benchmark::State& state) {
    runOnFreshDocuments(state,
                        [](m3dParamDocumentC& doc) { doc.transform(paramMatrixFrom(moveM)); });
}

void BM_ParamScale(benchmark::State& state) {
    runOnFreshDocuments(state, [](m3dParamDocumentC& doc) { doc.getRootModel().scale(2.0); });
}

void BM_MissedLocationLookup(benchmark::State& state) {
    registerParamClasses();
    const int n = static_cast<int>(state.range(0));
    metaObjectC owner;
    owner.ctorFromText(mzComStringC(paramText(n).c_str()));
    m3dParamDocumentC doc(owner.getTreePtr());
    const double absent[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -1, -1, 1};
    for (auto _ : state) {
        if (doc.findLocation(0, absent, 1.0) != -1)
            state.SkipWithError("the absent location was found");
    }
}

BENCHMARK(BM_ParamTransform)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParamScale)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MissedLocationLookup)->Arg(8000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
