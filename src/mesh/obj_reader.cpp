#include "mesh/obj_reader.h"

#include "core/program_folder.h"
#include "core/save_file.h"
#include "mesh/corner_table.h"
#include "mesh/fast_tokens.h"
#include "mesh/keyword.h"
#include "mesh/numbers.h"
#include "mesh/text_lines.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <utility>
#include <vector>

namespace mw {

namespace {

constexpr std::int32_t kMaxModels = 32767;

enum ListKind { kPositions = 0, kTextureCoordinates = 1, kNormals = 2 };
const char* const kListNames[] = {"position", "texture coordinate", "normal"};
const char* const kListPlurals[] = {"positions", "texture coordinates", "normals"};

// Everything one read_obj call builds before it hands the result to the state. Faces
// are numbered as they are read: a model's faces all come before the next model starts,
// so one corner table serves the current model and keeps only its distinct corners.
class ObjParser {
  public:
    explicit ObjParser(const std::string& fileName) : fileName_(fileName) {}

    // Handles one line; false (with error() set) when the file must be refused.
    bool line(std::string_view text);
    // After the last line: keeps the last model's distinct corners.
    void close_models();
    // False when a face names a number beyond its list.
    bool check_references();

    const std::string& error() const { return error_; }
    bool hasNormals() const { return !normals_.empty(); }
    bool hasTextureCoordinates() const { return !uvs_.empty(); }
    std::int64_t cutPolygons() const { return cutPolygons_; }
    std::uint32_t firstCutLine() const { return firstCutLine_; }

    // Gives every model the data of its distinct corners from the file's lists.
    void fill_vertices();
    // For a refused file: faces numbered as in the file again, no vertex data.
    void restore_file_numbers();

    ModelSet set;

  private:
    bool refuse(const std::string& what)
    {
        error_ = fileName_ + ", line " + std::to_string(lineNumber_) + ": " + what;
        return false;
    }
    bool read_float(std::string_view token, float& out);
    bool read_vec3(FastTokens& tokens, std::vector<Vec3f>& list);
    bool read_uv(FastTokens& tokens);
    bool start_model(std::string_view name);
    bool read_face(FastTokens& tokens);
    bool read_corner(std::string_view token, Corner& corner);
    bool resolve(std::int64_t raw, ListKind kind, std::int32_t& out);

    const std::string& fileName_;
    std::string error_;
    std::uint32_t lineNumber_ = 0;

    std::vector<Vec3f> positions_;
    std::vector<Vec3f> normals_;
    std::vector<Vec2f> uvs_;

    bool geometry_ = false; // positions or faces read since the last model started
    std::string pendingName_;

    CornerTable table_;                        // the current model's distinct corners
    std::vector<std::vector<Corner>> corners_; // the earlier models' distinct corners

    std::int64_t cutPolygons_ = 0;
    std::uint32_t firstCutLine_ = 0;

