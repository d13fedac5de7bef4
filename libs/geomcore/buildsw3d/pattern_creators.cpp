// The four kinds of feature pattern: linear and circular from the detected geometry, circular
// about a given rotation centre, and sketch-driven. Each draws its reference geometry into the
// open pattern sketch, has SolidWorks make the pattern and signals failure only through the
// failure flag; execute takes back what was made and rolls back.
#include "libs/geomcore/buildsw3d/pattern_handler.h"

#include "libs/KvorCadComm/trace_frames.h"
#include "libs/KvorCore/loader/log_category.h"
#include "libs/geomcore/buildsw3d/pattern_detection.h"
#include "libs/geomcore/sw3ddoc/sw_part.h"
#include "libs/geomcore/swapi/call_support.h"
#include "libs/geomcore/swapi/swapi.h"
#include "libs/geomcore/swgeomtools/safearray_tools.h"
#include "libs/geomcore/swtools/error.h"
#include "metamodel/m3d/viewhelpers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Distinct indices: a point listed twice is one instance.
std::vector<std::int32_t> distinctIndices(std::vector<std::int32_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    return indices;
}

bool contains(const std::vector<std::int32_t>& sorted, std::int32_t value) {
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

// The counter-clockwise angle from a to b in radians, in [0, 2 pi).
double angleBetween(const vectorC2d<double>& a, const vectorC2d<double>& b) {
    double angle = std::atan2(a.x * b.y - a.y * b.x, a.x * b.x + a.y * b.y);
    if (angle < 0.0)
        angle += 2.0 * std::numbers::pi;
    return angle;
}

// Whether `count` positions `angle` (radians) apart counter-clockwise about c, the first at p,
// put one position on each listed point (all in the SolidWorks sketch's x, y): each point at
// p's radius and on a multiple of the step, within `allowed`, no two on the same position.
bool turnsFitPoints(const vectorC3d<double>& p, const vectorC3d<double>& c, double angle,
                    long count, const std::vector<vectorC3d<double>>& listed, double allowed) {
    const vectorC2d<double> from{p.x - c.x, p.y - c.y};
    const double radius = std::hypot(from.x, from.y);
    constexpr double turn = 2.0 * std::numbers::pi;
    // The positions after the first, by their angle from it.
    std::vector<std::pair<double, long>> positions;
    for (long j = 1; j < count; ++j)
        positions.emplace_back(std::fmod(static_cast<double>(j) * angle, turn), j);
    std::sort(positions.begin(), positions.end());
    std::vector<bool> taken(static_cast<std::size_t>(count), false);
    for (const vectorC3d<double>& q : listed) {
        const vectorC2d<double> to{q.x - c.x, q.y - c.y};
        if (!(std::abs(std::hypot(to.x, to.y) - radius) <= allowed))
            return false;
        const double alpha = angleBetween(from, to);
        // The nearest position: the first at or above alpha, or the one below it, each
        // neighbour across 0 too.
        if (positions.empty())
            return false;
        auto above =
            std::lower_bound(positions.begin(), positions.end(), std::make_pair(alpha, 0L));
        if (above == positions.end())
            above = positions.begin();
        const auto below = above == positions.begin() ? positions.end() - 1 : above - 1;
        long best = -1;
        double bestGap = turn;
        for (const auto& it : {above, below}) {
            double gap = std::abs(it->first - alpha);
            gap = std::min(gap, turn - gap);
            if (gap < bestGap) {
                bestGap = gap;
                best = it->second;
            }
        }
        if (best < 0 || !(radius * bestGap <= allowed) || taken[static_cast<std::size_t>(best)])
            return false;
        taken[static_cast<std::size_t>(best)] = true;
    }
    return true;
}

} // namespace

void swMeta3dPatternC::selectBaseFeatures(IDocExtension* extension) {
    for (const _bstr_t& name : baseSwNames_)
        docExtSelectById(extension, name, "BODYFEATURE", 0.0, 0.0, 0.0, VARIANT_TRUE, 4, nullptr);
}

