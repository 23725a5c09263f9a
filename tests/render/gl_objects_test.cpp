// What the loaded model becomes in OpenGL, read back from it. Display lists:
// the polygons each list draws in feedback mode, and the material it leaves
// current. Textures: each material's image files as uploaded, and the line
// printed for each file that can't be used.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "render/display_lists.h"
#include "render/textures.h"
#include "tests/model/model_files.h"
#include "tests/render/image_bytes.h"
#include "tests/render/window_view.h"

namespace {

// The current material: ambient, diffuse, specular and emitted colours, then
// the shininess.
std::vector<float> currentMaterial() {
    std::vector<float> values(17);
    for (int p = 0; GLenum parameter : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION, GL_SHININESS})
        glGetMaterialfv(GL_FRONT, parameter, &values[4 * p++]);
    return values;
}

// A vertex as GL_4D_COLOR_TEXTURE feedback reports it.
struct FedVertex {
    float x, y, z, w, colour[4], s, t, r, q;
};
using Polygon = std::vector<FedVertex>;

// Replays `list` in feedback mode and returns the polygons it drew. Mesa
// feeds every polygon back as triangles: a quad comes back as a fan of two.
std::vector<Polygon> polygonsOf(GLuint list) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer too small";
    std::vector<Polygon> polygons;
    GLint at = 0;
    for (; at < used && buffer[at] == GL_POLYGON_TOKEN; at += 2 + 12 * static_cast<GLint>(buffer[at + 1])) {
        auto* first = reinterpret_cast<const FedVertex*>(&buffer[at + 2]);
        polygons.emplace_back(first, first + static_cast<int>(buffer[at + 1]));
    }
    EXPECT_GE(at, used) << "unexpected feedback token " << buffer[at];
    return polygons;
}

using Point = std::pair<float, float>;

// The list draws these polygons, each with these corners in this cycle;
// Mesa may start a fed-back polygon at another corner.
void expectPolygons(GLuint list, const std::vector<std::vector<Point>>& expected) {
    std::vector<Polygon> polygons = polygonsOf(list);
    ASSERT_EQ(polygons.size(), expected.size());
    for (size_t p = 0; p < polygons.size(); ++p) {
        std::vector<Point> corners;
        for (const FedVertex& vertex : polygons[p]) corners.emplace_back(vertex.x, vertex.y);
        auto start = std::find(corners.begin(), corners.end(), expected[p].front());
        if (start != corners.end()) std::rotate(corners.begin(), start, corners.end());
        EXPECT_EQ(corners, expected[p]) << "polygon " << p;
    }
}

class DisplayLists : public testing::Test {
protected:
    void SetUp() override { lookAtWindowCoordinates(); }

    // The material gets a texture name of its own without any image file.
    void giveMaterialATexture(int32_t m) {
        glGenTextures(1, &textureIds[m]);
        loadedMaterials[m].hasTexture = 1;
    }
};

const VertexRecord A{10, 10, 0, 0}, B{50, 10, 0, 0}, C{50, 50, 0, 0}, D{10, 50, 0, 0};

// A face with a corner past the last vertex is skipped.
TEST_F(DisplayLists, objectIDrawsListIPlusOneWithItsFacesInFileOrder) {
    ObjectRecord triangles =
        makeObject({A, B, C}, {makeFace({0, 1, 2}), makeFace({0, 1, 3}), makeFace({0, -1, 2}), makeFace({2, 1, 0})});
    ObjectRecord object = makeObject({A, B, C, D}, {makeFace({2, 3, 0}), makeFace({0, 1, 2, 3})});
    installModel({triangles, object});
    buildDisplayLists();
    EXPECT_EQ(std::tuple(displayListIds[0], displayListIds[1]), std::tuple(1u, 2u));
    expectPolygons(1, {{{10, 10}, {50, 10}, {50, 50}}, {{50, 50}, {50, 10}, {10, 10}}});
    expectPolygons(2, {{{50, 50}, {10, 50}, {10, 10}}, {{10, 10}, {50, 10}, {50, 50}}, {{10, 10}, {50, 50}, {10, 50}}});
}

