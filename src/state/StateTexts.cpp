#include "state/StateTexts.h"

#include "devices/DeviceActivity.h"
#include "model/BridgeClientError.h"
#include "model/PlatformError.h"
#include "model/PlatformWords.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

namespace quorva::texts {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(quorva::texts)
};

QString translatedDescription(const BridgeClientError& error)
{
    using C = BridgeClientError::Case;
    const QString detail = QString::fromStdString(error.detail());
    switch (error.kind()) {
    case C::server:
        return detail; // the service's own words
    case C::database:
        // SQLite's own words have no translation and pass as they came; ours are in the catalogue.
        return QCoreApplication::translate("quorva::BridgeClientError", BridgeClientError::databasePrefix) +
               QCoreApplication::translate("quorva::BridgeClientError", error.detail().c_str());
    case C::noBackupFound:
    case C::notPaired:
        return platformText(error.description().c_str());
    default:
        return QCoreApplication::translate("quorva::BridgeClientError", error.description().c_str());
    }
}

QString translatedWording(const Wording& wording)
{
    const QString pattern = QCoreApplication::translate("quorva::PlatformError", wording.pattern.c_str());
    return QString::fromStdString(filledIn({pattern.toStdString(), wording.arguments}));
}

} // namespace

QString starting()
{
    return Text::tr("Starting Quorva Bridge");
}
QString pairFromFamilyApp()
{
    return platformText(words::pairFromFamilyApp);
}
QString chooseBackupFolder()
{
    return platformText(words::chooseBackupFolder);
}
QString assignIPhones()
{
    return Text::tr("Choose whose iPhone each backup is");
}
QString ready()
{
    return Text::tr("Quorva Bridge is ready");
}
QString enterPairingCode()
{
    return Text::tr("Enter the pairing code shown in Quorva Family.");
}
QString pairing()
{
    return platformText(words::pairing);
}
QString pairingFailed()
{
    return Text::tr("Pairing needs attention");
}
QString childrenFailed()
{
    return Text::tr("Child profiles could not be loaded");
}
QString backupSetupFailed()
{
    return Text::tr("Backup setup needs attention");
}
QString encryptedBackupChosen()
{
    return platformText(words::encryptedBackupChosen);
}
QString scanning()
{
    return platformText(words::scanning);
}
QString tokenNotForgotten()
{
    return Text::tr(
        "The pairing could not be forgotten: the secret store is locked or cannot be reached, and "
        "it still holds the pairing. Unlock it (for example by logging in again), then disconnect "
        "again. Bridge stays paired until then.");
}
QString disconnectFailed()
{
    return Text::tr("Disconnect needs attention");
}
QString scanFailed()
{
    return Text::tr("Scan needs attention");
}
QString launchAtLoginFailed()
{
    return platformText(words::launchAtLoginFailed);
}
QString busyElsewhere()
{
    return Text::tr("Quorva Bridge is busy in another process on this computer. Try again in a moment.");
}
QString secretStoreNotAvailable()
{
    return Text::tr("The secret store is not available yet");
}
QString secretStoreRefusedPairing()
{
    return Text::tr(
        "The secret store refused to keep this pairing, and the pairing code has now been used. Get a new "
        "code in Quorva Family and pair again.");
}
QString pairingNoLongerValid()
{
    return Text::tr(
        "This pairing with Quorva is no longer valid. Pair again with a new code from Quorva Family.");
}
QString chooserTitle()
{
    return Text::tr("Choose the iPhone backup folder");
}
QString chooserMessage()
{
    return platformText(words::chooserMessage);
}
QString chooserConfirm()
{
    return Text::tr("Choose Backup");
}

QString setupIssue()
{
    return QString::fromUtf8(words::setupIssue);
}
QString defaultBridgeName()
{
    return QString::fromUtf8(words::defaultBridgeName);
}

