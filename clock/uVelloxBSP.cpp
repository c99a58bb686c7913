#include "uVelloxBSP.h"

using namespace automation;

namespace {

constexpr std::u16string_view kProgId = u"TrivaneCOM.APIInterface";
// The device id that stands for "whatever device is open": closed before every open.
constexpr std::int32_t kAnyDevice = 255;

QString FromWide(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

} // namespace

TVelloxBSP::TVelloxBSP(QObject* owner) : QObject(owner)
{
    // An unregistered or unloadable server leaves the reader absent; that is not an error.
    if (Failed(CreateObjectByProgId(kProgId, IDispatch::Iid, m_dispatch.put()))) {
        m_dispatch.reset();
        return;
    }
    Call(u"EnumerateDevice", DISPATCH_METHOD);
    m_deviceCount = ReadInt(u"DeviceNum");
    SetWindowStyle(0);
    ListDevices();
}

TVelloxBSP::~TVelloxBSP()
{
    try {
        CloseDevice();
    } catch (const Exception&) {
        // The object goes away with the wrapper; a reader that will not close has nothing to add.
    }
}

void TVelloxBSP::ListDevices()
{
    m_devices.clear();
    for (int index = 0; index < m_deviceCount; ++index)
        m_devices.append(DeviceName(DeviceIdAt(index)));
}

QString TVelloxBSP::DeviceName(int deviceId)
{
    return deviceId % 2 == 0 ? QStringLiteral("QMA71_%1").arg(deviceId - 2)
                             : QStringLiteral("QMB71_%1").arg(deviceId - 1);
}

void TVelloxBSP::OpenDevice(int index)
{
    const int deviceId = DeviceIdAt(index);
    Call(u"CloseDevice", DISPATCH_METHOD, {Variant(kAnyDevice)});
    Call(u"OpenDevice", DISPATCH_METHOD, {Variant(deviceId)});
    if (const int code = ErrorCode(); code != 0)
        throw EVelloxError(QStringLiteral("Error opening the device"), code);
    m_openDeviceId = DeviceIdAt(index);
}

void TVelloxBSP::CloseDevice()
{
    if (m_openDeviceId < 0)
        return;
    Call(u"CloseDevice", DISPATCH_METHOD, {Variant(m_openDeviceId)});
    if (const int code = ErrorCode(); code != 0)
        throw EVelloxError(QStringLiteral("Error closing the device"), code);
    m_openDeviceId = -1;
}

void TVelloxBSP::SetWindowStyle(quint16 style)
{
    Call(u"WindowStyle", DISPATCH_PROPERTYPUT, {Variant(std::int32_t{style})});
    m_windowStyle = style;
}

void TVelloxBSP::SetSkinResource(const QString& fileName)
{
    if (!m_dispatch)
        return;
    std::u16string name = fileName.toStdU16String();
    Call(u"SetSkinResource", DISPATCH_METHOD, {Variant::ByRef(name)});
}

QString TVelloxBSP::Capture()
{
    Call(u"Capture", DISPATCH_METHOD);
    if (const int code = ErrorCode(); code != 0) {
        m_lastError = code;
        return {};
    }
    return FromWide(Read(u"FirTextData").text());
}

QString TVelloxBSP::Enroll(const QString& payload)
{
    Call(u"Enroll", DISPATCH_METHOD, {payload.isEmpty() ? Variant::Null() : Variant(payload.toStdU16String())});
    m_lastError = ErrorCode();
    if (m_lastError == NoFingerprintTaken)
        return {};
    if (m_lastError != 0)
        throw EVelloxError(QStringLiteral("Error during enrollment process"), m_lastError);
    return FromWide(Read(u"FirTextData").text());
}

bool TVelloxBSP::Verify(const QString& stored)
{
    std::u16string storedText = stored.toStdU16String();
    Call(u"Verify", DISPATCH_METHOD, {Variant::ByRef(storedText)});
    m_lastError = ErrorCode();
    // A verification the object refused leaves IsMatched from an earlier one.
    return m_lastError == 0 && ReadInt(u"IsMatched") == 1;
}

bool TVelloxBSP::Match(const QString& captured, const QString& stored, QString* payload)
{
    Object(); // raises without the object, like every other operation
    // The object leaves IsMatched as it was when a text is missing: that must not read as a match.
    if (captured.isEmpty() || stored.isEmpty())
        return false;
    std::u16string capturedText = captured.toStdU16String();
    std::u16string storedText = stored.toStdU16String();
    Call(u"VerifyMatch", DISPATCH_METHOD, {Variant::ByRef(capturedText), Variant::ByRef(storedText)});
    const bool matched = ReadInt(u"IsMatched") == 1;
    if (matched && payload)
        *payload = FromWide(Read(u"PayLoadData").text());
    return matched;
}

IDispatch& TVelloxBSP::Object() const
{
    if (!m_dispatch)
        throw Exception(tr("The fingerprint reader is not available.", "stREADERNOTAVAILABLE"));
    return *m_dispatch;
}

Variant TVelloxBSP::Call(std::u16string_view member, std::uint16_t flags, std::initializer_list<Variant> args) const
{
    Variant result;
    const HRESULT hr = CallByName(Object(), member, flags, args, &result);
    if (Failed(hr))
        throw Exception(tr("The fingerprint reader failed in %1 (%2).", "stREADERCALLFAILED")
                            .arg(FromWide(std::u16string(member)), QString::fromStdString(ResultText(hr))));
    return result;
}

Variant TVelloxBSP::Read(std::u16string_view member) const
{
    return Call(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
}

int TVelloxBSP::ReadInt(std::u16string_view member) const
{
    std::int32_t value = 0;
    if (Failed(Read(member).toInt32(&value)))
        throw Exception(tr("The fingerprint reader gave no number for %1.", "stREADERNONUMBER")
                            .arg(FromWide(std::u16string(member))));
    return value;
}

int TVelloxBSP::DeviceIdAt(int index) const
{
    std::int32_t id = 0;
    // An index the object rejects answers nothing, which reads as device 0 (no such reader).
    if (Failed(Call(u"DeviceID", DISPATCH_PROPERTYGET, {Variant(index)}).toInt32(&id)))
        return 0;
    return id;
}
