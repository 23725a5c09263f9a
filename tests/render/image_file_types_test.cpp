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

TEST(ImageFileTypes, extensionsChooseTheirReaderWithExactCase) {
    EXPECT_EQ(readerFor("wood.bmp"), Reader::Bmp);
    EXPECT_EQ(readerFor("wood.BMP"), Reader::Bmp);
    EXPECT_EQ(readerFor("photo.jpg"), Reader::Jpeg);
    EXPECT_EQ(readerFor("photo.jpeg"), Reader::Jpeg);
    EXPECT_EQ(readerFor("photo.JPG"), Reader::Jpeg);
    EXPECT_EQ(readerFor("photo.JPEG"), Reader::Jpeg);
    EXPECT_EQ(readerFor("skin.tga"), Reader::Tga);
    EXPECT_EQ(readerFor("skin.TGA"), Reader::Tga);
    EXPECT_EQ(readerFor("photo.Jpg"), Reader::None);
    EXPECT_EQ(readerFor("wood.Bmp"), Reader::None);
}

TEST(ImageFileTypes, imageKindIsOneForBmpAndTwoOtherwise) {
    EXPECT_EQ(findImageFileType("a.BMP")->imageKind, 1);
    EXPECT_EQ(findImageFileType("a.jpg")->imageKind, 2);
    EXPECT_EQ(findImageFileType("a.TGA")->imageKind, 2);
}

TEST(ImageFileTypes, extensionMustEndTheNameWhereItFirstOccurs) {
    EXPECT_EQ(readerFor("x.bmp.tga"), Reader::Tga);
    EXPECT_EQ(readerFor("x.bmp.bmp"), Reader::None);
    EXPECT_EQ(readerFor("Texture/a.jpg"), Reader::Jpeg);
}

TEST(ImageFileTypes, namesTooShortOrWithoutExtensionMatchNothing) {
    EXPECT_EQ(readerFor(""), Reader::None);
    EXPECT_EQ(readerFor("abc"), Reader::None);
    EXPECT_EQ(readerFor("a.gi"), Reader::None);
    EXPECT_EQ(readerFor(".jp"), Reader::None);
    EXPECT_EQ(readerFor("bmp"), Reader::None);
}

}  // namespace
