#pragma once

#include <QCoroTask>
#include <QString>

#include <chrono>
#include <memory>

namespace quorva {

// The lock every Bridge process of one user shares. A scan cycle holds it from start to end and
// every change of the stored pairing is made under it, so two processes (the window and the CLI)
// never read-modify-write the checkpoint or the pairing over each other. One UserLock object
// stands for one process: its holds are shared, so a disconnect may go ahead while this
// process's own cancelled cycle still holds the lock; a second UserLock on the same file acts as
// another process would.
class UserLock {
public:
    // An open, locked file: the kernel lets go of it when the last copy goes, and when the
    // process ends in any way, so no lock outlives its owner.
    class File;
    using Hold = std::shared_ptr<File>;

    explicit UserLock(QString path);

    // The lock, waiting up to `patience` for another process to let go of it; null when it did not.
    [[nodiscard]] QCoro::Task<Hold> acquire(std::chrono::milliseconds patience);

    // The lock file in the folder of `file`: whatever shares that file shares the lock.
    [[nodiscard]] static QString beside(const QString& file);

private:
    QString m_path;
    std::weak_ptr<File> m_held;
};

} // namespace quorva
