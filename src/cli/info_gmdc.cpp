// `meshwright-cli info FILE [--json]` for GMDC files: every section's counts and sizes,
// as readable text or as one JSON object keyed by the record's field names.
#include "cli/check_command.h"
#include "cli/cli.h"
#include "cli/gmdc_source.h"
#include "cli/info.h"
#include "core/save_file.h"
#include "gmdc/gmdc_reader.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

namespace mw::cli {

namespace {

std::string hex_text(std::uint32_t v)
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
    return name.empty() ? hex_text(identity) : hex_text(identity) + " (" + name + ")";
}

template <typename T> std::string list_text(const std::vector<T>& v)
{
    std::string out;
    for (const T& x : v)
        out += (out.empty() ? "" : " ") + std::to_string(x);
    return "[" + out + "]";
}

} // namespace

void print_gmdc_text(const GmdcFile& g, const std::string& path)
{
    const FileHeader& h = g.header;
    const ResourceHeader& r = g.resource;
    std::printf("GMDC file %s\n", path.c_str());
    std::printf("header: versionLow %u, versionHigh 0x%04X, linkCount %u, indexCount %u, typeId %s\n", h.versionLow,
                h.versionHigh, h.linkCount, h.indexCount, hex_text(h.typeId).c_str());
    std::printf("resource: blockName %s, blockId %s, blockVersion %u, resourceName %s, resourceId %u, "
                "resourceVersion %u, fileName %s\n",
                quoted(r.blockName).c_str(), hex_text(r.blockId).c_str(), r.blockVersion,
                quoted(r.resourceName).c_str(), r.resourceId, r.resourceVersion, quoted(r.fileName).c_str());

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

nlohmann::ordered_json gmdc_json(const GmdcFile& g, const std::string& path)
{
    using Json = nlohmann::ordered_json;
    const ResourceHeader& r = g.resource;
    Json j;
    j["file"] = json_text(path);
    j["header"] = {{"versionLow", g.header.versionLow}, {"versionHigh", g.header.versionHigh},
                   {"linkCount", g.header.linkCount},   {"indexCount", g.header.indexCount},
                   {"typeId", g.header.typeId},         {"typeIdHex", hex_text(g.header.typeId)}};
    j["resource"] = {{"blockName", json_text(r.blockName)},       {"blockId", r.blockId},
                     {"blockIdHex", hex_text(r.blockId)},         {"blockVersion", r.blockVersion},
                     {"resourceName", json_text(r.resourceName)}, {"resourceId", r.resourceId},
                     {"resourceVersion", r.resourceVersion},      {"fileName", json_text(r.fileName)}};
    j["blockVersion"] = r.blockVersion;

    j["dataListCount"] = g.dataLists.size();
    Json& lists = j["dataLists"] = Json::array();
    for (const DataList& d : g.dataLists)
        lists.push_back({{"identity", d.identity},
                         {"identityHex", hex_text(d.identity)},
                         {"identityName", identity_short_name(d.identity)},
                         {"repetition", d.repetition},
                         {"blockFormat", d.blockFormat},
                         {"setFormat", d.setFormat},
                         {"recordCount", d.recordCount},
                         {"dataLength", d.dataLength()},
                         {"itemCount", d.items.size()}});

    j["objectGroupCount"] = g.objectGroups.size();
    Json& groups = j["objectGroups"] = Json::array();
    for (const ObjectGroup& o : g.objectGroups)
        groups.push_back({{"indexCount", o.dataListIndices.size()},
                          {"dataListIndices", o.dataListIndices},
                          {"vertexCount", o.vertexCount},
                          {"activeCount", o.activeCount},
                          {"count1", o.list1.size()},
                          {"count2", o.list2.size()},
                          {"count3", o.list3.size()}});

    j["objectCount"] = g.objects.size();
    Json& objects = j["objects"] = Json::array();
    for (const GmdcObject& o : g.objects)
        objects.push_back({{"name", json_text(o.name)},
                           {"primitiveType", o.primitiveType},
                           {"objectGroupIndex", o.objectGroupIndex},
                           {"faceCount", o.faces.size()},
                           {"triangleCount", o.faces.size() / 3},
                           {"opacity", o.opacity},
                           {"blockBCount", o.blockB.size()}});

    j["transformCount"] = g.transforms.size();
    j["namePairCount"] = g.namePairs.size();
    j["boundingVertexCount"] = g.boundingVertexCount();
    j["boundingFaceCount"] = g.boundingFaces.size();

    j["p5Count"] = g.p5Entries.size();
    Json& p5 = j["p5Entries"] = Json::array();
    for (const P5Entry& e : g.p5Entries)
        p5.push_back({{"vertexCount", e.vertexCount()}, {"faceCount", e.faces.size()}});
    return j;
}

int run_info_gmdc(const InfoOptions& options)
{
    ConsoleSink sink;
    std::string bytes, error;
    if (!read_whole_file(options.path, bytes, error)) {
        sink.error(error);
        return kExitFailure;
    }
    if (looks_like_package(bytes))
        return run_info_package(options, std::move(bytes));
    GmdcFile g;
    if (!parseGmdc(bytes, g, error, options.path)) {
        sink.error(error);
        return kExitFailure;
    }
    const std::int64_t trailing = bytes_after_gmdc(g, options.path);
    if (options.json) {
        nlohmann::ordered_json j = gmdc_json(g, options.path);
        add_gmdc_details(j, g, trailing);
        std::printf("%s\n", j.dump().c_str());
    } else {
        print_gmdc_text(g, options.path);
        print_gmdc_details(g, trailing);
    }
    return kExitOk;
}

} // namespace mw::cli
