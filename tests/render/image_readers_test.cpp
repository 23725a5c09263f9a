// The readers give red, green, blue rows (or grey rows, and alpha rows) with
// row 0 at the top, whatever order the file stores them in, and refuse what
// they can't decode, or what their file is far too small for, with their own
// message. Which reader reads a file is told by its name, or for a model
// opened by name by its bytes first.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <memory>
#include <tuple>
#include <typeinfo>

#include "render/images/bmp_reader.h"
#include "render/images/image_file_types.h"
#include "render/images/jpeg_reader.h"
#include "render/images/png_reader.h"
#include "render/images/tga_reader.h"
#include "tests/model/model_files.h"
#include "tests/render/image_bytes.h"
#include "tools/bundled_model/picture_files.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255}, BLACK{0, 0, 0};
const uint8_t RUN = 0x80;  // a TGA run-length packet's flag; the rest is its pixel count less one

// The model-mode readers are the extended ones.
enum Kind { TGA, BMP, JPEG, MODEL_TGA, MODEL_BMP, PNG };

std::unique_ptr<ImageReader> makeReader(Kind kind) {
    if (kind == TGA || kind == MODEL_TGA)
        return std::make_unique<TgaReader>(kind == TGA ? ImageFormats::Classic : ImageFormats::Extended);
    if (kind == BMP || kind == MODEL_BMP)
        return std::make_unique<BmpReader>(kind == BMP ? ImageFormats::Classic : ImageFormats::Extended);
    if (kind == JPEG) return std::make_unique<JpegReader>();
    return std::make_unique<PngReader>();
}

// Palette and colour map entries stored blue, green, red and a fourth byte.
Bytes bgra(const std::vector<Rgb>& entries) {
    Bytes out;
    for (const Rgb& entry : entries) out.insert(out.end(), {entry[2], entry[1], entry[0], 0});
    return out;
}

// A copy of a JPEG whose frame header claims a square of this side.
Bytes jpegClaiming(Bytes jpeg, uint16_t side) {
    size_t i = 0;
    while (i + 9 < jpeg.size() && !(jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2))) ++i;
    const uint8_t high = side >> 8, low = side & 0xFF;
    std::ranges::copy(Bytes{high, low, high, low}, jpeg.begin() + i + 5);
    return jpeg;
}

Bytes corpusFile(const std::string& name) {
    const std::string bytes = readFile(VARNEL_FUZZ_CORPUS "/" + name);
    return Bytes(bytes.begin(), bytes.end());
}

int32_t loadBytes(ImageReader& reader, const Bytes& bytes) {
    return reader.loadFromMemory(bytes.data(), bytes.size());
}

// Every pixel, top row first; grey pixels as grey colours.
std::vector<Rgb> pixelsOf(const ImageReader& image) {
    std::vector<Rgb> pixels;
    for (int32_t i = 0; i < image.width * image.height; ++i) {
        int32_t x = i % image.width, y = i / image.width;
        uint8_t out[3] = {};
        if (image.greyRows != nullptr)
            out[0] = out[1] = out[2] = image.greyRows[y][x];
        else
            EXPECT_EQ(image.getPixel(x, y, out), 1) << "no pixel at " << x << ", " << y;
        pixels.push_back({out[0], out[1], out[2]});
    }
    return pixels;
}

