#include "state/Notice.h"

#include <array>
#include <utility>

namespace quorva {

namespace {

using N = NoticeCase;

constexpr std::array<std::pair<NoticeCase, const char*>, 8> names{{
    {N::backupBeingWritten, "backupBeingWritten"},
    {N::lastBackedUpOn, "lastBackedUpOn"},
    {N::waitingToBeAssigned, "waitingToBeAssigned"},
    {N::notAssignedToAnyone, "notAssignedToAnyone"},
    {N::assignedIPhoneMissing, "assignedIPhoneMissing"},
    {N::noIPhoneAssigned, "noIPhoneAssigned"},
    {N::childLeftFamily, "childLeftFamily"},
    {N::encryptedBackupChosen, "encryptedBackupChosen"},
}};

} // namespace

Notice lastBackedUpOn(const QString& childName, const QDate& day)
{
    return {N::lastBackedUpOn, {childName, day.toString(Qt::ISODate)}};
}

QString noticeName(NoticeCase kind)
{
    for (const auto& [each, name] : names)
        if (each == kind)
            return QString::fromLatin1(name);
    return {};
}

std::optional<NoticeCase> noticeCaseNamed(const QString& name)
{
    for (const auto& [each, known] : names)
        if (name == QLatin1String(known))
            return each;
    return std::nullopt;
}

QStringList toArguments(const Notice& notice)
{
    return QStringList{noticeName(notice.kind)} + notice.arguments;
}

std::optional<Notice> noticeOf(const QStringList& arguments)
{
    const std::optional<NoticeCase> kind = noticeCaseNamed(arguments.value(0));
    if (!kind)
        return std::nullopt;
    return Notice{*kind, arguments.mid(1)};
}

Failure asFailure(const Notice& notice)
{
    return {FailureCase::notice, toArguments(notice), {}};
}

} // namespace quorva
