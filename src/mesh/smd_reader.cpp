#include "mesh/smd_reader.h"

#include "mesh/keyword.h"
#include "mesh/numbers.h"
#include "mesh/tokens.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace mw {

namespace {

constexpr std::size_t kMaxVertices = 32767;

const char* const kTooManyBones =
    "This file has more than 3 bones assigned to some of the vertices, the game doesn`t support this.";

class SmdParser {
  public:
    SmdParser(const std::string& fileName, const SmdReadOptions& options)
        : fileName_(fileName), weightedByOption_(options.studio3dsSmd || options.using3dsMax)
    {
        model.name = "object 1";
        model.boneMode = 1;
    }

    // Handles one line; false (with error() set) when the file must be refused.
    bool line(std::string_view text);
    // True once the "end" of the triangles section has been read.
    bool finished() const { return finished_; }
    bool sawTriangles() const { return inside_; }
    const std::string& error() const { return error_; }

    MeshModel model;

  private:
    bool refuse(const std::string& what)
    {
        error_ = fileName_ + ", line " + std::to_string(lineNumber_) + ": " + what;
        return false;
    }
    bool read_vertex(std::string_view text);
    bool read_int16(std::string_view token, const char* what, std::int16_t& out);
    bool read_float(std::string_view token, float& out);

    const std::string& fileName_;
    const bool weightedByOption_;
    std::string error_;
    std::uint32_t lineNumber_ = 0;

    bool inside_ = false;
    bool finished_ = false;
    // A triangle is one material line and three vertex lines; the material line is known
    // by its place, whatever its name ("no_material", "skin.png" are common).
    int corner_ = 0; // 0: a material line comes next; 1..3: that corner's vertex line
    MeshFace face_;
};

bool SmdParser::line(std::string_view text)
{
    ++lineNumber_;
    // Blank lines are never vertex lines; indented lines read like the others.
    const std::string_view rest = skip_separators(text);
    if (rest.empty())
        return true;
    TokenCursor tokens(rest);
    const std::string_view keyword = tokens.next();
    if (!inside_) {
        inside_ = equals_lower(keyword, "triangles");
        return true;
    }
    if (equals_lower(keyword, "end")) {
        finished_ = true;
        return true;
    }
    if (corner_ == 0) {
        corner_ = 1;
        return true;
    }
    return read_vertex(rest);
}

bool SmdParser::read_int16(std::string_view token, const char* what, std::int16_t& out)
{
    if (to_int16(parse_number(token), out))
        return true;
    return refuse(std::string("the ") + what + " " + std::string(token) + " lies outside -32768..32767");
}

bool SmdParser::read_float(std::string_view token, float& out)
{
    if (to_float32(parse_number(token), out))
        return true;
    return refuse("the value " + std::string(token) + " is beyond the range of a 32-bit float");
}

bool SmdParser::read_vertex(std::string_view text)
{
    if (model.vertices.size() >= kMaxVertices)
        return refuse("more than " + std::to_string(kMaxVertices) +
                      " vertex lines; a GMDC object can number at most that many vertices");
    // parent bone, x y z, nx ny nz, u v, link count, then bone and weight per link
    std::array<std::string_view, 16> t;
    TokenCursor tokens(text);
    for (std::string_view& token : t)
        token = tokens.next();

    std::int16_t parent = 0;
    Vec3f position, normal;
    Vec2f uv;
    float v = 0;
    if (!read_int16(t[0], "bone number", parent) || !read_float(t[1], position.x) || !read_float(t[2], position.y) ||
        !read_float(t[3], position.z) || !read_float(t[4], normal.x) || !read_float(t[5], normal.y) ||
        !read_float(t[6], normal.z) || !read_float(t[7], uv.u))
        return false;
    // The game's texture space runs the other way: v is stored as 1 - v.
    if (!to_float32(1.0 - parse_number(t[8]), v))
        return refuse("the value " + std::string(t[8]) + " is beyond the range of a 32-bit float");
    uv.v = v;

    // The first vertex decides: one on bone 0 (or a ticked check box) makes the whole file
    // read weighted links.
    if (model.vertices.empty() && (parent == 0 || weightedByOption_))
        model.boneMode = 2;

    if (model.boneMode == 1) {
        model.bone1.push_back(parent);
    } else {
        std::int16_t links = 0;
        if (!read_int16(t[9], "link count", links))
            return false;
        if (links > 3) {
            error_ = kTooManyBones;
            return false;
        }
        // A negative count is read like 0, the vertex on its parent bone, rather than
        // losing the whole file over one line.
        links = std::max<std::int16_t>(links, 0);
        std::int16_t bones[3] = {-1, -1, -1};
        float weights[3] = {0, 0, 0};
        for (int k = 0; k < links; ++k)
            if (!read_int16(t[10 + 2 * k], "bone number", bones[k]) || !read_float(t[11 + 2 * k], weights[k]))
                return false;
        if (links == 0) {
            // No links: the vertex hangs on its parent bone alone.
            bones[0] = parent;
            weights[0] = 1.0f;
        }
        model.boneLinkCount.push_back(links);
        model.bone1.push_back(bones[0]);
        model.bone2.push_back(bones[1]);
        model.bone3.push_back(bones[2]);
        model.weight1.push_back(weights[0]);
        model.weight2.push_back(weights[1]);
        model.weight3.push_back(weights[2]);
    }
    model.vertices.push_back(position);
    model.normals.push_back(normal);
    model.uvs.push_back(uv);

    // Every three vertex lines form one triangle, in file order.
    const auto n = static_cast<std::int32_t>(model.vertices.size());
    if (corner_ == 1) {
        face_.vertex1 = n;
        corner_ = 2;
    } else if (corner_ == 2) {
        face_.vertex2 = n;
        corner_ = 3;
    } else {
        face_.vertex3 = n;
        model.faces.push_back(face_);
        face_ = MeshFace();
        corner_ = 0;
    }
    return true;
}

} // namespace

bool read_smd(State& state, TextSource& source, MessageSink& sink, const SmdReadOptions& options)
{
    LineReader lines(source);
    if (!lines.start(sink))
        return false;
    const std::string& fileName = source.name();
    SmdParser parser(fileName, options);
    for (std::string_view line; !parser.finished() && lines.next(line);) {
        if (!parser.line(line)) {
            sink.error(parser.error());
            return false;
        }
    }
    if (source.failed(sink))
        return false;
    if (!parser.sawTriangles()) {
        sink.error(fileName + " has no \"triangles\" section, so there is no mesh to read");
        return false;
    }
    if (parser.model.faces.empty()) {
        sink.error(fileName + " has no triangles in its \"triangles\" section, so there is no mesh to read");
        return false;
    }
    state.models.models.clear();
    state.models.models.push_back(std::move(parser.model));
    state.models.modelSource = 2;
    // One message, no line end: the one who shows it decides how lines end.
    sink.info("Finished reading smd file. Number of models:1");
    return true;
}

bool read_smd(State& state, const std::string& fileName, MessageSink& sink, const SmdReadOptions& options)
{
    FileSource source(fileName);
    return source.open(sink) && read_smd(state, source, sink, options);
}

} // namespace mw
