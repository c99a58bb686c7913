#include "SimSpool.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace trivsim {

namespace {

constexpr std::string_view kSamplePrefix = "sample-";
constexpr std::string_view kSampleSuffix = ".smp";
constexpr std::string_view kWaitingPrefix = "waiting-";
constexpr const char* kConfigFile = "reader.conf";
const std::vector<DeviceId> kDefaultDevices{2};

std::atomic<unsigned> g_sequence{0};

// A name no other writer in this or another process can produce at the same time.
std::string UniqueSuffix()
{
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::system_clock::now().time_since_epoch())
                        .count();
    char text[64];
    std::snprintf(text, sizeof text, "%020lld-%d-%u", static_cast<long long>(ns), static_cast<int>(getpid()),
                  g_sequence.fetch_add(1));
    return text;
}

std::optional<long long> ParseInteger(std::string_view text)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::map<std::string, std::string> ReadKeyValues(const fs::path& file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos && !line.starts_with('#'))
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

// Written under a temporary name and renamed, so readers never see half a file.
bool WriteFileAtomically(const fs::path& file, const std::string& content)
{
    const fs::path temporary = file.parent_path() / (".tmp-" + UniqueSuffix());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << content;
        if (!out.flush())
            return false;
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    if (error)
        fs::remove(temporary, error);
    return !error;
}

std::string PlacementText(const Placement& placement)
{
    std::ostringstream out;
    out << "kind=" << (placement.kind == Placement::Kind::Cancel ? "cancel" : "finger") << '\n'
        << "finger=" << placement.finger << '\n'
        << "device=" << (placement.device ? std::to_string(*placement.device) : "any") << '\n'
        << "quality=" << placement.quality << '\n'
        << "lifted=" << placement.liftedAtMs << '\n';
    return out.str();
}

std::optional<Placement> PlacementFromFile(const fs::path& file)
{
    auto values = ReadKeyValues(file);
    Placement placement;
    placement.kind = values["kind"] == "cancel" ? Placement::Kind::Cancel : Placement::Kind::Finger;
    placement.finger = values["finger"];
    const auto quality = ParseInteger(values["quality"]);
    const auto lifted = ParseInteger(values["lifted"]);
    if (!quality || !lifted || (placement.kind == Placement::Kind::Finger && !IsValidFingerName(placement.finger)))
        return std::nullopt;
    placement.quality = static_cast<int>(*quality);
    placement.liftedAtMs = *lifted;
    if (values["device"] != "any") {
        const auto device = ParseInteger(values["device"]);
        if (!device || *device < 0 || *device > 0xFFFF)
            return std::nullopt;
        placement.device = static_cast<DeviceId>(*device);
    }
    return placement;
}

bool IsValidDeviceId(long long id)
{
    return id > 0 && id <= 0xFFFF && (id & 0xFF) != 0 && (id & 0xFF) != 0xFF;
}

} // namespace

std::optional<std::vector<DeviceId>> ParseDeviceList(const std::string& text)
{
    std::string items = text;
    std::replace(items.begin(), items.end(), ',', ' ');
    std::istringstream in(items);
    std::vector<DeviceId> devices;
    std::string item;
    while (in >> item) {
        if (item == "none")
            continue;
        const auto id = ParseInteger(item);
        if (!id || !IsValidDeviceId(*id))
            return std::nullopt;
        devices.push_back(static_cast<DeviceId>(*id));
    }
    return devices;
}

std::string DeviceListText(const std::vector<DeviceId>& devices)
{
    std::string text;
    for (const auto id : devices)
        text += (text.empty() ? "" : ",") + std::to_string(id);
    return text.empty() ? "none" : text;
}

