#include "platform/UserLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QLoggingCategory>

#include <QCoroTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorva {

Q_LOGGING_CATEGORY(lcLock, "quorva.lock", QtWarningMsg)

class UserLock::File {
public:
    explicit File(int fd) : m_fd(fd) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File()
    {
        if (m_fd >= 0)
            ::close(m_fd); // also releases the lock
    }

private:
    int m_fd;
};

namespace {

// What the lock's path holds when it cannot be opened as a file: a folder, a link to nowhere or
// to elsewhere. It is nobody's lock, since only an open file can be locked; it is moved aside.
bool clearBrokenEntry(const QString& path)
{
    const QFileInfo entry(path);
    QString aside = path + QStringLiteral(".broken");
    for (int n = 1; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = path + QStringLiteral(".broken-%1").arg(n);
    const bool moved =
        ::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) == 0;
    qCWarning(lcLock) << "the user lock" << path << "was no lock file"
                      << (entry.isSymLink() ? "but a link"
                          : entry.isDir()   ? "but a folder"
                                            : "")
                      << (moved ? "and was moved aside to" : "and could not be moved aside to") << aside;
    return moved;
}

// The lock file, opened without following a link; -1 with errno set when it cannot be.
int openLockFile(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
}

// Who holds the lock, for a person looking at the file; nothing reads it back.
void describeHolder(int fd)
{
    const QByteArray who = QStringLiteral("%1 %2\n")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QHostInfo::localHostName())
                               .toUtf8();
    if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, who.constData(), static_cast<size_t>(who.size()), 0) < 0)
        qCDebug(lcLock) << "the user lock's holder could not be written down";
}

} // namespace

UserLock::UserLock(QString path) : m_path(std::move(path)) {}

QString UserLock::beside(const QString& file)
{
    return QFileInfo(file).dir().filePath(QStringLiteral("bridge.lock"));
}

QCoro::Task<UserLock::Hold> UserLock::acquire(std::chrono::milliseconds patience)
{
    if (Hold held = m_held.lock())
        co_return held;
    QDir().mkpath(QFileInfo(m_path).path());
    int fd = openLockFile(m_path);
    if (fd < 0 && (errno == ELOOP || errno == EISDIR || errno == ENOTDIR) && clearBrokenEntry(m_path))
        fd = openLockFile(m_path);
    if (fd < 0) {
        // A folder this user cannot write is not another process: going ahead unlocked lets the
        // write that cannot be made fail with its own, clearer, message.
        qCWarning(lcLock) << "the user lock" << m_path << "cannot be taken:" << std::strerror(errno);
        auto unlocked = std::make_shared<File>(-1);
        m_held = unlocked;
        co_return unlocked;
    }
    auto file = std::make_shared<File>(fd);
    constexpr std::chrono::milliseconds step{100};
    for (auto waited = std::chrono::milliseconds::zero();; waited += step) {
        if (Hold held = m_held.lock()) // taken by this process meanwhile
            co_return held;
        // Whatever the file holds (nothing after a power cut, another computer's name, a
        // process long gone) does not matter: only a live process's lock on it does.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            describeHolder(fd);
            m_held = file;
            co_return file;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            qCWarning(lcLock) << "the user lock" << m_path << "cannot be taken:" << std::strerror(errno);
            m_held = file;
            co_return file;
        }
        if (waited >= patience)
            co_return Hold();
        co_await QCoro::sleepFor(step);
    }
}

} // namespace quorva
