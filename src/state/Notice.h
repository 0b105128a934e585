#pragma once

#include "state/Failure.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorva {

// What needs the parent beside a failure or after a scan. It is worded where it is shown, in its
// reader's language (texts::noticeText), and for the service in English (texts::reportText). The
// names (noticeName) are part of the bus interface: a case may be added, never renamed.
struct NoticeCases {
    Q_GADGET

public:
    enum class Case {
        backupBeingWritten,    // the child's name
        lastBackedUpOn,        // the child's name, the day (yyyy-MM-dd)
        waitingToBeAssigned,   // the unassigned iPhones' names
        notAssignedToAnyone,   // the iPhone's name
        assignedIPhoneMissing, // the child's name
        noIPhoneAssigned,      // the child's name
        childLeftFamily,       // the iPhone's name
        encryptedBackupChosen, // the child's name
    };
    Q_ENUM(Case)
};
using NoticeCase = NoticeCases::Case;

struct Notice {
    NoticeCase kind = NoticeCase::noIPhoneAssigned;
    QStringList arguments; // names as they came

    friend bool operator==(const Notice&, const Notice&) = default;
};

// A bound iPhone's newest finished backup is older than a scan should trust without saying so.
[[nodiscard]] Notice lastBackedUpOn(const QString& childName, const QDate& day);

[[nodiscard]] QString noticeName(NoticeCase kind);
[[nodiscard]] std::optional<NoticeCase> noticeCaseNamed(const QString& name);

// As a failure's and the bus's arguments: the case's name, then its own arguments.
[[nodiscard]] QStringList toArguments(const Notice& notice);
[[nodiscard]] std::optional<Notice> noticeOf(const QStringList& arguments);
// The notice as a part of a failure made of several.
[[nodiscard]] Failure asFailure(const Notice& notice);

} // namespace quorva