namespace {

const char* const forChildPattern = QT_TRANSLATE_NOOP("quorva::texts", "For %1: %2");

// A day with its month, short: the order and the dots are the language's own ("10. Jan.").
QString shortDay(const QDate& day, bool translated)
{
    if (!translated)
        return QLocale::c().toString(day, QStringLiteral("d MMM"));
    return QLocale().toString(day, Text::tr("d MMM", "a day and its month, short: a QLocale date format"));
}

// The reader's words or, for the service, English: the same pattern and arguments either way.
QString worded(const Notice& notice, bool translated)
{
    const auto pattern = [translated](const char* text) {
        return translated ? QCoreApplication::translate("quorva::texts", text) : QString::fromUtf8(text);
    };
    const QStringList& a = notice.arguments;
    switch (notice.kind) {
    case NoticeCase::backupBeingWritten:
        return pattern(QT_TRANSLATE_NOOP("quorva::texts", "A backup of %1's iPhone is being written; Bridge "
                                                          "checks it again at the next scan."))
            .arg(a.value(0));
    case NoticeCase::lastBackedUpOn: {
        const QDate day = QDate::fromString(a.value(1), Qt::ISODate);
        return pattern(QT_TRANSLATE_NOOP(
                           "quorva::texts",
                           "%1's iPhone was last backed up on %2; there is nothing newer to check."))
            .arg(a.value(0), shortDay(day, translated));
    }
    case NoticeCase::waitingToBeAssigned:
        return pattern(QT_TRANSLATE_NOOP("quorva::texts",
                                         "Choose whose iPhone each backup is. Waiting to be assigned: %1."))
            .arg(a.join(QStringLiteral(", ")));
    case NoticeCase::notAssignedToAnyone:
        return pattern(QT_TRANSLATE_NOOP("quorva::texts",
                                         "%1 is in the backup folder and not assigned to anyone."))
            .arg(a.value(0));
    case NoticeCase::assignedIPhoneMissing:
        return pattern(QT_TRANSLATE_NOOP("quorva::texts",
                                         "The iPhone assigned to %1 is not in the backup folder."))
            .arg(a.value(0));
    case NoticeCase::noIPhoneAssigned:
        return pattern(QT_TRANSLATE_NOOP("quorva::texts", "%1 has no iPhone assigned.")).arg(a.value(0));
    case NoticeCase::childLeftFamily:
        return pattern(
                   QT_TRANSLATE_NOOP("quorva::texts",
                                     "%1 is assigned to a child who is no longer in your family on Quorva, "
                                     "so it is not read. Assign it to another child or to no one."))
            .arg(a.value(0));
    case NoticeCase::encryptedBackupChosen:
        return pattern(forChildPattern)
            .arg(a.value(0), translated ? platformText(words::encryptedBackupChosen)
                                        : QString::fromUtf8(words::encryptedBackupChosen));
    }
    return {};
}

} // namespace

QString noticeText(const Notice& notice)
{
    return worded(notice, true);
}

QString reportText(const Notice& notice)
{
    return worded(notice, false);
}

QString noticeText(const std::vector<Notice>& notices)
{
    QStringList lines;
    for (const Notice& notice : notices)
        lines.append(noticeText(notice));
    return lines.join(QLatin1Char('\n'));
}

QString reportText(const std::vector<Notice>& notices)
{
    QStringList texts;
    for (const Notice& notice : notices)
        texts.append(reportText(notice));
    return texts.join(QLatin1Char(' '));
}

QString deviceLastBackedUpOn(const QString& deviceName, const QDate& day)
{
    return Text::tr("%1 was last backed up on %2; there is nothing newer to check.")
        .arg(deviceName, shortDay(day, true));
}

QString forChild(const QString& childName, const QString& failure)
{
    return QCoreApplication::translate("quorva::texts", forChildPattern).arg(childName, failure);
}

QString reportForChild(const QString& childName, const QString& failure)
{
    return QString::fromUtf8(forChildPattern).arg(childName, failure);
}

QString platformText(const char* text)
{
    return QCoreApplication::translate(words::context, text);
}

QString scanComplete(qint64 sent, qint64 accepted)
{
    if (sent == 0)
        return Text::tr("Scan complete. No new safety candidates found.");
    if (accepted < sent)
        return Text::tr("Scan complete. Quorva accepted %L1 of %L2 focused candidates; the others will be "
                        "sent again at "
                        "the next scan.")
            .arg(accepted)
            .arg(sent);
    return Text::tr("Scan complete. %Ln focused candidates reviewed by Quorva.", nullptr,
                    static_cast<int>(sent));
}

QString lastScanRead(qint64 inspected, qint64 sent)
{
    return Text::tr("Last scan: %Ln recent incoming messages inspected", nullptr,
                    static_cast<int>(inspected)) +
           QStringLiteral(", ") + Text::tr("%Ln sent for safety review.", nullptr, static_cast<int>(sent));
}

