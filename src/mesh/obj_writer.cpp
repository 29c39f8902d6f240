#include "mesh/obj_writer.h"

#include "core/save_file.h"
#include "mesh/numbers.h"

namespace mw {

std::string format_obj(const MeshModel& model)
{
    const std::size_t n = model.vertices.size();
    std::string text;
    text.reserve(n * 3 * 40 + model.faces.size() * 32);
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3f& v = model.vertices[i];
        text += "v " + format_number_item(v.x) + format_number_item(v.y) + format_number_item(v.z) + "\r\n";
    }
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3f& v = model.normals[i];
        text += "vn " + format_number_item(v.x) + format_number_item(v.y) + format_number_item(v.z) + "\r\n";
    }
    for (std::size_t i = 0; i < n; ++i)
        text += "vt " + format_number_item(model.uvs[i].u) + format_number_item(model.uvs[i].v) + "\r\n";
    // One number serves as position, texture coordinate and normal: the lists are parallel.
    auto corner = [](std::int32_t k) {
        const std::string s = std::to_string(k);
        return s + "/" + s + "/" + s;
    };
    for (const MeshFace& f : model.faces)
        text += "f " + corner(f.vertex1) + " " + corner(f.vertex2) + " " + corner(f.vertex3) + "\r\n";
    return text;
}

bool obj_text(const State& state, int modelNumber, std::string& out, std::string& error)
{
    const ModelSet& set = state.models;
    if (modelNumber < 1 || modelNumber > set.modelCount()) {
        error = ("Cannot write model " + std::to_string(modelNumber) + " as OBJ: " +
                 (set.modelCount() == 0 ? std::string("no model is loaded")
                                        : "there are models 1 to " + std::to_string(set.modelCount()) + " only"));
        return false;
    }
    const MeshModel& model = set.models[static_cast<std::size_t>(modelNumber - 1)];
    const std::int32_t count = model.vertexCount();
    if (model.normalCount() < count || model.uvCount() < count) {
        error = ("Cannot write model " + std::to_string(modelNumber) + " as OBJ: it has " + std::to_string(count) +
                 " vertices but only " + std::to_string(model.normalCount()) + " normals and " +
                 std::to_string(model.uvCount()) + " texture coordinates");
        return false;
    }
    for (std::size_t f = 0; f < model.faces.size(); ++f) {
        const MeshFace& face = model.faces[f];
        for (std::int32_t k : {face.vertex1, face.vertex2, face.vertex3}) {
            if (k >= 1 && k <= count)
                continue;
            error =
                ("Cannot write model " + std::to_string(modelNumber) + " as OBJ: face " + std::to_string(f + 1) +
                 " names vertex " + std::to_string(k) + ", but the model has " + std::to_string(count) + " vertices");
            return false;
        }
    }
    out = format_obj(model);
    return true;
}

bool write_obj(const State& state, const std::string& fileName, int modelNumber, MessageSink& sink)
{
    std::string text, error;
    if (!obj_text(state, modelNumber, text, error)) {
        sink.error(error);
        return false;
    }
    return save_file(fileName, text, sink);
}

} // namespace mw
