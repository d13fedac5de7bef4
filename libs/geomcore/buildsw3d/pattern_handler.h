// The FEATPATTERN handler: repeats an already built feature as one SolidWorks pattern
// feature. It opens a sketch on the pattern's placement, decides the kind from the instance
// points (pattern_detection.h: a grid first, then a circle; a rotation centre in the tree
// makes it circular without detection; otherwise points on a face drive a sketch pattern),
// draws the reference geometry the kind needs (two lines, a centre point with an axis, or
// one point per instance), has SolidWorks make the pattern of the base feature, records it
// under the node's NAME and tells SolidWorks which instances to skip.
//
// Whatever fails, the handler takes back what it made of the pattern (the pattern feature,
// its sketch and axis, their records), shows "Failed to create feature pattern for feature
// '<base>', executing rollback" and expands the pattern in the meta tree into named copies of
// the base feature, which the item loop then builds; a circular pattern's copies are turned
// about its centre. A pattern that cannot be expanded either fails the node.
#pragma once

#include "libs/KvorMetaApi/metaread/reader.h"
#include "metamodel/m3d/pattern.h"
#include "platform/sldworks/api/sldworks_api.h"

#include <cstdint>
#include <vector>

class swPartC;
struct swCreation3dS;
class featPatternGeomLinearC;
class featPatternGeomCircleC;

class swMeta3dPatternC : public metaComC {
public:
    swMeta3dPatternC() : metaComC("FEATPATTERN") {}
    ~swMeta3dPatternC() override;
    swMeta3dPatternC(const swMeta3dPatternC&) = delete;
    swMeta3dPatternC& operator=(const swMeta3dPatternC&) = delete;

    // data: the swPartC of the build.
    int execute(metaReaderC& reader, metaTreePtrT tagToken, void* data) override;

    // Selects the pattern's plane or face and opens a sketch there; 1 when it is open.
    int openPatternSketch();
    // Records and closes the pattern sketch, then makes a reference axis through the
    // sketch's first point (x, y in sketch coordinates) normal to the sketch's plane or face,
    // named after the pattern; 1 when the axis exists.
    int createPatternAxis(double x, double y);

    void createLinPat(const featPatternGeomLinearC& detector);
    void createCirPat(const featPatternGeomCircleC& detector);
    void createCirPatWithRcp();
    void createSdPat();

private:
    // Everything one node sets, back to its empty state.
    void resetNode();
    void fail() { *failureFlag_ = 1; }
    bool failed() const { return *failureFlag_ != 0; }
    // A point of the pattern sketch plane in the SolidWorks sketch.
    vectorC3d<double> toSketch(const vectorC2d<double>& p) const;
    // The pattern feature as the creation calls made it: collected and rebuilt, or failure.
    bool collectPattern(const IFeaturePtr& made);
    // Draws the centre point (SolidWorks sketch coordinates), makes the axis through it and the
    // circular pattern of the base feature about it: `count` positions `angle` (radians)
    // apart, counter-clockwise in the sketch unless `reverse`. False when the axis or the
    // pattern cannot be made (the sketch and axis are deleted then).
    bool circularAbout(const vectorC3d<double>& centre, long count, double angle,
                       VARIANT_BOOL reverse);
    // Selects the pattern sketch by name (and the named axis with it) and deletes them.
    void deleteSketchAndAxis(bool withAxis);
    // Takes back what this node made (closing the sketch first) and forgets its records.
    void removeCreated();
    // Shows the warning and expands the pattern into copies; fails the node when it cannot.
    void rollback(const mzComStringC& baseName);
    // Adds every feature recorded under the base's name to the selection as a feature to
    // repeat (mark 4).
    void selectBaseFeatures(IDocExtension* extension);
    // The linear skip list through the data object: SetSkipped, read back, then the SAFEARRAY
    // form; false when the pattern did not take it.
    bool skipLinear(const std::vector<LONG>& numbers);

    swPartC* part = nullptr;
    swCreation3dS* creation = nullptr;
    m3dFeatPatternC pattern;
    mzComStringC patternName;
    m3dFeatPatternBaseFeatC baseFeature;
    m3dSketchOnC sketchOn;
    SAFEARRAY* faceSelection = nullptr;
    _bstr_t baseSwName;
    // Every feature recorded under the base's name (baseSwName first): the pattern repeats
    // them all, so a drilling built from its history is repeated with each of its cuts.
    std::vector<_bstr_t> baseSwNames_;
    _bstr_t planeSwName;
    ISketchPtr patternSketch;
    _bstr_t patternSketchName;
    matrixC4x4<double> sketchTransform;
    matrixC4x4<double> sketchPlacement;
    std::vector<std::int32_t> instanceIndexList;

    // The pattern feature once made, and its name once recorded.
    IFeaturePtr createdFeature_;
    _bstr_t createdName_;
    // Whether a centre axis was made for this node.
    bool axisCreated_ = false;
    // The centre of a circular pattern (pattern sketch plane), for turning rolled-back copies.
    bool circular_ = false;
    vectorC2d<double> centre_;
    // The creation context's flag, or this one when the reader carries none.
    std::int32_t ownFailureFlag_ = 0;
    std::int32_t* failureFlag_ = &ownFailureFlag_;
};
