#include "model_test_support.h"

#include <fstream>
#include <iterator>

namespace rek::test {

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Model modelWith(std::initializer_list<Pt> points) {
    Model model;
    for (const Pt& p : points)
        appendVertex(model, p.x, p.y, p.joined);
    model.modified = false;
    return model;
}

std::string shape(const Model& model) {
    std::string out;
    for (const Vertex& v : model.vertices) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(v.x) + "," + std::to_string(v.y) + "," + std::to_string(v.kind);
    }
    return out;
}

}  // namespace rek::test
