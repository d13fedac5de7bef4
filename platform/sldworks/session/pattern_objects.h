// Pattern data of a pattern feature (IFeature::GetPatternData): a linear or circular data
// object that holds a copy of the pattern's skipped instances. SetSkipped changes the copy
// (numbers the pattern cannot skip are not taken, so GetSkippedCount tells what was taken);
// IFeature::ModifyPatternData gives the copy to the feature. Made new on each request.
#pragma once

#include "platform/sldworks/session/doc_object.h"

#include <vector>

// What both kinds of pattern data share: the pattern and its skip list.
class patternDataStateC {
public:
    explicit patternDataStateC(swsim::SolidFeaturePtr pattern);
    const swsim::SolidFeaturePtr& pattern() const { return pattern_; }
    const std::vector<int>& skipped() const { return skipped_; }
    // The numbers the pattern takes; E_INVALIDARG for a negative count or null items.
    HRESULT setSkipped(long count, const LONG* items);
    HRESULT setSkippedArray(const VARIANT& items);

private:
    swsim::SolidFeaturePtr pattern_;
    std::vector<int> skipped_;
};

class linearPatternDataC final
    : public linearPatternDataStubsT<docObjectT<linearPatternDataC, ILinearPatternData>>,
      public patternDataStateC {
public:
    linearPatternDataC(const docContextPtr& context, swsim::SolidFeaturePtr pattern)
        : linearPatternDataStubsT(context), patternDataStateC(std::move(pattern)) {}

    HRESULT BeginAccess(IModelDoc2* doc, IDispatch* component, VARIANT_BOOL* done) override;
    HRESULT SetGeometryPattern(VARIANT_BOOL value) override;
    HRESULT SetSkipped(long count, LONG* items) override;
    HRESULT SetSkippedArray(VARIANT items) override;
    HRESULT GetSkippedCount(long* count) override;
    HRESULT EndAccess() override;
};

class circularPatternDataC final
    : public circularPatternDataStubsT<docObjectT<circularPatternDataC, ICircularPatternData>>,
      public patternDataStateC {
public:
    circularPatternDataC(const docContextPtr& context, swsim::SolidFeaturePtr pattern)
        : circularPatternDataStubsT(context), patternDataStateC(std::move(pattern)) {}

    HRESULT SetSkipped(long count, LONG* items) override;
    HRESULT GetSkippedCount(long* count) override;
    HRESULT EndAccess() override;
};

// The state behind a data object handed back to ModifyPatternData; null for anything else.
patternDataStateC* patternDataStateOf(IDispatch* data);
