#pragma once

#include "Dispatch.h"

#include <cstdint>
#include <string>

// The automation interface of the fingerprint server's APIInterface class. Clients normally call
// it by member name through IDispatch; C++ clients of the server may also use the vtable. Texts
// are wide; an empty text stands for the null string. Every member answers S_OK (E_POINTER for a
// null out pointer) and reports failures through ErrorCode.
namespace trivane {

using automation::HRESULT;
using automation::Variant;

inline constexpr automation::GUID LIBID_TRIVANECOMLib = automation::Guid("{4B7E2A90-15C3-4D8E-9F61-C2A83E57D014}");
inline constexpr automation::CLSID CLSID_APIInterface = automation::Guid("{9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B}");

struct IAPIInterface : automation::IDispatch {
  static constexpr automation::IID Iid = automation::Guid("{E2580D43-6F1A-4C7B-8E94-3B0D7C15A6F9}");

  virtual HRESULT get_Version(std::u16string* value) = 0;
  virtual HRESULT get_ErrorCode(std::int32_t* value) = 0;
  virtual HRESULT get_CaptureTimeout(std::int32_t* value) = 0;
  virtual HRESULT put_CaptureTimeout(std::int32_t value) = 0;
  virtual HRESULT OpenDevice(std::int32_t deviceID, std::int32_t instanceNum) = 0;
  virtual HRESULT CloseDevice(std::int32_t deviceID, std::int32_t instanceNum) = 0;
  virtual HRESULT get_FIRFormat(std::int32_t* value) = 0;
  virtual HRESULT put_FIRFormat(std::int32_t value) = 0;
  virtual HRESULT get_IsMatched(std::int32_t* value) = 0;
  virtual HRESULT get_FIRTextData(std::u16string* value) = 0;
  virtual HRESULT Capture() = 0;
  virtual HRESULT Enroll(const Variant& vPayload) = 0;
  virtual HRESULT Verify(const std::u16string& enrolledFIR) = 0;
  virtual HRESULT VerifyMatch(const std::u16string& capturedFIR, const std::u16string& enrolledFIR) = 0;
  virtual HRESULT get_SecurityLevel(std::int32_t* value) = 0;
  virtual HRESULT put_SecurityLevel(std::int32_t value) = 0;
  virtual HRESULT get_EnrollImageQuality(std::int32_t* value) = 0;
  virtual HRESULT put_EnrollImageQuality(std::int32_t value) = 0;
  virtual HRESULT get_VerifyImageQuality(std::int32_t* value) = 0;
  virtual HRESULT put_VerifyImageQuality(std::int32_t value) = 0;
  virtual HRESULT CreateTemplate(const Variant& storedTextFIR1, const Variant& storedTextFIR2,
                                 const Variant& vPayload) = 0;
  virtual HRESULT AdjustDevice() = 0;
  virtual HRESULT get_IsPayload(std::int32_t* value) = 0;
  virtual HRESULT get_PayloadData(std::u16string* value) = 0;
  virtual HRESULT get_PayloadLength(std::int32_t* value) = 0;
  virtual HRESULT EnumerateDevice() = 0;
  virtual HRESULT get_DeviceNum(std::int32_t* value) = 0;
  virtual HRESULT get_DeviceID(std::int32_t lDeviceID, std::int32_t* value) = 0;
  virtual HRESULT SetSkinResource(const std::u16string& skinFileName) = 0;
  virtual HRESULT get_MaxFingersForEnroll(std::int32_t* value) = 0;
  virtual HRESULT put_MaxFingersForEnroll(std::int32_t value) = 0;
  virtual HRESULT ConvertDPI(const Variant& storedTextFIR, std::int32_t nSrcDPI, std::int32_t nDestDPI) = 0;
  virtual HRESULT get_WindowStyle(std::int32_t* value) = 0;
  virtual HRESULT put_WindowStyle(std::int32_t value) = 0;

protected:
  ~IAPIInterface() = default;
};

} // namespace trivane
