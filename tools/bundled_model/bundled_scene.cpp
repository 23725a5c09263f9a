#include "tools/bundled_model/bundled_scene.h"

#include "tools/bundled_model/mqo_text_writer.h"
#include "tools/bundled_model/pictures.h"

namespace {

// Material positions in the model; faces refer to them by number.
enum Material {
    TABLE_TOP,
    TABLE_SIDE,
    TABLE_LEG,
    BRICK,
    ROOF,
    ROOF_SHADE,
    DOOR,
    WINDOW,
    SIGN_FACE,
    SIGN_POST,
    SIGN_BASE,
};

// Corner colours are 0xAABBGGRR words.
constexpr uint32_t WINDOW_GLOW = 0xFFF0D8A0;
constexpr uint32_t DOOR_SHADOW = 0xFF203048;

std::vector<BuiltMaterial> makeMaterials();
BuiltMaterial material(const char* name, float r, float g, float b, const char* tex = "");
BuiltObject makeTable();
BuiltObject makeHouse();
void addRoof(BuiltObject& house, float x0, float x1, float halfDepth, float wallTop);
BuiltObject makeSign();

}  // namespace

BuiltModel buildBundledScene() {
    // The first object is hinged to the second and the third.
    return BuiltModel{makeMaterials(), {makeTable(), makeHouse(), makeSign()}};
}

std::vector<GeneratedFile> bundledModelFiles() {
    const std::string model = writeModelText(buildBundledScene());
    return {
        {"qemi_one.mqo", FileBytes(model.begin(), model.end())},
        {"Texture/wood.bmp", encodeBmp(makeWoodPicture())},
        {"Texture/brick.tga", encodeTga(makeBrickPicture())},
        {"Texture/sign.jpg", encodeJpeg(makeSignPicture(), 90)},
        {"Texture/sign_alpha.tga", encodeTga(makeSignCutout())},
    };
}

