#include "metamodel/core/valueviews.h"

#include "metamodel/core/metalog.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

namespace {

IMetaTreeApi& store() {
    return *getIMetaTreeApi();
}

// The atom that holds the value of a property view, or null.
metaTreePtrT valueAtom(const metaObjectVirtualDataBaseC& view) {
    metaTreePtrT v = view.firstValueNode();
    return store().isList(v) ? metaTreePtrT() : v;
}

// Puts a value in place: overwrite the value atom, or insert a new atom as first child.
template <class SetFn, class NewFn>
bool writeValue(const metaObjectVirtualDataBaseC& view, SetFn set, NewFn make) {
    IMetaTreeApi& a = store();
    metaTreePtrT node = view.getTreePtr();
    if (node.isNull())
        return false;
    if (!a.isList(node))
        return set(node);
    if (metaTreePtrT atom = valueAtom(view); !atom.isNull())
        return set(atom);
    metaTreePtrT fresh = make();
    if (!a.insertChild(node, 0, fresh)) {
        a.release(fresh);
        return false;
    }
    return true;
}

} // namespace

std::int32_t metaTruncateToInt32(double value) noexcept {
    if (std::isnan(value))
        return 0;
    constexpr double lo = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

std::int32_t metaSaturateToInt32(std::int64_t value) noexcept {
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

mzComStringC metaObjStrC::get(bool* found) const {
    std::optional<std::string> s = store().getString(valueAtom(*this));
    if (found)
        *found = s.has_value();
    return s ? metaFromUtf8(*s) : mzComStringC();
}

bool metaObjStrC::set(const mzComStringC& value) {
    const std::string text = metaToUtf8(value);
    return writeValue(
        *this, [&](metaTreePtrT n) { return store().setString(n, text); },
        [&] { return store().newString(text); });
}

double metaObjDoubleC::get(bool* found) const {
    std::optional<double> d = store().getDouble(valueAtom(*this));
    if (found)
        *found = d.has_value();
    return d.value_or(0.0);
}

bool metaObjDoubleC::set(double value) {
    return writeValue(
        *this, [&](metaTreePtrT n) { return store().setDouble(n, value); },
        [&] { return store().newDouble(value); });
}

std::int32_t metaObjIntC::get(bool* found) const {
    IMetaTreeApi& a = store();
    metaTreePtrT atom = valueAtom(*this);
    if (found)
        *found = a.isNumber(atom);
    if (a.isInteger(atom))
        return metaSaturateToInt32(a.getInteger(atom).value_or(0));
    return metaTruncateToInt32(a.getDouble(atom).value_or(0.0));
}

bool metaObjIntC::set(std::int32_t value) {
    return writeValue(
        *this, [&](metaTreePtrT n) { return store().setInteger(n, value); },
        [&] { return store().newInteger(value); });
}

double metaObjDoubleNodeC::getValue() const {
    return store().getDouble(valueAtom(*this)).value_or(0.0);
}

bool metaObjDoubleNodeC::setValue(double value) {
    metaObjDoubleC v(getTreePtr());
    return v.set(value);
}

int metaObjBinDataC::saveToFile(const mzComStringC& path) const {
    std::optional<std::vector<std::uint8_t>> bytes = store().getBinary(valueAtom(*this));
    if (!bytes) {
        META_LOG_WARNING("saveToFile: the node holds no binary data");
        return 0;
    }
    const std::string file = metaToUtf8(path);
    // Payloads come from models: one must not replace a file that is there, nor write through a
    // link to wherever it points.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        META_LOG_WARNING("saveToFile: cannot create \"" + file + "\": " + std::strerror(errno));
        return 0;
    }
    std::size_t written = 0;
    while (written < bytes->size()) {
        const ssize_t n = ::write(fd, bytes->data() + written, bytes->size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0 || written < bytes->size()) {
        META_LOG_WARNING("saveToFile: writing \"" + file + "\" failed");
        return 0;
    }
    return 1;
}

metaTreePtrT newIntNode(std::int64_t value) {
    return store().newInteger(value);
}

metaTreePtrT newDoubleNode(double value) {
    return store().newDouble(value);
}

metaTreePtrT newStringNode(const mzComStringC& value) {
    return store().newString(metaToUtf8(value));
}
