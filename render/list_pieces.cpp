#include "render/list_pieces.h"

#include <vector>

#include "model/loaded_model.h"
#include "render/display_lists.h"

namespace {

struct Piece {
    GLuint list;
    int32_t triangles;
};

std::vector<Piece> objectPieces[MAX_OBJECTS];
// Triangles sent since the renderer last finished drawing.
int64_t undrawnTriangles = 0;

void claimObjectListNames();

}  // namespace

ListPieces::ListPieces(int32_t object) : object_(object) {
    for (const Piece& piece : objectPieces[object]) glDeleteLists(piece.list, 1);
    objectPieces[object].clear();
    claimObjectListNames();
    startPiece();
}

void ListPieces::nextTriangle() {
    if (triangles_ == PIECE_TRIANGLES) {
        glEnd();
        endPiece();
        startPiece();
        glBegin(GL_TRIANGLES);
    }
    ++triangles_;
}

void ListPieces::finish() {
    endPiece();
    displayListIds[object_] = static_cast<GLuint>(object_ + 1);
    glNewList(displayListIds[object_], GL_COMPILE);
    for (const Piece& piece : objectPieces[object_]) glCallList(piece.list);
    glEndList();
}

void ListPieces::startPiece() {
    const GLuint list = glGenLists(1);
    objectPieces[object_].push_back({list, 0});
    glNewList(list, GL_COMPILE);
    triangles_ = 0;
}

void ListPieces::endPiece() {
    glEndList();
    objectPieces[object_].back().triangles = triangles_;
}

void callObjectList(int32_t object) {
    for (const Piece& piece : objectPieces[object]) {
        makeRoomFor(piece.triangles);
        glCallList(piece.list);
    }
}

void makeRoomFor(int64_t triangles) {
    if (undrawnTriangles > 0 && undrawnTriangles + triangles > PIECE_TRIANGLES) {
        glFinish();
        undrawnTriangles = 0;
    }
    undrawnTriangles += triangles;
}

namespace {

// NOTE: the objects' own lists are named by hand, 1 to MAX_OBJECTS, and
// glGenLists hands out any name not in use yet: each of them is made, empty
// until its object is compiled, before a piece is named.
void claimObjectListNames() {
    for (GLuint list = 1; list <= MAX_OBJECTS; ++list) {
        if (glIsList(list)) continue;
        glNewList(list, GL_COMPILE);
        glEndList();
    }
}

}  // namespace
