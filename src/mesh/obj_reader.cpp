#include "mesh/obj_reader.h"

#include "core/program_folder.h"
#include "core/save_file.h"
#include "mesh/corner_table.h"
#include "mesh/fast_tokens.h"
#include "mesh/keyword.h"
#include "mesh/numbers.h"
#include "mesh/text_source.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

namespace mw {

namespace {

constexpr std::int32_t kMaxModels = 32767;

enum ListKind { kPositions = 0, kTextureCoordinates = 1, kNormals = 2 };
const char* const kListNames[] = {"position", "texture coordinate", "normal"};
const char* const kListPlurals[] = {"positions", "texture coordinates", "normals"};

// A list that grows in chunks of 64K entries: no copy when it grows, and at most one
// chunk more memory than its entries need, where a doubling vector may hold twice as many
// for a moment and twice too many for good. The file-wide lists of a large OBJ file are
// the reader's largest memory after the faces.
template <typename T> class ChunkedList {
  public:
    void push_back(const T& value)
    {
        if ((size_ & kMask) == 0) {
            chunks_.emplace_back();
            chunks_.back().reserve(kChunk);
        }
        chunks_.back().push_back(value);
        ++size_;
    }
    const T& operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    void clear() { *this = ChunkedList(); }

  private:
    static constexpr std::size_t kShift = 16;
    static constexpr std::size_t kChunk = std::size_t{1} << kShift;
    static constexpr std::size_t kMask = kChunk - 1;
    std::vector<std::vector<T>> chunks_;
    std::size_t size_ = 0;
};

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
    std::int64_t splitPolygons() const { return splitPolygons_; }
    std::int64_t concavePolygons() const { return concavePolygons_; }
    std::uint32_t firstConcaveLine() const { return firstConcaveLine_; }

    // Gives every model the data of its distinct corners from the file's lists.
    void fill_vertices();
    void fill_model(MeshModel& model, const std::vector<Corner>& entries) const;
    // Keeps the last model's corners, or fills its vertex data at once when the lists
    // already hold every number a face named so far.
    void end_model();
    // For a refused file: faces numbered as in the file again, no vertex data.
    void restore_file_numbers();
    // Gives every model its faces, numbered by its distinct corners, after the file-wide
    // lists are let go: the faces are the largest part of a read model.
    void make_faces();

    ModelSet set;

  private:
    bool refuse(const std::string& what)
    {
        error_ = fileName_ + ", line " + std::to_string(lineNumber_) + ": " + what;
        return false;
    }
    bool read_float(std::string_view token, float& out);
    bool read_vec3(FastTokens& tokens, ChunkedList<Vec3f>& list);
    bool read_uv(FastTokens& tokens);
    bool start_model(std::string_view name);
    bool read_face(FastTokens& tokens);
    bool is_convex() const;
    bool read_corner(std::string_view token, Corner& corner);
    bool resolve(std::int64_t raw, ListKind kind, std::int32_t& out);

    const std::string& fileName_;
    std::string error_;
    std::uint32_t lineNumber_ = 0;

    ChunkedList<Vec3f> positions_;
    ChunkedList<Vec3f> normals_;
    ChunkedList<Vec2f> uvs_;

    bool geometry_ = false; // positions or faces read since the last model started
    std::string pendingName_;

    CornerTable table_; // the current model's distinct corners
    // The earlier models' distinct corners; emptied for a model whose vertex data was
    // filled in when it ended (filled_), so that they are not kept to the end.
    std::vector<std::vector<Corner>> corners_;
    std::vector<bool> filled_;
    // Triangles as three corner numbers, a third of a MeshFace: the current model's in
    // triangles_ (which keeps its room for the next model), the earlier ones' exactly sized.
    using Triangle = std::array<std::int32_t, 3>;
    std::vector<Triangle> triangles_;
    std::vector<std::vector<Triangle>> modelTriangles_;

