// The bundled model in assets/ is exactly what the generator makes, reads
// cleanly, and its textures are the pictures the generator drew.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "mqo/model_document.h"
#include "render/images/image_file_types.h"
#include "tests/model/model_files.h"
#include "tools/bundled_model/pictures.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

const std::filesystem::path ASSETS = ASSETS_DIR;

TEST(BundledModel, assetsAreExactlyWhatTheGeneratorWrites) {
    const ScratchFolder folder;
    ASSERT_EQ(std::system((MAKE_BUNDLED_MODEL_PATH " " + folder.path().string()).c_str()), 0);
    EXPECT_EQ(std::system(("diff -r --exclude='.*' " + folder.path().string() + " " ASSETS_DIR).c_str()), 0)
        << "run make_bundled_model assets";
}

// Hinges need three objects. Once one material has an alpha plane the viewer
// discards every fragment whose alpha is not above one half, untextured
// faces included.
TEST(BundledModel, readsCleanlyWithEveryFaceDrawableAndVisible) {
    const std::string text = readFile(ASSETS / "qemi_one.mqo");
    ModelDocument document(ModelData{}, text);
    ASSERT_EQ(document.parse(), ParseOk);
    const ModelData& data = document.data();
    ASSERT_GE(data.objects.size(), 3u);
    for (const ObjectRecord& object : data.objects) {
        EXPECT_EQ(countCornersOutsideVertices(object), 0) << object.name.view();
        for (const FaceRecord& face : object.faces) {
            EXPECT_TRUE(face.vertexCount == 3 || face.vertexCount == 4);
            EXPECT_GE(face.materialIndex, 0);
        }
    }
    for (const MaterialRecord& material : data.materials)
        EXPECT_GT(material.col[3] * material.dif, 0.5f) << material.name.view();
}

// Decoded by the viewer's own readers, each texture is the square
// power-of-two picture the generator drew, top row first: a file written
// upside down fails here.
TEST(BundledModel, texturesDecodeToThePicturesDrawn) {
    // A texture, its picture and the mean difference allowed a channel: JPEG is lossy.
    const std::tuple<const char*, Picture, double> cases[] = {
        {"wood.bmp", makeWoodPicture(), 0},
        {"brick.tga", makeBrickPicture(), 0},
        {"sign.jpg", makeSignPicture(), 6},
        {"sign_alpha.tga", makeSignCutout(), 0},
    };
    for (const auto& [name, picture, tolerance] : cases) {
        SCOPED_TRACE(name);
        auto reader = findImageFileType(name)->makeReader();
        ASSERT_NE(reader->load((ASSETS / "Texture" / name).c_str()), -1);
        ASSERT_EQ(std::tuple(reader->pixelFormat, reader->width, reader->height),
                  std::tuple(picture.channels == 1 ? 2 : 1, picture.width, picture.height));
        EXPECT_TRUE(picture.width == picture.height && std::has_single_bit(unsigned(picture.width)));
        const int rowBytes = picture.width * picture.channels;
        double difference = 0;
        for (int y = 0; y < picture.height; ++y) {
            const uint8_t* row = picture.channels == 1 ? reader->greyRows[y] : reader->rgbRows[y];
            for (int x = 0; x < rowBytes; ++x) difference += std::abs(picture.pixels[y * rowBytes + x] - row[x]);
        }
        EXPECT_LE(difference / static_cast<double>(picture.pixels.size()), tolerance);
    }
}

}  // namespace
