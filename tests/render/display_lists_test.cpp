#include "render/display_lists.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

#include "model/loaded_model.h"
#include "render/lights.h"
#include "render/textures.h"
#include "tests/render/model_fixture.h"

namespace {

using Vec4 = std::array<float, 4>;

// A vertex as GL_4D_COLOR_TEXTURE feedback reports it.
struct FedVertex {
    float x, y, z, w;
    float colour[4];
    float s, t, r, q;
};
using Polygon = std::vector<FedVertex>;

// Replays `list` in feedback mode and returns the polygons it drew.
std::vector<Polygon> polygonsOf(GLuint list) {
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    GLint used = glRenderMode(GL_RENDER);
    std::vector<Polygon> polygons;
    for (GLint at = 0; at < used;) {
        if (buffer[at] != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << buffer[at];
            break;
        }
        int count = static_cast<int>(buffer[at + 1]);
        auto* first = reinterpret_cast<const FedVertex*>(&buffer[at + 2]);
        polygons.emplace_back(first, first + count);
        at += 2 + count * 12;
    }
    return polygons;
}

using Point = std::pair<float, float>;

std::vector<Point> cornersOf(const Polygon& polygon) {
    std::vector<Point> corners;
    for (const FedVertex& vertex : polygon) corners.emplace_back(vertex.x, vertex.y);
    return corners;
}

// Mesa may start a fed-back polygon at another corner, but keeps the cycle.
bool sameCycle(std::vector<Point> actual, const std::vector<Point>& expected) {
    for (size_t turn = 0; turn < actual.size(); ++turn) {
        if (actual == expected) return true;
        std::rotate(actual.begin(), actual.begin() + 1, actual.end());
    }
    return false;
}

Vec4 material(GLenum parameter) {
    Vec4 value{};
    glGetMaterialfv(GL_FRONT, parameter, value.data());
    return value;
}

class DisplayLists : public testing::Test {
protected:
    // Window coordinates equal model x and y, so fed-back vertices can be
    // compared with the model's own.
    void SetUp() override {
        glViewport(0, 0, 64, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 64, 0, 64, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        setupLights();
    }

    // Material 1 gets a texture of its own without any image file.
    void giveMaterialATexture(int32_t m) {
        glGenTextures(1, &textureIds[m]);
        loadedMaterials[m].hasTexture = 1;
    }
};

const VertexRecord A{10, 10, 0, 0}, B{50, 10, 0, 0}, C{50, 50, 0, 0}, D{10, 50, 0, 0};

TEST_F(DisplayLists, objectIGetsListIPlusOne) {
    ObjectRecord triangle = makeObject({A, B, C}, {makeFace({{0}, {1}, {2}}, -1)});
    installModel({triangle, triangle, triangle}, {});
    buildDisplayLists();
    EXPECT_EQ(displayListIds[0], 1u);
    EXPECT_EQ(displayListIds[1], 2u);
    EXPECT_EQ(displayListIds[2], 3u);
    EXPECT_EQ(polygonsOf(3).size(), 1u);
}

TEST_F(DisplayLists, facesGoAsPolygonsWithTheirCornersInFileOrder) {
    ObjectRecord object = makeObject({A, B, C, D}, {makeFace({{2}, {3}, {0}}, -1), makeFace({{0}, {1}, {2}, {3}}, -1)});
    installModel({object}, {});
    buildDisplayLists();
    std::vector<Polygon> polygons = polygonsOf(1);
    // Mesa feeds polygons back as triangles: the quad comes back as a fan of
    // two.
    ASSERT_EQ(polygons.size(), 3u);
    EXPECT_TRUE(sameCycle(cornersOf(polygons[0]), {{50, 50}, {10, 50}, {10, 10}}));
    EXPECT_TRUE(sameCycle(cornersOf(polygons[1]), {{10, 10}, {50, 10}, {50, 50}}));
    EXPECT_TRUE(sameCycle(cornersOf(polygons[2]), {{10, 10}, {50, 50}, {10, 50}}));
}

TEST_F(DisplayLists, texturedFaceSendsEachCornersCoordinatesSwapped) {
    ObjectRecord object = makeObject({A, B, C}, {makeFace({{0, 0.25f, 0.75f}, {1, 1, 0}, {2, 0.5f, 0.125f}}, 1)});
    installModel({object}, {makeMaterial(), makeMaterial()});
    giveMaterialATexture(1);
    buildDisplayLists();
    std::vector<Polygon> polygons = polygonsOf(1);
    ASSERT_EQ(polygons.size(), 1u);
    ASSERT_EQ(polygons[0].size(), 3u);
    std::map<Point, Point> coordinates;
    for (const FedVertex& vertex : polygons[0]) coordinates[{vertex.x, vertex.y}] = {vertex.s, vertex.t};
    EXPECT_EQ(coordinates[Point(A.x, A.y)], Point(0.75f, 0.25f));
    EXPECT_EQ(coordinates[Point(B.x, B.y)], Point(0.0f, 1.0f));
    EXPECT_EQ(coordinates[Point(C.x, C.y)], Point(0.125f, 0.5f));
}

TEST_F(DisplayLists, faceWithCornerPastLastVertexIsSkipped) {
    ObjectRecord object = makeObject({A, B, C}, {makeFace({{0}, {1}, {2}}, -1), makeFace({{0}, {1}, {3}}, -1),
                                                 makeFace({{0}, {-1}, {2}}, -1), makeFace({{2}, {1}, {0}}, -1)});
    installModel({object}, {});
    buildDisplayLists();
    std::vector<Polygon> polygons = polygonsOf(1);
    ASSERT_EQ(polygons.size(), 2u);
    EXPECT_TRUE(sameCycle(cornersOf(polygons[0]), {{10, 10}, {50, 10}, {50, 50}}));
    EXPECT_TRUE(sameCycle(cornersOf(polygons[1]), {{50, 50}, {50, 10}, {10, 10}}));
}

TEST_F(DisplayLists, faceWithoutMaterialIsSaturatedWhiteAndUntexturedAfterATexturedFace) {
    ObjectRecord object = makeObject({A, B, C}, {makeFace({{0}, {1}, {2}}, 0), makeFace({{0}, {1}, {2}}, -1)});
    installModel({object}, {makeMaterial()});
    giveMaterialATexture(0);
    buildDisplayLists();
    glCallList(1);
    EXPECT_EQ(material(GL_AMBIENT), (Vec4{51, 51, 51, 51}));
    EXPECT_EQ(material(GL_DIFFUSE), (Vec4{76.5f, 76.5f, 76.5f, 76.5f}));
    EXPECT_EQ(material(GL_SPECULAR), (Vec4{63.75f, 63.75f, 63.75f, 63.75f}));
    EXPECT_EQ(material(GL_EMISSION), (Vec4{0, 0, 0, 0}));
    EXPECT_EQ(material(GL_SHININESS)[0], 5.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), textureIds[0]);
}

TEST_F(DisplayLists, materialIndexBeyondTheModelsMaterialsCountsAsNone) {
    for (int32_t index : {2, 300}) {
        ObjectRecord object = makeObject({A, B, C}, {makeFace({{0}, {1}, {2}}, index)});
        installModel({object}, {makeMaterial(), makeMaterial()});
        buildDisplayLists();
        glCallList(1);
        EXPECT_EQ(material(GL_AMBIENT), (Vec4{51, 51, 51, 51})) << index;
        EXPECT_EQ(material(GL_SHININESS)[0], 5.0f) << index;
    }
}

TEST_F(DisplayLists, materialFactorsScaleItsColour) {
    MaterialRecord shiny = makeMaterial();
    float colour[4] = {0.5f, 0.25f, 1.0f, 0.5f};
    std::copy(colour, colour + 4, shiny.col);
    shiny.amb = 0.5f;
    shiny.dif = 1.0f;
    shiny.spc = 0.25f;
    shiny.emi = 0.5f;
    shiny.power = 30.0f;
    ObjectRecord object = makeObject({A, B, C}, {makeFace({{0}, {1}, {2}}, 1)});
    installModel({object}, {makeMaterial(), shiny});
    buildDisplayLists();
    glCallList(1);
    EXPECT_EQ(material(GL_AMBIENT), (Vec4{0.25f, 0.125f, 0.5f, 0.25f}));
    EXPECT_EQ(material(GL_DIFFUSE), (Vec4{0.5f, 0.25f, 1.0f, 0.5f}));
    EXPECT_EQ(material(GL_SPECULAR), (Vec4{0.125f, 0.0625f, 0.25f, 0.125f}));
    EXPECT_EQ(material(GL_EMISSION), (Vec4{0.25f, 0.125f, 0.5f, 0.25f}));
    EXPECT_EQ(material(GL_SHININESS)[0], 30.0f);
}

// Draws a square over the whole window with list 1 on a black background and
// tells whether any of it reached the centre pixel.
bool squareIsVisible() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(1);
    glFinish();
    uint8_t pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(32, 32, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] != 0 || pixel[1] != 0 || pixel[2] != 0;
}

TEST_F(DisplayLists, anyAlphaPlaneInTheModelPutsTheAlphaTestAroundEveryList) {
    // The square's material is not the one with the alpha plane, and its
    // diffuse alpha is 0.4: under the alpha test nothing of it is drawn.
    MaterialRecord translucent = makeMaterial();
    translucent.dif = 0.4f;
    ObjectRecord square = makeObject({{0, 0, 0, 0}, {64, 0, 0, 0}, {64, 64, 0, 0}, {0, 64, 0, 0}},
                                     {makeFace({{0}, {1}, {2}, {3}}, 0)});
    installModel({square}, {translucent, makeMaterial()});
    buildDisplayLists();
    EXPECT_TRUE(squareIsVisible());

    loadedMaterials[1].hasAlpha = 1;
    buildDisplayLists();
    EXPECT_FALSE(squareIsVisible());
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLint function = 0;
    GLfloat reference = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_EQ(function, GL_GREATER);
    EXPECT_EQ(reference, 0.5f);
}

}  // namespace
