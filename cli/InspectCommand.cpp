#include "InspectCommand.h"

#include "RecordJson.h"
#include "TerminalText.h"
#include "backup/IPhoneBackupScanner.h"
#include "model/Iso8601.h"

#include <ostream>

namespace quorva::cli {
namespace {

Instant parseAt(const std::optional<std::string>& text)
{
    if (!text)
        return Instant::now();
    if (auto at = parseInternetDateTime(*text, FractionalSeconds::required))
        return *at;
    if (auto at = parseInternetDateTime(*text, FractionalSeconds::forbidden))
        return *at;
    throw UsageError("--at takes an ISO-8601 date-time such as 2026-03-01T08:15:30Z, not \"" + *text + "\"");
}

std::string describeDate(const std::optional<Instant>& at)
{
    return at ? formatInternetDateTime(*at) : std::string("date unavailable");
}

void printHuman(const BackupScanResult& result, std::ostream& out)
{
    const BackupDescriptor& b = result.backup;
    out << "Backup: " << printable(b.deviceName);
    if (b.productType)
        out << " (" << printable(*b.productType) << ")";
    out << "\n  folder:    " << printable(b.url.string()) << "\n  device id: " << printable(b.id)
        << "\n  backed up: " << describeDate(b.lastBackupAt)
        << "\n  encrypted: " << (b.isEncrypted ? "yes" : "no") << "\n\n";
    out << "Inspected " << result.inspectedCount << " recent incoming messages locally; " << result.candidates.size()
        << (result.candidates.size() == 1 ? " candidate" : " candidates") << " would be sent for safety review.\n";
    for (const ScannedMessage& m : result.candidates) {
        out << "\n- " << formatInternetDateTime(m.capturedAt) << "  from " << printable(m.senderName.value_or("(no sender)"))
            << "\n  reasons: ";
        for (size_t i = 0; i < m.reasons.size(); ++i)
            out << (i ? ", " : "") << m.reasons[i];
        out << "\n  text:    " << printable(m.text) << "\n  id:      " << m.id << "\n";
    }
}

} // namespace

int runInspect(const CliArguments& args, std::ostream& out)
{
    const std::string folder = args.positionals(1).front();
    const Instant at = parseAt(args.option("--at"));

    const IPhoneBackupScanner scanner;
    const BackupDescriptor newest = scanner.backups(folder).front();
    const BackupScanResult result = scanner.scan(newest, at);

    if (args.flag("--json")) {
        nlohmann::json candidates = nlohmann::json::array();
        for (const ScannedMessage& m : result.candidates)
            candidates.push_back(candidateJson(m));
        const nlohmann::json doc = {
            {"backup", backupJson(result.backup)},
            {"inspectedCount", result.inspectedCount},
            {"candidates", std::move(candidates)},
        };
        out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
        printHuman(result, out);
    }
    return 0;
}

int runClassify(const CliArguments& args, std::ostream& out)
{
    const std::string text = args.positionals(1).front();
    for (const std::string& reason : LocalRiskClassifier().classify(text))
        out << reason << "\n";
    return 0;
}

} // namespace quorva::cli
