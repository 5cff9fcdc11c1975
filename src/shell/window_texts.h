#pragma once

#include <string>

#include "model/model.h"

namespace rek {

// "レクツール Ver.1.41 - [ name * ]": the display name (or 無題) and the change mark.
std::string windowTitle(const Model& model);
// "800 × 600" for the size part of the status bar.
std::string sizeStatusText(const ModelProperties& properties);

}  // namespace rek
