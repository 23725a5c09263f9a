// Model files written by the tests into a scratch folder, and the loaded
// tables put back in their start-of-program state.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

constexpr std::string_view MODEL_HEADER = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n";

// A fresh folder under the temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    // Writes `bytes` to the file `name` in the folder; returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// `materials` materials named "material<m>", then `objects` one-triangle
// objects named "object<i>" whose face uses material i.
std::string modelText(int materials, int objects);

void resetLoadedModel();
