// Field-level edits of the GMDC record: check everything, then change.
#include "gmdc/gmdc_edits.h"

#include "gmdc/side_files.h"
#include "mesh/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace mw {

namespace {

constexpr std::size_t kMaxNameLength = 255;

bool refuse(MessageSink& sink, const std::string& message)
{
    sink.error(message);
    return false;
}

bool out_of_range(MessageSink& sink, const char* what, std::size_t index, std::size_t count)
{
    return refuse(sink, std::string("There is no ") + what + " " + std::to_string(index + 1) + "; the GMDC has " +
                            std::to_string(count) + ".");
}

// A box's text as a 32-bit integer, halves to even; false (with a message) for no number
// or a value outside the integer range.
bool box_integer(std::string_view text, const std::string& field, std::int64_t& out, MessageSink& sink)
{
    if (!reads_a_number(text))
        return refuse(sink, "\"" + std::string(text) + "\" is no number; " + field + " was left unchanged.");
    const double value = round_half_even(parse_number(text));
    if (!std::isfinite(value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return refuse(sink, "\"" + std::string(text) + "\" does not fit " + field + "; it was left unchanged.");
    out = static_cast<std::int64_t>(value);
    return true;
}

} // namespace

bool replaceFaces(GmdcFile& g, std::size_t object, std::string_view fileBytes, const std::string& fileName,
                  MessageSink& sink)
{
    if (object >= g.objects.size())
        return out_of_range(sink, "object", object, g.objects.size());
    std::vector<std::int16_t> faces;
    std::string error;
    if (!parseFaceFile(fileBytes, faces, error, fileName))
        return refuse(sink, error);
    GmdcObject& o = g.objects[object];
    const std::int64_t vertexCount =
        o.objectGroupIndex >= 0 && static_cast<std::size_t>(o.objectGroupIndex) < g.objectGroups.size()
            ? g.objectGroups[static_cast<std::size_t>(o.objectGroupIndex)].vertexCount
            : 0;
    for (std::size_t k = 0; k < faces.size(); ++k)
        if (faces[k] < 0 || faces[k] >= vertexCount)
            return refuse(sink, fileName + ": face index " + std::to_string(k + 1) + " is " +
                                    std::to_string(static_cast<std::uint16_t>(faces[k])) +
                                    ", but the object group of \"" + o.name + "\" has " + std::to_string(vertexCount) +
                                    " vertices; nothing was changed.");
    o.faces = std::move(faces);
    return true;
}

bool replaceDataList(GmdcFile& g, std::size_t list, std::string_view fileBytes, const std::string& fileName,
                     MessageSink& sink)
{
    if (list >= g.dataLists.size())
        return out_of_range(sink, "data list", list, g.dataLists.size());
    DataListFile file;
    std::string error;
    if (!parseDataListFile(fileBytes, file, error, fileName))
        return refuse(sink, error);
    DataList& d = g.dataLists[list];
    d.recordCount = file.recordCount;
    if (d.holdsLongValues()) {
        d.longValues.assign(file.values.begin(), file.values.end());
        d.floatValues.clear();
    } else {
        d.floatValues.resize(file.values.size());
        if (!file.values.empty())
            std::memcpy(d.floatValues.data(), file.values.data(), 4 * file.values.size());
        d.longValues.clear();
    }
    return true;
}

bool clearDataList(GmdcFile& g, std::size_t list, MessageSink& sink)
{
    if (list >= g.dataLists.size())
        return out_of_range(sink, "data list", list, g.dataLists.size());
    DataList& d = g.dataLists[list];
    std::fill(d.floatValues.begin(), d.floatValues.end(), 0.0f);
    std::fill(d.longValues.begin(), d.longValues.end(), 0);
    return true;
}

std::int64_t vertexCountLimit(const GmdcFile& g, std::size_t group)
{
    std::int64_t limit = -1;
    for (std::int16_t index : g.objectGroups.at(group).dataListIndices) {
        if (index < 0 || static_cast<std::size_t>(index) >= g.dataLists.size())
            continue;
        const DataList& d = g.dataLists[static_cast<std::size_t>(index)];
        if (d.recordCount <= 0 || !d.items.empty())
            continue;
        limit = limit < 0 ? d.recordCount : std::min<std::int64_t>(limit, d.recordCount);
    }
    return limit;
}

bool setVertexCount(GmdcFile& g, std::size_t group, std::string_view text, MessageSink& sink)
{
    if (group >= g.objectGroups.size())
        return out_of_range(sink, "object group", group, g.objectGroups.size());
    const std::string field = "the vertex count of object group " + std::to_string(group + 1);
    std::int64_t value = 0;
    if (!box_integer(text, field, value, sink))
        return false;
    if (value < 0)
        return refuse(sink, "A vertex count cannot be negative; " + field + " was left unchanged.");
    const std::int64_t limit = vertexCountLimit(g, group);
    if (limit >= 0 && value > limit)
        return refuse(sink, "Object group " + std::to_string(group + 1) + "'s lists hold " + std::to_string(limit) +
                                " vertices, so its vertex count cannot be " + std::to_string(value) +
                                "; it was left unchanged.");
    g.objectGroups[group].vertexCount = static_cast<std::int32_t>(value);
    return true;
}

bool setOpacity(GmdcFile& g, std::size_t object, std::string_view text, MessageSink& sink)
{
    if (object >= g.objects.size())
        return out_of_range(sink, "object", object, g.objects.size());
    std::int64_t value = 0;
    if (!box_integer(text, "the opacity of \"" + g.objects[object].name + "\"", value, sink))
        return false;
    g.objects[object].opacity = static_cast<std::int32_t>(value);
    return true;
}

bool commitObject(GmdcFile& g, std::size_t object, const std::string& name, std::string_view opacityText,
                  MessageSink& sink)
{
    if (object >= g.objects.size())
        return out_of_range(sink, "object", object, g.objects.size());
    if (name.size() > kMaxNameLength)
        return refuse(sink, "An object name holds at most 255 characters, and \"" + name.substr(0, 20) + "...\" has " +
                                std::to_string(name.size()) + "; nothing was changed.");
    const double value = round_half_even(parse_number(opacityText));
    if (!std::isfinite(value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        return refuse(sink, "The opacity \"" + std::string(opacityText) +
                                "\" does not fit a 32-bit integer; nothing was changed.");
    g.objects[object].name = name;
    g.objects[object].opacity = static_cast<std::int32_t>(value);
    return true;
}

bool setLocation(GmdcFile& g, std::size_t transform, std::string_view x, std::string_view y, std::string_view z,
                 MessageSink& sink)
{
    if (transform >= g.transforms.size())
        return out_of_range(sink, "transform", transform, g.transforms.size());
    const std::string_view texts[3] = {x, y, z};
    float values[3];
    for (int k = 0; k < 3; ++k)
        if (!reads_a_number(texts[k]) || !to_float32(parse_number(texts[k]), values[k]))
            return refuse(sink, "\"" + std::string(texts[k]) + "\" is no number a location can hold; transform " +
                                    std::to_string(transform + 1) + " was left unchanged.");
    std::copy(values, values + 3, g.transforms[transform].location);
    return true;
}

void removeP5(GmdcFile& g, const std::vector<float>& areaVertices, const std::vector<std::int16_t>& areaFaces)
{
    g.p5Entries.clear();
    g.boundingVertices = areaVertices;
    g.boundingFaces = areaFaces;
}

} // namespace mw
