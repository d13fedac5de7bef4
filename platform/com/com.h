// Everything of the COM support stand-in.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/com_error.h"
#include "platform/com/com_ptr.h"
#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/com/safearray.h"
#include "platform/com/test_hooks.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"
#include "platform/com/vartype.h"
