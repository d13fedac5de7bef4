#pragma once
// Value views: typed access to the value of a property node such as (NAME "x"),
// (PARAM 25.0 0 1) or (VARHIDDEN 0), and to a value atom itself (an element of a list).
//
// A property's value is its first child; a view bound to an atom reads the atom. Doubles
// accept integers; integers are read as doubles and truncated, saturating to the 32-bit
// range (NaN reads 0). A setter overwrites the value atom in place (its kind may change) or,
// when the property has no atom in front, inserts a new value as the first child.

#include "metamodel/core/metaobject.h"

#include <cstdint>
#include <string>

class metaObjStrC : public metaObjectC {
public:
    metaObjStrC() = default;
    explicit metaObjStrC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // The string value; empty when absent or not a string (found = false then).
    mzComStringC get(bool* found = nullptr) const;
    bool set(const mzComStringC& value);
};

class metaObjDoubleC : public metaObjectC {
public:
    metaObjDoubleC() = default;
    explicit metaObjDoubleC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // The number (integers accepted); 0.0 and found = false when absent.
    double get(bool* found = nullptr) const;
    bool set(double value);
};

class metaObjIntC : public metaObjectC {
public:
    metaObjIntC() = default;
    explicit metaObjIntC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // The number read as a double, truncated and saturated to 32 bits (NaN gives 0);
    // 0 and found = false when absent.
    std::int32_t get(bool* found = nullptr) const;
    bool set(std::int32_t value);
};

// View of a number atom (an element of a double list).
class metaObjDoubleNodeC : public metaObjectC {
public:
    metaObjDoubleNodeC() = default;
    explicit metaObjDoubleNodeC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // 0.0 when the node holds no number.
    double getValue() const;
    bool setValue(double value);
};

// View of binary data: a binary atom, or a property whose first value is one.
class metaObjBinDataC : public metaObjectC {
public:
    metaObjBinDataC() = default;
    explicit metaObjBinDataC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // Writes the payload's bytes to a new file; 1 on success, 0 when there is no payload or the
    // file cannot be written completely. The file is only ever created: a file of that name,
    // or a symbolic link of that name (wherever it points), is left as it is and answers 0.
    int saveToFile(const mzComStringC& path) const;
};

// New parentless atoms; the caller owns them until they are appended somewhere.
[[nodiscard]] metaTreePtrT newIntNode(std::int64_t value);
[[nodiscard]] metaTreePtrT newDoubleNode(double value);
[[nodiscard]] metaTreePtrT newStringNode(const mzComStringC& value);

// Truncation of a double to 32 bits without undefined behaviour: saturates at the range's
// ends, NaN gives 0.
std::int32_t metaTruncateToInt32(double value) noexcept;
std::int32_t metaSaturateToInt32(std::int64_t value) noexcept;
