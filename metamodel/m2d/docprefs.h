#pragma once
// Document preferences: the length unit base of a document node.

#include "metamodel/core/valueviews.h"

class mDocumentPrefsC : public metaObjectC {
public:
    mDocumentPrefsC() = default;
    explicit mDocumentPrefsC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // Writes the double "UNITBASE", creating it when absent; false without a node.
    bool setUnitBase(double unitBase);
    // The double "UNITBASE"; 0.0 when absent (nothing is created).
    double getUnitBase() const;
};
