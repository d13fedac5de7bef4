// PSWPlugin: the translator plug-in object. convertMetaTree is the conversion entry: it is
// given the options tree of one conversion,
//   (CONVERTOPTIONS (INNAME ..) (OUTPUTLOCATION ..) (CUSTOMDATA (CREAOPTS ..))
//                   (INPUTDATA (PART ..)) [(INPUTFORMAT "META3DV2")])
// builds the document of INPUTDATA in SolidWorks, saves it under OUTPUTLOCATION and answers
// 0, or 1 with the reason in the string "RESTEXT" of the options tree. With INPUTFORMAT
// "NATSOLIDWORKSPART2014" or "NATSOLIDWORKSASM2014" it checks in the document of INNAME
// instead (native_checkin_branch.h) and answers the record in "OUTPUTDATA".
#pragma once

#include "platform/host/metatree/metatree_ptr.h"
#include "platform/sldworks/api/sldworks_api.h"

class PSWPlugin {
public:
    // The plug-in attaches to `app` when given; otherwise it starts SolidWorks (here the
    // simulated session) on its first conversion.
    explicit PSWPlugin(ISldWorksPtr app = ISldWorksPtr());

    // progress: the host's progress interface (not used yet).
    int convertMetaTree(metaTreePtrT options, void* progress = nullptr);

    // The SolidWorks the plug-in works with; null before the first conversion.
    const ISldWorksPtr& getSldWorks() const noexcept { return app_; }

private:
    int convertBuildRoad(metaTreePtrT options);
    void attachOrStartSldWorks();

    ISldWorksPtr app_;
};

// The input format of the build road.
inline constexpr const char* buildRoadFormat = "META3DV2";
