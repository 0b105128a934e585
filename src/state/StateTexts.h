#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <exception>
#include <vector>

#include "devices/DeviceTexts.h"
#include "state/Failure.h"
#include "state/Notice.h"

// The texts the state object shows or sends, kept in one place because several operations
// share them. What is shown comes in the language of the translation in use (see UiLanguage);
// what the service reads (setupIssue(), reportText(), the bridge name) stays English.

namespace quorva::texts {

// The one child an earlier version read every backup for: read only to propose that child's iPhone.
inline const QString earlierChildKey = QStringLiteral("bridge.selected-child-id");

[[nodiscard]] QString starting();
[[nodiscard]] QString pairFromFamilyApp();
[[nodiscard]] QString chooseBackupFolder();
[[nodiscard]] QString assignIPhones();
[[nodiscard]] QString ready();
[[nodiscard]] QString enterPairingCode();
[[nodiscard]] QString pairing();
[[nodiscard]] QString pairingFailed();
[[nodiscard]] QString childrenFailed();
[[nodiscard]] QString backupSetupFailed();
[[nodiscard]] QString encryptedBackupChosen();
[[nodiscard]] QString scanning();
[[nodiscard]] QString scanFailed();
[[nodiscard]] QString launchAtLoginFailed();
[[nodiscard]] QString busyElsewhere();
[[nodiscard]] QString secretStoreNotAvailable();
[[nodiscard]] QString secretStoreRefusedPairing();
[[nodiscard]] QString pairingNoLongerValid();
[[nodiscard]] QString tokenNotForgotten();
[[nodiscard]] QString disconnectFailed();
[[nodiscard]] QString chooserTitle();
[[nodiscard]] QString chooserMessage();
[[nodiscard]] QString chooserConfirm();

// For the service, in English.
[[nodiscard]] QString setupIssue();
[[nodiscard]] QString defaultBridgeName();

// A notice in the reader's language, for the window and the CLI; and as the service reads it, in
// English.
[[nodiscard]] QString noticeText(const Notice& notice);
[[nodiscard]] QString reportText(const Notice& notice);
// Several, one line each; and for the service, one after the other.
[[nodiscard]] QString noticeText(const std::vector<Notice>& notices);
[[nodiscard]] QString reportText(const std::vector<Notice>& notices);
// As a notice, for a reader who knows the iPhone by its own name only.
[[nodiscard]] QString deviceLastBackedUpOn(const QString& deviceName, const QDate& day);
// One child's failure among several children's iPhones: translated, and for the service.
[[nodiscard]] QString forChild(const QString& childName, const QString& failure);
[[nodiscard]] QString reportForChild(const QString& childName, const QString& failure);

// One of the platform's words (model/PlatformWords.h), translated.
[[nodiscard]] QString platformText(const char* text);

// "Scan complete. …" for a cycle that sent `sent` new candidates, of which the service accepted
// `accepted`; what it did not accept is sent again, and the text must not claim otherwise.
// Counts are written as the locale of the translation writes numbers.
[[nodiscard]] QString scanComplete(qint64 sent, qint64 accepted);
// What the last scan read of one iPhone's backup, and how much of it went to the service.
[[nodiscard]] QString lastScanRead(qint64 inspected, qint64 sent);

// The text shown for a failure, in the language of the translation in use.
[[nodiscard]] QString failureText(const Failure& failure);

// The text shown for a failure: a BridgeClientError's description or a PlatformError's
// wording, translated; the service's own messages and any other what() as they came.
[[nodiscard]] QString failureText(std::exception_ptr failure);
// The same failure as it may leave this computer, in a heartbeat: in English and without local
// folder paths.
[[nodiscard]] QString reportText(std::exception_ptr failure);

} // namespace quorva::texts
