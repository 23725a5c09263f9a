// The model the viewer runs on: the one document of the run and the fixed
// tables of object and material copies that rendering and physics index.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "model/model_archive.h"
#include "mqo/model_document.h"
#include "mqo/records.h"

constexpr int MAX_OBJECTS = 256;
constexpr int MAX_MATERIALS = 256;

// The classic mode reads qemi_one.mqo from the working folder exactly as it
// always has; model mode reads the file the user named, newer files included,
// and shows it as a modeller would see it.
enum class ViewerMode { Classic, Model };

struct ModelSettings {
    ViewerMode mode = ViewerMode::Classic;
    // Model mode: the folder of the model file, where texture names resolve.
    std::filesystem::path folder;
    // Model mode: the archive the model was read from, where texture names
    // resolve first; null for a plain model file.
    std::shared_ptr<const ModelArchive> archive;
    // Model mode: each visible object drops as a body of its own.
    bool separateParts = false;
    // Model mode: the model file as the user named it.
    std::string path;
    // The character set of the model's texts, an iconv name.
    const char* codeset = "CP932";
};

// Where a model-mode read stopped, and what the reader expected there; or,
// for a model in an archive that gives no whole text, why.
struct ModelReadFailure {
    int64_t line = 0;
    std::string expected;
    std::string archiveProblem;
};

extern ModelSettings modelSettings;

extern ObjectRecord loadedObjects[MAX_OBJECTS];
extern MaterialRecord loadedMaterials[MAX_MATERIALS];
// Null until loadModel has opened the model file.
extern ModelDocument* currentDocument;

// Opens, reads and reports the model file; fills the tables on success.
// Returns -1 when the file cannot be opened, otherwise 0.
int32_t loadModel(const char* path);
// Model mode: reads the model's `text` and on success puts it in place of
// the model before, in the tables, keeping its archive for the textures. On
// failure the model before (or none) stays as it was, and the failure is
// returned for the caller to report.
std::optional<ModelReadFailure> loadModelFile(const ModelText& text);
inline bool inModelMode() {
    return modelSettings.mode == ViewerMode::Model;
}

// The document's own counts; 0 when no model file could be opened.
int32_t documentObjectCount();
int32_t documentMaterialCount();
// The number of table entries in use: the document's count, at most the
// table's size.
int32_t loadedObjectCount();
int32_t loadedMaterialCount();

// The document's Scene values; a scene with nothing given when no model
// could be read.
const SceneRecord& loadedScene();

// Deletes the document (the tables stay until the process ends).
void releaseModel();
// Frees an object's vertices and faces once what is drawn and what collides
// has been made from them; its counts go to 0 with them.
void releaseGeometry(ObjectRecord& object);
