// The exported TrivAPI_* functions of the simulated reader library: argument checks and record
// conversions around the sessions, which do the work.
#include "SimSession.h"
#include "TrivaneSDK.h"

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>

using namespace trivsim;

namespace {

constexpr std::uint32_t kVersionMajor = 1;
constexpr std::uint32_t kVersionMinor = 0;
constexpr std::uint32_t kMinDpi = 100;
constexpr std::uint32_t kMaxDpi = 2000;
constexpr std::uint32_t kBinaryFormat = 1;
constexpr std::uint16_t kHeaderVersion = 1;

std::mutex g_sessionsMutex;
std::map<TrivAPI_HANDLE, std::shared_ptr<Session>> g_sessions;
TrivAPI_HANDLE g_nextSession = 1;

std::shared_ptr<Session> FindSession(TrivAPI_HANDLE handle)
{
    std::lock_guard lock(g_sessionsMutex);
    const auto found = g_sessions.find(handle);
    return found == g_sessions.end() ? nullptr : found->second;
}

// The frame of every call on a session: an unknown handle, then a NULL where a pointer is required,
// fail before the body runs.
template <typename Body>
TrivAPI_RETURN InSession(TrivAPI_HANDLE handle, std::initializer_list<const void*> required, Body&& body)
{
    const auto session = FindSession(handle);
    if (!session)
        return InvalidHandle;
    for (const void* pointer : required)
        if (!pointer)
            return InvalidPointer;
    return body(*session);
}

// As InSession, for a call on a template the session holds.
template <typename Body>
TrivAPI_RETURN OnHeld(TrivAPI_HANDLE handle, TrivAPI_FIR_HANDLE fir, const void* out, Body&& body)
{
    return InSession(handle, {out}, [&](Session& session) -> TrivAPI_RETURN {
        const HeldTemplate* held = session.Held(fir);
        return held ? body(session, *held) : InvalidHandle;
    });
}

// The text of a caller's record: up to its NUL, and within `length` when that is given.
std::string_view TextOf(const char* text, std::uint32_t length)
{
    return length == 0 ? std::string_view(text) : std::string_view(text, strnlen(text, length));
}

Code ReadInput(const TrivAPI_INPUT_FIR* input, Template& fir)
{
    if (!input)
        return InvalidPointer;
    if (input->form != TRIVAPI_FIR_FORM_TEXTENCODE)
        return InvalidParameter;
    if (!input->textFIR || !input->textFIR->textFIR)
        return InvalidPointer;
    auto decoded = TemplateFromText(TextOf(input->textFIR->textFIR, input->textFIR->length));
    if (!decoded)
        return UnreadableTemplate;
    fir = std::move(*decoded);
    return Ok;
}

// A caller's payload: nothing for no record or an empty text.
Code ReadPayload(const TrivAPI_PAYLOAD* payload, std::optional<std::string>& text)
{
    text.reset();
    if (!payload || payload->length == 0)
        return Ok;
    if (!payload->data)
        return InvalidPointer;
    const auto value = TextOf(payload->data, payload->length);
    if (value.size() > kMaxPayload)
        return InvalidParameter;
    if (!value.empty())
        text = std::string(value);
    return Ok;
}

// Fills the caller's payload record with a stored template's payload (nothing on no match).
void WritePayload(Session& session, TrivAPI_PAYLOAD* out, const Template* stored)
{
    if (!out)
        return;
    session.GiveBack(out->data);
    out->length = 0;
    out->data = nullptr;
    if (stored && !stored->payload.empty()) {
        out->data = session.Lend(stored->payload);
        out->length = out->data ? static_cast<std::uint32_t>(stored->payload.size()) : 0;
    }
}

Code HoldResult(Session& session, Code code, HeldTemplate&& held, TrivAPI_FIR_HANDLE* out)
{
    if (code == Ok)
        *out = session.Hold(std::move(held));
    return code;
}

TrivAPI_FIR_HEADER HeaderOf(const HeldTemplate& held, std::uint32_t dataLength)
{
    TrivAPI_FIR_HEADER header{};
    header.length = sizeof(TrivAPI_FIR_HEADER);
    header.dataLength = dataLength;
    header.version = kHeaderVersion;
    header.purpose = static_cast<std::uint16_t>(held.purpose);
    header.quality = static_cast<std::uint16_t>(held.quality);
    return header;
}

// Releases a buffer the session lent into a record and empties the record; an empty record is
// fine, a buffer the session did not lend is refused and left alone.
template <typename Record, typename Pointer>
TrivAPI_RETURN GiveBackRecord(TrivAPI_HANDLE handle, Record* record, Pointer Record::*data)
{
    return InSession(handle, {record}, [&](Session& session) -> TrivAPI_RETURN {
        if (record->*data && !session.GiveBack(record->*data))
            return InvalidPointer;
        *record = Record{};
        return Ok;
    });
}

} // namespace

