#include "platform/sldworks/session/sketch_objects.h"

sketchPointC::sketchPointC(const docContextPtr& context, swsim::SketchPointPtr point)
    : sketchPointStubsT(context), point_(std::move(point)) {}

HRESULT sketchPointC::GetX(double* value) {
    return docCall("ISketchPoint::GetX", {}, value, [&](docContextS&) {
        *value = point_->position().x;
        return S_OK;
    });
}

HRESULT sketchPointC::GetY(double* value) {
    return docCall("ISketchPoint::GetY", {}, value, [&](docContextS&) {
        *value = point_->position().y;
        return S_OK;
    });
}

HRESULT sketchPointC::GetZ(double* value) {
    return docCall("ISketchPoint::GetZ", {}, value, [&](docContextS&) {
        *value = point_->position().z;
        return S_OK;
    });
}

sketchSegmentC::sketchSegmentC(const docContextPtr& context, swsim::SketchSegmentPtr segment)
    : sketchSegmentStubsT(context), segment_(std::move(segment)) {}

HRESULT sketchSegmentC::SetCenterline(VARIANT_BOOL centreLine) {
    return docCall("ISketchSegment::SetCenterline", {journalValue(centreLine)}, [&](docContextS&) {
        segment_->setCentreLine(centreLine != VARIANT_FALSE);
        return S_OK;
    });
}

constraintC::constraintC(const docContextPtr& context, swsim::SketchConstraintPtr constraint)
    : constraintStubsT(context), constraint_(std::move(constraint)) {}

HRESULT constraintC::GetKind(long* kind) {
    return docCall("IConstraint::GetKind", {}, kind, [&](docContextS&) {
        *kind = constraint_->kind();
        return S_OK;
    });
}

constraintManagerC::constraintManagerC(const docContextPtr& context, swsim::SketchPtr sketch)
    : constraintManagerStubsT(context), sketch_(std::move(sketch)) {}

HRESULT constraintManagerC::GetConstraints(long kind, VARIANT* constraints) {
    return docCall("IConstraintManager::GetConstraints", {journalValue(kind)}, constraints,
                   [&](docContextS& context) {
                       std::vector<IDispatchPtr> wrapped;
                       for (const auto& constraint : sketch_->constraints(static_cast<int>(kind)))
                           wrapped.push_back(context.wrap(constraint));
                       return putObjects(wrapped, constraints);
                   });
}

HRESULT constraintManagerC::AddConstraint(VARIANT entities, long kind, IDispatch** constraint) {
    return docCall(
        "IConstraintManager::AddConstraint", {journalValue(entities), journalValue(kind)},
        constraint, [&](docContextS& context) {
            std::vector<IUnknownPtr> objects;
            const HRESULT hr = readObjects(entities, objects);
            if (FAILED(hr))
                return hr;
            std::vector<swsim::ObjectPtr> model;
            for (const auto& object : objects) {
                swsim::ObjectPtr entity = modelObjectOf(object);
                if (!entity)
                    return E_INVALIDARG;
                model.push_back(std::move(entity));
            }
            // Entities of another sketch give no constraint (null), as does an
            // empty list.
            return putObject(context.wrap(sketch_->addConstraint(static_cast<int>(kind), model)),
                             constraint);
        });
}

HRESULT constraintManagerC::RemoveConstraint(IDispatch* constraint, VARIANT_BOOL* removed) {
    return docCall("IConstraintManager::RemoveConstraint", {journalValue(constraint)}, removed,
                   [&](docContextS&) {
                       const auto model = modelObjectAs<swsim::SketchConstraint>(constraint);
                       *removed = variantBool(model && sketch_->removeConstraint(model));
                       return S_OK;
                   });
}
