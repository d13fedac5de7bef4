#include "platform/sldworks/testkit/test_kit.h"

void testKitC::reset() {
    plan_.clear();
    journal_.clear();
    comTestHooks::reset();
}
