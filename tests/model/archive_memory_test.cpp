// An archive may cost at most 64 MiB + 8 times its size in memory while the
// viewer opens it and reads its model, whatever its headers claim and
// however much its entries would inflate to: each hostile archive is read in
// a child process with little address space to spare.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "model/model_archive.h"
#include "tests/model/archive_files.h"
#include "tests/model/model_files.h"
#include "tests/mqo/bounded_memory.h"

namespace {

// What a reading that the archive itself stops returns.
constexpr int32_t ARCHIVE_REFUSED = -100;

int32_t readAsModelModeDoes(const std::string& path) {
    const ModelText text(fopen(path.c_str(), "rb"), path);
    if (text.stream() == nullptr) return ARCHIVE_REFUSED;
    const int32_t result = ModelDocument(ModelData{}, text.stream(), ReadingMode::Model).parse();
    return text.problem().empty() ? result : ARCHIVE_REFUSED;
}

}  // namespace

TEST(ArchiveMemory, anyArchiveCostsAtMost64MiBPlusEightTimesItsSize) {
    const ScratchFolder folder;
    const std::string model = "Metasequoia Document\r\nFormat Text Ver 1.2\r\nObject \"o\" {\r\n}\r\n";
    std::string claimsFourGiB = zipArchive({{"big.mqo", model + std::string(1000, ' ')}});
    claimSize(claimsFourGiB, 0xFFFFFFFE);
    const std::string zeros = zipArchive({{"zeros.mqo", model + std::string(10 << 20, '\0')}});
    std::string lying = zeros;
    claimSize(lying, 1024);
    std::string encrypted = zipArchive({{"secret.mqo", model}});
    markEncrypted(encrypted);
    ArchiveFiles many = {{"m.mqo", model}};
    for (int k = 0; k < 100000; ++k) many.emplace_back("t/" + std::to_string(k) + ".png", "");
    const std::pair<const char*, std::string> cases[] = {
        {"empty", zipArchive({})},
        {"two models", zipArchive({{"a.mqo", model}, {"b.mqo", model}})},
        {"a 1 KiB entry claiming 4 GiB", claimsFourGiB},
        {"10 MiB of zeros", zeros},
        {"10 MiB of zeros claiming 1 KiB", lying},
        {"names that climb out", zipArchive({{"../../m.mqo", model}})},
        {"cut in its central directory", cutInCentralDirectory(zipArchive({{"a.mqo", model}, {"b.png", "x"}}))},
        {"encrypted", encrypted},
        {"100000 files beside the model", zipArchive(many)},
    };
    for (const auto& [what, archive] : cases) {
        SCOPED_TRACE(what);
        const std::string path = folder.write("hostile.mqoz", archive);
        const Reading reading = readInChild([&] { return readAsModelModeDoes(path); });
        EXPECT_EQ(reading.result, std::string(what).starts_with("100000") ? ParseOk : ARCHIVE_REFUSED);
        EXPECT_LE(reading.addedBytes, 64 * MIB + 8 * archive.size());
    }
}
