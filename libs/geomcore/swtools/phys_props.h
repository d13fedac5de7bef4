// Physical properties of the catalogue (density, exact mass, centre of gravity) carried into
// the SolidWorks document being built, so that SolidWorks reports them instead of what it
// computes from the approximate geometry.
#pragma once

#include "metamodel/core/metaobject.h"
#include "platform/sldworks/api/sldworks_api.h"

// `attributes` is the document attributes view (its string "CLASSIFICATIONINFO" holds the
// serialised classification list). Only the classification info "qel" with a "QELPHYPROP"
// entry switches this on; then a density above 0 becomes document preference 7, and a mass
// above 0 is applied with the catalogue's centre of gravity when all of "QEL_COG_X/Y/Z" are
// numbers, else with the one SolidWorks computed. SolidWorks failures leave as _com_error.
void setPhyProps(const metaObjectVirtualDataBaseC& attributes, IModelDoc2Ptr doc);
