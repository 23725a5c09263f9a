#include "model/model_archive.h"

#include <isa-l/igzip_lib.h>
#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "model/texture_files.h"
#include "mqo/ascii_case.h"

// One entry being inflated, its bytes counted against a limit as they come.
// libzip finds the entry and gives its stored bytes; deflated ones, nearly
// every entry, are inflated here with ISA-L, which inflates model text three
// times as fast as libzip's own zlib, and their checksum is checked at the
// end. libzip inflates the rest.
class EntryInflater {
public:
    EntryInflater(const ModelArchive& archive, const ArchiveEntry& entry, uint64_t limit);
    ~EntryInflater();
    EntryInflater(const EntryInflater&) = delete;
    EntryInflater& operator=(const EntryInflater&) = delete;

    // False, with problem() saying why, when nothing can be inflated.
    bool opened() const { return file_ != nullptr; }
    // Up to `size` inflated bytes, fewer only at the end; -1 from the moment
    // the entry turns out broken or longer than the limit.
    int64_t read(char* buffer, size_t size);
    const std::string& problem() const { return problem_; }

private:
    int64_t inflateSome(char* buffer, size_t size);
    void fail(const std::string& what);
    void failBroken(const char* libzipText);
    void failBroken(int libzipError);
    void failTooLong();

    const ModelArchive& archive_;
    std::string shownName_;
    uint64_t limit_;
    uint64_t inflated_ = 0;
    zip_file_t* file_ = nullptr;
    // For a deflated entry: the inflation, the deflated bytes read from the
    // archive and whether they are all read, and the checksum to come out.
    std::unique_ptr<inflate_state> inflation_;
    std::unique_ptr<uint8_t[]> deflated_;
    bool deflatedAtEnd_ = false;
    uint32_t checksum_ = 0;
    std::string problem_;
};

namespace {

// Reading starts this wide when an entry is read whole, and doubles.
constexpr size_t FIRST_READ_BYTES = size_t{1} << 16;
// Deflated bytes are taken from the archive this many at a time.
constexpr size_t DEFLATED_READ_BYTES = size_t{1} << 16;

ssize_t readInflated(void* inflater, char* buffer, size_t size);
std::string normalPath(std::string_view path);
std::string foldedPath(std::string path);
std::string refusal(zip_error_t& error);

}  // namespace

std::shared_ptr<ModelArchive> ModelArchive::open(FILE* file, const std::string& name, std::string& problem) {
    struct stat status {};
    const uint64_t size = fstat(fileno(file), &status) == 0 ? static_cast<uint64_t>(status.st_size) : 0;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_filep_create(file, 0, -1, &error);
    if (source == nullptr) {
        fclose(file);
        problem = refusal(error);
        return nullptr;
    }
    return fromSource(source, name, size, problem);
}

std::shared_ptr<ModelArchive> ModelArchive::openInMemory(std::string_view bytes, const std::string& name,
                                                         std::string& problem) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source == nullptr) {
        problem = refusal(error);
        return nullptr;
    }
    return fromSource(source, name, bytes.size(), problem);
}

ModelArchive::~ModelArchive() {
    zip_discard(archive_);
}

bool ModelArchive::read(const ArchiveEntry& entry, uint64_t limit, std::vector<uint8_t>& bytes,
                        std::string& problem) const {
    bytes.clear();
    EntryInflater inflater(*this, entry, limit);
    size_t filled = 0;
    // NOTE: the room grows with what really comes, not with what the entry
    // claims: a lying size can't make the reading hold more than twice the
    // bytes it inflated.
    while (inflater.opened()) {
        if (filled == bytes.size()) bytes.resize(std::max(2 * filled, FIRST_READ_BYTES));
        const int64_t got = inflater.read(reinterpret_cast<char*>(bytes.data()) + filled, bytes.size() - filled);
        if (got <= 0) break;
        filled += static_cast<size_t>(got);
    }
    if (!inflater.problem().empty()) {
        problem = inflater.problem();
        bytes = {};
        return false;
    }
    bytes.resize(filled);
    bytes.shrink_to_fit();
    return true;
}

const ArchiveEntry* ModelArchive::find(std::string_view path) const {
    const std::string name = normalPath(path);
    if (auto found = names_.find(name); found != names_.end()) return &files_[found->second];
    if (auto found = foldedNames_.find(foldedPath(name)); found != foldedNames_.end()) return &files_[found->second];
    return nullptr;
}

bool ModelArchive::readNamed(std::string_view name, uint64_t limit, std::vector<uint8_t>& bytes,
                             std::string& problem) const {
    if (auto found = names_.find(normalPath(name)); found != names_.end())
        return read(files_[found->second], limit, bytes, problem);
    problem = "the archive holds no \"" + std::string(name) + "\"";
    return false;
}

