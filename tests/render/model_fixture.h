// Models built in memory for the GL tests, installed as the loaded model.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <utility>
#include <vector>

#include "mqo/records.h"

struct Corner {
    int32_t vertex;
    float u = 0;
    float v = 0;
};

FaceRecord makeFace(std::initializer_list<Corner> corners, int32_t materialIndex);
ObjectRecord makeObject(std::initializer_list<VertexRecord> vertices, std::initializer_list<FaceRecord> faces);
MaterialRecord makeMaterial(const char* texture = "", const char* alphaPlane = "");

// Makes a document of these objects and materials the current one and fills
// the loaded tables from it; clears texture names left by earlier tests.
void installModel(const std::vector<ObjectRecord>& objects, const std::vector<MaterialRecord>& materials);

// Runs the test in `folder`; the old working directory comes back at the end.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder);
    ~WorkingDirectory();

private:
    std::filesystem::path previous_;
};

// A working directory of its own with an empty "Texture" folder.
class TextureFolder {
public:
    TextureFolder();
    ~TextureFolder();
    std::filesystem::path texturePath(const char* name) const;

private:
    std::filesystem::path root_;
    WorkingDirectory inRoot_;
};
