// Tying a file path to a SolidWorks document: finding it among the open documents, opening
// it and showing it.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "platform/sldworks/api/sldworks_api.h"

// Document type SolidWorks takes for a file, by extension ignoring case: "sldasm" 2, "sldprt"
// and "sldlfp" 1, anything else (and an empty path) 0.
long documentTypeOfPath(const mzComStringC& path);

// 1 when an open document has this path (compared case-sensitively with the native form of the
// document's path name); the path argument then becomes the document's own form of it. 0 when
// none has, path unchanged. An empty path names no document, also not one never saved.
// SolidWorks failures leave as _com_error.
int findOpenDocument(ISldWorksPtr& app, mzComStringC& path);

// Opens a part or assembly file, marks it as created and shows it isometric and fitted.
// Never throws: a failure is shown as the creation warning "failed to open document " + path
// and gives what was opened so far (empty when the opening itself failed). `errors` (when
// given) receives SolidWorks' error code of the opening, 0 when it reported none.
IModelDoc2Ptr openDocument(ISldWorksPtr app, const mzComStringC& path, long* errors = nullptr);

// What SolidWorks' error code of an opening says, for a message: 2 "the file does not
// exist", 1 "SolidWorks cannot read it (...)", others their number.
mzComStringC openErrorText(long errors);