// Zip archives name files in their own code page or in UTF-8; the stored
// bytes are kept for matching texture names, libzip's UTF-8 reading of them
// for messages.
ModelArchive::ModelArchive(zip* archive, std::string name, uint64_t archiveBytes)
    : archive_(archive),
      name_(std::move(name)),
      inflateLimit_(std::min(MAX_INFLATED_BYTES, MAX_INFLATE_RATIO * archiveBytes)) {
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        const char* stored = zip_get_name(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
        const char* shown = zip_get_name(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_GUESS);
        if (stored == nullptr || shown == nullptr) continue;
        const std::string slashed = withSlashes(stored);
        // A folder's entry names no file.
        if (slashed.empty() || slashed.back() == '/' || !staysInsideItsFolder(slashed)) continue;
        std::string normal = normalPath(slashed);
        if (normal.empty()) continue;
        names_.emplace(normal, files_.size());
        foldedNames_.emplace(foldedPath(normal), files_.size());
        files_.push_back({static_cast<uint64_t>(index), std::move(normal), shown});
    }
}

std::shared_ptr<ModelArchive> ModelArchive::fromSource(zip_source* source, const std::string& name,
                                                       uint64_t archiveBytes, std::string& problem) {
    zip_error_t error;
    zip_error_init(&error);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive == nullptr) {
        zip_source_free(source);
        problem = refusal(error);
        return nullptr;
    }
    std::shared_ptr<ModelArchive> opened(new ModelArchive(archive, name, archiveBytes));
    if (!opened->findModelEntry(problem)) return nullptr;
    return opened;
}

bool ModelArchive::findModelEntry(std::string& problem) {
    size_t models = 0;
    for (size_t k = 0; k < files_.size(); ++k) {
        const std::string_view stored = files_[k].name;
        if (stored.size() < 4 || !sameIgnoringAsciiCase(stored.substr(stored.size() - 4), ".mqo")) continue;
        modelIndex_ = k;
        ++models;
    }
    if (models != 1) {
        problem = models == 0 ? "the archive holds no .mqo file"
                              : "the archive holds " + std::to_string(models) + " .mqo files; it must hold one";
        return false;
    }
    const std::string& stored = files_[modelIndex_].name;
    const size_t slash = stored.rfind('/');
    modelFolder_ = slash == std::string::npos ? std::string() : stored.substr(0, slash);
    return true;
}

ModelText::ModelText(FILE* file, const std::string& name) {
    char head[4];
    const size_t got = fread(head, 1, sizeof head, file);
    rewind(file);
    if (!startsAsArchive({head, got})) {
        stream_ = file;
        return;
    }
    archive_ = ModelArchive::open(file, name, problem_);
    if (archive_ != nullptr) openModelEntry();
}

ModelText::ModelText(std::string_view bytes, const std::string& name) {
    archive_ = ModelArchive::openInMemory(bytes, name, problem_);
    if (archive_ != nullptr) openModelEntry();
}

ModelText::~ModelText() {
    if (stream_ != nullptr) fclose(stream_);
}

std::string ModelText::problem() const {
    if (!problem_.empty() || inflater_ == nullptr) return problem_;
    return inflater_->problem();
}

// NOTE: the stream can't seek: the reader passes over binary blocks by
// reading forward. It keeps stdio's buffer: unbuffered, stdio reads on a
// byte at a time after any short read.
void ModelText::openModelEntry() {
    inflater_ = std::make_unique<EntryInflater>(*archive_, archive_->modelEntry(), MAX_INFLATED_BYTES);
    if (!inflater_->opened()) return;
    stream_ = fopencookie(inflater_.get(), "rb", {readInflated, nullptr, nullptr, nullptr});
    if (stream_ == nullptr) problem_ = std::strerror(errno);
}

bool startsAsArchive(std::string_view head) {
    return head.starts_with("PK\x03\x04") || head.starts_with("PK\x05\x06");
}

