#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <exception>
#include <optional>
#include <vector>

namespace quorva {

// Every way an operation of Bridge can fail, as the window, the CLI, `--json` and the bus tell
// them apart. The names (failureName) are part of the bus interface and of the CLI's JSON: a
// case may be added, never renamed.
struct FailureCases {
    Q_GADGET

public:
    enum class Case {
        unexpected,         // any other failure: its own words
        serviceError,       // the service answered with a failure: its own words
        serviceUnreachable, // no answer from the service (as `platform`)
        invalidResponse,    // an answer the service should never give
        notPaired,
        pairingCodeMissing,
        pairingNoLongerValid, // the service no longer takes the stored token
        secretStoreUnavailable,
        secretStoreRefusedPairing,
        tokenNotForgotten,
        busyElsewhere, // another process writes the pairing and the choices
        launchAtLoginFailed,
        backupFolderUnreadable,  // the folder could not be opened or read (as `platform`)
        backupFolderUnreachable, // the folder is not there now, an unplugged disk (as `platform`)
        backupAccessLost,        // the chosen folder is gone: choose it again
        noBackupFound,
        encryptedBackup,
        backupBeingWritten,
        messagesDatabaseMissing,
        messagesDatabaseUnreadable, // the database's own reason
        platform,                   // a failure of this computer: the pattern, then its arguments
        childFailed, // one child's failure among several: the child's name, the failure in `parts`
        notice,      // what needs the parent beside a failure: Notice.h's toArguments()
        several,     // more than one of the above, in `parts`
        // Only as answers to a request, never as the phase:
        noSuchChild,             // the id asked for
        noSuchDevice,            // the id asked for
        notADeviceId,            // the id asked for
        relativeFolder,          // the path asked for
        deviceNotConnected,      // the device's name
        backupFailed,            // DeviceActivity::toArguments(): the name, stage, detail, figure
        severalDevicesConnected, // a backup asked for without naming one of them
        nothingToScan,           // no folder is chosen, or no iPhone in it is assigned
    };
    Q_ENUM(Case)
};
using FailureCase = FailureCases::Case;

// A failure as data: its case and what fills in its text, which is made where it is shown, in
// its reader's language (texts::failureText).
struct Failure {
    FailureCase kind = FailureCase::unexpected;
    QStringList arguments; // as they came: names, paths, the service's and the system's words
    std::vector<Failure> parts;

    friend bool operator==(const Failure&, const Failure&) = default;
};

// "serviceUnreachable": the case as the CLI's JSON and the bus name it.
[[nodiscard]] QString failureName(FailureCase kind);
[[nodiscard]] std::optional<FailureCase> failureCaseNamed(const QString& name);

// One part of a failure made of others, flat, as the bus carries it: its arguments and, for a
// childFailed, its own part's case name and arguments after the child's name.
[[nodiscard]] QStringList partArguments(const Failure& part);
// Nothing for a case this version does not know.
[[nodiscard]] std::optional<Failure> partOf(const QString& name, const QStringList& arguments);

// The failure that an exception thrown by an operation stands for.
[[nodiscard]] Failure failureOf(std::exception_ptr failure);

} // namespace quorva
