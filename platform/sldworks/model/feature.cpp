#include "platform/sldworks/model/part_document.h"