    // The largest positive number a face gave for each list, and the line where it first
    // appeared; "beyond the list" is judged against the list's size at the end of the file.
    std::int64_t maxReference_[3] = {0, 0, 0};
    std::uint32_t maxReferenceLine_[3] = {0, 0, 0};
};

bool ObjParser::line(std::string_view text)
{
    ++lineNumber_;
    // Indented lines are read like any other.
    FastTokens tokens(skip_blanks(text));
    const std::string_view keyword = tokens.next();
    if (keyword.empty())
        return true;
    switch (keyword[0] | 0x20) {
    case 'v':
        if (keyword.size() == 1) {
            geometry_ = true;
            return read_vec3(tokens, positions_);
        }
        if (keyword.size() == 2 && (keyword[1] | 0x20) == 'n')
            return read_vec3(tokens, normals_);
        if (keyword.size() == 2 && (keyword[1] | 0x20) == 't')
            return read_uv(tokens);
        return true;
    case 'f':
        if (keyword.size() != 1)
            return true;
        geometry_ = true;
        if (set.models.empty() && !start_model(pendingName_))
            return false;
        return read_face(tokens);
    case 'g':
    case 'o': {
        if (keyword.size() != 1)
            return true;
        // "g left arm" names the model "left": the name is token 2 only.
        const std::string_view name = tokens.next();
        if (name.empty())
            return true;
        if (!geometry_) {
            pendingName_ = name;
            return true;
        }
        geometry_ = false;
        return start_model(name);
    }
    default:
        break;
    }
    if (equals_lower(keyword, "usemtl")) {
        const std::size_t row = set.models.empty() ? 1 : set.models.size();
        if (set.materials.size() < row)
            set.materials.resize(row);
        set.materials[row - 1].materialName = tokens.next();
    } else if (equals_lower(keyword, "mtllib")) {
        set.mtlFileName = tokens.next();
    }
    return true;
}

bool ObjParser::read_float(std::string_view token, float& out)
{
    if (to_float32_fast(parse_number_fast(token), out))
        return true;
    return refuse("the value " + std::string(token) + " is beyond the range of a 32-bit float");
}

bool ObjParser::read_vec3(FastTokens& tokens, std::vector<Vec3f>& list)
{
    Vec3f v;
    if (!read_float(tokens.next(), v.x) || !read_float(tokens.next(), v.y) || !read_float(tokens.next(), v.z))
        return false;
    list.push_back(v);
    return true;
}

bool ObjParser::read_uv(FastTokens& tokens)
{
    // The game's texture space runs the other way: v is stored negated.
    float u = 0, v = 0;
    if (!read_float(tokens.next(), u) || !read_float(tokens.next(), v))
        return false;
    uvs_.push_back({u, -v});
    return true;
}

bool ObjParser::start_model(std::string_view name)
{
    if (set.models.size() >= static_cast<std::size_t>(kMaxModels))
        return refuse("this group would be model " + std::to_string(kMaxModels + 1) + "; a file can hold at most " +
                      std::to_string(kMaxModels) + " models");
    if (!set.models.empty())
        corners_.push_back(table_.take_entries());
    set.models.emplace_back().name = name;
    return true;
}

bool ObjParser::read_face(FastTokens& tokens)
{
    Corner c[3];
    for (Corner& corner : c)
        if (!read_corner(tokens.next(), corner))
            return false;
    // The game takes triangles: a polygon keeps its first three corners only.
    if (!tokens.next().empty()) {
        if (cutPolygons_++ == 0)
            firstCutLine_ = lineNumber_;
    }
    MeshFace face;
    std::int32_t* vertex[3] = {&face.vertex1, &face.vertex2, &face.vertex3};
    for (int k = 0; k < 3; ++k) {
        *vertex[k] = table_.number(c[k]);
        if (*vertex[k] == 0)
            return refuse("model " + std::to_string(set.models.size()) + " (\"" + set.models.back().name +
                          "\") has more than " + std::to_string(CornerTable::kMaxEntries) +
                          " distinct corners (combinations of position, texture coordinate and normal), more "
                          "than a GMDC object can number; split it into smaller groups");
    }
    set.models.back().faces.push_back(face);
    return true;
}

// One field of a corner reference, up to the next "/" or the end. Plain integers are
// read directly; anything else goes through the general number parse and is rounded,
// halves to even.
bool read_field(const char*& p, const char* end, std::int64_t& value)
{
    const char* start = p;
    bool negative = false;
    if (p < end && *p == '-') {
        negative = true;
        ++p;
    }
    std::int64_t v = 0;
    while (p < end && static_cast<unsigned>(*p - '0') < 10 && v <= (std::int64_t{1} << 40)) {
        v = v * 10 + (*p - '0');
        ++p;
    }
    if (p == end || *p == '/') {
        value = negative ? -v : v;
    } else {
        while (p < end && *p != '/')
            ++p;
        const double d = round_half_even(parse_number(std::string_view(start, static_cast<std::size_t>(p - start))));
        if (!(std::fabs(d) < 1e12))
            return false;
        value = static_cast<std::int64_t>(d);
    }
    if (p < end)
        ++p; // the "/"
    return true;
}

bool ObjParser::read_corner(std::string_view token, Corner& corner)
{
    // "p", "p/t", "p/t/n" and "p//n": an empty field is no number, as the OBJ format has it.
    const char* p = token.data();
    const char* end = p + token.size();
    std::int64_t raw[3] = {0, 0, 0};
    for (int i = 0; i < 3 && p < end; ++i)
        if (!read_field(p, end, raw[i]))
            return refuse("the corner " + std::string(token) + " holds a number too large to be read");
    if (raw[0] == 0)
        return refuse(token.empty() ? std::string("a face needs three corners")
                                    : "the corner " + std::string(token) + " names no position (numbers start at 1)");
    return resolve(raw[0], kPositions, corner.position) && resolve(raw[1], kTextureCoordinates, corner.uv) &&
           resolve(raw[2], kNormals, corner.normal);
}

inline bool ObjParser::resolve(std::int64_t raw, ListKind kind, std::int32_t& out)
{
    if (raw > 0) {
        if (raw > std::numeric_limits<std::int32_t>::max())
            return refuse(std::string(kListNames[kind]) + " number " + std::to_string(raw) + " is too large");
        if (raw > maxReference_[kind]) {
            maxReference_[kind] = raw;
            maxReferenceLine_[kind] = lineNumber_;
        }
        out = static_cast<std::int32_t>(raw);
        return true;
    }
    if (raw == 0) {
        out = 0;
        return true;
    }
    // A negative number counts back from the last entry read so far: -1 is the last one.
    const std::size_t count = kind == kPositions ? positions_.size() : kind == kNormals ? normals_.size() : uvs_.size();
    const std::int64_t resolved = static_cast<std::int64_t>(count) + 1 + raw;
    if (resolved < 1)
        return refuse(std::string(kListNames[kind]) + " number " + std::to_string(raw) + " points before the first " +
                      kListNames[kind] + " (only " + std::to_string(count) + " " + kListPlurals[kind] +
                      " come before this line)");
    out = static_cast<std::int32_t>(resolved);
    return true;
}

void ObjParser::close_models()
{
    if (!set.models.empty())
        corners_.push_back(table_.take_entries());
}

bool ObjParser::check_references()
{
    const std::size_t sizes[3] = {positions_.size(), uvs_.size(), normals_.size()};
    for (int kind = 0; kind < 3; ++kind) {
        if (maxReference_[kind] <= static_cast<std::int64_t>(sizes[kind]))
            continue;
        lineNumber_ = maxReferenceLine_[kind];
        return refuse(std::string(kListNames[kind]) + " number " + std::to_string(maxReference_[kind]) +
                      " is beyond the " + std::to_string(sizes[kind]) + " " + kListPlurals[kind] + " of the file");
    }
    return true;
}

void ObjParser::fill_vertices()
{
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        MeshModel& model = set.models[m];
        const std::vector<Corner>& entries = corners_[m];
        model.vertices.resize(entries.size());
        model.normals.resize(entries.size());
        model.uvs.resize(entries.size());
        // Number 0 (no texture coordinate or normal) gives the zero value.
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const Corner& c = entries[i];
            model.vertices[i] = positions_[c.position - 1];
            if (c.normal > 0)
                model.normals[i] = normals_[c.normal - 1];
            if (c.uv > 0)
                model.uvs[i] = uvs_[c.uv - 1];
        }
    }
}

