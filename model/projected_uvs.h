// Texture coordinates from a material's projection: the faces that use a
// projected material take the coordinates of their corners' places in the
// projection's frame instead of their own.
#pragma once

#include <span>

#include "mqo/records.h"

// "planar", "cylindrical" or "spherical" for a projection type, null for
// any other.
const char* projectionName(int32_t projType);

// Whether the material's projection can be used: a known type, a finite
// frame and a size of no zero side.
bool hasProjection(const MaterialRecord& material);

// Gives each face of the object whose material (one of `materials`) has a
// projection the coordinates it puts on its corners. The corner taken into
// the projection's frame (proj_pos its origin, proj_angle its heading, pitch
// and bank, proj_scale its size) and over its size at (x, y, z):
//   planar       u = x + 0.5, v = 0.5 - y
//   cylindrical  u from the angle about y (0.5 towards +z, the seam at -z),
//                v = 0.5 - y
//   spherical    u as the cylinder's, v from the latitude: 0 at +y, 1 at -y
// Around the cylinder and the sphere a face that straddles the seam takes u
// past 1 on the seam's far side, so that it does not smear the whole
// texture across; a corner on the axis takes the mean u of the face's other
// corners. Other faces keep their coordinates.
void projectTextureCoordinates(ObjectRecord& object, std::span<const MaterialRecord> materials);
