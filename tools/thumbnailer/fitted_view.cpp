#include "tools/thumbnailer/fitted_view.h"

#include <GL/gl.h>

#include <algorithm>
#include <vector>

namespace {

// The covered pixels' bounds, as coordinates from -1 to 1 across the
// picture, as the projection maps them.
struct CoveredBounds {
    double left = 1.0;
    double right = -1.0;
    double bottom = 1.0;
    double top = -1.0;
};

CoveredBounds coveredBounds(int width, int height);

}  // namespace

void fitViewToCover(int width, int height, double share) {
    const CoveredBounds covered = coveredBounds(width, height);
    if (covered.left > covered.right) return;
    // One scale for both sides keeps the picture's proportions.
    const double scale =
        std::min(2.0 * share / (covered.right - covered.left), 2.0 * share / (covered.top - covered.bottom));
    double projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(scale, scale, 1.0);
    glTranslated(-(covered.left + covered.right) / 2, -(covered.bottom + covered.top) / 2, 0.0);
    glMultMatrixd(projection);
    glMatrixMode(GL_MODELVIEW);
}

namespace {

CoveredBounds coveredBounds(int width, int height) {
    std::vector<unsigned char> alpha(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    int lowX = width, highX = -1, lowY = height, highY = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (alpha[static_cast<size_t>(y) * width + x] == 0) continue;
            lowX = std::min(lowX, x);
            highX = std::max(highX, x);
            lowY = std::min(lowY, y);
            highY = std::max(highY, y);
        }
    }
    CoveredBounds bounds;
    if (highX < 0) return bounds;
    bounds.left = 2.0 * lowX / width - 1.0;
    bounds.right = 2.0 * (highX + 1) / width - 1.0;
    bounds.bottom = 2.0 * lowY / height - 1.0;
    bounds.top = 2.0 * (highY + 1) / height - 1.0;
    return bounds;
}

}  // namespace
