// The model file reader on arbitrary bytes, read as a .rkm and as a legacy .rk2 file. Whatever
// loads must carry properties in their safe ranges, save, and load again as the same document.

#include <cstddef>
#include <cstdint>
#include <variant>

#include "model/model_file.h"
#include "scratch_file.h"

namespace {

bool sameVertices(const rek::VertexList& a, const rek::VertexList& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].kind != b[i].kind ||
            a[i].wobbleDx != b[i].wobbleDx || a[i].wobbleDy != b[i].wobbleDy ||
            a[i].reserved != b[i].reserved || a[i].selected != 0 || b[i].selected != 0)
            return false;
    }
    return true;
}

void loadSaveLoad(const std::uint8_t* data, std::size_t size, const char* name) {
    using rek::fuzz::finding;
    const std::string path = rek::fuzz::writeScratchFile(name, data, size);
    rek::ModelFileRead read = rek::readModel(path);
    auto* contents = std::get_if<rek::ModelFileContents>(&read);
    if (contents == nullptr)
        return;

    rek::Model model;
    if (contents->properties) {
        if (rek::sanitizeStoredProperties(*contents->properties) != *contents->properties)
            finding("properties outside their safe ranges");
        rek::setProperties(model, *contents->properties);
    }
    model.vertices = contents->vertices;

    const std::string copy = (rek::fuzz::scratchFolder() / "saved.rkm").string();
    if (rek::saveModel(model, copy))
        finding("a loaded model could not be saved");
    rek::ModelFileRead again = rek::readModel(copy);
    auto* reloaded = std::get_if<rek::ModelFileContents>(&again);
    if (reloaded == nullptr)
        finding("a saved model does not load");
    if (!reloaded->properties || *reloaded->properties != model.properties)
        finding("the saved properties load differently");
    if (!sameVertices(reloaded->vertices, contents->vertices))
        finding("the saved vertices load differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    loadSaveLoad(data, size, "input.rkm");
    loadSaveLoad(data, size, "input.rk2");
    return 0;
}
