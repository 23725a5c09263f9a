// Zip archives written by the tests in memory with libzip, and the header
// fields that hostile archives lie in, patched in place.
#pragma once

#include <zip.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using ArchiveFiles = std::vector<std::pair<std::string, std::string>>;

// The archive of these files (name, bytes), each deflated or, with
// ZIP_CM_STORE, stored as it is; names that are valid UTF-8 are marked so,
// others are stored as their bytes.
inline std::string zipArchive(const ArchiveFiles& files, int method = ZIP_CM_DEFLATE) {
    // NOTE: libzip writes nothing at all for an archive without files; an
    // empty archive is its end record alone.
    if (files.empty()) return std::string("PK\x05\x06", 4) + std::string(18, '\0');
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, nullptr);
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, nullptr);
    for (const auto& [name, bytes] : files) {
        zip_source_t* file = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), file, ZIP_FL_ENC_GUESS);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), method, 9);
    }
    if (zip_close(archive) != 0) throw std::runtime_error("cannot write the archive");
    zip_stat_t status;
    std::string written;
    if (zip_source_stat(buffer, &status) == 0 && zip_source_open(buffer) == 0) {
        written.resize(status.size);
        written.resize(
            static_cast<size_t>(std::max<zip_int64_t>(zip_source_read(buffer, written.data(), status.size), 0)));
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return written;
}

// Where the central directory starts: the archive ends in its end record,
// with no comment.
inline size_t centralDirectoryOffset(const std::string& archive) {
    uint32_t offset = 0;
    memcpy(&offset, archive.data() + archive.size() - 22 + 16, 4);
    return offset;
}

// Puts `value` (little-endian) at `localOffset` of the first entry's local
// header and at `centralOffset` of its central directory entry.
inline void patchFirstEntry(std::string& archive, size_t localOffset, size_t centralOffset, uint32_t value) {
    const size_t central = centralDirectoryOffset(archive);
    for (size_t k = 0; k < 4; ++k) {
        archive[localOffset + k] = static_cast<char>(value >> (8 * k));
        archive[central + centralOffset + k] = static_cast<char>(value >> (8 * k));
    }
}

// The inflated size the first entry claims.
inline void claimSize(std::string& archive, uint32_t size) {
    patchFirstEntry(archive, 22, 24, size);
}

// The first entry's deflated bytes cut to `size`.
inline void cutDeflatedBytes(std::string& archive, uint32_t size) {
    patchFirstEntry(archive, 18, 20, size);
}

// The first entry's deflated bytes starting with a block of the reserved
// type.
inline void breakFirstBlock(std::string& archive) {
    const size_t data = 30 + static_cast<uint8_t>(archive[26]) + 256 * static_cast<uint8_t>(archive[27]) +
                        static_cast<uint8_t>(archive[28]) + 256 * static_cast<uint8_t>(archive[29]);
    archive[data] = 0x07;
}

// The first entry's checksum, wrong.
inline void breakChecksum(std::string& archive) {
    patchFirstEntry(archive, 14, 16, 0x12345678);
}

// The first entry marked as encrypted (bit 0 of its flags).
inline void markEncrypted(std::string& archive) {
    archive[6] = static_cast<char>(archive[6] | 1);
    const size_t central = centralDirectoryOffset(archive);
    archive[central + 8] = static_cast<char>(archive[central + 8] | 1);
}

// The archive cut short halfway through its central directory.
inline std::string cutInCentralDirectory(const std::string& archive) {
    const size_t central = centralDirectoryOffset(archive);
    return archive.substr(0, central + (archive.size() - central) / 2);
}
