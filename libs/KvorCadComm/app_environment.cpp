#include "libs/KvorCadComm/app_environment.h"

mzComStringC getAppName() {
    // The stand-in host has one application, so its environment holds one fixed name.
    return mzComStringC("natlinkon");
}
