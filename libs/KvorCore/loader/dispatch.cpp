#include "libs/KvorCore/loader/dispatch.h"

#include "platform/host/services/messages.h"

#include <exception>

namespace {

thread_local mzComStringC lastInvokeError;

} // namespace

std::shared_ptr<hostsvc::HostObject> mzIDispatchC::hostObject() const {
    if (object_)
        return object_;
    if (name_.isEmpty())
        return nullptr;
    return hostsvc::findHostObject(name_.toUtf8());
}

mzComVariantC mzIDispatchC::invoke(const mzComStringC& method,
                                   const mzComVariantArrayC& args) const noexcept {
    try {
        const std::shared_ptr<hostsvc::HostObject> object = hostObject();
        if (!object) {
            lastInvokeError =
                name_.isEmpty()
                    ? "Call of '" + method + "' failed: the handle holds no object"
                    : "Call of '" + method + "' failed: no host object named '" + name_ + "'";
            return {};
        }
        mzComVariantC result =
            mzComVariantC::fromHostValue(object->invoke(method.toUtf8(), args.hostValues()));
        lastInvokeError = mzComStringC();
        return result;
    } catch (const std::exception& e) {
        try {
            lastInvokeError = "Call of '" + method + "' on '" + name_ + "' failed: " + e.what();
        } catch (...) {
            lastInvokeError = mzComStringC();
        }
    } catch (...) {
        try {
            lastInvokeError = "Call of '" + method + "' on '" + name_ + "' failed: unknown error";
        } catch (...) {
            lastInvokeError = mzComStringC();
        }
    }
    return {};
}

mzComStringC getLastInvokeError() {
    return lastInvokeError;
}

void clearLastInvokeError() {
    lastInvokeError = mzComStringC();
}

bool displayLastInvokeException() {
    if (lastInvokeError.isEmpty())
        return false;
    hostsvc::showMessage(lastInvokeError.toUtf8(), hostsvc::MessageKind::Error);
    lastInvokeError = mzComStringC();
    return true;
}
