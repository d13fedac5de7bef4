#include "libs/geomcore/natCheckin/host_ping.h"

int pingHost(const mzIDispatchC& object) {
    return object.invoke("ping").toInt();
}
