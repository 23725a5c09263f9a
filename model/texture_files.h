// Where a material's texture file is, in model mode. Modellers' files name
// textures in many ways: relative to the model, in a Texture folder beside
// it, by an absolute Windows path from the machine they were made on, in the
// model's code page while the disk names files in UTF-8, in another letter
// case. The search never leaves the model's folder tree.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct TextureFileSearch {
    // Empty when no file was found.
    std::filesystem::path found;
    // The folders looked in, in order, for telling the user where.
    std::vector<std::filesystem::path> folders;
};

// Looks for the texture `name`, as written in the model (bytes in the
// character set `codeset`, an iconv name), for the model in `modelFolder`:
// the name relative to the model's folder, then under its Texture folder,
// then the name's last component in the model's folder and in its Texture,
// texture, Textures and textures folders. Each place is tried with the name
// converted to UTF-8, then as its own bytes, each exactly and then ignoring
// the case of ASCII letters. A name that is absolute or climbs with ".."
// is only looked for by its last component.
TextureFileSearch findTextureFile(const std::filesystem::path& modelFolder, std::string_view name, const char* codeset);
