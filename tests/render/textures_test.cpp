// Textures made from each material's image files, as uploaded to OpenGL,
// and the line printed for each file that can't be used.
#include "render/textures.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/model/model_files.h"
#include "tests/render/image_bytes.h"

namespace {

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
