// The fault plan of a session: what a call keyed "Interface::Method" does instead of its
// normal answer, on its n-th call (counted from 1) or on every call (n = 0); and which
// interfaces QueryInterface refuses. Rules of one key are tried in the order they were added;
// the first that applies to the call is used. Scripted objects are held until the plan is
// cleared; the session's application object clears it when it goes away.
#pragma once

#include "platform/com/com.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

enum class faultKindE {
    failWith,                // the call returns `hr`, outputs empty
    returnNull,              // S_OK with a null object, FALSE, 0 or an empty string/VARIANT
    returnSFalse,            // S_FALSE, outputs empty
    scriptedValue,           // S_OK with `value` as the main output
    malformedArray,          // the normal answer, then the array answer spoilt as `malformed` says
    failBstrAllocation,      // the call runs with the next BSTR allocation failing
    failSafeArrayAllocation, // the call runs with the next SAFEARRAY creation failing
};

enum class malformedArrayE {
    tooShort,          // the last element dropped
    wrongElementType,  // doubles become 32-bit ints; anything else becomes doubles
    lowerBoundNotZero, // the same elements from lower bound 1
    noArray,           // VT_EMPTY
};

struct faultS {
    faultKindE kind = faultKindE::failWith;
    HRESULT hr = 0;
    _variant_t value;
    malformedArrayE malformed = malformedArrayE::tooShort;
};

class faultPlanC {
public:
    void failWith(const std::string& key, HRESULT hr, int onCall = 0);
    void returnNull(const std::string& key, int onCall = 0);
    void returnSFalse(const std::string& key, int onCall = 0);
    void scriptValue(const std::string& key, const _variant_t& value, int onCall = 0);
    // Calls 1, 2, ... answer the values in turn; later calls answer normally.
    void scriptSequence(const std::string& key, const std::vector<_variant_t>& values);
    void malformArray(const std::string& key, malformedArrayE how, int onCall = 0);
    void failBstrAllocation(const std::string& key, int onCall = 0);
    void failSafeArrayAllocation(const std::string& key, int onCall = 0);
    // QueryInterface for the named interface ("IEntity") answers E_NOINTERFACE on the n-th
    // query of that interface (0: always).
    void refuseInterface(const std::string& interfaceName, int onQuery = 0);
    void clear();

    // Used by the session: counts one call of `key` and gives the fault that applies to it.
    std::optional<faultS> take(const std::string& key);
    // Counts one query of the interface and tells whether it is refused.
    bool refuses(const std::string& interfaceName);

private:
    struct ruleS {
        int onCall = 0;
        faultS fault;
    };
    void add(const std::string& key, int onCall, faultS fault);

    std::mutex mutex_;
    std::map<std::string, std::vector<ruleS>> rules_;
    std::map<std::string, int> calls_;
    std::map<std::string, std::vector<int>> refused_;
    std::map<std::string, int> queries_;
};
