#include "platform/sldworks/session/feature_manager.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {
journalArgs extrusionArgs(VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse,
                          long endCondition1, long endCondition2, double depth1, double depth2,
                          VARIANT_BOOL draft1, VARIANT_BOOL draft2, VARIANT_BOOL draftOutward1,
                          VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
                          VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2,
                          VARIANT_BOOL translate1, VARIANT_BOOL translate2, VARIANT_BOOL merge,
                          VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect) {
    return {
        journalValue(singleDirection), journalValue(flip),           journalValue(reverse),
        journalValue(endCondition1),   journalValue(endCondition2),  journalValue(depth1),
        journalValue(depth2),          journalValue(draft1),         journalValue(draft2),
        journalValue(draftOutward1),   journalValue(draftOutward2),  journalValue(draftAngle1),
        journalValue(draftAngle2),     journalValue(offsetReverse1), journalValue(offsetReverse2),
        journalValue(translate1),      journalValue(translate2),     journalValue(merge),
        journalValue(featureScope),    journalValue(autoSelect)};
}

} // namespace

swsim::ExtrudeSpec extrusionSpec(bool cut, VARIANT_BOOL singleDirection, VARIANT_BOOL reverse,
                                 double depth1, double depth2, VARIANT_BOOL draft1,
                                 VARIANT_BOOL draftOutward1, double draftAngle1, bool merge) {
    swsim::ExtrudeSpec request;
    request.cut = cut;
    request.reverse = reverse != VARIANT_FALSE;
    request.bothSides = singleDirection == VARIANT_FALSE;
    request.depth1 = depth1;
    // Both sides take the same depth on each side.
    request.depth2 = request.bothSides ? depth1 : depth2;
    request.draftAngle = draft1 != VARIANT_FALSE ? std::fabs(draftAngle1) : 0.0;
    // The flag asks for an outward draft; without it the profile shrinks away from the sketch.
    request.draftInward = draftOutward1 == VARIANT_FALSE;
    request.merge = merge;
    return request;
}

swsim::SolidFeaturePtr extrudeSelectedSketch(docContextS& context,
                                             const swsim::ExtrudeSpec& request) {
    swsim::PartDocument& part = *context.part;
    swsim::SketchPtr sketch = part.selectedSketch();
    if (!sketch)
        return nullptr;
    if (part.activeSketch() == sketch)
        part.closeSketch();
    swsim::SolidFeaturePtr feature = part.addExtrusion(sketch, request);
    if (feature)
        part.clearSelection();
    return feature;
}

HRESULT featureManagerC::extrusionCall(const char* key, journalArgs args,
                                       const swsim::ExtrudeSpec& request, IFeature** feature) {
    return docCall(key, std::move(args), feature, [&](docContextS& context) {
        const IFeaturePtr made = context.wrap(extrudeSelectedSketch(context, request));
        *feature = IFeaturePtr(made).Detach();
        return S_OK;
    });
}

HRESULT featureManagerC::CreateExtrusion(
    VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse, long endCondition1,
    long endCondition2, double depth1, double depth2, VARIANT_BOOL draft1, VARIANT_BOOL draft2,
    VARIANT_BOOL draftOutward1, VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
    VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2, VARIANT_BOOL translate1,
    VARIANT_BOOL translate2, VARIANT_BOOL merge, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
    IFeature** feature) {
    return extrusionCall("IFeatureManager::CreateExtrusion",
                         extrusionArgs(singleDirection, flip, reverse, endCondition1, endCondition2,
                                       depth1, depth2, draft1, draft2, draftOutward1, draftOutward2,
                                       draftAngle1, draftAngle2, offsetReverse1, offsetReverse2,
                                       translate1, translate2, merge, featureScope, autoSelect),
                         extrusionSpec(false, singleDirection, reverse, depth1, depth2, draft1,
                                       draftOutward1, draftAngle1, merge != VARIANT_FALSE),
                         feature);
}

