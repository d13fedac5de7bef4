// Base of the session objects that belong to a document: docCall() runs a method body with
// the document's context, or answers E_UNEXPECTED once the document is gone.
#pragma once

#include "platform/sldworks/session/arrays.h"
#include "platform/sldworks/session/context.h"
#include "platform/sldworks/session/session_object.h"
#include "platform/sldworks/session/stubs.h"

#include <memory>
#include <utility>

template <class Derived, class... Interfaces>
class docObjectT : public sessionObjectT<Derived, Interfaces...> {
public:
    template <class Out, class Body>
    HRESULT docCall(const char* key, journalArgs args, Out* out, Body body) {
        return this->call(key, std::move(args), out, [&]() -> HRESULT {
            const docContextPtr context = context_.lock();
            if (!context)
                return E_UNEXPECTED;
            return body(*context);
        });
    }
    template <class Body> HRESULT docCall(const char* key, journalArgs args, Body body) {
        return this->call(key, std::move(args), [&]() -> HRESULT {
            const docContextPtr context = context_.lock();
            if (!context)
                return E_UNEXPECTED;
            return body(*context);
        });
    }

protected:
    explicit docObjectT(const docContextPtr& context)
        : sessionObjectT<Derived, Interfaces...>(context->kit), context_(context) {}

    std::weak_ptr<docContextS> context_;
};
