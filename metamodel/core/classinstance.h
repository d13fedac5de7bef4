#pragma once
// A serialised class instance (the FACD text of a face annotation):
//   (RCCLASSINSTANCE (CLASSNAME "QEL_FACE")
//     (RCPROPERTY (NAME "CLASSID") (VALUE "QEL_FACE_TS"))
//     (RCBASECLASS (CLASSNAME "QEL_BASE") (RCPROPERTY (NAME "INSTID") (VALUE "3"))))
// Properties are RCPROPERTY children; base classes are RCBASECLASS children laid out like
// an instance and searched after the instance's own properties, depth first, in order.

#include "metamodel/core/metaobject.h"

class mRCClassInstancePropertyC : public metaObjectC {
public:
    static mzComStringC tagName() { return "RCPROPERTY"; }
    mRCClassInstancePropertyC() = default;
    explicit mRCClassInstancePropertyC(metaTreePtrT node, bool owns = false)
        : metaObjectC(node, owns) {}

    mzComStringC getName() const;
};

class mRCClassInstanceStringPropertyC : public mRCClassInstancePropertyC {
public:
    mRCClassInstanceStringPropertyC() = default;
    explicit mRCClassInstanceStringPropertyC(metaTreePtrT node, bool owns = false)
        : mRCClassInstancePropertyC(node, owns) {}
    // A string view of a property found by mRCClassInstanceC::findProperty.
    explicit mRCClassInstanceStringPropertyC(const mRCClassInstancePropertyC& property)
        : mRCClassInstancePropertyC(property.getTreePtr(), false) {}

    // The VALUE text; empty when absent (found = false then).
    mzComStringC getValue(bool* found = nullptr) const;
};

class mRCClassInstanceC : public metaObjectC {
public:
    static mzComStringC tagName() { return "RCCLASSINSTANCE"; }
    static mzComStringC baseClassTagName() { return "RCBASECLASS"; }
    mRCClassInstanceC() = default;
    explicit mRCClassInstanceC(metaTreePtrT node, bool owns = false) : metaObjectC(node, owns) {}

    // The property named name, searched in the instance and then in its base classes;
    // unbound when absent.
    mRCClassInstancePropertyC findProperty(const mzComStringC& name) const;
};