TEST(ImageReaders, picturesComeOutTopRowFirstInRedGreenBlue) {
    const std::vector<Rgb> rgbw = {RED, GREEN, BLUE, WHITE};
    // Flat 8 x 8 blocks come back exactly from a JPEG of quality 100.
    Picture blackOverGrey(8, 16, 1);
    std::fill(blackOverGrey.pixels.begin() + 64, blackOverGrey.pixels.end(), 220);
    std::vector<Rgb> blackOverGreyPixels(64, BLACK);
    blackOverGreyPixels.resize(128, {220, 220, 220});
    // What each picture is, its reader, a file that stores it, its width, its
    // pixels top row first, and whether they come as grey rows.
    const std::tuple<const char*, Kind, Bytes, int32_t, std::vector<Rgb>, bool> cases[] = {
        // clang-format off
        {"tga bottom first", TGA, tgaFile({.width = 2, .height = 2}, bgr({BLUE, WHITE, RED, GREEN})), 2, rgbw, false},
        {"tga top row first", TGA, tgaFile({.descriptor = 0x20, .width = 2, .height = 2}, bgr(rgbw)), 2, rgbw, false},
        {"tga 32 bits, image ID", TGA, tgaFile({.pixelDepth = 32, .imageId = "made by hand", .width = 2, .height = 1},
                                               bgra({RED, GREEN})), 2, {RED, GREEN}, false},
        // The fourth pixel keeps only its blue, the top row is missing: every
        // missing byte reads as 0xFF.
        {"tga cut short", TGA, withoutLast(tgaFile({.width = 2, .height = 3}, bgr({RED, GREEN, BLUE, {10, 20, 30}})), 2),
         2, {WHITE, WHITE, BLUE, {0xFF, 0xFF, 30}, RED, GREEN}, false},
        {"tga grey", TGA, tgaFile({.imageType = 3, .pixelDepth = 8, .width = 2, .height = 1}, {1, 2}), 2,
         {{1, 1, 1}, {2, 2, 2}}, true},
        {"bmp rows padded to four bytes", BMP, bmpFile({.width = 3, .height = 2},
            join({bgr({RED, GREEN, BLUE}), {7, 7, 7}, bgr({WHITE, GREEN, RED}), {7, 7, 7}})), 3,
         {WHITE, GREEN, RED, RED, GREEN, BLUE}, false},
        {"bmp negative height", BMP, bmpFile({.width = 2, .height = -2},
            join({bgr({RED, GREEN}), {7, 7}, bgr({BLUE, WHITE}), {7, 7}})), 2, rgbw, false},
        // A 32-bit picture with a longer information header and a gap, as
        // newer writers leave.
        {"bmp 32 bits, data offset", BMP, bmpFile({.width = 2, .height = 1, .bitsPerPixel = 32, .infoHeaderSize = 124,
                                                   .gap = 6}, bgra({RED, GREEN})), 2, {RED, GREEN}, false},
        // The run of four red pixels ends the bottom row and starts the top.
        {"model tga run-length, packets across rows", MODEL_TGA, tgaFile({.imageType = 10, .pixelDepth = 32, .width = 3,
            .height = 2}, join({{RUN | 3}, bgra({RED}), {1}, bgra({GREEN, BLUE})})), 3, {RED, GREEN, BLUE, RED, RED, RED},
         false},
        {"model tga run-length grey", MODEL_TGA, tgaFile({.imageType = 11, .pixelDepth = 8, .width = 3, .height = 1},
            {RUN | 1, 9, 0, 200}), 3, {{9, 9, 9}, {9, 9, 9}, {200, 200, 200}}, true},
        // 15-bit entries from index 1: index 0 comes before the map and index
        // 9 after it, and both give black.
        {"model tga run-length colour map", MODEL_TGA, tgaFile({.imageType = 9, .pixelDepth = 8, .descriptor = 0x20,
            .colourMapType = 1, .width = 2, .height = 2, .mapFirstIndex = 1, .mapEntrySize = 15,
            .colourMap = {0x00, 0x7C, 0x1F, 0x00}}, {2, 1, 2, 0, RUN, 9}), 2, {RED, BLUE, BLACK, BLACK}, false},
        {"model tga colour map, 16-bit indexes", MODEL_TGA, tgaFile({.imageType = 1, .pixelDepth = 16,
            .colourMapType = 1, .width = 2, .height = 1, .mapEntrySize = 32, .colourMap = bgra({GREEN, WHITE})},
            {1, 0, 0, 0}), 2, {WHITE, GREEN}, false},
        // Nine pixels take two bytes of a row of four.
        {"model bmp 1 bit, rows padded", MODEL_BMP, bmpFile({.width = 9, .height = 2, .bitsPerPixel = 1,
            .palette = bgra({BLUE, WHITE})}, {0x80, 0x80, 7, 7, 0, 0, 7, 7}), 9,
         {BLUE, BLUE, BLUE, BLUE, BLUE, BLUE, BLUE, BLUE, BLUE, WHITE, BLUE, BLUE, BLUE, BLUE, BLUE, BLUE, BLUE, WHITE},
         false},
        {"model bmp 4 bits top first, an index past the palette", MODEL_BMP, bmpFile({.width = 3, .height = -2,
            .bitsPerPixel = 4, .coloursUsed = 2, .palette = bgra({RED, GREEN})}, {0x01, 0x20, 7, 7, 0x10, 0x00, 7, 7}),
         3, {RED, GREEN, BLACK, GREEN, RED, RED}, false},
        {"jpeg grey, as colour rows", JPEG, encodeJpeg(blackOverGrey, 100), 8, blackOverGreyPixels, false},
        {"model bmp 8 bits", MODEL_BMP, bmpFile({.width = 3, .height = 1, .bitsPerPixel = 8, .coloursUsed = 3,
            .palette = bgra({RED, GREEN, BLUE})}, {2, 1, 0, 7}), 3, {BLUE, GREEN, RED}, false},
        // clang-format on
    };
    for (const auto& [what, kind, file, width, pixels, grey] : cases) {
        SCOPED_TRACE(what);
        std::unique_ptr<ImageReader> reader = makeReader(kind);
        EXPECT_EQ(loadBytes(*reader, file), 0);
        EXPECT_EQ(std::tuple(reader->pixelFormat, reader->greyRows != nullptr), std::tuple(grey ? 2 : 1, grey));
        ASSERT_EQ(std::tuple(reader->width, reader->height),
                  std::tuple(width, static_cast<int32_t>(pixels.size()) / width));
        EXPECT_EQ(pixelsOf(*reader), pixels);
        uint8_t untouched[3] = {7, 8, 9};
        for (auto [x, y] : {std::pair{width, 0}, {-1, 0}, {0, reader->height}, {0, -1}})
            EXPECT_EQ(reader->getPixel(x, y, untouched), 0) << x << ", " << y;
        EXPECT_EQ((Rgb{untouched[0], untouched[1], untouched[2]}), (Rgb{7, 8, 9}));
        reader->releaseRows();
        EXPECT_TRUE(reader->rgbRows == nullptr && reader->greyRows == nullptr && reader->width == width);
    }
}

