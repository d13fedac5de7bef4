// IUnknown and IDispatch, their IIDs, and comObjectT: the reference-counting base that
// implementations (the simulated SolidWorks objects, test doubles) derive from.
#pragma once

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

#include <atomic>
#include <type_traits>
#include <utility>
#include <vector>

struct VARIANT;

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Late-bound calls by name. The system only calls objects by name through its own runtime
// (a name looked up once, then invoked with positional arguments), so this is the simple
// form: no locale, no named arguments, no exception info.
struct IDispatch : IUnknown {
    // The member id of a name; DISP_E_UNKNOWNNAME when the object has no such member.
    virtual HRESULT GetIDsOfNames(const char16_t* name, DISPID* id) = 0;
    // Calls member `id` with `count` arguments in call order (not reversed as on Windows);
    // `result` may be null when the caller does not want it.
    virtual HRESULT Invoke(DISPID id, const VARIANT* args, unsigned count, VARIANT* result) = 0;
};

COM_DECLARE_IID(IUnknown, "{00000000-0000-0000-C000-000000000046}");
COM_DECLARE_IID(IDispatch, "{00020400-0000-0000-C000-000000000046}");

inline constexpr IID IID_IUnknown = uuidOf<IUnknown>();
inline constexpr IID IID_IDispatch = uuidOf<IDispatch>();

namespace comObjectDetail {
template <class... Interfaces> struct interfaceListT : Interfaces... {};

// Objects that implement an IDispatch-derived interface get "no members" answers unless
// the derived class gives its own.
template <class Base, bool hasDispatch> struct dispatchDefaultsT : Base {};
template <class Base> struct dispatchDefaultsT<Base, true> : Base {
    HRESULT GetIDsOfNames(const char16_t*, DISPID* id) override {
        if (id != nullptr)
            *id = -1;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID, const VARIANT*, unsigned, VARIANT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

template <class First, class... Rest> struct firstT { using type = First; };
} // namespace comObjectDetail

// Base of a COM object implementing `Interfaces...` (each with a declared IID).
//
//   class faceC : public comObjectT<faceC, IFace2, IEntity> { ... };
//   IFace2* face = new faceC(...);          // created with one reference, owned by the caller
//   _com_ptr_t<IFace2> p(new faceC(...), false);
//
// QueryInterface answers the IID of every listed interface, IID_IUnknown (through the first
// interface), IID_IDispatch (through the first interface derived from it), and every IID
// added with answerIid<As>(iid). The reference count is atomic; the object deletes itself
// when it drops to zero. A derived class may override QueryInterface and call this one.
template <class Derived, class... Interfaces>
class comObjectT
    : public comObjectDetail::dispatchDefaultsT<comObjectDetail::interfaceListT<Interfaces...>,
                                                (std::is_base_of_v<IDispatch, Interfaces> || ...)> {
    static_assert(sizeof...(Interfaces) > 0, "a COM object implements at least one interface");
    static_assert((std::is_base_of_v<IUnknown, Interfaces> && ...),
                  "every interface derives from IUnknown");

public:
    comObjectT(const comObjectT&) = delete;
    comObjectT& operator=(const comObjectT&) = delete;

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = findInterface(iid);
        if (*object == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }

    ULONG Release() override {
        const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    comObjectT() = default;
    ~comObjectT() override = default;

    // Makes QueryInterface answer `iid` with this object seen as `As` (one of the listed
    // interfaces or one of their bases): e.g. a second, older IID of the same interface.
    // Call from the derived constructor.
    template <class As> void answerIid(const IID& iid) {
        static_assert(std::is_base_of_v<IUnknown, As>);
        As* as = static_cast<As*>(static_cast<Derived*>(this));
        extraIids_.emplace_back(iid, static_cast<void*>(as));
    }

private:
    using firstInterface = typename comObjectDetail::firstT<Interfaces...>::type;

    void* findInterface(REFIID iid) {
        void* found = nullptr;
        ((found == nullptr && iid == uuidOf<Interfaces>()
              ? (found = static_cast<void*>(static_cast<Interfaces*>(this)), 0)
              : 0),
         ...);
        if (found != nullptr)
            return found;
        if (iid == IID_IUnknown)
            return static_cast<void*>(static_cast<IUnknown*>(static_cast<firstInterface*>(this)));
        if (iid == IID_IDispatch) {
            ((found == nullptr && std::is_base_of_v<IDispatch, Interfaces>
                  ? (found = dispatchOf<Interfaces>(), 0)
                  : 0),
             ...);
            if (found != nullptr)
                return found;
        }
        for (const auto& [extra, pointer] : extraIids_)
            if (extra == iid)
                return pointer;
        return nullptr;
    }

    template <class I> void* dispatchOf() {
        if constexpr (std::is_base_of_v<IDispatch, I>)
            return static_cast<void*>(static_cast<IDispatch*>(static_cast<I*>(this)));
        else
            return nullptr;
    }

    std::atomic<ULONG> refs_{1};
    std::vector<std::pair<IID, void*>> extraIids_;
};
