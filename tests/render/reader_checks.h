// Checks shared by the image reader tests.
#pragma once

#include <filesystem>
#include <string>

#include "render/images/image_reader.h"
#include "tests/render/image_bytes.h"

int32_t loadBytes(ImageReader& reader, const Bytes& bytes);

// Pixel (x, y) of a colour picture; fails the test when there is none.
Rgb pixelAt(const ImageReader& image, int32_t x, int32_t y);

// The load fails with -1, prints exactly `message` and leaves no picture.
void expectRefused(ImageReader& reader, const Bytes& bytes, const std::string& message, const char* what);

// A file in a folder of its own, removed with the folder.
struct TemporaryFile {
    TemporaryFile(const std::string& name, const Bytes& bytes);
    ~TemporaryFile();
    std::filesystem::path folder;
    std::string path;
};