// A 5 x 3 PNG of each colour type and depth, with and without a tRNS chunk
// (naming the first pixel's colour, or palette entries 0 and 1), interlaced
// or not, whose samples step through the depth's levels. It reads back as
// 8-bit samples (small grey ones spread over 0-255, 16-bit ones rounded).
TEST(PngReader, everyColourTypeAndDepthGivesItsColoursAndAlpha) {
    const std::tuple<int, int, std::vector<int>> types[] = {{PNG_COLOR_TYPE_GRAY, 1, {1, 2, 4, 8, 16}},
                                                            {PNG_COLOR_TYPE_GRAY_ALPHA, 2, {8, 16}},
                                                            {PNG_COLOR_TYPE_PALETTE, 1, {1, 2, 4, 8}},
                                                            {PNG_COLOR_TYPE_RGB, 3, {8, 16}},
                                                            {PNG_COLOR_TYPE_RGB_ALPHA, 4, {8, 16}}};
    for (const auto& [colourType, channels, depths] : types) {
        for (int variant = 0; variant < 4 * static_cast<int>(depths.size()); ++variant) {
            const int depth = depths[variant / 4], levels = 1 << std::min(depth, 8), scale = depth == 16 ? 257 : 1;
            const bool transparent = variant & 1, paletted = colourType == PNG_COLOR_TYPE_PALETTE;
            const bool alphaChannel = colourType & PNG_COLOR_MASK_ALPHA;
            if (transparent && alphaChannel) continue;
            SCOPED_TRACE(testing::Message() << "colour type " << colourType << ", variant " << variant);
            PngLayout layout{
                .width = 5, .height = 3, .colourType = colourType, .bitDepth = depth, .interlaced = (variant & 2) != 0};
            std::vector<int> level;
            std::vector<uint16_t> samples;
            for (int i = 0; i < 15 * channels; ++i) {
                level.push_back((i * 5 + i / channels) % levels);
                samples.push_back(static_cast<uint16_t>(level.back() * scale));
            }
            for (int entry = 0; paletted && entry < levels; ++entry)
                layout.palette.push_back({uint8_t(entry * 3), uint8_t(255 - entry), uint8_t(entry * 7)});
            if (transparent && paletted) layout.paletteAlpha = {0, 100};
            if (transparent && !paletted)
                layout.transparent = png_color_16{0, samples[0], samples[1], samples[2], samples[0]};
            std::vector<Rgb> colours;
            Bytes alphas;
            for (const int* pixel = level.data(); pixel < level.data() + level.size(); pixel += channels) {
                auto eightBits = [&](int c) {
                    return uint8_t(depth < 8 ? pixel[c] * 255 / (levels - 1) : pixel[c]);
                };
                png_color entry = paletted ? layout.palette[pixel[0]] : png_color{};
                int c = channels >= 3;  // green and blue are samples 1 and 2 of colour, 0 of grey
                colours.push_back(paletted ? Rgb{entry.red, entry.green, entry.blue}
                                           : Rgb{eightBits(0), eightBits(c), eightBits(2 * c)});
                bool named = paletted ? pixel[0] < 2 : std::equal(pixel, pixel + channels, level.begin());
                alphas.push_back(alphaChannel             ? eightBits(channels - 1)
                                 : !transparent || !named ? 255
                                 : paletted               ? layout.paletteAlpha[pixel[0]]
                                                          : 0);
            }
            PngReader reader;
            ASSERT_EQ(loadBytes(reader, pngFile(layout, samples)), 0);
            EXPECT_EQ(pixelsOf(reader), colours);
            EXPECT_EQ(reader.greyRows != nullptr, colourType == PNG_COLOR_TYPE_GRAY && !transparent);
            ASSERT_EQ(reader.alphaRows != nullptr, alphaChannel || transparent);
            for (int i = 0; reader.alphaRows != nullptr && i < 15; ++i)
                EXPECT_EQ(reader.alphaRows[i / 5][i % 5], alphas[i]) << "pixel " << i;
        }
    }
}

