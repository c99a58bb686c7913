#include "Variant.h"

#include <charconv>
#include <limits>

namespace automation {

namespace {
const std::u16string kNoText;

// Decimal digits with an optional sign and surrounding blanks, as a late-bound caller would write.
bool ParseInt32(std::u16string_view text, std::int32_t* value) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return false;
    ascii += static_cast<char>(c);
  }
  if (!ascii.empty() && ascii.front() == '+') ascii.erase(0, 1);
  const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), *value);
  return error == std::errc() && end == ascii.data() + ascii.size() && !ascii.empty();
}

std::u16string DecimalText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}
} // namespace

Variant Variant::Null() noexcept {
  Variant variant;
  variant.m_value = NullValue{};
  return variant;
}

Variant Variant::ByRef(std::u16string& text) noexcept {
  Variant variant;
  variant.m_value = &text;
  return variant;
}

Variant::Type Variant::type() const noexcept {
  switch (m_value.index()) {
  case 1: return Type::Null;
  case 2: return Type::Int32;
  case 3: return Type::Text;
  case 4: return Type::TextRef;
  default: return Type::Empty;
  }
}

std::int32_t Variant::int32() const noexcept {
  const auto* value = std::get_if<std::int32_t>(&m_value);
  return value ? *value : 0;
}

const std::u16string& Variant::text() const noexcept {
  if (const auto* text = std::get_if<std::u16string>(&m_value)) return *text;
  if (const auto* ref = std::get_if<std::u16string*>(&m_value); ref && *ref) return **ref;
  return kNoText;
}

std::u16string* Variant::textRef() const noexcept {
  const auto* ref = std::get_if<std::u16string*>(&m_value);
  return ref ? *ref : nullptr;
}

HRESULT Variant::toInt32(std::int32_t* value) const {
  switch (type()) {
  case Type::Empty: *value = 0; return S_OK;
  case Type::Int32: *value = int32(); return S_OK;
  case Type::Text:
  case Type::TextRef: return ParseInt32(text(), value) ? S_OK : DISP_E_TYPEMISMATCH;
  case Type::Null: break;
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT Variant::toText(std::u16string* value) const {
  switch (type()) {
  case Type::Empty:
  case Type::Null: value->clear(); return S_OK;
  case Type::Int32: *value = DecimalText(int32()); return S_OK;
  case Type::Text:
  case Type::TextRef: *value = text(); return S_OK;
  }
  return DISP_E_TYPEMISMATCH;
}

} // namespace automation
