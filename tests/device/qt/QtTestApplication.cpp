#include "device/qt/QtTestApplication.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

#include "device/qt/OpenGLDevice.h"

namespace grottix::test {

namespace {

std::unique_ptr<QApplication> application;

// The OpenGL driver is unloaded when the application ends; kept loaded, it can still be named in a
// leak report (and its one-time allocations told apart from ours, see below).
void keepDriversLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const char* name = info->dlpi_name;
            if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libLLVM") || std::strstr(name, "libgallium")))
                dlopen(name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}

// Starts the application before the first test (fixtures may hold widgets) and ends it after the
// last, before static objects of Qt go away.
class TQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { TestApplication(); }
    void TearDown() override {
        keepDriversLoaded();
        application.reset();
    }
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace

QApplication& TestApplication() {
    if (!application) {
        static int argc = 1;
        static char name[] = "grottix-device-tests";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
    }
    return *application;
}

// A loaded X server now and then refuses one context among many test processes, once for more
// than half a second: asked for a few seconds where OpenGL is required (three times elsewhere), a
// machine without OpenGL 3.3 still says no.
bool OpenGLAvailable() {
    TestApplication();
    static const bool available = [] {
        const int attempts = OpenGLRequired() ? 25 : 3;
        for (int attempt = 0; attempt < attempts; ++attempt) {
            if (TOpenGLDevice::Available()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return false;
    }();
    return available;
}

bool OpenGLRequired() {
    const char* value = std::getenv("GROTTIX_REQUIRE_GL");
    return value && std::string(value) == "1";
}

}  // namespace grottix::test

// Allocations the OpenGL driver (llvmpipe) and D-Bus (through SDL) make once and never free are
// theirs, not leaks of this program.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:_dri.so\nleak:libLLVM\nleak:libgallium\nleak:libdbus-1.so\n";
}
