#include "APIInterface.h"

#include "DispatchTable.h"
#include "Module.h"
#include "TypeLibrary.h"
#include "WideText.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <new>
#include <vector>

namespace trivane {

using automation::E_NOINTERFACE;
using automation::E_POINTER;
using automation::S_OK;
using automation::ULONG;

namespace {
constexpr std::int32_t kNotReady = 1;         // library not loaded, no session, or text missing
constexpr std::int32_t kLibraryMissing = -1;  // set at creation only
constexpr std::int32_t kIndexOutOfRange = 4;
constexpr std::int32_t kNotSupported = 13;

std::int32_t Code(TrivAPI_RETURN result) { return static_cast<std::int32_t>(result); }

std::u16string WideText(const char* text, std::size_t maxLength) {
  if (!text) return {};
  return automation::WideFromNarrow(std::string_view(text, strnlen(text, maxLength)));
}

// The text of a text variant, by value or by reference; null when there is none.
std::optional<std::u16string> TextOf(const Variant& value) {
  if (!value.isText() || value.text().empty()) return std::nullopt;
  return value.text();
}

// What Enroll and CreateTemplate store with the template: a text given by value, or a text by
// reference of at least two characters; nothing for null, empty or anything else.
std::optional<std::u16string> PayloadOf(const Variant& value) {
  if (value.type() == Variant::Type::Text && !value.text().empty()) return value.text();
  if (value.type() == Variant::Type::TextRef && value.text().size() >= 2) return value.text();
  return std::nullopt;
}
} // namespace

// A caller's text as an input template record (form 4 pointing at a text template of length 0).
class APIInterface::Input final {
public:
  explicit Input(std::u16string_view text) : m_text(automation::NarrowFromWide(text)) {
    m_textFIR.length = 0;
    m_textFIR.textFIR = m_text.data();
    m_input.form = TRIVAPI_FIR_FORM_TEXTENCODE;
    m_input.textFIR = &m_textFIR;
  }
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;
  const TrivAPI_INPUT_FIR* record() const { return &m_input; }

private:
  std::string m_text;
  TrivAPI_TEXT_FIR m_textFIR{};
  TrivAPI_INPUT_FIR m_input{};
};

// A caller's payload text in its conversion buffer: 2 × characters + 1 bytes, NUL padded, which is
// the record's length. A narrow form longer than that (characters outside ASCII take up to three
// bytes) gets the room it needs instead of being cut.
class APIInterface::PayloadBuffer final {
public:
  explicit PayloadBuffer(std::u16string_view text) {
    const std::string narrow = automation::NarrowFromWide(text);
    m_buffer.assign(std::max(2 * text.size() + 1, narrow.size() + 1), '\0');
    std::memcpy(m_buffer.data(), narrow.data(), narrow.size());
    m_payload.length = static_cast<std::uint32_t>(m_buffer.size());
    m_payload.data = m_buffer.data();
  }
  PayloadBuffer(const PayloadBuffer&) = delete;
  PayloadBuffer& operator=(const PayloadBuffer&) = delete;
  const TrivAPI_PAYLOAD* record() const { return &m_payload; }

private:
  std::vector<char> m_buffer;
  TrivAPI_PAYLOAD m_payload{};
};

HRESULT APIInterface::Create(automation::IUnknown* outer, const automation::IID& iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer && iid != automation::IID_IUnknown) return automation::CLASS_E_NOAGGREGATION;
  auto* created = new (std::nothrow) APIInterface(outer);
  if (!created) return automation::E_OUTOFMEMORY;
  // Hold a reference while asking, so that a failed request frees the object.
  created->m_inner.AddRef();
  const HRESULT hr = created->m_inner.QueryInterface(iid, object);
  created->m_inner.Release();
  return hr;
}

APIInterface::APIInterface(automation::IUnknown* outer) : m_inner(*this), m_controlling(outer ? outer : &m_inner) {
  LockModule();
  m_sdk = TrivaneLibrary::Load();
  if (!m_sdk) {
    m_errorCode = kLibraryMissing;
    return;
  }
  m_sdk->Init(&m_session);
}

