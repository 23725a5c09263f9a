// make_bundled_model OUTPUT_DIR: writes qemi_one.mqo and its Texture/ folder,
// the model the viewer opens by default.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "tools/bundled_model/bundled_scene.h"

namespace {

bool writeFile(const std::filesystem::path& path, const FileBytes& bytes);

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fputs("usage: make_bundled_model OUTPUT_DIR\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    for (const GeneratedFile& file : bundledModelFiles()) {
        const std::filesystem::path path = folder / file.path;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        if (error || !writeFile(path, file.bytes)) {
            fprintf(stderr, "make_bundled_model: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

namespace {

bool writeFile(const std::filesystem::path& path, const FileBytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace
