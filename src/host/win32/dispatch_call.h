#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>

#include "host/win32/variant_holder.h"

namespace tarnvex {

// Calls the method with dispatch id id of object, with positional arguments
// given in call order (the first argument first; Invoke wants them the other
// way round). A by-reference argument points at a VARIANT that the caller owns
// and reads afterwards. Returns the method's result.
// Throws HostCallError when Invoke fails, with the text of the exception
// information when the object gave one; every BSTR of it is freed.
VariantHolder InvokeMethod(IDispatch& object, DISPID id, std::span<const VARIANT> arguments);

}  // namespace tarnvex
