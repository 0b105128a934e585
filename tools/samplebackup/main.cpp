// quorva-sample-backup: writes realistic backup folders for the demo, tests and benchmarks.
#include "SampleBackup.h"
#include "model/Iso8601.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace quorva;
using namespace quorva::samples;

constexpr const char* kUsage = R"(usage: quorva-sample-backup OUTPUT [options]

Writes a realistic backup folder (or, with --devices, a folder of backups) whose Messages
database holds a lifelike mix of family texts and risky messages.

  --messages N           incoming messages per backup (default 200); a quarter as many
                         outgoing ones are added
  --candidate-share F    share of incoming messages that are risky, 0 to 1 (default 0.05)
  --seed S               seed for the mix; the same seed writes the same messages (default 1)
  --texts FILE           the incoming messages are the lines of FILE instead of the mix,
                         the first line newest, a minute apart
  --now ISO8601          the moment of the backup, e.g. 2026-03-01T08:15:30Z (default: now)
  --encrypted            mark the backup encrypted
  --flat                 store files directly in the backup folder, as older backups do
  --xml-plists           write all property lists as XML
  --binary-plists        write all property lists in the binary encoding
                         (default: Info.plist XML, the others binary, as devices do)
  --wal                  leave the Messages database in write-ahead-log journal mode
  --seconds-dates        store message dates in seconds, as very old devices did
  --devices K            write K backups of different devices as subfolders of OUTPUT
  --names A,B,...        the devices' names, in order (default: Maya's iPhone, Noah’s iPhone, …)
  --help                 show this text
)";

struct Options {
    std::string output;
    int messages = 200;
    double candidateShare = 0.05;
    uint32_t seed = 1;
    std::optional<std::string> textsFile;
    Instant now = Instant::now();
    bool encrypted = false, flat = false, wal = false, secondsDates = false;
    std::optional<PlistFormat> plistFormat;
    int devices = 0;
    std::vector<std::string> names;
};

struct UsageError {
    std::string message;
};

template <typename T> T parseNumber(std::string_view option, std::string_view text, T low, T high)
{
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !(value >= low && value <= high))
        throw UsageError{std::string(option) + " needs a number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + std::string(text) + "\""};
    return value;
}

Options parse(const std::vector<std::string_view>& args)
{
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const auto value = [&]() -> std::string_view {
            if (i + 1 >= args.size())
                throw UsageError{std::string(arg) + " needs a value"};
            return args[++i];
        };
        if (arg == "--messages") {
            options.messages = parseNumber<int>(arg, value(), 0, 1000000);
        } else if (arg == "--candidate-share") {
            options.candidateShare = parseNumber<double>(arg, value(), 0.0, 1.0);
        } else if (arg == "--seed") {
            options.seed = parseNumber<uint32_t>(arg, value(), 0, UINT32_MAX);
        } else if (arg == "--devices") {
            options.devices = parseNumber<int>(arg, value(), 1, 50);
        } else if (arg == "--names") {
            const std::string_view list = value();
            for (size_t start = 0; start <= list.size();) {
                const size_t comma = std::min(list.find(',', start), list.size());
                options.names.emplace_back(list.substr(start, comma - start));
                start = comma + 1;
            }
        } else if (arg == "--now") {
            const std::string_view text = value();
            auto instant = parseInternetDateTime(text, FractionalSeconds::forbidden);
            if (!instant)
                instant = parseInternetDateTime(text, FractionalSeconds::required);
            if (!instant)
                throw UsageError{"--now needs an ISO-8601 date-time such as 2026-03-01T08:15:30Z"};
            options.now = *instant;
        } else if (arg == "--texts") {
            options.textsFile = value();
        } else if (arg == "--encrypted") {
            options.encrypted = true;
        } else if (arg == "--flat") {
            options.flat = true;
        } else if (arg == "--wal") {
            options.wal = true;
        } else if (arg == "--seconds-dates") {
            options.secondsDates = true;
        } else if (arg == "--xml-plists" || arg == "--binary-plists") {
            const PlistFormat format = arg == "--xml-plists" ? PlistFormat::xml : PlistFormat::binary;
            if (options.plistFormat && *options.plistFormat != format)
                throw UsageError{"--xml-plists and --binary-plists exclude each other"};
            options.plistFormat = format;
        } else if (arg.starts_with("-")) {
            throw UsageError{"unknown option " + std::string(arg)};
        } else if (options.output.empty()) {
            options.output = arg;
        } else {
            throw UsageError{"only one OUTPUT folder, not also \"" + std::string(arg) + "\""};
        }
    }
    if (options.output.empty())
        throw UsageError{"OUTPUT folder missing"};
    return options;
}

