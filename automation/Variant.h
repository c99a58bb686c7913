#pragma once

#include "HResult.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace automation {

// An automation value: empty, null, a 32-bit integer, a text, or a reference to a text the caller
// owns (a server may write through it). Texts are wide, like the BSTR they stand for, and an empty
// text plays the part of the null BSTR.
class Variant final {
public:
  // The numbers are COM's variant types (VT_EMPTY, VT_NULL, VT_I4, VT_BSTR, VT_BYREF | VT_BSTR).
  enum class Type : std::uint16_t { Empty = 0, Null = 1, Int32 = 3, Text = 8, TextRef = 0x4008 };

  Variant() noexcept = default;
  Variant(std::int32_t value) noexcept : m_value(value) {}
  Variant(std::u16string text) : m_value(std::move(text)) {}
  Variant(std::u16string_view text) : m_value(std::u16string(text)) {}
  // A null pointer is the null string (an empty text), as with BSTR.
  Variant(const char16_t* text) : m_value(text ? std::u16string(text) : std::u16string()) {}

  static Variant Null() noexcept;
  // The text must outlive the variant and every copy of it.
  static Variant ByRef(std::u16string& text) noexcept;

  Type type() const noexcept;
  bool isEmpty() const noexcept { return type() == Type::Empty; }
  bool isNull() const noexcept { return type() == Type::Null; }
  bool isInt32() const noexcept { return type() == Type::Int32; }
  // A text by value or by reference.
  bool isText() const noexcept { return type() == Type::Text || type() == Type::TextRef; }
  bool isByRef() const noexcept { return type() == Type::TextRef; }

  // The value itself; only for the matching type (0 / empty text otherwise).
  std::int32_t int32() const noexcept;
  const std::u16string& text() const noexcept;
  std::u16string* textRef() const noexcept;

  // Conversions as late-bound callers expect them: a decimal text converts to an integer, an
  // integer to its decimal text, empty to 0 or to the null string; null converts to the null
  // string but to no integer. DISP_E_TYPEMISMATCH when there is no conversion.
  HRESULT toInt32(std::int32_t* value) const;
  HRESULT toText(std::u16string* value) const;

  // By-reference variants are equal when they refer to the same text.
  friend bool operator==(const Variant&, const Variant&) = default;

private:
  struct NullValue {
    friend bool operator==(NullValue, NullValue) = default;
  };
  std::variant<std::monostate, NullValue, std::int32_t, std::u16string, std::u16string*> m_value;
};

} // namespace automation