bool IsValidFingerName(const std::string& name)
{
    return !name.empty() && name.size() <= kMaxFingerName
           && std::none_of(name.begin(), name.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

std::int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

fs::path Spool::DefaultDirectory()
{
    if (const char* spool = std::getenv("HORAVANT_SIM_SPOOL"); spool && *spool)
        return spool;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return fs::path(runtime) / "horavant-sim";
    return fs::path("/tmp") / ("horavant-sim-" + std::to_string(getuid()));
}

Spool::Spool(fs::path directory) : m_directory(std::move(directory)) {}

bool Spool::Prepare() const
{
    std::error_code error;
    if (fs::is_directory(m_directory, error))
        return true;
    fs::create_directories(m_directory, error);
    if (error)
        return false;
    fs::permissions(m_directory, fs::perms::owner_all, error);
    return true;
}

ReaderConfig Spool::Config() const
{
    auto values = ReadKeyValues(m_directory / kConfigFile);
    if (const char* devices = std::getenv("HORAVANT_SIM_DEVICES"))
        values["devices"] = devices;
    if (const char* timeout = std::getenv("HORAVANT_SIM_CAPTURE_TIMEOUT"))
        values["capture-timeout"] = timeout;

    ReaderConfig config;
    const auto devices = values.contains("devices") ? ParseDeviceList(values["devices"]) : std::nullopt;
    config.devices = devices.value_or(kDefaultDevices);
    const auto timeout = ParseInteger(values["capture-timeout"]);
    if (timeout && *timeout >= 0 && *timeout <= kMaxCaptureTimeoutMs)
        config.captureTimeoutMs = static_cast<int>(*timeout);
    return config;
}

bool Spool::WriteConfig(const std::string& key, const std::string& value) const
{
    if (!Prepare())
        return false;
    auto values = ReadKeyValues(m_directory / kConfigFile);
    values[key] = value;
    std::string content;
    for (const auto& [k, v] : values)
        content += k + '=' + v + '\n';
    return WriteFileAtomically(m_directory / kConfigFile, content);
}

bool Spool::Place(const Placement& placement) const
{
    const auto name = std::string(kSamplePrefix) + UniqueSuffix() + std::string(kSampleSuffix);
    return Prepare() && WriteFileAtomically(m_directory / name, PlacementText(placement));
}

std::vector<fs::path> Spool::SampleFiles() const
{
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(m_directory, error)) {
        const auto name = entry.path().filename().string();
        if (name.starts_with(kSamplePrefix) && name.ends_with(kSampleSuffix))
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end()); // names start with the time of placement
    return files;
}

std::optional<Placement> Spool::Take(DeviceId device) const
{
    const auto now = NowMs();
    for (const auto& file : SampleFiles()) {
        const auto placement = PlacementFromFile(file);
        std::error_code error;
        if (!placement || placement->liftedAtMs <= now) {
            fs::remove(file, error);
            continue;
        }
        if (placement->device && *placement->device != device)
            continue;
        // Whoever renames the file first has taken it.
        const fs::path taken = file.string() + ".taken-" + UniqueSuffix();
        fs::rename(file, taken, error);
        if (error)
            continue;
        fs::remove(taken, error);
        return placement;
    }
    return std::nullopt;
}

std::vector<Placement> Spool::Pending() const
{
    std::vector<Placement> pending;
    const auto now = NowMs();
    for (const auto& file : SampleFiles())
        if (auto placement = PlacementFromFile(file); placement && placement->liftedAtMs > now)
            pending.push_back(std::move(*placement));
    return pending;
}

std::size_t Spool::Clear() const
{
    std::size_t removed = 0;
    for (const auto& file : SampleFiles()) {
        std::error_code error;
        removed += fs::remove(file, error) ? 1 : 0;
    }
    return removed;
}

fs::path Spool::LockFile(DeviceId device) const
{
    return m_directory / ("device-" + std::to_string(device) + ".lock");
}

WaitingMarker::WaitingMarker(const Spool& spool, DeviceId device, const std::string& what, std::int64_t deadlineMs)
    : m_file(spool.Directory() / (std::string(kWaitingPrefix) + UniqueSuffix()))
{
    std::ostringstream text;
    text << "pid=" << getpid() << '\n'
         << "description=device " << device << ": " << what << ", waits "
         << std::max<std::int64_t>(0, deadlineMs - NowMs()) << " ms for a finger\n";
    if (!WriteFileAtomically(m_file, text.str()))
        m_file.clear();
}

WaitingMarker::~WaitingMarker()
{
    std::error_code error;
    if (!m_file.empty())
        fs::remove(m_file, error);
}

std::vector<Waiting> WaitingReaders(const Spool& spool)
{
    std::vector<Waiting> waiting;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(spool.Directory(), error)) {
        if (!entry.path().filename().string().starts_with(kWaitingPrefix))
            continue;
        auto values = ReadKeyValues(entry.path());
        const auto pid = ParseInteger(values["pid"]);
        if (pid && (kill(static_cast<pid_t>(*pid), 0) == 0 || errno == EPERM))
            waiting.push_back({static_cast<int>(*pid), values["description"]});
    }
    return waiting;
}

DeviceLock::DeviceLock(const Spool& spool, DeviceId device)
{
    m_fd = open(spool.LockFile(device).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        close(m_fd);
        m_fd = -1;
    }
}

DeviceLock::~DeviceLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

} // namespace trivsim
