#include "InspectCommand.h"

#include "HumanText.h"
#include "RecordJson.h"
#include "TerminalText.h"
#include "backup/IPhoneBackupScanner.h"
#include "model/Iso8601.h"

#include <QCoreApplication>

#include <ostream>

namespace quorva::cli {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(InspectCommand)
};

Instant parseAt(const std::optional<QString>& text)
{
    if (!text)
        return Instant::now();
    const std::string utf8 = text->toStdString();
    if (auto at = parseInternetDateTime(utf8, FractionalSeconds::required))
        return *at;
    if (auto at = parseInternetDateTime(utf8, FractionalSeconds::forbidden))
        return *at;
    throw UsageError(Text::tr("--at takes an ISO-8601 date-time such as 2026-03-01T08:15:30Z, not '%1'.")
                         .arg(*text)
                         .toStdString());
}

QString safe(const std::string& text)
{
    return QString::fromStdString(printable(text));
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

void printHuman(const BackupScanResult& result, std::ostream& out)
{
    const BackupDescriptor& b = result.backup;
    const QString device = b.productType ? Text::tr("%1 (%2)").arg(safe(b.deviceName), safe(*b.productType))
                                         : safe(b.deviceName);
    out << Text::tr("Backup: %1").arg(device).toStdString() << "\n"
        << Text::tr("  folder:    %1").arg(safe(b.url.string())).toStdString() << "\n"
        << Text::tr("  device id: %1").arg(safe(b.id)).toStdString() << "\n"
        << Text::tr("  backed up: %1")
               .arg(b.lastBackupAt ? readableDateTime(*b.lastBackupAt) : Text::tr("date unavailable"))
               .toStdString()
        << "\n"
        << Text::tr("  encrypted: %1").arg(b.isEncrypted ? Text::tr("yes") : Text::tr("no")).toStdString()
        << "\n\n";
    out << Text::tr("Recent incoming messages inspected locally: %L1. Candidates that would be sent for "
                    "safety review: %L2.")
               .arg(result.inspectedCount)
               .arg(result.candidates.size())
               .toStdString()
        << "\n";
    if (result.futureDatedCount > 0)
        out << Text::tr(
                   "Messages dated more than a day after this scan, not read: %L1. The iPhone's clock may "
                   "have been wrong.")
                   .arg(result.futureDatedCount)
                   .toStdString()
            << "\n";
    for (const ScannedMessage& m : result.candidates) {
        const QString sender = m.senderName ? safe(*m.senderName) : Text::tr("(no sender)");
        out << "\n"
            << Text::tr("- %1  from %2").arg(readableDateTime(m.capturedAt), sender).toStdString() << "\n"
            << Text::tr("  reasons: %1").arg(QString::fromStdString(joined(m.reasons))).toStdString() << "\n"
            << Text::tr("  text:    %1").arg(safe(m.text)).toStdString() << "\n"
            << Text::tr("  id:      %1").arg(QString::fromStdString(m.id)).toStdString() << "\n";
    }
}

} // namespace

int runInspect(const Invocation& invocation, std::ostream& out)
{
    const std::string folder = invocation.folderBytes.isEmpty() ? invocation.arguments.at(0).toStdString()
                                                                : invocation.folderBytes.toStdString();
    const Instant at = parseAt(invocation.at);

    const IPhoneBackupScanner scanner;
    const BackupDescriptor newest = scanner.backups(folder).front();
    const BackupScanResult result = scanner.scan(newest, at);

    if (invocation.json) {
        nlohmann::json candidates = nlohmann::json::array();
        for (const ScannedMessage& m : result.candidates)
            candidates.push_back(candidateJson(m));
        const nlohmann::json doc = {
            {"backup", backupJson(result.backup)},
            {"inspectedCount", result.inspectedCount},
            {"futureDatedCount", result.futureDatedCount},
            {"candidates", std::move(candidates)},
        };
        out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    } else {
        printHuman(result, out);
    }
    return 0;
}

int runClassify(const Invocation& invocation, std::ostream& out)
{
    const std::vector<std::string> reasons =
        LocalRiskClassifier().classify(invocation.arguments.at(0).toStdString());
    if (reasons.empty())
        out << Text::tr("no rule matched").toStdString() << "\n";
    for (const std::string& reason : reasons)
        out << reason << "\n";
    return 0;
}

} // namespace quorva::cli