HRESULT featureManagerC::CreateCutExtrusion(
    VARIANT_BOOL singleDirection, VARIANT_BOOL flip, VARIANT_BOOL reverse, long endCondition1,
    long endCondition2, double depth1, double depth2, VARIANT_BOOL draft1, VARIANT_BOOL draft2,
    VARIANT_BOOL draftOutward1, VARIANT_BOOL draftOutward2, double draftAngle1, double draftAngle2,
    VARIANT_BOOL offsetReverse1, VARIANT_BOOL offsetReverse2, VARIANT_BOOL translate1,
    VARIANT_BOOL translate2, VARIANT_BOOL merge, VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
    IFeature** feature) {
    return extrusionCall("IFeatureManager::CreateCutExtrusion",
                         extrusionArgs(singleDirection, flip, reverse, endCondition1, endCondition2,
                                       depth1, depth2, draft1, draft2, draftOutward1, draftOutward2,
                                       draftAngle1, draftAngle2, offsetReverse1, offsetReverse2,
                                       translate1, translate2, merge, featureScope, autoSelect),
                         extrusionSpec(true, singleDirection, reverse, depth1, depth2, draft1,
                                       draftOutward1, draftAngle1, true),
                         feature);
}

namespace {
swsim::SolidFeaturePtr revolveSelectedSketch(docContextS& context, bool cut, double angle1,
                                             VARIANT_BOOL reverse, double angle2, long type,
                                             bool merge) {
    swsim::PartDocument& part = *context.part;
    swsim::SketchPtr sketch = part.selectedSketch();
    if (!sketch || type < 0 || type > 2)
        return nullptr;
    if (part.activeSketch() == sketch)
        part.closeSketch();
    swsim::RevolveSpec request;
    request.cut = cut;
    request.reverse = reverse != VARIANT_FALSE;
    request.type = static_cast<swsim::RevolveType>(type);
    request.angle1 = angle1;
    request.angle2 = angle2;
    request.merge = merge;
    swsim::SolidFeaturePtr feature = part.addRevolution(sketch, request);
    if (feature)
        part.clearSelection();
    return feature;
}
} // namespace

HRESULT featureManagerC::CreateRevolution(double angle1, VARIANT_BOOL reverse, double angle2,
                                          long type, long options, VARIANT_BOOL merge,
                                          VARIANT_BOOL featureScope, VARIANT_BOOL autoSelect,
                                          IFeature** feature) {
    return docCall("IFeatureManager::CreateRevolution",
                   {journalValue(angle1), journalValue(reverse), journalValue(angle2),
                    journalValue(type), journalValue(options), journalValue(merge),
                    journalValue(featureScope), journalValue(autoSelect)},
                   feature, [&](docContextS& context) {
                       const IFeaturePtr made = context.wrap(revolveSelectedSketch(
                           context, false, angle1, reverse, angle2, type, merge != VARIANT_FALSE));
                       *feature = IFeaturePtr(made).Detach();
                       return S_OK;
                   });
}

HRESULT featureManagerC::CreateCutRevolution(double angle1, VARIANT_BOOL reverse, double angle2,
                                             long type, long options, VARIANT_BOOL featureScope,
                                             VARIANT_BOOL autoSelect, IFeature** feature) {
    return docCall(
        "IFeatureManager::CreateCutRevolution",
        {journalValue(angle1), journalValue(reverse), journalValue(angle2), journalValue(type),
         journalValue(options), journalValue(featureScope), journalValue(autoSelect)},
        feature, [&](docContextS& context) {
            const IFeaturePtr made = context.wrap(
                revolveSelectedSketch(context, true, angle1, reverse, angle2, type, true));
            *feature = IFeaturePtr(made).Detach();
            return S_OK;
        });
}

namespace {
// The sketches selected with mark 1, in selection order, lofted; the mark-2 sketch is the
// guide, recorded only.
swsim::SolidFeaturePtr loftSelectedProfiles(docContextS& context, bool cut) {
    swsim::PartDocument& part = *context.part;
    std::vector<swsim::SketchPtr> profiles;
    swsim::SketchPtr guide;
    for (const auto& entry : part.selection().entries()) {
        auto sketch = std::dynamic_pointer_cast<swsim::Sketch>(entry.object);
        if (sketch && entry.mark == 1)
            profiles.push_back(sketch);
        else if (sketch && entry.mark == 2 && !guide)
            guide = sketch;
    }
    swsim::SolidFeaturePtr feature = part.addLoft(profiles, guide, cut);
    if (feature)
        part.clearSelection();
    return feature;
}
} // namespace

