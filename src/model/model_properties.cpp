#include "model/model_properties.h"

#include <algorithm>

namespace rek {

ModelProperties sanitizeStoredProperties(ModelProperties properties) {
    // Zero stays zero: applyCanvasSize reads it as "keep the current size".
    if (properties.width != 0) {
        properties.width = std::clamp(properties.width, kMinCanvasSize, kMaxCanvasWidth);
    }
    if (properties.height != 0) {
        properties.height = std::clamp(properties.height, kMinCanvasSize, kMaxCanvasHeight);
    }
    properties.wobbleAmount = std::clamp(properties.wobbleAmount, 0, kMaxWobbleAmount);
    properties.vtrSpeed = std::clamp(properties.vtrSpeed, kMinVtrSpeed, kMaxVtrSpeed);
    properties.lineWidth = std::clamp(properties.lineWidth, kMinLineWidth, kMaxLineWidth);
    properties.shadowMode = properties.shadowMode == 0 ? 0 : 1;
    return properties;
}

}  // namespace rek
