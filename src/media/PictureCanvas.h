// Canvases on pictures, for painting onto pictures before they become textures (the setup
// bars' captions). The platform supplies the maker, since only it can rasterise text.
#pragma once

#include <functional>
#include <memory>

#include "media/Canvas.h"

class TDIB;

// A canvas that paints into Picture; the painting is in the picture after Release (or when
// the canvas goes).
using TPictureCanvasMaker = std::function<std::unique_ptr<TCanvas>(TDIB& Picture)>;
