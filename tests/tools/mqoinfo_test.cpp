// mqoinfo. Its printers, byte for byte: the JSON form (fixed layout, every
// field, floats that read back unchanged, names as escaped UTF-8, and
// whatever a failed read left behind), and the readable summary (the verdict
// with where reading stopped, and the count of face corners the viewer could
// not draw). As a command: its exit status and what goes to which stream for
// a model read, a model refused, a file it cannot use and wrong arguments,
// and where the model reading finds each material's texture.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "mqo/model_document.h"
#include "render/images/png_reader.h"
#include "tests/model/archive_files.h"
#include "tests/model/model_files.h"
#include "tools/bundled_model/picture_files.h"
#include "tools/mqoinfo/json_printer.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

struct CommandResult {
    int status = -1;  // exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

const std::string NO_SCENE = "\"scene\": {\"pos\":[0,0,0], \"angles\":[0,0,0], \"lookat\":[0,0,0], \"amb\":[0,0,0]}";

const std::string NOTHING_READ = "materials: 0\nobjects: 0\nwarnings: 0 face corners outside their object's vertices\n";

const std::string USAGE = "usage: mqoinfo [--classic] [--json] FILE\n       mqoinfo --thumbnail OUT.png FILE\n";

// Runs mqoinfo with these arguments; `stdoutPath`, when given, receives
// standard output instead of the capture.
CommandResult runMqoinfo(const std::vector<std::string>& arguments, const std::string& stdoutPath = "") {
    const ScratchFolder folder;
    const std::string out = stdoutPath.empty() ? (folder.path() / "out").string() : stdoutPath;
    std::string command = MQOINFO_PATH " ";
    for (const std::string& argument : arguments) command += "'" + argument + "' ";
    const int status = std::system((command + ">" + out + " 2>" + (folder.path() / "err").string()).c_str());
    // Reading back a device such as /dev/full would never end.
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, stdoutPath.empty() ? readFile(out) : "",
            readFile(folder.path() / "err")};
}

TEST(JsonPrinter, documentsPrintByteForByte) {
    // inf, -inf, NaN, 1.5, -0 and the smallest float as little-endian bits.
    const std::string oddFloats("\0\0\x80\x7F\0\0\x80\xFF\0\0\xC0\x7F\0\0\xC0\x3F\0\0\0\x80\x01\0\0\0", 24);
    const std::tuple<const char*, std::string, std::string> cases[] = {
        // 看板 in Shift JIS; undecodable bytes; a tab kept by the quotes. A
        // later scene sets only the values it gives whole; nested blocks,
        // unknown keys and attributes are passed over.
        {"every field, nine significant digits, names as escaped UTF-8",
         HEADER + "Scene {\n pos 1 2 3\n lookat 0.5 0 -1 7\n head 0.25\n pich -1.5\n dirlights 1 {\n  light {\n"
                  "   pos 9 9 9\n  }\n }\n zoom2 5\n}\nScene {\n pos 7 8\n lookat 1 2\n amb 0.1 0.2 0.3\n}\n"
                  "Material 1 {\n \"a\tb\\c\" shader(3) col(1 0 0 1) dif(0.8) amb(0.6) emi(0.1) spc(0.2) power(5) "
                  "tex(\"\xA0x\xFD.bmp\") aplane(\"b.tga\") bump(\"c.jpg\")\n}\n"
                  "Object \"\x8A\xC5\x94\xC2\" {\n scale 1 2 3\n rotation 0 90 0\n translation -1 0 1\n"
                  " vertex 3 {\n  0 0 0\n  1 0 0\n  0.1 1 0\n }\n"
                  " face 2 {\n  3 V(0 1 2) M(0) UV(0 0 1 0 0 1) COL(4294967295 1 2)\n  4 V(2 1 0 7)\n }\n}\nEof\n",
         "{\"result\": 0, \"scene\": {\"pos\":[1,2,3], \"angles\":[0.25,-1.5,0], \"lookat\":[0.5,0,-1], "
         "\"amb\":[0.100000001,0.200000003,0.300000012]}, "
         "\"materials\": [{\"name\": \"a\\u0009b\\\\c\", \"col\":[1,0,0,1], \"dif\":0.800000012, "
         "\"amb\":0.600000024, \"emi\":0.100000001, \"spc\":0.200000003, \"power\":5, "
         "\"tex\": \"\uFFFDx\uFFFD.bmp\", \"aplane\": \"b.tga\", \"bump\": \"c.jpg\"}], "
         "\"objects\": [{\"name\": \"看板\", \"scale\":[1,2,3], \"rotation\":[0,90,0], \"translation\":[-1,0,1], "
         "\"vertices\": [[0,0,0,0], [1,0,0,0], [0.100000001,1,0,0]], "
         "\"faces\": [{\"n\": 3, \"m\": 0, \"v\":[0,1,2,0], \"uv\":[[0,0],[1,0],[0,1],[0,0]], "
         "\"col\":[4294967295,1,2,0]}, "
         "{\"n\": 4, \"m\": -1, \"v\":[2,1,0,7], \"uv\":[[0,0],[0,0],[0,0],[0,0]], \"col\":[0,0,0,0]}]}]}\n"},
        {"binary vertices beyond JSON's numbers",
         HEADER + "Object \"b\" {\n BVertex 2 {\n  Vector 2 [24]\n" + oddFloats + " }\n}\n",
         "{\"result\": 0, " + NO_SCENE +
             ", \"materials\": [], \"objects\": [{\"name\": \"b\", "
             "\"scale\":[0,0,0], \"rotation\":[0,0,0], \"translation\":[0,0,0], \"vertices\": "
             "[[\"inf\",\"-inf\",\"nan\",0], [1.5,-0,1.40129846e-45,0]], \"faces\": []}]}\n"},
        {"cut inside an object: the materials before it stay",
         HEADER + "Material 1 {\n \"kept\" col(1 1 1 1)\n}\nObject \"lost\" {\n vertex 1 {\n  1 2 3\n",
         "{\"result\": -2, " + NO_SCENE +
             ", \"materials\": [{\"name\": \"kept\", \"col\":[1,1,1,1], "
             "\"dif\":0, \"amb\":0, \"emi\":0, \"spc\":0, \"power\":0, \"tex\": \"\", \"aplane\": \"\", \"bump\": "
             "\"\"}], "
             "\"objects\": []}\n"},
        {"no header", "Metasequoia\n", "{\"result\": -3, " + NO_SCENE + ", \"materials\": [], \"objects\": []}\n"},
    };
    for (const auto& [what, model, json] : cases) {
        SCOPED_TRACE(what);
        const ParsedModel parsed = parseText(model);
        OutputBuffer out;
        printDocumentJson(parsed.data(), parsed.result, out);
        EXPECT_EQ(out.text(), json);
    }
}