extern "C" {

TrivAPI_RETURN TrivAPI_Init(TrivAPI_HANDLE* session)
{
    if (!session)
        return InvalidPointer;
    auto created = std::make_shared<Session>(Spool());
    std::lock_guard lock(g_sessionsMutex);
    *session = g_nextSession++;
    g_sessions[*session] = std::move(created);
    return Ok;
}

TrivAPI_RETURN TrivAPI_Terminate(TrivAPI_HANDLE session)
{
    std::lock_guard lock(g_sessionsMutex);
    return g_sessions.erase(session) == 1 ? Ok : InvalidHandle;
}

TrivAPI_RETURN TrivAPI_GetVersion(TrivAPI_HANDLE session, TrivAPI_VERSION* version)
{
    return InSession(session, {version}, [&](Session&) {
        *version = {kVersionMajor, kVersionMinor};
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_GetInitInfo(TrivAPI_HANDLE session, uint8_t structureType, TrivAPI_INIT_INFO* initInfo)
{
    return InSession(session, {initInfo}, [&](Session& s) {
        if (structureType != 0)
            return InvalidParameter;
        *initInfo = s.InitInfo();
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_SetInitInfo(TrivAPI_HANDLE session, uint8_t structureType, const TrivAPI_INIT_INFO* initInfo)
{
    return InSession(session, {initInfo},
                     [&](Session& s) { return structureType == 0 ? s.SetInitInfo(*initInfo) : InvalidParameter; });
}

TrivAPI_RETURN TrivAPI_EnumerateDevice(TrivAPI_HANDLE session, uint32_t* deviceCount, TrivAPI_DEVICE_ID** deviceIds)
{
    return InSession(session, {deviceCount, deviceIds}, [&](Session& s) {
        auto& devices = s.EnumerateDevices();
        *deviceCount = static_cast<uint32_t>(devices.size());
        *deviceIds = const_cast<TrivAPI_DEVICE_ID*>(devices.data());
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_OpenDevice(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device)
{
    return InSession(session, {}, [&](Session& s) { return s.OpenDevice(device); });
}

TrivAPI_RETURN TrivAPI_CloseDevice(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device)
{
    return InSession(session, {}, [&](Session& s) { return s.CloseDevice(device); });
}

TrivAPI_RETURN TrivAPI_GetDeviceInfo(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device, uint8_t structureType,
                                     TrivAPI_DEVICE_INFO* deviceInfo)
{
    return InSession(session, {deviceInfo}, [&](Session& s) {
        if (structureType != 0)
            return InvalidParameter;
        const Code open = s.CheckOpen(device);
        if (open == Ok)
            *deviceInfo = s.OpenDeviceInfo();
        return open;
    });
}

TrivAPI_RETURN TrivAPI_SetDeviceInfo(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device, uint8_t structureType,
                                     const TrivAPI_DEVICE_INFO* deviceInfo)
{
    return InSession(session, {deviceInfo}, [&](Session& s) {
        if (const Code open = s.CheckOpen(device); open != Ok)
            return open;
        auto& current = s.OpenDeviceInfo();
        // The image size is the sensor's; brightness, contrast and gain are percentages.
        if (structureType != 0 || deviceInfo->structureType != 0 || deviceInfo->imageWidth != current.imageWidth
            || deviceInfo->imageHeight != current.imageHeight || deviceInfo->brightness > 100
            || deviceInfo->contrast > 100 || deviceInfo->gain > 100)
            return InvalidParameter;
        current = *deviceInfo;
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_AdjustDevice(TrivAPI_HANDLE session, const TrivAPI_WINDOW_OPTION*)
{
    return InSession(session, {}, [&](Session& s) { return s.CheckOpen(TRIVAPI_DEVICE_AUTO); });
}

TrivAPI_RETURN TrivAPI_SetSkinResource(const char* skinFileName)
{
    if (!skinFileName)
        return InvalidPointer;
    std::error_code error;
    return std::filesystem::is_regular_file(skinFileName, error) ? Ok : SkinNotFound;
}

TrivAPI_RETURN TrivAPI_Capture(TrivAPI_HANDLE session, uint8_t purpose, TrivAPI_FIR_HANDLE* capturedFIR,
                               int32_t timeout, TrivAPI_FIR_HANDLE* auditData, const TrivAPI_WINDOW_OPTION*)
{
    return InSession(session, {capturedFIR}, [&](Session& s) {
        if (purpose < static_cast<uint8_t>(Purpose::Verify) || purpose > static_cast<uint8_t>(Purpose::Enroll))
            return InvalidParameter;
        HeldTemplate captured;
        const Code code = s.Capture(static_cast<Purpose>(purpose), timeout, captured);
        if (code == Ok && auditData)
            *auditData = s.Hold(captured);
        return HoldResult(s, code, std::move(captured), capturedFIR);
    });
}

TrivAPI_RETURN TrivAPI_Enroll(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* storedFIR, TrivAPI_FIR_HANDLE* newFIR,
                              const TrivAPI_PAYLOAD* payload, int32_t timeout, TrivAPI_FIR_HANDLE* auditData,
                              const TrivAPI_WINDOW_OPTION*)
{
    return InSession(session, {newFIR}, [&](Session& s) {
        Template stored;
        std::optional<std::string> payloadText;
        if (const Code code = storedFIR ? ReadInput(storedFIR, stored) : Ok; code != Ok)
            return code;
        if (const Code code = ReadPayload(payload, payloadText); code != Ok)
            return code;
        HeldTemplate enrolled;
        const Code code = s.Enroll(storedFIR ? &stored : nullptr, std::move(payloadText), timeout, enrolled);
        if (code == Ok && auditData)
            *auditData = s.Hold(enrolled);
        return HoldResult(s, code, std::move(enrolled), newFIR);
    });
}

TrivAPI_RETURN TrivAPI_Verify(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* storedFIR, int32_t* matched,
                              TrivAPI_PAYLOAD* payload, int32_t timeout, TrivAPI_FIR_HANDLE*,
                              const TrivAPI_WINDOW_OPTION*)
{
    return InSession(session, {matched}, [&](Session& s) {
        *matched = 0;
        WritePayload(s, payload, nullptr);
        Template stored;
        // An unreadable template fails at once, before anyone is asked for a finger.
        if (const Code code = ReadInput(storedFIR, stored); code != Ok)
            return code;
        bool isMatch = false;
        const Code code = s.Verify(stored, timeout, isMatch);
        *matched = isMatch ? 1 : 0;
        WritePayload(s, payload, isMatch ? &stored : nullptr);
        return code;
    });
}

TrivAPI_RETURN TrivAPI_VerifyMatch(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* capturedFIR,
                                   const TrivAPI_INPUT_FIR* storedFIR, int32_t* matched, TrivAPI_PAYLOAD* payload)
{
    return InSession(session, {matched}, [&](Session& s) {
        *matched = 0;
        WritePayload(s, payload, nullptr);
        Template captured, stored;
        if (const Code code = ReadInput(capturedFIR, captured); code != Ok)
            return code;
        if (const Code code = ReadInput(storedFIR, stored); code != Ok)
            return code;
        const bool isMatch = s.Matches(captured, stored);
        *matched = isMatch ? 1 : 0;
        WritePayload(s, payload, isMatch ? &stored : nullptr);
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_CreateTemplate(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* firstFIR,
                                      const TrivAPI_INPUT_FIR* secondFIR, TrivAPI_FIR_HANDLE* newFIR,
                                      const TrivAPI_PAYLOAD* payload)
{
    return InSession(session, {newFIR}, [&](Session& s) {
        Template first, second;
        std::optional<std::string> payloadText;
        if (const Code code = ReadInput(firstFIR, first); code != Ok)
            return code;
        if (const Code code = secondFIR ? ReadInput(secondFIR, second) : Ok; code != Ok)
            return code;
        if (const Code code = ReadPayload(payload, payloadText); code != Ok)
            return code;
        first.fingers.insert(first.fingers.end(), second.fingers.begin(), second.fingers.end());
        if (payloadText)
            first.payload = std::move(*payloadText);
        if (!s.FitsFingerLimit(first))
            return TooManyFingers;
        return HoldResult(s, Ok, {std::move(first), Purpose::Enroll, 100}, newFIR);
    });
}

TrivAPI_RETURN TrivAPI_ConvertDPI(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* inputFIR,
                                  TrivAPI_FIR_HANDLE* convertedFIR, uint32_t sourceDPI, uint32_t destinationDPI)
{
    return InSession(session, {convertedFIR}, [&](Session& s) {
        Template fir;
        if (const Code code = ReadInput(inputFIR, fir); code != Ok)
            return code;
        if (sourceDPI != fir.dpi || destinationDPI < kMinDpi || destinationDPI > kMaxDpi)
            return InvalidParameter;
        // The simulated features do not depend on the resolution: only the label changes.
        fir.dpi = static_cast<std::uint16_t>(destinationDPI);
        return HoldResult(s, Ok, {std::move(fir), Purpose::Enroll, 100}, convertedFIR);
    });
}

TrivAPI_RETURN TrivAPI_Process(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* capturedFIR,
                               TrivAPI_FIR_HANDLE* processedFIR)
{
    return InSession(session, {processedFIR}, [&](Session& s) {
        Template fir;
        if (const Code code = ReadInput(capturedFIR, fir); code != Ok)
            return code;
        // Readings are processed as they are taken, so processing again changes nothing.
        return HoldResult(s, Ok, {std::move(fir), Purpose::Verify, 100}, processedFIR);
    });
}

TrivAPI_RETURN TrivAPI_GetTextFIRFromHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir, TrivAPI_TEXT_FIR* textFIR,
                                            int32_t wide)
{
    return OnHeld(session, fir, textFIR, [&](Session& s, const HeldTemplate& held) {
        if (wide != 0)
            return InvalidParameter;
        const std::string text = TemplateToText(held.fir);
        textFIR->textFIR = s.Lend(text);
        textFIR->length = textFIR->textFIR ? static_cast<uint32_t>(text.size()) : 0;
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_GetFIRFromHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir, TrivAPI_FIR* binaryFIR)
{
    return OnHeld(session, fir, binaryFIR, [&](Session& s, const HeldTemplate& held) {
        // The binary form carries the same bytes as the text form.
        const std::string text = TemplateToText(held.fir);
        binaryFIR->format = kBinaryFormat;
        binaryFIR->data = reinterpret_cast<uint8_t*>(s.Lend(text));
        binaryFIR->header = HeaderOf(held, binaryFIR->data ? static_cast<uint32_t>(text.size()) : 0);
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_GetHeaderFromHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir, TrivAPI_FIR_HEADER* header)
{
    return OnHeld(session, fir, header, [&](Session&, const HeldTemplate& held) {
        *header = HeaderOf(held, static_cast<uint32_t>(TemplateToText(held.fir).size()));
        return Ok;
    });
}

TrivAPI_RETURN TrivAPI_FreeFIRHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir)
{
    return InSession(session, {}, [&](Session& s) { return s.Release(fir) ? Ok : InvalidHandle; });
}

TrivAPI_RETURN TrivAPI_FreeTextFIR(TrivAPI_HANDLE session, TrivAPI_TEXT_FIR* textFIR)
{
    return GiveBackRecord(session, textFIR, &TrivAPI_TEXT_FIR::textFIR);
}

TrivAPI_RETURN TrivAPI_FreeFIR(TrivAPI_HANDLE session, TrivAPI_FIR* binaryFIR)
{
    return GiveBackRecord(session, binaryFIR, &TrivAPI_FIR::data);
}

TrivAPI_RETURN TrivAPI_FreePayload(TrivAPI_HANDLE session, TrivAPI_PAYLOAD* payload)
{
    return GiveBackRecord(session, payload, &TrivAPI_PAYLOAD::data);
}

} // extern "C"
