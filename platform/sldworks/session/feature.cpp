#include "platform/sldworks/session/feature.h"

#include "platform/sldworks/session/pattern_objects.h"
#include "platform/sldworks/session/sketch_objects.h"

featureC::featureC(const docContextPtr& context, swsim::FeaturePtr feature)
    : featureStubsT(context), feature_(std::move(feature)) {}

bool featureC::answersInterface(REFIID iid) const {
    if (iid == uuidOf<IRefPlane>())
        return feature_->kind() == swsim::FeatureKind::RefPlane;
    if (iid == uuidOf<ISketch>())
        return sketch() != nullptr;
    return true;
}

swsim::SketchPtr featureC::sketch() const {
    return std::dynamic_pointer_cast<swsim::Sketch>(feature_);
}

HRESULT featureC::GetName(BSTR* name) {
    return docCall("IFeature::GetName", {}, name,
                   [&](docContextS&) { return putBstr(feature_->name(), name); });
}

HRESULT featureC::SetName(BSTR name) {
    return docCall("IFeature::SetName", {journalValue(name)}, [&](docContextS&) {
        // A name in use elsewhere changes nothing; callers read the name back.
        feature_->setName(utf8Of(name));
        return S_OK;
    });
}

HRESULT featureC::GetNext(IDispatch** feature) {
    return partCall("IFeature::GetNext", {}, feature, [&](docContextS& context) {
        return putObject(context.wrap(context.part->nextFeature(*feature_)), feature);
    });
}

HRESULT featureC::GetTypeName(BSTR* type) {
    return docCall("IFeature::GetTypeName", {}, type,
                   [&](docContextS&) { return putBstr(feature_->typeName(), type); });
}

HRESULT featureC::GetSpecificFeature(IDispatch** object) {
    return docCall("IFeature::GetSpecificFeature", {}, object, [&](docContextS& context) {
        // Planes and sketches are their own specific objects (they answer IRefPlane/ISketch).
        return putObject(context.wrap(feature_), object);
    });
}

HRESULT featureC::Select(VARIANT_BOOL append, long mark, VARIANT_BOOL* selected) {
    return partCall("IFeature::Select", {journalValue(append), journalValue(mark)}, selected,
                    [&](docContextS& context) {
                        *selected = variantBool(context.part->select(
                            feature_, append != VARIANT_FALSE, static_cast<int>(mark)));
                        return S_OK;
                    });
}

HRESULT featureC::HideInTree(long hide, long options) {
    return docCall("IFeature::HideInTree", {journalValue(hide), journalValue(options)},
                   [&](docContextS& context) {
                       feature_->setHidden(hide != 0);
                       // Hiding the surface body folder hides the sheet bodies in it, so that
                       // they leave the box, the copies and the previews.
                       if (hide != 0 && context.part && feature_->typeName() == "SurfaceBodyFolder")
                           for (const auto& body : context.part->bodies(swsim::BodyKind::Sheet))
                               context.part->setBodyHidden(*body, true);
                       return S_OK;
                   });
}

HRESULT featureC::GetFaces(VARIANT* faces) {
    return partCall("IFeature::GetFaces", {}, faces, [&](docContextS& context) {
        std::vector<IDispatchPtr> wrapped;
        for (const auto& face : context.part->facesOfFeature(*feature_))
            wrapped.push_back(context.wrap(face));
        return putObjects(wrapped, faces);
    });
}

HRESULT featureC::SetSuppression(long state, long option, long count, BSTR* configurations,
                                 VARIANT_BOOL* done) {
    return partCall("IFeature::SetSuppression",
                    {journalValue(state), journalValue(option), journalValue(count),
                     journalValue(configurations)},
                    done, [&](docContextS& context) {
                        // 0 suppresses; 1 and 2 (with the children) unsuppress.
                        if (state < 0 || state > 2)
                            return E_INVALIDARG;
                        std::vector<std::string> names;
                        if (option == 1) {
                            names.push_back(context.model->activeConfiguration()->name());
                        } else if (option == 3) {
                            if (count < 1 || configurations == nullptr)
                                return E_INVALIDARG;
                            for (long i = 0; i < count; ++i)
                                names.push_back(utf8Of(configurations[i]));
                        } else if (option != 2) {
                            return E_INVALIDARG;
                        }
                        *done =
                            variantBool(context.part->setSuppression(feature_, state == 0, names));
                        return S_OK;
                    });
}

HRESULT featureC::GetChildren(VARIANT* children) {
    return partCall("IFeature::GetChildren", {}, children, [&](docContextS& context) {
        std::vector<IDispatchPtr> wrapped;
        for (const auto& child : context.part->children(*feature_))
            wrapped.push_back(context.wrap(child));
        return putObjects(wrapped, children);
    });
}

HRESULT featureC::GetFirstSubFeature(IDispatch** feature) {
    return docCall("IFeature::GetFirstSubFeature", {}, feature, [&](docContextS& context) {
        // A solid feature's one sub-feature is the sketch it was made from.
        const auto solid = std::dynamic_pointer_cast<swsim::SolidFeature>(feature_);
        return putObject(context.wrap(solid ? solid->sketch() : nullptr), feature);
    });
}

HRESULT featureC::GetNextSubFeature(IDispatch** feature) {
    return docCall("IFeature::GetNextSubFeature", {}, feature,
                   [&](docContextS&) { return putObject(IDispatchPtr(), feature); });
}

