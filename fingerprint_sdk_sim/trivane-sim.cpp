// trivane-sim: drives the simulated fingerprint reader (libTrivane.so) from the command line.
// A person trying the program, or a test, "places" fingers here; the reader library takes them
// from the spool while it waits for a finger.
#include "SimSpool.h"
#include "SimTemplate.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace trivsim;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = R"(Usage: trivane-sim [--spool DIR] COMMAND [ARGUMENTS]

Drives the SIMULATED fingerprint reader (a stand-in for real hardware).

Commands:
  place FINGER... [--device ID] [--quality 0-100] [--hold SECONDS] [--times N]
        put FINGER on the reader; each capture takes one placement (oldest first).
        Default quality 80; the finger stays for 30 s unless taken.
  cancel [--device ID]
        press Cancel in the reader's window: the waiting capture ends with code 513
  clear                      remove every placement not taken yet
  status                     readers, placements and waiting captures
  config                     show the settings
  config devices LIST        attached readers, e.g. "1,2", or "none"
  config capture-timeout MS  default capture time-out of new sessions
  template FINGER... [--payload TEXT]
        print the template an enrolment of each finger would store, one per line
  help                       this text

The spool is --spool DIR, else $HORAVANT_SIM_SPOOL, else $XDG_RUNTIME_DIR/horavant-sim,
else /tmp/horavant-sim-$UID. $HORAVANT_SIM_DEVICES and $HORAVANT_SIM_CAPTURE_TIMEOUT
override the settings.
)";

struct Arguments {
    std::vector<std::string> words;
    std::map<std::string, std::string> options;
};

// Options take one value each; everything else is a word.
std::optional<Arguments> ParseArguments(int argc, char** argv)
{
    Arguments parsed;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("--")) {
            if (i + 1 >= argc)
                return std::nullopt;
            parsed.options[arg.substr(2)] = argv[++i];
        } else {
            parsed.words.push_back(arg);
        }
    }
    return parsed;
}

std::optional<long> ParseBounded(const std::string& text, long min, long max)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<long> IntegerOption(const Arguments& args, const std::string& name, long fallback, long min, long max)
{
    const auto found = args.options.find(name);
    return found == args.options.end() ? fallback : ParseBounded(found->second, min, max);
}

int UsageError(const std::string& message)
{
    std::cerr << "trivane-sim: " << message << "\n(see trivane-sim help)\n";
    return kExitUsage;
}

int Failure(const Spool& spool)
{
    std::cerr << "trivane-sim: cannot write to the spool " << spool.Directory() << '\n';
    return kExitFailure;
}

// False when --device is given but is no device id.
bool ReadDeviceOption(const Arguments& args, std::optional<DeviceId>& device)
{
    device.reset();
    if (!args.options.contains("device"))
        return true;
    const auto id = IntegerOption(args, "device", 0, 1, 0xFFFF);
    if (id)
        device = static_cast<DeviceId>(*id);
    return id.has_value();
}

