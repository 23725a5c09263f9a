#include "tools/mqoinfo/thumbnail_file.h"

#include <cstdint>
#include <vector>

#include "render/images/image_messages.h"
#include "render/images/jpeg_reader.h"
#include "render/images/png_writer.h"

namespace {

constexpr const char* ARCHIVE_THUMBNAIL = "thumbnail.jpg";

ThumbnailWritten writeArchiveThumbnail(const ModelArchive& archive, const char* path, std::string& problem);

}  // namespace

ThumbnailWritten writeThumbnail(const ModelData& data, const ModelArchive* archive, const char* path,
                                std::string& problem) {
    const Thumbnail& thumbnail = data.thumbnail;
    if (!thumbnail.empty())
        return writePngFile(path, thumbnail.width, thumbnail.height, thumbnail.rgb.data(), false, RowOrder::TopFirst)
                   ? ThumbnailWritten::Written
                   : ThumbnailWritten::NotWritten;
    if (archive == nullptr || archive->find(ARCHIVE_THUMBNAIL) == nullptr) return ThumbnailWritten::NoThumbnail;
    return writeArchiveThumbnail(*archive, path, problem);
}

namespace {

ThumbnailWritten writeArchiveThumbnail(const ModelArchive& archive, const char* path, std::string& problem) {
    std::vector<uint8_t> bytes;
    if (!archive.readNamed(ARCHIVE_THUMBNAIL, MAX_IMAGE_FILE_BYTES, bytes, problem))
        return ThumbnailWritten::Unreadable;
    JpegReader picture;
    ImageMessageCollector messages;
    if (picture.loadFromMemory(bytes.data(), bytes.size()) == -1 || picture.pixelFormat == 0) {
        problem = "the archive's thumbnail.jpg is broken (" + messages.oneLine() + ")";
        return ThumbnailWritten::Unreadable;
    }
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            uint8_t pixel[3];
            if (picture.getPixel(x, y, pixel) == 0) pixel[0] = pixel[1] = pixel[2] = 0;
            rgb.insert(rgb.end(), pixel, pixel + 3);
        }
    }
    return writePngFile(path, picture.width, picture.height, rgb.data(), false, RowOrder::TopFirst)
               ? ThumbnailWritten::Written
               : ThumbnailWritten::NotWritten;
}

}  // namespace