namespace {

// Faces carry no normals, so every face of a material is lit alike; sides get
// darker materials than tops to keep the shapes readable, and some emission
// keeps colours up whichever way the lights fall.
std::vector<BuiltMaterial> makeMaterials() {
    std::vector<BuiltMaterial> materials = {
        material("\x93\x56\x94\xC2", 1.0f, 1.0f, 1.0f, "wood.bmp"),                // 天板
        material("\x96\xD8\x96\xDA\x82\xCC\x91\xA4\x96\xCA", 0.72f, 0.62f, 0.52f,  // 木目の側面
                 "wood.bmp"),
        material("\x8B\x72", 0.45f, 0.29f, 0.16f),                            // 脚
        material("\x83\x8C\x83\x93\x83\x4B", 1.0f, 1.0f, 1.0f, "brick.tga"),  // レンガ
        material("\x89\xAE\x8D\xAA", 0.85f, 0.18f, 0.12f),                    // 屋根
        material("\x89\xAE\x8D\xAA\x82\xCC\x89\x65", 0.6f, 0.12f, 0.08f),     // 屋根の影
        material("\x94\xE0", 0.4f, 0.24f, 0.12f),                             // 扉
        material("\x91\x8B", 0.65f, 0.85f, 1.0f),                             // 窓
        material("\x8A\xC5\x94\xC2", 1.0f, 1.0f, 1.0f, "sign.jpg"),           // 看板
        material("\x8E\x78\x92\x8C", 0.62f, 0.63f, 0.68f),                    // 支柱
        material("\x91\xE4\x8D\xC0", 0.35f, 0.36f, 0.4f),                     // 台座
    };
    materials[SIGN_FACE].aplane = "sign_alpha.tga";
    for (Material shiny : {WINDOW, SIGN_POST}) {
        materials[shiny].spc = 0.6f;
        materials[shiny].power = 30.0f;
    }
    return materials;
}

// Every material is opaque and keeps its diffuse alpha above one half: once
// one material has an alpha plane, the viewer drops every fragment whose
// alpha is not above that.
BuiltMaterial material(const char* name, float r, float g, float b, const char* tex) {
    BuiltMaterial m;
    m.name = name;
    m.col[0] = r;
    m.col[1] = g;
    m.col[2] = b;
    m.col[3] = 1.0f;
    m.dif = 0.8f;
    m.amb = 0.6f;
    m.emi = 0.3f;
    m.spc = 0.1f;
    m.tex = tex;
    return m;
}

// A table 56 wide, 36 deep and 30 high, in the middle.
BuiltObject makeTable() {
    BuiltObject table{"\x83\x65\x81\x5B\x83\x75\x83\x8B", false, {}, {}};  // テーブル
    table.addBox({-28, 26, -18}, {28, 30, 18}, TABLE_TOP, TABLE_SIDE);
    for (float x : {-26.0f, 22.0f})
        for (float z : {-16.0f, 12.0f}) table.addBox({x, 0, z}, {x + 4, 26, z + 4}, TABLE_LEG, TABLE_LEG);
    return table;
}

// A brick house 30 wide and 26 deep with a red gable roof, on the left.
BuiltObject makeHouse() {
    BuiltObject house{"\x8F\xAC\x82\xB3\x82\xC8\x89\xC6", false, {}, {}};  // 小さな家
    const float x0 = -79, x1 = -49, halfDepth = 13, wallTop = 22;
    house.addBox({x0, 0, -halfDepth}, {x1, wallTop, halfDepth}, BRICK, BRICK);
    house.addBox({-56, 26, -8}, {-52, 40, -4}, BRICK, BRICK);  // the chimney, through the roof
    addRoof(house, x0, x1, halfDepth, wallTop);
    // Door and windows stand a little proud of the front wall so that they
    // never fight with the bricks for the same depth.
    const float front = halfDepth + 0.3f;
    house.addQuad({{-67, 12, front}, {-61, 12, front}, {-61, 0, front}, {-67, 0, front}}, DOOR, {}, true, DOOR_SHADOW);
    for (float left : {-76.0f, -58.0f}) {
        house.addQuad({{left, 15, front}, {left + 6, 15, front}, {left + 6, 9, front}, {left, 9, front}}, WINDOW, {},
                      true, WINDOW_GLOW);
    }
    return house;
}

// Two slopes meeting at a ridge along x, overhanging the walls by 2 on every
// side, and brick gables closing the ends under them.
void addRoof(BuiltObject& house, float x0, float x1, float halfDepth, float wallTop) {
    const float ridge = 36, eave = 20.5f, eaveDepth = halfDepth + 3;
    const float ex0 = x0 - 2, ex1 = x1 + 2;
    house.addQuad({{ex0, ridge, 0}, {ex1, ridge, 0}, {ex1, eave, eaveDepth}, {ex0, eave, eaveDepth}}, ROOF, {});
    house.addQuad({{ex1, ridge, 0}, {ex0, ridge, 0}, {ex0, eave, -eaveDepth}, {ex1, eave, -eaveDepth}}, ROOF_SHADE, {});
    // Where the roof passes over the wall faces. The gables show the bricks
    // at the walls' own scale: the house's depth spans the picture.
    const float roofAtWall = ridge - (ridge - eave) * halfDepth / eaveDepth;
    const float apex = ridge - 1;
    const float gableV = (apex - roofAtWall) / (2 * halfDepth);
    const float bandV = gableV + (roofAtWall - wallTop) / (2 * halfDepth);
    for (float x : {x0, x1}) {
        const float side = x == x0 ? -halfDepth : halfDepth;  // clockwise seen from outside
        house.addTriangle({{x, apex, 0}, {x, roofAtWall, -side}, {x, roofAtWall, side}}, BRICK,
                          {{0.5f, 0}, {1, gableV}, {0, gableV}});
        house.addQuad({{x, roofAtWall, side}, {x, roofAtWall, -side}, {x, wallTop, -side}, {x, wallTop, side}}, BRICK,
                      {0, gableV, 1, bandV});
    }
}

// A round sign 40 across on a post and a base plate, on the right. Its
// vertices go into the model as binary data.
BuiltObject makeSign() {
    BuiltObject sign{"\x8A\xC5\x94\xC2", true, {}, {}};  // 看板
    sign.addBox({52, 0, -6}, {76, 3, 6}, SIGN_BASE, SIGN_BASE);
    sign.addBox({62.5f, 3, -2}, {65.5f, 42, 1}, SIGN_POST, SIGN_POST);
    const float face = 1.3f;
    sign.addQuad({{44, 60, face}, {84, 60, face}, {84, 20, face}, {44, 20, face}}, SIGN_FACE, {0, 0, 1, 1}, true);
    return sign;
}

}  // namespace
