#pragma once

#include "Unknown.h"

#include <cstdint>

namespace automation {

inline constexpr std::uint32_t INTERFACESAFE_FOR_UNTRUSTED_CALLER = 1;
inline constexpr std::uint32_t INTERFACESAFE_FOR_UNTRUSTED_DATA = 2;

// How a scripting host learns and sets whether an object is safe to drive and to initialise.
struct IObjectSafety : IUnknown {
  static constexpr IID Iid = Guid("{CB5BDC81-93C1-11CF-8F20-00805F2CD064}");
  virtual HRESULT GetInterfaceSafetyOptions(const IID& iid, std::uint32_t* supported, std::uint32_t* enabled) = 0;
  virtual HRESULT SetInterfaceSafetyOptions(const IID& iid, std::uint32_t mask, std::uint32_t enabled) = 0;

protected:
  ~IObjectSafety() = default;
};

} // namespace automation