HRESULT featureManagerC::loftCall(const char* key, journalArgs args, bool cut, IFeature** feature) {
    return docCall(key, std::move(args), feature, [&](docContextS& context) {
        const IFeaturePtr made = context.wrap(loftSelectedProfiles(context, cut));
        *feature = IFeaturePtr(made).Detach();
        return S_OK;
    });
}

HRESULT featureManagerC::CreateSweep(short s1, short s2, VARIANT_BOOL v3, double d4,
                                     VARIANT_BOOL v5, VARIANT_BOOL v6, double d7, double d8,
                                     VARIANT_BOOL v9, VARIANT_BOOL v10, VARIANT_BOOL v11,
                                     double d12, double d13, VARIANT_BOOL v14, VARIANT_BOOL v15,
                                     VARIANT_BOOL v16, VARIANT_BOOL v17, IFeature** feature) {
    return loftCall(
        "IFeatureManager::CreateSweep",
        sweepArgs(s1, s2, v3, d4, v5, v6, d7, d8, v9, v10, v11, d12, d13, v14, v15, v16, v17),
        false, feature);
}

HRESULT featureManagerC::CreateSweepWithOperation(short s1, short s2, VARIANT_BOOL v3, double d4,
                                                  VARIANT_BOOL v5, VARIANT_BOOL v6, VARIANT_BOOL v7,
                                                  double d8, double d9, VARIANT_BOOL v10,
                                                  VARIANT_BOOL v11, VARIANT_BOOL v12,
                                                  IFeature** feature) {
    return loftCall("IFeatureManager::CreateSweepWithOperation",
                    sweepWithOperationArgs(s1, s2, v3, d4, v5, v6, v7, d8, d9, v10, v11, v12), true,
                    feature);
}

swsim::SolidFeaturePtr holeAtSelection(docContextS& context, const double (&d)[14]) {
    swsim::PartDocument& part = *context.part;
    swsim::FacePtr face;
    std::optional<swsim::Vec3> pick;
    for (const auto& entry : part.selection().entries())
        if (auto selected = std::dynamic_pointer_cast<swsim::Face>(entry.object)) {
            face = selected;
            pick = entry.pickPoint;
            break;
        }
    if (!face)
        return nullptr;
    swsim::HoleSpec request;
    const std::optional<swsim::Vec3> point = pick ? pick : face->closestPoint({0, 0, 0});
    if (!point)
        return nullptr;
    request.point = *point;
    request.direction = -face->normalAt(request.point);
    const double diameter = d[0];
    const double depth = d[1];
    auto cylinder = [](double diam, double length) {
        return swsim::HoleSection{diam, diam, length};
    };
    // A counterbore takes the first part of the depth; the rest is the plain hole.
    auto counterbored = [&](double cbDiameter, double cbDepth) {
        request.sections.push_back(cylinder(cbDiameter, cbDepth));
        if (depth - cbDepth > 0.0)
            request.sections.push_back(cylinder(diameter, depth - cbDepth));
    };
    // Counterdrilled: the counterbore, then a cone of the included angle from the
    // counterbore's diameter down to the hole's, then the plain hole for what is left of the
    // depth. A cone that reaches past the depth is left to the model to refuse.
    auto counterdrilled = [&](double cbDiameter, double cbDepth, double angle) {
        if (!(angle > 0.0 && angle < std::numbers::pi) || !(cbDiameter > diameter))
            return false;
        const double coneDepth = (cbDiameter - diameter) / 2.0 / std::tan(angle / 2.0);
        request.sections.push_back(cylinder(cbDiameter, cbDepth));
        request.sections.push_back({cbDiameter, diameter, coneDepth});
        const double rest = depth - cbDepth - coneDepth;
        if (std::abs(rest) > 1e-9)
            request.sections.push_back(cylinder(diameter, rest));
        return true;
    };
    const double variant = d[2];
    if (variant == 0.0) {
        request.sections.push_back(cylinder(diameter, depth));
    } else if (variant == 1.0) {
        request.sections.push_back({d[3], diameter, depth}); // d1 is the far (small) diameter
    } else if (variant == 2.0) {
        counterbored(d[3], d[4]);
    } else if (variant == 3.0) {
        request.sections.push_back(cylinder(diameter, depth));
        request.countersinkAngle = d[3];
        request.countersinkDiameter = d[4];
    } else if (variant == 4.0) {
        if (!counterdrilled(d[3], d[4], d[5]))
            return nullptr;
    } else if (variant == 5.0) {
        request.sections.push_back(cylinder(diameter, depth));
        request.tipAngle = d[3];
    } else if (variant == 6.0) {
        request.sections.push_back({diameter, d[3], depth});
        request.tipAngle = d[4];
    } else if (variant == 7.0) {
        counterbored(d[3], d[4]);
        request.tipAngle = d[5];
    } else if (variant == 8.0) {
        request.sections.push_back(cylinder(diameter, depth));
        request.countersinkDiameter = d[3];
        request.countersinkAngle = d[4];
        request.tipAngle = d[5];
    } else if (variant == 9.0) {
        if (!counterdrilled(d[3], d[4], d[6]))
            return nullptr;
        request.tipAngle = d[5];
    } else {
        return nullptr;
    }
    swsim::SolidFeaturePtr feature = part.addHole(request);
    if (feature)
        part.clearSelection();
    return feature;
}

