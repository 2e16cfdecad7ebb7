#include "device/qt/QtTestApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "device/qt/OpenGLDevice.h"

namespace grottix::test {

namespace {

std::unique_ptr<QApplication> application;

// Starts the application before the first test (fixtures may hold widgets) and ends it after the
// last, before static objects of Qt go away.
class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { TestApplication(); }
    void TearDown() override { application.reset(); }
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace

QApplication& TestApplication() {
    if (!application) {
        if (qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
        static int argc = 1;
        static char name[] = "grottix-device-tests";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
    }
    return *application;
}

bool OpenGLAvailable() {
    TestApplication();
    static const bool available = TOpenGLDevice::Available();
    return available;
}

bool OpenGLRequired() {
    const char* value = std::getenv("GROTTIX_REQUIRE_GL");
    return value && std::string(value) == "1";
}

}  // namespace grottix::test
