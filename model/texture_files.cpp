#include "model/texture_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>

#include "model/console_text.h"

namespace fs = std::filesystem;

namespace {

// Sub-folders of the model's folder where modellers keep textures, after the
// folder itself.
constexpr const char* TEXTURE_FOLDERS[] = {"Texture", "texture", "Textures", "textures"};

std::vector<std::string> spellingsOf(std::string_view name, const char* codeset);
std::string withSlashes(std::string name);
bool staysInside(const fs::path& relative);
std::string lastComponent(const std::string& name);
fs::path findInside(const fs::path& root, const fs::path& relative);
fs::path findComponent(const fs::path& folder, const fs::path& component);
bool sameIgnoringAsciiCase(const std::string& a, const std::string& b);
bool isRegularFileInside(const fs::path& root, const fs::path& file);

}  // namespace

TextureFileSearch findTextureFile(const fs::path& modelFolder, std::string_view name, const char* codeset) {
    const fs::path root = modelFolder.empty() ? fs::path(".") : modelFolder;
    TextureFileSearch search;
    const std::vector<std::string> spellings = spellingsOf(name, codeset);
    auto tryIn = [&](const fs::path& folder, const fs::path& relative) {
        if (relative.empty()) return false;
        search.found = findInside(root, folder / relative);
        return !search.found.empty();
    };
    auto note = [&](const fs::path& folder) {
        const fs::path place = folder.empty() ? root : root / folder;
        if (std::find(search.folders.begin(), search.folders.end(), place) == search.folders.end())
            search.folders.push_back(place);
    };
    for (const std::string& spelling : spellings) {
        const fs::path relative(spelling);
        if (!staysInside(relative)) continue;
        note("");
        if (tryIn("", relative)) return search;
        note("Texture");
        if (tryIn("Texture", relative)) return search;
    }
    for (const std::string& spelling : spellings) {
        const fs::path file(lastComponent(spelling));
        note("");
        if (tryIn("", file)) return search;
        for (const char* folder : TEXTURE_FOLDERS) {
            note(folder);
            if (tryIn(folder, file)) return search;
        }
    }
    return search;
}

namespace {

// The name converted to UTF-8 and the name's own bytes, when they differ,
// each with Windows separators turned into slashes. The separators are
// turned after the conversion: in Shift JIS a backslash byte may be the
// second half of a character.
std::vector<std::string> spellingsOf(std::string_view name, const char* codeset) {
    std::vector<std::string> spellings = {withSlashes(convertText(name, codeset, "UTF-8"))};
    if (std::string own(name); own != spellings[0] && own.find('\\') == std::string::npos) spellings.push_back(own);
    return spellings;
}

std::string withSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// A relative path with no ".." (nor a drive letter) stays in the folder.
bool staysInside(const fs::path& relative) {
    if (relative.empty() || relative.has_root_path()) return false;
    for (const fs::path& component : relative) {
        const std::string text = component.string();
        if (text == ".." || text.find(':') != std::string::npos) return false;
    }
    return true;
}

std::string lastComponent(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    const std::string last = slash == std::string::npos ? name : name.substr(slash + 1);
    return last == "." || last == ".." ? std::string() : last;
}

// `relative` under `root`, each component matched exactly or else ignoring
// the case of ASCII letters; empty when there is no such regular file.
fs::path findInside(const fs::path& root, const fs::path& relative) {
    fs::path path = root;
    for (const fs::path& component : relative) {
        if (component.empty() || component == ".") continue;
        path = findComponent(path, component);
        if (path.empty()) return {};
    }
    return isRegularFileInside(root, path) ? path : fs::path();
}

fs::path findComponent(const fs::path& folder, const fs::path& component) {
    std::error_code error;
    if (fs::exists(folder / component, error)) return folder / component;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (sameIgnoringAsciiCase(entry.path().filename().string(), component.string())) return entry.path();
    }
    return {};
}

bool sameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    auto fold = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return fold(x) == fold(y); });
}

// A link inside the model's folder may point anywhere: only files whose
// real place is in the model's folder tree count.
bool isRegularFileInside(const fs::path& root, const fs::path& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return false;
    const fs::path realRoot = fs::canonical(root, error);
    if (error) return false;
    const fs::path realFile = fs::canonical(file, error);
    if (error) return false;
    auto [rootEnd, fileAt] = std::mismatch(realRoot.begin(), realRoot.end(), realFile.begin(), realFile.end());
    return rootEnd == realRoot.end();
}

}  // namespace
