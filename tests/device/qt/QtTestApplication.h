#pragma once
// One Qt application per test process. Under a display (Xvfb in the test script) the xcb platform is
// used so that OpenGL works; otherwise the offscreen platform the tests are given.

#include <QApplication>

namespace grottix::test {

QApplication& TestApplication();

// Whether OpenGL 3.3 can be had; when it cannot, a test calls GTEST_SKIP, or fails when the test
// script demands OpenGL (GROTTIX_REQUIRE_GL=1).
bool OpenGLAvailable();
bool OpenGLRequired();

}  // namespace grottix::test

#define GROTTIX_REQUIRE_OPENGL()                                                                     \
    do {                                                                                             \
        if (!::grottix::test::OpenGLAvailable()) {                                                   \
            if (::grottix::test::OpenGLRequired()) FAIL() << "OpenGL 3.3 is required but not available"; \
            GTEST_SKIP() << "no OpenGL 3.3 here";                                                    \
        }                                                                                            \
    } while (false)
