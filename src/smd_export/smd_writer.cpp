#include "smd_export/smd_writer.h"

#include "core/save_file.h"
#include "gmdc/gmdc_lookup.h"
#include "mesh/numbers.h"

#include <algorithm>
#include <cstdio>

namespace mw {

namespace {

constexpr const char* kEol = "\r\n";
// Every triangle carries this material name; the game's exporter expects it as it is.
constexpr char kMaterialName[] = "\x7F\x3F\x32\x4A\x8F\xBD\x01.bmp";
// Every bone after the root is written with this rotation about x, not pi/2 to full
// precision.
constexpr double kBoneRotationX = 1.570796;

struct Quat {
    float x = 0, y = 0, z = 0, w = 0;
};

Quat product(const Quat& a, const Quat& b)
{
    const double ax = a.x, ay = a.y, az = a.z, aw = a.w;
    const double bx = b.x, by = b.y, bz = b.z, bw = b.w;
    Quat r;
    r.w = static_cast<float>(aw * bw - ax * bx - ay * by - az * bz);
    r.x = static_cast<float>(aw * bx + ax * bw + ay * bz - az * by);
    r.y = static_cast<float>(aw * by + ay * bw + az * bx - ax * bz);
    r.z = static_cast<float>(aw * bz + az * bw + ax * by - ay * bx);
    return r;
}

std::string F6(double x)
{
    return format_fixed(x, 6);
}
std::string F8(double x)
{
    return format_fixed(x, 8);
}
std::string F2(double x)
{
    return format_fixed(x, 2);
}

std::string hex32(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", v);
    return buf;
}

// The lists one export reads, found and checked once.
struct ObjectLists {
    const DataList* positions = nullptr;
    const DataList* normals = nullptr;
    const DataList* uvs = nullptr;
    const DataList* assignments = nullptr;
    const DataList* weights = nullptr; // multiple-bone layout only
};

class SmdBuilder {
  public:
    SmdBuilder(const GmdcFile& gmdc, int objectNumber, std::string& error)
        : gmdc_(gmdc), object_(gmdc.objects[static_cast<std::size_t>(objectNumber - 1)]), error_(error),
          label_("Object " + std::to_string(objectNumber) + " (\"" + object_.name + "\")")
    {
    }

    bool find_lists(int group, int slot, bool multipleBones, ObjectLists& lists)
    {
        struct Wanted {
            int position;
            const char* what;
            const DataList** into;
        };
        const Wanted wanted[] = {{1, "vertex-position", &lists.positions},
                                 {2, "normal", &lists.normals},
                                 {3, "texture-coordinate", &lists.uvs},
                                 {slot, "bone-assignment", &lists.assignments},
                                 {slot + 1, "bone-weight", &lists.weights}};
        for (const Wanted& w : wanted) {
            if (w.into == &lists.weights && !multipleBones)
                break;
            *w.into = data_list_at(gmdc_, group, w.position);
            if (!*w.into)
                return fail(label_ + ": its object group has no " + w.what + " list at position " +
                            std::to_string(w.position) + ".");
            // The coordinates are read as floats: a bone-assignment list there holds none.
            const bool coordinates = w.into != &lists.assignments && w.into != &lists.weights;
            if (coordinates && (*w.into)->holdsLongValues())
                return fail(label_ + ": the " + std::string(w.what) + " list at position " +
                            std::to_string(w.position) + " is a bone-assignment list (identity " +
                            hex32((*w.into)->identity) + "), not coordinates.");
        }
        if (lists.assignments->identity != kIdentityBoneAssignments)
            return fail(label_ + ": its object group has no bone-assignment list (identity 0xFBD70111); position " +
                        std::to_string(slot) + " holds a list of identity " + hex32(lists.assignments->identity) + ".");
        if (multipleBones && (lists.weights->holdsLongValues() ||
                              lists.weights->floatValues.size() !=
                                  3 * static_cast<std::size_t>(std::max(0, lists.weights->recordCount))))
            return fail(label_ + ": the bone-weight list at position " + std::to_string(slot + 1) +
                        " does not hold three weights per vertex (" + std::to_string(lists.weights->valueCount()) +
                        " values for " + std::to_string(lists.weights->recordCount) + " records).");
        return true;
    }

