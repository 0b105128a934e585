#include "ResidentMemory.h"

#include <QFile>

#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace quorva {

#ifdef Q_OS_LINUX
namespace {

struct Mapping {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    bool candidate = false; // a file's, and nobody may write it
    bool dirty = false;     // holds a page that is not the file's content
};

void releaseIfClean(const Mapping& mapping, std::size_t& released)
{
    if (!mapping.candidate || mapping.dirty || mapping.end <= mapping.start)
        return;
    // A page of such a mapping is re-read from the file when touched again, as after any reclaim.
    if (::madvise(reinterpret_cast<void*>(mapping.start), mapping.end - mapping.start, MADV_DONTNEED) == 0)
        released += mapping.end - mapping.start;
}

} // namespace

std::size_t releaseCleanFilePages()
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return 0;
    std::size_t released = 0;
    Mapping current;
    // The whole list is read before anything is released: releasing changes what it says.
    const QList<QByteArray> lines = smaps.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 5 && fields[0].contains('-') && !fields[0].endsWith(':')) {
            releaseIfClean(current, released);
            const QList<QByteArray> range = fields[0].split('-');
            const QByteArray& permissions = fields[1];
            const QByteArray path = fields.size() >= 6 ? fields[5] : QByteArray();
            current = Mapping{range[0].toULongLong(nullptr, 16), range[1].toULongLong(nullptr, 16),
                              path.startsWith('/') && !permissions.contains('w'), false};
        } else if ((line.startsWith("Private_Dirty:") || line.startsWith("Shared_Dirty:")) &&
                   fields.value(1) != "0") {
            current.dirty = true;
        }
    }
    releaseIfClean(current, released);
    return released;
}

#else

std::size_t releaseCleanFilePages()
{
    return 0;
}

#endif

} // namespace quorva
