// swPartC: the part document object of a build. It views the PART node of the meta tree and
// holds the SolidWorks part document being built, with the ordered records of the planes,
// features and sketches the build created or adopted. Every handler of the part's items is
// given it as its data.
//
// The record lists grow while the part is built (a pattern's rollback removes records); a
// lookup by meta name scans from the first record and the first match wins, and never matches
// an empty name: the template's planes are recorded without one, and a nameless node must not
// find them.
#pragma once

#include "libs/geomcore/sw3ddoc/part_records.h"
#include "metamodel/m3d/document.h"

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

class swPartC : public m3dPartC {
public:
    swPartC() = default;
    explicit swPartC(metaTreePtrT partNode, bool owns = false) : m3dPartC(partNode, owns) {}
    swPartC(const swPartC&) = delete;
    swPartC& operator=(const swPartC&) = delete;
    ~swPartC() override;

    // Appending. addPlaneRecord and addFeatureRecord raise _com_error(E_POINTER) for a null
    // object or one without IFeature; a failing name read raises its HRESULT. Nothing is
    // appended when they raise.
    void addPlaneRecord(IRefPlane* plane, const mzComStringC& metaName);
    void addFeatureRecord(IFeature* feature, const mzComStringC& metaName);
    void addSketchRecord(const sketchRecord& record);

    // Lookups by meta name: 1 with the outputs of the first matching record, 0 with the
    // outputs untouched.
    int findFeatureRecord(const mzComStringC& metaName, _bstr_t& swName,
                          IFeaturePtr& feature) const;
    int findFeatureSwName(const mzComStringC& metaName, _bstr_t& swName) const;
    // The SolidWorks names of every feature recorded under the meta name, in record order: a
    // drilling built from its HISTORY records each of its cuts under the drilling's name.
    std::vector<_bstr_t> findFeatureSwNames(const mzComStringC& metaName) const;
    int findPlaneSwName(const mzComStringC& metaName, _bstr_t& swName) const;
    int findSketchRecord(const mzComStringC& metaName, _bstr_t& swName, ISketchPtr& sketch) const;

    // Forgets the plane, feature and sketch records of a feature the build deleted again, so
    // that no later lookup finds it; the walk start is forgotten too when it is that feature.
    // Nothing for an empty name.
    void forgetRecords(const _bstr_t& swName);

    // Lookups by SolidWorks name (case-sensitive; a null and an empty name are equal).
    int hasFeatureSwName(const _bstr_t& swName) const;
    int hasPlaneSwName(const _bstr_t& swName) const;

    // 1 and the SolidWorks name of the first recorded plane that lies in the plane of the
    // meta matrix (normal: elements 8 to 10, origin: 12 to 14); 0 otherwise. Raises the
    // errors of reading a plane's geometry.
    int findPlaneByGeometry(_bstr_t& swName, const matrixC4x4<double>& planeMatrix) const;

    // Hides every recorded plane (select by name, hide the selection). No call for an empty
    // list; a null document raises E_POINTER.
    void hideCreatedPlanes();

    // Levels of detail (detail_levels.cpp): one configuration per level of the part's
    // "PARTLOD", named by the setting "LODconfigName_" + level name or else the level's
    // name, with the level's excluded features suppressed in it (every feature recorded
    // under an excluded name: a drilling's history records all its cuts under it). Nothing
    // when no level excludes a feature, unless the part's own creation options set
    // "CreateEmptyLODConfiguration". Levels that get no configuration (detail_levels.h says
    // which) are added to `notBuiltLevels`, each with its reason. The selected level's
    // configuration is shown at the end when it was built, else the one shown before.
    // SolidWorks suppresses what is built on an excluded feature with it; each recorded
    // feature that goes so is named in `leftOutWith`. A level that does not rebuild, or
    // leaves no solid body, is reported as a creation warning and raised as an mzComStringC
    // `Error while creating LOD "N"`, the configuration shown before shown again and the
    // level's configuration deleted; configurations made before it stay. SolidWorks
    // failures leave as _com_error.
    void createDetailLevels(mDocumentCreationOptionSettingsC settings,
                            std::vector<mzComStringC>& notBuiltLevels,
                            std::vector<mzComStringC>& leftOutWith);

    // Ends the build's hold on SolidWorks: releases every record's object, the remembered
    // feature and the document, empties the lists and sets `detached`. Runs after saving and
    // before the document is closed; afterwards no lookup finds anything and no SolidWorks
    // object is called.
    void detachComObjects();

    const std::deque<planeRecord>& getPlaneRecords() const noexcept { return planeRecords; }
    const std::deque<featureRecord>& getFeatureRecords() const noexcept { return featureRecords; }
    const std::deque<sketchRecord>& getSketchRecords() const noexcept { return sketchRecords; }

    // A deque keeps every record in place while the list grows.
    std::deque<planeRecord> planeRecords;
    std::deque<featureRecord> featureRecords;
    IFeaturePtr lastFeature;
    std::int32_t detached = 0;
    // 1 until the first BASE or CUT node has been handled: the first body is made through
    // the document.
    std::int32_t firstFeature = 1;
    IModelDoc2Ptr modelDoc;
    std::deque<sketchRecord> sketchRecords;

private:
    // The SolidWorks names of featureRecords[0, indexedFeatures_): hasFeatureSwName is asked
    // for every feature a handler makes, so a scan of the records would make a build of n
    // features take n * n steps. Caught up with the records appended since (the list is
    // public), emptied when records are removed.
    mutable std::unordered_set<std::u16string> featureSwNames_;
    mutable std::size_t indexedFeatures_ = 0;
};

// 1 when the reference plane lies in the plane of the meta matrix: the normals agree within
// 1e-6 in every component and the meta origin lies within 1e-6 of the plane. The geometry
// array must hold at least 9 doubles (E_FAIL without an array, E_INVALIDARG otherwise).
int planeMatchesGeometry(IRefPlane* plane, const matrixC4x4<double>& planeMatrix);