TEST_F(DisplayLists, texturedFaceBindsItsTextureAndSendsEachCornersCoordinatesSwapped) {
    FaceRecord face = makeFace({0, 1, 2}, 1, {{0.25f, 0.75f}, {1, 0}, {0.5f, 0.125f}});
    installModel({makeObject({A, B, C}, {face})}, {makeMaterial(), makeMaterial()});
    giveMaterialATexture(1);
    buildDisplayLists();
    std::vector<Polygon> polygons = polygonsOf(1);
    ASSERT_EQ(polygons.size(), 1u);
    std::map<Point, Point> coordinates;
    for (const FedVertex& vertex : polygons[0]) coordinates[{vertex.x, vertex.y}] = {vertex.s, vertex.t};
    EXPECT_EQ(coordinates,
              (std::map<Point, Point>{{{10, 10}, {0.75f, 0.25f}}, {{50, 10}, {0, 1}}, {{50, 50}, {0.125f, 0.5f}}}));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), textureIds[1]);
}

// Each face follows a textured one, whose texture must not stay on. Material
// indices past the model's materials count as none instead of reading past
// the material table; a face without a material is saturated white.
TEST_F(DisplayLists, listLeavesTheLastFacesMaterialScaledByItsFactorsAndTexturingOff) {
    MaterialRecord shiny = makeMaterial();
    std::ranges::copy(std::array{0.5f, 0.25f, 1.0f, 0.5f}, shiny.col);
    shiny.amb = 0.5f;
    shiny.dif = 1.0f;
    shiny.spc = 0.25f;
    shiny.emi = 0.5f;
    shiny.power = 30.0f;
    const std::vector<float> shinyMaterial = {0.25f,   0.125f, 0.5f,   0.25f, 0.5f,   0.25f, 1.0f,  0.5f, 0.125f,
                                              0.0625f, 0.25f,  0.125f, 0.25f, 0.125f, 0.5f,  0.25f, 30.0f};
    const std::vector<float> whiteMaterial = {51,     51,     51,     51, 76.5f, 76.5f, 76.5f, 76.5f, 63.75f,
                                              63.75f, 63.75f, 63.75f, 0,  0,     0,     0,     5.0f};
    for (int32_t index : {1, -1, 2, 300}) {
        SCOPED_TRACE(index);
        installModel({makeObject({A, B, C}, {makeFace({0, 1, 2}, 0), makeFace({0, 1, 2}, index)})},
                     {makeMaterial(), shiny});
        giveMaterialATexture(0);
        buildDisplayLists();
        glCallList(1);
        EXPECT_EQ(currentMaterial(), index == 1 ? shinyMaterial : whiteMaterial);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    }
}

// Draws list 1 on a black background and tells whether any of it reached
// the centre pixel.
bool centreIsDrawn() {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(1);
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
    ObjectRecord square =
        makeObject({{0, 0, 0, 0}, {64, 0, 0, 0}, {64, 64, 0, 0}, {0, 64, 0, 0}}, {makeFace({0, 1, 2, 3}, 0)});
    installModel({square}, {translucent, makeMaterial()});
    buildDisplayLists();
    EXPECT_TRUE(centreIsDrawn());

    loadedMaterials[1].hasAlpha = 1;
    buildDisplayLists();
    EXPECT_FALSE(centreIsDrawn());
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    GLint function = 0;
    GLfloat reference = 0;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    EXPECT_EQ(std::tuple(function, reference), std::tuple(GL_GREATER, 0.5f));
}

