// Which reader reads a texture file, chosen by the file name's extension.
#pragma once

#include <cstdint>
#include <memory>

#include "render/images/image_reader.h"

struct ImageFileType {
    const char* extension;
    // What a material records of the reader: 1 BMP, 2 JPEG or TGA.
    int32_t imageKind;
    std::shared_ptr<ImageReader> (*makeReader)();
};

// The first type whose extension ends `name`, in the order .bmp .BMP .jpg
// .jpeg .JPG .JPEG .tga .TGA; null when none does. Case must match exactly.
const ImageFileType* findImageFileType(const char* name);
