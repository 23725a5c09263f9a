// Model mode's screenshot key: the next frame, as the scene shows it without
// the overlay, is saved as NAME-001.png (the next free number) in the
// working folder, NAME being the model file's name without its extension.
#pragma once

void askForScreenshot();
// After the scene is drawn, before the overlay: saves it if it was asked
// for, and tells the user where.
void saveScreenshotIfAsked();
