#include "host/win32/variant_conversion.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "host/host_data_service.h"
#include "host/win32/bstr.h"
#include "host/win32/safe_array.h"

namespace tarnvex {

namespace {

[[noreturn]] void ThrowUnsupported(VARTYPE type) {
  throw HostCallError("宿主传来无法处理的数据类型 (VARTYPE " + std::to_string(type) + ")");
}

// Asks Automation to convert a scalar it knows to the wanted type.
VariantHolder Coerce(const VARIANT& value, VARTYPE wanted) {
  VariantHolder converted;
  if (FAILED(VariantChangeType(converted.get(), const_cast<VARIANT*>(&value), 0, wanted))) {
    ThrowUnsupported(value.vt);
  }
  return converted;
}

Variant FromWideInteger(int64_t value) {
  if (value >= std::numeric_limits<int32_t>::min() &&
      value <= std::numeric_limits<int32_t>::max()) {
    return Variant(static_cast<int32_t>(value));
  }
  return Variant(static_cast<double>(value));
}

// The size of one element of an array of the given type; 0 for a type the
// library does not read from arrays.
size_t ElementSize(VARTYPE type) {
  switch (type) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      return 8;
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

Variant FromSafeArray(SAFEARRAY* array, VARTYPE declared_type) {
  if (array == nullptr) return Variant(VariantArray{});
  if (SafeArrayGetDim(array) != 1) ThrowUnsupported(VT_ARRAY | declared_type);
  LONG lower = 0;
  LONG upper = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
      FAILED(SafeArrayGetUBound(array, 1, &upper))) {
    ThrowUnsupported(VT_ARRAY | declared_type);
  }
  // The element size must be that of the declared type, or reading the
  // elements as that type would run past the array's storage.
  VARTYPE element_type = declared_type;
  size_t element_size = ElementSize(element_type);
  if (element_size == 0 || SafeArrayGetElemsize(array) != element_size) {
    ThrowUnsupported(VT_ARRAY | declared_type);
  }
  size_t count = upper < lower ? 0 : static_cast<size_t>(static_cast<int64_t>(upper) - lower + 1);

  SafeArrayData locked(array);
  if (element_type == VT_UI1) {
    const uint8_t* bytes = static_cast<const uint8_t*>(locked.data());
    return Variant(std::vector<uint8_t>(bytes, bytes + count));
  }
  VariantArray result;
  result.lower_bound = lower;
  result.elements.reserve(count);
  if (element_type == VT_VARIANT) {
    const VARIANT* elements = static_cast<const VARIANT*>(locked.data());
    for (size_t i = 0; i < count; ++i) result.elements.push_back(FromVariant(elements[i]));
    return Variant(std::move(result));
  }
  // A scalar element is laid out as the value part of a VARIANT of its type;
  // view each one as such a VARIANT without copying or freeing it.
  const uint8_t* data = static_cast<const uint8_t*>(locked.data());
  for (size_t i = 0; i < count; ++i) {
    VARIANT element;
    VariantInit(&element);
    element.vt = element_type;
    std::memcpy(&element.llVal, data + i * element_size, element_size);
    result.elements.push_back(FromVariant(element));
  }
  return Variant(std::move(result));
}

}  // namespace

VariantHolder ToVariant(const Variant& value) {
  VariantHolder holder;
  VARIANT* out = holder.get();
  switch (value.kind()) {
    case Variant::Kind::kEmpty:
      break;
    case Variant::Kind::kNull:
      out->vt = VT_NULL;
      break;
    case Variant::Kind::kBool:
      out->vt = VT_BOOL;
      out->boolVal = value.as_bool() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Variant::Kind::kInt32:
      out->vt = VT_I4;
      out->lVal = value.as_int32();
      break;
    case Variant::Kind::kDouble:
      out->vt = VT_R8;
      out->dblVal = value.as_double();
      break;
    case Variant::Kind::kString:
      out->bstrVal = Bstr(value.as_string()).Release();
      out->vt = VT_BSTR;
      break;
    case Variant::Kind::kBytes: {
      const std::vector<uint8_t>& bytes = value.as_bytes();
      SafeArray array(VT_UI1, 0, bytes.size());
      if (!bytes.empty()) {
        SafeArrayData locked(array.get());
        std::memcpy(locked.data(), bytes.data(), bytes.size());
      }
      out->parray = array.Release();
      out->vt = VT_ARRAY | VT_UI1;
      break;
    }
    case Variant::Kind::kArray: {
      const VariantArray& elements = value.as_array();
      SafeArray array(VT_VARIANT, elements.lower_bound, elements.elements.size());
      {
        SafeArrayData locked(array.get());
        VARIANT* slots = static_cast<VARIANT*>(locked.data());
        for (size_t i = 0; i < elements.elements.size(); ++i) {
          slots[i] = ToVariant(elements.elements[i]).Release();
        }
      }
      out->parray = array.Release();
      out->vt = VT_ARRAY | VT_VARIANT;
      break;
    }
  }
  return holder;
}

Variant FromVariant(const VARIANT& value) {
  if (value.vt & VT_BYREF) {
    // One level: a reference to a VARIANT holds the value; a reference to a
    // scalar or array is read through its pointer by a copy.
    if (value.vt == (VT_BYREF | VT_VARIANT)) {
      if (value.pvarVal == nullptr) ThrowUnsupported(value.vt);
      return FromVariant(*value.pvarVal);
    }
    VariantHolder copy;
    if (FAILED(VariantCopyInd(copy.get(), const_cast<VARIANT*>(&value))))
      ThrowUnsupported(value.vt);
    return FromVariant(copy.value());
  }
  if (value.vt & VT_ARRAY) return FromSafeArray(value.parray, value.vt & VT_TYPEMASK);
  switch (value.vt) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::Null();
    case VT_BOOL:
      return Variant(value.boolVal != VARIANT_FALSE);
    case VT_I1:
      return Variant(static_cast<int32_t>(value.cVal));
    case VT_UI1:
      return Variant(static_cast<int32_t>(value.bVal));
    case VT_I2:
      return Variant(static_cast<int32_t>(value.iVal));
    case VT_UI2:
      return Variant(static_cast<int32_t>(value.uiVal));
    case VT_I4:
      return Variant(static_cast<int32_t>(value.lVal));
    case VT_INT:
      return Variant(static_cast<int32_t>(value.intVal));
    case VT_UI4:
      return FromWideInteger(value.ulVal);
    case VT_UINT:
      return FromWideInteger(value.uintVal);
    case VT_I8:
      return FromWideInteger(value.llVal);
    case VT_UI8:
      if (value.ullVal > static_cast<ULONGLONG>(std::numeric_limits<int64_t>::max())) {
        return Variant(static_cast<double>(value.ullVal));
      }
      return FromWideInteger(static_cast<int64_t>(value.ullVal));
    case VT_R4:
      return Variant(static_cast<double>(value.fltVal));
    case VT_R8:
      return Variant(value.dblVal);
    case VT_CY:
    case VT_DECIMAL:
      return Variant(Coerce(value, VT_R8).value().dblVal);
    case VT_DATE:
      return Variant(Bstr::ToString(Coerce(value, VT_BSTR).value().bstrVal));
    case VT_BSTR:
      return Variant(Bstr::ToString(value.bstrVal));
    default:
      ThrowUnsupported(value.vt);
  }
}

}  // namespace tarnvex
