// _com_ptr_t<I>: reference-counting interface pointer that takes its IID from uuidOf<I>(),
// queries other interfaces on construction/assignment and raises _com_error as on Windows.
//
// Declare the smart pointer of an interface with a plain typedef after its IID:
//   COM_DECLARE_IID(IFace2, "{83A33D3E-27C5-11CE-BFD4-00400513BB57}");
//   typedef _com_ptr_t<IFace2> IFace2Ptr;
#pragma once

#include "platform/com/com_error.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

#include <cstddef>
#include <memory>
#include <type_traits>

template <class I> class _com_ptr_t;

namespace comPtrDetail {
template <class T> struct isComPtr : std::false_type {};
template <class Q> struct isComPtr<_com_ptr_t<Q>> : std::true_type {};

// What a _com_ptr_t can be queried from: another smart pointer, or a VARIANT.
template <class T>
concept querySource = isComPtr<T>::value || std::is_base_of_v<VARIANT, T>;
// An interface pointer of another type.
template <class Q>
concept interfaceType = std::is_base_of_v<IUnknown, Q>;
} // namespace comPtrDetail

template <class I> class _com_ptr_t {
public:
    typedef I Interface;

    static constexpr const IID& GetIID() noexcept { return uuidOf<I>(); }

    _com_ptr_t() noexcept = default;
    _com_ptr_t(std::nullptr_t) noexcept {}
    // Shares the pointer (AddRef).
    _com_ptr_t(I* p) noexcept : p_(p) { addRefIfSet(); }
    // fAddRef false takes over a reference the caller owns.
    _com_ptr_t(I* p, bool fAddRef) noexcept : p_(p) {
        if (fAddRef)
            addRefIfSet();
    }
    _com_ptr_t(const _com_ptr_t& other) noexcept : p_(other.p_) { addRefIfSet(); }
    _com_ptr_t(_com_ptr_t&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    // Any other interface pointer, smart pointer or VARIANT: QueryInterface for I.
    // E_NOINTERFACE leaves this empty; any other failure raises _com_error.
    template <comPtrDetail::querySource Q> _com_ptr_t(const Q& other) { queryFrom(other); }
    template <comPtrDetail::interfaceType Q> _com_ptr_t(Q* other) { queryFrom(other); }

    ~_com_ptr_t() { releaseIfSet(); }

    _com_ptr_t& operator=(I* p) noexcept {
        if (p != nullptr)
            p->AddRef();
        I* old = p_;
        p_ = p;
        if (old != nullptr)
            old->Release();
        return *this;
    }
    _com_ptr_t& operator=(const _com_ptr_t& other) noexcept { return *this = other.p_; }
    _com_ptr_t& operator=(_com_ptr_t&& other) noexcept {
        if (this != std::addressof(other)) { // operator& is the out-parameter form
            I* old = p_;
            p_ = other.p_;
            other.p_ = nullptr;
            if (old != nullptr)
                old->Release();
        }
        return *this;
    }
    _com_ptr_t& operator=(std::nullptr_t) noexcept {
        releaseIfSet();
        return *this;
    }
    template <comPtrDetail::querySource Q> _com_ptr_t& operator=(const Q& other) {
        _com_ptr_t fresh(other);
        return *this = static_cast<_com_ptr_t&&>(fresh);
    }
    template <comPtrDetail::interfaceType Q> _com_ptr_t& operator=(Q* other) {
        _com_ptr_t fresh(other);
        return *this = static_cast<_com_ptr_t&&>(fresh);
    }

    // Takes over `p` without AddRef (or with it when fAddRef), releasing the current one.
    void Attach(I* p) noexcept {
        I* old = p_;
        p_ = p;
        if (old != nullptr)
            old->Release();
    }
    void Attach(I* p, bool fAddRef) noexcept {
        if (fAddRef && p != nullptr)
            p->AddRef();
        Attach(p);
    }
    // Gives the pointer and its reference to the caller; this becomes empty.
    I* Detach() noexcept {
        I* p = p_;
        p_ = nullptr;
        return p;
    }
    // Releases the held reference and empties; raises E_POINTER when empty, as on Windows.
    void Release() {
        if (p_ == nullptr)
            _com_issue_error(E_POINTER);
        I* old = p_;
        p_ = nullptr;
        old->Release();
    }
    // Adds a reference that the caller must balance; raises E_POINTER when empty.
    void AddRef() {
        if (p_ == nullptr)
            _com_issue_error(E_POINTER);
        p_->AddRef();
    }

    I* GetInterfacePtr() const noexcept { return p_; }
    I*& GetInterfacePtr() noexcept { return p_; }
    operator I*() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    bool operator!() const noexcept { return p_ == nullptr; }

    I* operator->() const {
        if (p_ == nullptr)
            _com_issue_error(E_POINTER);
        return p_;
    }
    I& operator*() const {
        if (p_ == nullptr)
            _com_issue_error(E_POINTER);
        return *p_;
    }
    // For out-parameters: releases the current pointer and gives the address of the now null
    // slot.
    I** operator&() noexcept {
        releaseIfSet();
        return &p_;
    }

    // E_POINTER (returned, not raised) when empty or `object` is null.
    HRESULT QueryInterface(REFIID iid, void** object) const noexcept {
        if (p_ == nullptr || object == nullptr)
            return E_POINTER;
        return p_->QueryInterface(iid, object);
    }
    template <class Q> HRESULT QueryInterface(REFIID iid, Q*& object) const noexcept {
        return QueryInterface(iid, reinterpret_cast<void**>(&object));
    }
    template <class Q> HRESULT QueryInterface(REFIID iid, Q** object) const noexcept {
        return QueryInterface(iid, reinterpret_cast<void**>(object));
    }

    // By pointer value.
    friend bool operator==(const _com_ptr_t& a, const _com_ptr_t& b) noexcept {
        return a.p_ == b.p_;
    }
    friend bool operator==(const _com_ptr_t& a, const I* b) noexcept { return a.p_ == b; }
    friend bool operator==(const _com_ptr_t& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }

private:
    template <class Q> friend class _com_ptr_t;

    void addRefIfSet() noexcept {
        if (p_ != nullptr)
            p_->AddRef();
    }
    void releaseIfSet() noexcept {
        if (p_ != nullptr) {
            I* old = p_;
            p_ = nullptr;
            old->Release();
        }
    }

    void queryUnknown(IUnknown* source) {
        if (source == nullptr)
            return;
        void* found = nullptr;
        const HRESULT hr = source->QueryInterface(GetIID(), &found);
        if (hr == E_NOINTERFACE)
            return;
        if (FAILED(hr))
            _com_issue_errorex(hr, source, GetIID());
        p_ = static_cast<I*>(found);
    }

    template <class Q> void queryFrom(Q* source) {
        static_assert(std::is_base_of_v<I, Q> || std::is_convertible_v<Q*, IUnknown*>,
                      "pass one interface of an object that implements several");
        if constexpr (std::is_base_of_v<I, Q>) {
            // Already an I: no query needed.
            p_ = source;
            addRefIfSet();
        } else {
            queryUnknown(source);
        }
    }
    template <class Q> void queryFrom(const _com_ptr_t<Q>& source) { queryFrom(source.p_); }
    void queryFrom(const VARIANT& source) {
        switch (source.vt) {
        case VT_EMPTY:
            return;
        case VT_DISPATCH:
            queryUnknown(source.pdispVal);
            return;
        case VT_UNKNOWN:
            queryUnknown(source.punkVal);
            return;
        default:
            _com_issue_error(DISP_E_TYPEMISMATCH);
        }
    }
    void queryFrom(const _variant_t& source) { queryFrom(static_cast<const VARIANT&>(source)); }

    I* p_ = nullptr;
};
