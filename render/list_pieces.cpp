#include "render/list_pieces.h"

#include <vector>

#include "model/loaded_model.h"
#include "render/display_lists.h"

namespace {

// The renderer draws what it holds while the next is sent; a batch of at
// most PIECE_TRIANGLES is sent only once the one BATCHES_DRAWING before it
// is drawn. Fewer batches at a time leave the renderer's threads idle.
constexpr int BATCHES_DRAWING = 3;
// How long to wait for a batch before sending the next all the same.
constexpr GLuint64 MOST_WAIT_NS = 1'000'000'000;

struct Piece {
    GLuint list;
    int32_t triangles;
};

std::vector<Piece> objectPieces[MAX_OBJECTS];
// Triangles sent since the last batch was closed.
int64_t undrawnTriangles = 0;
// The last batches closed, the oldest at nextBatch; null where none.
GLsync batchesDrawing[BATCHES_DRAWING] = {};
int nextBatch = 0;

void deletePieces(int32_t object);
void closeBatch();
void claimObjectListNames();

}  // namespace

ListPieces::ListPieces(int32_t object) : object_(object) {
    deletePieces(object);
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

void releaseListPieces() {
    for (int32_t object = 0; object < MAX_OBJECTS; ++object) deletePieces(object);
}

void callObjectList(int32_t object) {
    for (const Piece& piece : objectPieces[object]) {
        makeRoomFor(piece.triangles);
        glCallList(piece.list);
    }
}

void makeRoomFor(int64_t triangles) {
    if (undrawnTriangles > 0 && undrawnTriangles + triangles > PIECE_TRIANGLES) {
        closeBatch();
        undrawnTriangles = 0;
    }
    undrawnTriangles += triangles;
}

namespace {

void deletePieces(int32_t object) {
    for (const Piece& piece : objectPieces[object]) glDeleteLists(piece.list, 1);
    objectPieces[object].clear();
}

// The fence sends the batch to the renderer. A renderer without fences is
// made to draw it at once.
void closeBatch() {
    GLsync& oldest = batchesDrawing[nextBatch];
    if (oldest != nullptr) {
        glClientWaitSync(oldest, GL_SYNC_FLUSH_COMMANDS_BIT, MOST_WAIT_NS);
        glDeleteSync(oldest);
    }
    oldest = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    if (oldest == nullptr) glFinish();
    nextBatch = (nextBatch + 1) % BATCHES_DRAWING;
}

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