HRESULT featureManagerC::CreateHole(long type, long standard, long fastener, BSTR size,
                                    VARIANT_BOOL endCondition, double d1, double d2, double d3,
                                    double d4, double d5, double d6, double d7, double d8,
                                    double d9, double d10, double d11, double d12, double d13,
                                    double d14, BSTR text, VARIANT_BOOL flag1, VARIANT_BOOL flag2,
                                    VARIANT_BOOL flag3, VARIANT_BOOL flag4, VARIANT_BOOL flag5,
                                    VARIANT_BOOL flag6, IFeature** feature) {
    const double d[14] = {d1, d2, d3, d4, d5, d6, d7, d8, d9, d10, d11, d12, d13, d14};
    journalArgs args = {journalValue(type), journalValue(standard), journalValue(fastener),
                        journalValue(size), journalValue(endCondition)};
    for (double value : d)
        args.push_back(journalValue(value));
    args.push_back(journalValue(text));
    for (VARIANT_BOOL flag : {flag1, flag2, flag3, flag4, flag5, flag6})
        args.push_back(journalValue(flag));
    return docCall("IFeatureManager::CreateHole", std::move(args), feature,
                   [&](docContextS& context) {
                       const IFeaturePtr made = context.wrap(holeAtSelection(context, d));
                       *feature = IFeaturePtr(made).Detach();
                       return S_OK;
                   });
}

HRESULT featureManagerC::InsertCosmeticThread(short type, double diameter, double length,
                                              BSTR description, IFeature** feature) {
    return docCall("IFeatureManager::InsertCosmeticThread",
                   {journalValue(type), journalValue(diameter), journalValue(length),
                    journalValue(description)},
                   feature, [&](docContextS& context) {
                       swsim::PartDocument& part = *context.part;
                       const auto edge = part.selection().first<swsim::Edge>();
                       swsim::CosmeticThreadPtr thread;
                       if (edge)
                           thread =
                               part.addCosmeticThread(edge, diameter, length, utf8Of(description));
                       const IFeaturePtr made = context.wrap(thread);
                       *feature = IFeaturePtr(made).Detach();
                       return S_OK;
                   });
}

HRESULT featureManagerC::SetTreeUpdates(VARIANT_BOOL enabled) {
    return call("IFeatureManager::SetTreeUpdates", {journalValue(enabled)}, [] { return S_OK; });
}

HRESULT featureManagerC::HideSelectedBodies() {
    return docCall("IFeatureManager::HideSelectedBodies", {}, [&](docContextS& context) {
        swsim::PartDocument& part = *context.part;
        for (const auto& entry : part.selection().entries())
            if (auto body = swsim::objectAs<swsim::Body>(entry.object))
                part.setBodyHidden(*body, true);
        part.clearSelection();
        return S_OK;
    });
}