APIInterface::~APIInterface() {
  if (m_sdk) {
    if (m_payload.data) m_sdk->FreePayload(m_session, &m_payload);
    if (m_text.textFIR) m_sdk->FreeTextFIR(m_session, &m_text);
    if (m_session) m_sdk->Terminate(m_session);
    m_sdk.reset();
  }
  UnlockModule();
}

// ---- IUnknown -------------------------------------------------------------------------------

HRESULT APIInterface::InnerUnknown::QueryInterface(const automation::IID& iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == automation::IID_IUnknown)
    *object = static_cast<automation::IUnknown*>(this);
  else if (iid == automation::IID_IDispatch || iid == IAPIInterface::Iid)
    *object = static_cast<IAPIInterface*>(&owner);
  else if (iid == automation::IObjectSafety::Iid)
    *object = static_cast<automation::IObjectSafety*>(&owner);
  else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  static_cast<automation::IUnknown*>(*object)->AddRef();
  return S_OK;
}

ULONG APIInterface::InnerUnknown::AddRef() { return ++owner.m_references; }

ULONG APIInterface::InnerUnknown::Release() {
  const ULONG remaining = --owner.m_references;
  if (remaining == 0) delete &owner;
  return remaining;
}

HRESULT APIInterface::QueryInterface(const automation::IID& iid, void** object) {
  return m_controlling->QueryInterface(iid, object);
}
ULONG APIInterface::AddRef() { return m_controlling->AddRef(); }
ULONG APIInterface::Release() { return m_controlling->Release(); }

// ---- IDispatch ------------------------------------------------------------------------------

