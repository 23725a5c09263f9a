#include "render/images/image_file_types.h"

#include <strings.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "render/images/bmp_reader.h"
#include "render/images/dds_reader.h"
#include "render/images/jpeg_reader.h"
#include "render/images/png_reader.h"
#include "render/images/regular_file.h"
#include "render/images/tga_reader.h"

namespace {

template <typename Reader>
std::shared_ptr<ImageReader> makeReader() {
    return std::make_shared<Reader>();
}

template <typename Reader>
std::shared_ptr<ImageReader> makeExtendedReader() {
    return std::make_shared<Reader>(ImageFormats::Extended);
}

constexpr ImageFileType IMAGE_FILE_TYPES[] = {
    {".bmp", 1, makeReader<BmpReader>},   {".BMP", 1, makeReader<BmpReader>},  {".jpg", 2, makeReader<JpegReader>},
    {".jpeg", 2, makeReader<JpegReader>}, {".JPG", 2, makeReader<JpegReader>}, {".JPEG", 2, makeReader<JpegReader>},
    {".tga", 2, makeReader<TgaReader>},   {".TGA", 2, makeReader<TgaReader>},
};

constexpr ImageFileType MODEL_BMP = {".bmp", 1, makeExtendedReader<BmpReader>};
constexpr ImageFileType MODEL_JPEG = {".jpg", 2, makeReader<JpegReader>};
constexpr ImageFileType MODEL_TGA = {".tga", 2, makeExtendedReader<TgaReader>};
constexpr ImageFileType MODEL_PNG = {".png", 3, makeReader<PngReader>};
constexpr ImageFileType MODEL_DDS = {".dds", 4, makeReader<DdsReader>};

struct Signature {
    std::string_view bytes;
    const ImageFileType* type;
};

// TGA files have no signature and are known by their name alone.
constexpr Signature SIGNATURES[] = {
    {"\x89PNG\r\n\x1A\n", &MODEL_PNG},
    {"\xFF\xD8\xFF", &MODEL_JPEG},
    {"BM", &MODEL_BMP},
    {"DDS ", &MODEL_DDS},
};
constexpr size_t LONGEST_SIGNATURE = 8;

struct ModelExtension {
    const char* extension;
    const ImageFileType* type;
};

constexpr ModelExtension MODEL_EXTENSIONS[] = {
    {".bmp", &MODEL_BMP},   {".dib", &MODEL_BMP}, {".jpg", &MODEL_JPEG}, {".jpeg", &MODEL_JPEG}, {".jpe", &MODEL_JPEG},
    {".jfif", &MODEL_JPEG}, {".tga", &MODEL_TGA}, {".png", &MODEL_PNG},  {".dds", &MODEL_DDS},
};

bool endsWithFirstOccurrence(const char* name, const char* extension);
bool endsWithIgnoringCase(const char* name, const char* extension);
std::string_view readHead(const char* path, uint8_t (&head)[LONGEST_SIGNATURE]);

}  // namespace

const ImageFileType* findImageFileType(const char* name) {
    for (const ImageFileType& type : IMAGE_FILE_TYPES)
        if (endsWithFirstOccurrence(name, type.extension)) return &type;
    return nullptr;
}

const ImageFileType* findModelImageFileType(const char* path) {
    uint8_t head[LONGEST_SIGNATURE];
    return findModelImageFileType(readHead(path, head), path);
}

// Modellers often save a PNG under a .jpg name: the file's own bytes win.
const ImageFileType* findModelImageFileType(std::string_view head, const char* name) {
    for (const Signature& signature : SIGNATURES)
        if (head.starts_with(signature.bytes)) return signature.type;
    for (const ModelExtension& named : MODEL_EXTENSIONS)
        if (endsWithIgnoringCase(name, named.extension)) return named.type;
    return nullptr;
}

namespace {

// NOTE: the extension must be found at the end on its first occurrence, so
// "x.bmp.bmp" matches no type although it ends in ".bmp". Names like that
// have always been refused; keeping the rule keeps models looking the same.
bool endsWithFirstOccurrence(const char* name, const char* extension) {
    const char* found = strstr(name, extension);
    return found != nullptr && strlen(found) == strlen(extension);
}

bool endsWithIgnoringCase(const char* name, const char* extension) {
    size_t nameLength = strlen(name), extensionLength = strlen(extension);
    return nameLength >= extensionLength && strcasecmp(name + nameLength - extensionLength, extension) == 0;
}

// The file's first bytes, into `head`; none when it can't be opened.
std::string_view readHead(const char* path, uint8_t (&head)[LONGEST_SIGNATURE]) {
    uint64_t size = 0;
    int descriptor = openRegularFile(path, size);
    if (descriptor < 0) return {};
    const size_t read = readUpTo(descriptor, head, sizeof head);
    close(descriptor);
    return {reinterpret_cast<const char*>(head), read};
}

}  // namespace
