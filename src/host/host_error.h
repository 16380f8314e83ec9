#pragma once

#include <string>

#include "host/variant.h"

namespace tarnvex {

// The host's error lines as one text: each element of the array as text, joined
// by CR LF. When the value is not an array, or an element has no text,
// "未知错误！" ends the text.
std::string HostErrorText(const Variant& error);

}  // namespace tarnvex
