// Each object's display list in pieces of at most PIECE_TRIANGLES triangles,
// drawn in batches of at most that many. The software renderer keeps every
// triangle it is sent, set up for drawing at a hundred bytes and more each,
// until it has drawn them: a big model sent whole, list after list, would
// hold more memory in the renderer than its file. Sent in batches, a few
// drawn at a time, it holds no more than those few; and compiling a piece
// copies at most a piece at once.
#pragma once

#include <GL/gl.h>

#include <cstdint>

constexpr int32_t PIECE_TRIANGLES = 1 << 15;

// Compiles the list of loaded object `object` as pieces, from its
// construction to finish(). The faces go between beginTriangles and
// endTriangles as into glBegin(GL_TRIANGLES) and glEnd, each triangle
// announced by nextTriangle; any other command goes into the piece being
// compiled, and holds for the pieces after it as it would in one list.
// finish() makes list object + 1 (its displayListIds entry) call every
// piece in turn: called whole, it draws the whole object.
class ListPieces {
public:
    // Deletes the object's pieces from before, and starts its first piece.
    explicit ListPieces(int32_t object);
    ListPieces(const ListPieces&) = delete;
    ListPieces& operator=(const ListPieces&) = delete;

    void beginTriangles() { glBegin(GL_TRIANGLES); }
    // A full piece ends here, and the next goes on with the same triangles.
    void nextTriangle();
    void endTriangles() { glEnd(); }
    // Ends the last piece and compiles the object's own list.
    void finish();

private:
    void startPiece();
    void endPiece();

    int32_t object_;
    int32_t triangles_ = 0;
};

// Deletes every object's pieces, for a model read anew: one with fewer
// objects would keep the rest of the old model's.
void releaseListPieces();
// Draws the object's list a piece at a time, each once the renderer has
// room for it (makeRoomFor).
void callObjectList(int32_t object);
// Before `triangles` more are sent to the renderer: when they would take
// the batch being sent past PIECE_TRIANGLES, that batch goes to the renderer
// to draw, once it has drawn all but the last few batches before it.
void makeRoomFor(int64_t triangles);
