// Models in zip archives: the text model mode reads from an archive is the
// plain file's, byte for byte, whatever the archive and its .mqo are named;
// every archive that gives no whole model says why in one line; textures
// are found in the archive first, by the disk's spellings and case rules,
// and never by a name that climbs out of it; one file is read by its name
// within a limit.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <tuple>

#include "model/model_archive.h"
#include "model/texture_files.h"
#include "tests/model/archive_files.h"
#include "tests/model/model_files.h"

namespace {

const std::string VER12 = "Metasequoia Document\r\nFormat Text Ver 1.2\r\nCodePage utf8\r\n";

// The file at `path` opened as model mode opens it, and read as far as it
// gives a text.
struct ArchiveReading {
    std::unique_ptr<ModelText> text;
    ParsedModel model;
};

ArchiveReading readArchiveFile(const std::string& path) {
    ArchiveReading reading;
    reading.text = std::make_unique<ModelText>(fopen(path.c_str(), "rb"), path);
    reading.model.result = 1;
    if (reading.text->stream() == nullptr) return reading;
    reading.model.document = std::make_unique<ModelDocument>(ModelData{}, reading.text->stream(), ReadingMode::Model);
    reading.model.result = reading.model.document->parse();
    return reading;
}

// What a reading made of the model: where it stopped, the names, and the
// corners of the last object's last face.
auto summaryOf(const ParsedModel& model) {
    const FaceList& faces = model.data().objects.back().faces;
    return std::tuple(model.result, model.document->lineNumber(), namesOf(model),
                      faces.corners(faces.size() - 1).vertices.size(), model.object(2).vertices[2].y);
}

std::string noise(size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    return bytes;
}

// A model of many lines, a skipped block of binary bytes that the stream
// must read forward past, and a face line wider than the reader's window.
std::string bigModel() {
    std::string text = VER12 + modelText(3, 3000).substr(HEADER.size());
    text += "Blob {\r\n data [ 3000000 ]\r\n" + noise(3000000) + "}\r\nObject \"wide\" {\r\n face 1 {\r\n  400000 V(";
    for (int k = 0; k < 100000; ++k) text += "1 2 3 4 ";
    return text + ")\r\n }\r\n}\r\n";
}

TEST(ModelArchive, readsItsModelAsThePlainFileReadsWhateverTheNames) {
    const ScratchFolder folder;
    const std::string text = bigModel();
    const ParsedModel plain = parseText(text, false, ReadingMode::Model);
    ASSERT_EQ(plain.result, ParseOk);
    const ArchiveFiles files = {
        {"thumbnail.jpg", "\xFF\xD8\xFF"}, {"parts/Player.MQO", text}, {"parts/Player.mqx", "<x/>"}};
    // Deflated, as nearly every archive is, or stored; under either name.
    for (const auto& [name, method] :
         {std::pair("player.mqoz", ZIP_CM_DEFLATE), std::pair("player.mqo", ZIP_CM_STORE)}) {
        SCOPED_TRACE(name);
        const ArchiveReading read = readArchiveFile(folder.write(name, zipArchive(files, method)));
        ASSERT_EQ(std::tuple(read.model.result, read.text->problem()), std::tuple(ParseOk, ""));
        EXPECT_EQ(std::tuple(read.text->archive()->modelEntry().name, read.text->archive()->modelFolder()),
                  std::tuple("parts/Player.MQO", "parts"));
        EXPECT_EQ(summaryOf(read.model), summaryOf(plain));
    }
    // A plain model named as an archive reads as the plain text it is.
    const ArchiveReading read = readArchiveFile(folder.write("plain.mqoz", text));
    EXPECT_EQ(read.text->archive(), nullptr);
    EXPECT_EQ(summaryOf(read.model), summaryOf(plain));
}

// The archive, what is wrong with it, and whether the text stops only once
// it is being read.
TEST(ModelArchive, eachArchiveThatGivesNoWholeModelSaysWhyInOneLine) {
    const ScratchFolder folder;
    const std::string model = VER12 + "Object \"o\" {\r\n}\r\n";
    std::string claimsFourGiB = zipArchive({{"big.mqo", model + std::string(1000, ' ')}});
    claimSize(claimsFourGiB, 0xFFFFFFFE);
    std::string claimsTwoGiB = zipArchive({{"big.mqo", model}, {"noise.bin", noise(6 << 20)}});
    claimSize(claimsTwoGiB, 0x80000000);
    const std::string zeros = zipArchive({{"zeros.mqo", model + std::string(10 << 20, '\0')}});
    std::string lying = zeros;
    claimSize(lying, 1024);
    std::string encrypted = zipArchive({{"secret.mqo", model}});
    markEncrypted(encrypted);
    std::string broken = zipArchive({{"broken.mqo", model}});
    breakChecksum(broken);
    std::string storedBroken = zipArchive({{"broken.mqo", model}}, ZIP_CM_STORE);
    breakChecksum(storedBroken);
    std::string cut = zipArchive({{"cut.mqo", model + std::string(5000, 'x')}});
    cutDeflatedBytes(cut, 20);
    std::string badBlock = zipArchive({{"bad.mqo", model}});
    breakFirstBlock(badBlock);
    const std::string limit = std::to_string(MAX_INFLATE_RATIO * zeros.size());
    const std::tuple<const char*, std::string, std::string, bool> cases[] = {
        {"empty", zipArchive({}), "the archive holds no .mqo file", false},
        {"only a thumbnail", zipArchive({{"thumbnail.jpg", "x"}, {"a.mqx", "x"}}), "the archive holds no .mqo file",
         false},
        {"names that climb out", zipArchive({{"../a.mqo", model}, {"/b.mqo", model}, {"C:/c.mqo", model}}),
         "the archive holds no .mqo file", false},
        {"two models", zipArchive({{"a.mqo", model}, {"b/b.MQO", model}}),
         "the archive holds 2 .mqo files; it must hold one", false},
        {"claims 4 GiB", claimsFourGiB,
         "the archive's \"big.mqo\" inflates to more than " + std::to_string(MAX_INFLATE_RATIO * claimsFourGiB.size()) +
             " bytes, 200 times the archive's size",
         false},
        {"claims 2 GiB past the archive's size", claimsTwoGiB, "the archive's \"big.mqo\" inflates to more than 1 GiB",
         false},
        {"10 MiB of zeros", zeros,
         "the archive's \"zeros.mqo\" inflates to more than " + limit + " bytes, 200 times the archive's size", false},
        {"10 MiB of zeros claiming 1 KiB", lying,
         "the archive's \"zeros.mqo\" inflates to more than " + limit + " bytes, 200 times the archive's size", true},
        {"encrypted", encrypted, "the archive's \"secret.mqo\" is encrypted", false},
        {"wrong checksum", broken, "the archive's \"broken.mqo\" is broken (CRC error)", true},
        {"stored, wrong checksum", storedBroken, "the archive's \"broken.mqo\" is broken (CRC error)", true},
        {"deflated bytes cut short", cut, "the archive's \"cut.mqo\" is broken (Premature end of file)", true},
        {"a block of no type", badBlock, "the archive's \"bad.mqo\" is broken (Compressed data invalid)", true},
        {"cut in its central directory", cutInCentralDirectory(zipArchive({{"a.mqo", model}, {"b.png", "x"}})),
         "broken zip archive (Not a zip archive)", false},
    };
    for (const auto& [what, archive, problem, whileReading] : cases) {
        SCOPED_TRACE(what);
        const ArchiveReading read = readArchiveFile(folder.write("model.mqoz", archive));
        EXPECT_EQ(std::tuple(read.text->problem(), read.text->stream() != nullptr), std::tuple(problem, whileReading));
    }
}

// What the viewer loads from an archive whose text stops short: nothing,
// even where the part before the stop reads as a whole model.
TEST(ModelArchive, aTextThatStopsShortLoadsNothing) {
    const ScratchFolder folder;
    std::string broken = zipArchive({{"cut.mqo", modelText(1, 1)}});
    breakChecksum(broken);
    const ModelText text(fopen(folder.write("cut.mqoz", broken).c_str(), "rb"), "cut.mqoz");
    const std::optional<ModelReadFailure> failure = loadModelFile(text);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(std::tuple(failure->archiveProblem, currentDocument, modelSettings.archive),
              std::tuple("the archive's \"cut.mqo\" is broken (CRC error)", nullptr, nullptr));
}

// The model is car/car.mqo in the archive; the disk has files beside it.
TEST(ModelArchive, texturesAreFoundInTheArchiveFirstThenBesideIt) {
    const ScratchFolder folder;
    for (const char* name : {"side.png", "disk.png", "climb.png"}) folder.write(name, "");
    const std::string bytes = zipArchive({{"car/car.mqo", ""},
                                          {"car/Textures/Wood.PNG", ""},
                                          {"car/side.png", ""},
                                          {"car/\x96\xD8.png", ""},
                                          {"car/\xE7\x9C\x8B.png", ""},
                                          {"../car/climb.png", ""},
                                          {"top.png", ""}});
    std::string problem;
    const std::string archiveName = (folder.path() / "car.mqoz").string();
    const std::shared_ptr<ModelArchive> archive = ModelArchive::openInMemory(bytes, archiveName, problem);
    ASSERT_NE(archive, nullptr) << problem;
    // The name in the model (Shift JIS), and the archive's file or the
    // disk's that it names; "" for none.
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"C:\\work\\wood.png", "car/Textures/Wood.PNG", ""},
        {"side.png", "car/side.png", ""},
        // 木 stored in the model's own code page, 看 in UTF-8.
        {"\x96\xD8.png", "car/\x96\xD8.png", ""},
        {"\x8A\xC5.png", "car/\xE7\x9C\x8B.png", ""},
        {"disk.png", "", (folder.path() / "disk.png").string()},
        {"..\\car\\climb.png", "", (folder.path() / "climb.png").string()},
        {"top.png", "", ""},
    };
    for (const auto& [name, entry, file] : cases) {
        SCOPED_TRACE(name);
        const TextureFileSearch search = findTextureFile(folder.path(), name, "CP932", archive.get());
        EXPECT_EQ(std::tuple(search.entry ? search.entry->name : "", search.found.string(), search.folders.front()),
                  std::tuple(entry, file, archiveName));
    }
}

TEST(ModelArchive, oneFileIsReadByItsNameWithinALimit) {
    const std::string thumbnail = noise(5000);
    const std::string bytes = zipArchive({{"m.mqo", ""}, {"thumbnail.jpg", thumbnail}});
    std::string problem;
    const std::shared_ptr<ModelArchive> archive = ModelArchive::openInMemory(bytes, "m.mqoz", problem);
    ASSERT_NE(archive, nullptr) << problem;
    std::vector<uint8_t> read;
    ASSERT_TRUE(archive->readNamed("thumbnail.jpg", 5000, read, problem)) << problem;
    EXPECT_EQ(std::string(read.begin(), read.end()), thumbnail);
    const std::pair<const char*, const char*> refused[] = {
        {"thumbnail.jpg", "the archive's \"thumbnail.jpg\" inflates to more than 4999 bytes"},
        {"Thumbnail.jpg", "the archive holds no \"Thumbnail.jpg\""},
    };
    for (const auto& [name, why] : refused) {
        EXPECT_FALSE(archive->readNamed(name, 4999, read, problem));
        EXPECT_EQ(std::tuple(problem, read.size()), std::tuple(why, 0));
    }
}

}  // namespace