// The model reading's form: its code page, where and why reading stopped,
// where textures are found, every corner of each face, projections, and the
// curved surface and lathe keys with what they become.
TEST(JsonPrinter, modelReadingPrintsWholeFacesAndWhereReadingStopped) {
    const std::string model =
        "Metasequoia Document\nFormat Text Ver 1.1\nCodePage utf8\n"
        "Material 1 {\n \"木\" tex(\"none.png\") proj_type(2) proj_pos(1 2 3)\n}\n"
        "Object \"o\" {\n patch 3\n segment 2\n lathe 1\n"
        " face 1 {\n  5 V(0 1 2 3 4) M(0) UV(0 0 1 0 1 1 0 1 0.5 2)\n  3 V(0 1 2) COL(7 8 9)\n }\n}\n"
        "Object \"cut\" {\n";
    const ParsedModel parsed = parseText(model, false, ReadingMode::Model);
    const ModelReadOutcome outcome{parsed.result, parsed.document->lineNumber(), parsed.document->failureText(),
                                   "/nonexistent"};
    OutputBuffer out;
    printModelDocumentJson(parsed.data(), outcome, out);
    EXPECT_EQ(
        out.text(),
        "{\"result\": -2, \"codePage\": \"utf8\", \"stoppedAt\": {\"line\": 16, \"expected\": \"expected \\\"}\\\" "
        "closing the Object chunk before the end of the file\"}, " +
            NO_SCENE +
            ", \"materials\": [{\"name\": \"木\", \"col\":[0,0,0,0], \"dif\":0, \"amb\":0, \"emi\":0, "
            "\"spc\":0, \"power\":0, \"tex\": \"none.png\", \"aplane\": \"\", \"bump\": \"\", \"texFile\": null, "
            "\"aplaneFile\": null, \"proj_type\": 2, \"proj_pos\":[1,2,3], \"proj_scale\":[1,1,1], "
            "\"proj_angle\":[0,0,0]}], \"objects\": [{\"name\": \"o\", \"scale\":[0,0,0], \"rotation\":[0,0,0], "
            "\"translation\":[0,0,0], \"patch\": 3, \"segment\": 2, \"lathe\": 1, \"lathe_axis\": 0, "
            "\"lathe_seg\": 12, \"shownAs\": {\"latheSteps\": 12, \"level\": 2, \"triangles\": 0}, "
            "\"vertices\": [], \"faces\": [{\"n\": 5, \"m\": 0, \"v\":[0,1,2,3,4], "
            "\"uv\":[[0,0],[1,0],[1,1],[0,1],[0.5,2]], \"col\":[0,0,0,0,0]}, {\"n\": 3, \"m\": -1, "
            "\"v\":[0,1,2], \"uv\":[[0,0],[0,0],[0,0]], \"col\":[7,8,9]}]}]}\n");
}