void ObjParser::restore_file_numbers()
{
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        const std::vector<Corner>& entries = corners_[m];
        for (MeshFace& f : set.models[m].faces) {
            const Corner& a = entries[f.vertex1 - 1];
            const Corner& b = entries[f.vertex2 - 1];
            const Corner& c = entries[f.vertex3 - 1];
            f = {a.position, b.position, c.position, a.normal, b.normal, c.normal, a.uv, b.uv, c.uv};
        }
    }
}

// "dump_object_" + m + ".obj": each model's distinct corners and triangles, for looking
// at what the import made of a file. Nothing reads it back.
void write_dump_files(const ModelSet& set, const ObjReadOptions& options)
{
    const std::string folder = options.dumpFolder.empty() ? program_folder() : options.dumpFolder;
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        const MeshModel& model = set.models[m];
        std::string text;
        text.reserve(model.vertices.size() * 40 + model.faces.size() * 24);
        for (const Vec3f& v : model.vertices) {
            text += "v ";
            text += format_general(v.x);
            text += ' ';
            text += format_general(v.y);
            text += ' ';
            text += format_general(v.z);
            text += "\r\n";
        }
        for (const MeshFace& f : model.faces) {
            text += "f ";
            text += std::to_string(f.vertex1);
            text += ' ';
            text += std::to_string(f.vertex2);
            text += ' ';
            text += std::to_string(f.vertex3);
            text += "\r\n";
        }
        std::string error;
        if (!save_file_atomically(join_path(folder, "dump_object_" + std::to_string(m + 1) + ".obj"), text, error))
            return; // an unwritable folder stays so for the other models too
    }
}