    void header()
    {
        line("version 1");
        line("nodes");
        const auto count = gmdc_.transforms.size();
        for (std::size_t k = 0; k < count; ++k) {
            if (k == 0)
                line(" 0 \"root\" -1");
            else // every bone names the root as its parent
                line(" " + std::to_string(k) + " \"bone" + std::to_string(k) + "\" 0");
        }
        line("end");
        line("skeleton");
        line("time 0");
        for (std::size_t k = 0; k < count; ++k) {
            const Transform& t = gmdc_.transforms[k];
            const Quat q{t.rotation[0], t.rotation[1], t.rotation[2], t.rotation[3]};
            const Quat conjugate{-q.x, -q.y, -q.z, q.w};
            const Quat p = product(product(conjugate, {t.location[0], t.location[1], t.location[2], 0.0f}), q);
            line(format_int_item(static_cast<std::int64_t>(k)) + F6(-p.x) + " " + F6(-p.y) + " " + F6(-p.z) + " " +
                 F6(k == 0 ? 0.0 : kBoneRotationX) + " " + F6(0) + " " + F6(0));
        }
        line("end");
    }

    bool triangles(const ObjectLists& lists, bool multipleBones)
    {
        line("triangles");
        const std::vector<std::int16_t>& faces = object_.faces;
        if (faces.size() % 3 != 0)
            return fail(label_ + " has " + std::to_string(faces.size()) + " face indices, not three per triangle.");
        for (std::size_t f = 0; f < faces.size(); f += 3) {
            line(std::string(kMaterialName, sizeof kMaterialName - 1));
            for (std::size_t c = f; c < f + 3; ++c)
                if (!vertex_line(lists, faces[c], c + 1, multipleBones))
                    return false;
        }
        line("end");
        line("");
        return true;
    }

    std::string take() { return std::move(text_); }

  private:
    bool fail(std::string message)
    {
        error_ = std::move(message);
        return false;
    }

    void line(const std::string& text)
    {
        text_ += text;
        text_ += kEol;
    }

    // The bone named by one byte of an assignment value: blockB(byte + 1), which must
    // exist and be a node the file declares.
    bool bone_of(std::uint32_t value, int byte, int vertex, std::int16_t& bone)
    {
        const std::uint32_t slot = (value >> (8 * byte)) & 0xFF;
        const std::vector<std::int16_t>& blockB = object_.blockB;
        if (slot >= blockB.size())
            return fail(label_ + ": vertex " + std::to_string(vertex) + " has bone assignment " + hex32(value) +
                        ", whose byte " + std::to_string(byte) + " names bone slot " + std::to_string(slot) +
                        " beyond its bone list of " + std::to_string(blockB.size()) + " bones.");
        bone = blockB[slot];
        if (bone < 0 || static_cast<std::size_t>(bone) >= gmdc_.transforms.size())
            return fail(label_ + ": bone " + std::to_string(bone) + " (slot " + std::to_string(slot) +
                        " of its bone list) is not one of the " + std::to_string(gmdc_.transforms.size()) +
                        " nodes the file declares (one per transform).");
        return true;
    }

    bool in_list(const DataList& list, const char* what, int vertex, std::size_t perVertex, std::size_t position)
    {
        const std::size_t size = list.holdsLongValues() ? list.longValues.size() : list.floatValues.size();
        if (vertex >= 0 && perVertex * static_cast<std::size_t>(vertex) + perVertex <= size)
            return true;
        return fail(label_ + ": face index " + std::to_string(vertex) + " at position " + std::to_string(position) +
                    " lies beyond its " + what + " list of " + std::to_string(size / perVertex) + " entries.");
    }

