#include "SimSession.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace trivsim {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);
constexpr std::uint32_t kDefaultMaxFingers = kMaxFingers;
constexpr std::uint32_t kDefaultSamplesPerFinger = 2;
constexpr std::uint32_t kMaxSamplesPerFinger = 5;
constexpr std::uint32_t kDefaultEnrollQuality = 50;
constexpr std::uint32_t kDefaultVerifyQuality = 30;
constexpr std::uint32_t kDefaultIdentifyQuality = 50;
constexpr std::uint32_t kDefaultSecurityLevel = 5;
const TrivAPI_DEVICE_INFO kDefaultDeviceInfo{0, 248, 292, 50, 50, 100};

bool IsQuality(std::uint32_t value) { return value <= 100; }

bool Contains(const std::vector<DeviceId>& devices, DeviceId device)
{
    return std::find(devices.begin(), devices.end(), device) != devices.end();
}

} // namespace

Session::Session(Spool spool) : m_spool(std::move(spool)), m_random(std::random_device{}())
{
    m_initInfo.structureType = 0;
    m_initInfo.maxFingersForEnroll = kDefaultMaxFingers;
    m_initInfo.samplesPerFinger = kDefaultSamplesPerFinger;
    m_initInfo.captureTimeout = static_cast<std::uint32_t>(m_spool.Config().captureTimeoutMs);
    m_initInfo.enrollImageQuality = kDefaultEnrollQuality;
    m_initInfo.verifyImageQuality = kDefaultVerifyQuality;
    m_initInfo.identifyImageQuality = kDefaultIdentifyQuality;
    m_initInfo.securityLevel = kDefaultSecurityLevel;
}

Session::~Session()
{
    for (void* buffer : m_lent)
        std::free(buffer);
}

Code Session::SetInitInfo(const TrivAPI_INIT_INFO& info)
{
    const bool valid = info.structureType == 0 && info.maxFingersForEnroll >= 1
                       && info.maxFingersForEnroll <= kMaxFingers && info.samplesPerFinger >= 1
                       && info.samplesPerFinger <= kMaxSamplesPerFinger
                       && info.captureTimeout <= static_cast<std::uint32_t>(kMaxCaptureTimeoutMs)
                       && IsQuality(info.enrollImageQuality) && IsQuality(info.verifyImageQuality)
                       && IsQuality(info.identifyImageQuality) && info.securityLevel >= kMinSecurityLevel
                       && info.securityLevel <= kMaxSecurityLevel;
    if (!valid)
        return InvalidParameter;
    m_initInfo = info;
    return Ok;
}

const std::vector<DeviceId>& Session::EnumerateDevices()
{
    m_devices = m_spool.Config().devices;
    return m_devices;
}

Code Session::OpenDevice(DeviceId device)
{
    const auto connected = m_spool.Config().devices;
    if (device == TRIVAPI_DEVICE_AUTO && !connected.empty())
        device = connected.front();
    if (!Contains(connected, device))
        return UnknownDevice;
    if (m_openDevice)
        return DeviceAlreadyOpen;
    if (!m_spool.Prepare())
        return SpoolUnavailable;
    auto lock = std::make_unique<DeviceLock>(m_spool, device);
    if (!lock->Held())
        return DeviceBusy;
    m_deviceLock = std::move(lock);
    m_openDevice = device;
    m_deviceInfo = kDefaultDeviceInfo;
    return Ok;
}

Code Session::CloseDevice(DeviceId device)
{
    if (device != TRIVAPI_DEVICE_AUTO && device != m_openDevice && !Contains(m_spool.Config().devices, device))
        return UnknownDevice;
    if (const Code open = CheckOpen(device); open != Ok)
        return open;
    m_deviceLock.reset();
    m_openDevice.reset();
    return Ok;
}

Code Session::CheckOpen(DeviceId device) const
{
    const bool named = device == TRIVAPI_DEVICE_AUTO || device == m_openDevice;
    return m_openDevice && named ? Ok : DeviceNotOpen;
}

int Session::TimeoutMs(std::int32_t timeout) const
{
    return timeout < 0 ? static_cast<int>(m_initInfo.captureTimeout) : timeout;
}

