#include "metamodel/m2d/point2d.h"

#include <cmath>
#include <functional>
#include <unordered_map>

namespace {

vectorC2d<double> toVector(const std::array<double, 2>& v) {
    return {v[0], v[1]};
}

metaTreePtrT pointChildAt(const metaObjectVirtualDataBaseC& list, int index) {
    return metaObjListContainerC(list.getTreePtr()).getAtByKey(mObjPoint2dC::tagName(), index);
}

} // namespace

vectorC2d<double> mObjPoint2dC::getPoint(int* ok) const {
    return toVector(readVector2d(getTreePtr(), ok));
}

bool mObjPoint2dC::setPoint(const vectorC2d<double>& p) {
    const double values[2] = {p.x, p.y};
    return setDoubleValues(getTreePtr(), values, 2);
}

int metaObjListPoint2dContainerC::count() const {
    return countByKey(mObjPoint2dC::tagName());
}

metaTreePtrT metaObjListPoint2dContainerC::getAt(int index) const {
    return getAtByKey(mObjPoint2dC::tagName(), index);
}

mObjPoint2dC metaObjListPoint2dContainerC::getPointAt(int index) const {
    return mObjPoint2dC(getAt(index));
}

vectorC2d<double> metaObjListPoint2dContainerC::getPoint2dAt(int index) const {
    return getPointAt(index).getPoint();
}

bool metaObjListPoint2dContainerC::setPointAt(int index, const vectorC2d<double>& p) {
    mObjPoint2dC point = getPointAt(index);
    return point.isValid() && point.setPoint(p);
}

mObjPoint2dC appendPoint2d(metaObjectVirtualDataBaseC& list, double x, double y) {
    if (!list.isValid())
        return mObjPoint2dC();
    mObjPoint2dC point;
    if (!point.ctorNewNode(mObjPoint2dC::tagName()) || !point.setPoint({x, y}))
        return mObjPoint2dC();
    if (list.appendChild(point.getTreePtr()).isNull())
        return mObjPoint2dC();
    return mObjPoint2dC(point.getTreePtr());
}

int collectPoint2dList(const metaObjListPoint2dContainerC& list,
                       std::vector<vectorC2d<double>>& out) {
    out.clear();
    int firstBad = -1;
    for (metaTreePtrT point : list.childrenByKey(mObjPoint2dC::tagName())) {
        int ok = 0;
        const vectorC2d<double> p = mObjPoint2dC(point).getPoint(&ok);
        if (firstBad < 0 && !(ok && std::isfinite(p.x) && std::isfinite(p.y)))
            firstBad = static_cast<int>(out.size());
        out.push_back(p);
    }
    return firstBad;
}

void mergeRepeatedPoints2d(std::vector<vectorC2d<double>>& points, double tolerance) {
    // Kept points by the cell of side `tolerance` they fall in: a point within the tolerance
    // of a kept one lies in that one's cell or a neighbouring cell. Cells are kept as doubles,
    // so that no coordinate, however large, overflows an integer.
    const double side = tolerance > 0.0 && std::isfinite(tolerance) ? tolerance : 0.0;
    struct cellHashS {
        std::size_t operator()(const std::pair<double, double>& c) const {
            return std::hash<double>()(c.first) * 31u ^ std::hash<double>()(c.second);
        }
    };
    std::unordered_map<std::pair<double, double>, std::vector<std::size_t>, cellHashS> cells;
    auto cellOf = [&](double v) { return side > 0.0 ? std::floor(v / side) : v; };
    std::size_t kept = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const vectorC2d<double> p = points[i];
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            points[kept++] = p;
            continue;
        }
        const double cx = cellOf(p.x);
        const double cy = cellOf(p.y);
        const double reach = side > 0.0 ? 1.0 : 0.0;
        bool repeated = false;
        for (double dx = -reach; dx <= reach && !repeated; dx += 1.0) {
            for (double dy = -reach; dy <= reach && !repeated; dy += 1.0) {
                const auto found = cells.find({cx + dx, cy + dy});
                if (found == cells.end())
                    continue;
                for (std::size_t k : found->second)
                    if (std::abs(points[k].x - p.x) <= side && std::abs(points[k].y - p.y) <= side)
                        repeated = true;
            }
        }
        if (repeated)
            continue;
        cells[{cx, cy}].push_back(kept);
        points[kept++] = p;
    }
    points.resize(kept);
}

vectorC2d<double> getFirstPoint2d(const metaObjectVirtualDataBaseC& pointList) {
    return mObjPoint2dC(pointChildAt(pointList, 0)).getPoint();
}

vectorC2d<double> getSecondPoint2d(const metaObjectVirtualDataBaseC& pointList) {
    return mObjPoint2dC(pointChildAt(pointList, 1)).getPoint();
}

vectorC2d<double> getPoint2d(const metaObjectVirtualDataBaseC& shape) {
    return mObjPoint2dC(shape.findChild(mObjPoint2dC::tagName())).getPoint();
}

mObjPoint2dC getPoint2dAt(const metaObjectVirtualDataBaseC& list, int index) {
    return mObjPoint2dC(pointChildAt(list, index));
}

bool circleThroughThreePoints(const vectorC2d<double>& p1, const vectorC2d<double>& p2,
                              const vectorC2d<double>& p3, vectorC2d<double>& centre) {
    // Points c on the bisector of p1-p2 satisfy (p2 - p1) . c = (|p2|^2 - |p1|^2) / 2.
    const double a1 = p2.x - p1.x, b1 = p2.y - p1.y;
    const double a2 = p3.x - p1.x, b2 = p3.y - p1.y;
    const double c1 = 0.5 * (p2.x * p2.x + p2.y * p2.y - p1.x * p1.x - p1.y * p1.y);
    const double c2 = 0.5 * (p3.x * p3.x + p3.y * p3.y - p1.x * p1.x - p1.y * p1.y);
    const double det = a1 * b2 - a2 * b1;
    if (det == 0.0 || !std::isfinite(det))
        return false;
    const double x = (c1 * b2 - c2 * b1) / det;
    const double y = (a1 * c2 - a2 * c1) / det;
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    centre = {x, y};
    return true;
}
