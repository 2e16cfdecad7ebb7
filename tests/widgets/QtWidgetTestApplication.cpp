// One QApplication for every test of a widget test program: made before the first test, ended
// after the last. Tests run under the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class TWidgetApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "grottix-widget-tests";
        static char* argv[] = {name, nullptr};
        application_ = std::make_unique<QApplication>(argc, argv);
        QApplication::setApplicationDisplayName(QStringLiteral("Grottix Viewer"));
    }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new TWidgetApplication);

}  // namespace
