// The bundled model in assets/ is exactly what the generator makes, reads
// cleanly, and its textures are pictures the viewer's readers accept.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>

#include "mqo/model_document.h"
#include "render/images/image_file_types.h"
#include "run_command.h"
#include "tools/bundled_model/bundled_scene.h"
#include "tools/bundled_model/pictures.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

namespace fs = std::filesystem;

const fs::path ASSETS = ASSETS_DIR;

// Every file under `folder` by its relative path, dot files left out.
std::map<std::string, std::string> filesUnder(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

struct BundledModel : public ::testing::Test {
    static void SetUpTestSuite() {
        FILE* file = fopen((ASSETS / "qemi_one.mqo").c_str(), "rb");
        ASSERT_NE(file, nullptr);
        document = new ModelDocument(ModelData{}, file);
        result = document->parse();
        fclose(file);
    }
    static void TearDownTestSuite() { delete document; }

    static ModelDocument* document;
    static int32_t result;
};

ModelDocument* BundledModel::document = nullptr;
int32_t BundledModel::result = 0;

TEST(BundledModelFiles, assetsAreExactlyWhatTheGeneratorWrites) {
    char folderTemplate[] = "/tmp/bundled_model_testXXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const CommandResult run = runCommand({MAKE_BUNDLED_MODEL_PATH, folderTemplate});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto generated = filesUnder(folderTemplate);
    const auto committed = filesUnder(ASSETS);
    fs::remove_all(folderTemplate);

    std::set<std::string> generatedNames, committedNames;
    for (const auto& [name, bytes] : generated) generatedNames.insert(name);
    for (const auto& [name, bytes] : committed) committedNames.insert(name);
    ASSERT_EQ(generatedNames, committedNames);
    for (const auto& [name, bytes] : generated) {
        EXPECT_TRUE(bytes == committed.at(name)) << name << " differs; run make_bundled_model assets";
    }
}

TEST_F(BundledModel, readsCleanlyWithEnoughObjectsForTheHinges) {
    ASSERT_EQ(result, ParseOk);
    const ModelData& data = document->data();
    ASSERT_GE(data.objects.size(), 3u);
    for (const ObjectRecord& object : data.objects) {
        EXPECT_EQ(countCornersOutsideVertices(object), 0) << object.name;
        EXPECT_GT(static_cast<unsigned char>(object.name[0]), 0x80) << "names are Shift JIS";
        for (const FaceRecord& face : object.faces) {
            EXPECT_TRUE(face.vertexCount == 3 || face.vertexCount == 4);
            EXPECT_GE(face.materialIndex, 0);
            EXPECT_LT(face.materialIndex, data.materialCount);
        }
    }
    const CommandResult summary = runCommand({MQOINFO_PATH, (ASSETS / "qemi_one.mqo").string()});
    EXPECT_EQ(summary.status, 0);
    EXPECT_NE(summary.out.find("\nwarnings: 0 "), std::string::npos) << summary.out;
}

// Once one material has an alpha plane the viewer discards every fragment
// whose alpha is not above one half, untextured faces included.
TEST_F(BundledModel, everyMaterialStaysVisibleUnderTheAlphaTest) {
    for (const MaterialRecord& material : document->data().materials) {
        EXPECT_GT(material.col[3] * material.dif, 0.5f) << material.name;
    }
}

TEST_F(BundledModel, texturesAreSquarePowerOfTwoPicturesOfEachKind) {
    std::set<std::string> extensions;
    for (const MaterialRecord& material : document->data().materials) {
        for (const char* name : {material.tex, material.aplane}) {
            if (name[0] == '\0') continue;
            extensions.insert(fs::path(name).extension().string());
            const ImageFileType* type = findImageFileType(name);
            ASSERT_NE(type, nullptr) << name;
            auto reader = type->makeReader();
            ASSERT_NE(reader->load((ASSETS / "Texture" / name).c_str()), -1) << name;
            EXPECT_EQ(reader->width, reader->height) << name;
            EXPECT_EQ(reader->width & (reader->width - 1), 0) << name;
            EXPECT_EQ(reader->pixelFormat, name == material.aplane ? 2 : 1) << name;
        }
    }
    EXPECT_EQ(extensions, (std::set<std::string>{".bmp", ".jpg", ".tga"}));
}

// Decoded by the viewer's own readers, each file shows the picture the
// generator drew, top row first: a file written upside down fails here.
TEST(BundledModelFiles, texturesDecodeToThePicturesDrawn) {
    struct Case {
        const char* name;
        Picture picture;
        double tolerance;  // mean difference a channel; JPEG is lossy
    };
    const Case cases[] = {
        {"wood.bmp", makeWoodPicture(), 0},
        {"brick.tga", makeBrickPicture(), 0},
        {"sign.jpg", makeSignPicture(), 6},
        {"sign_alpha.tga", makeSignCutout(), 0},
    };
    for (const Case& c : cases) {
        auto reader = findImageFileType(c.name)->makeReader();
        ASSERT_NE(reader->load((ASSETS / "Texture" / c.name).c_str()), -1) << c.name;
        ASSERT_EQ(reader->width, c.picture.width);
        ASSERT_EQ(reader->height, c.picture.height);
        double difference = 0;
        for (int y = 0; y < c.picture.height; ++y) {
            for (int x = 0; x < c.picture.width; ++x) {
                const uint8_t* drawn = &c.picture.pixels[(static_cast<size_t>(y) * c.picture.width + x) * c.picture.channels];
                const uint8_t* decoded = c.picture.channels == 1 ? &reader->greyRows[y][x] : &reader->rgbRows[y][x * 3];
                for (int k = 0; k < c.picture.channels; ++k) difference += std::abs(drawn[k] - decoded[k]);
            }
        }
        EXPECT_LE(difference / static_cast<double>(c.picture.pixels.size()), c.tolerance) << c.name;
    }
}

}  // namespace
