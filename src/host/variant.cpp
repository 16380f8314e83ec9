#include "host/variant.h"

#include "text/codepage.h"
#include "text/number_text.h"

namespace tarnvex {

namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};
// Spelled out for compilers that do not yet deduce aggregate template arguments.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

// Numbers are written in plain ASCII, the same in UTF-16 as in bytes.
std::u16string WidenAscii(const std::string& text) {
  return std::u16string(text.begin(), text.end());
}

}  // namespace

Variant Variant::FromText(std::string_view cp936) { return Variant(Cp936ToUtf16(cp936)); }

std::optional<std::u16string> Variant::ToWideText() const {
  using Text = std::optional<std::u16string>;
  return std::visit(Overloaded{
                        [](std::monostate) -> Text { return std::u16string(); },
                        [](NullTag) -> Text { return std::nullopt; },
                        [](bool value) -> Text { return value ? u"True" : u"False"; },
                        [](int32_t value) -> Text { return WidenAscii(std::to_string(value)); },
                        [](double value) -> Text { return WidenAscii(ShortestNumberText(value)); },
                        [](const std::u16string& value) -> Text { return value; },
                        [](const std::vector<uint8_t>&) -> Text { return std::nullopt; },
                        [](const VariantArray&) -> Text { return std::nullopt; },
                    },
                    value_);
}

std::optional<std::string> Variant::ToText() const {
  if (kind() == Kind::kString) return Utf16ToCp936(as_string());
  const std::optional<std::u16string> text = ToWideText();
  if (!text) return std::nullopt;
  return Utf16ToCp936(*text);
}

}  // namespace tarnvex
