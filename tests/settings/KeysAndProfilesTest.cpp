#include <gtest/gtest.h>

#include "settings/Profiles.h"
#include "settings/StringLines.h"
#include "settings/SettingsTestSupport.h"

namespace grottix {
namespace {

using test::TFailingStore;
using TOp = TFailingStore::TOp;

const std::string ViewerFormPath = "Software\\Halvoran\\GrottixViewer\\1.0\\DXViewerForm";

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ERegistryError& error) {
        return error.what();
    }
    return "no ERegistryError";
}

// The viewer's layout: the root key, the main window's key below it, profiles under that.
struct TViewerKeys {
    explicit TViewerKeys(TSettingsStore& store, TKeyTimerFactory timers = {})
        : root(test::ViewerRootKey(store, std::move(timers))), form(store, "DXViewerForm") {
        form.SetParentKey(root.get());
    }
    std::unique_ptr<TAppConfigKey> root;
    TCustomKey form;
};

TEST(ConfigurationKeys, ComposeTheirPathsFromParentsAndApplicationNames) {
    TMemorySettingsStore store;
    TCustomKey lost(store, "Options");
    EXPECT_EQ(lost.FullPath(), "Software\\!!!AnotherReg-LostKey!!!\\Options");
    lost.Open();
    EXPECT_TRUE(store.KeyExists("Software\\!!!AnotherReg-LostKey!!!\\Options"));

    TViewerKeys keys(store);
    EXPECT_EQ(keys.form.FullPath(), ViewerFormPath);
    EXPECT_FALSE(keys.form.Exists());
    TVariantProfile width("SceneWidth", &keys.form);
    width.WriteValue(int32_t{640});
    EXPECT_TRUE(keys.form.Exists());
    ASSERT_NE(store.FindValue(ViewerFormPath, "SceneWidth"), nullptr);
}

TEST(ConfigurationKeys, RenamingTheApplicationClosesTheKeyAndTheNextUseOpensTheNewPath) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    TVariantProfile factor("LightFactor", root.get());
    factor.WriteValue(0.5);
    EXPECT_TRUE(root->IsOpen());

    root->SetApplicationName("OtherViewer");
    EXPECT_FALSE(root->IsOpen());
    EXPECT_TRUE(factor.ReadValue().IsEmpty());
    factor.WriteValue(0.75);
    EXPECT_EQ(DecodeVariant(store.FindValue("Software\\Halvoran\\OtherViewer\\1.0", "LightFactor")->Bytes), TVariant(0.75));
    EXPECT_EQ(DecodeVariant(store.FindValue("Software\\Halvoran\\GrottixViewer\\1.0", "LightFactor")->Bytes), TVariant(0.5));

    EXPECT_EQ(MessageOf([&] { root->SetCompanyName(""); }), "Invalid value");
    EXPECT_EQ(root->CompanyName(), "Halvoran");
}

TEST(ConfigurationKeys, RefuseCyclesAndKeepTheirOldParent) {
    TMemorySettingsStore store;
    TCustomKey grandparent(store, "A"), parent(store, "B"), child(store, "C");
    parent.SetParentKey(&grandparent);
    child.SetParentKey(&parent);
    EXPECT_EQ(MessageOf([&] { grandparent.SetParentKey(&child); }), "Cross-references are not popular anymore");
    EXPECT_EQ(MessageOf([&] { parent.SetParentKey(&parent); }), "Cross-references are not popular anymore");
    EXPECT_EQ(grandparent.ParentKey(), nullptr);
    EXPECT_EQ(parent.ParentKey(), &grandparent);
}

TEST(ConfigurationKeys, ForgetADestroyedKeyInsteadOfUsingIt) {
    TMemorySettingsStore store;
    TCustomKey child(store, "Child");
    TStringProfile profile("Paths");
    {
        TCustomKey parent(store, "Parent");
        child.SetParentKey(&parent);
        profile.SetKey(&parent);
        child.Open();
    }
    EXPECT_EQ(child.ParentKey(), nullptr);
    EXPECT_FALSE(child.IsOpen());
    EXPECT_EQ(child.FullPath(), "Software\\!!!AnotherReg-LostKey!!!\\Child");
    EXPECT_EQ(profile.Key(), nullptr);
    EXPECT_EQ(MessageOf([&] { profile.ReadValue(); }), "No key associated with the profile");
}

