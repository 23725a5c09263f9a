#include "app/overlay.h"

#include <GL/glut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "app/key_help.h"
#include "app/model_scene.h"
#include "app/scenery.h"
#include "app/view_state.h"
#include "model/loaded_model.h"
#include "model/user_messages.h"

namespace {

using Clock = std::chrono::steady_clock;

void* const FONT = GLUT_BITMAP_8_BY_13;
constexpr int CHARACTER_WIDTH = 8;
constexpr int LINE_HEIGHT = 15;
constexpr int MARGIN = 8;
constexpr GLfloat NOTICE_COLOUR[3] = {0.92f, 0.94f, 1.0f};
constexpr GLfloat FAILURE_COLOUR[3] = {1.0f, 0.62f, 0.55f};

struct TextLine {
    std::string text;
    const GLfloat* colour;
};

std::deque<Clock::time_point> recentFrames;

void beginPixels(int width, int height);
void endPixels();
void drawPanel(int x, int top, const std::vector<TextLine>& lines);
void drawText(int x, int y, const std::string& text);
std::string shownCharacters(const std::string& utf8);
std::string informationLine();
double framesPerSecond();
std::string withThousands(int64_t number);

}  // namespace

void drawOverlay() {
    const Clock::time_point now = Clock::now();
    recentFrames.push_back(now);
    while (now - recentFrames.front() > std::chrono::seconds(1)) recentFrames.pop_front();

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    beginPixels(width, height);
    std::vector<TextLine> messages;
    for (const ShownMessage& message : messagesToShow())
        messages.push_back({message.text, message.failure ? FAILURE_COLOUR : NOTICE_COLOUR});
    if (!messages.empty()) drawPanel(MARGIN, height - MARGIN, messages);
    if (viewState.helpShown) {
        std::vector<TextLine> help{{"Keys and mouse (h hides this)", NOTICE_COLOUR}};
        for (const char* line : modelModeKeys()) help.push_back({line, NOTICE_COLOUR});
        size_t longest = 0;
        for (const TextLine& line : help) longest = std::max(longest, line.text.size());
        const int panelWidth = static_cast<int>(longest) * CHARACTER_WIDTH;
        const int panelHeight = static_cast<int>(help.size()) * LINE_HEIGHT;
        drawPanel(std::max(MARGIN, (width - panelWidth) / 2), std::min(height - MARGIN, (height + panelHeight) / 2),
                  help);
    }
    if (viewState.informationShown) {
        drawPanel(cornerAxesSide(width, height) + MARGIN, MARGIN + LINE_HEIGHT, {{informationLine(), NOTICE_COLOUR}});
    }
    endPixels();
}

namespace {

// Window pixels from the lower left, with nothing lit, textured or tested.
void beginPixels(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void endPixels() {
    glPopAttrib();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// Lines of text from `top` down on a dark see-through panel, so that they
// read over any model.
void drawPanel(int x, int top, const std::vector<TextLine>& lines) {
    size_t longest = 0;
    for (const TextLine& line : lines) longest = std::max(longest, shownCharacters(line.text).size());
    const int right = x + static_cast<int>(longest) * CHARACTER_WIDTH + 2 * 4;
    const int bottom = top - static_cast<int>(lines.size()) * LINE_HEIGHT - 4;
    glColor4f(0.05f, 0.06f, 0.08f, 0.72f);
    glRecti(x - 4, bottom, right, top + 2);
    int y = top - LINE_HEIGHT + 3;
    for (const TextLine& line : lines) {
        glColor3fv(line.colour);
        drawText(x, y, line.text);
        y -= LINE_HEIGHT;
    }
}

void drawText(int x, int y, const std::string& text) {
    glRasterPos2i(x, y);
    for (const char c : shownCharacters(text)) glutBitmapCharacter(FONT, static_cast<unsigned char>(c));
}

// The font has ASCII only: every other character shows as one "?".
std::string shownCharacters(const std::string& utf8) {
    std::string shown;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte < 0xC0) continue;  // the rest of a character already shown as "?"
        shown += byte >= 0x20 && byte < 0x7F ? c : '?';
    }
    return shown;
}

std::string informationLine() {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.1f", framesPerSecond());
    return std::filesystem::path(modelSettings.path).filename().string() + "   objects " +
           withThousands(modelCounts.objects) + "   vertices " + withThousands(modelCounts.vertices) + "   faces " +
           withThousands(modelCounts.faces) + "   triangles " + withThousands(modelCounts.triangles) + "   " + rate +
           " frames a second";
}

double framesPerSecond() {
    if (recentFrames.size() < 2) return 0.0;
    const double seconds = std::chrono::duration<double>(recentFrames.back() - recentFrames.front()).count();
    return seconds > 0 ? static_cast<double>(recentFrames.size() - 1) / seconds : 0.0;
}

std::string withThousands(int64_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

}  // namespace
