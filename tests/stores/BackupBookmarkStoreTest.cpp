#include "Await.h"
#include "Printers.h"

#include "model/BridgeClientError.h"
#include "model/PlatformError.h"
#include "stores/BackupBookmarkStore.h"
#include "stores/FolderReference.h"
#include "stores/Preferences.h"

#include <QTemporaryDir>

#include <filesystem>
#include <gtest/gtest.h>

namespace quorva {
namespace {

namespace fs = std::filesystem;

class BackupBookmarkStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    [[nodiscard]] fs::path root() const { return fs::canonical(m_dir.path().toStdString()); }
    [[nodiscard]] QByteArray stored() const
    {
        return Preferences().bytes(store.key()).value_or(QByteArray());
    }

    QTemporaryDir m_dir;
    const BackupBookmarkStore store{Preferences(), QStringLiteral("test.bookmark")};
};

TEST_F(BackupBookmarkStoreTest,
       ResolvesTheSavedFolderRewritesItOnlyWhenReplacedOrReachedThroughALinkAndKeepsItWhenGone)
{
    const fs::path folder = root() / "a" / "Backup";
    fs::create_directories(folder);
    fs::create_directories(root() / "b" / "Backup");
    fs::create_directory_symlink(root() / "a", root() / "link");
    store.save(root() / "link" / "Backup" / ".");
    const QByteArray saved = stored();
    EXPECT_EQ(store.resolve(), folder);
    EXPECT_EQ(stored(), saved);

    // Keep the old folder around so that the new one cannot reuse its inode.
    fs::rename(folder, root() / "a" / "Backup.old");
    fs::create_directory(folder);
    EXPECT_EQ(store.resolve(), folder);
    EXPECT_EQ(FolderReference::decode(stored()), FolderReference::make(folder));

    fs::rename(root() / "a", root() / "a.old");
    fs::create_directory_symlink(root() / "b", root() / "a");
    const fs::path current = root() / "b" / "Backup";
    EXPECT_EQ(store.resolve(), current);
    EXPECT_EQ(FolderReference::decode(stored()), FolderReference::make(current));

    // A folder that cannot be saved, or has gone, fails naming it, and the stored one stays.
    const QByteArray kept = stored();
    const auto unsaved = test::thrownBy<PlatformError>([&] { store.save(root() / "Missing"); });
    ASSERT_TRUE(unsaved);
    EXPECT_NE(std::string(unsaved->what()).find((root() / "Missing").string()), std::string::npos);
    EXPECT_EQ(store.resolve(), current);
    fs::remove(current);
    const auto gone = test::thrownBy<PlatformError>([&] { (void)store.resolve(); });
    ASSERT_TRUE(gone);
    EXPECT_NE(std::string(gone->what()).find(current.string()), std::string::npos) << gone->what();
    EXPECT_EQ(stored(), kept);
    QFile file(QString::fromStdString(current.string())); // a file in its place is no folder either
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(test::thrownBy<PlatformError>([&] { (void)store.resolve(); }));

    store.clear();
    EXPECT_EQ(test::thrownBy<BridgeClientError>([&] { (void)store.resolve(); }),
              BridgeClientError::backupAccessLost());
}

TEST_F(BackupBookmarkStoreTest, AnUnreadableStoredFormFailsClearly)
{
    const std::pair<const char*, QVariant> forms[] = {
        {"garbage", QByteArray("\x00\xff garbage", 10)},
        {"array", QByteArray("[1, 2]")},
        {"noInode", QByteArray(R"({"version":1,"path":"/tmp","device":1})")},
        {"negativeDevice", QByteArray(R"({"version":1,"path":"/tmp","device":-1,"inode":2})")},
        {"laterVersion", QByteArray(R"({"version":99,"path":"/tmp","device":1,"inode":2})")},
        {"relativePath", QByteArray(R"({"version":1,"path":"tmp","device":1,"inode":2})")},
        {"text", QStringLiteral("/tmp")}};
    for (const auto& [name, value] : forms) {
        SCOPED_TRACE(name);
        Preferences().setValue(store.key(), value);
        const auto failure = test::thrownBy<PlatformError>([&] { (void)store.resolve(); });
        ASSERT_TRUE(failure);
        EXPECT_STREQ(failure->what(),
                     "The stored backup folder reference could not be read. Choose the folder again.");
    }
}

TEST(FolderReference, KeepsPathsThatAreNotUtf8)
{
    const FolderReference reference{1, fs::path("/tmp/caf\xe9 50%/x"), 7, 8};
    EXPECT_EQ(FolderReference::decode(reference.encode()), reference);
}

} // namespace
} // namespace quorva
