#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace automation {

// A class, interface or library identifier.
struct GUID {
  std::uint32_t Data1 = 0;
  std::uint16_t Data2 = 0;
  std::uint16_t Data3 = 0;
  std::array<std::uint8_t, 8> Data4{};

  friend constexpr auto operator<=>(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

namespace detail {
constexpr int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
constexpr std::optional<std::uint64_t> HexValue(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  return value;
}
} // namespace detail

// Parses the registry form "{9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B}" (any letter case).
constexpr std::optional<GUID> GuidFromString(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' || text[14] != '-' ||
      text[19] != '-' || text[24] != '-')
    return std::nullopt;
  const auto data1 = detail::HexValue(text.substr(1, 8));
  const auto data2 = detail::HexValue(text.substr(10, 4));
  const auto data3 = detail::HexValue(text.substr(15, 4));
  if (!data1 || !data2 || !data3) return std::nullopt;
  GUID guid{static_cast<std::uint32_t>(*data1), static_cast<std::uint16_t>(*data2),
            static_cast<std::uint16_t>(*data3), {}};
  constexpr std::size_t byteOffsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (std::size_t i = 0; i < 8; ++i) {
    const auto byte = detail::HexValue(text.substr(byteOffsets[i], 2));
    if (!byte) return std::nullopt;
    guid.Data4[i] = static_cast<std::uint8_t>(*byte);
  }
  return guid;
}

// For identifiers written in code: a malformed literal does not compile.
consteval GUID Guid(std::string_view text) {
  const auto guid = GuidFromString(text);
  if (!guid) throw "malformed GUID literal";
  return *guid;
}

// The registry form, upper case with braces.
std::string GuidToString(const GUID& guid);

inline constexpr GUID GUID_NULL{};

} // namespace automation
