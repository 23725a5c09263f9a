// Model files in the modeller's compressed form (.mqoz): a zip archive
// holding one .mqo, often with a .mqx of plug-in data (passed over) and a
// thumbnail.jpg, sometimes with the model's textures. A file is taken for
// an archive by its first bytes, whatever its name says. Nothing is ever
// extracted to disk: the model's text is inflated as the reader reads it,
// and a picture into memory. Entries may be stored or deflated (or packed
// in any other way libzip unpacks); encrypted ones are refused.
//
// Every entry inflates to at most MAX_INFLATED_BYTES and at most
// MAX_INFLATE_RATIO times the archive's own size. The size an entry claims
// is checked before anything is inflated, and the bytes really inflated are
// counted as they come, so a lying header stops at the limit too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

constexpr uint64_t MAX_INFLATED_BYTES = uint64_t{1} << 30;
constexpr uint64_t MAX_INFLATE_RATIO = 200;

struct zip;
struct zip_source;
class EntryInflater;

// One file stored in the archive.
struct ArchiveEntry {
    uint64_t index = 0;
    // The name as stored, with slashes between its components and no "." or
    // empty ones: texture names in the model's own code page match these
    // bytes.
    std::string name;
    // The name in UTF-8 for messages, as libzip reads it.
    std::string shownName;
};

class ModelArchive {
public:
    // Opens the archive in `file`, which it takes over and closes, or in
    // `bytes`, which must outlive it. `name` names the archive in messages
    // and searches (the path the user gave). Null, with `problem` saying
    // why, when it can't be opened or does not hold exactly one .mqo.
    static std::shared_ptr<ModelArchive> open(FILE* file, const std::string& name, std::string& problem);
    static std::shared_ptr<ModelArchive> openInMemory(std::string_view bytes, const std::string& name,
                                                      std::string& problem);
    ~ModelArchive();
    ModelArchive(const ModelArchive&) = delete;
    ModelArchive& operator=(const ModelArchive&) = delete;

    const std::string& name() const { return name_; }
    // The archive's files whose names stay inside it: a name that is
    // absolute, has a drive letter or climbs with ".." is passed over.
    const std::vector<ArchiveEntry>& files() const { return files_; }
    // The archive's one .mqo, among files().
    const ArchiveEntry& modelEntry() const { return files_[modelIndex_]; }
    // The folder of the .mqo inside the archive ("" at the top), where the
    // model's texture names resolve.
    const std::string& modelFolder() const { return modelFolder_; }
    // The most any entry may inflate to.
    uint64_t inflateLimit() const { return inflateLimit_; }
    // The file at `path` (slashes between its components): the one stored
    // under that name, else the first whose name differs from it only in
    // the case of ASCII letters; null when there is none.
    const ArchiveEntry* find(std::string_view path) const;

    // Inflates `entry` whole into `bytes`, at most `limit` bytes and at most
    // inflateLimit(). False, with `problem` saying why, when it can't.
    bool read(const ArchiveEntry& entry, uint64_t limit, std::vector<uint8_t>& bytes, std::string& problem) const;
    // The same for the file stored under `name` (such as "thumbnail.jpg").
    bool readNamed(std::string_view name, uint64_t limit, std::vector<uint8_t>& bytes, std::string& problem) const;

private:
    friend class EntryInflater;
    ModelArchive(zip* archive, std::string name, uint64_t archiveBytes);
    // Takes over `source` whether or not it opens.
    static std::shared_ptr<ModelArchive> fromSource(zip_source* source, const std::string& name, uint64_t archiveBytes,
                                                    std::string& problem);
    bool findModelEntry(std::string& problem);

    zip* archive_;
    std::string name_;
    uint64_t inflateLimit_;
    std::vector<ArchiveEntry> files_;
    // Indexes into files_ by name, and by name with ASCII letters in lower
    // case.
    std::unordered_map<std::string, size_t> names_;
    std::unordered_map<std::string, size_t> foldedNames_;
    size_t modelIndex_ = 0;
    std::string modelFolder_;
};

// The text model mode reads from the model file it opened: the file itself,
// or the .mqo of the archive it is, inflated as it is read.
class ModelText {
public:
    // Takes over `file`, open at its start, and closes it; `name` names it
    // in messages.
    ModelText(FILE* file, const std::string& name);
    // The archive in `bytes`, which must outlive the text.
    ModelText(std::string_view bytes, const std::string& name);
    ~ModelText();
    ModelText(const ModelText&) = delete;
    ModelText& operator=(const ModelText&) = delete;

    // What to read the model from; null when the archive gives no model.
    FILE* stream() const { return stream_; }
    // Why the archive gives no model, or why its text stopped short (a
    // broken entry, more inflated than the limit); empty while all is well.
    // NOTE: a stopped text looks like its end to the reader: check this
    // after reading, before taking what was read for the model.
    std::string problem() const;
    // The archive the model is in; null for a plain file.
    const std::shared_ptr<ModelArchive>& archive() const { return archive_; }

private:
    void openModelEntry();

    FILE* stream_ = nullptr;
    std::shared_ptr<ModelArchive> archive_;
    std::unique_ptr<EntryInflater> inflater_;
    std::string problem_;
};

// True when `head`, a file's first bytes, starts a zip archive (an empty
// archive included).
bool startsAsArchive(std::string_view head);
