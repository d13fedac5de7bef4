#include "libs/KvorCore/loader/com_variant.h"

#include "libs/KvorCore/loader/dispatch.h"

#include <climits>
#include <cmath>

namespace {

template <class T> T fail(bool* ok) {
    if (ok)
        *ok = false;
    return T{};
}

int saturatingInt(double d) {
    if (std::isnan(d))
        return 0;
    if (d >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (d <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(d);
}

} // namespace

mzComVariantC::mzComVariantC(int value) {
    value_.data = value;
}
mzComVariantC::mzComVariantC(double value) {
    value_.data = value;
}
mzComVariantC::mzComVariantC(const char* utf8) {
    value_.data = utf8 ? std::string(utf8) : std::string();
}
mzComVariantC::mzComVariantC(const mzComStringC& value) {
    value_.data = value.toUtf8();
}
mzComVariantC::mzComVariantC(const mzIDispatchC& object) {
    if (auto host = object.hostObject())
        value_.data = std::move(host);
}
mzComVariantC::mzComVariantC(const mzComVariantArrayC& list) {
    value_.data = list.hostValues();
}

mzComVariantC mzComVariantC::fromHostValue(hostsvc::HostValue value) {
    mzComVariantC out;
    out.value_ = std::move(value);
    // A null object is no object.
    if (auto* object = std::get_if<std::shared_ptr<hostsvc::HostObject>>(&out.value_.data);
        object && !*object)
        out.value_.data = std::monostate{};
    return out;
}

mzComVariantC::typeE mzComVariantC::type() const {
    switch (value_.data.index()) {
    case 1:
        return typeE::Int;
    case 2:
        return typeE::Double;
    case 3:
        return typeE::String;
    case 4:
        return typeE::Object;
    case 5:
        return typeE::List;
    default:
        return typeE::Empty;
    }
}

int mzComVariantC::toInt(bool* ok) const {
    if (ok)
        *ok = true;
    if (const int* i = std::get_if<int>(&value_.data))
        return *i;
    if (const double* d = std::get_if<double>(&value_.data)) {
        if (std::isnan(*d))
            return fail<int>(ok);
        return saturatingInt(*d);
    }
    if (const std::string* s = std::get_if<std::string>(&value_.data)) {
        const mzComStringC text(std::string_view{*s});
        bool good = false;
        const int i = text.toInt(&good);
        if (good)
            return i;
        const double d = text.toDouble(&good);
        if (good)
            return saturatingInt(d);
    }
    return fail<int>(ok);
}

double mzComVariantC::toDouble(bool* ok) const {
    if (ok)
        *ok = true;
    if (const int* i = std::get_if<int>(&value_.data))
        return *i;
    if (const double* d = std::get_if<double>(&value_.data))
        return *d;
    if (const std::string* s = std::get_if<std::string>(&value_.data))
        return mzComStringC(std::string_view{*s}).toDouble(ok);
    return fail<double>(ok);
}

mzComStringC mzComVariantC::toString(bool* ok) const {
    if (ok)
        *ok = true;
    if (const int* i = std::get_if<int>(&value_.data))
        return mzComStringC(std::to_string(*i).c_str());
    if (const double* d = std::get_if<double>(&value_.data))
        return mzComStringC::number(*d);
    if (const std::string* s = std::get_if<std::string>(&value_.data))
        return mzComStringC(std::string_view{*s});
    return fail<mzComStringC>(ok);
}

mzIDispatchC mzComVariantC::toObject() const {
    if (const auto* object = std::get_if<std::shared_ptr<hostsvc::HostObject>>(&value_.data))
        return mzIDispatchC(*object);
    return {};
}

mzComVariantArrayC mzComVariantC::toList() const {
    mzComVariantArrayC out;
    if (const auto* list = std::get_if<hostsvc::HostValueList>(&value_.data))
        for (const hostsvc::HostValue& item : *list)
            out.append(fromHostValue(item));
    return out;
}

mzComVariantC mzComVariantArrayC::at(int index) const {
    if (index < 0 || index >= size())
        return {};
    return items_[static_cast<std::size_t>(index)];
}

hostsvc::HostValueList mzComVariantArrayC::hostValues() const {
    hostsvc::HostValueList out;
    out.reserve(items_.size());
    for (const mzComVariantC& item : items_)
        out.push_back(item.hostValue());
    return out;
}
