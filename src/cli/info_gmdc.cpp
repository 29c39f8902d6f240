// `meshwright-cli info FILE [--json]` for GMDC files: every section's counts and sizes,
// as readable text or as one JSON object keyed by the record's field names.
#include "cli/cli.h"
#include "cli/json.h"
#include "gmdc/gmdc_reader.h"

#include <cstdio>
#include <string>

namespace mw::cli {

namespace {

std::string hex(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

// Names are raw bytes: printable ASCII as it is, anything else as \xNN.
std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::string identity_text(std::uint32_t identity)
{
    const std::string name = identity_short_name(identity);
    return name.empty() ? hex(identity) : hex(identity) + " (" + name + ")";
}

template <typename T> std::string list_text(const std::vector<T>& v)
{
    std::string out;
    for (const T& x : v)
        out += (out.empty() ? "" : " ") + std::to_string(x);
    return "[" + out + "]";
}

void print_text(const GmdcFile& g, const std::string& path)
{
    const FileHeader& h = g.header;
    const ResourceHeader& r = g.resource;
    std::printf("GMDC file %s\n", path.c_str());
    std::printf("header: versionLow %u, versionHigh 0x%04X, linkCount %u, indexCount %u, typeId %s\n", h.versionLow,
                h.versionHigh, h.linkCount, h.indexCount, hex(h.typeId).c_str());
    std::printf("resource: blockName %s, blockId %s, blockVersion %u, resourceName %s, resourceId %u, "
                "resourceVersion %u, fileName %s\n",
                quoted(r.blockName).c_str(), hex(r.blockId).c_str(), r.blockVersion, quoted(r.resourceName).c_str(),
                r.resourceId, r.resourceVersion, quoted(r.fileName).c_str());

    std::printf("\nData lists: %zu\n", g.dataLists.size());
    for (std::size_t k = 0; k < g.dataLists.size(); ++k) {
        const DataList& d = g.dataLists[k];
        std::printf("  Datalist #%zu: identity %s, repetition %d, blockFormat %d, setFormat %d, recordCount %d, "
                    "dataLength %lld, itemCount %zu\n",
                    k + 1, identity_text(d.identity).c_str(), d.repetition, d.blockFormat, d.setFormat, d.recordCount,
                    static_cast<long long>(d.dataLength()), d.items.size());
    }

    std::printf("\nObject groups: %zu\n", g.objectGroups.size());
    for (std::size_t k = 0; k < g.objectGroups.size(); ++k) {
        const ObjectGroup& o = g.objectGroups[k];
        std::printf("  Object group #%zu: dataListIndices %s, vertexCount %d, activeCount %d, count1 %zu, count2 %zu, "
                    "count3 %zu\n",
                    k + 1, list_text(o.dataListIndices).c_str(), o.vertexCount, o.activeCount, o.list1.size(),
                    o.list2.size(), o.list3.size());
    }

    std::printf("\nObjects: %zu\n", g.objects.size());
    for (std::size_t k = 0; k < g.objects.size(); ++k) {
        const GmdcObject& o = g.objects[k];
        std::printf("  Object #%zu %s: objectGroupIndex %d, primitiveType %d, faceCount %zu (%zu triangles), "
                    "opacity %d, blockBCount %zu\n",
                    k + 1, quoted(o.name).c_str(), o.objectGroupIndex, o.primitiveType, o.faces.size(),
                    o.faces.size() / 3, o.opacity, o.blockB.size());
    }

    std::printf("\nP4: transformCount %zu, namePairCount %zu, boundingVertexCount %lld, boundingFaceCount %zu\n",
                g.transforms.size(), g.namePairs.size(), static_cast<long long>(g.boundingVertexCount()),
                g.boundingFaces.size());

    std::printf("\nP5 entries: %zu\n", g.p5Entries.size());
    for (std::size_t k = 0; k < g.p5Entries.size(); ++k)
        std::printf("  P5 sec #%zu: vertexCount %lld, faceCount %zu\n", k + 1,
                    static_cast<long long>(g.p5Entries[k].vertexCount()), g.p5Entries[k].faces.size());
}

template <typename T> void json_list(JsonWriter& j, const char* key, const std::vector<T>& v)
{
    j.key(key).beginArray();
    for (const T& x : v)
        j.value(x);
    j.endArray();
}

void print_json(const GmdcFile& g, const std::string& path)
{
    JsonWriter j;
    j.beginObject();
    j.key("file").value(path);
    j.key("header").beginObject();
    j.key("versionLow").value(static_cast<std::int32_t>(g.header.versionLow));
    j.key("versionHigh").value(static_cast<std::int32_t>(g.header.versionHigh));
    j.key("linkCount").value(g.header.linkCount);
    j.key("indexCount").value(g.header.indexCount);
    j.key("typeId").value(g.header.typeId);
    j.key("typeIdHex").value(hex(g.header.typeId));
    j.endObject();
    const ResourceHeader& r = g.resource;
    j.key("resource").beginObject();
    j.key("blockName").value(r.blockName);
    j.key("blockId").value(r.blockId);
    j.key("blockIdHex").value(hex(r.blockId));
    j.key("blockVersion").value(r.blockVersion);
    j.key("resourceName").value(r.resourceName);
    j.key("resourceId").value(r.resourceId);
    j.key("resourceVersion").value(r.resourceVersion);
    j.key("fileName").value(r.fileName);
    j.endObject();
    j.key("blockVersion").value(r.blockVersion);

    j.key("dataListCount").value(g.dataLists.size());
    j.key("dataLists").beginArray();
    for (const DataList& d : g.dataLists) {
        j.beginObject();
        j.key("identity").value(d.identity);
        j.key("identityHex").value(hex(d.identity));
        j.key("identityName").value(identity_short_name(d.identity));
        j.key("repetition").value(d.repetition);
        j.key("blockFormat").value(d.blockFormat);
        j.key("setFormat").value(d.setFormat);
        j.key("recordCount").value(d.recordCount);
        j.key("dataLength").value(d.dataLength());
        j.key("itemCount").value(d.items.size());
        j.endObject();
    }
    j.endArray();

    j.key("objectGroupCount").value(g.objectGroups.size());
    j.key("objectGroups").beginArray();
    for (const ObjectGroup& o : g.objectGroups) {
        j.beginObject();
        j.key("indexCount").value(o.dataListIndices.size());
        json_list(j, "dataListIndices", o.dataListIndices);
        j.key("vertexCount").value(o.vertexCount);
        j.key("activeCount").value(o.activeCount);
        j.key("count1").value(o.list1.size());
        j.key("count2").value(o.list2.size());
        j.key("count3").value(o.list3.size());
        j.endObject();
    }
    j.endArray();

    j.key("objectCount").value(g.objects.size());
    j.key("objects").beginArray();
    for (const GmdcObject& o : g.objects) {
        j.beginObject();
        j.key("name").value(o.name);
        j.key("primitiveType").value(o.primitiveType);
        j.key("objectGroupIndex").value(o.objectGroupIndex);
        j.key("faceCount").value(o.faces.size());
        j.key("triangleCount").value(o.faces.size() / 3);
        j.key("opacity").value(o.opacity);
        j.key("blockBCount").value(o.blockB.size());
        j.endObject();
    }
    j.endArray();

    j.key("transformCount").value(g.transforms.size());
    j.key("namePairCount").value(g.namePairs.size());
    j.key("boundingVertexCount").value(g.boundingVertexCount());
    j.key("boundingFaceCount").value(g.boundingFaces.size());

    j.key("p5Count").value(g.p5Entries.size());
    j.key("p5Entries").beginArray();
    for (const P5Entry& e : g.p5Entries) {
        j.beginObject();
        j.key("vertexCount").value(e.vertexCount());
        j.key("faceCount").value(e.faces.size());
        j.endObject();
    }
    j.endArray();
    j.endObject();
    std::printf("%s\n", j.str().c_str());
}

} // namespace

int run_info_gmdc(const std::vector<std::string>& words)
{
    Args args;
    std::string error;
    if (!args.parse(words, {}, error))
        return usage_error(error, kInfoUsage);
    const std::vector<std::string> unknown = args.unknown({"--json"});
    if (!unknown.empty())
        return usage_error("unknown option " + unknown.front() + " for a GMDC file", kInfoUsage);
    if (args.positional().size() != 1)
        return usage_error("info needs exactly one FILE", kInfoUsage);

    const std::string& path = args.positional().front();
    ConsoleSink sink;
    GmdcFile g;
    if (!readGmdc(g, path, sink))
        return kExitFailure;
    if (args.flag("--json"))
        print_json(g, path);
    else
        print_text(g, path);
    return kExitOk;
}

} // namespace mw::cli
