// `meshwright-cli info MESH`: what the OBJ or SMD reader makes of a file.
#include "cli/cli.h"
#include "cli/info.h"
#include "cli/mesh_input.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace mw::cli {

namespace {

const char* kind_name(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Info:
        return "info";
    case MessageKind::Warning:
        return "warning";
    case MessageKind::Error:
        return "error";
    }
    return "info";
}

// The material row of model m, if the file gave it one.
const MaterialRow* material_of(const ModelSet& set, std::size_t m)
{
    return m < set.materials.size() ? &set.materials[m] : nullptr;
}

void print_text(const ModelSet& set)
{
    std::printf("models: %d\n", set.modelCount());
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        const MeshModel& model = set.models[m];
        const MaterialRow* row = material_of(set, m);
        std::printf("model %zu\n", m + 1);
        std::printf("  name             %s\n", model.name.c_str());
        std::printf("  vertexCount      %d\n", model.vertexCount());
        std::printf("  faceCount        %d\n", model.faceCount());
        std::printf("  materialName     %s\n", row ? row->materialName.c_str() : "");
        std::printf("  textureFile      %s\n", row && row->textureFound ? row->textureFile.c_str() : "");
        std::printf("  boneMode         %d\n", model.boneMode);
    }
}

void print_json(const std::string& path, const ModelSet& set, bool ok, const RecordingSink& messages)
{
    using Json = nlohmann::ordered_json;
    Json json;
    json["file"] = json_text(path);
    json["ok"] = ok;
    Json& list = json["messages"] = Json::array();
    for (const RecordingSink::Entry& e : messages.entries)
        list.push_back({{"kind", kind_name(e.kind)}, {"text", json_text(e.text)}});
    json["objLoadOk"] = set.objLoadOk;
    json["modelSource"] = set.modelSource;
    json["mtlFileName"] = json_text(set.mtlFileName);
    json["modelCount"] = set.modelCount();
    json["materialCount"] = set.materialCount();
    Json& models = json["models"] = Json::array();
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        const MeshModel& model = set.models[m];
        const MaterialRow* row = material_of(set, m);
        models.push_back({{"number", m + 1},
                          {"name", json_text(model.name)},
                          {"vertexCount", model.vertexCount()},
                          {"normalCount", model.normalCount()},
                          {"uvCount", model.uvCount()},
                          {"faceCount", model.faceCount()},
                          {"boneMode", model.boneMode},
                          {"boneVertexCount", model.boneVertexCount()},
                          {"materialName", json_text(row ? row->materialName : std::string())},
                          {"textureFile", json_text(row ? row->textureFile : std::string())},
                          {"textureFound", row != nullptr && row->textureFound}});
    }
    std::printf("%s\n", json.dump().c_str());
}

} // namespace

int run_info_mesh(const InfoOptions& options)
{
    MeshInput input;
    input.obj.dumpFiles = options.dumpFiles;
    input.smd.studio3dsSmd = options.studio3dsSmd;
    State state;
    if (options.json) {
        RecordingSink messages;
        const bool ok = read_mesh(state, options.path, input, messages);
        print_json(options.path, state.models, ok, messages);
        return ok ? kExitOk : kExitFailure;
    }
    ConsoleSink console;
    const bool ok = read_mesh(state, options.path, input, console);
    print_text(state.models);
    return ok ? kExitOk : kExitFailure;
}

} // namespace mw::cli