bool swMeta3dPatternC::skipLinear(const std::vector<LONG>& numbers) {
    IModelDoc2* doc = part->modelDoc;
    const long wanted = static_cast<long>(numbers.size());
    auto readBack = [&] {
        const ILinearPatternDataPtr data =
            requireInterfaceOf<ILinearPatternData>(featureGetPatternData(createdFeature_));
        const long count = linearPatternDataGetSkippedCount(data);
        patternDataRelease(data);
        return count;
    };
    {
        const ILinearPatternDataPtr data =
            requireInterfaceOf<ILinearPatternData>(featureGetPatternData(createdFeature_));
        linearPatternDataAccess(data, doc, nullptr);
        linearPatternDataSetOption(data, VARIANT_FALSE);
        std::vector<LONG> items = numbers;
        linearPatternDataSetSkipped(data, wanted, items.data());
        featureModifyPatternData(createdFeature_, data, doc, nullptr);
        patternDataRelease(data);
    }
    if (readBack() == wanted)
        return true;
    // Some automation layers do not pass a plain array on: the same list as a SAFEARRAY.
    SAFEARRAY* array = nullptr;
    for (LONG n : numbers)
        swapiCheck<ILinearPatternData>(safeArrayAppendInt(array, n));
    _variant_t items;
    if (array != nullptr) {
        items = variantFromSafeArray(array);
        SafeArrayDestroy(array);
    }
    {
        const ILinearPatternDataPtr data =
            requireInterfaceOf<ILinearPatternData>(featureGetPatternData(createdFeature_));
        linearPatternDataAccess(data, doc, nullptr);
        linearPatternDataSetOption(data, VARIANT_FALSE);
        linearPatternDataSetSkippedArray(data, items);
        featureModifyPatternData(createdFeature_, data, doc, nullptr);
        patternDataRelease(data);
    }
    return readBack() == wanted;
}

void swMeta3dPatternC::createLinPat(const featPatternGeomLinearC& detector) {
    NATLINK_TRACE_FRAME_C("creating linear pattern");
    IModelDoc2* doc = part->modelDoc;
    detector.instanceIndices(instanceIndexList);
    const std::vector<std::int32_t> present = distinctIndices(instanceIndexList);
    const double found = static_cast<double>(present.size());
    const std::int32_t count1 = detector.count1;
    const std::int32_t count2 = detector.count2;
    const double total = static_cast<double>(count1) * static_cast<double>(count2);
    if (total <= 0.0 || found / total < 0.05) {
        fail();
        deleteSketchAndAxis(false);
        return;
    }

    const vectorC3d<double> p0 = toSketch(detector.points.front());
    const vectorC3d<double> d1 =
        transformDirection({detector.dir1.x, detector.dir1.y, 0.0}, sketchPlacement);
    const vectorC3d<double> d2 =
        transformDirection({detector.dir2.x, detector.dir2.y, 0.0}, sketchPlacement);
    const vectorC3d<double> e1 = p0 + d1 * ((count1 - 1) * detector.spacing1);
    const vectorC3d<double> e2 = p0 + d2 * ((count2 - 1) * detector.spacing2);
    modelDocCreateLine(doc, p0.x, p0.y, p0.z, e1.x, e1.y, e1.z);
    modelDocCreateLine(doc, p0.x, p0.y, p0.z, e2.x, e2.y, e2.z);
    part->addSketchRecord(sketchRecord{patternSketch, patternName, patternSketchName});
    modelDocInsertSketch(doc, VARIANT_TRUE);

    const IDocExtensionPtr extension = modelDocGetExtension(doc);
    swapiRequired<IDocExtension>(extension);
    const vectorC3d<double> m1 = (p0 + e1) * 0.5;
    const vectorC3d<double> m2 = (p0 + e2) * 0.5;
    docExtSelectById(extension, _bstr_t("Line1@") + patternSketchName, "EXTSKETCHSEGMENT", m1.x,
                     m1.y, 0.0, VARIANT_FALSE, 1, nullptr);
    docExtSelectById(extension, _bstr_t("Line2@") + patternSketchName, "EXTSKETCHSEGMENT", m2.x,
                     m2.y, 0.0, VARIANT_TRUE, 2, nullptr);
    selectBaseFeatures(extension);

    const IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
    swapiRequired<IFeatureManager>(manager);
    IFeaturePtr made;
    try {
        made = featureMgrCreateLinearPattern(manager, count1, detector.spacing1, count2,
                                             detector.spacing2, VARIANT_FALSE, VARIANT_FALSE, "",
                                             "", VARIANT_FALSE);
        if (!made)
            made = featureMgrCreateLinearPattern(manager, count1, detector.spacing1, count2,
                                                 detector.spacing2, VARIANT_FALSE, VARIANT_FALSE,
                                                 "", "", VARIANT_TRUE);
    } catch (const _com_error&) {
        made = nullptr;
    }
    if (!collectPattern(made)) {
        fail();
        return;
    }

    modelDocCallSlot410(doc, 2);
    const std::int32_t f = static_cast<std::int32_t>(present.size());
    const std::int32_t t = count1 * count2;
    if ((detector.isComplete(present) == 0 || f != t) && f < t) {
        std::vector<LONG> missing;
        for (std::int32_t r = 0; r < count2; ++r)
            for (std::int32_t c = 0; c < count1; ++c)
                if (!contains(present, r * count1 + c))
                    missing.push_back(r + c * count2);
        if (skipLinear(missing)) {
            modelDocSelectByName(doc, patternSketchName, "SKETCH", 0.0, 0.0, 0.0);
            modelDocApplyToSelectedSketchOnSuccess(doc);
        } else {
            fail();
        }
        modelDocCallSlot410(doc, 2);
    } else {
        modelDocSelectByName(doc, patternSketchName, "SKETCH", 0.0, 0.0, 0.0);
        modelDocApplyToSelectedSketchOnSuccess(doc);
    }
}