bool OnlyOptions(const Arguments& args, const std::vector<std::string>& allowed)
{
    for (const auto& [name, value] : args.options)
        if (name != "spool" && std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            return false;
    return true;
}

int Place(const Spool& spool, const Arguments& args)
{
    const std::vector<std::string> fingers(args.words.begin() + 1, args.words.end());
    std::optional<DeviceId> device;
    const bool deviceValid = ReadDeviceOption(args, device);
    const auto quality = IntegerOption(args, "quality", kDefaultQuality, 0, 100);
    const auto hold = IntegerOption(args, "hold", kDefaultHoldSeconds, 1, 86400);
    const auto times = IntegerOption(args, "times", 1, 1, 1000);
    if (fingers.empty() || !deviceValid || !quality || !hold || !times
        || !OnlyOptions(args, {"device", "quality", "hold", "times"}))
        return UsageError("place FINGER... [--device ID] [--quality 0-100] [--hold SECONDS] [--times N]");
    for (const auto& finger : fingers)
        if (!IsValidFingerName(finger))
            return UsageError("a finger name has 1 to 100 characters and no control characters: " + finger);

    Placement placement;
    placement.device = device;
    placement.quality = static_cast<int>(*quality);
    placement.liftedAtMs = NowMs() + *hold * 1000;
    for (const auto& finger : fingers) {
        placement.finger = finger;
        for (long i = 0; i < *times; ++i)
            if (!spool.Place(placement))
                return Failure(spool);
    }
    return 0;
}

int Cancel(const Spool& spool, const Arguments& args)
{
    std::optional<DeviceId> device;
    if (args.words.size() != 1 || !ReadDeviceOption(args, device) || !OnlyOptions(args, {"device"}))
        return UsageError("cancel [--device ID]");
    Placement placement;
    placement.kind = Placement::Kind::Cancel;
    placement.device = device;
    placement.liftedAtMs = NowMs() + kDefaultHoldSeconds * 1000;
    return spool.Place(placement) ? 0 : Failure(spool);
}

int Clear(const Spool& spool, const Arguments& args)
{
    if (args.words.size() != 1 || !OnlyOptions(args, {}))
        return UsageError("clear takes no arguments");
    std::cout << "removed " << spool.Clear() << " placement(s)\n";
    return 0;
}

void PrintConfig(const Spool& spool)
{
    const auto config = spool.Config();
    std::cout << "spool: " << spool.Directory().string() << '\n'
              << "devices: " << DeviceListText(config.devices) << '\n'
              << "capture-timeout: " << config.captureTimeoutMs << " ms\n";
}

int Status(const Spool& spool, const Arguments& args)
{
    if (args.words.size() != 1 || !OnlyOptions(args, {}))
        return UsageError("status takes no arguments");
    PrintConfig(spool);
    const auto pending = spool.Pending();
    std::cout << "placements waiting to be taken: " << pending.size() << '\n';
    for (const auto& placement : pending) {
        const auto where = placement.device ? "device " + std::to_string(*placement.device) : "any device";
        if (placement.kind == Placement::Kind::Cancel)
            std::cout << "  cancel on " << where << '\n';
        else
            std::cout << "  " << placement.finger << " on " << where << ", quality " << placement.quality
                      << ", lifted in " << (placement.liftedAtMs - NowMs()) / 1000 << " s\n";
    }
    const auto waiting = WaitingReaders(spool);
    std::cout << "readers waiting for a finger: " << waiting.size() << '\n';
    for (const auto& reader : waiting)
        std::cout << "  " << reader.description << " (process " << reader.pid << ")\n";
    return 0;
}

int Config(const Spool& spool, const Arguments& args)
{
    if (!OnlyOptions(args, {}))
        return UsageError("config takes no options");
    if (args.words.size() == 1) {
        PrintConfig(spool);
        return 0;
    }
    if (args.words.size() != 3)
        return UsageError("config [devices LIST | capture-timeout MS]");
    const auto& key = args.words[1];
    const auto& value = args.words[2];
    if (key == "devices") {
        const auto devices = ParseDeviceList(value);
        if (!devices)
            return UsageError("device ids are 1-65535 and their low byte is neither 0 nor 255: " + value);
        return spool.WriteConfig(key, DeviceListText(*devices)) ? 0 : Failure(spool);
    }
    if (key == "capture-timeout") {
        const auto ms = ParseBounded(value, 0, kMaxCaptureTimeoutMs);
        if (!ms)
            return UsageError("capture-timeout is 0 to " + std::to_string(kMaxCaptureTimeoutMs) + " ms");
        return spool.WriteConfig(key, std::to_string(*ms)) ? 0 : Failure(spool);
    }
    return UsageError("unknown setting " + key);
}

int PrintTemplates(const Arguments& args)
{
    const auto payload = args.options.contains("payload") ? args.options.at("payload") : std::string();
    if (args.words.size() < 2 || !OnlyOptions(args, {"payload"}))
        return UsageError("template FINGER... [--payload TEXT]");
    if (payload.size() > kMaxPayload)
        return UsageError("a payload has at most " + std::to_string(kMaxPayload) + " characters");
    for (auto finger = args.words.begin() + 1; finger != args.words.end(); ++finger) {
        if (!IsValidFingerName(*finger))
            return UsageError("a finger name has 1 to 100 characters and no control characters: " + *finger);
        std::cout << TemplateToText(IdealTemplate(*finger, payload)) << '\n';
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const auto args = ParseArguments(argc, argv);
    if (!args)
        return UsageError("an option lacks its value");
    if (args->words.empty() || args->words.front() == "help") {
        std::cout << kUsage;
        return args->words.empty() ? kExitUsage : 0;
    }
    const Spool spool(args->options.contains("spool") ? std::filesystem::path(args->options.at("spool"))
                                                      : Spool::DefaultDirectory());
    const auto& command = args->words.front();
    if (command == "place")
        return Place(spool, *args);
    if (command == "cancel")
        return Cancel(spool, *args);
    if (command == "clear")
        return Clear(spool, *args);
    if (command == "status")
        return Status(spool, *args);
    if (command == "config")
        return Config(spool, *args);
    if (command == "template")
        return PrintTemplates(*args);
    return UsageError("unknown command " + command);
}