// libjpeg and libpng would end the program on a broken file; the readers
// print their message and fail the load instead. A header claiming a picture
// far bigger than its file is refused before anything is allocated for it.
TEST(ImageReaders, refuseWhatTheyCannotDecode) {
    const Bytes red = bgr({RED}), jpeg = encodeJpeg(Picture(8, 8, 1), 90);
    const Bytes png = pngFile({.width = 64, .height = 64}, std::vector<uint16_t>(64 * 64 * 3, 7));
    // Progressive, each coefficient of each component in a scan of its own.
    const Bytes manyScans = corpusFile("jpeg/many_scans_8x8.jpg");
    // Each case's file, and a part of what is printed before the reader's
    // failure message: null when nothing is.
    struct Case {
        const char* what;
        Kind kind;
        Bytes file;
        const char* why = nullptr;
    } cases[] = {
        // clang-format off
        {"tga run-length", TGA, tgaFile({.imageType = 10, .width = 1, .height = 1}, red)},
        {"tga colour map", TGA, tgaFile({.colourMapType = 1, .width = 1, .height = 1}, red)},
        {"tga 16-bit colour", TGA, tgaFile({.pixelDepth = 16, .width = 1, .height = 1}, red)},
        {"tga shorter than its header", TGA, withoutLast(tgaFile({.width = 1, .height = 1}, {}), 1)},
        {"tga holding less than half its pixels", TGA, tgaFile({.width = 2, .height = 2}, {1, 2, 3, 4, 5})},
        {"tga header claiming 16384 x 16384", TGA, tgaFile({.width = 16384, .height = 16384}, {})},
        {"model tga 16-bit grey", MODEL_TGA, tgaFile({.imageType = 3, .pixelDepth = 16, .width = 1, .height = 1}, red)},
        {"model tga colour-mapped without a map", MODEL_TGA, tgaFile({.imageType = 1, .pixelDepth = 8, .width = 1,
                                                                      .height = 1}, {0})},
        {"model tga run-length claiming 16384 x 16384", MODEL_TGA, tgaFile({.imageType = 10, .width = 16384,
                                                                            .height = 16384}, Bytes(4000, 0xFF))},
        {"bmp palette", BMP, bmpFile({.width = 1, .height = 1, .bitsPerPixel = 8}, red)},
        {"bmp compressed", BMP, bmpFile({.width = 1, .height = 1, .bitsPerPixel = 32, .compression = 3}, red)},
        {"bmp old OS/2 header", BMP, bmpFile({.width = 1, .height = 1, .infoHeaderSize = 12, .gap = 28}, red)},
        {"bmp not a bitmap", BMP, bmpFile({.width = 1, .height = 1, .signature = {'P', 'K'}}, red)},
        {"bmp most negative height", BMP, bmpFile({.width = 1, .height = INT_MIN}, red)},
        {"bmp huge both ways", BMP, bmpFile({.width = INT_MAX, .height = INT_MAX}, red)},
        {"bmp shorter than its headers", BMP, withoutLast(bmpFile({.width = 1, .height = 1}, {}), 1)},
        {"bmp header claiming 16384 x 16384", BMP, bmpFile({.width = 16384, .height = 16384}, {})},
        {"model bmp 2 bits", MODEL_BMP, bmpFile({.width = 1, .height = 1, .bitsPerPixel = 2}, {0, 0, 0, 0})},
        {"model bmp 1 bit claiming 16384 x 16384", MODEL_BMP, bmpFile({.width = 16384, .height = 16384,
                                                                      .bitsPerPixel = 1}, Bytes(4000, 0))},
        {"jpeg empty", JPEG, {}, ""},
        {"not a jpeg", JPEG, {'h', 'e', 'l', 'l', 'o'}, ""},
        {"jpeg cut inside its header", JPEG, Bytes(jpeg.begin(), jpeg.begin() + 30), ""},
        {"jpeg markers only", JPEG, {0xFF, 0xD8, 0xFF, 0xD9}, ""},
        {"jpeg wider than 16384", JPEG, encodeJpeg(Picture(16385, 1, 3), 90)},
        {"jpeg header claiming 16384 x 16384", JPEG, jpegClaiming(jpeg, 16384)},
        {"jpeg of 190 scans", JPEG, manyScans, "more than 64 scans"},
        // Big enough a file for its blocks, too small for the memory a
        // progressive picture of that size takes.
        {"jpeg needing more memory than its file allows", JPEG, join({jpegClaiming(manyScans, 12000),
            Bytes(300000, 0)}), "A picture of 12000 x 12000 needs 825 MiB of memory, more than its file of 306478"},
        {"png that isn't one", PNG, {'h', 'e', 'l', 'l', 'o'}, ""},
        {"png cut inside its pixels", PNG, withoutLast(png, 30), ""},
        {"png header claiming 16384 x 16384", PNG, corpusFile("png/claims_16384x16384.png")},
        // clang-format on
    };
    const char* failures[] = {"Can't read tga file\n", "Can't read bmp file\n", "Can't read jpeg file.\n",
                              "Can't read tga file\n", "Can't read bmp file\n", "Can't read png file\n"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<ImageReader> reader = makeReader(c.kind);
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadBytes(*reader, c.file), -1);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(c.why ? printed.find(c.why) != std::string::npos : printed == failures[c.kind]) << printed;
        EXPECT_TRUE(printed.ends_with(failures[c.kind])) << printed;
        EXPECT_TRUE(reader->pixelFormat == 0 && reader->width == 0 && reader->rgbRows == nullptr &&
                    reader->greyRows == nullptr && reader->alphaRows == nullptr);
    }
}

