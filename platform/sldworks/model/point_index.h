// Internal to the model: points of a sketch plane found again by position in constant time,
// where a search through all of them would make long loops cost the square of their length.
#pragma once

#include "platform/sldworks/model/types.h"

#include <cmath>
#include <cstddef>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace swsim::detail {

// Points numbered as they are added, filed by the square cell of side `tolerance` their x
// and y lie in, so that the points within the tolerance of a position lie in its cell or the
// eight around it. Cells are kept as doubles: no coordinate overflows an integer.
class PointIndex {
public:
    explicit PointIndex(double tolerance) : tolerance_(tolerance) {}

    void add(Vec3 p, std::size_t number) { cells_[cellOf(p)].push_back({p, number}); }

    // The lowest number of the points within the tolerance of `p`, or -1 when there is none.
    long long firstWithin(Vec3 p) const {
        const auto [cx, cy] = cellOf(p);
        long long first = -1;
        for (double dx = -1.0; dx <= 1.0; dx += 1.0) {
            for (double dy = -1.0; dy <= 1.0; dy += 1.0) {
                const auto found = cells_.find({cx + dx, cy + dy});
                if (found == cells_.end())
                    continue;
                for (const auto& [q, number] : found->second)
                    if (distance(q, p) <= tolerance_ &&
                        (first < 0 || static_cast<long long>(number) < first))
                        first = static_cast<long long>(number);
            }
        }
        return first;
    }

private:
    using Cell = std::pair<double, double>;
    struct CellHash {
        std::size_t operator()(const Cell& c) const {
            return std::hash<double>()(c.first) * 31u ^ std::hash<double>()(c.second);
        }
    };
    Cell cellOf(Vec3 p) const {
        return {std::floor(p.x / tolerance_), std::floor(p.y / tolerance_)};
    }

    double tolerance_;
    std::unordered_map<Cell, std::vector<std::pair<Vec3, std::size_t>>, CellHash> cells_;
};

} // namespace swsim::detail
