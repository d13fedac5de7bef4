// Hashed indexes of a document's locations and feature vectors, for the lookups of one
// operation.

#include "metamodel/param/paramlookup.h"

#include "metamodel/param/paramdocument.h"

#include <bit>
#include <cmath>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace param_lookup {

namespace {

// A stored number this close to a border is filed under both cells (twice the tolerance,
// to cover the rounding of the division).
constexpr double borderSlack = 2.0 * paramEqualTolerance;
// From 2^40 on, neighbouring doubles lie further apart than the tolerance: only equal
// numbers match, and their bits are their cell.
constexpr double exactFrom = 1099511627776.0;
// An entry near borders in more numbers than this is checked by every query instead.
constexpr std::size_t maxCellsPerEntry = 16;

std::uint64_t mix(std::uint64_t h, std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return h ^ (x ^ (x >> 31));
}

std::uint64_t cellOf(double x) {
    if (std::fabs(x) >= exactFrom)
        return std::bit_cast<std::uint64_t>(x);
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(std::floor(x / cellWidth + 0.5)));
}

bool allFinite(const std::vector<double>& xs) {
    for (double x : xs)
        if (!std::isfinite(x))
            return false;
    return true;
}

// Hash of the query's own cells.
std::uint64_t queryHash(std::uint64_t seed, const std::vector<double>& xs) {
    std::uint64_t h = seed;
    for (double x : xs)
        h = mix(h, cellOf(x));
    return h;
}

// Hashes of every cell combination a stored entry is filed under; empty when there are too
// many (the entry is then checked by every query).
std::vector<std::uint64_t> storedHashes(std::uint64_t seed, const std::vector<double>& xs) {
    std::vector<std::uint64_t> hashes{seed};
    for (double x : xs) {
        const std::uint64_t lo = cellOf(x - borderSlack);
        const std::uint64_t hi = cellOf(x + borderSlack);
        const std::size_t n = hashes.size();
        if (lo != hi && std::fabs(x) < exactFrom) {
            if (2 * n > maxCellsPerEntry)
                return {};
            for (std::size_t i = 0; i < n; ++i)
                hashes.push_back(mix(hashes[i], hi));
        }
        for (std::size_t i = 0; i < n; ++i)
            hashes[i] = mix(hashes[i], std::fabs(x) < exactFrom ? lo : cellOf(x));
    }
    return hashes;
}

std::uint64_t textHash(const mzComStringC& s) {
    const std::u16string& text = s.utf16();
    return std::hash<std::u16string_view>()(std::u16string_view(text));
}

// The exact parts of a vector: type, counts, longs and strings.
std::uint64_t vectorSeed(const m3dParamFeatureVectorValuesS& v) {
    std::uint64_t h = mix(textHash(v.type), v.longs.size());
    h = mix(h, v.doubles.size());
    h = mix(h, v.strings.size());
    h = mix(h, v.vectors2d.size());
    h = mix(h, v.vectors3d.size());
    for (std::int32_t x : v.longs)
        h = mix(h, static_cast<std::uint64_t>(static_cast<std::int64_t>(x)));
    for (const mzComStringC& s : v.strings)
        h = mix(h, textHash(s));
    return h;
}

// One list's index: entry numbers by hash, in ascending order.
template <class EntryT> struct tableS {
    std::size_t indexed = 0;
    std::unordered_map<std::uint64_t, std::vector<int>> buckets;
    std::vector<int> always;
    std::unordered_map<int, EntryT> entries;

    void clear() {
        indexed = 0;
        buckets.clear();
        always.clear();
        entries.clear();
    }

    void file(int j, std::uint64_t seed, const std::vector<double>& numbers, EntryT entry) {
        if (!allFinite(numbers))
            return; // matches nothing
        const std::vector<std::uint64_t> hashes = storedHashes(seed, numbers);
        if (hashes.empty())
            always.push_back(j);
        for (std::uint64_t h : hashes)
            buckets[h].push_back(j);
        entries.emplace(j, std::move(entry));
    }

    // The first entry in the query's bucket or the always-list that matches.
    template <class MatchT> int find(std::uint64_t hash, MatchT matches) const {
        int best = -1;
        auto scan = [&](const std::vector<int>& list) {
            for (int j : list) {
                if (best != -1 && j >= best)
                    return;
                if (matches(entries.at(j))) {
                    best = j;
                    return;
                }
            }
        };
        if (auto it = buckets.find(hash); it != buckets.end())
            scan(it->second);
        scan(always);
        return best;
    }
};

struct storedLocationS {
    int type;
    std::vector<double> key;
};

thread_local indexC* openIndex = nullptr;

} // namespace

class indexC {
public:
    explicit indexC(metaTreePtrT document) : document_(document) {}
    metaTreePtrT document() const { return document_; }

    void catchUpLocations(m3dParamDocumentC& doc) {
        const m3dParamLocationsC list = doc.getLocations();
        const std::size_t count = static_cast<std::size_t>(list.count());
        if (count < locations_.indexed)
            locations_.clear(); // entries went away: start again
        for (std::size_t j = locations_.indexed; j < count; ++j) {
            m3dParamLocationC loc = list.getElementAt(static_cast<int>(j));
            if (!loc.isKeyNode())
                continue;
            storedLocationS entry{loc.readType(), storedLocationKey(loc)};
            const std::vector<double> key = entry.key;
            locations_.file(static_cast<int>(j), mix(0, static_cast<std::uint64_t>(entry.type)),
                            key, std::move(entry));
        }
        locations_.indexed = count;
    }

