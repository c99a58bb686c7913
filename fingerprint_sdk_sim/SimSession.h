#pragma once

#include "SimErrors.h"
#include "SimSpool.h"
#include "SimTemplate.h"

#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

// One session of the simulated reader library: its settings, the reader it has open, the templates
// it holds by handle and the buffers it has lent to the caller. A session is used by one thread at a
// time; different sessions may run on different threads.
namespace trivsim {

enum class Purpose : std::uint16_t { Verify = 1, Identify = 2, Enroll = 3 };

struct HeldTemplate {
    Template fir;
    Purpose purpose = Purpose::Verify;
    int quality = 0; // of the poorest reading that went into it
};

class Session final {
public:
    explicit Session(Spool spool);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const TrivAPI_INIT_INFO& InitInfo() const { return m_initInfo; }
    Code SetInitInfo(const TrivAPI_INIT_INFO& info);

    const std::vector<DeviceId>& EnumerateDevices();
    Code OpenDevice(DeviceId device);
    Code CloseDevice(DeviceId device);
    // Whether `device` (or the automatic id) names the reader this session has open.
    Code CheckOpen(DeviceId device) const;
    TrivAPI_DEVICE_INFO& OpenDeviceInfo() { return m_deviceInfo; }

    // Wait for fingers on the open reader; timeout in ms or TRIVAPI_USE_DEFAULT_TIMEOUT.
    Code Capture(Purpose purpose, std::int32_t timeout, HeldTemplate& captured);
    Code Enroll(const Template* extended, std::optional<std::string> payload, std::int32_t timeout,
                HeldTemplate& enrolled);
    Code Verify(const Template& stored, std::int32_t timeout, bool& matched);
    bool Matches(const Template& captured, const Template& stored) const;
    // A template may hold no more fingers than MaxFingersForEnroll allows.
    bool FitsFingerLimit(const Template& fir) const;

    TrivAPI_FIR_HANDLE Hold(HeldTemplate held);
    const HeldTemplate* Held(TrivAPI_FIR_HANDLE handle) const;
    bool Release(TrivAPI_FIR_HANDLE handle);

    // A malloc'd copy handed to the caller; only buffers lent by this session are given back.
    char* Lend(std::string_view bytes);
    bool GiveBack(void* buffer);

private:
    struct Reading {
        Features features;
        int quality = 0;
    };
    Code TakeReading(int minimumQuality, std::int32_t timeout, const std::string& what, Reading& reading);
    int TimeoutMs(std::int32_t timeout) const;

    Spool m_spool;
    TrivAPI_INIT_INFO m_initInfo{};
    std::vector<DeviceId> m_devices;
    std::optional<DeviceId> m_openDevice;
    std::unique_ptr<DeviceLock> m_deviceLock;
    TrivAPI_DEVICE_INFO m_deviceInfo{};
    std::map<TrivAPI_FIR_HANDLE, HeldTemplate> m_held;
    TrivAPI_FIR_HANDLE m_nextHandle = 1;
    std::set<void*> m_lent;
    std::mt19937_64 m_random;
};

} // namespace trivsim
