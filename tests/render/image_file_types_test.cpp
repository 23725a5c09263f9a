#include "render/images/image_file_types.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "render/images/bmp_reader.h"
#include "render/images/jpeg_reader.h"
#include "render/images/tga_reader.h"

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

}  // namespace
