#include "mesh/gmdc_to_obj.h"

#include "core/save_file.h"
#include "mesh/numbers.h"

#include <cmath>

namespace mw {

namespace {

constexpr const char* kEol = "\r\n";

// The list at 1-based `position` of the group's data-list indices, or nullptr.
const DataList* list_at(const GmdcFile& gmdc, const ObjectGroup& group, std::size_t position)
{
    if (position > group.dataListIndices.size())
        return nullptr;
    const int index = group.dataListIndices[position - 1];
    if (index < 0 || static_cast<std::size_t>(index) >= gmdc.dataLists.size())
        return nullptr;
    return &gmdc.dataLists[static_cast<std::size_t>(index)];
}

class ObjText {
  public:
    ObjText(std::string& error) : error_(error) {}

    bool object(const GmdcFile& gmdc, std::size_t number, double scale)
    {
        const GmdcObject& object = gmdc.objects[number];
        label_ = "Object " + std::to_string(number + 1) + " (\"" + object.name + "\")";
        const std::int64_t group = static_cast<std::int64_t>(object.objectGroupIndex) + 1;
        if (group < 1 || group > static_cast<std::int64_t>(gmdc.objectGroups.size()))
            return fail(" uses object group " + std::to_string(object.objectGroupIndex) + ", but the GMDC has " +
                        std::to_string(gmdc.objectGroups.size()) + " object groups (numbered from 0).");
        if (object.faces.size() % 3 != 0)
            return fail(" has " + std::to_string(object.faces.size()) + " face indices, not three per triangle.");
        const ObjectGroup& g = gmdc.objectGroups[static_cast<std::size_t>(group - 1)];
        const DataList* positions = list_at(gmdc, g, 1);
        const DataList* normals = list_at(gmdc, g, 2);
        const DataList* uvs = list_at(gmdc, g, 3);

        text_ += "g " + obj_group_name(object.name) + kEol;
        if (positions && !values(*positions, "v ", 3, scale, false, "vertex-position"))
            return false;
        if (uvs && !values(*uvs, "vt ", 2, 1.0, true, "texture-coordinate"))
            return false;
        if (normals && !values(*normals, "vn ", 3, 1.0, false, "normal"))
            return false;

        const std::int64_t positionCount = positions ? static_cast<std::int64_t>(positions->floatValues.size() / 3) : 0;
        const std::int64_t uvCount = uvs ? static_cast<std::int64_t>(uvs->floatValues.size() / 2) : 0;
        const std::int64_t normalCount = normals ? static_cast<std::int64_t>(normals->floatValues.size() / 3) : 0;
        for (std::size_t f = 0; f < object.faces.size(); f += 3) {
            std::string line = "f";
            for (std::size_t c = f; c < f + 3; ++c) {
                const std::int64_t index = object.faces[c];
                if (!in_list(index, c, positionCount, "vertex-position") ||
                    (uvs && !in_list(index, c, uvCount, "texture-coordinate")) ||
                    (normals && !in_list(index, c, normalCount, "normal")))
                    return false;
                line += " " + std::to_string(positionBase_ + index + 1);
                if (uvs || normals)
                    line += "/" + (uvs ? std::to_string(uvBase_ + index + 1) : std::string());
                if (normals)
                    line += "/" + std::to_string(normalBase_ + index + 1);
            }
            text_ += line + kEol;
        }
        positionBase_ += positionCount;
        uvBase_ += uvCount;
        normalBase_ += normalCount;
        return true;
    }

    std::string take() { return std::move(text_); }

  private:
    bool fail(const std::string& rest)
    {
        error_ = label_ + rest;
        return false;
    }

    // One line per record of `perRecord` values. The second texture coordinate is
    // written negated, for the OBJ reader negates it again.
    bool values(const DataList& list, const char* keyword, std::size_t perRecord, double scale, bool negateSecond,
                const char* what)
    {
        const std::vector<float>& v = list.floatValues;
        for (std::size_t r = 0; r + perRecord <= v.size(); r += perRecord) {
            std::string line = keyword;
            for (std::size_t k = 0; k < perRecord; ++k) {
                float x = v[r + k];
                if (scale != 1.0)
                    x = static_cast<float>(static_cast<double>(x) * scale);
                if (negateSecond && k == 1)
                    x = -x;
                if (!std::isfinite(x))
                    return fail(": value " + std::to_string(r + k + 1) + " of its " + what +
                                " list is not a finite number" + (scale != 1.0 ? " after scaling." : "."));
                line += (k ? " " : "") + format_float_shortest(x);
            }
            text_ += line + kEol;
        }
        return true;
    }

    bool in_list(std::int64_t index, std::size_t position, std::int64_t count, const char* what)
    {
        if (index >= 0 && index < count)
            return true;
        return fail(": face index " + std::to_string(index) + " at position " + std::to_string(position + 1) +
                    " lies outside its " + what + " list of " + std::to_string(count) + " entries.");
    }

    std::string& error_;
    std::string label_;
    std::string text_;
    std::int64_t positionBase_ = 0;
    std::int64_t uvBase_ = 0;
    std::int64_t normalBase_ = 0;
};

} // namespace

std::string obj_group_name(const std::string& name)
{
    if (name.empty())
        return "%";
    std::string out;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b > 0x20 && b < 0x7F && c != '#' && c != '%' && c != '\\') {
            out += c;
        } else {
            const char* hex = "0123456789ABCDEF";
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

bool gmdc_to_obj_text(const GmdcFile& gmdc, double scalePercent, std::string& out, std::string& error)
{
    if (!std::isfinite(scalePercent)) {
        error = "The scale must be a finite number of percent.";
        return false;
    }
    ObjText text(error);
    for (std::size_t o = 0; o < gmdc.objects.size(); ++o)
        if (!text.object(gmdc, o, scalePercent / 100.0))
            return false;
    out = text.take();
    return true;
}

bool write_gmdc_as_obj(const GmdcFile& gmdc, const std::string& path, double scalePercent, MessageSink& sink)
{
    std::string text;
    std::string error;
    if (!gmdc_to_obj_text(gmdc, scalePercent, text, error)) {
        sink.error(error);
        return false;
    }
    return save_file(path, text, sink);
}

} // namespace mw