namespace {

journalArgs mateReferenceArgs(BSTR name, IDispatch* entity1, long type1, long alignment1,
                              IDispatch* entity2, long type2, long alignment2, IDispatch* entity3,
                              long type3, long alignment3) {
    return {journalValue(name),       journalValue(entity1), journalValue(type1),
            journalValue(alignment1), journalValue(entity2), journalValue(type2),
            journalValue(alignment2), journalValue(entity3), journalValue(type3),
            journalValue(alignment3)};
}

// One entity is what a reference needs here, in a part or an assembly; types and alignments
// are journalled.
template <class Document>
HRESULT makeMateReference(docContextS& context, Document& document, BSTR name, IDispatch* entity,
                          IFeature** feature) {
    const swsim::MateReferencePtr made =
        document.addMateReference(utf8Of(name), modelObjectOf(entity));
    *feature = IFeaturePtr(context.wrap(made)).Detach();
    return S_OK;
}

} // namespace

HRESULT featureManagerC::InsertMateReference(BSTR name, IDispatch* entity1, long type1,
                                             long alignment1, IDispatch* entity2, long type2,
                                             long alignment2, IDispatch* entity3, long type3,
                                             long alignment3, IFeature** feature) {
    return docCall("IFeatureManager::InsertMateReference",
                   mateReferenceArgs(name, entity1, type1, alignment1, entity2, type2, alignment2,
                                     entity3, type3, alignment3),
                   feature, [&](docContextS& context) {
                       return makeMateReference(context, *context.part, name, entity1, feature);
                   });
}

HRESULT assemblyFeatureManagerC::InsertMateReference(BSTR name, IDispatch* entity1, long type1,
                                                     long alignment1, IDispatch* entity2,
                                                     long type2, long alignment2,
                                                     IDispatch* entity3, long type3,
                                                     long alignment3, IFeature** feature) {
    return docCall("IFeatureManager::InsertMateReference",
                   mateReferenceArgs(name, entity1, type1, alignment1, entity2, type2, alignment2,
                                     entity3, type3, alignment3),
                   feature, [&](docContextS& context) {
                       return makeMateReference(context, *context.assembly, name, entity1, feature);
                   });
}

namespace {

// The first selected object of type T with the mark.
template <class T> std::shared_ptr<T> marked(const swsim::PartDocument& part, int mark) {
    for (const auto& entry : part.selection().entries())
        if (entry.mark == mark)
            if (auto object = std::dynamic_pointer_cast<T>(entry.object))
                return object;
    return nullptr;
}

constexpr int kMarkDirection1 = 1;
constexpr int kMarkDirection2 = 2;
constexpr int kMarkSeed = 4;
constexpr int kMarkReferencePoint = 32;
constexpr int kMarkSketch = 64;

// A marked sketch line's direction, start to end; zero when none is marked.
swsim::Vec3 lineDirection(const swsim::PartDocument& part, int mark, bool flip) {
    const auto line = marked<swsim::SketchSegment>(part, mark);
    if (!line || line->kind() != swsim::SegmentKind::Line)
        return {};
    const swsim::Vec3 d = line->end()->modelPosition() - line->start()->modelPosition();
    return flip ? -d : d;
}

// The pattern made from the selection; the selection is cleared when it was made.
swsim::SolidFeaturePtr patternOfSelection(docContextS& context, const swsim::PatternLayout& layout,
                                          const swsim::SketchPtr& sketch) {
    swsim::PartDocument& part = *context.part;
    // Every feature marked to repeat, in the order selected, each once.
    std::vector<swsim::SolidFeaturePtr> seeds;
    for (const auto& entry : part.selection().entries())
        if (entry.mark == kMarkSeed)
            if (auto seed = std::dynamic_pointer_cast<swsim::SolidFeature>(entry.object);
                seed && std::find(seeds.begin(), seeds.end(), seed) == seeds.end())
                seeds.push_back(std::move(seed));
    if (seeds.empty())
        return nullptr;
    swsim::SolidFeaturePtr made = part.addPattern(seeds, layout, sketch);
    if (made)
        part.clearSelection();
    return made;
}

// Points of a sketch that stand alone (no segment's end or centre).
std::vector<swsim::SketchPointPtr> freePoints(const swsim::Sketch& sketch) {
    std::vector<swsim::SketchPointPtr> out;
    for (const auto& p : sketch.points()) {
        bool used = false;
        for (const auto& s : sketch.segments())
            used = used || s->start() == p || s->end() == p || s->centre() == p;
        if (!used)
            out.push_back(p);
    }
    return out;
}

} // namespace