TEST(ImageFileTypes, extensionEndingTheNameWithExactCaseChoosesTheReader) {
    const std::type_info *bmp = &typeid(BmpReader), *jpeg = &typeid(JpegReader), *tga = &typeid(TgaReader);
    const std::tuple<const char*, const std::type_info*, int32_t> cases[] = {
        {"wood.bmp", bmp, 1},     {"wood.BMP", bmp, 1},      {"photo.jpg", jpeg, 2},   {"photo.jpeg", jpeg, 2},
        {"photo.JPG", jpeg, 2},   {"photo.JPEG", jpeg, 2},   {"skin.tga", tga, 2},     {"skin.TGA", tga, 2},
        {"x.bmp.tga", tga, 2},    {"photo.Jpg", nullptr, 0}, {"wood.Bmp", nullptr, 0}, {"x.bmp.bmp", nullptr, 0},
        {"", nullptr, 0},         {"abc", nullptr, 0},       {"a.gi", nullptr, 0},     {"bmp", nullptr, 0},
        {"skin.png", nullptr, 0}, {"skin.dds", nullptr, 0},
    };
    for (const auto& [name, readerType, imageKind] : cases) {
        SCOPED_TRACE(name);
        const ImageFileType* type = findImageFileType(name);
        ASSERT_EQ(type != nullptr, readerType != nullptr);
        if (type == nullptr) continue;
        std::shared_ptr<ImageReader> made = type->makeReader();
        const ImageReader& reader = *made;
        EXPECT_STREQ(typeid(reader).name(), readerType->name());
        EXPECT_EQ(type->imageKind, imageKind);
    }
}

