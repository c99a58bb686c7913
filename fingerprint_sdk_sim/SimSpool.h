#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The simulated reader's "sensor": a directory where `trivane-sim` places fingers (one file per
// placement) and from which a capture takes the oldest one meant for its device. Files are written
// under a temporary name and renamed into place, and taken by renaming them away, so several
// processes and sessions can share one spool without a sample being read twice.
namespace trivsim {

using DeviceId = std::uint16_t;

constexpr int kDefaultQuality = 80;
constexpr int kDefaultHoldSeconds = 30;
constexpr int kDefaultCaptureTimeoutMs = 10000;
constexpr int kMaxCaptureTimeoutMs = 600000;
constexpr std::size_t kMaxFingerName = 100;

struct Placement {
    enum class Kind { Finger, Cancel };
    Kind kind = Kind::Finger;
    std::string finger;
    std::optional<DeviceId> device; // nothing: whichever reader captures first
    int quality = kDefaultQuality;
    std::int64_t liftedAtMs = 0; // wall-clock time (ms since the epoch) the finger leaves the sensor
};

// Settings of the simulated installation: the file "reader.conf" in the spool, each overridable
// by an environment variable.
struct ReaderConfig {
    std::vector<DeviceId> devices;
    int captureTimeoutMs = kDefaultCaptureTimeoutMs;
};

// A list like "1,2" or "1 2"; "none" or nothing is no reader. Nothing when an item is not a device
// id (1-65535 with a low byte other than 0 and 255).
std::optional<std::vector<DeviceId>> ParseDeviceList(const std::string& text);
std::string DeviceListText(const std::vector<DeviceId>& devices);
// Names are 1-100 characters without control characters.
bool IsValidFingerName(const std::string& name);
std::int64_t NowMs();

class Spool final {
public:
    // HORAVANT_SIM_SPOOL, else $XDG_RUNTIME_DIR/horavant-sim, else /tmp/horavant-sim-<uid>.
    static std::filesystem::path DefaultDirectory();

    explicit Spool(std::filesystem::path directory = DefaultDirectory());
    const std::filesystem::path& Directory() const { return m_directory; }

    // Creates the directory (private to the user) when missing.
    bool Prepare() const;

    ReaderConfig Config() const;
    // Writes one key of reader.conf ("devices", "capture-timeout"), keeping the others.
    bool WriteConfig(const std::string& key, const std::string& value) const;

    bool Place(const Placement& placement) const;
    // The oldest placement for this device, removed from the spool; lifted fingers are dropped.
    std::optional<Placement> Take(DeviceId device) const;
    std::vector<Placement> Pending() const;
    std::size_t Clear() const;

    std::filesystem::path LockFile(DeviceId device) const;

private:
    std::vector<std::filesystem::path> SampleFiles() const;

    std::filesystem::path m_directory;
};

// While it lives, a file in the spool tells `trivane-sim status` that a reader waits for a finger.
class WaitingMarker final {
public:
    WaitingMarker(const Spool& spool, DeviceId device, const std::string& what, std::int64_t deadlineMs);
    ~WaitingMarker();
    WaitingMarker(const WaitingMarker&) = delete;
    WaitingMarker& operator=(const WaitingMarker&) = delete;

private:
    std::filesystem::path m_file;
};

struct Waiting {
    int pid = 0;
    std::string description;
};
// The readers waiting right now (markers of ended processes are skipped).
std::vector<Waiting> WaitingReaders(const Spool& spool);

// Exclusive use of one reader across sessions and processes; released with the object or the process.
class DeviceLock final {
public:
    DeviceLock(const Spool& spool, DeviceId device);
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace trivsim