    std::int64_t splitPolygons_ = 0;
    std::int64_t concavePolygons_ = 0;
    std::uint32_t firstConcaveLine_ = 0;
    std::vector<std::int32_t> polygon_; // position numbers of the polygon being read

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

bool ObjParser::read_vec3(FastTokens& tokens, ChunkedList<Vec3f>& list)
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
        end_model();
    set.models.emplace_back().name = name;
    return true;
}

bool ObjParser::read_face(FastTokens& tokens)
{
    // The game takes triangles: a polygon becomes a fan from its first corner, triangles
    // (1, k, k + 1), each corner numbered as it is read.
    std::int32_t number[3] = {0, 0, 0};
    Corner corner;
    polygon_.clear();
    for (int k = 0;; ++k) {
        const std::string_view token = tokens.next();
        if (k >= 3 && token.empty())
            break;
        if (!read_corner(token, corner))
            return false;
        polygon_.push_back(corner.position);
        const std::int32_t n = table_.number(corner);
        if (n == 0)
            return refuse("model " + std::to_string(set.models.size()) + " (\"" + set.models.back().name +
                          "\") has more than " + std::to_string(CornerTable::kMaxEntries) +
                          " distinct corners (combinations of position, texture coordinate and normal), more "
                          "than a GMDC object can number; split it into smaller groups");
        number[k < 2 ? k : 2] = n;
        if (k >= 2) {
            triangles_.push_back({number[0], number[1], number[2]});
            number[1] = number[2];
        }
    }
    if (polygon_.size() > 3) {
        ++splitPolygons_;
        if (!is_convex() && concavePolygons_++ == 0)
            firstConcaveLine_ = lineNumber_;
    }
    return true;
}

// Whether the polygon's corners, seen along its mean normal (Newell's), turn the same way
// at every corner and go round once. A polygon naming a position not read yet is taken
// as it comes.
bool ObjParser::is_convex() const
{
    const std::size_t n = polygon_.size();
    for (std::int32_t p : polygon_)
        if (p > static_cast<std::int32_t>(positions_.size()))
            return true;
    auto at = [&](std::size_t i) { return positions_[static_cast<std::size_t>(polygon_[i % n]) - 1]; };
    double nx = 0, ny = 0, nz = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3f a = at(i), b = at(i + 1);
        nx += (double(a.y) - b.y) * (double(a.z) + b.z);
        ny += (double(a.z) - b.z) * (double(a.x) + b.x);
        nz += (double(a.x) - b.x) * (double(a.y) + b.y);
    }
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0))
        return false;
    double turning = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3f a = at(i), b = at(i + 1), c = at(i + 2);
        const double ux = double(b.x) - a.x, uy = double(b.y) - a.y, uz = double(b.z) - a.z;
        const double vx = double(c.x) - b.x, vy = double(c.y) - b.y, vz = double(c.z) - b.z;
        const double cross = ((uy * vz - uz * vy) * nx + (uz * vx - ux * vz) * ny + (ux * vy - uy * vx) * nz) / length;
        const double angle = std::atan2(cross, ux * vx + uy * vy + uz * vz);
        if (angle < -1e-9)
            return false;
        turning += angle;
    }
    return std::fabs(turning - 2 * 3.14159265358979323846) < 1e-6;
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
        end_model();
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

void ObjParser::end_model()
{
    modelTriangles_.emplace_back(triangles_.begin(), triangles_.end());
    triangles_.clear();
    MeshModel& model = set.models.back();
    // Filled early only when the file has normals and texture coordinates (so the end
    // never needs the file's numbers back) and no number so far lies beyond its list.
    const std::size_t sizes[3] = {positions_.size(), uvs_.size(), normals_.size()};
    bool fill = !normals_.empty() && !uvs_.empty();
    for (int kind = 0; kind < 3; ++kind)
        fill = fill && maxReference_[kind] <= static_cast<std::int64_t>(sizes[kind]);
    if (fill) {
        fill_model(model, table_.entries());
        table_.reset();
        corners_.emplace_back();
    } else {
        corners_.push_back(table_.take_entries());
    }
    filled_.push_back(fill);
}

void ObjParser::fill_model(MeshModel& model, const std::vector<Corner>& entries) const
{
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

void ObjParser::fill_vertices()
{
    for (std::size_t m = 0; m < set.models.size(); ++m)
        if (!filled_[m])
            fill_model(set.models[m], corners_[m]);
}

void ObjParser::restore_file_numbers()
{
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        const std::vector<Corner>& entries = corners_[m];
        std::vector<MeshFace>& faces = set.models[m].faces;
        faces.reserve(modelTriangles_[m].size());
        for (const Triangle& t : modelTriangles_[m]) {
            const Corner& a = entries[t[0] - 1];
            const Corner& b = entries[t[1] - 1];
            const Corner& c = entries[t[2] - 1];
            faces.push_back({a.position, b.position, c.position, a.normal, b.normal, c.normal, a.uv, b.uv, c.uv});
        }
    }
}