HRESULT APIInterface::GetTypeInfoCount(std::uint32_t* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT APIInterface::GetTypeInfo(std::uint32_t index, const automation::InterfaceInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return automation::DISP_E_BADINDEX;
  *info = &IAPIInterfaceInfo();
  return S_OK;
}

HRESULT APIInterface::GetIDsOfNames(std::span<const std::u16string_view> names, std::span<automation::DISPID> ids) {
  return automation::GetIDsOfNamesFrom(IAPIInterfaceInfo(), names, ids);
}

HRESULT APIInterface::Invoke(automation::DISPID member, std::uint16_t flags, std::span<const Variant> args,
                             Variant* result, std::uint32_t* argError) {
  return automation::InvokeFrom(IAPIInterfaceInfo(), *static_cast<IAPIInterface*>(this), member, flags, args, result,
                                argError);
}

// ---- the common frame -----------------------------------------------------------------------

bool APIInterface::begin(bool needsSession) {
  m_errorCode = 0;
  if (!m_sdk || (needsSession && m_session == 0)) {
    m_errorCode = kNotReady;
    return false;
  }
  return true;
}

TrivAPI_WINDOW_OPTION APIInterface::windowOption() const {
  TrivAPI_WINDOW_OPTION option{};
  option.windowStyle = static_cast<std::uint32_t>(m_windowStyle);
  return option;
}

void APIInterface::replaceHeldTemplate(TrivAPI_FIR_HANDLE fir) {
  if (m_text.textFIR) m_sdk->FreeTextFIR(m_session, &m_text);
  m_text = {};
  m_errorCode = Code(m_sdk->GetTextFIRFromHandle(m_session, fir, &m_text, 0));
  // The handle is released whether or not its text could be had, so that no template leaks.
  m_sdk->FreeFIRHandle(m_session, fir);
}

void APIInterface::freeHeldPayload() {
  if (m_payload.data) m_sdk->FreePayload(m_session, &m_payload);
  m_payload = {};
}

void APIInterface::setPayloadResult() { m_isPayload = m_payload.length != 0 ? 1 : 0; }

// ---- properties -----------------------------------------------------------------------------

HRESULT APIInterface::get_Version(std::u16string* value) {
  if (!value) return E_POINTER;
  if (!begin(true)) return S_OK;
  TrivAPI_VERSION version{};
  if (const auto result = m_sdk->GetVersion(m_session, &version); result != TRIVAPI_ERROR_NONE) {
    m_errorCode = Code(result);
    value->assign(1, u'0');
    return S_OK;
  }
  const std::string text = "v" + std::to_string(static_cast<std::int32_t>(version.major)) + "." +
                           std::to_string(static_cast<std::int32_t>(version.minor));
  *value = automation::WideFromNarrow(text);
  return S_OK;
}

HRESULT APIInterface::get_ErrorCode(std::int32_t* value) {
  if (!value) return E_POINTER;
  *value = m_errorCode;
  return S_OK;
}

HRESULT APIInterface::getInitInfo(InitInfoField field, std::int32_t* value) {
  if (!value) return E_POINTER;
  if (!begin(false)) return S_OK;
  TrivAPI_INIT_INFO info{};
  m_errorCode = Code(m_sdk->GetInitInfo(m_session, 0, &info));
  if (m_errorCode == 0) *value = static_cast<std::int32_t>(info.*field);
  return S_OK;
}

// The other settings are written back as read; when they cannot be read nothing is written, so a
// failed read never resets them all to 0.
HRESULT APIInterface::putInitInfo(InitInfoField field, std::int32_t value) {
  if (!begin(false)) return S_OK;
  TrivAPI_INIT_INFO info{};
  m_errorCode = Code(m_sdk->GetInitInfo(m_session, 0, &info));
  if (m_errorCode != 0) return S_OK;
  info.*field = static_cast<std::uint32_t>(value);
  m_errorCode = Code(m_sdk->SetInitInfo(m_session, 0, &info));
  return S_OK;
}

HRESULT APIInterface::get_CaptureTimeout(std::int32_t* value) {
  return getInitInfo(&TrivAPI_INIT_INFO::captureTimeout, value);
}
HRESULT APIInterface::put_CaptureTimeout(std::int32_t value) {
  return putInitInfo(&TrivAPI_INIT_INFO::captureTimeout, value);
}
HRESULT APIInterface::get_SecurityLevel(std::int32_t* value) {
  return getInitInfo(&TrivAPI_INIT_INFO::securityLevel, value);
}
HRESULT APIInterface::put_SecurityLevel(std::int32_t value) {
  return putInitInfo(&TrivAPI_INIT_INFO::securityLevel, value);
}
HRESULT APIInterface::get_EnrollImageQuality(std::int32_t* value) {
  return getInitInfo(&TrivAPI_INIT_INFO::enrollImageQuality, value);
}
HRESULT APIInterface::put_EnrollImageQuality(std::int32_t value) {
  return putInitInfo(&TrivAPI_INIT_INFO::enrollImageQuality, value);
}
HRESULT APIInterface::get_VerifyImageQuality(std::int32_t* value) {
  return getInitInfo(&TrivAPI_INIT_INFO::verifyImageQuality, value);
}
HRESULT APIInterface::put_VerifyImageQuality(std::int32_t value) {
  return putInitInfo(&TrivAPI_INIT_INFO::verifyImageQuality, value);
}
HRESULT APIInterface::get_MaxFingersForEnroll(std::int32_t* value) {
  return getInitInfo(&TrivAPI_INIT_INFO::maxFingersForEnroll, value);
}
HRESULT APIInterface::put_MaxFingersForEnroll(std::int32_t value) {
  return putInitInfo(&TrivAPI_INIT_INFO::maxFingersForEnroll, value);
}

HRESULT APIInterface::get_FIRFormat(std::int32_t* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = 0;
  return S_OK;
}

HRESULT APIInterface::put_FIRFormat(std::int32_t) {
  if (begin(false)) m_errorCode = kNotSupported;
  return S_OK;
}

HRESULT APIInterface::get_IsMatched(std::int32_t* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = m_isMatched;
  return S_OK;
}

// While no template is held the text is empty.
HRESULT APIInterface::get_FIRTextData(std::u16string* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = m_text.textFIR ? automation::WideFromNarrow(m_text.textFIR) : std::u16string();
  return S_OK;
}

HRESULT APIInterface::get_IsPayload(std::int32_t* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = m_isPayload;
  return S_OK;
}

HRESULT APIInterface::get_PayloadLength(std::int32_t* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = m_isPayload == 1 ? static_cast<std::int32_t>(m_payload.length) : 0;
  return S_OK;
}

HRESULT APIInterface::get_PayloadData(std::u16string* value) {
  if (!value) return E_POINTER;
  if (!begin(false)) return S_OK;
  if (m_isPayload == 1) {
    *value = WideText(m_payload.data, m_payload.length);
  } else {
    m_sdk->FreePayload(m_session, &m_payload);
    m_payload = {};
    value->clear();
  }
  return S_OK;
}

HRESULT APIInterface::get_DeviceNum(std::int32_t* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = static_cast<std::int32_t>(m_deviceCount);
  return S_OK;
}

HRESULT APIInterface::get_DeviceID(std::int32_t lDeviceID, std::int32_t* value) {
  if (!value) return E_POINTER;
  if (!begin(false)) return S_OK;
  if (lDeviceID < 0 || static_cast<std::uint32_t>(lDeviceID) >= m_deviceCount || !m_deviceIds) {
    m_errorCode = kIndexOutOfRange;
    return S_OK;
  }
  *value = m_deviceIds[lDeviceID];
  return S_OK;
}

HRESULT APIInterface::get_WindowStyle(std::int32_t* value) {
  if (!value) return E_POINTER;
  if (begin(false)) *value = m_windowStyle;
  return S_OK;
}

HRESULT APIInterface::put_WindowStyle(std::int32_t value) {
  if (begin(false)) m_windowStyle = value;
  return S_OK;
}

// ---- methods --------------------------------------------------------------------------------

HRESULT APIInterface::openOrClose(decltype(TrivaneLibrary::OpenDevice) function, std::int32_t deviceID,
                                  std::int32_t instanceNum) {
  if (!begin(true)) return S_OK;
  const auto device = static_cast<TrivAPI_DEVICE_ID>(((instanceNum & 0xFF) << 8) | (deviceID & 0xFF));
  m_errorCode = Code(function(m_session, device));
  return S_OK;
}

HRESULT APIInterface::OpenDevice(std::int32_t deviceID, std::int32_t instanceNum) {
  return openOrClose(m_sdk ? m_sdk->OpenDevice : nullptr, deviceID, instanceNum);
}

HRESULT APIInterface::CloseDevice(std::int32_t deviceID, std::int32_t instanceNum) {
  return openOrClose(m_sdk ? m_sdk->CloseDevice : nullptr, deviceID, instanceNum);
}

HRESULT APIInterface::EnumerateDevice() {
  if (!begin(true)) return S_OK;
  m_errorCode = Code(m_sdk->EnumerateDevice(m_session, &m_deviceCount, &m_deviceIds));
  if (m_errorCode != 0) {
    m_deviceCount = 0;
    m_deviceIds = nullptr;
  }
  return S_OK;
}

HRESULT APIInterface::AdjustDevice() {
  if (begin(true)) m_errorCode = Code(m_sdk->AdjustDevice(m_session, nullptr));
  return S_OK;
}

HRESULT APIInterface::SetSkinResource(const std::u16string& skinFileName) {
  if (begin(true)) m_errorCode = Code(m_sdk->SetSkinResource(automation::NarrowFromWide(skinFileName).c_str()));
  return S_OK;
}

HRESULT APIInterface::Capture() {
  if (!begin(true)) return S_OK;
  const TrivAPI_WINDOW_OPTION option = windowOption();
  TrivAPI_FIR_HANDLE fir = 0;
  m_errorCode = Code(m_sdk->Capture(m_session, TRIVAPI_PURPOSE_VERIFY, &fir, TRIVAPI_USE_DEFAULT_TIMEOUT, nullptr,
                                    &option));
  if (m_errorCode == 0) replaceHeldTemplate(fir);
  return S_OK;
}

HRESULT APIInterface::Enroll(const Variant& vPayload) {
  if (!begin(true)) return S_OK;
  const auto payloadText = PayloadOf(vPayload);
  const auto payload = payloadText ? std::make_unique<PayloadBuffer>(*payloadText) : nullptr;
  const TrivAPI_WINDOW_OPTION option = windowOption();
  TrivAPI_FIR_HANDLE fir = 0;
  m_errorCode = Code(m_sdk->Enroll(m_session, nullptr, &fir, payload ? payload->record() : nullptr,
                                   TRIVAPI_USE_DEFAULT_TIMEOUT, nullptr, &option));
  if (m_errorCode == 0) replaceHeldTemplate(fir);
  return S_OK;
}

// A payload still held from an earlier match is released before the SDK fills the record anew.
HRESULT APIInterface::Verify(const std::u16string& enrolledFIR) {
  if (!begin(true)) return S_OK;
  if (enrolledFIR.empty()) {
    m_errorCode = kNotReady;
    return S_OK;
  }
  const Input stored(enrolledFIR);
  const TrivAPI_WINDOW_OPTION option = windowOption();
  freeHeldPayload();
  m_errorCode = Code(m_sdk->Verify(m_session, stored.record(), &m_isMatched, &m_payload, TRIVAPI_USE_DEFAULT_TIMEOUT,
                                   nullptr, &option));
  setPayloadResult();
  return S_OK;
}

HRESULT APIInterface::VerifyMatch(const std::u16string& capturedFIR, const std::u16string& enrolledFIR) {
  if (!begin(true)) return S_OK;
  if (capturedFIR.empty() || enrolledFIR.empty()) {
    m_errorCode = kNotReady;
    return S_OK;
  }
  const Input captured(capturedFIR);
  const Input stored(enrolledFIR);
  freeHeldPayload();
  m_errorCode = Code(m_sdk->VerifyMatch(m_session, captured.record(), stored.record(), &m_isMatched, &m_payload));
  setPayloadResult();
  return S_OK;
}

HRESULT APIInterface::CreateTemplate(const Variant& storedTextFIR1, const Variant& storedTextFIR2,
                                     const Variant& vPayload) {
  if (!begin(true)) return S_OK;
  const auto firstText = TextOf(storedTextFIR1);
  if (!firstText) {
    m_errorCode = kNotReady;
    return S_OK;
  }
  const Input first(*firstText);
  const auto secondText = TextOf(storedTextFIR2);
  const auto second = secondText ? std::make_unique<Input>(*secondText) : nullptr;
  const auto payloadText = PayloadOf(vPayload);
  const auto payload = payloadText ? std::make_unique<PayloadBuffer>(*payloadText) : nullptr;
  TrivAPI_FIR_HANDLE fir = 0;
  m_errorCode = Code(m_sdk->CreateTemplate(m_session, first.record(), second ? second->record() : nullptr, &fir,
                                           payload ? payload->record() : nullptr));
  if (m_errorCode == 0) replaceHeldTemplate(fir);
  return S_OK;
}

HRESULT APIInterface::ConvertDPI(const Variant& storedTextFIR, std::int32_t nSrcDPI, std::int32_t nDestDPI) {
  if (!begin(true)) return S_OK;
  const auto text = TextOf(storedTextFIR);
  if (!text) {
    m_errorCode = kNotReady;
    return S_OK;
  }
  const Input input(*text);
  TrivAPI_FIR_HANDLE fir = 0;
  m_errorCode = Code(m_sdk->ConvertDPI(m_session, input.record(), &fir, static_cast<std::uint32_t>(nSrcDPI),
                                       static_cast<std::uint32_t>(nDestDPI)));
  if (m_errorCode == 0) replaceHeldTemplate(fir);
  return S_OK;
}

// ---- IObjectSafety --------------------------------------------------------------------------

namespace {
constexpr std::uint32_t kSupportedSafety =
    automation::INTERFACESAFE_FOR_UNTRUSTED_CALLER | automation::INTERFACESAFE_FOR_UNTRUSTED_DATA;
}

HRESULT APIInterface::GetInterfaceSafetyOptions(const automation::IID& iid, std::uint32_t* supported,
                                                std::uint32_t* enabled) {
  if (!supported || !enabled) return E_POINTER;
  void* unknown = nullptr;
  if (const HRESULT hr = m_inner.QueryInterface(iid, &unknown); automation::Failed(hr)) {
    *supported = 0;
    *enabled = 0;
    return hr;
  }
  static_cast<automation::IUnknown*>(unknown)->Release();
  *supported = kSupportedSafety;
  *enabled = m_safetyOptions;
  return S_OK;
}

HRESULT APIInterface::SetInterfaceSafetyOptions(const automation::IID& iid, std::uint32_t mask,
                                                std::uint32_t enabled) {
  void* unknown = nullptr;
  if (automation::Failed(m_inner.QueryInterface(iid, &unknown))) return E_NOINTERFACE;
  static_cast<automation::IUnknown*>(unknown)->Release();
  if (mask & ~kSupportedSafety) return automation::E_FAIL;
  m_safetyOptions = (m_safetyOptions & ~mask) | (enabled & mask);
  return S_OK;
}

} // namespace trivane
