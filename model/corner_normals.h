// The normals a smooth-shaded object is lit with: one per corner of each of
// its triangles, shared across the edges its smoothing angle lets through.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mqo/records.h"

// One unit normal per corner of `triangleVertices` (three vertex indices per
// triangle, each below `vertexCount`). `triangleFaces` names the face each
// triangle was cut from, an index into `faceNormals`, which holds one unit
// normal per face, zero for a face with no area.
//
// A corner takes the average of the normals of the faces around its vertex
// that differ from its own face's normal by at most `smoothingDegrees`: 0
// gives each face its own normal (zero if it has no area), 180 one normal per
// vertex. Each face counts once however many of its triangles meet at the
// vertex, so how a face was cut does not tilt its neighbours' light. Faces
// count equally, not by their corner angles: that needs no positions and no
// trigonometry per corner on models of millions of triangles, and differs
// only where faces of very different corner angles meet. Above 0, corners of
// faces with no area take the average of every face at their vertex, zero
// when there is none; a corner whose vertex is out of range keeps its face's
// normal.
//
// NOTE: where more than 64 faces meet at a vertex (the tip of a cone, the
// pole of a sphere) faces are not compared pairwise but sorted into groups:
// each face joins the first group whose first face is within the angle and
// shares the group's average. That is the rule above whenever the normals at
// the vertex form groups farther apart than the angle; past 64 groups, faces
// that fit none keep their own normals. The work stays linear in the corners.
std::vector<Point3> smoothCornerNormals(std::span<const int32_t> triangleVertices,
                                        std::span<const int32_t> triangleFaces, std::span<const Point3> faceNormals,
                                        int32_t vertexCount, float smoothingDegrees);
