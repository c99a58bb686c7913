#pragma once

#include "IAPIInterface.h"
#include "ObjectSafety.h"
#include "TrivaneLibrary.h"

#include <atomic>
#include <memory>
#include <string>

namespace trivane {

// The fingerprint automation object: one SDK session per object. Every member first clears
// ErrorCode, checks that the library is loaded (and, for the members that talk to the reader, that
// a session exists) and otherwise sets ErrorCode 1; SDK results pass through unchanged.
//
// The object may be aggregated: its interfaces then delegate QueryInterface, AddRef and Release to
// the controlling object, and only the inner IUnknown handed to that object is its own.
class APIInterface final : public IAPIInterface, public automation::IObjectSafety {
public:
  // The class factory's CreateInstance: outer is the controlling object or null.
  static HRESULT Create(automation::IUnknown* outer, const automation::IID& iid, void** object);

  // IUnknown, delegating to the controlling object.
  HRESULT QueryInterface(const automation::IID& iid, void** object) override;
  automation::ULONG AddRef() override;
  automation::ULONG Release() override;

  // IDispatch, driven by the type library.
  HRESULT GetTypeInfoCount(std::uint32_t* count) override;
  HRESULT GetTypeInfo(std::uint32_t index, const automation::InterfaceInfo** info) override;
  HRESULT GetIDsOfNames(std::span<const std::u16string_view> names, std::span<automation::DISPID> ids) override;
  HRESULT Invoke(automation::DISPID member, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                 std::uint32_t* argError) override;

  // IAPIInterface.
  HRESULT get_Version(std::u16string* value) override;
  HRESULT get_ErrorCode(std::int32_t* value) override;
  HRESULT get_CaptureTimeout(std::int32_t* value) override;
  HRESULT put_CaptureTimeout(std::int32_t value) override;
  HRESULT OpenDevice(std::int32_t deviceID, std::int32_t instanceNum) override;
  HRESULT CloseDevice(std::int32_t deviceID, std::int32_t instanceNum) override;
  HRESULT get_FIRFormat(std::int32_t* value) override;
  HRESULT put_FIRFormat(std::int32_t value) override;
  HRESULT get_IsMatched(std::int32_t* value) override;
  HRESULT get_FIRTextData(std::u16string* value) override;
  HRESULT Capture() override;
  HRESULT Enroll(const Variant& vPayload) override;
  HRESULT Verify(const std::u16string& enrolledFIR) override;
  HRESULT VerifyMatch(const std::u16string& capturedFIR, const std::u16string& enrolledFIR) override;
  HRESULT get_SecurityLevel(std::int32_t* value) override;
  HRESULT put_SecurityLevel(std::int32_t value) override;
  HRESULT get_EnrollImageQuality(std::int32_t* value) override;
  HRESULT put_EnrollImageQuality(std::int32_t value) override;
  HRESULT get_VerifyImageQuality(std::int32_t* value) override;
  HRESULT put_VerifyImageQuality(std::int32_t value) override;
  HRESULT CreateTemplate(const Variant& storedTextFIR1, const Variant& storedTextFIR2,
                         const Variant& vPayload) override;
  HRESULT AdjustDevice() override;
  HRESULT get_IsPayload(std::int32_t* value) override;
  HRESULT get_PayloadData(std::u16string* value) override;
  HRESULT get_PayloadLength(std::int32_t* value) override;
  HRESULT EnumerateDevice() override;
  HRESULT get_DeviceNum(std::int32_t* value) override;
  HRESULT get_DeviceID(std::int32_t lDeviceID, std::int32_t* value) override;
  HRESULT SetSkinResource(const std::u16string& skinFileName) override;
  HRESULT get_MaxFingersForEnroll(std::int32_t* value) override;
  HRESULT put_MaxFingersForEnroll(std::int32_t value) override;
  HRESULT ConvertDPI(const Variant& storedTextFIR, std::int32_t nSrcDPI, std::int32_t nDestDPI) override;
  HRESULT get_WindowStyle(std::int32_t* value) override;
  HRESULT put_WindowStyle(std::int32_t value) override;

  // IObjectSafety.
  HRESULT GetInterfaceSafetyOptions(const automation::IID& iid, std::uint32_t* supported,
                                    std::uint32_t* enabled) override;
  HRESULT SetInterfaceSafetyOptions(const automation::IID& iid, std::uint32_t mask, std::uint32_t enabled) override;

private:
  // The object's own IUnknown: it counts references and answers QueryInterface.
  struct InnerUnknown final : automation::IUnknown {
    explicit InnerUnknown(APIInterface& owner) : owner(owner) {}
    HRESULT QueryInterface(const automation::IID& iid, void** object) override;
    automation::ULONG AddRef() override;
    automation::ULONG Release() override;
    APIInterface& owner;
  };
  class Input;
  class PayloadBuffer;
  using InitInfoField = std::uint32_t TrivAPI_INIT_INFO::*;

  explicit APIInterface(automation::IUnknown* outer);
  ~APIInterface();

  // The common frame: clears ErrorCode; sets it to 1 and answers false when the library is missing
  // or (when needsSession) there is no session.
  bool begin(bool needsSession);
  HRESULT getInitInfo(InitInfoField field, std::int32_t* value);
  HRESULT putInitInfo(InitInfoField field, std::int32_t value);
  HRESULT openOrClose(decltype(TrivaneLibrary::OpenDevice) function, std::int32_t deviceID, std::int32_t instanceNum);
  TrivAPI_WINDOW_OPTION windowOption() const;
  // Takes over the template the SDK returned: the held text is replaced by the template's text.
  void replaceHeldTemplate(TrivAPI_FIR_HANDLE fir);
  void freeHeldPayload();
  void setPayloadResult();

  InnerUnknown m_inner;
  automation::IUnknown* m_controlling;
  std::atomic<automation::ULONG> m_references{0};

  std::unique_ptr<TrivaneLibrary> m_sdk;
  TrivAPI_HANDLE m_session = 0;
  std::int32_t m_errorCode = 0;
  TrivAPI_TEXT_FIR m_text{};
  TrivAPI_PAYLOAD m_payload{};
  std::int32_t m_isMatched = 0;
  std::int32_t m_isPayload = 0;
  std::uint32_t m_deviceCount = 0;
  TrivAPI_DEVICE_ID* m_deviceIds = nullptr;
  std::int32_t m_windowStyle = 0;
  std::uint32_t m_safetyOptions = 0;
};

} // namespace trivane
