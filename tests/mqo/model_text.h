// Models written by the tests as text and read from memory, and records
// written back as text so that one comparison shows every field that differs.
#pragma once

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "mqo/model_document.h"

inline const std::string HEADER = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n";

// `materials` materials named "material<m>", then `objects` one-triangle
// objects named "object<i>" whose face uses material i.
inline std::string modelText(int materials, int objects) {
    std::string text = HEADER + "Material " + std::to_string(materials) + " {\r\n";
    for (int m = 0; m < materials; ++m) text += "\"material" + std::to_string(m) + "\" col(1 0.5 0.25 1)\r\n";
    text += "}\r\n";
    for (int i = 0; i < objects; ++i) {
        text += "Object \"object" + std::to_string(i) + "\" {\r\nvertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n" +
                "face 1 {\r\n3 V(0 1 2) M(" + std::to_string(i) + ")\r\n}\r\n}\r\n";
    }
    return text + "Eof\r\n";
}

struct ParsedModel {
    std::unique_ptr<std::string> text;
    std::unique_ptr<ModelDocument> document;
    int32_t result = ParseOk;

    const ModelData& data() const { return document->data(); }
    const ObjectRecord& object(int index = 0) const { return data().objects.at(index); }
    MaterialRecord material(int index = 0) const { return data().materials[index]; }
};

// Parses `text` exactly as given, header included, from memory or through
// a FILE* over the same bytes.
inline ParsedModel parseText(std::string text, bool throughFile = false, ReadingMode mode = ReadingMode::Classic) {
    ParsedModel model;
    model.text = std::make_unique<std::string>(std::move(text));
    FILE* file = throughFile ? fmemopen(model.text->data(), model.text->size(), "rb") : nullptr;
    model.document = file ? std::make_unique<ModelDocument>(ModelData{}, file, mode)
                          : std::make_unique<ModelDocument>(ModelData{}, *model.text, mode);
    model.result = model.document->parse();
    if (file) fclose(file);
    return model;
}

inline ParsedModel parseBody(const std::string& body) {
    return parseText(HEADER + body);
}

// Parses one object chunk holding `body`.
inline ParsedModel parseObject(const std::string& body) {
    return parseBody("Object \"o\" {\n" + body + "}\n");
}

// The names of the objects read, then those of the materials: "a,b,|m,".
inline std::string namesOf(const ParsedModel& model) {
    std::string names;
    for (int32_t i = 0; i < model.data().objectCount; ++i) names += std::string(model.object(i).name.view()) + ",";
    names += "|";
    for (int32_t m = 0; m < model.data().materialCount; ++m) names += std::string(model.material(m).name.view()) + ",";
    return names;
}

// "x y z w" for each vertex, separated by "|".
inline std::string describeVertices(const ObjectRecord& object) {
    std::ostringstream text;
    for (const VertexRecord& v : object.vertices) text << v.x << ' ' << v.y << ' ' << v.z << ' ' << v.weight << '|';
    return text.str();
}

inline std::string describe(const FaceCorners& face) {
    std::ostringstream text;
    text << "M" << face.materialIndex << " V";
    for (int32_t vertex : face.vertices) text << ' ' << vertex;
    text << " UV";
    for (size_t k = 0; k < face.size(); ++k) text << ' ' << face.uv(k).u << ',' << face.uv(k).v;
    text << " COL";
    for (size_t k = 0; k < face.size(); ++k) text << ' ' << face.colour(k);
    return text.str();
}

inline std::string describe(const MaterialRecord& m) {
    std::ostringstream text;
    text << m.name.view() << " col " << m.col[0] << ' ' << m.col[1] << ' ' << m.col[2] << ' ' << m.col[3] << " dif "
         << m.dif << " amb " << m.amb << " emi " << m.emi << " spc " << m.spc << " power " << m.power << " tex "
         << m.tex.view() << " aplane " << m.aplane.view() << " bump " << m.bump.view();
    return text.str();
}
