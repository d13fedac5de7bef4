// Session objects of sketch entities (points, segments, constraints; cached) and the
// constraint manager of a sketch (new on each request).
#pragma once

#include "platform/sldworks/session/doc_object.h"

class sketchPointC final : public sketchPointStubsT<docObjectT<sketchPointC, ISketchPoint>>,
                           public modelObjectHolderI {
public:
    sketchPointC(const docContextPtr& context, swsim::SketchPointPtr point);
    swsim::ObjectPtr modelObject() const override { return point_; }

    HRESULT GetX(double* value) override;
    HRESULT GetY(double* value) override;
    HRESULT GetZ(double* value) override;

private:
    swsim::SketchPointPtr point_;
};

class sketchSegmentC final : public sketchSegmentStubsT<docObjectT<sketchSegmentC, ISketchSegment>>,
                             public modelObjectHolderI {
public:
    sketchSegmentC(const docContextPtr& context, swsim::SketchSegmentPtr segment);
    swsim::ObjectPtr modelObject() const override { return segment_; }

    HRESULT SetCenterline(VARIANT_BOOL centreLine) override;

private:
    swsim::SketchSegmentPtr segment_;
};

class constraintC final : public constraintStubsT<docObjectT<constraintC, IConstraint>>,
                          public modelObjectHolderI {
public:
    constraintC(const docContextPtr& context, swsim::SketchConstraintPtr constraint);
    swsim::ObjectPtr modelObject() const override { return constraint_; }

    HRESULT GetKind(long* kind) override;

private:
    swsim::SketchConstraintPtr constraint_;
};

class constraintManagerC final
    : public constraintManagerStubsT<docObjectT<constraintManagerC, IConstraintManager>> {
public:
    constraintManagerC(const docContextPtr& context, swsim::SketchPtr sketch);

    HRESULT GetConstraints(long kind, VARIANT* constraints) override;
    HRESULT AddConstraint(VARIANT entities, long kind, IDispatch** constraint) override;
    HRESULT RemoveConstraint(IDispatch* constraint, VARIANT_BOOL* removed) override;

private:
    swsim::SketchPtr sketch_;
};
