#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QWidget>

#include "settings/FormRestorer.h"
#include "settings/SettingsTestSupport.h"

namespace grottix {
namespace {

const std::string ViewerFormPath = "Software\\Halvoran\\GrottixViewer\\1.0\\DXViewerForm";

// The main window as built from its description, with a close handler of its own.
class TViewerForm : public QWidget {
public:
    TViewerForm() {
        setObjectName(QStringLiteral("DXViewerForm"));
        setGeometry(216, 128, 648, 574);
    }
    std::function<void(QCloseEvent*)> OnClose;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (OnClose) OnClose(event);
    }
};

struct TRestoredForm {
    TRestoredForm(TSettingsStore& store, TFormRestorerOption restoring = TFormRestorerOption::frSizeAndPosition)
        : root(test::ViewerRootKey(store)), restorer(new TFormRestorer(form, store, "FormRestorer1")) {
        restorer->SetParentKey(root.get());
        restorer->Restoring = restoring;
    }
    std::unique_ptr<TAppConfigKey> root;
    TViewerForm form;
    TFormRestorer* restorer;
};

std::vector<uint8_t> Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    std::vector<uint8_t> bytes;
    for (int32_t v : {left, top, width, height}) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    }
    return bytes;
}

void Store(TMemorySettingsStore& store, const std::vector<uint8_t>& bytes) {
    store.OpenKey(ViewerFormPath);
    store.WriteValue(ViewerFormPath, "SizeAndPosition", TValueKind::Binary, bytes);
}

TEST(FormRestorer, ClosingStoresTheBoundsUnderTheFormsKeyAndTheNextFormGetsThemBack) {
    TMemorySettingsStore store;
    {
        TRestoredForm first(store);
        first.restorer->Loaded();
        EXPECT_EQ(first.form.geometry(), QRect(216, 128, 648, 574)) << "nothing stored yet";
        first.form.setGeometry(-40, 30, 800, 600);
        first.form.close();
    }
    const auto* stored = store.FindValue(ViewerFormPath, "SizeAndPosition");
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->Bytes, Bounds(-40, 30, 800, 600));

    TRestoredForm second(store);
    second.restorer->Loaded();
    EXPECT_EQ(second.form.pos(), QPoint(-40, 30));
    EXPECT_EQ(second.form.size(), QSize(800, 600));
}

TEST(FormRestorer, RestoresOnlyWhatItIsToldToAndIgnoresAValueOfTheWrongSize) {
    TMemorySettingsStore store;
    Store(store, Bounds(10, 20, 500, 400));
    TRestoredForm positionOnly(store, TFormRestorerOption::frPositionOnly);
    positionOnly.restorer->Loaded();
    EXPECT_EQ(positionOnly.form.geometry(), QRect(10, 20, 648, 574));

    TRestoredForm sizeOnly(store, TFormRestorerOption::frSizeOnly);
    sizeOnly.restorer->Loaded();
    EXPECT_EQ(sizeOnly.form.geometry(), QRect(216, 128, 500, 400));

    std::vector<uint8_t> twelve = Bounds(10, 20, 500, 400);
    twelve.resize(12);
    Store(store, twelve);
    TRestoredForm form(store);
    form.restorer->Loaded();
    EXPECT_EQ(form.form.geometry(), QRect(216, 128, 648, 574));
}

TEST(FormRestorer, TheFormsOwnCloseHandlerRunsAfterTheBoundsAreWrittenAndStillDecides) {
    TMemorySettingsStore store;
    TRestoredForm form(store);
    bool boundsWereThere = false;
    form.form.OnClose = [&](QCloseEvent* event) {
        boundsWereThere = store.FindValue(ViewerFormPath, "SizeAndPosition") != nullptr;
        event->ignore();
    };
    form.restorer->Loaded();
    form.form.show();
    EXPECT_FALSE(form.form.close());
    EXPECT_TRUE(boundsWereThere);
    EXPECT_TRUE(form.form.isVisible());
}

TEST(FormRestorer, AFailedWriteIsReportedAndSkipsTheFormsHandler) {
    test::TFailingStore store;
    TRestoredForm form(store);
    bool handlerRan = false;
    form.form.OnClose = [&](QCloseEvent*) { handlerRan = true; };
    std::string reported;
    form.restorer->OnWriteError = [&](const EGrottixError& error) { reported = error.what(); };
    form.restorer->Loaded();
    store.Failing = {test::TFailingStore::TOp::Write};
    form.form.show();
    form.form.close();
    EXPECT_EQ(reported, "Error writing value");
    EXPECT_FALSE(handlerRan);
    EXPECT_FALSE(form.form.isVisible()) << "the window still closes";
}

}  // namespace
}  // namespace grottix
