// mzIDispatchC: client handle of a host object reached by name.
//
// invoke never throws. A failed call (no such object, no such method, a failure inside the
// method) gives an empty variant and becomes the calling thread's last invoke error; a call
// that succeeds clears it, so the error always belongs to the thread's latest call.
#pragma once

#include "libs/KvorCore/loader/com_variant.h"

#include <memory>

class mzIDispatchC {
public:
    mzIDispatchC() = default;
    // Bound by name: the object is looked up in the host's registry at each call, so a handle
    // made before the object is registered works once it is.
    explicit mzIDispatchC(const mzComStringC& objectName) : name_(objectName) {}
    explicit mzIDispatchC(std::shared_ptr<hostsvc::HostObject> object,
                          const mzComStringC& objectName = {})
        : name_(objectName), object_(std::move(object)) {}

    bool isValid() const { return object_ != nullptr || !name_.isEmpty(); }
    const mzComStringC& objectName() const { return name_; }
    std::shared_ptr<hostsvc::HostObject> hostObject() const;

    mzComVariantC invoke(const mzComStringC& method,
                         const mzComVariantArrayC& args = {}) const noexcept;

private:
    mzComStringC name_;
    std::shared_ptr<hostsvc::HostObject> object_;
};

// The calling thread's last invoke error as a text; empty when the latest call succeeded.
mzComStringC getLastInvokeError();
void clearLastInvokeError();
// Shows the calling thread's last invoke error to the user and clears it; false when there
// was none.
bool displayLastInvokeException();
