// The GL tests share one real OpenGL context: a small GLUT window on the
// virtual display that tests/with-xvfb.sh starts.
#include <GL/glut.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(64, 64);
    glutCreateWindow("render tests");
    return RUN_ALL_TESTS();
}