// For a model opened by name a file's own bytes tell its type before its
// name does, and its reader reads the extended formats: each file below
// loads only through the right extended reader. Files that are not regular
// are told by name and refused by the reader at once, never waited on.
TEST(ImageFileTypes, modelFilesAreKnownByTheirBytesThenByTheirNameInAnyCase) {
    const ScratchFolder folder;
    const Bytes png = pngFile({.width = 1, .height = 1}, {1, 2, 3}), jpeg = encodeJpeg(Picture(8, 8, 3), 90);
    const Bytes runLengthTga = tgaFile({.imageType = 10, .width = 2, .height = 1}, {0x81, 1, 2, 3});
    const Bytes palettedBmp = bmpFile({.width = 1, .height = 1, .bitsPerPixel = 8}, {0, 0, 0, 0});
    const Bytes dds = ddsFile({.width = 1, .height = 1}, Bytes(8, 0));
    // A file name, its bytes (none for a FIFO), its type's image kind (0 for
    // none) and what loading it prints.
    const std::tuple<const char*, Bytes, int32_t, const char*> cases[] = {
        {"photo.jpg", png, 3, ""},
        {"noname", jpeg, 2, ""},
        {"skin.Tga", runLengthTga, 2, ""},
        {"wood.DIB", palettedBmp, 1, ""},
        {"notes.txt", palettedBmp, 1, ""},
        {"pipe.JFIF", {}, 2, "Can't open jpeg file.\n"},
        {"photo.jpe", jpeg, 2, ""},
        {"pipe.png", {}, 3, "Can't open file\n"},
        {"skin.DDS", dds, 4, ""},
        {"moss.tga", dds, 4, ""},
        {"pipe.Dds", {}, 4, "Can't open file\n"},
        {"notes.txt.tga.gif", runLengthTga, 0, ""},
    };
    for (const auto& [name, file, imageKind, printed] : cases) {
        SCOPED_TRACE(name);
        std::string path = (folder.path() / name).string();
        if (file.empty())
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else
            folder.write(name, file);
        const ImageFileType* type = findModelImageFileType(path.c_str());
        ASSERT_EQ(type != nullptr ? type->imageKind : 0, imageKind);
        if (type == nullptr) continue;
        testing::internal::CaptureStdout();
        EXPECT_EQ(type->makeReader()->load(path.c_str()), file.empty() ? -1 : 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), printed);
    }
}

}  // namespace
