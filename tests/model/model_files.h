// Model files written by the tests into a folder of their own, and a way to
// put the loaded tables back in their start-of-program state.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed on destruction.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes `bytes` to `name` in the folder and returns the file's path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// The two header lines every model starts with.
constexpr std::string_view MODEL_HEADER =
    "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\n";

// Model text with `materials` materials and `objects` one-triangle objects;
// object i is named "object<i>" and its face uses material i when that
// material exists.
std::string modelText(int materials, int objects);

// Deletes the document and default-constructs every table entry.
void resetLoadedModel();