bool swMeta3dPatternC::circularAbout(const vectorC3d<double>& centre, long count, double angle,
                                     VARIANT_BOOL reverse) {
    IModelDoc2* doc = part->modelDoc;
    modelDocCreatePoint(doc, centre.x, centre.y, 0.0);
    if (createPatternAxis(centre.x, centre.y) == 0)
        return false;
    const IDocExtensionPtr extension = modelDocGetExtension(doc);
    swapiRequired<IDocExtension>(extension);
    docExtSelectById(extension, _bstr_t(patternName.toUtf8().c_str()), "AXIS", 0.0, 0.0, 0.0,
                     VARIANT_FALSE, 1, nullptr);
    selectBaseFeatures(extension);
    const IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
    swapiRequired<IFeatureManager>(manager);
    IFeaturePtr made;
    try {
        // The retry keeps the sense: only the last flag changes.
        made = featureMgrCreateCircularPattern(manager, count, angle, reverse, "", VARIANT_FALSE);
        if (!made)
            made =
                featureMgrCreateCircularPattern(manager, count, angle, reverse, "", VARIANT_TRUE);
    } catch (const _com_error&) {
        made = nullptr;
    }
    if (!collectPattern(made)) {
        deleteSketchAndAxis(true);
        return false;
    }
    return true;
}

void swMeta3dPatternC::createCirPat(const featPatternGeomCircleC& detector) {
    NATLINK_TRACE_FRAME_C("creating circle pattern");
    IModelDoc2* doc = part->modelDoc;
    const std::int32_t n = detector.instanceCount();
    detector.instanceIndices(instanceIndexList);
    const std::vector<std::int32_t> present = distinctIndices(instanceIndexList);
    const double found = static_cast<double>(present.size());
    if (n == 0 || found / static_cast<double>(n) < 0.05) {
        fail();
        deleteSketchAndAxis(false);
        return;
    }
    const double angle = detector.valid != 0 ? detector.angleStep * std::numbers::pi / 180.0 : 0.0;
    // The detector's sense is that of the pattern sketch plane; the axis runs along the
    // SolidWorks sketch's normal. When the plane reaches the sketch mirrored, counter-clockwise
    // there is clockwise here.
    const bool mirrored =
        sketchPlacement[0] * sketchPlacement[5] - sketchPlacement[1] * sketchPlacement[4] < 0.0;
    const bool clockwise = (detector.sense == 0) != mirrored;
    if (!circularAbout(toSketch(detector.centre), n, angle,
                       clockwise ? VARIANT_TRUE : VARIANT_FALSE)) {
        fail();
        return;
    }
    if (detector.isComplete(present) == 0) {
        std::vector<LONG> skipped;
        for (std::int32_t position = 0; position < n; ++position)
            if (!contains(present, position))
                skipped.push_back(position);
        const ICircularPatternDataPtr data =
            requireInterfaceOf<ICircularPatternData>(featureGetPatternData(createdFeature_));
        circularPatternDataSetSkipped(data, static_cast<long>(skipped.size()), skipped.data());
        if (circularPatternDataGetSkippedCount(data) != static_cast<long>(skipped.size())) {
            modelDocCallOnSkipMismatch(doc);
            fail();
        }
        featureModifyPatternData(createdFeature_, data, doc, nullptr);
        patternDataRelease(data);
    }
    modelDocSelectByName(doc, patternSketchName, "SKETCH", 0.0, 0.0, 0.0);
    modelDocApplyToSelectedSketchOnSuccess(doc);
}

