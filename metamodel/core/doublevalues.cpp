#include "metamodel/core/doublevalues.h"

#include <cstddef>

namespace {

template <std::size_t N> std::array<double, N> readVector(metaTreePtrT node, int* ok) {
    IMetaTreeApi& a = *getIMetaTreeApi();
    std::array<double, N> v{};
    if (ok)
        *ok = 0;
    if (!a.isList(node) || a.childCount(node) != N)
        return v;
    std::size_t i = 0;
    for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c), ++i) {
        std::optional<double> d = a.getDouble(c);
        if (!d)
            return std::array<double, N>{};
        v[i] = *d;
    }
    if (ok)
        *ok = 1;
    return v;
}

} // namespace

bool setDoubleValues(metaTreePtrT node, const double* values, int n) {
    IMetaTreeApi& a = *getIMetaTreeApi();
    if (!a.isList(node) || n < 0 || (n > 0 && values == nullptr))
        return false;
    const std::size_t count = static_cast<std::size_t>(n);
    if (a.childCount(node) == count) {
        bool allAtoms = true;
        for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c))
            allAtoms = allAtoms && !a.isList(c);
        if (allAtoms) {
            std::size_t i = 0;
            for (metaTreePtrT c = a.firstChild(node); !c.isNull(); c = a.nextSibling(c))
                a.setDouble(c, values[i++]);
            return true;
        }
    }
    while (metaTreePtrT c = a.lastChild(node)) {
        a.unlink(c);
        a.release(c);
    }
    for (std::size_t i = 0; i < count; ++i) {
        metaTreePtrT d = a.newDouble(values[i]);
        if (!a.appendChild(node, d)) {
            a.release(d);
            return false;
        }
    }
    return true;
}

std::array<double, 2> readVector2d(metaTreePtrT node, int* ok) {
    return readVector<2>(node, ok);
}

std::array<double, 3> readVector3d(metaTreePtrT node, int* ok) {
    return readVector<3>(node, ok);
}
