// mzComVariantC: a value of calls by name (empty, int, double, string, object, list), and
// mzComVariantArrayC: an ordered argument list. Both sit on the host's values.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "platform/host/services/host_objects.h"

#include <initializer_list>
#include <vector>

class mzIDispatchC;
class mzComVariantArrayC;

class mzComVariantC {
public:
    enum class typeE { Empty, Int, Double, String, Object, List };

    mzComVariantC() = default;
    mzComVariantC(int value);
    mzComVariantC(double value);
    mzComVariantC(const char* utf8);
    mzComVariantC(const mzComStringC& value);
    mzComVariantC(const mzIDispatchC& object);
    mzComVariantC(const mzComVariantArrayC& list);
    static mzComVariantC fromHostValue(hostsvc::HostValue value);

    typeE type() const;
    bool isEmpty() const { return type() == typeE::Empty; }

    // Conversions; what cannot be converted gives 0, "" or an empty handle/list and *ok false.
    // Int from double truncates toward zero, saturating at the int range; strings convert as
    // mzComStringC::toInt / toDouble do (toInt also takes a decimal text and truncates it);
    // toString writes numbers with mzComStringC::number. Lists and objects convert to nothing
    // but themselves.
    int toInt(bool* ok = nullptr) const;
    double toDouble(bool* ok = nullptr) const;
    mzComStringC toString(bool* ok = nullptr) const;
    mzIDispatchC toObject() const;
    mzComVariantArrayC toList() const;

    const hostsvc::HostValue& hostValue() const { return value_; }

private:
    hostsvc::HostValue value_;
};

class mzComVariantArrayC {
public:
    mzComVariantArrayC() = default;
    mzComVariantArrayC(std::initializer_list<mzComVariantC> items) : items_(items) {}

    void append(const mzComVariantC& item) { items_.push_back(item); }
    int size() const { return static_cast<int>(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    // An index outside the list gives an empty variant.
    mzComVariantC at(int index) const;
    std::vector<mzComVariantC>::const_iterator begin() const { return items_.begin(); }
    std::vector<mzComVariantC>::const_iterator end() const { return items_.end(); }

    hostsvc::HostValueList hostValues() const;

private:
    std::vector<mzComVariantC> items_;
};