    void catchUpVectors(m3dParamDocumentC& doc) {
        const m3dParamFeatureVectorsC list = doc.getFeatureVectors();
        const std::size_t count = static_cast<std::size_t>(list.count());
        if (count < vectors_.indexed)
            vectors_.clear();
        for (std::size_t j = vectors_.indexed; j < count; ++j) {
            m3dParamFeatureVectorC vec = list.getElementAt(static_cast<int>(j));
            if (!vec.isKeyNode())
                continue;
            m3dParamFeatureVectorValuesS values = vec.readValues();
            const std::uint64_t seed = vectorSeed(values);
            const std::vector<double> numbers = vectorNumbers(values);
            vectors_.file(static_cast<int>(j), seed, numbers, std::move(values));
        }
        vectors_.indexed = count;
    }

    tableS<storedLocationS> locations_;
    tableS<m3dParamFeatureVectorValuesS> vectors_;

private:
    metaTreePtrT document_;
};

std::vector<double> locationKey(int type, const paramFrameT& g, double len) {
    switch (type) {
    case 1:
        return {g[12], g[13], g[14], g[8] * len, g[9] * len, g[10] * len};
    case 2:
        return {g[12], g[13], g[14]};
    case 3:
        return {g[8] * len, g[9] * len, g[10] * len};
    case 4:
        return {g[0], g[1], g[2], g[4], g[5], g[6], g[8], g[9], g[10]};
    default:
        return std::vector<double>(g.begin(), g.end());
    }
}

std::vector<double> storedLocationKey(const m3dParamLocationC& loc) {
    // Read without adding what a location lacks: a search leaves the entries it passes over
    // as they are.
    const int type = loc.readType();
    if (type >= 1 && type <= 3) {
        // What these kinds store are their values.
        const m3dParamLocationValuesC values(loc.findChild(m3dParamLocationValuesC::keyName()));
        std::vector<double> out;
        for (int i = 0, n = type == 1 ? 6 : 3; i < n; ++i)
            out.push_back(values.getValueAt(i));
        return out;
    }
    return locationKey(type, loc.readFrame(), 1.0);
}

bool keysNearlyEqual(const std::vector<double>& a, const std::vector<double>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!paramNearlyEqual(a[i], b[i]))
            return false;
    return true;
}

std::vector<double> vectorNumbers(const m3dParamFeatureVectorValuesS& v) {
    std::vector<double> out(v.doubles);
    for (const auto& p : v.vectors2d)
        out.insert(out.end(), p.begin(), p.end());
    for (const auto& p : v.vectors3d)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

bool vectorsEqual(const m3dParamFeatureVectorValuesS& a, const m3dParamFeatureVectorValuesS& b) {
    if (a.type.compare(b.type, 1) != 0 || a.longs != b.longs ||
        a.strings.size() != b.strings.size() || a.vectors2d.size() != b.vectors2d.size() ||
        a.vectors3d.size() != b.vectors3d.size())
        return false;
    for (std::size_t i = 0; i < a.strings.size(); ++i)
        if (a.strings[i].compare(b.strings[i], 1) != 0)
            return false;
    return a.doubles.size() == b.doubles.size() &&
           keysNearlyEqual(vectorNumbers(a), vectorNumbers(b));
}

indexC* activeIndex(metaTreePtrT documentNode) {
    return openIndex != nullptr && openIndex->document() == documentNode ? openIndex : nullptr;
}

int findLocation(indexC& index, m3dParamDocumentC& doc, int type, const paramFrameT& frame,
                 double directionLength) {
    index.catchUpLocations(doc);
    const std::vector<double> want = locationKey(type, frame, directionLength);
    if (!allFinite(want))
        return -1;
    return index.locations_.find(
        queryHash(mix(0, static_cast<std::uint64_t>(type)), want),
        [&](const storedLocationS& s) { return s.type == type && keysNearlyEqual(s.key, want); });
}

int findFeatureVector(indexC& index, m3dParamDocumentC& doc,
                      const m3dParamFeatureVectorValuesS& candidate) {
    index.catchUpVectors(doc);
    const std::vector<double> numbers = vectorNumbers(candidate);
    if (!allFinite(numbers))
        return -1;
    return index.vectors_.find(
        queryHash(vectorSeed(candidate), numbers),
        [&](const m3dParamFeatureVectorValuesS& s) { return vectorsEqual(s, candidate); });
}

} // namespace param_lookup

paramLookupScopeC::paramLookupScopeC(metaTreePtrT doc) {
    if (doc.isNull() || param_lookup::activeIndex(doc) != nullptr)
        return;
    index_ = std::make_unique<param_lookup::indexC>(doc);
    previous_ = param_lookup::openIndex;
    param_lookup::openIndex = index_.get();
}

paramLookupScopeC::~paramLookupScopeC() {
    if (index_)
        param_lookup::openIndex = previous_;
}
