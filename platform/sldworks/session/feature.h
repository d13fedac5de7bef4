// The session object of a feature. Reference planes also answer IRefPlane and sketches
// ISketch, on the same object, so that a plane or sketch found through the feature list and
// one returned by a creation call are the same pointer.
#pragma once

#include "platform/sldworks/session/doc_object.h"

class featureC final
    : public featureStubsT<
          refPlaneStubsT<sketchStubsT<docObjectT<featureC, IFeature, IRefPlane, ISketch>>>>,
      public modelObjectHolderI {
public:
    featureC(const docContextPtr& context, swsim::FeaturePtr feature);
    swsim::ObjectPtr modelObject() const override { return feature_; }
    bool answersInterface(REFIID iid) const;

    // IFeature
    HRESULT GetName(BSTR* name) override;
    HRESULT SetName(BSTR name) override;
    HRESULT GetNext(IDispatch** feature) override;
    HRESULT GetTypeName(BSTR* type) override;
    HRESULT GetSpecificFeature(IDispatch** object) override;
    HRESULT Select(VARIANT_BOOL append, long mark, VARIANT_BOOL* selected) override;
    HRESULT GetFaces(VARIANT* faces) override;
    HRESULT SetSuppression(long state, long option, long count, BSTR* configurations,
                           VARIANT_BOOL* done) override;
    HRESULT GetFirstSubFeature(IDispatch** feature) override;
    HRESULT GetNextSubFeature(IDispatch** feature) override;
    HRESULT GetFirstDimensionAnnotation(IDispatch** annotation) override;
    HRESULT GetNextDimensionAnnotation(IDispatch* current, IDispatch** annotation) override;
    HRESULT HideInTree(long hide, long options) override;
    HRESULT GetChildren(VARIANT* children) override;
    // A linear pattern answers linear data, a circular one circular data; other features
    // (sketch-driven patterns too) null.
    HRESULT GetPatternData(IDispatch** data) override;
    // Gives the data's skip list to the pattern and replays the part; FALSE for data of
    // another feature.
    HRESULT ModifyPatternData(IDispatch* data, IModelDoc2* doc, IDispatch* component,
                              VARIANT_BOOL* done) override;
    // IRefPlane
    HRESULT GetGeometry(VARIANT* geometry) override;
    // ISketch
    HRESULT GetTransformData(VARIANT* data) override;
    HRESULT GetStatus(long* status) override;
    HRESULT CheckStatus(long* result) override;
    HRESULT ConstrainAll(long a, long b, long c, long d, long e, long* result) override;
    HRESULT GetConstraintManager(IConstraintManager** manager) override;
    HRESULT GetPoints(VARIANT* points) override;
    HRESULT GetSegments(VARIANT* segments) override;

private:
    // A call that needs the part: an assembly's features (its mate references) answer
    // E_NOTIMPL.
    template <class Out, class Body>
    HRESULT partCall(const char* key, journalArgs args, Out* out, Body body) {
        return docCall(key, std::move(args), out, [&](docContextS& context) {
            return context.part ? body(context) : E_NOTIMPL;
        });
    }
    template <class Body> HRESULT partCall(const char* key, journalArgs args, Body body) {
        return docCall(key, std::move(args), [&](docContextS& context) {
            return context.part ? body(context) : E_NOTIMPL;
        });
    }

    // The sketch, or null (the ISketch methods then answer E_UNEXPECTED).
    swsim::SketchPtr sketch() const;

    swsim::FeaturePtr feature_;
};
