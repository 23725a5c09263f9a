#include "render/images/image_file_types.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <typeinfo>

#include "render/images/bmp_reader.h"
#include "render/images/jpeg_reader.h"
#include "render/images/png_reader.h"
#include "render/images/tga_reader.h"
#include "tests/render/image_bytes.h"
#include "tools/bundled_model/picture_files.h"

namespace {

TEST(ImageFileTypes, extensionEndingTheNameWithExactCaseChoosesTheReader) {
    const std::type_info *bmp = &typeid(BmpReader), *jpeg = &typeid(JpegReader), *tga = &typeid(TgaReader);
    struct Case {
        const char* name;
        const std::type_info* reader;
        int32_t imageKind = 0;
    } cases[] = {
        {"wood.bmp", bmp, 1},   {"wood.BMP", bmp, 1},    {"photo.jpg", jpeg, 2}, {"photo.jpeg", jpeg, 2},
        {"photo.JPG", jpeg, 2}, {"photo.JPEG", jpeg, 2}, {"skin.tga", tga, 2},   {"skin.TGA", tga, 2},
        {"x.bmp.tga", tga, 2},  {"photo.Jpg", nullptr},  {"wood.Bmp", nullptr},  {"x.bmp.bmp", nullptr},
        {"", nullptr},          {"abc", nullptr},        {"a.gi", nullptr},      {"bmp", nullptr},
        {"skin.png", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageFileType* type = findImageFileType(c.name);
        ASSERT_EQ(type != nullptr, c.reader != nullptr);
        if (type == nullptr) continue;
        std::shared_ptr<ImageReader> made = type->makeReader();
        const ImageReader& reader = *made;
        EXPECT_STREQ(typeid(reader).name(), c.reader->name());
        EXPECT_EQ(type->imageKind, c.imageKind);
    }
}

// For a model opened by name a file's own bytes tell its type before its
// name does, and its reader reads the extended formats: each file below
// loads only through the right extended reader. Files that are not regular
// are told by name and refused by the reader at once, never waited on.
TEST(ImageFileTypes, modelFilesAreKnownByTheirBytesThenByTheirNameInAnyCase) {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-images-XXXXXX").string();
    const std::filesystem::path folder = mkdtemp(pattern.data());
    const Bytes png = pngFile({.width = 1, .height = 1}, {1, 2, 3}), jpeg = encodeJpeg(Picture(8, 8, 3), 90);
    const Bytes runLengthTga = tgaFile({.imageType = 10, .width = 2, .height = 1}, {0x81, 1, 2, 3});
    const Bytes palettedBmp = bmpFile({.width = 1, .height = 1, .bitsPerPixel = 8}, {0, 0, 0, 0});
    struct Case {
        const char* name;
        Bytes file;         // none for a FIFO
        int32_t imageKind;  // 0 for no type
        const char* printed = "";
    } cases[] = {
        {"photo.jpg", png, 3},
        {"noname", jpeg, 2},
        {"skin.Tga", runLengthTga, 2},
        {"wood.DIB", palettedBmp, 1},
        {"notes.txt", palettedBmp, 1},
        {"pipe.JFIF", {}, 2, "Can't open jpeg file.\n"},
        {"photo.jpe", jpeg, 2},
        {"pipe.png", {}, 3, "Can't open file\n"},
        {"notes.txt.tga.gif", runLengthTga, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = (folder / c.name).string();
        if (c.file.empty())
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else
            writeFile(path, c.file);
        const ImageFileType* type = findModelImageFileType(path.c_str());
        ASSERT_EQ(type != nullptr ? type->imageKind : 0, c.imageKind);
        if (type == nullptr) continue;
        testing::internal::CaptureStdout();
        EXPECT_EQ(type->makeReader()->load(path.c_str()), c.file.empty() ? -1 : 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
