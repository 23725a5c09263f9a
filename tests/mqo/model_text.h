// Models written by the tests as text and read from memory.
#pragma once

#include <memory>
#include <string>

#include "mqo/model_document.h"

inline const std::string HEADER = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n";

struct ParsedModel {
    std::unique_ptr<std::string> text;
    std::unique_ptr<ModelDocument> document;
    int32_t result = ParseOk;

    const ModelData& data() const { return document->data(); }
    const ObjectRecord& object(int index = 0) const { return data().objects.at(index); }
    const MaterialRecord& material(int index = 0) const { return data().materials.at(index); }
};

// Parses `text` exactly as given, header included.
inline ParsedModel parseText(std::string text) {
    ParsedModel model;
    model.text = std::make_unique<std::string>(std::move(text));
    model.document = std::make_unique<ModelDocument>(ModelData{}, *model.text);
    model.result = model.document->parse();
    return model;
}

// Parses `body` after a valid header.
inline ParsedModel parseBody(const std::string& body) {
    return parseText(HEADER + body);
}

// Parses one object chunk holding `body`.
inline ParsedModel parseObject(const std::string& body) {
    return parseBody("Object \"o\" {\n" + body + "}\n");
}
