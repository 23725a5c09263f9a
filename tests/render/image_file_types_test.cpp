#include "render/images/image_file_types.h"

#include <gtest/gtest.h>

#include "render/images/bmp_reader.h"
#include "render/images/jpeg_reader.h"
#include "render/images/tga_reader.h"

namespace {

enum class Reader { None, Bmp, Jpeg, Tga };

Reader readerFor(const char* name) {
    const ImageFileType* type = findImageFileType(name);
    if (type == nullptr) return Reader::None;
    std::shared_ptr<ImageReader> reader = type->makeReader();
    if (dynamic_cast<BmpReader*>(reader.get())) return Reader::Bmp;
    if (dynamic_cast<JpegReader*>(reader.get())) return Reader::Jpeg;
    if (dynamic_cast<TgaReader*>(reader.get())) return Reader::Tga;
    return Reader::None;
}

TEST(ImageFileTypes, extensionEndingTheNameWithExactCaseChoosesTheReader) {
    struct Case {
        const char* name;
        Reader reader;
    } cases[] = {
        {"wood.bmp", Reader::Bmp},   {"wood.BMP", Reader::Bmp},    {"photo.jpg", Reader::Jpeg},
        {"photo.jpeg", Reader::Jpeg}, {"photo.JPG", Reader::Jpeg},  {"photo.JPEG", Reader::Jpeg},
        {"skin.tga", Reader::Tga},   {"skin.TGA", Reader::Tga},    {"photo.Jpg", Reader::None},
        {"wood.Bmp", Reader::None},  {"x.bmp.tga", Reader::Tga},   {"x.bmp.bmp", Reader::None},
        {"", Reader::None},          {"abc", Reader::None},        {"a.gi", Reader::None},
        {"bmp", Reader::None},
    };
    for (const Case& c : cases) EXPECT_EQ(readerFor(c.name), c.reader) << c.name;
    EXPECT_EQ(findImageFileType("a.BMP")->imageKind, 1);
    EXPECT_EQ(findImageFileType("a.jpg")->imageKind, 2);
    EXPECT_EQ(findImageFileType("a.TGA")->imageKind, 2);
}

}  // namespace
