// The time library's export control, shared with the byte string that travels with it in
// the same module: see strings/export.h.
#pragma once

#include "strings/export.h"
