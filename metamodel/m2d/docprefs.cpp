#include "metamodel/m2d/docprefs.h"

bool mDocumentPrefsC::setUnitBase(double unitBase) {
    return metaObjDoubleC(getOrAddChild("UNITBASE")).set(unitBase);
}

double mDocumentPrefsC::getUnitBase() const {
    return metaObjDoubleC(findChild("UNITBASE")).get();
}