HRESULT featureManagerC::CreateLinearPattern(long count1, double spacing1, long count2,
                                             double spacing2, VARIANT_BOOL flip1,
                                             VARIANT_BOOL flip2, BSTR name1, BSTR name2,
                                             VARIANT_BOOL geometry, IFeature** feature) {
    return docCall("IFeatureManager::CreateLinearPattern",
                   {journalValue(count1), journalValue(spacing1), journalValue(count2),
                    journalValue(spacing2), journalValue(flip1), journalValue(flip2),
                    journalValue(name1), journalValue(name2), journalValue(geometry)},
                   feature, [&](docContextS& context) {
                       const swsim::PartDocument& part = *context.part;
                       swsim::PatternLayout layout;
                       layout.kind = swsim::PatternLayout::Kind::Linear;
                       layout.count1 = static_cast<int>(count1);
                       layout.count2 = static_cast<int>(count2);
                       layout.spacing1 = spacing1;
                       layout.spacing2 = spacing2;
                       layout.dir1 = lineDirection(part, kMarkDirection1, flip1 != VARIANT_FALSE);
                       layout.dir2 = lineDirection(part, kMarkDirection2, flip2 != VARIANT_FALSE);
                       const auto line = marked<swsim::SketchSegment>(part, kMarkDirection1);
                       const IFeaturePtr made = context.wrap(
                           patternOfSelection(context, layout, line ? line->sketch() : nullptr));
                       *feature = IFeaturePtr(made).Detach();
                       return S_OK;
                   });
}

HRESULT featureManagerC::CreateCircularPattern(long count, double angle, VARIANT_BOOL reverse,
                                               BSTR name, VARIANT_BOOL geometry,
                                               IFeature** feature) {
    return docCall("IFeatureManager::CreateCircularPattern",
                   {journalValue(count), journalValue(angle), journalValue(reverse),
                    journalValue(name), journalValue(geometry)},
                   feature, [&](docContextS& context) {
                       IFeaturePtr made;
                       if (const auto axis =
                               marked<swsim::RefAxis>(*context.part, kMarkDirection1)) {
                           swsim::PatternLayout layout;
                           layout.kind = swsim::PatternLayout::Kind::Circular;
                           layout.count = static_cast<int>(count);
                           layout.angle = reverse != VARIANT_FALSE ? -angle : angle;
                           layout.axisPoint = axis->point();
                           layout.axisDirection = axis->direction();
                           made = context.wrap(patternOfSelection(context, layout, nullptr));
                       }
                       *feature = IFeaturePtr(made).Detach();
                       return S_OK;
                   });
}

HRESULT featureManagerC::CreateSketchPattern(VARIANT_BOOL useCentroid, VARIANT_BOOL geometry,
                                             IFeature** feature) {
    return docCall("IFeatureManager::CreateSketchPattern",
                   {journalValue(useCentroid), journalValue(geometry)}, feature,
                   [&](docContextS& context) {
                       const swsim::PartDocument& part = *context.part;
                       const auto sketch = marked<swsim::Sketch>(part, kMarkSketch);
                       const auto reference = marked<swsim::SketchPoint>(part, kMarkReferencePoint);
                       IFeaturePtr made;
                       if (sketch && reference) {
                           swsim::PatternLayout layout;
                           layout.kind = swsim::PatternLayout::Kind::Sketch;
                           const swsim::Vec3 from = reference->modelPosition();
                           for (const auto& p : freePoints(*sketch)) {
                               const swsim::Vec3 offset = p->modelPosition() - from;
                               // A point on the reference itself stands for the seed.
                               if (swsim::norm(offset) > 1e-9)
                                   layout.offsets.push_back(offset);
                           }
                           made = context.wrap(patternOfSelection(context, layout, sketch));
                       }
                       *feature = IFeaturePtr(made).Detach();
                       return S_OK;
                   });
}