    bool vertex_line(const ObjectLists& lists, int v, std::size_t position, bool multipleBones)
    {
        if (!in_list(*lists.positions, "vertex-position", v, 3, position) ||
            !in_list(*lists.normals, "normal", v, 3, position) ||
            !in_list(*lists.uvs, "texture-coordinate", v, 2, position) ||
            !in_list(*lists.assignments, "bone-assignment", v, 1, position) ||
            (multipleBones && !in_list(*lists.weights, "bone-weight", v, 3, position)))
            return false;
        const auto i = static_cast<std::size_t>(v);
        const std::vector<float>& p = lists.positions->floatValues;
        const std::vector<float>& n = lists.normals->floatValues;
        const std::vector<float>& t = lists.uvs->floatValues;
        // The texture's V axis runs the other way in SMD files.
        const std::string geometry = F6(p[3 * i]) + " " + F6(p[3 * i + 1]) + " " + F6(p[3 * i + 2]) + " " +
                                     F8(n[3 * i]) + " " + F8(n[3 * i + 1]) + " " + F8(n[3 * i + 2]) + " " +
                                     F8(t[2 * i]) + " " + F8(1.0 - static_cast<double>(t[2 * i + 1]));
        const auto value = static_cast<std::uint32_t>(lists.assignments->longValues[i]);
        std::int16_t b1 = 0;
        if (!bone_of(value, 0, v, b1))
            return false;
        if (!multipleBones) {
            line(format_int_item(b1) + " " + geometry);
            return true;
        }
        // Byte 0 is taken as a bone even when it is 0xFF, and a single link still writes
        // its stored weight: the game's importer reads these files that way.
        const std::vector<float>& w = lists.weights->floatValues;
        const bool second = ((value >> 8) & 0xFF) != 0xFF;
        const bool third = second && ((value >> 16) & 0xFF) != 0xFF;
        std::string links = format_int_item(third ? 3 : second ? 2 : 1) + format_int_item(b1) + F2(w[3 * i]);
        std::int16_t b2 = 0, b3 = 0;
        if (second) {
            if (!bone_of(value, 1, v, b2))
                return false;
            links += " " + format_int_item(b2) + F2(w[3 * i + 1]);
        }
        if (third) {
            if (!bone_of(value, 2, v, b3))
                return false;
            links += " " + format_int_item(b3) + F2(w[3 * i + 2]);
        }
        line("0 " + geometry + links);
        return true;
    }

    const GmdcFile& gmdc_;
    const GmdcObject& object_;
    std::string& error_;
    std::string label_;
    std::string text_;
};

} // namespace

bool smd_text(State& state, int objectNumber, std::int16_t mode, std::string& out, std::string& error)
{
    const GmdcFile& gmdc = state.gmdc;
    if (!gmdc.holdsGmdc()) {
        error = "No GMDC is loaded: load a GMDC file before exporting an object as SMD.";
        return false;
    }
    const int objectCount = static_cast<int>(gmdc.objects.size());
    if (objectNumber > objectCount) {
        error = "The GMDC has no object " + std::to_string(objectNumber) + "; it holds " + std::to_string(objectCount) +
                " objects.";
        return false;
    }
    // Object 0, nothing selected, has no bone list either.
    if (objectNumber < 1 || gmdc.objects[static_cast<std::size_t>(objectNumber - 1)].blockB.empty()) {
        error = kNoSubgroupsMessage;
        return false;
    }
    const GmdcObject& object = gmdc.objects[static_cast<std::size_t>(objectNumber - 1)];
    const std::int64_t group = static_cast<std::int64_t>(object.objectGroupIndex) + 1;
    if (group < 1 || group > static_cast<std::int64_t>(gmdc.objectGroups.size())) {
        error = "Object " + std::to_string(objectNumber) + " (\"" + object.name + "\") uses object group " +
                std::to_string(object.objectGroupIndex) + ", but the GMDC has " +
                std::to_string(gmdc.objectGroups.size()) + " object groups (numbered from 0).";
        return false;
    }
    const int slot = state.boneAssignmentSlot = bone_list_position(gmdc, static_cast<int>(group));
    const bool multipleBones = mode != kSmdSingleBone;
    SmdBuilder builder(gmdc, objectNumber, error);
    ObjectLists lists;
    if (!builder.find_lists(static_cast<int>(group), slot, multipleBones, lists))
        return false;
    builder.header();
    if (!builder.triangles(lists, multipleBones))
        return false;
    out = builder.take();
    return true;
}

bool write_smd(State& state, const std::string& fileName, int objectNumber, std::int16_t mode, MessageSink& sink)
{
    std::string text;
    std::string error;
    if (!smd_text(state, objectNumber, mode, text, error)) {
        sink.error(error);
        return false;
    }
    return save_file(fileName, text, sink);
}

} // namespace mw
