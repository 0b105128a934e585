#include "state/Notice.h"
#include "state/CaseNames.h"

namespace quorva {

Notice lastBackedUpOn(const QString& childName, const QDate& day)
{
    return {NoticeCase::lastBackedUpOn, {childName, day.toString(Qt::ISODate)}};
}

QString noticeName(NoticeCase kind)
{
    return caseName(kind);
}

std::optional<NoticeCase> noticeCaseNamed(const QString& name)
{
    return caseNamed<NoticeCase>(name);
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
