#include "render/lights.h"

#include <gtest/gtest.h>

#include "tests/render/gl_readback.h"

namespace {

Vec4 light(GLenum light, GLenum parameter) {
    Vec4 value{};
    glGetLightfv(light, parameter, value.data());
    return value;
}

TEST(Lights, threeGreyLightsAndAShinyCyanStartingMaterial) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    setupLights();
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Vec4{50, 200, 200, 0}));
    EXPECT_EQ(light(GL_LIGHT0, GL_AMBIENT), (Vec4{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_SPECULAR), (Vec4{1, 1, 1, 1}));
    for (GLenum id : {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2}) {
        EXPECT_TRUE(glIsEnabled(id));
        EXPECT_EQ(light(id, GL_DIFFUSE), (Vec4{0.5f, 0.5f, 0.5f, 1}));
    }
    for (GLenum id : {GL_LIGHT1, GL_LIGHT2}) {
        EXPECT_EQ(light(id, GL_SPECULAR), (Vec4{0.5f, 0.5f, 0.5f, 1}));
        EXPECT_EQ(light(id, GL_AMBIENT), (Vec4{0, 0, 0, 1}));
    }
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_EQ(material(GL_DIFFUSE), (Vec4{0.1f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(material(GL_SPECULAR), (Vec4{1, 1, 1, 1}));
    EXPECT_EQ(material(GL_SHININESS)[0], 50.0f);
}

}  // namespace
