#pragma once
// Finding an equal location or feature vector in a document without a walk over the whole
// list: while a lookup scope is open for a document (on this thread), the document's
// findLocation and findFeatureVector answer through hashed indexes of its lists, so that an
// operation that looks up once per instance stays linear in the number of instances.
//
// Equal means within paramEqualTolerance in every compared number; the indexes hash each
// number by a grid cell, and a stored number within the tolerance of a cell border is filed
// under both cells, so a query only looks in its own cell. Every candidate is then checked by
// the same comparison as the walk, and the first matching index wins, as in the walk.
//
// An index follows entries appended to the lists while it lives; entries already indexed
// must not change in place (the scale and transform steps never change a shared location or
// vector, they append copies). One scope serves every nested operation on the same document.

#include "metamodel/param/paramentities.h"

#include <cstdint>
#include <memory>
#include <vector>

class m3dParamDocumentC;

namespace param_lookup {

// Width of the hash grid: far above the tolerance, at an odd value so that round numbers
// rarely lie near a border; borders sit half-way between multiples of the width.
inline constexpr double cellWidth = 7.31171e-4;

// What a location of this TYPE stores that the search compares: TYPE 1 origin and direction,
// 2 the origin, 3 the direction (each as the stored values), 4 the rotation, others the
// whole frame.
std::vector<double> locationKey(int type, const paramFrameT& frame, double directionLength);
std::vector<double> storedLocationKey(const m3dParamLocationC& loc);
bool keysNearlyEqual(const std::vector<double>& a, const std::vector<double>& b);

// The numbers of a vector (doubles, then 2D and 3D elements), and whether two vectors are
// equal: type, longs and strings exactly, the numbers within the tolerance.
std::vector<double> vectorNumbers(const m3dParamFeatureVectorValuesS& v);
bool vectorsEqual(const m3dParamFeatureVectorValuesS& a, const m3dParamFeatureVectorValuesS& b);

class indexC;

// The index of the open scope for this document node; null when none is open.
indexC* activeIndex(metaTreePtrT documentNode);

int findLocation(indexC& index, m3dParamDocumentC& doc, int type, const paramFrameT& frame,
                 double directionLength);
int findFeatureVector(indexC& index, m3dParamDocumentC& doc,
                      const m3dParamFeatureVectorValuesS& candidate);

} // namespace param_lookup

// Opens a lookup scope for a document node (nothing for the null node, or when a scope for
// that document is already open on this thread).
class paramLookupScopeC {
public:
    explicit paramLookupScopeC(metaTreePtrT documentNode);
    ~paramLookupScopeC();
    paramLookupScopeC(const paramLookupScopeC&) = delete;
    paramLookupScopeC& operator=(const paramLookupScopeC&) = delete;

private:
    std::unique_ptr<param_lookup::indexC> index_;
    param_lookup::indexC* previous_ = nullptr;
};
