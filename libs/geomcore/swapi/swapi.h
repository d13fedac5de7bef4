// Everything of the SolidWorks call wrappers.
#pragma once

#include "libs/geomcore/swapi/application_calls.h"
#include "libs/geomcore/swapi/array_reading.h"
#include "libs/geomcore/swapi/configuration_calls.h"
#include "libs/geomcore/swapi/document_calls.h"
#include "libs/geomcore/swapi/feature_calls.h"
#include "libs/geomcore/swapi/interface_queries.h"
#include "libs/geomcore/swapi/selection_calls.h"
#include "libs/geomcore/swapi/sketch_calls.h"
#include "libs/geomcore/swapi/topology_calls.h"
