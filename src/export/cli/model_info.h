#pragma once

#include <QByteArray>

#include "model/model.h"

namespace rek::cli {

// The model as indented JSON: its properties, vertex count, total line length and every
// vertex (x, y, kind, wobbleDx, wobbleDy, reserved).
QByteArray modelInfoJson(const Model& model, const QString& path);

}  // namespace rek::cli
