#include "model/texture_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <system_error>

#include "model/console_text.h"
#include "model/model_archive.h"
#include "mqo/ascii_case.h"

namespace fs = std::filesystem;

namespace {

// Sub-folders of the model's folder where modellers keep textures, after the
// folder itself.
constexpr const char* TEXTURE_FOLDERS[] = {"Texture", "texture", "Textures", "textures"};

std::vector<std::string> spellingsOf(std::string_view name, const char* codeset);
template <typename TryIn>
bool tryEachPlace(const std::vector<std::string>& spellings, TryIn tryIn);
std::string lastComponent(const std::string& name);
fs::path findInside(const fs::path& root, const fs::path& relative);
fs::path findComponent(const fs::path& folder, const fs::path& component);
bool isRegularFileInside(const fs::path& root, const fs::path& file);

}  // namespace

// The archive is the model's own: what it holds wins over a file of the same
// name beside it.
TextureFileSearch findTextureFile(const fs::path& modelFolder, std::string_view name, const char* codeset,
                                  const ModelArchive* archive) {
    const fs::path root = modelFolder.empty() ? fs::path(".") : modelFolder;
    TextureFileSearch search;
    const std::vector<std::string> spellings = spellingsOf(name, codeset);
    if (archive != nullptr) {
        search.folders.push_back(archive->name());
        const fs::path inArchive = archive->modelFolder();
        const bool found = tryEachPlace(spellings, [&](const fs::path& folder, const fs::path& relative) {
            search.entry = relative.empty() ? nullptr : archive->find((inArchive / folder / relative).string());
            return search.entry != nullptr;
        });
        if (found) return search;
    }
    tryEachPlace(spellings, [&](const fs::path& folder, const fs::path& relative) {
        const fs::path place = folder.empty() ? root : root / folder;
        if (std::find(search.folders.begin(), search.folders.end(), place) == search.folders.end())
            search.folders.push_back(place);
        if (relative.empty()) return false;
        search.found = findInside(root, folder / relative);
        return !search.found.empty();
    });
    return search;
}

std::string withSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

bool staysInsideItsFolder(const fs::path& relative) {
    if (relative.empty() || relative.has_root_path()) return false;
    for (const fs::path& component : relative) {
        const std::string text = component.string();
        if (text == ".." || text.find(':') != std::string::npos) return false;
    }
    return true;
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

// Calls `tryIn(folder, relative)` for each place a texture is looked for, in
// order, until one call finds it: each spelling relative to the model's
// folder and to its Texture folder, then each spelling's last component in
// the model's folder and in its texture folders. True when one found it.
template <typename TryIn>
bool tryEachPlace(const std::vector<std::string>& spellings, TryIn tryIn) {
    for (const std::string& spelling : spellings) {
        const fs::path relative(spelling);
        if (!staysInsideItsFolder(relative)) continue;
        if (tryIn("", relative) || tryIn("Texture", relative)) return true;
    }
    for (const std::string& spelling : spellings) {
        const fs::path file(lastComponent(spelling));
        if (tryIn("", file)) return true;
        for (const char* folder : TEXTURE_FOLDERS)
            if (tryIn(folder, file)) return true;
    }
    return false;
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
