// A ring drawn over the world around a point, such as where the first beam
// of a test broke; it keeps its size on screen at any zoom, and grows with
// the world when the camera comes close, so it circles a beam rather than
// hiding under it.
#pragma once

void renderbreakmark(float x, float y);
