#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <string_view>

#include "app/dialogs/EngineSetupDialog.h"
#include "settings/SettingsTestSupport.h"

namespace grottix {
namespace {

struct TSetupDialog {
    TSetupDialog() : root(test::ViewerRootKey(store)), form(nullptr, *root) {}
    QStringList CheckedPresets() {
        emit form.PresetMenu()->aboutToShow();
        QStringList checked;
        for (QAction* item : form.PresetMenu()->actions()) {
            if (item->isChecked()) checked << item->text();
        }
        return checked;
    }
    TMemorySettingsStore store;
    std::unique_ptr<TAppConfigKey> root;
    TGrottix3DEngineSetupForm form;
};

TEST(EngineSetupDialog, ThePresetMenuMarksTheRowTheBoxesMatch) {
    TSetupDialog dialog;
    dialog.form.SetOptions({true, false, true, true});
    EXPECT_EQ(dialog.CheckedPresets(), QStringList{"Full"});
    dialog.form.PresetItem(3)->trigger();
    EXPECT_EQ(dialog.form.Options(), (TEngineOptions{false, true, false, false}));
    EXPECT_EQ(dialog.CheckedPresets(), QStringList{"Very safe"});
    dialog.form.SetOptions({false, false, false, false});
    EXPECT_TRUE(dialog.CheckedPresets().isEmpty());
}

TEST(EngineSetupDialog, OkReadsTheFourBoxesBackIntoTheirOwnOptions) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    bool hardware = true, safeMode = false, filtering = false, transparency = true;
    TEngineOptions shown;
    const bool accepted = ShowEngineSetupDialog(nullptr, *root, hardware, safeMode, filtering, transparency,
                                                [&](QDialog& dialog) {
                                                    auto& form = static_cast<TGrottix3DEngineSetupForm&>(dialog);
                                                    shown = form.Options();
                                                    form.CheckBox3()->setChecked(false);
                                                    form.CheckBox4()->setChecked(true);
                                                    return int(QDialog::Accepted);
                                                });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(shown, (TEngineOptions{true, false, true, false})) << "transparency and filtering are not swapped";
    EXPECT_TRUE(hardware);
    EXPECT_FALSE(safeMode);
    EXPECT_FALSE(transparency);
    EXPECT_TRUE(filtering);
}

TEST(EngineSetupDialog, DrawEveryRoomIsShownOnlyWhenAskedForAndNoPresetTouchesIt) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    bool hardware = true, safeMode = false, filtering = true, transparency = true, everyRoom = false;
    bool visible = false;
    EXPECT_TRUE(ShowEngineSetupDialog(
        nullptr, *root, hardware, safeMode, filtering, transparency,
        [&](QDialog& dialog) {
            auto& form = static_cast<TGrottix3DEngineSetupForm&>(dialog);
            visible = !form.EveryRoomBox()->isHidden();
            form.EveryRoomBox()->setChecked(true);
            form.VerySafe1Click();
            return int(QDialog::Accepted);
        },
        &everyRoom));
    EXPECT_TRUE(visible);
    EXPECT_TRUE(everyRoom);
    EXPECT_FALSE(hardware);
    ShowEngineSetupDialog(nullptr, *root, hardware, safeMode, filtering, transparency, [&](QDialog& dialog) {
        visible = !static_cast<TGrottix3DEngineSetupForm&>(dialog).EveryRoomBox()->isHidden();
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(visible);
}

TEST(EngineSetupDialog, CancelAfterAPresetChangesNoneOfTheOptions) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    bool hardware = true, safeMode = false, filtering = true, transparency = true;
    EXPECT_FALSE(ShowEngineSetupDialog(nullptr, *root, hardware, safeMode, filtering, transparency, [](QDialog& dialog) {
        static_cast<TGrottix3DEngineSetupForm&>(dialog).VerySafe1Click();
        dialog.reject();
        return dialog.result();
    }));
    EXPECT_TRUE(hardware && !safeMode && filtering && transparency);
    EXPECT_NE(store.FindValue("Software\\Halvoran\\GrottixViewer\\1.0\\Grottix3DEngineSetupForm", "SizeAndPosition"),
              nullptr);
}

}  // namespace
}  // namespace grottix
