// Model mode's live reload: the model file and the textures it uses are
// watched while the viewer runs, and a model saved again is read anew and
// shown in place of the old one, with the camera, the mode and the toggles
// as they were; its drop starts again unless the simulation is paused. A
// save that can't be read leaves the last good model on screen and its
// failure shown in the window until the next good save.
#pragma once

// Starts watching the model and the textures it was built with.
void watchModel();
// Every tick: reads the model again once a save of it has settled.
void reloadModelWhenSaved();
