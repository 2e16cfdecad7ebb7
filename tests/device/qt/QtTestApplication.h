#pragma once
// One Qt application per test process, on the platform the tests are given (offscreen). With a
// display at hand (Xvfb in the test script) that platform can make OpenGL contexts too.

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
