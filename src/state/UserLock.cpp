#include "state/UserLock.h"

#include "stores/Preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>

#include <QCoroTimer>

namespace quorva {

Q_LOGGING_CATEGORY(lcState, "quorva.state", QtWarningMsg)

UserLock::UserLock(QString path) : m_path(std::move(path)) {}

QString UserLock::besidePreferences(const Preferences& preferences)
{
    return QFileInfo(preferences.fileName()).dir().filePath(QStringLiteral("bridge.lock"));
}

QCoro::Task<UserLock::Hold> UserLock::acquire(std::chrono::milliseconds patience)
{
    if (Hold held = m_held.lock())
        co_return held;
    QDir().mkpath(QFileInfo(m_path).path());
    auto file = std::make_shared<QLockFile>(m_path);
    // A cycle may hold the lock for minutes: only a lock whose process is gone counts as stale.
    file->setStaleLockTime(0);
    constexpr std::chrono::milliseconds step{100};
    for (auto waited = std::chrono::milliseconds::zero();; waited += step) {
        if (Hold held = m_held.lock()) // taken by this process meanwhile
            co_return held;
        if (file->tryLock(0)) {
            m_held = file;
            co_return file;
        }
        // A folder this user cannot write is not another process: going ahead unlocked lets the
        // write that cannot be made fail with its own, clearer, message.
        if (file->error() != QLockFile::LockFailedError) {
            qCWarning(lcState) << "the user lock" << m_path << "cannot be taken:" << file->error();
            m_held = file;
            co_return file;
        }
        if (waited >= patience)
            co_return Hold();
        co_await QCoro::sleepFor(step);
    }
}

} // namespace quorva