HRESULT featureC::GetFirstDimensionAnnotation(IDispatch** annotation) {
    return partCall(
        "IFeature::GetFirstDimensionAnnotation", {}, annotation, [&](docContextS& context) {
            const auto list = context.part->dimensionsOf(*feature_);
            return putObject(context.wrap(list.empty() ? nullptr : list.front()), annotation);
        });
}

HRESULT featureC::GetNextDimensionAnnotation(IDispatch* current, IDispatch** annotation) {
    return partCall("IFeature::GetNextDimensionAnnotation", {journalValue(current)}, annotation,
                    [&](docContextS& context) {
                        const auto list = context.part->dimensionsOf(*feature_);
                        const swsim::ObjectPtr at = modelObjectOf(current);
                        for (size_t i = 0; i + 1 < list.size(); ++i)
                            if (list[i] == at)
                                return putObject(context.wrap(list[i + 1]), annotation);
                        return putObject(IDispatchPtr(), annotation);
                    });
}

HRESULT featureC::GetPatternData(IDispatch** data) {
    return docCall("IFeature::GetPatternData", {}, data, [&](docContextS& context) {
        const auto pattern = std::dynamic_pointer_cast<swsim::SolidFeature>(feature_);
        if (!pattern || pattern->kind() != swsim::FeatureKind::Pattern)
            return S_OK;
        const docContextPtr shared = context.shared_from_this();
        if (pattern->pattern().kind == swsim::PatternLayout::Kind::Linear)
            *data = static_cast<ILinearPatternData*>(new linearPatternDataC(shared, pattern));
        else if (pattern->pattern().kind == swsim::PatternLayout::Kind::Circular)
            *data = static_cast<ICircularPatternData*>(new circularPatternDataC(shared, pattern));
        return S_OK;
    });
}

HRESULT featureC::ModifyPatternData(IDispatch* data, IModelDoc2* doc, IDispatch* component,
                                    VARIANT_BOOL* done) {
    return docCall("IFeature::ModifyPatternData",
                   {journalValue(data), journalValue(doc), journalValue(component)}, done,
                   [&](docContextS& context) {
                       const patternDataStateC* state = patternDataStateOf(data);
                       if (state == nullptr || state->pattern() != feature_)
                           return S_OK;
                       *done = variantBool(
                           context.part->setPatternSkipped(state->pattern(), state->skipped()));
                       return S_OK;
                   });
}

HRESULT featureC::GetGeometry(VARIANT* geometry) {
    return docCall("IRefPlane::GetGeometry", {}, geometry, [&](docContextS&) {
        const auto plane = std::dynamic_pointer_cast<swsim::RefPlane>(feature_);
        if (!plane)
            return E_UNEXPECTED;
        return putDoubles(plane->geometryArray(), geometry);
    });
}

HRESULT featureC::GetTransformData(VARIANT* data) {
    return docCall("ISketch::GetTransformData", {}, data, [&](docContextS&) {
        const auto sketch = this->sketch();
        if (!sketch)
            return E_UNEXPECTED;
        const auto values = sketch->modelToSketchData();
        return putDoubles(values.data(), values.size(), data);
    });
}

HRESULT featureC::GetStatus(long* status) {
    return docCall("ISketch::GetStatus", {}, status, [&](docContextS&) {
        const auto sketch = this->sketch();
        if (!sketch)
            return E_UNEXPECTED;
        *status = sketch->status();
        return S_OK;
    });
}

HRESULT featureC::CheckStatus(long* result) {
    return docCall("ISketch::CheckStatus", {}, result, [&](docContextS&) {
        const auto sketch = this->sketch();
        if (!sketch)
            return E_UNEXPECTED;
        *result = sketch->freeDegrees();
        return S_OK;
    });
}

HRESULT featureC::ConstrainAll(long a, long b, long c, long d, long e, long* result) {
    return docCall(
        "ISketch::ConstrainAll",
        {journalValue(a), journalValue(b), journalValue(c), journalValue(d), journalValue(e)},
        result, [&](docContextS&) {
            const auto sketch = this->sketch();
            if (!sketch)
                return E_UNEXPECTED;
            *result = sketch->constrainAll();
            return S_OK;
        });
}

HRESULT featureC::GetConstraintManager(IConstraintManager** manager) {
    return docCall("ISketch::GetConstraintManager", {}, manager, [&](docContextS& context) {
        const auto sketch = this->sketch();
        if (!sketch)
            return E_UNEXPECTED;
        *manager = new constraintManagerC(context.shared_from_this(), sketch);
        return S_OK;
    });
}

HRESULT featureC::GetPoints(VARIANT* points) {
    return docCall("ISketch::GetPoints", {}, points, [&](docContextS& context) {
        const auto sketch = this->sketch();
        if (!sketch)
            return E_UNEXPECTED;
        std::vector<IDispatchPtr> wrapped;
        for (const auto& point : sketch->points())
            wrapped.push_back(context.wrap(point));
        return putObjects(wrapped, points);
    });
}

HRESULT featureC::GetSegments(VARIANT* segments) {
    return docCall("ISketch::GetSegments", {}, segments, [&](docContextS& context) {
        const auto sketch = this->sketch();
        if (!sketch)
            return E_UNEXPECTED;
        std::vector<IDispatchPtr> wrapped;
        for (const auto& segment : sketch->segments())
            wrapped.push_back(context.wrap(segment));
        return putObjects(wrapped, segments);
    });
}
