// Every interface of the simulated SolidWorks.
#pragma once

#include "platform/sldworks/api/application.h"
#include "platform/sldworks/api/configuration.h"
#include "platform/sldworks/api/document.h"
#include "platform/sldworks/api/feature.h"
#include "platform/sldworks/api/selection.h"
#include "platform/sldworks/api/sketch.h"
#include "platform/sldworks/api/topology.h"

#include "platform/com/com.h"

typedef _com_ptr_t<IUnknown> IUnknownPtr;
typedef _com_ptr_t<IDispatch> IDispatchPtr;
