#include "platform/sldworks/testkit/fault_plan.h"

#include <algorithm>

void faultPlanC::add(const std::string& key, int onCall, faultS fault) {
    std::lock_guard lock(mutex_);
    rules_[key].push_back({onCall, std::move(fault)});
}

void faultPlanC::failWith(const std::string& key, HRESULT hr, int onCall) {
    faultS fault;
    fault.kind = faultKindE::failWith;
    fault.hr = hr;
    add(key, onCall, std::move(fault));
}

void faultPlanC::returnNull(const std::string& key, int onCall) {
    faultS fault;
    fault.kind = faultKindE::returnNull;
    add(key, onCall, std::move(fault));
}

void faultPlanC::returnSFalse(const std::string& key, int onCall) {
    faultS fault;
    fault.kind = faultKindE::returnSFalse;
    add(key, onCall, std::move(fault));
}

void faultPlanC::scriptValue(const std::string& key, const _variant_t& value, int onCall) {
    faultS fault;
    fault.kind = faultKindE::scriptedValue;
    fault.value = value;
    add(key, onCall, std::move(fault));
}

void faultPlanC::scriptSequence(const std::string& key, const std::vector<_variant_t>& values) {
    std::lock_guard lock(mutex_);
    // Numbered from the calls already made, so that a sequence set mid-test answers the
    // next calls.
    const int made = calls_[key];
    for (std::size_t i = 0; i < values.size(); ++i) {
        faultS fault;
        fault.kind = faultKindE::scriptedValue;
        fault.value = values[i];
        rules_[key].push_back({made + static_cast<int>(i) + 1, std::move(fault)});
    }
}

void faultPlanC::malformArray(const std::string& key, malformedArrayE how, int onCall) {
    faultS fault;
    fault.kind = faultKindE::malformedArray;
    fault.malformed = how;
    add(key, onCall, std::move(fault));
}

void faultPlanC::failBstrAllocation(const std::string& key, int onCall) {
    faultS fault;
    fault.kind = faultKindE::failBstrAllocation;
    add(key, onCall, std::move(fault));
}

void faultPlanC::failSafeArrayAllocation(const std::string& key, int onCall) {
    faultS fault;
    fault.kind = faultKindE::failSafeArrayAllocation;
    add(key, onCall, std::move(fault));
}

void faultPlanC::refuseInterface(const std::string& interfaceName, int onQuery) {
    std::lock_guard lock(mutex_);
    refused_[interfaceName].push_back(onQuery);
}

void faultPlanC::clear() {
    std::lock_guard lock(mutex_);
    rules_.clear();
    calls_.clear();
    refused_.clear();
    queries_.clear();
}

std::optional<faultS> faultPlanC::take(const std::string& key) {
    std::lock_guard lock(mutex_);
    const int call = ++calls_[key];
    const auto found = rules_.find(key);
    if (found == rules_.end())
        return std::nullopt;
    for (const auto& rule : found->second)
        if (rule.onCall == 0 || rule.onCall == call)
            return rule.fault;
    return std::nullopt;
}

bool faultPlanC::refuses(const std::string& interfaceName) {
    std::lock_guard lock(mutex_);
    const auto found = refused_.find(interfaceName);
    if (found == refused_.end())
        return false;
    const int query = ++queries_[interfaceName];
    return std::any_of(found->second.begin(), found->second.end(),
                       [&](int onQuery) { return onQuery == 0 || onQuery == query; });
}
