#include "render/textures.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "model/loaded_model.h"
#include "render/images/bmp_reader.h"
#include "render/images/tga_reader.h"
#include "tests/render/image_bytes.h"
#include "tests/render/model_fixture.h"

namespace {

struct Texel {
    uint8_t r, g, b, a;
    bool operator==(const Texel&) const = default;
};

struct UploadedTexture {
    GLint width = 0;
    GLint height = 0;
    std::vector<Texel> texels;
    Texel at(int row, int column) const { return texels[static_cast<size_t>(row * width + column)]; }
};

UploadedTexture readBack(GLuint id) {
    UploadedTexture texture;
    glBindTexture(GL_TEXTURE_2D, id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texture.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &texture.height);
    texture.texels.resize(static_cast<size_t>(texture.width * texture.height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture.texels.data());
    return texture;
}

// A colour TGA whose pixel (x, y) is (10x, 10y, 7), stored bottom row first.
Bytes gradientTga(int width, int height) {
    Bytes pixels;
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) pixels.insert(pixels.end(), {7, uint8_t(10 * y), uint8_t(10 * x)});
    }
    TgaLayout layout{.width = uint16_t(width), .height = uint16_t(height)};
    return tgaFile(layout, pixels);
}

// A grey TGA whose pixel (x, y) is 100 + 10x + y, stored top row first.
Bytes greyTga(int width, int height) {
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(uint8_t(100 + 10 * x + y));
    }
    TgaLayout layout{.imageType = 3, .pixelDepth = 8, .descriptor = 0x20, .width = uint16_t(width),
                     .height = uint16_t(height)};
    return tgaFile(layout, pixels);
}

std::string setupTexturesPrinting() {
    testing::internal::CaptureStdout();
    setupTextures();
    return testing::internal::GetCapturedStdout();
}

class Textures : public testing::Test {
protected:
    void write(const char* name, const Bytes& bytes) { writeFile(folder.texturePath(name), bytes); }
    TextureFolder folder;
};

TEST_F(Textures, textureIsTheImageTransposedAndOpaque) {
    write("wide.tga", gradientTga(3, 2));
    installModel({}, {makeMaterial("wide.tga")});
    EXPECT_EQ(setupTexturesPrinting(), "");

    const MaterialRecord& material = loadedMaterials[0];
    EXPECT_EQ(material.hasTexture, 1);
    EXPECT_EQ(material.imageKind, 2);
    ASSERT_NE(material.textureImage, nullptr);
    EXPECT_NE(dynamic_cast<TgaReader*>(material.textureImage.get()), nullptr);
    ASSERT_NE(textureIds[0], 0u);
    // Three columns and two rows of image become three rows of two texels.
    UploadedTexture texture = readBack(textureIds[0]);
    ASSERT_EQ(texture.width, 2);
    ASSERT_EQ(texture.height, 3);
    for (int a = 0; a < 3; ++a) {
        for (int b = 0; b < 2; ++b) {
            EXPECT_EQ(texture.at(a, b), (Texel{uint8_t(10 * a), uint8_t(10 * b), 7, 255})) << a << "," << b;
        }
    }
    GLint wrapS = 0, wrapT = 0, magnify = 0, minify = 0, mode = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magnify);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minify);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(wrapS, GL_CLAMP);
    EXPECT_EQ(wrapT, GL_CLAMP);
    EXPECT_EQ(magnify, GL_LINEAR);
    EXPECT_EQ(minify, GL_LINEAR);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Textures, alphaPlaneGivesEachTexelItsAlpha) {
    write("skin.tga", gradientTga(4, 4));
    write("skin_a.tga", greyTga(4, 4));
    installModel({}, {makeMaterial("skin.tga", "skin_a.tga")});
    setupTexturesPrinting();

    EXPECT_EQ(loadedMaterials[0].hasAlpha, 1);
    UploadedTexture texture = readBack(textureIds[0]);
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) EXPECT_EQ(texture.at(a, b).a, 100 + 10 * a + b) << a << "," << b;
    }
}

TEST_F(Textures, colourAlphaPlaneGivesBrightnessAndSmallPlaneLeavesTheRestOpaque) {
    write("photo.bmp", bmpFile({.width = 4, .height = 4}, Bytes(4 * 4 * 3, 0)));
    // One row, two pixels: black and white; stored rows are padded to 8 bytes.
    Bytes planePixels = bgr({{0, 0, 0}, {255, 255, 255}});
    planePixels.resize(8, 0);
    write("plane.BMP", bmpFile({.width = 2, .height = 1}, planePixels));
    installModel({}, {makeMaterial("photo.bmp", "plane.BMP")});
    setupTexturesPrinting();

    EXPECT_EQ(loadedMaterials[0].imageKind, 1);
    UploadedTexture texture = readBack(textureIds[0]);
    EXPECT_EQ(texture.at(0, 0).a, 0);    // image column 0, row 0: black
    EXPECT_EQ(texture.at(1, 0).a, 255);  // image column 1, row 0: white
    EXPECT_EQ(texture.at(0, 1).a, 255);  // image row 1: past the plane
    EXPECT_EQ(texture.at(3, 3).a, 255);
}

TEST_F(Textures, materialsWithoutAReadableImageGetNoTexture) {
    write("fine.tga", gradientTga(2, 2));
    write("plane.tga", greyTga(2, 2));
    write("broken.tga", {1, 2, 3});
    installModel({}, {
                         makeMaterial(),                           // no texture
                         makeMaterial("", "plane.tga"),            // alpha plane alone
                         makeMaterial("photo.Jpg"),                // unknown extension
                         makeMaterial("missing.bmp", "plane.tga"), // file not there
                         makeMaterial("broken.tga", "plane.tga"),  // file not readable
                         makeMaterial("fine.tga", "plane.gif"),    // unknown alpha extension
                         makeMaterial("fine.tga", "gone.tga"),     // alpha file not there
                     });
    EXPECT_EQ(setupTexturesPrinting(),
              "This file type is not supported! photo.Jpg\n"
              "Can't open file\n"
              "Can't read tga file\n"
              "This file type is not supported! plane.gif\n"
              "Can't open file\n");

    for (int m = 0; m < 5; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(loadedMaterials[m].hasTexture, 0);
        EXPECT_EQ(loadedMaterials[m].textureImage, nullptr);
        EXPECT_EQ(loadedMaterials[m].hasAlpha, 0);
        EXPECT_EQ(loadedMaterials[m].alphaImage, nullptr);
        EXPECT_EQ(textureIds[m], 0u);
    }
    for (int m = 5; m < 7; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(loadedMaterials[m].hasTexture, 1);
        EXPECT_EQ(loadedMaterials[m].hasAlpha, 0);
        EXPECT_EQ(readBack(textureIds[m]).at(1, 1).a, 255);
    }
}

TEST_F(Textures, overMaxMaterialsIsReportedOnceAndTheFirst256AreTextured) {
    write("a.tga", gradientTga(1, 1));
    installModel({}, std::vector<MaterialRecord>(300, makeMaterial("a.tga")));
    EXPECT_EQ(setupTexturesPrinting(), "This program can't load over MAX_MATERIALS materials\n");
    EXPECT_NE(textureIds[0], 0u);
    EXPECT_NE(textureIds[255], 0u);
    EXPECT_EQ(loadedMaterials[255].hasTexture, 1);
}

TEST_F(Textures, noModelMeansNothingToDo) {
    installModel({}, {});
    releaseModel();
    EXPECT_EQ(setupTexturesPrinting(), "");
}

}  // namespace
