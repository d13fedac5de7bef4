// The test kit of one simulated SolidWorks session: its fault plan and its call journal.
// Reach it with sessionTestKit() (platform/sldworks/session/session.h).
#pragma once

#include "platform/sldworks/testkit/fault_plan.h"
#include "platform/sldworks/testkit/journal.h"

class testKitC {
public:
    faultPlanC& plan() { return plan_; }
    callJournalC& journal() { return journal_; }
    // Empties the journal and the plan (and the COM allocation hooks).
    void reset();

private:
    faultPlanC plan_;
    callJournalC journal_;
};
