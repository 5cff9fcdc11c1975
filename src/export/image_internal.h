#pragma once

#include <memory>

#include "export/image_library.h"

namespace rek::detail {

// The image in its palette form: the image itself when already reduced, otherwise a reduced
// copy kept alive by holder. Nullptr when the reduction fails.
const Image* reducedForm(const Image& image, std::unique_ptr<Image>& holder);

// Colour table length for a palette: the smallest power of two holding it, at least 2.
int colorTableSize(std::size_t paletteSize);

}  // namespace rek::detail