QString failureText(const Failure& failure)
{
    using C = FailureCase;
    const QStringList& a = failure.arguments;
    const auto wording = [&a] {
        Wording wording{a.value(0).toStdString(), {}};
        for (qsizetype i = 1; i < a.size(); ++i)
            wording.arguments.push_back(a.at(i).toStdString());
        return translatedWording(wording);
    };
    switch (failure.kind) {
    case C::unexpected:
        return a.isEmpty() ? Text::tr("An unexpected error occurred.") : a.front();
    case C::serviceError:
        return a.value(0); // the service's own words
    case C::serviceUnreachable:
    case C::backupFolderUnreadable:
    case C::backupFolderUnreachable:
    case C::platform:
        return wording();
    case C::invalidResponse:
        return translatedDescription(BridgeClientError::invalidResponse());
    case C::notPaired:
        return translatedDescription(BridgeClientError::notPaired());
    case C::noBackupFound:
        return translatedDescription(BridgeClientError::noBackupFound());
    case C::encryptedBackup:
        return translatedDescription(BridgeClientError::encryptedBackup());
    case C::backupAccessLost:
        return translatedDescription(BridgeClientError::backupAccessLost());
    case C::backupBeingWritten:
        return translatedDescription(BridgeClientError::backupBeingWritten());
    case C::messagesDatabaseMissing:
        return translatedDescription(BridgeClientError::messagesDatabaseMissing());
    case C::messagesDatabaseUnreadable:
        return translatedDescription(BridgeClientError::database(a.value(0).toStdString()));
    case C::pairingCodeMissing:
        return enterPairingCode();
    case C::pairingNoLongerValid:
        return pairingNoLongerValid();
    case C::secretStoreUnavailable:
        return secretStoreNotAvailable();
    case C::secretStoreRefusedPairing:
        return secretStoreRefusedPairing();
    case C::tokenNotForgotten:
        return tokenNotForgotten();
    case C::busyElsewhere:
        return busyElsewhere();
    case C::launchAtLoginFailed:
        return launchAtLoginFailed();
    case C::childFailed:
        return forChild(a.value(0), failure.parts.empty() ? QString() : failureText(failure.parts.front()));
    case C::notice:
        if (const auto notice = noticeOf(a))
            return noticeText(*notice);
        return a.mid(1).join(QStringLiteral(", ")); // a case this version does not know: its names
    case C::several: {
        QStringList parts;
        for (const Failure& part : failure.parts)
            parts.append(failureText(part));
        return parts.join(QLatin1Char('\n'));
    }
    case C::noSuchChild:
        return Text::tr("There is no child with the id %1 in this family.").arg(a.value(0));
    case C::noSuchDevice:
        return Text::tr("There is no iPhone with the id %1 in the backup folder.").arg(a.value(0));
    case C::notADeviceId:
        return notADeviceId(a.value(0));
    case C::relativeFolder:
        return Text::tr("The backup folder must be given as an absolute path, not “%1”.").arg(a.value(0));
    case C::deviceNotConnected:
        return a.isEmpty() ? Text::tr("No assigned iPhone is connected to this computer.")
                           : deviceNotConnected(a.front());
    case C::severalDevicesConnected:
        return Text::tr("More than one assigned iPhone is connected: name the one to back up.");
    case C::nothingToScan:
        return Text::tr("Nothing to scan yet: choose the backup folder and assign each child's iPhone.");
    case C::backupFailed:
        if (const auto activity = DeviceActivity::fromArguments(a))
            if (QString text = activityText(*activity); !text.isEmpty())
                return text;
        return Text::tr("The backup of %1 did not finish.").arg(a.value(0));
    }
    return Text::tr("An unexpected error occurred.");
}

QString failureText(std::exception_ptr failure)
{
    return failureText(failureOf(std::move(failure)));
}

QString reportText(std::exception_ptr failure)
{
    QString text;
    try {
        std::rethrow_exception(failure);
    } catch (const PlatformError& error) {
        text = QString::fromStdString(error.reportText());
    } catch (const std::exception& error) {
        text = QString::fromUtf8(error.what()); // a BridgeClientError's what() is its description
    } catch (...) {
        text = QStringLiteral("An unexpected error occurred.");
    }
    // Whatever else may quote a path, the home folder names the family's account.
    if (const QString home = QDir::homePath(); home.size() > 1)
        text.replace(home, QStringLiteral("~"));
    return text;
}

} // namespace quorva::texts