void swMeta3dPatternC::createCirPatWithRcp() {
    NATLINK_TRACE_FRAME_C("creating circle pattern with Rotation center point");
    IModelDoc2* doc = part->modelDoc;
    const m3dFeatPatternSketchC sketch = pattern.getPatternSketch();
    int ok = 0;
    const vectorC2d<double> r = sketch.getRotCenterPoint().getPoint(&ok);
    vectorC3d<double> base;
    if (!ok || !getPoint3d(baseFeature, base)) {
        fail();
        return;
    }
    std::vector<vectorC2d<double>> listed;
    collectPoint2dList(sketch.getSketchPoints(), listed);
    for (const vectorC2d<double>& q : listed) {
        if (std::hypot(q.x - r.x, q.y - r.y) < 1e-5) {
            fail();
            return;
        }
    }
    // Everything in the SolidWorks sketch, where the axis runs along the normal: the base
    // position comes there from the model, the centre and the first instance from the
    // pattern sketch plane.
    const vectorC3d<double> p = transformPoint(base, sketchTransform);
    const vectorC3d<double> c3 = toSketch(r);
    const double radius = std::hypot(p.x - c3.x, p.y - c3.y);
    const double allowed = featPatternGeomCircleC::onCircleTolerance(radius);
    // A point listed twice, or on the base position, is one instance, as the detected
    // patterns count it: each would otherwise ask for a position of its own.
    std::vector<vectorC2d<double>> distinct;
    distinct.reserve(listed.size() + 1);
    distinct.push_back({p.x, p.y});
    for (const vectorC2d<double>& q : listed) {
        const vectorC3d<double> at = toSketch(q);
        distinct.push_back({at.x, at.y});
    }
    mergeRepeatedPoints2d(distinct, allowed);
    if (distinct.size() < 2) {
        fail();
        return;
    }
    std::vector<vectorC3d<double>> inSketch;
    for (std::size_t i = 1; i < distinct.size(); ++i)
        inSketch.push_back({distinct[i].x, distinct[i].y, 0.0});
    const vectorC3d<double>& q0 = inSketch.front();
    const double angle = angleBetween({p.x - c3.x, p.y - c3.y}, {q0.x - c3.x, q0.y - c3.y});
    const long count = static_cast<long>(inSketch.size()) + 1;
    // The step comes from the first point; the pattern is what the points describe only when
    // every other point sits on one of its positions. Otherwise the rollback puts the copies
    // where the points are.
    if (!turnsFitPoints(p, c3, angle, count, inSketch, allowed)) {
        NATLINK_LOG(mzLogLevelWarning,
                    mzComStringC("Feature pattern ") + quotedName(patternName) +
                        ": its instance points are not equal turns about its rotation centre");
        fail();
        return;
    }
    if (!circularAbout(c3, count, angle, VARIANT_FALSE)) {
        fail();
        return;
    }
    modelDocSelectByName(doc, patternSketchName, "SKETCH", 0.0, 0.0, 0.0);
    modelDocApplyToSelectedSketchOnSuccess(doc);
}

void swMeta3dPatternC::createSdPat() {
    NATLINK_TRACE_FRAME_C("creating sketch driven pattern");
    IModelDoc2* doc = part->modelDoc;
    part->addSketchRecord(sketchRecord{patternSketch, patternName, patternSketchName});
    vectorC3d<double> base;
    if (!getPoint3d(baseFeature, base)) {
        fail();
        deleteSketchAndAxis(false);
        return;
    }
    const vectorC3d<double> s = transformPoint(base, sketchTransform);
    modelDocCreatePoint(doc, s.x, s.y, s.z);
    std::vector<vectorC2d<double>> listed;
    collectPoint2dList(pattern.getPatternSketch().getSketchPoints(), listed);
    for (const vectorC2d<double>& q : listed) {
        const vectorC3d<double> at = toSketch(q);
        // A point SolidWorks refuses (beyond its model space) would be an instance lost
        // without a word: the pattern is not made, and the rollback names what it cannot place.
        if (!modelDocCreatePoint(doc, at.x, at.y, at.z)) {
            NATLINK_LOG(mzLogLevelError, mzComStringC("Feature pattern ") +
                                             quotedName(patternName) +
                                             ": SolidWorks refused the instance point (" +
                                             mzComStringC::number(q.x, 'g', 10) + ", " +
                                             mzComStringC::number(q.y, 'g', 10) + ")");
            fail();
            deleteSketchAndAxis(false);
            return;
        }
    }
    modelDocInsertSketch(doc, VARIANT_TRUE);

    const IDocExtensionPtr extension = modelDocGetExtension(doc);
    swapiRequired<IDocExtension>(extension);
    docExtSelectById(extension, patternSketchName, "SKETCH", 0.0, 0.0, 0.0, VARIANT_FALSE, 64,
                     nullptr);
    selectBaseFeatures(extension);
    docExtSelectById(extension, _bstr_t("Point1@") + patternSketchName, "EXTSKETCHPOINT", s.x, s.y,
                     0.0, VARIANT_TRUE, 32, nullptr);
    const IFeatureManagerPtr manager = modelDocGetFeatureManager(doc);
    swapiRequired<IFeatureManager>(manager);
    IFeaturePtr made;
    try {
        made = featureMgrCreateSketchPattern(manager, VARIANT_FALSE, VARIANT_FALSE);
    } catch (const _com_error&) {
        made = nullptr;
    }
    if (!collectPattern(made)) {
        fail();
        deleteSketchAndAxis(false);
        return;
    }
    modelDocSelectByName(doc, patternSketchName, "SKETCH", 0.0, 0.0, 0.0);
    modelDocApplyToSelectedSketchOnSuccess(doc);
    modelDocCallSlot410(doc, 2);
}