TEST(Summary, printsTheVerdictEveryMaterialAndObjectAndTheCornersOutsideTheVertices) {
    const std::pair<std::string, std::string> cases[] = {
        // Only a face's own corners count: a triangle's unused fourth slot
        // holds vertex 0, which an object without vertices does not have.
        {HEADER + "Material 2 {\n \"wood\" col(0.8 0.5 0.25 1) tex(\"wood.bmp\") aplane(\"cut.tga\")\n \"plain\"\n}\n"
                  "Object \"\x8A\xC5\x94\xC2\" {\n vertex 3 {\n  0 0 0\n  1 0 0\n  0 1 0\n }\n"
                  " face 2 {\n  3 V(0 1 2)\n  4 V(0 1 3 -1)\n }\n}\n"
                  "Object \"bare\" {\n face 1 {\n  3 V(0 1 2)\n }\n}\n",
         "result: 0\n"
         "materials: 2\n"
         "  0 \"wood\" colour 0.8 0.5 0.25 1, texture \"wood.bmp\", alpha plane \"cut.tga\"\n"
         "  1 \"plain\" colour 0 0 0 0\n"
         "objects: 2\n"
         "  0 \"看板\" 3 vertices, 2 faces, 2 corners outside the vertices\n"
         "  1 \"bare\" 0 vertices, 1 faces, 3 corners outside the vertices\n"
         "warnings: 5 face corners outside their object's vertices\n"},
        {HEADER + "Object \"cut\" {\n vertex 1 {\n", "result: -2 EOF, reading stopped at line 4\n" + NOTHING_READ},
        {HEADER + "Object \"x\" {\n\n face 1 {\n  3 X(0 1 2)\n  3 V(0 1 2)\n }\n}\n",
         "result: -1 Error, reading stopped at line 6\n" + NOTHING_READ},
        {"Metasequoia Document\nFormat Text Ver 2.0\n",
         "result: -4 Format Error, reading stopped at line 2\n" + NOTHING_READ},
        {"\n", "result: -3 Header Error, reading stopped at line 1\n" + NOTHING_READ},
    };
    for (const auto& [model, summary] : cases) {
        SCOPED_TRACE(summary.substr(0, summary.find('\n')));
        const ParsedModel parsed = parseText(model);
        OutputBuffer out;
        printSummary(parsed.data(), parsed.result, parsed.document->lineNumber(), out);
        EXPECT_EQ(out.text(), summary);
    }
}

