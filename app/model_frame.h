// One frame of model mode: the scenery, then the model's opaque faces at
// their bodies' places, then its see-through faces farthest first, then the
// corner axes. The scene turns under a camera that looks at the model from
// the view the file saved.
#pragma once

void drawModelFrame();
