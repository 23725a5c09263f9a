// Where a material's texture file is, in model mode. Modellers' files name
// textures in many ways: relative to the model, in a Texture folder beside
// it, by an absolute Windows path from the machine they were made on, in the
// model's code page while the disk names files in UTF-8, in another letter
// case. The search never leaves the model's folder tree. A model read from
// an archive has its textures looked for in the archive first, in the same
// places and spellings, then on disk beside the archive.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

class ModelArchive;
struct ArchiveEntry;

struct TextureFileSearch {
    // Empty when no file was found on disk.
    std::filesystem::path found;
    // The archive's file holding the texture; null when it holds none.
    const ArchiveEntry* entry = nullptr;
    // The places looked in, in order, for telling the user where: the
    // archive, when there is one, then the folders.
    std::vector<std::filesystem::path> folders;
};

// Looks for the texture `name`, as written in the model (bytes in the
// character set `codeset`, an iconv name), for the model in `modelFolder`:
// the name relative to the model's folder, then under its Texture folder,
// then the name's last component in the model's folder and in its Texture,
// texture, Textures and textures folders. Each place is tried with the name
// converted to UTF-8, then as its own bytes, each exactly and then ignoring
// the case of ASCII letters. A name that is absolute or climbs with ".."
// is only looked for by its last component. With an `archive`, its files
// are searched first in the same order, relative to the folder of its .mqo.
TextureFileSearch findTextureFile(const std::filesystem::path& modelFolder, std::string_view name, const char* codeset,
                                  const ModelArchive* archive = nullptr);

// `name` with its Windows separators turned into slashes.
std::string withSlashes(std::string name);
// True when the relative path `relative` (slashes between its components)
// stays in its folder: no root, no drive letter, no "..".
bool staysInsideItsFolder(const std::filesystem::path& relative);
