// A thumbnail's model fills its square whatever its shape: the view is
// framed on the model's box, which seen at a slant sticks out well beyond
// the model, so a first picture tells which pixels the model covers, and
// the projection then narrows to those pixels, as a crop of the picture
// scaled up, drawn again at full detail.
#pragma once

// Reads the picture just drawn over a clear background (`width` by
// `height`) and narrows the projection so that what it covers is centred
// and takes `share` of the picture's width or height, whichever it reaches
// first. Leaves a picture with nothing drawn on it as it was.
void fitViewToCover(int width, int height, double share);
