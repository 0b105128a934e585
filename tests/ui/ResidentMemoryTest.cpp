#include "app/ResidentMemory.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace quorva {
namespace {

// Resident kilobytes of the mapping that starts at `start`, as /proc/self/smaps lists it.
long residentKb(const void* start)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression entry(QStringLiteral("^%1-.*?^Rss: +(\\d+)").arg(quintptr(start), 0, 16),
                                   QRegularExpression::MultilineOption |
                                       QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = entry.match(QString::fromLatin1(smaps.readAll()));
    return match.hasMatch() ? match.captured(1).toLong() : -1;
}

TEST(ResidentMemory, LetsGoOfPagesReadFromAFileAndKeepsWhatWasWritten)
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
    uchar* copy = file.map(0, 4096, QFileDevice::MapPrivateOption); // our own once written
    ASSERT_TRUE(mapped && copy);
    ASSERT_EQ(QByteArray(reinterpret_cast<const char*>(mapped), content.size()), content);
    ASSERT_GT(residentKb(mapped), 0);
    copy[0] = 'b';

    EXPECT_GT(releaseCleanFilePages(), 0u);
    EXPECT_EQ(residentKb(mapped), 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(mapped), content.size()), content);
    EXPECT_EQ(copy[0], 'b');
}

} // namespace
} // namespace quorva
