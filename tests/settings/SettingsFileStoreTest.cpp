#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "settings/Profiles.h"
#include "settings/SettingsFileStore.h"
#include "settings/SettingsTestSupport.h"
#include "storage/Stream.h"
#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

QString FileIn(const test::TempDir& dir, const char* name) { return QString::fromStdString(dir.file(name)); }

std::vector<uint8_t> FileBytes(const QString& path) { return ReadWholeFile(path.toStdString()); }

TEST(SettingsFileStore, ValuesOfEveryKindComeBackFromTheFileExactly) {
    test::TempDir dir;
    const QString file = FileIn(dir, "config/Halvoran/GrottixViewer.json");
    const std::string paths = "/levels/a&b.tr4\r\n/levels/c, d.phd\r\n";
    const std::string notUtf8("\xFF\xFE level", 8);
    {
        TSettingsFileStore store(file);
        auto root = test::ViewerRootKey(store);
        TCustomKey form(store, "DXViewerForm");
        form.SetParentKey(root.get());
        TVariantProfile(std::string("LightFactor"), &form).WriteValue(0.35);
        TVariantProfile(std::string("Transparent"), &form).WriteValue(false);
        TStringProfile(std::string("FileMenuHistoryPaths"), &form).WriteValue(paths);
        TStringProfile(std::string("odd/name\\with%signs"), &form).WriteValue(notUtf8);
        TStringProfile(std::string(), &form).WriteValue("default value");
    }
    ASSERT_TRUE(QFile::exists(file)) << "the folder is created";

    TSettingsFileStore reopened(file);
    auto root = test::ViewerRootKey(reopened);
    TCustomKey form(reopened, "DXViewerForm");
    form.SetParentKey(root.get());
    EXPECT_EQ(TVariantProfile("LightFactor", &form).ReadValue(), TVariant(0.35));
    EXPECT_EQ(TVariantProfile("Transparent", &form).ReadValue(), TVariant(false));
    EXPECT_EQ(TStringProfile("FileMenuHistoryPaths", &form).ReadValue(), paths);
    EXPECT_EQ(TStringProfile("odd/name\\with%signs", &form).ReadValue(), notUtf8);
    EXPECT_EQ(TStringProfile("", &form).ReadValue(), "default value");
    EXPECT_FALSE(TStringProfile("odd", &form).Exists());
}

TEST(SettingsFileStore, KeysExistOnceOpenedAndDeletingOneSparesAValueOfTheSameName) {
    test::TempDir dir;
    TSettingsFileStore store(FileIn(dir, "settings.json"));
    EXPECT_FALSE(store.KeyExists("Software\\Empty"));
    ASSERT_TRUE(store.OpenKey("Software\\Empty"));
    EXPECT_TRUE(TSettingsFileStore(FileIn(dir, "settings.json")).KeyExists("Software\\Empty"));

    const std::vector<uint8_t> bytes{1, 0, 2};
    ASSERT_TRUE(store.OpenKey("Software\\Parent\\Twin"));
    ASSERT_TRUE(store.WriteValue("Software\\Parent", "Twin", TValueKind::Binary, bytes));
    ASSERT_TRUE(store.WriteValue("Software\\Parent\\Twin", "Inner", TValueKind::Binary, bytes));
    ASSERT_TRUE(store.DeleteKey("Software\\Parent\\Twin"));
    EXPECT_FALSE(store.KeyExists("Software\\Parent\\Twin"));
    EXPECT_EQ(store.ReadValue("Software\\Parent", "Twin"), bytes);
    EXPECT_FALSE(store.WriteValue("Software\\Parent\\Twin", "Inner", TValueKind::Binary, bytes))
        << "a deleted key takes no values";
    EXPECT_FALSE(store.DeleteKey("Software\\Parent\\Twin"));
}

