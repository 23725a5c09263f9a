#include "tools/bundled_model/pictures.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float TWO_PI = 6.2831853f;

struct Colour {
    float r, g, b;
};

int noise(int x, int y, int spread);
Colour mix(Colour a, Colour b, float t);
void put(Picture& picture, int x, int y, Colour colour, int jitter = 0);
float distanceFromCentre(const Picture& picture, int x, int y);
Colour landscapeAt(int x, int y);

}  // namespace

Picture makeWoodPicture() {
    Picture picture(64, 64, 3);
    const Colour light{205, 152, 96}, dark{142, 92, 52};
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const float fx = x / 64.0f, fy = y / 64.0f;
            const float warp =
                0.035f * std::sin(fx * TWO_PI * 0.8f + 0.7f) + 0.012f * std::sin(fx * TWO_PI * 2.3f + fy * 4.0f);
            const float grain = 0.5f + 0.5f * std::cos((fy + warp) * 9.0f * TWO_PI);
            // Each row gets a faint fibre of its own; the pixel jitter is finer.
            Colour colour = mix(light, dark, std::pow(grain, 5.0f));
            const float fibre = static_cast<float>(noise(0, y, 12));
            colour = {colour.r + fibre, colour.g + fibre * 0.7f, colour.b + fibre * 0.5f};
            put(picture, x, y, colour, 5);
        }
    }
    return picture;
}

Picture makeBrickPicture() {
    Picture picture(64, 64, 3);
    const Colour mortar{206, 200, 188};
    for (int y = 0; y < 64; ++y) {
        const int course = y / 8;
        const int offset = (course % 2) * 8;  // every other course is laid half a brick on
        for (int x = 0; x < 64; ++x) {
            const int along = (x + offset) % 64;
            if (y % 8 == 7 || along % 16 == 15) {
                put(picture, x, y, mortar, 6);
                continue;
            }
            const float shade = static_cast<float>(noise(along / 16, course, 20));
            put(picture, x, y, {168 + shade, 72 + shade * 0.5f, 48 + shade * 0.3f}, 8);
        }
    }
    return picture;
}

Picture makeSignPicture() {
    Picture picture(128, 128, 3);
    const Colour red{205, 35, 35}, white{245, 245, 240};
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const float d = distanceFromCentre(picture, x, y);
            // The red reaches past the cut-out edge so that filtering at the
            // rim blends red with red, not with whatever lies outside.
            const Colour colour = d >= 54 ? red : d >= 51 ? white : landscapeAt(x, y);
            put(picture, x, y, colour);
        }
    }
    return picture;
}

Picture makeSignCutout() {
    Picture picture(128, 128, 1);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            const float d = distanceFromCentre(picture, x, y);
            *picture.at(x, y) = static_cast<uint8_t>(std::clamp((63.0f - d) * 128.0f + 128.0f, 0.0f, 255.0f));
        }
    }
    return picture;
}

namespace {

// A fixed pseudo-random value in -spread .. spread for a grid position.
int noise(int x, int y, int spread) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<int>(h % static_cast<uint32_t>(2 * spread + 1)) - spread;
}

Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void put(Picture& picture, int x, int y, Colour colour, int jitter) {
    const float grain = jitter > 0 ? static_cast<float>(noise(x + 1000, y, jitter)) : 0.0f;
    uint8_t* pixel = picture.at(x, y);
    const float channels[] = {colour.r, colour.g, colour.b};
    for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(std::clamp(std::lround(channels[c] + grain), 0L, 255L));
}

float distanceFromCentre(const Picture& picture, int x, int y) {
    const float dx = x + 0.5f - picture.width / 2.0f;
    const float dy = y + 0.5f - picture.height / 2.0f;
    return std::sqrt(dx * dx + dy * dy);
}

// Sky, sun and two rows of hills, in the sign's 128 x 128 frame.
Colour landscapeAt(int x, int y) {
    const float farHill = 74 + 7 * std::sin(x * 0.06f + 0.5f);
    const float nearHill = 90 + 6 * std::sin(x * 0.09f + 2.0f);
    if (y > nearHill) return mix({70, 150, 60}, {40, 110, 40}, (y - nearHill) / 40.0f);
    if (y > farHill) return {110, 175, 95};
    const float sunX = x + 0.5f - 84, sunY = y + 0.5f - 42;
    const float sun = std::sqrt(sunX * sunX + sunY * sunY);
    if (sun < 11) return {255, 218, 72};
    const Colour sky = mix({70, 140, 225}, {190, 222, 248}, std::clamp(y / 90.0f, 0.0f, 1.0f));
    return mix({255, 236, 160}, sky, std::clamp((sun - 11) / 9.0f, 0.0f, 1.0f));
}

}  // namespace
