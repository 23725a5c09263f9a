// The GL tests share one real OpenGL context: a small GLUT window on the
// virtual display that tests/with-xvfb.sh starts.
#include <GL/glut.h>
#include <gtest/gtest.h>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

// A test that reads whole pictures back asks for a larger window.
#ifndef GL_TEST_WINDOW_SIDE
#define GL_TEST_WINDOW_SIDE 64
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(GL_TEST_WINDOW_SIDE, GL_TEST_WINDOW_SIDE);
    glutCreateWindow("render tests");
    int result = RUN_ALL_TESTS();
#ifdef __SANITIZE_ADDRESS__
    // Mesa unloads its driver at exit, and what the driver keeps would then
    // show as leaks of no known library, not to be told from ours. Checking
    // while it is loaded names the library of every leak.
    __lsan_do_leak_check();
#endif
    return result;
}
