#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "model/loaded_model.h"
#include "model_files.h"

namespace {

class LoadModel : public ::testing::Test {
protected:
    void SetUp() override { resetLoadedModel(); }
    void TearDown() override { resetLoadedModel(); }

    // Loads `text` from a file and returns what loadModel printed.
    std::string load(const std::string& text) {
        std::string path = folder.write("model.mqo", text);
        testing::internal::CaptureStdout();
        result = loadModel(path.c_str());
        return testing::internal::GetCapturedStdout();
    }

    ScratchFolder folder;
    int32_t result = 99;
};

TEST_F(LoadModel, successfulReadFillsTablesWithCopiesAndPrintsNothing) {
    EXPECT_EQ(load(modelText(2, 3)), "");
    EXPECT_EQ(result, 0);
    ASSERT_EQ(loadedObjectCount(), 3);
    ASSERT_EQ(loadedMaterialCount(), 2);
    EXPECT_STREQ(loadedObjects[2].name, "object2");
    ASSERT_EQ(loadedObjects[1].vertexCount, 3);
    EXPECT_EQ(loadedObjects[1].vertices[1].x, 10.0f);
    ASSERT_EQ(loadedObjects[1].faceCount, 1);
    EXPECT_EQ(loadedObjects[1].faces[0].materialIndex, 1);
    EXPECT_STREQ(loadedMaterials[1].name, "material1");
    EXPECT_EQ(loadedMaterials[1].col[1], 0.5f);
    EXPECT_EQ(loadedObjects[3].vertexCount, 0);
    EXPECT_STREQ(loadedMaterials[2].name, "");

    loadedObjects[0].vertices[1].x = 99.0f;
    EXPECT_EQ(currentDocument->data().objects[0].vertices[1].x, 10.0f);
}

TEST_F(LoadModel, objectNameFillingItsWholeFieldIsCopiedWhole) {
    std::string name(RECORD_TEXT_SIZE - 1, 'n');
    std::string text = modelText(0, 1);
    text.replace(text.find("object0"), 7, name);
    load(text);
    ASSERT_EQ(loadedObjectCount(), 1);
    EXPECT_EQ(std::string(loadedObjects[0].name), name);
    EXPECT_EQ(memcmp(loadedObjects[0].name, currentDocument->data().objects[0].name, RECORD_TEXT_SIZE), 0);
}

struct RejectedModel {
    const char* message;
    std::string text;
};

// Each read fails after a material and two objects have gone into the
// document (where the format allows), and none of it may reach the tables.
TEST_F(LoadModel, rejectedReadPrintsItsMessageAndLeavesTablesUntouched) {
    std::string complete = modelText(1, 2);
    std::string beforeEnd = complete.substr(0, complete.rfind("Eof"));
    const RejectedModel cases[] = {
        {"Header Error\n", "Metasequoia\r\nFormat Text Ver 1.0\r\n"},
        {"Format Error\n", "Metasequoia Document\r\nFormat Text Ver 1.1\r\n"},
        {"EOF\n", beforeEnd + "Object \"cut\" {\r\n\tvertex 3 {\r\n\t\t0 0 0\r\n"},
        {"Error\n", beforeEnd + "Object \"bad\" {\r\n\tface 1 {\r\n\t\t3 X(0 1 2)\r\n\t}\r\n}\r\n"},
    };
    for (const RejectedModel& rejected : cases) {
        SCOPED_TRACE(rejected.message);
        resetLoadedModel();
        copyRecordText(loadedObjects[0].name, "kept");
        copyRecordText(loadedMaterials[0].name, "kept");

        EXPECT_EQ(load(rejected.text), rejected.message);
        EXPECT_EQ(result, 0);
        ASSERT_NE(currentDocument, nullptr);
        EXPECT_STREQ(loadedObjects[0].name, "kept");
        EXPECT_EQ(loadedObjects[0].vertexCount, 0);
        EXPECT_STREQ(loadedObjects[1].name, "");
        EXPECT_STREQ(loadedMaterials[0].name, "kept");
    }
    // The last two documents kept what was read before the failing line.
    EXPECT_EQ(documentObjectCount(), 2);
    EXPECT_EQ(documentMaterialCount(), 1);
}

TEST_F(LoadModel, fullTablesHoldEveryObjectAndMaterial) {
    EXPECT_EQ(load(modelText(MAX_MATERIALS, MAX_OBJECTS)), "");
    EXPECT_EQ(loadedObjectCount(), MAX_OBJECTS);
    EXPECT_EQ(loadedMaterialCount(), MAX_MATERIALS);
    EXPECT_STREQ(loadedObjects[MAX_OBJECTS - 1].name, "object255");
    EXPECT_STREQ(loadedMaterials[MAX_MATERIALS - 1].name, "material255");
}

TEST_F(LoadModel, objectsAndMaterialsBeyondTheTablesAreLeftOut) {
    EXPECT_EQ(load(modelText(MAX_MATERIALS + 1, MAX_OBJECTS + 1)),
              "This program can't load over MAX_OBJECTS objects\n");
    EXPECT_EQ(documentObjectCount(), MAX_OBJECTS + 1);
    EXPECT_EQ(documentMaterialCount(), MAX_MATERIALS + 1);
    EXPECT_EQ(loadedObjectCount(), MAX_OBJECTS);
    EXPECT_EQ(loadedMaterialCount(), MAX_MATERIALS);
    EXPECT_STREQ(loadedObjects[MAX_OBJECTS - 1].name, "object255");
    EXPECT_STREQ(loadedMaterials[MAX_MATERIALS - 1].name, "material255");
}

size_t openFileCount() {
    auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

TEST_F(LoadModel, modelFileIsClosedWhetherReadOrRejected) {
    size_t before = openFileCount();
    load(modelText(1, 1));
    load("Metasequoia Document\r\nFormat Text Ver 2\r\n");
    load(modelText(1, 1).substr(0, 80));
    EXPECT_EQ(openFileCount(), before);
}

class MissingModel : public LoadModel {
protected:
    // Standard input reads `typed` from a file, as if typed at the console.
    void type(const std::string& typed) {
        std::string path = folder.write("typed.txt", typed);
        ASSERT_NE(freopen(path.c_str(), "r", stdin), nullptr);
    }

    std::string loadMissing() {
        std::string path = (std::filesystem::temp_directory_path() / "varnel-no-such-model.mqo").string();
        testing::internal::CaptureStdout();
        result = loadModel(path.c_str());
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(MissingModel, asksForEnterReadsOneCharacterAndLeavesAnEmptyModel) {
    type("\nnext");
    EXPECT_EQ(loadMissing(), "Can't open mqo file. [enter]\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(getchar(), 'n');
    EXPECT_EQ(currentDocument, nullptr);
    EXPECT_EQ(documentObjectCount(), 0);
    EXPECT_EQ(documentMaterialCount(), 0);
    EXPECT_EQ(loadedObjectCount(), 0);
    EXPECT_EQ(loadedMaterialCount(), 0);
}

TEST_F(MissingModel, returnsAtEndOfInput) {
    type("");
    EXPECT_EQ(loadMissing(), "Can't open mqo file. [enter]\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(getchar(), EOF);
}

}  // namespace
