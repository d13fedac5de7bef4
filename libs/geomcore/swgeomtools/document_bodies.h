// The bodies of a built document and the helper-body face of a connection point.
#pragma once

#include "libs/geomcore/swgeomtools/mate_references.h"

#include <vector>

// Appends the document's bodies of `kind` to `bodies`: a part's listed bodies (with
// `flag`), an assembly's first-level components' bodies (the flag is not used). Answers the
// number of entries in `bodies` afterwards; 0 for another document type (`bodies` untouched).
// An assembly without components, or an empty answer, counts as no bodies.
int collectDocumentBodies(const swMateRefContextS& context, std::vector<IDispatchPtr>& bodies,
                          int kind, short flag);
// The same over a document pointer.
int collectDocumentBodies(IModelDoc2* doc, std::vector<IDispatchPtr>& bodies, int kind, short flag);

// Of the helper feature's planar faces, picks the first one that does not pass through
// `point` (farther than 1e-8), selects it and lets the document act on it; `created` is set
// to the feature that action made. It stays as it was when no face was picked or the action
// made no new feature. A null helper feature raises E_POINTER.
void helperBodyFeatures(const swMateRefContextS& context, const double point[3],
                        IFeature* helperFeature, IFeaturePtr& created);
