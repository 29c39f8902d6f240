// `meshwright-cli info MESH`: what the OBJ or SMD reader makes of a file.
#include "cli/cli.h"
#include "cli/json.h"
#include "cli/mesh_input.h"

#include <cstdio>

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
    JsonWriter json;
    json.beginObject();
    json.key("file").value(path);
    json.key("ok").value(ok);
    json.key("messages").beginArray();
    for (const RecordingSink::Entry& e : messages.entries) {
        json.beginObject();
        json.key("kind").value(kind_name(e.kind));
        json.key("text").value(e.text);
        json.endObject();
    }
    json.endArray();
    json.key("objLoadOk").value(set.objLoadOk);
    json.key("modelSource").value(set.modelSource);
    json.key("mtlFileName").value(set.mtlFileName);
    json.key("modelCount").value(set.modelCount());
    json.key("materialCount").value(set.materialCount());
    json.key("models").beginArray();
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        const MeshModel& model = set.models[m];
        const MaterialRow* row = material_of(set, m);
        json.beginObject();
        json.key("number").value(m + 1);
        json.key("name").value(model.name);
        json.key("vertexCount").value(model.vertexCount());
        json.key("normalCount").value(model.normalCount());
        json.key("uvCount").value(model.uvCount());
        json.key("faceCount").value(model.faceCount());
        json.key("boneMode").value(model.boneMode);
        json.key("boneVertexCount").value(model.boneVertexCount());
        json.key("materialName").value(row ? row->materialName : std::string());
        json.key("textureFile").value(row ? row->textureFile : std::string());
        json.key("textureFound").value(row != nullptr && row->textureFound);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    std::printf("%s\n", json.str().c_str());
}

} // namespace

int run_info_mesh(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {}, error))
        return usage_error(error, kInfoUsage);
    const std::vector<std::string> bad = args.unknown({"--json", "--dump-files", "--3ds-smd"});
    if (!bad.empty())
        return usage_error("unknown option " + bad.front(), kInfoUsage);
    if (args.positional().size() != 1)
        return usage_error("info takes exactly one file", kInfoUsage);
    const std::string& path = args.positional().front();

    MeshInput input;
    input.obj.dumpFiles = args.flag("--dump-files");
    input.smd.studio3dsSmd = args.flag("--3ds-smd");
    State state;
    if (args.flag("--json")) {
        RecordingSink messages;
        const bool ok = read_mesh(state, path, input, messages);
        print_json(path, state.models, ok, messages);
        return ok ? kExitOk : kExitFailure;
    }
    ConsoleSink console;
    const bool ok = read_mesh(state, path, input, console);
    print_text(state.models);
    return ok ? kExitOk : kExitFailure;
}

} // namespace mw::cli
