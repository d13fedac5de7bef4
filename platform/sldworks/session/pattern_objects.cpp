#include "platform/sldworks/session/pattern_objects.h"

patternDataStateC::patternDataStateC(swsim::SolidFeaturePtr pattern)
    : pattern_(std::move(pattern)), skipped_(pattern_->pattern().skipped) {}

HRESULT patternDataStateC::setSkipped(long count, const LONG* items) {
    if (count < 0 || (count > 0 && items == nullptr))
        return E_INVALIDARG;
    const std::vector<int> wanted(items, items + count);
    skipped_ = swsim::PartDocument::acceptedSkips(wanted, pattern_->pattern().instanceCount());
    return S_OK;
}

HRESULT patternDataStateC::setSkippedArray(const VARIANT& items) {
    std::vector<long> values;
    const HRESULT hr = readLongs(items, values);
    if (FAILED(hr))
        return hr;
    std::vector<LONG> numbers(values.begin(), values.end());
    return setSkipped(static_cast<long>(numbers.size()), numbers.data());
}

patternDataStateC* patternDataStateOf(IDispatch* data) {
    return dynamic_cast<patternDataStateC*>(data);
}

HRESULT linearPatternDataC::BeginAccess(IModelDoc2* doc, IDispatch* component,
                                        VARIANT_BOOL* done) {
    return docCall("ILinearPatternData::BeginAccess", {journalValue(doc), journalValue(component)},
                   done, [&](docContextS&) {
                       *done = VARIANT_TRUE;
                       return S_OK;
                   });
}

HRESULT linearPatternDataC::SetGeometryPattern(VARIANT_BOOL value) {
    // Copies are always made of the seed's whole tool: the option changes nothing here.
    return docCall("ILinearPatternData::SetGeometryPattern", {journalValue(value)},
                   [](docContextS&) { return S_OK; });
}

HRESULT linearPatternDataC::SetSkipped(long count, LONG* items) {
    return docCall("ILinearPatternData::SetSkipped", {journalValue(count), journalValue(items)},
                   [&](docContextS&) { return setSkipped(count, items); });
}

HRESULT linearPatternDataC::SetSkippedArray(VARIANT items) {
    return docCall("ILinearPatternData::SetSkippedArray", {journalValue(items)},
                   [&](docContextS&) { return setSkippedArray(items); });
}

HRESULT linearPatternDataC::GetSkippedCount(long* count) {
    return docCall("ILinearPatternData::GetSkippedCount", {}, count, [&](docContextS&) {
        *count = static_cast<long>(skipped().size());
        return S_OK;
    });
}

HRESULT linearPatternDataC::EndAccess() {
    return docCall("ILinearPatternData::EndAccess", {}, [](docContextS&) { return S_OK; });
}

HRESULT circularPatternDataC::SetSkipped(long count, LONG* items) {
    return docCall("ICircularPatternData::SetSkipped", {journalValue(count), journalValue(items)},
                   [&](docContextS&) { return setSkipped(count, items); });
}

HRESULT circularPatternDataC::GetSkippedCount(long* count) {
    return docCall("ICircularPatternData::GetSkippedCount", {}, count, [&](docContextS&) {
        *count = static_cast<long>(skipped().size());
        return S_OK;
    });
}

HRESULT circularPatternDataC::EndAccess() {
    return docCall("ICircularPatternData::EndAccess", {}, [](docContextS&) { return S_OK; });
}
