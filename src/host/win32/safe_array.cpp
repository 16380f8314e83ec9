#include "host/win32/safe_array.h"

#include <limits>
#include <new>
#include <stdexcept>

#include "host/host_data_service.h"

namespace tarnvex {

SafeArray::SafeArray(VARTYPE element_type, int32_t lower_bound, size_t count) {
  if (count > static_cast<size_t>(std::numeric_limits<LONG>::max()) ||
      static_cast<int64_t>(lower_bound) + static_cast<int64_t>(count) - 1 >
          std::numeric_limits<LONG>::max()) {
    throw std::length_error("SafeArray bounds");
  }
  array_ = SafeArrayCreateVector(element_type, lower_bound, static_cast<ULONG>(count));
  if (array_ == nullptr) throw std::bad_alloc();
}

SafeArrayData::SafeArrayData(SAFEARRAY* array) : array_(array) {
  if (FAILED(SafeArrayAccessData(array_, &data_))) {
    throw HostCallError("数组数据无法访问");
  }
}

}  // namespace tarnvex
