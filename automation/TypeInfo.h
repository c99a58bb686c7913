#pragma once

#include "Guid.h"
#include "HResult.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace automation {

struct IDispatch;
class Variant;

using DISPID = std::int32_t;
inline constexpr DISPID DISPID_UNKNOWN = -1;

// Invoke kinds; a caller that wants a value and has no arguments may combine method and property
// get, and a member of either kind answers.
inline constexpr std::uint16_t DISPATCH_METHOD = 1;
inline constexpr std::uint16_t DISPATCH_PROPERTYGET = 2;
inline constexpr std::uint16_t DISPATCH_PROPERTYPUT = 4;

// The description of a type library, as a server compiles it in: what a client may look up and
// what GetIDsOfNames / Invoke are driven by.
enum class ValueType : std::uint8_t { None, Int32, Text, Variant };

struct ParamInfo {
  std::u16string_view name;
  ValueType type = ValueType::Int32;
  bool optional = false; // an omitted optional argument arrives as Empty (0 / null string)
};

// Calls the member on the object with the arguments in their declared order; a value the member
// returns goes to *result (when result is not null). *argError receives the index of an argument
// that could not be converted.
using MemberInvoker = HRESULT (*)(IDispatch& object, std::span<const Variant> args, Variant* result,
                                  std::uint32_t* argError);

struct FuncInfo {
  DISPID id = DISPID_UNKNOWN;
  std::uint16_t kind = DISPATCH_METHOD; // exactly one of the DISPATCH_ kinds
  std::u16string_view name;
  std::span<const ParamInfo> params; // in arguments; for a property put the last is the new value
  ValueType result = ValueType::None;
  std::u16string_view helpString;
  MemberInvoker invoke = nullptr;
};

inline constexpr std::uint32_t TYPEFLAG_FDUAL = 0x40;
inline constexpr std::uint32_t TYPEFLAG_FOLEAUTOMATION = 0x100;
inline constexpr std::uint32_t TYPEFLAG_FCANCREATE = 0x2;

struct InterfaceInfo {
  IID iid;
  std::u16string_view name;
  std::u16string_view helpString;
  std::uint32_t flags = 0;
  std::span<const FuncInfo> funcs; // in vtable order after the IDispatch slots
};

struct CoclassInfo {
  CLSID clsid;
  std::u16string_view name;
  std::u16string_view helpString;
  std::uint32_t flags = 0;
  const InterfaceInfo* defaultInterface = nullptr;
};

struct TypeLibraryInfo {
  GUID libid;
  std::u16string_view name;
  std::uint16_t majorVersion = 1;
  std::uint16_t minorVersion = 0;
  std::uint32_t lcid = 0;
  std::u16string_view helpString;
  std::span<const CoclassInfo> coclasses;
  std::span<const InterfaceInfo* const> interfaces;
};

} // namespace automation