// The texture's width, height and red, green, blue, alpha texels.
std::tuple<GLint, GLint, Bytes> readBack(GLuint id) {
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    Bytes rgba(static_cast<size_t>(width * height * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {width, height, rgba};
}

std::string setupTexturesPrinting() {
    testing::internal::CaptureStdout();
    setupTextures();
    return testing::internal::GetCapturedStdout();
}

// Each test runs in a folder of its own with a "Texture" folder, and with no
// texture names left by earlier tests.
class Textures : public testing::Test {
protected:
    Textures() {
        std::filesystem::create_directory(folder.path() / "Texture");
        std::filesystem::current_path(folder.path());
        std::ranges::fill(textureIds, 0);
    }
    ~Textures() override { std::filesystem::current_path(previousFolder); }
    void write(const std::string& name, const Bytes& bytes) { folder.write("Texture/" + name, bytes); }

    const std::filesystem::path previousFolder = std::filesystem::current_path();
    ScratchFolder folder;
};

TEST_F(Textures, textureIsTheImageTransposedWithAlphaFromItsPlane) {
    const TgaLayout threeByTwo{.descriptor = 0x20, .width = 3, .height = 2};  // top row first
    write("wide.tga",
          tgaFile(threeByTwo, bgr({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {11, 12, 13}, {14, 15, 16}, {17, 18, 19}})));
    // Where a plane is smaller than the image the texture stays opaque, and
    // a colour plane gives the brightness of its pixels.
    write("wide_a.tga", tgaFile({.imageType = 3, .pixelDepth = 8, .descriptor = 0x20, .width = 2, .height = 2},
                                {100, 110, 101, 111}));
    write("photo.bmp", bmpFile({.width = 2, .height = 2}, Bytes(16, 0)));
    write("plane.BMP", bmpFile({.width = 2, .height = 1}, {0, 0, 0, 100, 100, 100, 0, 0}));
    write("grey.tga",
          tgaFile({.imageType = 3, .pixelDepth = 8, .descriptor = 0x20, .width = 1, .height = 2}, {40, 50}));
    installModel({}, {makeMaterial("wide.tga", "wide_a.tga"), makeMaterial("photo.bmp", "plane.BMP"),
                      makeMaterial("grey.tga", "")});
    EXPECT_EQ(setupTexturesPrinting(), "");

    for (int m = 0; m < 2; ++m) {
        EXPECT_EQ(std::tuple(loadedMaterials[m].imageKind, loadedMaterials[m].hasTexture, loadedMaterials[m].hasAlpha),
                  std::tuple(2 - m, 1, 1));
        ASSERT_NE(textureIds[m], 0u);
    }
    // Texel (row a, column b) is image pixel (column a, row b): three rows of
    // two texels.
    EXPECT_EQ(readBack(textureIds[0]), std::tuple(2, 3, Bytes{1,  2,  3,  100, 11, 12, 13, 101, 4,  5,  6,  110,
                                                              14, 15, 16, 111, 7,  8,  9,  255, 17, 18, 19, 255}));
    EXPECT_EQ(readBack(textureIds[1]), std::tuple(2, 2, Bytes{0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 100, 0, 0, 0, 255}));
    EXPECT_EQ(readBack(textureIds[2]), std::tuple(2, 1, Bytes{40, 40, 40, 255, 50, 50, 50, 255}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Textures, materialsWithoutAReadableImageGetNoTexture) {
    write("fine.tga", tgaFile({.width = 2, .height = 2}, Bytes(12, 9)));
    write("plane.tga", tgaFile({.imageType = 3, .pixelDepth = 8, .width = 2, .height = 2}, Bytes(4, 50)));
    write("broken.tga", {1, 2, 3});
    installModel({}, {
                         makeMaterial(),                            // no texture
                         makeMaterial("", "plane.tga"),             // alpha plane alone
                         makeMaterial("photo.Jpg"),                 // unknown extension
                         makeMaterial("missing.bmp", "plane.tga"),  // file not there
                         makeMaterial("missing.jpg", "plane.tga"),  // file not there
                         makeMaterial("broken.tga", "plane.tga"),   // file not readable
                         makeMaterial("fine.tga", "plane.gif"),     // unknown alpha extension
                         makeMaterial("fine.tga", "gone.tga"),      // alpha file not there
                     });
    EXPECT_EQ(setupTexturesPrinting(),
              "This file type is not supported! photo.Jpg\n"
              "Can't open file\n"
              "Can't open jpeg file.\n"
              "Can't read tga file\n"
              "This file type is not supported! plane.gif\n"
              "Can't open file\n");
    for (int m = 0; m < 8; ++m) {
        SCOPED_TRACE(m);
        bool textured = m >= 6;  // only the alpha plane failed
        const MaterialRecord& material = loadedMaterials[m];
        EXPECT_EQ(std::tuple(material.hasTexture, material.textureImage != nullptr, textureIds[m] != 0),
                  std::tuple(int32_t{textured}, textured, textured));
        EXPECT_EQ(std::tuple(material.hasAlpha, material.alphaImage), std::tuple(0, nullptr));
    }
    // Those two keep the texture, opaque.
    const std::tuple fine(2, 2, Bytes{9, 9, 9, 255, 9, 9, 9, 255, 9, 9, 9, 255, 9, 9, 9, 255});
    for (int m : {6, 7}) EXPECT_EQ(readBack(textureIds[m]), fine) << m;
}

TEST_F(Textures, overMaxMaterialsIsReportedOnceAndTheFirst256AreTextured) {
    write("a.tga", tgaFile({.width = 1, .height = 1}, Bytes(3, 9)));
    installModel({}, std::vector<MaterialRecord>(300, makeMaterial("a.tga")));
    EXPECT_EQ(setupTexturesPrinting(), "This program can't load over MAX_MATERIALS materials\n");
    EXPECT_EQ(std::tuple(textureIds[255] != 0, loadedMaterials[255].hasTexture), std::tuple(true, 1));
}

TEST_F(Textures, noModelMeansNothingToDo) {
    installModel({});
    releaseModel();
    EXPECT_EQ(setupTexturesPrinting(), "");
}

}  // namespace
