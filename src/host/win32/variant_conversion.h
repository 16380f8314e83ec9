#pragma once

#include <windows.h>
#include <oleauto.h>

#include "host/variant.h"
#include "host/win32/variant_holder.h"

namespace tarnvex {

// Our Variant as an OLE Automation VARIANT: empty, null, VT_BOOL, VT_I4, VT_R8,
// VT_BSTR, VT_ARRAY | VT_UI1 (lower bound 0) and VT_ARRAY | VT_VARIANT (with
// the array's own lower bound). Throws std::bad_alloc.
VariantHolder ToVariant(const Variant& value);

// A VARIANT the host gave us as our Variant. One level of VT_BYREF is followed.
// Other integer types become Int32 when they fit and Double otherwise; VT_R4,
// VT_CY and VT_DECIMAL become Double; VT_DATE becomes its Automation text.
// One-dimensional arrays of VT_UI1 become bytes; arrays of any other scalar
// type or of variants become a VariantArray with the sender's lower bound.
// Throws HostCallError for what the library cannot carry (interfaces, records,
// arrays of more than one dimension).
Variant FromVariant(const VARIANT& value);

}  // namespace tarnvex
