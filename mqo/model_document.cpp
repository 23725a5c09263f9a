#include "mqo/model_document.h"

#include <utility>

ModelDocument::ModelDocument(const ModelData& initial, FILE* file) : source_(file), reader_(source_), data_(initial) {}

ModelDocument::ModelDocument(const ModelData& initial, std::string_view bytes)
    : source_(bytes), reader_(source_), data_(initial) {}

ModelDocument::~ModelDocument() = default;

ModelData ModelDocument::getData() const {
    return data_;
}

int32_t ModelDocument::addObject(const ObjectRecord& object) {
    return addObject(ObjectRecord(object));
}

int32_t ModelDocument::addObject(ObjectRecord&& object) {
    data_.objects.push_back(std::move(object));
    return ++data_.objectCount;
}

void ModelDocument::addMaterial(const MaterialRecord& material) {
    addMaterial(MaterialRecord(material));
}

void ModelDocument::addMaterial(MaterialRecord&& material) {
    data_.materials.push_back(std::move(material));
    ++data_.materialCount;
}

int32_t ModelDocument::objectCount() const {
    return data_.objectCount;
}

int32_t ModelDocument::materialCount() const {
    return data_.materialCount;
}

const ModelData& ModelDocument::data() const {
    return data_;
}

int64_t ModelDocument::lineNumber() const {
    return reader_.linesRead();
}
