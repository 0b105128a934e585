#pragma once

#include <QString>

#include <exception>

// The fixed texts the state object shows or sends, kept in one place because several
// operations share them.
namespace quorva::texts {

inline const QString selectedChildKey = QStringLiteral("bridge.selected-child-id");

inline const QString starting = QStringLiteral("Starting Quorva Bridge");
inline const QString pairFromFamilyApp = QStringLiteral("Pair this Mac from Quorva Family");
inline const QString chooseChildAndBackup = QStringLiteral("Choose a child and Finder backup");
inline const QString ready = QStringLiteral("Quorva Bridge is ready");
inline const QString enterPairingCode = QStringLiteral("Enter the pairing code shown in Quorva Family.");
inline const QString pairing = QStringLiteral("Pairing this Mac");
inline const QString pairingFailed = QStringLiteral("Pairing needs attention");
inline const QString childrenFailed = QStringLiteral("Child profiles could not be loaded");
inline const QString backupSetupFailed = QStringLiteral("Backup setup needs attention");
inline const QString encryptedBackupChosen =
    QStringLiteral("Encrypted backup detected. Choose an unencrypted Finder backup.");
inline const QString readyToScanPrefix = QStringLiteral("Ready to scan ");
inline const QString scanning = QStringLiteral("Checking the latest Finder backup locally");
inline const QString scanFailed = QStringLiteral("Scan needs attention");
inline const QString setupIssue = QStringLiteral("Choose a child and Finder backup to finish setup.");
inline const QString launchAtLoginFailed = QStringLiteral(
    "Launch at login could not be updated. You can also change it in System Settings under Login Items.");
inline const QString defaultBridgeName = QStringLiteral("Family Mac");
inline const QString busyElsewhere =
    QStringLiteral("Quorva Bridge is busy in another process on this computer. Try again in a moment.");
inline const QString secretStoreNotAvailable = QStringLiteral("The secret store is not available yet");
inline const QString secretStoreRefusedPairing =
    QStringLiteral("The secret store refused to keep this pairing, and the pairing code has now been used. "
                   "Get a new code in Quorva Family and pair again.");
inline const QString pairingNoLongerValid =
    QStringLiteral("This pairing with Quorva is no longer valid. Pair again with a new code from Quorva Family.");

inline const QString chooserTitle = QStringLiteral("Choose the iPhone backup folder");
inline const QString chooserMessage =
    QStringLiteral("Choose a specific Finder backup or the MobileSync Backup folder. Quorva stores read-only "
                   "permission for this "
                   "folder.");
inline const QString chooserConfirm = QStringLiteral("Choose Backup");

// "Scan complete. …" for a cycle that sent `sent` new candidates, of which the service accepted
// `accepted`; what it did not accept is sent again, and the text must not claim otherwise.
[[nodiscard]] QString scanComplete(qint64 sent, qint64 accepted);

// The user-facing text of a failure: a BridgeClientError's description, else what().
[[nodiscard]] QString failureText(std::exception_ptr failure);
// The same text as it may leave this computer, in a heartbeat: without local folder paths.
[[nodiscard]] QString reportText(std::exception_ptr failure);

} // namespace quorva::texts
