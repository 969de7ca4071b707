// GDI+ for the library and the program: the GDI+ headers use unqualified min and max,
// which NOMINMAX removes from windows.h, so the standard ones are made visible to them.
#pragma once

#include <windows.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