void ObjParser::make_faces()
{
    positions_.clear();
    normals_.clear();
    uvs_.clear();
    corners_ = {};
    for (std::size_t m = 0; m < set.models.size(); ++m) {
        std::vector<MeshFace>& faces = set.models[m].faces;
        faces.reserve(modelTriangles_[m].size());
        for (const Triangle& t : modelTriangles_[m])
            faces.push_back({t[0], t[1], t[2]});
        modelTriangles_[m] = {};
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

bool is_plain_file(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
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

// Reads the models of `source` into the state; `mtl` is the MTL text the file names, if
// any. The messages of a read go out in this order: the MTL file's, then the note on
// polygons, then the count of models.
bool read_obj_models(State& state, TextSource& source, MessageSink& sink, const ObjReadOptions& options,
                     const std::function<void()>& readMtl)
{
    LineReader lines(source);
    if (!lines.start(sink)) {
        state.models.objLoadOk = false;
        return false;
    }
    // Reading twice must not double the models: the read starts from an empty set.
    state.models.reset();

    const std::string& fileName = source.name();
    ObjParser parser(fileName);
    for (std::string_view line; lines.next(line);) {
        if (!parser.line(line)) {
            sink.error(parser.error());
            return false;
        }
    }
    if (source.failed(sink))
        return false;
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
    parser.make_faces();
    if (options.dumpFiles)
        write_dump_files(set, options);

    set.objLoadOk = true;
    state.models = std::move(set);
    if (!state.models.mtlFileName.empty())
        readMtl();

    if (const std::int64_t n = parser.splitPolygons(); n > 0)
        sink.info(fileName + ": " + std::to_string(n) + (n == 1 ? " polygon" : " polygons") +
                  " with more than three corners " + (n == 1 ? "was" : "were") +
                  " split into triangles, each a fan from its first corner");
    if (const std::int64_t n = parser.concavePolygons(); n > 0)
        sink.warning(fileName + ", line " + std::to_string(parser.firstConcaveLine()) +
                     ": the corners of this polygon do not lie on a convex outline, so the fan of triangles from "
                     "its first corner may not follow its outline; check it in the 3D view (" +
                     std::to_string(n) + (n == 1 ? " such polygon)" : " such polygons)"));
    // One message, no line end: the one who shows it decides how lines end.
    sink.info("Finished reading obj file. Number of models:" + std::to_string(state.models.modelCount()));
    return true;
}

} // namespace

bool read_obj(State& state, TextSource& source, MessageSink& sink, const ObjReadOptions& options, TextSource* mtl)
{
    return read_obj_models(state, source, sink, options, [&] {
        if (mtl)
            read_mtl(state, *mtl, sink);
    });
}

bool read_obj(State& state, const std::string& fileName, MessageSink& sink, const ObjReadOptions& options)
{
    FileSource source(fileName);
    if (!source.open(sink)) {
        state.models.objLoadOk = false;
        return false;
    }
    return read_obj_models(state, source, sink, options, [&] { read_mtl(state, fileName, sink); });
}

bool read_mtl(State& state, const std::string& objFileName, MessageSink& sink)
{
    namespace fs = std::filesystem;
    const std::string& name = state.models.mtlFileName;
    if (name.empty())
        return false;
    fs::path path = name;
    if (!path.is_absolute()) {
        // Beside the OBJ file first, where exporters put it, then the current folder.
        const fs::path beside = fs::path(objFileName).parent_path() / name;
        if (is_plain_file(beside))
            path = beside;
    }
    if (!is_plain_file(path))
        return false;

    FileSource source(path.string());
    WarningSink warnings(sink);
    return source.open(warnings) && read_mtl(state, source, warnings);
}

bool read_mtl(State& state, TextSource& source, MessageSink& sink)
{
    LineReader lines(source);
    if (!lines.start(sink))
        return false;
    std::vector<MaterialRow>& rows = state.models.materials;
    // The rows of each material name, so that a "newmtl" line finds its rows at once (an
    // OBJ file of thousands of groups has thousands of rows). The names stay put: no row
    // is added or renamed while the MTL file is read.
    std::unordered_map<std::string_view, std::vector<std::size_t>> rowsByName;
    std::vector<std::size_t> current; // the rows of the material being read
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rowsByName[rows[r].materialName].push_back(r);
        if (rows[r].currentMaterial)
            current.push_back(r);
    }
    static const std::vector<std::size_t> kNoRows;
    const std::vector<std::size_t>* currentRows = &current;
    for (std::string_view line; lines.next(line);) {
        FastTokens tokens(skip_blanks(line));
        const std::string_view keyword = tokens.next();
        if (equals_lower(keyword, "newmtl")) {
            const auto found = rowsByName.find(tokens.next());
            currentRows = found == rowsByName.end() ? &kNoRows : &found->second;
        } else if (equals_lower(keyword, "map_kd")) {
            std::string_view texture = tokens.next();
            // Names are written as ".\skin.bmp" by the tools the game's modders use; only
            // that prefix is cut. A shorter name gives no texture.
            if (texture.size() < 2)
                continue;
            if (texture[0] == '.' && (texture[1] == '\\' || texture[1] == '/'))
                texture.remove_prefix(2);
            if (texture.empty())
                continue;
            for (std::size_t r : *currentRows) {
                rows[r].textureFile = texture;
                rows[r].textureFound = true;
            }
        }
    }
    for (MaterialRow& row : rows)
        row.currentMaterial = false;
    for (std::size_t r : *currentRows)
        rows[r].currentMaterial = true;
    return !source.failed(sink);
}

} // namespace mw
