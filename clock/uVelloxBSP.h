#pragma once

#include "uExceptions.h"

#include <ComRuntime.h>

#include <QObject>
#include <QStringList>

#include <initializer_list>
#include <string_view>

// One name per connected reader, in the reader library's order.
using TDeviceArray = QStringList;

// A failure the reader reported, with the reader's error code.
class EVelloxError final : public Exception {
public:
    EVelloxError(QString message, int code) : Exception(std::move(message)), m_code(code) {}
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};

// The program's fingerprint reader: the "TrivaneCOM.APIInterface" automation object, called late
// bound by member name, its call-then-read-ErrorCode style turned into results and exceptions. It
// remembers the open device and names the connected readers. Each instance owns its own object (and
// so its own reader library session) and is used by one thread at a time.
class TVelloxBSP final : public QObject {
    Q_OBJECT

public:
    // Reader library codes the program interprets.
    static constexpr int NoFingerprintTaken = 513;
    static constexpr int CaptureTimeout = 515;

    // Never fails: when the object cannot be created the wrapper exists with no devices.
    explicit TVelloxBSP(QObject* owner = nullptr);
    // Closes the open device (a failure to close is ignored), then releases the object.
    ~TVelloxBSP() override;

    // Device id of the open device; -1 when none is open.
    int OpenDeviceId() const { return m_openDeviceId; }
    // Readers found at creation; 0 when the object could not be created.
    int DeviceCount() const { return m_deviceCount; }
    const TDeviceArray& Devices() const { return m_devices; }
    quint16 WindowStyle() const { return m_windowStyle; }
    // The object's ErrorCode after the last capture failure, enrolment or verification.
    int LastError() const { return m_lastError; }
    // The automation object; null when it could not be created.
    automation::IDispatch* Dispatch() const { return m_dispatch.get(); }

    // Raises EVelloxError "Error opening the device" with the reader's code.
    void OpenDevice(int index);
    // Nothing while no device is open; raises EVelloxError "Error closing the device".
    void CloseDevice();
    void SetWindowStyle(quint16 style);
    // Does nothing without the object: the skin only matters to a reader's capture window.
    void SetSkinResource(const QString& fileName);
    // The captured template text, or empty when the capture failed (LastError then says why).
    QString Capture();
    // The enrolled template text; empty when no fingerprint was taken (code 513). Other failures
    // raise EVelloxError "Error during enrollment process".
    QString Enroll(const QString& payload);
    // Captures a finger and compares it with the stored template; false on any failure.
    bool Verify(const QString& stored);
    // Compares two template texts without a capture; on a match *payload (when given) receives the
    // stored template's payload. Empty texts never match.
    bool Match(const QString& captured, const QString& stored, QString* payload = nullptr);

    // "QMA71_<id - 2>" for an even device id, "QMB71_<id - 1>" for an odd one.
    static QString DeviceName(int deviceId);

private:
    automation::IDispatch& Object() const;
    automation::Variant Call(std::u16string_view member, std::uint16_t flags,
                             std::initializer_list<automation::Variant> args = {}) const;
    // A method read for its value: no arguments, invoked as method and property get.
    automation::Variant Read(std::u16string_view member) const;
    int ReadInt(std::u16string_view member) const;
    int ErrorCode() const { return ReadInt(u"ErrorCode"); }
    int DeviceIdAt(int index) const;
    void ListDevices();

    automation::ComPtr<automation::IDispatch> m_dispatch;
    int m_openDeviceId = -1;
    int m_deviceCount = 0;
    TDeviceArray m_devices;
    quint16 m_windowStyle = 0;
    int m_lastError = 0;
};