TEST(SettingsFileStore, AFailedWriteLeavesTheOldFileWholeAndTheStoreUsable) {
    test::TempDir dir;
    const QString file = FileIn(dir, "settings.json");
    TSettingsFileStore store(file);
    auto root = test::ViewerRootKey(store);
    TStringProfile paths("FileMenuHistoryPaths", root.get());
    paths.WriteValue("/levels/first.tr4\r\n");
    const std::vector<uint8_t> before = FileBytes(file);

    {
        const test::TFileSizeLimit limit(before.size() + 64);
        try {
            paths.WriteValue(std::string(100000, 'x'));
            ADD_FAILURE() << "a write that could not persist was reported as done";
        } catch (const ERegistryError& error) {
            EXPECT_STREQ(error.what(), "Error writing value");
        }
    }
    EXPECT_EQ(FileBytes(file), before);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files), QStringList{"settings.json"})
        << "no temporary file is left behind";
    EXPECT_EQ(paths.ReadValue(), "/levels/first.tr4\r\n") << "the store holds what the file holds";

    paths.WriteValue("/levels/second.tr4\r\n");
    EXPECT_EQ(TStringProfile("FileMenuHistoryPaths", root.get()).ReadValue(), "/levels/second.tr4\r\n");
    TSettingsFileStore reopened(file);
    auto reopenedRoot = test::ViewerRootKey(reopened);
    EXPECT_EQ(TStringProfile("FileMenuHistoryPaths", reopenedRoot.get()).ReadValue(), "/levels/second.tr4\r\n");
}

TEST(SettingsFileStore, ADamagedFileReadsAsEmptyAndIsReplacedByTheNextWrite) {
    test::TempDir dir;
    const QString file = FileIn(dir, "settings.json");
    for (const std::string& damage : {std::string(R"({"Software\\G": {"Paths": "a)"), std::string("\x01\xFF[[[\0", 7)}) {
        WriteFileAtomically(file.toStdString(), damage.data(), damage.size());
        TSettingsFileStore store(file);
        EXPECT_FALSE(store.KeyExists("Software\\G"));
        ASSERT_TRUE(store.OpenKey("Software\\G"));
        const std::vector<uint8_t> bytes{9, 8, 7};
        ASSERT_TRUE(store.WriteValue("Software\\G", "New", TValueKind::Binary, bytes));
        EXPECT_EQ(TSettingsFileStore(file).ReadValue("Software\\G", "New"), bytes);
    }
}

TEST(SettingsFileStore, KeepsWhatAnotherRunningCopyWroteMeanwhile) {
    test::TempDir dir;
    const QString file = FileIn(dir, "settings.json");
    TSettingsFileStore first(file), second(file);
    auto firstRoot = test::ViewerRootKey(first);
    auto secondRoot = test::ViewerRootKey(second);
    TVariantProfile(std::string("SafeMode"), firstRoot.get()).WriteValue(false);
    TVariantProfile(std::string("LightFactor"), secondRoot.get()).WriteValue(0.9);
    EXPECT_EQ(TVariantProfile("SafeMode", secondRoot.get()).ReadValue(), TVariant(false));
    EXPECT_EQ(TVariantProfile("LightFactor", firstRoot.get()).ReadValue(), TVariant(0.9));
}

TEST(SettingsFileStore, ChangesHeldBackAreStoredTogetherOrNotAtAll) {
    test::TempDir dir;
    const QString file = FileIn(dir, "settings.json");
    TSettingsFileStore store(file);
    auto root = test::ViewerRootKey(store);
    TVariantProfile safeMode("SafeMode", root.get());
    TStringProfile paths("FileMenuHistoryPaths", root.get());
    safeMode.WriteValue(true);
    const std::vector<uint8_t> before = FileBytes(file);

    store.BeginChanges();
    safeMode.WriteValue(false);
    paths.WriteValue(std::string(1000, 'x'));  // small enough to sit in the write buffer
    EXPECT_EQ(safeMode.ReadValue(), TVariant(false)) << "reads see the held-back changes";
    EXPECT_EQ(FileBytes(file), before) << "nothing is written before the commit";
    {
        const test::TFileSizeLimit limit(before.size() + 64);
        EXPECT_FALSE(store.CommitChanges());
    }
    EXPECT_EQ(FileBytes(file), before) << "the small change did not go without the large one";
    EXPECT_EQ(store.LastError(), "Cannot write " + file.toStdString() + ": the disk is full, or a size limit was reached");

    store.BeginChanges();
    safeMode.WriteValue(false);
    paths.WriteValue("/levels/a.tr4\r\n");
    ASSERT_TRUE(store.CommitChanges());
    TSettingsFileStore reopened(file);
    auto reopenedRoot = test::ViewerRootKey(reopened);
    EXPECT_EQ(TVariantProfile("SafeMode", reopenedRoot.get()).ReadValue(), TVariant(false));
    EXPECT_EQ(TStringProfile("FileMenuHistoryPaths", reopenedRoot.get()).ReadValue(), "/levels/a.tr4\r\n");
}

}  // namespace
}  // namespace grottix
