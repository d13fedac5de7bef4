// Base of every COM object of the session: reference counting and QueryInterface from
// comObjectT, plus the test kit's hooks. Every method goes through call(): the call is
// journalled with its arguments, the fault plan may answer it instead, and the answer is
// journalled too.
#pragma once

#include "platform/sldworks/session/interface_names.h"
#include "platform/sldworks/session/out_values.h"
#include "platform/sldworks/testkit/test_kit.h"

#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

using journalArgs = std::vector<std::string>;

template <class Derived, class... Interfaces>
class sessionObjectT : public comObjectT<Derived, Interfaces...> {
    using base = comObjectT<Derived, Interfaces...>;

public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (!static_cast<Derived*>(this)->answersInterface(iid))
            return E_NOINTERFACE;
        if (kit_->plan().refuses(sessionInterfaceName(iid)))
            return E_NOINTERFACE;
        return base::QueryInterface(iid, object);
    }

    testKitC& kit() const { return *kit_; }
    const std::shared_ptr<testKitC>& kitPtr() const { return kit_; }

    // A method with a main out-parameter. `body` fills `out` and returns the HRESULT.
    template <class Out, class Body>
    HRESULT call(const char* key, journalArgs args, Out* out, Body body) {
        callJournalC& journal = kit_->journal();
        const std::size_t entry = journal.begin(key, std::move(args));
        if (out == nullptr) {
            journal.finish(entry, E_POINTER, "");
            return E_POINTER;
        }
        sessionOut::init(out);
        HRESULT hr = run(key, out, body);
        if (FAILED(hr))
            sessionOut::reset(out);
        journal.finish(entry, hr, sessionOut::describe(out));
        return hr;
    }

    // A method without out-parameters.
    template <class Body> HRESULT call(const char* key, journalArgs args, Body body) {
        callJournalC& journal = kit_->journal();
        const std::size_t entry = journal.begin(key, std::move(args));
        HRESULT hr = S_OK;
        const auto fault = kit_->plan().take(key);
        if (fault && fault->kind == faultKindE::failWith)
            hr = fault->hr;
        else if (fault && fault->kind == faultKindE::returnSFalse)
            hr = S_FALSE;
        else if (fault && fault->kind == faultKindE::returnNull)
            hr = S_OK;
        else
            hr = withAllocationFault(fault, body);
        journal.finish(entry, hr, "");
        return hr;
    }

    // The answer of a method the session does not implement: journalled, open to the fault
    // plan (its main out-parameter is the last one), otherwise E_NOTIMPL.
    template <class... Outs>
    HRESULT notImplemented(const char* key, journalArgs args, Outs*... outs) {
        if constexpr (sizeof...(Outs) == 0) {
            return call(key, std::move(args), [] { return E_NOTIMPL; });
        } else {
            if ((!outs || ...))
                return call(key, std::move(args), static_cast<long*>(nullptr),
                            [] { return E_NOTIMPL; });
            (sessionOut::init(outs), ...);
            auto* main = lastOf(outs...);
            return call(key, std::move(args), main, [] { return E_NOTIMPL; });
        }
    }

protected:
    explicit sessionObjectT(std::shared_ptr<testKitC> kit) : kit_(std::move(kit)) {}

    // Objects that answer an interface only in some states (a feature answers ISketch only
    // when it is a sketch) override this.
    bool answersInterface(REFIID) const { return true; }

private:
    // No exception may leave a COM method: the model's and the allocator's become HRESULTs.
    template <class Body> static HRESULT guarded(Body& body) noexcept {
        try {
            return body();
        } catch (const _com_error& error) {
            return error.Error();
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
    }

    template <class First, class... Rest> static auto* lastOf(First* first, Rest*... rest) {
        if constexpr (sizeof...(Rest) == 0)
            return first;
        else
            return lastOf(rest...);
    }

    template <class Body>
    static HRESULT withAllocationFault(const std::optional<faultS>& fault, Body& body) {
        if (fault && fault->kind == faultKindE::failBstrAllocation) {
            comTestHooks::failBstrAllocations(1);
            const HRESULT hr = guarded(body);
            comTestHooks::reset();
            return hr;
        }
        if (fault && fault->kind == faultKindE::failSafeArrayAllocation) {
            comTestHooks::failSafeArrayAllocations(1);
            const HRESULT hr = guarded(body);
            comTestHooks::reset();
            return hr;
        }
        return guarded(body);
    }

    template <class Out, class Body> HRESULT run(const char* key, Out* out, Body& body) {
        const auto fault = kit_->plan().take(key);
        if (!fault)
            return guarded(body);
        switch (fault->kind) {
        case faultKindE::failWith:
            return fault->hr;
        case faultKindE::returnNull:
            return S_OK;
        case faultKindE::returnSFalse:
            return S_FALSE;
        case faultKindE::scriptedValue:
            return sessionOut::script(fault->value, out);
        case faultKindE::malformedArray: {
            const HRESULT hr = guarded(body);
            if (FAILED(hr))
                return hr;
            const HRESULT spoilt = sessionOut::malform(fault->malformed, out);
            return FAILED(spoilt) ? spoilt : hr;
        }
        case faultKindE::failBstrAllocation:
        case faultKindE::failSafeArrayAllocation:
            return withAllocationFault(fault, body);
        }
        return guarded(body);
    }

    std::shared_ptr<testKitC> kit_;
};
