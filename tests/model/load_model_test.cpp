// loadModel: what it prints after each reader result, what reaches the
// tables, and the wait for a key when there is no model file.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>

#include "tests/model/model_files.h"

namespace {

class LoadModel : public ::testing::Test {
protected:
    void TearDown() override { resetLoadedModel(); }

    // Loads the file at `path` and returns what loadModel printed.
    std::string loadPath(const std::string& path) {
        testing::internal::CaptureStdout();
        result = loadModel(path.c_str());
        return testing::internal::GetCapturedStdout();
    }
    std::string load(const std::string& text) { return loadPath(folder.write("model.mqo", text)); }

    ScratchFolder folder;
    int32_t result = 99;
};

auto openFileCount() {
    auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return std::distance(begin(entries), end(entries));
}

// A model that fits says nothing; one of more objects and materials than the
// tables hold fills them with its first ones and says so.
TEST_F(LoadModel, successfulReadFillsTheTablesWithTheFirst256ObjectsAndMaterials) {
    for (int count : {MAX_OBJECTS, MAX_OBJECTS + 1}) {
        SCOPED_TRACE(count);
        EXPECT_EQ(load(modelText(count, count)),
                  count > MAX_OBJECTS ? "This program can't load over MAX_OBJECTS objects\n" : "");
        EXPECT_EQ(std::tuple(result, documentObjectCount(), loadedObjectCount(), loadedMaterialCount()),
                  std::tuple(0, count, MAX_OBJECTS, MAX_MATERIALS));
        EXPECT_EQ(
            std::tuple(loadedObjects[MAX_OBJECTS - 1].name.view(), loadedMaterials[MAX_MATERIALS - 1].name.view()),
            std::tuple("object255", "material255"));
        const ObjectRecord& second = loadedObjects[1];
        ASSERT_EQ(std::tuple(loadedMaterials[1].col[1], second.faces.at(0).materialIndex, second.vertexCount),
                  std::tuple(0.5f, 1, 3));
        EXPECT_EQ(second.vertices[1].x, 10.0f);
    }
}

// Each failing read has put what the format allows into the document before
// it stops; none of it may reach the tables, and the file is closed.
TEST_F(LoadModel, rejectedReadPrintsItsMessageAndLeavesTablesUntouched) {
    const std::string complete = modelText(1, 2);
    const std::string beforeEnd = complete.substr(0, complete.rfind("Eof"));
    const std::pair<const char*, std::string> cases[] = {
        {"Header Error\n", "Metasequoia\r\nFormat Text Ver 1.0\r\n"},
        {"Format Error\n", "Metasequoia Document\r\nFormat Text Ver 1.1\r\n"},
        {"EOF\n", beforeEnd + "Object \"cut\" {\r\nvertex 3 {\r\n0 0 0\r\n"},
        {"Error\n", beforeEnd + "Object \"bad\" {\r\nface 1 {\r\n3 X(0 1 2)\r\n}\r\n}\r\n"},
    };
    const auto filesBefore = openFileCount();
    for (const auto& [message, text] : cases) {
        SCOPED_TRACE(message);
        resetLoadedModel();
        loadedObjects[0].name = "kept";
        loadedMaterials[0].name = "kept";
        EXPECT_EQ(load(text), message);
        EXPECT_EQ(std::tuple(result, loadedObjects[0].name.view(), loadedObjects[0].vertexCount,
                             loadedObjects[1].name.view(), loadedMaterials[0].name.view()),
                  std::tuple(0, "kept", 0, "", "kept"));
    }
    EXPECT_EQ(std::tuple(documentObjectCount(), documentMaterialCount(), openFileCount()),
              std::tuple(2, 1, filesBefore));
}

// Standard input reads from a file, as if typed at the console.
TEST_F(LoadModel, missingFileAsksForEnterReadsOneCharacterAndLeavesAnEmptyModel) {
    for (const char* typed : {"\nnext", ""}) {
        ASSERT_NE(freopen(folder.write("typed", typed).c_str(), "r", stdin), nullptr);
        EXPECT_EQ(loadPath((folder.path() / "missing.mqo").string()), "Can't open mqo file. [enter]\n");
        EXPECT_EQ(result, -1);
        EXPECT_EQ(getchar(), typed[0] == '\0' ? EOF : 'n');
    }
    EXPECT_EQ(std::tuple(currentDocument, loadedObjectCount(), documentMaterialCount()), std::tuple(nullptr, 0, 0));
}

}  // namespace
