#include "app/key_help.h"

namespace {

constexpr const char* KEYS[] = {
    "left drag          turns the model about the axis across the screen",
    "right drag         turns it about the screen's upright",
    "middle drag        turns it about the line of sight",
    "Ctrl + left drag   picks a body up and throws it",
    "a / z              draws the model larger / smaller",
    "s f e d, arrows    moves the view left, right, up, down",
    "x / c              moves the view away / nearer",
    "u                  pushes the picked body (or the first) up",
    "r, 0               back to the saved view",
    "1 / 3 / 7          the front / the right side / the top",
    "g                  hides and shows the ground and the shadows",
    "l                  shows and hides the orbiting lights",
    "p                  pauses and resumes the simulation",
    "w                  wireframe over the model, alone, off",
    "t                  textures off and on",
    "i                  shows and hides the information line",
    "h                  shows and hides this help",
    "F12, o             saves a screenshot as NAME-001.png",
    "Esc, q             quits",
};

}  // namespace

std::span<const char* const> modelModeKeys() {
    return KEYS;
}
