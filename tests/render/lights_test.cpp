#include "render/lights.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

namespace {

using Vec4 = std::array<float, 4>;

Vec4 light(GLenum light, GLenum parameter) {
    Vec4 value{};
    glGetLightfv(light, parameter, value.data());
    return value;
}

Vec4 material(GLenum parameter) {
    Vec4 value{};
    glGetMaterialfv(GL_FRONT, parameter, value.data());
    return value;
}

class Lights : public testing::Test {
protected:
    void SetUp() override {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        setupLights();
    }
};

TEST_F(Lights, lightZeroShinesFromAFixedDirection) {
    EXPECT_EQ(light(GL_LIGHT0, GL_POSITION), (Vec4{50, 200, 200, 0}));
    EXPECT_EQ(light(GL_LIGHT0, GL_AMBIENT), (Vec4{0.2f, 0.2f, 0.2f, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_DIFFUSE), (Vec4{0.5f, 0.5f, 0.5f, 1}));
    EXPECT_EQ(light(GL_LIGHT0, GL_SPECULAR), (Vec4{1, 1, 1, 1}));
}

TEST_F(Lights, orbitingLightsAreGreyWithoutAmbient) {
    for (GLenum id : {GL_LIGHT1, GL_LIGHT2}) {
        EXPECT_EQ(light(id, GL_DIFFUSE), (Vec4{0.5f, 0.5f, 0.5f, 1}));
        EXPECT_EQ(light(id, GL_SPECULAR), (Vec4{0.5f, 0.5f, 0.5f, 1}));
        EXPECT_EQ(light(id, GL_AMBIENT), (Vec4{0, 0, 0, 1}));
    }
}

TEST_F(Lights, onlyLightsZeroToTwoAreOn) {
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT7));
}

TEST_F(Lights, startingMaterialIsShinyCyan) {
    EXPECT_EQ(material(GL_DIFFUSE), (Vec4{0.1f, 0.8f, 0.8f, 1}));
    EXPECT_EQ(material(GL_SPECULAR), (Vec4{1, 1, 1, 1}));
    EXPECT_EQ(material(GL_SHININESS)[0], 50.0f);
}

}  // namespace