// The model reading tells what curved surfaces and lathes become, and
// which projection a material has; the classic reading tells neither.
TEST(Summary, modelReadingTellsWhatShapedObjectsBecome) {
    std::string cube = " vertex 8 {\n";
    for (int v = 0; v < 8; ++v)
        cube += "  " + std::to_string(v & 1) + " " + std::to_string(v >> 1 & 1) + " " + std::to_string(v >> 2) + "\n";
    cube +=
        " }\n face 6 {\n  4 V(0 1 3 2)\n  4 V(4 6 7 5)\n  4 V(0 4 5 1)\n  4 V(2 3 7 6)\n"
        "  4 V(0 2 6 4)\n  4 V(1 5 7 3)\n }\n}\n";
    const std::string profile =
        " vertex 3 {\n  0 0 0\n  1 0 0\n  1 1 0\n }\n face 2 {\n  2 V(0 1)\n  2 V(1 2)\n }\n}\n";
    const std::string model =
        HEADER +
        "Material 3 {\n \"map\" proj_type(1) proj_pos(0 20 0) proj_scale(40 40 40) proj_angle(90 0 0)\n"
        " \"odd\" proj_type(7)\n \"flat\" proj_type(2) proj_scale(1 0 1)\n}\n"
        "Object \"ball\" {\n patch 3\n segment 2\n" +
        cube + "Object \"big\" {\n patch 3\n segment 99\n mirror 1\n" + cube +
        "Object \"vase\" {\n lathe 1\n lathe_axis 2\n lathe_seg 8\n" + profile +
        "Object \"bowl\" {\n lathe 1\n lathe_seg 4\n patch 1\n" + profile + "Object \"shy\" {\n visible 0\n patch 2\n" +
        cube;
    const ParsedModel parsed = parseText(model, false, ReadingMode::Model);
    const ModelReadOutcome outcome{parsed.result, parsed.document->lineNumber(), "", "/nonexistent"};
    OutputBuffer out;
    printModelSummary(parsed.data(), outcome, out);
    EXPECT_EQ(out.text(),
              "code page: 932\nresult: 0\nmaterials: 3\n"
              "  0 \"map\" colour 0 0 0 0, planar projection from 0 20 0, size 40 40 40, turned 90 0 0\n"
              "  1 \"odd\" colour 0 0 0 0, unknown projection (not used)\n"
              "  2 \"flat\" colour 0 0 0 0, cylindrical projection (not used)\n"
              "objects: 5\n"
              "  0 \"ball\" 8 vertices, 6 faces, curved surface refined 2 times: 192 triangles\n"
              "  1 \"big\" 8 vertices, 6 faces, curved surface refined 8 times of 16 asked: 1572864 triangles\n"
              "  2 \"vase\" 3 vertices, 2 faces, lathe of 8 steps about z: 24 triangles\n"
              "  3 \"bowl\" 3 vertices, 2 faces, lathe of 4 steps about x, curved surface refined once: 24 triangles\n"
              "  4 \"shy\" 8 vertices, 6 faces, curved surface, hidden\n"
              "warnings: 0 face corners outside their object's vertices\n");
    OutputBuffer classic;
    printSummary(parseText(model).data(), ParseOk, 0, classic);
    EXPECT_EQ(classic.text().find("projection"), std::string::npos);
    EXPECT_EQ(classic.text().find("triangles"), std::string::npos);
}

TEST(MqoinfoCommand, exitStatusTellsReadFromRefusedFromUnusable) {
    const ScratchFolder folder;
    const std::string model = modelText(0, 1);
    const std::string good = folder.write("good.mqo", model);
    const std::string cut = folder.write("cut.mqo", model.substr(0, model.find("vertex")));
    const std::string notModel = folder.write("not.mqo", "hello\n");
    const std::string missing = (folder.path() / "missing.mqo").string();
    const std::string cutSummary = "file: " + cut +
                                   "\ncode page: 932\nresult: -2 EOF, reading stopped at line 5: expected \"}\" "
                                   "closing the Object chunk before the end of the file\n";
    // The arguments, the exit status, the start of standard output (empty:
    // nothing at all), standard error, and where standard output goes.
    const std::tuple<std::vector<std::string>, int, std::string, std::string, const char*> cases[] = {
        {{"--classic", good}, 0, "file: " + good + "\nresult: 0\n", "", ""},
        {{"--json", "--classic", good}, 0, "{\"result\": 0, \"scene\"", "", ""},
        {{"--json", good}, 0, "{\"result\": 0, \"codePage\": \"932\", \"stoppedAt\": null, ", "", ""},
        // A refused model is still described.
        {{"--classic", cut}, 1, "file: " + cut + "\nresult: -2 EOF, reading stopped at line 5\n", "", ""},
        {{cut}, 1, cutSummary, "", ""},
        {{"--classic", "--json", notModel}, 1, "{\"result\": -3, ", "", ""},
        {{"--json", missing}, 2, "", "mqoinfo: cannot open " + missing + ": No such file or directory\n", ""},
        // A folder opens but cannot be read: that is no verdict on a model.
        {{"--json", folder.path()}, 2, "", "mqoinfo: cannot open " + folder.path().string() + ": Is a directory\n", ""},
        {{"--json", good}, 2, "", "mqoinfo: cannot write the output\n", "/dev/full"},
        {{"--help"}, 0, USAGE + "Tells what the viewer reads from the model FILE", "", ""},
        {{}, 2, "", USAGE, ""},
        {{"--json"}, 2, "", USAGE, ""},
        {{"--xml", good}, 2, "", USAGE, ""},
        {{"--json", "--json", good}, 2, "", USAGE, ""},
        {{"--json", good, good}, 2, "", USAGE, ""},
        {{"--help", good}, 2, "", USAGE, ""},
    };
    for (const auto& [arguments, status, outStart, err, stdoutPath] : cases) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const CommandResult run = runMqoinfo(arguments, stdoutPath);
        EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(status, err));
        EXPECT_TRUE(outStart.empty() ? run.out.empty() : run.out.starts_with(outStart)) << run.out;
    }
}