Code Session::TakeReading(int minimumQuality, std::int32_t timeout, const std::string& what, Reading& reading)
{
    if (!m_openDevice)
        return DeviceNotOpen;
    const auto deadline = NowMs() + TimeoutMs(timeout);
    WaitingMarker marker(m_spool, *m_openDevice, what, deadline);
    for (;;) {
        if (const auto placement = m_spool.Take(*m_openDevice)) {
            if (placement->kind == Placement::Kind::Cancel)
                return UserCancel;
            // A reading below the required quality is refused, as a reader asks to place again.
            if (placement->quality >= minimumQuality) {
                reading.features = ReadFinger(FeaturesOfFinger(placement->finger), placement->quality, m_random);
                reading.quality = placement->quality;
                return Ok;
            }
            continue;
        }
        if (NowMs() >= deadline)
            return CaptureTimeout;
        std::this_thread::sleep_for(kPollInterval);
    }
}

Code Session::Capture(Purpose purpose, std::int32_t timeout, HeldTemplate& captured)
{
    const std::uint32_t minimum = purpose == Purpose::Enroll     ? m_initInfo.enrollImageQuality
                                  : purpose == Purpose::Identify ? m_initInfo.identifyImageQuality
                                                                 : m_initInfo.verifyImageQuality;
    Reading reading;
    if (const Code code = TakeReading(static_cast<int>(minimum), timeout, "capture", reading); code != Ok)
        return code;
    captured.fir = Template{};
    captured.fir.fingers.push_back(reading.features);
    captured.purpose = purpose;
    captured.quality = reading.quality;
    return Ok;
}

Code Session::Enroll(const Template* extended, std::optional<std::string> payload, std::int32_t timeout,
                     HeldTemplate& enrolled)
{
    Template fir = extended ? *extended : Template{};
    fir.fingers.emplace_back();
    if (!FitsFingerLimit(fir))
        return TooManyFingers;

    const auto samples = m_initInfo.samplesPerFinger;
    std::vector<Features> readings;
    int poorest = 100;
    for (std::uint32_t i = 1; i <= samples; ++i) {
        Reading reading;
        const auto what = "enrolment, sample " + std::to_string(i) + " of " + std::to_string(samples);
        const Code code = TakeReading(static_cast<int>(m_initInfo.enrollImageQuality), timeout, what, reading);
        // An enrolment nobody completes ends like a cancelled one: nothing taken, nothing to report.
        if (code == CaptureTimeout)
            return UserCancel;
        if (code != Ok)
            return code;
        if (!readings.empty() && Similarity(readings.front(), reading.features) < MatchThreshold(static_cast<int>(m_initInfo.securityLevel)))
            return EnrollSamplesDiffer;
        readings.push_back(reading.features);
        poorest = std::min(poorest, reading.quality);
    }
    fir.fingers.back() = MeanOf(readings);
    if (payload)
        fir.payload = std::move(*payload);
    enrolled = {std::move(fir), Purpose::Enroll, poorest};
    return Ok;
}

Code Session::Verify(const Template& stored, std::int32_t timeout, bool& matched)
{
    matched = false;
    Reading reading;
    const Code code = TakeReading(static_cast<int>(m_initInfo.verifyImageQuality), timeout, "verification", reading);
    if (code != Ok)
        return code;
    Template captured;
    captured.fingers.push_back(reading.features);
    matched = Matches(captured, stored);
    return Ok;
}

bool Session::Matches(const Template& captured, const Template& stored) const
{
    return BestSimilarity(captured, stored) >= MatchThreshold(static_cast<int>(m_initInfo.securityLevel));
}

bool Session::FitsFingerLimit(const Template& fir) const
{
    return fir.fingers.size() <= m_initInfo.maxFingersForEnroll;
}

TrivAPI_FIR_HANDLE Session::Hold(HeldTemplate held)
{
    const auto handle = m_nextHandle++;
    if (m_nextHandle == 0)
        m_nextHandle = 1;
    m_held[handle] = std::move(held);
    return handle;
}

const HeldTemplate* Session::Held(TrivAPI_FIR_HANDLE handle) const
{
    const auto found = m_held.find(handle);
    return found == m_held.end() ? nullptr : &found->second;
}

bool Session::Release(TrivAPI_FIR_HANDLE handle)
{
    return m_held.erase(handle) == 1;
}

char* Session::Lend(std::string_view bytes)
{
    auto* buffer = static_cast<char*>(std::malloc(bytes.size() + 1));
    if (!buffer)
        return nullptr;
    std::memcpy(buffer, bytes.data(), bytes.size());
    buffer[bytes.size()] = '\0';
    m_lent.insert(buffer);
    return buffer;
}

bool Session::GiveBack(void* buffer)
{
    if (m_lent.erase(buffer) == 0)
        return false;
    std::free(buffer);
    return true;
}

} // namespace trivsim
