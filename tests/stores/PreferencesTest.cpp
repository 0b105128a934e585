#include "Await.h"
#include "FilePermissions.h"
#include "Printers.h"

#include "model/PlatformError.h"
#include "stores/Preferences.h"

#include <QFileInfo>
#include <QProcess>

#include <filesystem>
#include <gtest/gtest.h>

namespace quorva {
namespace {

namespace fs = std::filesystem;

// Asks a second process what the preferences hold under key, as a later run would find it: the
// value's type ("absent" when there is none), then what the stores read from it.
QStringList probe(const QString& what, const QString& key)
{
    QProcess probe;
    probe.start(QStringLiteral(QUORVA_STORES_PROBE), {what, key});
    if (!probe.waitForFinished(30'000) || probe.exitCode() != 0)
        return {QStringLiteral("probe failed: ") + QString::fromUtf8(probe.readAllStandardError())};
    return QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

fs::perms modeOf(const QString& path)
{
    return fs::status(QFile::encodeName(path).toStdString()).permissions() & fs::perms::mask;
}

TEST(Preferences, WritesReachTheDiskAtOnceAndReadBackInTheirOwnType)
{
    const QByteArray bytes("\x00\xff@ByteArray(", 13);
    Preferences().setValue("test.string", QStringLiteral("child-7 ✓"));
    Preferences().setValue("test.bytes", bytes);
    Preferences().setValue("test.list", QStringList{"a", "b, c"});
    // On disk these look like a plain string and an invalid value; both must stay lists.
    Preferences().setValue("test.one", QStringList{"only"});
    Preferences().setValue("test.none", QStringList{});

    EXPECT_EQ(probe("string", "test.string"), (QStringList{"QString", "child-7 ✓"}));
    EXPECT_EQ(probe("bytes", "test.bytes"), (QStringList{"QByteArray", bytes.toHex()}));
    EXPECT_EQ(probe("checkpoint", "test.list"), (QStringList{"QStringList", "a", "b, c"}));
    EXPECT_EQ(probe("checkpoint", "test.one"), (QStringList{"QString", "only"}));
    EXPECT_EQ(probe("checkpoint", "test.none"), QStringList{"invalid"});
    EXPECT_EQ(Preferences().stringList("test.absent"), std::nullopt);
    EXPECT_EQ(Preferences().bytes("test.one"), std::nullopt);

    Preferences().remove("test.string");
    EXPECT_EQ(Preferences().value("test.string"), std::nullopt);
    EXPECT_EQ(probe("string", "test.string"), (QStringList{"absent", "<none>"}));
}

TEST(Preferences, FileAndFolderAreOwnerOnlyAndAWriteThatCannotReachTheDiskFailsAndIsNotWrittenLater)
{
    Preferences().setValue("test.private", QStringLiteral("x"));
    const QString file = Preferences().fileName();
    EXPECT_EQ(modeOf(file), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(modeOf(QFileInfo(file).path()), fs::perms::owner_all);

    // A folder that may not be written makes every write fail, even for root, while what is cached
    // stays readable.
    Preferences().setValue("test.kept", QStringLiteral("earlier"));
    const fs::path folder = QFileInfo(file).path().toStdString();
    {
        const test::FilePermissionsApply permissions;
        ASSERT_TRUE(permissions.applies());
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        const auto failure = test::thrownBy<PlatformError>(
            [] { Preferences().setValue("test.kept", QStringLiteral("lost")); });
        fs::permissions(folder, fs::perms::owner_all);
        ASSERT_TRUE(failure);
        EXPECT_NE(std::string(failure->what()).find(Preferences().fileName().toStdString()),
                  std::string::npos);
        EXPECT_EQ(Preferences().string("test.kept"), QStringLiteral("earlier"));
    }
    // The failed value must not ride along with the next successful write.
    Preferences().setValue("test.unrelated", QStringLiteral("later"));
    EXPECT_EQ(Preferences().string("test.kept"), QStringLiteral("earlier"));
    EXPECT_EQ(probe("string", "test.kept"), (QStringList{"QString", "earlier"}));
}

} // namespace
} // namespace quorva
