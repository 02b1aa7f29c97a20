#pragma once
// The sharpness coefficients an installation may set in the registry.
#include <windows.h>

#include "core/effects/sharpen.h"

// The values "Matrix[0]" to "Matrix[8]" (4 bytes each, whatever their type)
// under HKEY_LOCAL_MACHINE and the key in string 8 of `module`; the default
// kernel unless the key opens and all nine values can be read.
core::effects::Kernel ReadKernelSetting(HINSTANCE module);