TEST(ConfigurationKeys, RootKeyClosesFiveSecondsAfterItsLastOpening) {
    TMemorySettingsStore store;
    test::TManualTimerState timer;
    TViewerKeys keys(store, test::ManualTimers(timer));
    TVariantProfile profile("SafeMode", &keys.form);
    profile.WriteValue(true);
    EXPECT_TRUE(timer.Running);
    EXPECT_EQ(timer.Interval, std::chrono::milliseconds(5000));

    timer.Fire();
    EXPECT_FALSE(keys.root->IsOpen());
    EXPECT_TRUE(keys.form.IsOpen()) << "child keys keep their handle";
    EXPECT_EQ(profile.ReadValue(), TVariant(true));

    keys.root->Open();
    EXPECT_TRUE(timer.Running);
    keys.root->Close();
    EXPECT_EQ(timer.Alive, 0) << "closing releases the timer";
    EXPECT_EQ(timer.Created, 1) << "the timer outlives its own firing";
}

TEST(ConfigurationKeys, DeletingAKeyRemovesItsValuesAndSubkeys) {
    TMemorySettingsStore store;
    TViewerKeys keys(store);
    TVariantProfile width("SceneWidth", &keys.form);
    width.WriteValue(int32_t{800});
    keys.root->Delete();
    EXPECT_FALSE(keys.root->Exists());
    EXPECT_FALSE(store.KeyExists(ViewerFormPath));
    EXPECT_TRUE(store.KeyExists("Software\\Halvoran\\GrottixViewer"));
    EXPECT_EQ(MessageOf([&] { keys.root->Delete(); }), "Cannot delete key Software\\Halvoran\\GrottixViewer\\1.0");
}

TEST(ConfigurationKeys, StoreFailuresRaiseTheirMessages) {
    TFailingStore store;
    TViewerKeys keys(store);
    TVariantProfile profile("LightFactor", &keys.form);

    store.Failing = {TOp::Open};
    EXPECT_EQ(MessageOf([&] { profile.ReadValue(); }), "Cannot open key Software\\Halvoran\\GrottixViewer\\1.0");
    store.Failing = {TOp::Write};
    EXPECT_EQ(MessageOf([&] { profile.WriteValue(0.5); }), "Error writing value");
    store.Failing = {};
    profile.WriteValue(0.5);
    store.Failing = {TOp::Read};
    EXPECT_EQ(MessageOf([&] { profile.ReadValue(); }), "Error reading value");
    store.Failing = {TOp::DeleteValue};
    EXPECT_EQ(MessageOf([&] { profile.Delete(); }), "Cannot delete value LightFactor::DXViewerForm");
    store.Failing = {TOp::Close};
    EXPECT_EQ(MessageOf([&] { keys.form.Close(); }), "Cannot close key DXViewerForm");
    EXPECT_FALSE(keys.form.IsOpen());
}

TEST(Profiles, MissingValuesReadAsEmptyAndExistOnlyOnceWritten) {
    TMemorySettingsStore store;
    TViewerKeys keys(store);
    TVariantProfile variant("SceneHeight", &keys.form);
    TStringProfile text("FileMenuHistoryPaths", &keys.form);
    EXPECT_TRUE(variant.ReadValue().IsEmpty());
    EXPECT_EQ(text.ReadValue(), "");
    EXPECT_FALSE(variant.Exists());
    EXPECT_EQ(MessageOf([&] { variant.Delete(); }), "Cannot delete value SceneHeight::DXViewerForm");
    variant.WriteValue(int32_t{480});
    EXPECT_TRUE(variant.Exists());
    variant.Delete();
    EXPECT_FALSE(variant.Exists());
}

TEST(Profiles, StringProfileKeepsLineBreaksAndDropsOnlyItsTerminator) {
    TMemorySettingsStore store;
    TViewerKeys keys(store);
    TStringProfile paths("FileMenuHistoryPaths", &keys.form);
    const std::string text = JoinLines({"/levels/a.tr4", "/levels/b.phd"});
    paths.WriteValue(text);
    const auto* stored = store.FindValue(ViewerFormPath, "FileMenuHistoryPaths");
    EXPECT_EQ(stored->Kind, TValueKind::String);
    EXPECT_EQ(stored->Bytes.size(), text.size() + 1);
    EXPECT_EQ(paths.ReadValue(), "/levels/a.tr4\r\n/levels/b.phd\r\n");
}

}  // namespace
}  // namespace grottix