EntryInflater::EntryInflater(const ModelArchive& archive, const ArchiveEntry& entry, uint64_t limit)
    : archive_(archive), shownName_(entry.shownName), limit_(std::min(limit, archive.inflateLimit())) {
    zip_stat_t status;
    zip_stat_init(&status);
    if (zip_stat_index(archive.archive_, entry.index, 0, &status) != 0) {
        failBroken(zip_strerror(archive.archive_));
        return;
    }
    if ((status.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && status.encryption_method != ZIP_EM_NONE) {
        fail("is encrypted");
        return;
    }
    if ((status.valid & ZIP_STAT_SIZE) != 0 && status.size > limit_) {
        failTooLong();
        return;
    }
    const bool deflated = (status.valid & ZIP_STAT_COMP_METHOD) != 0 && status.comp_method == ZIP_CM_DEFLATE &&
                          (status.valid & ZIP_STAT_CRC) != 0;
    file_ = zip_fopen_index(archive.archive_, entry.index, deflated ? ZIP_FL_COMPRESSED : 0);
    if (file_ == nullptr) {
        failBroken(zip_strerror(archive.archive_));
        return;
    }
    if (!deflated) return;
    inflation_ = std::make_unique<inflate_state>();
    isal_inflate_init(inflation_.get());
    inflation_->crc_flag = ISAL_GZIP_NO_HDR;  // raw deflate, with the CRC-32 that zip archives keep
    deflated_ = std::make_unique<uint8_t[]>(DEFLATED_READ_BYTES);
    checksum_ = status.crc;
}

EntryInflater::~EntryInflater() {
    if (file_ != nullptr) zip_fclose(file_);
}

int64_t EntryInflater::read(char* buffer, size_t size) {
    if (file_ == nullptr || !problem_.empty()) return -1;
    // One byte past the limit tells an entry that ends there from one that
    // goes on; nothing more is inflated.
    const size_t asked = static_cast<size_t>(std::min<uint64_t>(size, limit_ - inflated_ + 1));
    const int64_t got = inflation_ != nullptr ? inflateSome(buffer, asked) : zip_fread(file_, buffer, asked);
    if (got < 0) {
        if (problem_.empty()) failBroken(zip_file_strerror(file_));
        return -1;
    }
    inflated_ += static_cast<uint64_t>(got);
    if (inflated_ > limit_) {
        failTooLong();
        return -1;
    }
    return got;
}

// Up to `size` bytes of the deflated entry, fewer only at its end; -1 when
// its deflated bytes are broken, cut short, or inflate to the wrong sum.
int64_t EntryInflater::inflateSome(char* buffer, size_t size) {
    inflate_state& state = *inflation_;
    while (state.block_state != ISAL_BLOCK_FINISH) {
        if (state.avail_in == 0 && !deflatedAtEnd_) {
            const zip_int64_t got = zip_fread(file_, deflated_.get(), DEFLATED_READ_BYTES);
            if (got < 0) return -1;
            deflatedAtEnd_ = got == 0;
            state.next_in = deflated_.get();
            state.avail_in = static_cast<uint32_t>(got);
        }
        const uint32_t room = static_cast<uint32_t>(std::min<size_t>(size, UINT32_MAX));
        const uint32_t taken = state.avail_in;
        state.next_out = reinterpret_cast<uint8_t*>(buffer);
        state.avail_out = room;
        if (isal_inflate(&state) < 0) {
            failBroken(ZIP_ER_COMPRESSED_DATA);
            return -1;
        }
        if (state.avail_out < room) return room - state.avail_out;
        // NOTE: a deflated stream that stops short of its last block, or
        // stops taking bytes, would otherwise be waited on forever.
        if (state.block_state != ISAL_BLOCK_FINISH && (deflatedAtEnd_ || (taken > 0 && state.avail_in == taken))) {
            failBroken(ZIP_ER_EOF);
            return -1;
        }
    }
    if (state.crc != checksum_) {
        failBroken(ZIP_ER_CRC);
        return -1;
    }
    return 0;
}

void EntryInflater::fail(const std::string& what) {
    problem_ = "the archive's \"" + shownName_ + "\" " + what;
}

void EntryInflater::failBroken(const char* libzipText) {
    fail("is broken (" + std::string(libzipText) + ")");
}

// In libzip's words for the error, as for the entries it inflates itself.
void EntryInflater::failBroken(int libzipError) {
    zip_error_t error;
    zip_error_init_with_code(&error, libzipError);
    failBroken(zip_error_strerror(&error));
    zip_error_fini(&error);
}

// Says which limit stopped the entry: the caller's own, or the archive's.
void EntryInflater::failTooLong() {
    if (limit_ < archive_.inflateLimit())
        fail("inflates to more than " + std::to_string(limit_) + " bytes");
    else if (limit_ == MAX_INFLATED_BYTES)
        fail("inflates to more than 1 GiB");
    else
        fail("inflates to more than " + std::to_string(limit_) + " bytes, " + std::to_string(MAX_INFLATE_RATIO) +
             " times the archive's size");
}

namespace {

ssize_t readInflated(void* inflater, char* buffer, size_t size) {
    return static_cast<EntryInflater*>(inflater)->read(buffer, size);
}

std::string normalPath(std::string_view path) {
    std::string normal;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view component = path.substr(start, end - start);
        if (!component.empty() && component != ".") {
            if (!normal.empty()) normal += '/';
            normal += component;
        }
        start = end + 1;
    }
    return normal;
}

std::string foldedPath(std::string path) {
    for (char& c : path) c = foldAsciiLetter(c);
    return path;
}

std::string refusal(zip_error_t& error) {
    std::string text = "broken zip archive (" + std::string(zip_error_strerror(&error)) + ")";
    zip_error_fini(&error);
    return text;
}

}  // namespace
