#include "platform/sldworks/session/feature.h"

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
    return docCall("IFeature::GetNext", {}, feature, [&](docContextS& context) {
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
    return docCall("IFeature::Select", {journalValue(append), journalValue(mark)}, selected,
                   [&](docContextS& context) {
                       *selected = variantBool(context.part->select(
                           feature_, append != VARIANT_FALSE, static_cast<int>(mark)));
                       return S_OK;
                   });
}

HRESULT featureC::GetFaces(VARIANT* faces) {
    return docCall("IFeature::GetFaces", {}, faces, [&](docContextS& context) {
        std::vector<IDispatchPtr> wrapped;
        for (const auto& face : context.part->facesOfFeature(*feature_))
            wrapped.push_back(context.wrap(face));
        return putObjects(wrapped, faces);
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