bool is_regular_file(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

std::string folder_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The MTL file's messages are passed on as warnings: the OBJ file itself was read.
class WarningSink final : public MessageSink {
  public:
    explicit WarningSink(MessageSink& target) : target_(target) {}
    void report(MessageKind kind, std::string_view text) override
    {
        target_.report(kind == MessageKind::Error ? MessageKind::Warning : kind, text);
    }

  private:
    MessageSink& target_;
};

} // namespace

bool read_obj(State& state, const std::string& fileName, MessageSink& sink, const ObjReadOptions& options)
{
    std::string text;
    if (!load_text_file(fileName, text, sink)) {
        state.models.objLoadOk = false;
        return false;
    }
    // Reading twice must not double the models: the read starts from an empty set.
    state.models.reset();

    ObjParser parser(fileName);
    bool ok = true;
    for_each_line(text, [&](std::string_view line) {
        if (ok)
            ok = parser.line(line);
    });
    std::string().swap(text); // nothing points into it any more; give the memory back early
    if (!ok) {
        sink.error(parser.error());
        return false;
    }
    parser.close_models();

    ModelSet& set = parser.set;
    if (!parser.hasNormals() || !parser.hasTextureCoordinates()) {
        sink.error(!parser.hasNormals() ? "OBJ file doesn't include vertex normals! You must have these included"
                                        : "OBJ file doesn't include UV coordinates! You must have these included");
        parser.restore_file_numbers();
        set.objLoadOk = false;
        state.models = std::move(set);
        return false;
    }
    if (!parser.check_references()) {
        sink.error(parser.error());
        return false;
    }
    parser.fill_vertices();
    if (options.dumpFiles)
        write_dump_files(set, options);

    set.objLoadOk = true;
    state.models = std::move(set);
    if (!state.models.mtlFileName.empty())
        read_mtl(state, fileName, sink);

    if (parser.cutPolygons() > 0)
        sink.warning(fileName + ": " + std::to_string(parser.cutPolygons()) +
                     (parser.cutPolygons() == 1 ? " polygon has" : " polygons have") +
                     " more than three corners; only the first three corners of each were read (the first such "
                     "polygon is on line " +
                     std::to_string(parser.firstCutLine()) + ")");
    sink.info("Finished reading obj file. \r\nNumber of models:" + std::to_string(state.models.modelCount()));
    return true;
}

bool read_mtl(State& state, const std::string& objFileName, MessageSink& sink)
{
    ModelSet& set = state.models;
    const std::string& name = set.mtlFileName;
    if (name.empty())
        return false;
    std::string path;
    if (name[0] == '/') {
        path = name;
    } else {
        // Beside the OBJ file first, where exporters put it, then the current folder.
        const std::string folder = folder_of(objFileName);
        path = folder.empty() ? name : join_path(folder, name);
        if (!is_regular_file(path))
            path = name;
    }
    if (!is_regular_file(path))
        return false;

    std::string text;
    WarningSink warnings(sink);
    if (!load_text_file(path, text, warnings))
        return false;
    for_each_line(text, [&](std::string_view line) {
        FastTokens tokens(skip_blanks(line));
        const std::string_view keyword = tokens.next();
        if (equals_lower(keyword, "newmtl")) {
            const std::string_view material = tokens.next();
            for (MaterialRow& row : set.materials)
                row.currentMaterial = row.materialName == material;
        } else if (equals_lower(keyword, "map_kd")) {
            std::string_view texture = tokens.next();
            // Names are written as ".\skin.bmp" by the tools the game's modders use; only
            // that prefix is cut. A shorter name gives no texture.
            if (texture.size() < 2)
                return;
            if (texture[0] == '.' && (texture[1] == '\\' || texture[1] == '/'))
                texture.remove_prefix(2);
            if (texture.empty())
                return;
            for (MaterialRow& row : set.materials) {
                if (!row.currentMaterial)
                    continue;
                row.textureFile = texture;
                row.textureFound = true;
            }
        }
    });
    return true;
}

} // namespace mw