struct Device {
    std::string name;
    std::string productType;
};

constexpr Device kDevices[] = {{"Maya's iPhone", "iPhone14,5"},
                               {"Noah’s iPhone", "iPhone15,2"},
                               {"Léa's iPhone", "iPhone12,1"},
                               {"Sam's iPhone SE", "iPhone14,6"},
                               {"Kid iPhone", "iPhone16,1"}};

std::string deviceUdid(int index)
{
    if (index == 0)
        return SampleBackupPlan{}.udid;
    char udid[32];
    std::snprintf(udid, sizeof udid, "00008%03X-%016llX", 0x100 + index * 0x10,
                  0x001A2B3C4D5E801EULL + 0x10101ULL * static_cast<unsigned long long>(index));
    return udid;
}

// Measurements over a fixed set of texts: one incoming message per non-empty line.
std::vector<SampleMessage> messagesFromFile(const std::string& file, Instant now)
{
    std::ifstream in(file);
    if (!in)
        throw std::runtime_error("cannot read " + file);
    std::vector<SampleMessage> messages;
    for (std::string line; std::getline(in, line);) {
        if (line.empty())
            continue;
        SampleMessage& message = messages.emplace_back();
        message.text = line;
        message.sender = "+15550100";
        message.date = Instant{now.unixSeconds - 60.0 * static_cast<double>(messages.size())};
    }
    return messages;
}

SampleBackupPlan specFor(const Options& options, int device)
{
    // Each further device was backed up a day and a bit earlier than the one before.
    const Instant when{options.now.unixSeconds - device * 93600.0};
    SampleBackupPlan plan = realisticBackup(when, options.messages, options.candidateShare,
                                            options.seed + static_cast<uint32_t>(device));
    if (options.textsFile)
        plan.messages = messagesFromFile(*options.textsFile, when);
    const Device& kind = kDevices[device % std::size(kDevices)];
    plan.udid = deviceUdid(device);
    const std::string name = device < static_cast<int>(std::size(kDevices))
                                 ? kind.name
                                 : kind.name + " (" + std::to_string(device + 1) + ")";
    plan.displayName = plan.deviceName = device < static_cast<int>(options.names.size())
                                             ? options.names[static_cast<std::size_t>(device)]
                                             : name;
    plan.productType = kind.productType;
    plan.encrypted = options.encrypted;
    plan.walMode = options.wal;
    plan.location = options.flat ? MessagesLocation::flat : MessagesLocation::hashed;
    if (options.plistFormat)
        plan.infoFormat = plan.statusFormat = plan.manifestFormat = *options.plistFormat;
    if (options.secondsDates)
        for (SampleMessage& message : plan.messages)
            message.dateEncoding = DateEncoding::seconds;
    return plan;
}

void report(const std::filesystem::path& folder, const SampleBackupPlan& plan, const Options& options)
{
    size_t outgoing = 0;
    for (const SampleMessage& message : plan.messages)
        outgoing += message.isFromMe.value_or(0) != 0 ? 1 : 0;
    const long risky = std::lround(options.messages * options.candidateShare);
    std::cout << folder.string() << "\n  " << plan.displayName.value_or("") << " ("
              << plan.productType.value_or("") << "), " << plan.udid << ", backed up "
              << formatInternetDateTime(plan.lastBackupDate.value_or(options.now)) << "\n  "
              << plan.messages.size() - outgoing << " incoming (" << risky << " risky), " << outgoing
              << " outgoing; Messages database " << (options.flat ? "flat" : "hashed")
              << (options.wal ? ", WAL" : "") << (options.secondsDates ? ", dates in seconds" : "")
              << (options.encrypted ? "; marked encrypted" : "") << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (const std::string_view arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
    }
    Options options;
    try {
        options = parse(args);
    } catch (const UsageError& error) {
        std::cerr << "quorva-sample-backup: " << error.message << "\n\n" << kUsage;
        return 2;
    }
    try {
        const std::filesystem::path output(options.output);
        const int count = std::max(options.devices, 1);
        for (int device = 0; device < count; ++device) {
            const SampleBackupPlan plan = specFor(options, device);
            const std::filesystem::path folder = options.devices > 0 ? output / plan.udid : output;
            report(writeSampleBackup(folder, plan), plan, options);
        }
    } catch (const std::exception& error) {
        std::cerr << "quorva-sample-backup: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
