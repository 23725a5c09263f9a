#include "render/images/image_file_types.h"

#include <cstring>

#include "render/images/bmp_reader.h"
#include "render/images/jpeg_reader.h"
#include "render/images/tga_reader.h"

namespace {

template <typename Reader>
std::shared_ptr<ImageReader> makeReader() {
    return std::make_shared<Reader>();
}

constexpr ImageFileType IMAGE_FILE_TYPES[] = {
    {".bmp", 1, makeReader<BmpReader>},   {".BMP", 1, makeReader<BmpReader>},  {".jpg", 2, makeReader<JpegReader>},
    {".jpeg", 2, makeReader<JpegReader>}, {".JPG", 2, makeReader<JpegReader>}, {".JPEG", 2, makeReader<JpegReader>},
    {".tga", 2, makeReader<TgaReader>},   {".TGA", 2, makeReader<TgaReader>},
};

bool endsWithFirstOccurrence(const char* name, const char* extension);

}  // namespace

const ImageFileType* findImageFileType(const char* name) {
    for (const ImageFileType& type : IMAGE_FILE_TYPES)
        if (endsWithFirstOccurrence(name, type.extension)) return &type;
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

}  // namespace
