#pragma once

#include "TypeInfo.h"
#include "Unknown.h"
#include "Variant.h"

#include <span>
#include <string_view>

namespace automation {

// Late binding: look a member up by name (without regard to letter case), then invoke it by its
// dispatch identifier with an invoke kind and arguments.
struct IDispatch : IUnknown {
  static constexpr IID Iid = Guid("{00020400-0000-0000-C000-000000000046}");
  // 1 when the object describes itself through GetTypeInfo, else 0.
  virtual HRESULT GetTypeInfoCount(std::uint32_t* count) = 0;
  // The object's interface description; it stays valid while the object lives.
  virtual HRESULT GetTypeInfo(std::uint32_t index, const InterfaceInfo** info) = 0;
  // names[0] is a member, further names are its parameters (their positions come back).
  // Unknown names give DISPID_UNKNOWN and DISP_E_UNKNOWNNAME. ids.size() must be names.size().
  virtual HRESULT GetIDsOfNames(std::span<const std::u16string_view> names, std::span<DISPID> ids) = 0;
  // args in declared order (first argument first); for a property put the new value comes last.
  virtual HRESULT Invoke(DISPID member, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                         std::uint32_t* argError) = 0;

protected:
  ~IDispatch() = default;
};

inline constexpr IID IID_IDispatch = IDispatch::Iid;

} // namespace automation
