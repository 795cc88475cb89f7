// What the demo pictures show: a landscape with a house, a sunset over the sea, colour gradients
// and shapes, each in a few colour variants, with the file name written across the bottom.
#pragma once

#include <string>

#include "demo/canvas.h"

namespace demo {

enum class Art { Scene, Sunset, Gradient, Shapes };

// Fills the whole canvas; `variant` changes colours and positions.
void DrawArt(Canvas& canvas, Art art, int variant);
// A big arrow and "UP" at the top, so a viewer shows whether it turned the picture right.
void DrawUpMarker(Canvas& canvas);
// The name in large letters along the bottom.
void DrawName(Canvas& canvas, const std::u16string& name);

}  // namespace demo
