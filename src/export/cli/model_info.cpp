#include "export/cli/model_info.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "render/geometry_ops.h"

namespace rek::cli {

namespace {

QJsonObject colour(ColorRgb c) {
    return QJsonObject{{"red", c.red}, {"green", c.green}, {"blue", c.blue}};
}

}  // namespace

QByteArray modelInfoJson(const Model& model, const QString& path) {
    const ModelProperties& p = model.properties;
    const QJsonObject properties{
        {"width", p.width},
        {"height", p.height},
        {"wobbleAmount", p.wobbleAmount},
        {"vtrSpeed", p.vtrSpeed},
        {"lineColor", colour(p.lineColor)},
        {"shadowColor", colour(p.shadowColor)},
        {"backgroundColor", colour(p.backgroundColor)},
        {"shadowMode", p.shadowMode},
        {"lineWidth", p.lineWidth},
    };
    QJsonArray vertices;
    for (const Vertex& v : model.vertices) {
        vertices.append(QJsonObject{{"x", v.x},
                                    {"y", v.y},
                                    {"kind", v.kind},
                                    {"wobbleDx", v.wobbleDx},
                                    {"wobbleDy", v.wobbleDy},
                                    {"reserved", v.reserved}});
    }
    const QJsonObject root{
        {"file", path},
        {"properties", properties},
        {"vertexCount", static_cast<qint64>(model.vertices.size())},
        {"totalLineLength", totalLineLength(model.vertices)},
        {"vertices", vertices},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace rek::cli
