// The model the viewer runs on: the one document of the run and the fixed
// tables of object and material copies that rendering and physics index.
#pragma once

#include <cstdint>

#include "mqo/model_document.h"
#include "mqo/records.h"

constexpr int MAX_OBJECTS = 256;
constexpr int MAX_MATERIALS = 256;

extern ObjectRecord loadedObjects[MAX_OBJECTS];
extern MaterialRecord loadedMaterials[MAX_MATERIALS];
// Null until loadModel has opened the model file.
extern ModelDocument* currentDocument;

// Opens, reads and reports the model file; fills the tables on success.
// Returns -1 when the file cannot be opened, otherwise 0.
int32_t loadModel(const char* path);

// The document's own counts; 0 when no model file could be opened.
int32_t documentObjectCount();
int32_t documentMaterialCount();
// The number of table entries in use: the document's count, at most the
// table's size.
int32_t loadedObjectCount();
int32_t loadedMaterialCount();

// Deletes the document (the tables stay until the process ends).
void releaseModel();
