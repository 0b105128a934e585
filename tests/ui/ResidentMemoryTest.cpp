#include "app/ResidentMemory.h"

#include <QFile>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <cstdint>

#include <unistd.h>

namespace quorva {
namespace {

// Resident kilobytes of the mapping that starts at `start`, as /proc/self/smaps lists it.
long residentKb(const void* start)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray address = QByteArray::number(reinterpret_cast<std::uintptr_t>(start), 16) + '-';
    bool inside = false;
    for (const QByteArray& line : smaps.readAll().split('\n')) {
        const QByteArray first = line.left(line.indexOf(' '));
        if (first.contains('-') && !first.endsWith(':'))
            inside = line.startsWith(address);
        else if (inside && line.startsWith("Rss:"))
            return line.simplified().split(' ').value(1).toLong();
    }
    return -1;
}

TEST(ResidentMemory, LetsGoOfPagesReadFromAFileAndReadsThemBackUnchanged)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    QByteArray content(1 << 20, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 31);
    file.write(content);
    file.flush();
    ::fsync(file.handle());          // on disk: the pages in memory are the file's content, nothing more
    QFile readOnly(file.fileName()); // a program's libraries are mapped so: nobody may write them
    ASSERT_TRUE(readOnly.open(QIODevice::ReadOnly));
    const uchar* mapped = readOnly.map(0, content.size());
    ASSERT_NE(mapped, nullptr);
    ASSERT_EQ(QByteArray(reinterpret_cast<const char*>(mapped), content.size()), content);
    ASSERT_GT(residentKb(mapped), 0);

    EXPECT_GT(releaseCleanFilePages(), 0u);
    EXPECT_EQ(residentKb(mapped), 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(mapped), content.size()), content);
}

TEST(ResidentMemory, KeepsWhatWasWritten)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(QByteArray(4096, 'a'));
    file.flush();
    uchar* mapped = file.map(0, 4096, QFileDevice::MapPrivateOption); // a copy of our own once written
    ASSERT_NE(mapped, nullptr);
    mapped[0] = 'b';
    (void)releaseCleanFilePages();
    EXPECT_EQ(mapped[0], 'b');
}

} // namespace
} // namespace quorva