// The modeller's own picture comes out as the file keeps it: a Thumbnail
// chunk pixel for pixel, whatever lines its rows are cut into, and for an
// archive whose model keeps none, its thumbnail.jpg.
TEST(MqoinfoCommand, thumbnailIsTheModellersOwnPicture) {
    const ScratchFolder folder;
    const std::string model = modelText(0, 1);
    const std::string chunk = "Thumbnail 3 2 24 rgb raw {\r\n0a141e28323c\r\n46505a\r\nff0000\r\n00ff000000FF\r\n}\r\n";
    const std::string kept = folder.write("kept.mqo", model + chunk);
    const std::string shortChunk = folder.write("short.mqo", model + "Thumbnail 3 2 24 rgb raw {\r\n0a141e\r\n}\r\n");
    Picture red(8, 8, 3);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) *red.at(x, y) = 255;
    const FileBytes jpeg = encodeJpeg(red, 100);
    const std::string zipped = folder.write(
        "zipped.mqoz", zipArchive({{"m.mqo", model}, {"thumbnail.jpg", std::string(jpeg.begin(), jpeg.end())}}));
    const std::string out = (folder.path() / "out.png").string();
    auto written = [&] {
        PngReader picture;
        std::vector<uint8_t> pixels;
        if (picture.load(out.c_str()) == 0)
            for (int32_t y = 0; y < picture.height; ++y)
                for (int32_t x = 0; x < picture.width; ++x)
                    for (int32_t c = 0; c < 3; ++c) pixels.push_back(picture.rgbRows[y][3 * x + c]);
        std::filesystem::remove(out);
        return std::tuple(picture.width, picture.height, pixels);
    };
    const CommandResult fromChunk = runMqoinfo({"--thumbnail", out, kept});
    EXPECT_EQ(std::tuple(fromChunk.status, fromChunk.out, fromChunk.err), std::tuple(0, "", ""));
    EXPECT_EQ(
        written(),
        std::tuple(3, 2, std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
    const CommandResult fromArchive = runMqoinfo({"--thumbnail", out, zipped});
    EXPECT_EQ(std::tuple(fromArchive.status, fromArchive.err), std::tuple(0, ""));
    const auto [width, height, pixels] = written();
    ASSERT_EQ(std::tuple(width, height, pixels.size()), std::tuple(8, 8, size_t{192}));
    for (size_t p = 0; p < pixels.size(); p += 3) EXPECT_TRUE(pixels[p] > 250 && pixels[p + 1] < 5) << p;
    // Neither file keeps a whole picture; nowhere to write is no verdict.
    const std::string plain = folder.write("plain.mqo", model);
    for (const std::string& none : {plain, shortChunk}) {
        const CommandResult run = runMqoinfo({"--thumbnail", out, none});
        EXPECT_EQ(std::tuple(run.status, run.err), std::tuple(1, "mqoinfo: " + none + " has no thumbnail\n"));
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    const CommandResult unwritable = runMqoinfo({"--thumbnail", "/nonexistent/out.png", kept});
    EXPECT_EQ(std::tuple(unwritable.status, unwritable.err),
              std::tuple(2, std::string("mqoinfo: cannot write /nonexistent/out.png\n")));
    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"--thumbnail", kept}, {"--thumbnail", out, "--json", kept}}) {
        EXPECT_EQ(runMqoinfo(wrong).status, 2);
    }
}

// A big model's JSON passes through the output buffer many times over.
TEST(MqoinfoCommand, outputOfManyMegabytesArrivesWholeAndInOrder) {
    const ScratchFolder folder;
    const std::string model = modelText(0, 20000);
    ModelDocument document(ModelData{}, model);
    OutputBuffer expected;
    printDocumentJson(document.data(), document.parse(), expected);
    ASSERT_GT(expected.text().size(), size_t{3} << 20);
    EXPECT_EQ(runMqoinfo({"--classic", "--json", folder.write("big.mqo", model)}).out, expected.text());
}

