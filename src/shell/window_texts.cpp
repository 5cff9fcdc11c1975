#include "shell/window_texts.h"

#include "model/app_info.h"

namespace rek {

std::string windowTitle(const Model& model) {
    const std::string mark = model.modified ? "* " : "";
    const std::string name = model.displayName.empty() ? "無題" : model.displayName;
    return std::string(kAppTitle) + " - [ " + name + " " + mark + "]";
}

std::string sizeStatusText(const ModelProperties& properties) {
    return std::to_string(properties.width) + " × " + std::to_string(properties.height);
}

}  // namespace rek
