#pragma once

#include "model/Instant.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writes realistic iPhone backup folders for tests, benchmarks and the demo.
namespace quorva::samples {

enum class DateEncoding { seconds, nanoseconds };
enum class PlistFormat { xml, binary };
// Where the Messages database is put: at <fileID[0:2]>/<fileID>, directly in the folder,
// listed in the manifest but absent, or not listed at all (the file is then still written at
// its hashed place, so only a reader that trusts the manifest reports it missing).
enum class MessagesLocation { hashed, flat, missingFile, notInManifest };

struct SampleMessage {
    std::optional<int64_t> rowID;              // assigned by SQLite when absent
    std::optional<std::string> text;           // NULL when absent
    std::optional<std::string> attributedText; // archived into attributedBody as a device writes it
    std::optional<std::vector<uint8_t>> rawAttributedBody; // exact blob; wins over attributedText
    std::optional<std::string> sender;                     // handle id; absent: the row has no handle
    Instant date;
    DateEncoding dateEncoding = DateEncoding::nanoseconds;
    std::optional<int> isFromMe = 0; // absent: NULL
};

struct SampleBackupPlan {
    std::string udid = "00008110-001A2B3C4D5E801E";
    std::optional<std::string> displayName = std::string("Maya's iPhone");
    std::optional<std::string> deviceName = std::string("Maya's iPhone");
    std::optional<std::string> productType = std::string("iPhone14,5");
    std::optional<Instant> lastBackupDate;  // Info.plist "Last Backup Date"
    std::optional<Instant> statusDate;      // Status.plist "Date"
    std::string snapshotState = "finished"; // Status.plist "SnapshotState"; anything else is mid-backup
    bool encrypted = false;
    bool writeInfoPlist = true;
    bool writeStatusPlist = true;
    bool writeManifestPlist = true;
    PlistFormat infoFormat = PlistFormat::xml;
    PlistFormat statusFormat = PlistFormat::binary;
    PlistFormat manifestFormat = PlistFormat::binary;
    MessagesLocation location = MessagesLocation::hashed;
    bool walMode = false; // the Messages database in write-ahead-log journal mode
    std::vector<SampleMessage> messages;
};

// Creates `folder` (and parents) and writes the backup into it; returns `folder`.
std::filesystem::path writeSampleBackup(const std::filesystem::path& folder, const SampleBackupPlan& plan);

// An attributed string archived in the typedstream format, as recent devices store message text.
[[nodiscard]] std::vector<uint8_t> archiveAttributedString(std::string_view utf8Text);

// Which class chain the archive names: the mutable classes (the default above) or the plain
// NSAttributedString/NSString that some devices write.
enum class ArchivedClasses { mutableStrings, immutableStrings };
[[nodiscard]] std::vector<uint8_t> archiveAttributedString(std::string_view utf8Text,
                                                           ArchivedClasses classes);

// A lifelike mix: `incoming` incoming messages spread over the last days before `now` (newest
// within minutes), about `candidateShare` of them risky, some outgoing, some without handle,
// some only in attributedBody, a few older than two weeks. Deterministic for a seed.
[[nodiscard]] SampleBackupPlan realisticBackup(Instant now, int incoming, double candidateShare,
                                               uint32_t seed = 1);

} // namespace quorva::samples