// Names in Shift JIS and by absolute Windows paths, found in the model's
// folder tree in another spelling; one texture that is nowhere.
TEST(MqoinfoCommand, tellsWhereEachTextureIsFoundOrWhereItWasLookedFor) {
    const ScratchFolder folder;
    std::filesystem::create_directories(folder.path() / "car" / "textures");
    folder.write("car/textures/\xE6\x9C\xA8\xE7\x9B\xAE.PNG", "");
    folder.write("car/body.tga", "");
    const std::string model = folder.write(
        "car/car.mqo",
        HEADER +
            "Material 2 {\r\n\"\x96\xD8\" tex(\"\x96\xD8\x96\xDA.png\") aplane(\"C:\\Users\\me\\body.tga\")\r\n"
            "\"glass\" tex(\"glass.bmp\")\r\n}\r\n");
    const std::string car = (folder.path() / "car").string();
    const CommandResult run = runMqoinfo({model});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "file: " + model + "\ncode page: 932\nresult: 0\nmaterials: 2\n" +
                  "  0 \"木\" colour 0 0 0 0, texture \"木目.png\", alpha plane \"C:\\\\Users\\\\me\\\\body.tga\"\n" +
                  "    texture \"木目.png\" is \"" + car + "/textures/木目.PNG\"\n" +
                  "    alpha plane \"C:\\\\Users\\\\me\\\\body.tga\" is \"" + car + "/body.tga\"\n" +
                  "  1 \"glass\" colour 0 0 0 0, texture \"glass.bmp\"\n" +
                  "    texture \"glass.bmp\" not found; looked in \"" + car + "\", \"" + car + "/Texture\", \"" + car +
                  "/texture\", \"" + car + "/Textures\", \"" + car + "/textures\"\n" +
                  "objects: 0\nwarnings: 0 face corners outside their object's vertices\n");
}

// A model from an archive: each file found is in the archive or on disk,
// the archive itself is the first place looked in, and an archive that
// gives no model is a file mqoinfo cannot read.
TEST(MqoinfoCommand, tellsWhetherATextureIsInTheArchiveOrOnDisk) {
    const ScratchFolder folder;
    folder.write("wood.png", "");
    folder.write("glass.png", "");
    const std::string model = HEADER + "Material 3 {\r\n\"a\" tex(\"wood.png\")\r\n\"b\" tex(\"glass.png\")\r\n" +
                              "\"c\" tex(\"none.png\")\r\n}\r\n";
    const std::string path =
        folder.write("set.mqoz", zipArchive({{"set/set.mqo", model}, {"set/Texture/WOOD.png", ""}}));
    const std::string at = folder.path().string();
    const CommandResult summary = runMqoinfo({path});
    EXPECT_EQ(std::tuple(summary.status, summary.err), std::tuple(0, ""));
    EXPECT_NE(summary.out.find("\n    texture \"wood.png\" is \"set/Texture/WOOD.png\" in the archive\n"),
              std::string::npos)
        << summary.out;
    EXPECT_NE(summary.out.find("\n    texture \"glass.png\" is \"" + at + "/glass.png\" on disk\n"), std::string::npos);
    EXPECT_NE(summary.out.find("\n    texture \"none.png\" not found; looked in \"" + path + "\", \"" + at + "\", "),
              std::string::npos);
    const CommandResult json = runMqoinfo({"--json", path});
    EXPECT_NE(json.out.find("\"texFile\": \"set/Texture/WOOD.png\", \"texFileIn\": \"archive\", \"aplaneFile\": null, "
                            "\"aplaneFileIn\": null"),
              std::string::npos);
    EXPECT_NE(json.out.find("\"texFile\": \"" + at + "/glass.png\", \"texFileIn\": \"disk\""), std::string::npos);
    EXPECT_NE(json.out.find("\"texFile\": null, \"texFileIn\": null"), std::string::npos);
    const std::string empty = folder.write("empty.mqoz", zipArchive({{"thumbnail.jpg", ""}}));
    const CommandResult refused = runMqoinfo({"--json", empty});
    EXPECT_EQ(std::tuple(refused.status, refused.out, refused.err),
              std::tuple(2, "", "mqoinfo: cannot read " + empty + ": the archive holds no .mqo file\n"));
    // The classic reading takes the archive's bytes for text.
    EXPECT_TRUE(runMqoinfo({"--classic", path}).out.starts_with("file: " + path + "\nresult: -3 Header Error"));
}

}  // namespace
