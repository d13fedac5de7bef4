#include "libs/geomcore/sw3ddoc/sw_part.h"

#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"

#include <cmath>

namespace {

// A SolidWorks name's UTF-16 units, as _bstr_t compares them: a null name is the empty one.
std::u16string unitsOf(const _bstr_t& name) {
    const char16_t* units = name;
    return units != nullptr ? std::u16string(units, name.length()) : std::u16string();
}

// Meta names: an empty name is no name, so it never matches (not even another empty one).
bool sameMetaName(const mzComStringC& recorded, const mzComStringC& wanted) {
    return !wanted.isEmpty() && recorded == wanted;
}

IFeaturePtr requireFeature(IUnknown* object) {
    if (object == nullptr)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<IFeature>());
    IFeaturePtr feature;
    featurePtrFromUnknown(feature, object);
    if (!feature)
        _com_issue_errorex(E_POINTER, nullptr, uuidOf<IFeature>());
    return feature;
}

} // namespace

swPartC::~swPartC() {
    if (detached == 0)
        detachComObjects();
}

void swPartC::addPlaneRecord(IRefPlane* plane, const mzComStringC& metaName) {
    const IFeaturePtr feature = requireFeature(plane);
    planeRecord record;
    record.swName = featureGetName(feature);
    record.plane = plane;
    record.metaName = metaName;
    planeRecords.push_back(record);
}

void swPartC::addFeatureRecord(IFeature* feature, const mzComStringC& metaName) {
    const IFeaturePtr checked = requireFeature(feature);
    featureRecord record;
    record.swName = featureGetName(checked);
    record.feature = checked;
    record.metaName = metaName;
    featureRecords.push_back(record);
}

void swPartC::addSketchRecord(const sketchRecord& record) {
    sketchRecords.push_back(record);
}

void swPartC::forgetRecords(const _bstr_t& swName) {
    if (swName.length() == 0)
        return;
    for (auto it = featureRecords.begin(); it != featureRecords.end();) {
        if (it->swName == swName) {
            if (lastFeature.GetInterfacePtr() == it->feature.GetInterfacePtr())
                lastFeature = nullptr;
            it = featureRecords.erase(it);
        } else {
            ++it;
        }
    }
    featureSwNames_.clear();
    indexedFeatures_ = 0;
    for (auto it = sketchRecords.begin(); it != sketchRecords.end();)
        it = it->swName == swName ? sketchRecords.erase(it) : std::next(it);
    for (auto it = planeRecords.begin(); it != planeRecords.end();) {
        if (!(it->swName == swName)) {
            ++it;
            continue;
        }
        const IFeaturePtr plane = queryInterfaceOf<IFeature>(it->plane);
        if (lastFeature.GetInterfacePtr() == plane.GetInterfacePtr())
            lastFeature = nullptr;
        it = planeRecords.erase(it);
    }
}

int swPartC::findFeatureRecord(const mzComStringC& metaName, _bstr_t& swName,
                               IFeaturePtr& feature) const {
    for (const featureRecord& record : featureRecords) {
        if (sameMetaName(record.metaName, metaName)) {
            swName = record.swName;
            feature = record.feature;
            return 1;
        }
    }
    return 0;
}

int swPartC::findFeatureSwName(const mzComStringC& metaName, _bstr_t& swName) const {
    for (const featureRecord& record : featureRecords) {
        if (sameMetaName(record.metaName, metaName)) {
            swName = record.swName;
            return 1;
        }
    }
    return 0;
}

std::vector<_bstr_t> swPartC::findFeatureSwNames(const mzComStringC& metaName) const {
    std::vector<_bstr_t> names;
    for (const featureRecord& record : featureRecords)
        if (sameMetaName(record.metaName, metaName))
            names.push_back(record.swName);
    return names;
}

int swPartC::findPlaneSwName(const mzComStringC& metaName, _bstr_t& swName) const {
    for (const planeRecord& record : planeRecords) {
        if (sameMetaName(record.metaName, metaName)) {
            swName = record.swName;
            return 1;
        }
    }
    return 0;
}

int swPartC::findSketchRecord(const mzComStringC& metaName, _bstr_t& swName,
                              ISketchPtr& sketch) const {
    for (const sketchRecord& record : sketchRecords) {
        if (sameMetaName(record.metaName, metaName)) {
            swName = record.swName;
            sketch = record.sketch;
            return 1;
        }
    }
    return 0;
}

int swPartC::hasFeatureSwName(const _bstr_t& swName) const {
    for (; indexedFeatures_ < featureRecords.size(); ++indexedFeatures_)
        featureSwNames_.insert(unitsOf(featureRecords[indexedFeatures_].swName));
    return featureSwNames_.count(unitsOf(swName)) != 0 ? 1 : 0;
}

int swPartC::hasPlaneSwName(const _bstr_t& swName) const {
    for (const planeRecord& record : planeRecords)
        if (record.swName == swName)
            return 1;
    return 0;
}

int swPartC::findPlaneByGeometry(_bstr_t& swName, const matrixC4x4<double>& planeMatrix) const {
    for (const planeRecord& record : planeRecords) {
        if (planeMatchesGeometry(record.plane, planeMatrix)) {
            swName = record.swName;
            return 1;
        }
    }
    return 0;
}

void swPartC::hideCreatedPlanes() {
    for (const planeRecord& record : planeRecords) {
        IModelDoc2* doc = swapiRequired<IModelDoc2>(modelDoc);
        modelDocSelectByName(doc, record.swName, "PLANE", 0.0, 0.0, 0.0);
        modelDocHideSelection(doc);
    }
}

void swPartC::detachComObjects() {
    // Clearing the lists releases each record's reference; the document and the remembered
    // feature are released too, so nothing of SolidWorks is held or called afterwards.
    planeRecords.clear();
    featureRecords.clear();
    featureSwNames_.clear();
    indexedFeatures_ = 0;
    sketchRecords.clear();
    lastFeature = nullptr;
    modelDoc = nullptr;
    detached = 1;
}

int planeMatchesGeometry(IRefPlane* plane, const matrixC4x4<double>& planeMatrix) {
    const _variant_t geometry = refPlaneGetGeometry(plane);
    const std::vector<double> values = readDoubleArray(geometry, 9);
    constexpr double tolerance = 1e-6;
    const vectorC3d<double> point{values[0], values[1], values[2]};
    const vectorC3d<double> normal{values[6], values[7], values[8]};
    const vectorC3d<double> metaNormal = planeMatrix.row(2);
    if (std::fabs(normal.x - metaNormal.x) > tolerance ||
        std::fabs(normal.y - metaNormal.y) > tolerance ||
        std::fabs(normal.z - metaNormal.z) > tolerance)
        return 0;
    const vectorC3d<double> origin = planeMatrix.row(3);
    return std::fabs((origin - point).dot(metaNormal)) < tolerance ? 1 : 0;
}
