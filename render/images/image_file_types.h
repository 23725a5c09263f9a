// Which reader reads a texture file: in the classic viewer by the file
// name's extension alone; for a model opened by name by the file's first
// bytes, then by its extension in any letter case.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "render/images/image_reader.h"

struct ImageFileType {
    const char* extension;
    // What a material records of the reader: 1 BMP, 2 JPEG or TGA, 3 PNG,
    // 4 DDS.
    int32_t imageKind;
    std::shared_ptr<ImageReader> (*makeReader)();
};

// The first type whose extension ends `name`, in the order .bmp .BMP .jpg
// .jpeg .JPG .JPEG .tga .TGA; null when none does. Case must match exactly.
const ImageFileType* findImageFileType(const char* name);

// The type of the picture file at `path` for a model opened by name: told by
// the file's signature (PNG, JPEG, BMP, DDS), else by the extension ending the
// path in any letter case (.bmp .dib .jpg .jpeg .jpe .jfif .tga .png .dds);
// null when neither tells. Its readers read the extended formats, PNG and
// DDS included.
const ImageFileType* findModelImageFileType(const char* path);
// The same for a picture whose file starts with `head` and is named `name`.
const ImageFileType* findModelImageFileType(std::string_view head, const char* name);
