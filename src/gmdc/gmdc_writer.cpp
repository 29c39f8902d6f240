// The GMDC writer: the record in the layout of its block version (1 to 4), the vertex
// padding every save applies, and the save itself through the atomic save helper.
#include "gmdc/gmdc_writer.h"

#include "gmdc/gmdc_check.h"

#include "core/byte_io.h"
#include "core/save_file.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace mw {

namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();
constexpr std::size_t kMaxNameLength = 255;
constexpr std::int32_t kBodyMeshListCount = 15;

// The lists a body-mesh save leaves out: morph data and bump-map normals.
bool left_out_of_body_mesh(std::uint32_t identity)
{
    return identity == kIdentityMorphTargetIndices || identity == kIdentityMorphVertexDeltas ||
           identity == kIdentityMorphNormalDeltas || identity == kIdentityMorphVertexMap ||
           identity == kIdentityBumpNormals;
}

std::int32_t body_mesh_list_count(const GmdcFile& g)
{
    std::int32_t n = 0;
    for (const DataList& d : g.dataLists)
        n += left_out_of_body_mesh(d.identity) ? 0 : 1;
    return n;
}

// Counts the bytes the emitter would write, so the output buffer is allocated once.
class SizeCounter {
  public:
    void u8(std::uint8_t) { size_ += 1; }
    void u16(std::uint16_t) { size_ += 2; }
    void i16(std::int16_t) { size_ += 2; }
    void u32(std::uint32_t) { size_ += 4; }
    void i32(std::int32_t) { size_ += 4; }
    void bytes(std::string_view v) { size_ += v.size(); }
    template <typename T> void array(const T*, std::size_t count) { size_ += count * sizeof(T); }
    std::size_t size() const { return size_; }

  private:
    std::size_t size_ = 0;
};

// Writes the record in its version's layout to `out` (a ByteWriter or a SizeCounter).
// The record has been checked by `check_writable` before.
template <typename Out> class Emitter {
  public:
    Emitter(Out& out, const GmdcFile& g, const GmdcWriteOptions& options)
        : out_(out), g_(g), options_(options), wide_(g.resource.blockVersion < 4)
    {
    }

    void emit()
    {
        const FileHeader& h = g_.header;
        out_.u16(h.versionLow);
        out_.u16(h.versionHigh);
        out_.u32(h.linkCount);
        out_.u32(h.indexCount);
        out_.u32(h.typeId);
        const ResourceHeader& r = g_.resource;
        name(r.blockName);
        out_.u32(r.blockId);
        out_.u32(r.blockVersion);
        name(r.resourceName);
        out_.u32(r.resourceId);
        out_.u32(r.resourceVersion);
        name(r.fileName);

        out_.i32(options_.bodyMesh ? kBodyMeshListCount : count(g_.dataLists.size()));
        for (const DataList& d : g_.dataLists)
            if (!options_.bodyMesh || !left_out_of_body_mesh(d.identity))
                data_list(d);

        out_.i32(count(g_.objectGroups.size()));
        for (const ObjectGroup& o : g_.objectGroups)
            object_group(o);

        out_.i32(count(g_.objects.size()));
        for (const GmdcObject& o : g_.objects)
            object(o);

        out_.i32(count(g_.transforms.size()));
        for (const Transform& t : g_.transforms) {
            out_.array(t.rotation, 4);
            out_.array(t.location, 3);
        }
        out_.i32(count(g_.namePairs.size()));
        for (const NamePair& p : g_.namePairs) {
            name(p.first);
            name(p.second);
        }
        small_mesh(g_.boundingVertices, g_.boundingFaces);

        out_.i32(count(g_.p5Entries.size()));
        for (const P5Entry& e : g_.p5Entries)
            small_mesh(e.vertices, e.faces);
    }

  private:
    static std::int32_t count(std::size_t n) { return static_cast<std::int32_t>(n); }

    void name(const std::string& s)
    {
        out_.u8(static_cast<std::uint8_t>(s.size()));
        out_.bytes(s);
    }

    // A 16-bit list with its count: i16 values in version 4, i32 in versions 1 to 3.
    void index_list(const std::vector<std::int16_t>& v)
    {
        out_.i32(count(v.size()));
        index_values(v.data(), v.size());
    }
    void index_values(const std::int16_t* v, std::size_t n)
    {
        if (!wide_) {
            out_.array(v, n);
            return;
        }
        for (std::size_t i = 0; i < n; ++i)
            out_.i32(v[i]);
    }

    void data_list(const DataList& d)
    {
        out_.i32(d.recordCount);
        out_.u32(d.identity);
        out_.i32(d.repetition);
        out_.i32(d.blockFormat);
        out_.i32(d.setFormat);
        out_.i32(static_cast<std::int32_t>(d.dataLength()));
        if (d.holdsLongValues())
            out_.array(d.longValues.data(), d.longValues.size());
        else
            out_.array(d.floatValues.data(), d.floatValues.size());
        index_list(d.items);
    }

    void object_group(const ObjectGroup& o)
    {
        if (options_.bodyMesh) {
            // The body-mesh layout: every group uses the last five of the 15 lists.
            static constexpr std::int16_t kBodyIndices[] = {10, 11, 12, 13, 14};
            out_.i32(5);
            index_values(kBodyIndices, 5);
            out_.i32(o.vertexCount);
            out_.i32(5);
        } else {
            index_list(o.dataListIndices);
            out_.i32(o.vertexCount);
            out_.i32(o.activeCount);
        }
        index_list(o.list1);
        index_list(o.list2);
        index_list(o.list3);
    }

    void object(const GmdcObject& o)
    {
        out_.i32(o.primitiveType);
        out_.i32(o.objectGroupIndex);
        name(o.name);
        index_list(o.faces);
        if (g_.resource.blockVersion != 3)
            out_.i32(o.opacity);
        if (g_.resource.blockVersion != 1)
            index_list(o.blockB);
    }

    // The bounding mesh and P5 entries store their face count only when they have vertices.
    void small_mesh(const std::vector<float>& vertices, const std::vector<std::int16_t>& faces)
    {
        out_.i32(count(vertices.size() / 3));
        if (!vertices.empty())
            out_.i32(count(faces.size()));
        out_.array(vertices.data(), vertices.size());
        index_values(faces.data(), faces.size());
    }

    Out& out_;
    const GmdcFile& g_;
    const GmdcWriteOptions& options_;
    bool wide_;
};

// Refuses what the layout of the record's version cannot store, so that every file
// written reads back as the record it came from.
class WritableCheck {
  public:
    explicit WritableCheck(std::string& error) : error_(error) {}

    bool check(const GmdcFile& g, const GmdcWriteOptions& options)
    {
        const ResourceHeader& r = g.resource;
        const std::uint32_t version = r.blockVersion;
        if (version < 1 || version > 4)
            return fail("a GMDC of block version " + std::to_string(version) +
                        " cannot be written (versions 1 to 4 can)");
        if (!name("the block name", r.blockName) || !name("the resource name", r.resourceName) ||
            !name("the file name", r.fileName))
            return false;

        if (!list("data lists", g.dataLists.size()))
            return false;
        for (std::size_t k = 0; k < g.dataLists.size(); ++k) {
            const DataList& d = g.dataLists[k];
            const std::string what = "data list " + std::to_string(k + 1);
            if (d.holdsLongValues() && !d.floatValues.empty())
                return fail(what + " holds float values, but a bone-assignment list (identity 0xFBD70111) "
                                   "stores integers");
            if (!d.holdsLongValues() && !d.longValues.empty())
                return fail(what + " holds integer values, but only a bone-assignment list (identity 0xFBD70111) "
                                   "stores integers");
            if (d.dataLength() > kMaxCount)
                return fail(what + " holds more values than a GMDC can store");
            if (!list("items of " + what, d.items.size()))
                return false;
        }
        if (options.bodyMesh) {
            const std::int32_t written = body_mesh_list_count(g);
            if (written != kBodyMeshListCount)
                return fail("the body-mesh layout needs " + std::to_string(kBodyMeshListCount) +
                            " data lists besides the morph and bump-map lists, and this GMDC has " +
                            std::to_string(written));
        }

        if (!list("object groups", g.objectGroups.size()))
            return false;
        for (std::size_t k = 0; k < g.objectGroups.size(); ++k) {
            const ObjectGroup& o = g.objectGroups[k];
            const std::string what = " of object group " + std::to_string(k + 1);
            if (!list("data-list indices" + what, o.dataListIndices.size()) ||
                !list("alias list 1" + what, o.list1.size()) || !list("alias list 2" + what, o.list2.size()) ||
                !list("alias list 3" + what, o.list3.size()))
                return false;
        }

        if (!list("objects", g.objects.size()))
            return false;
        for (std::size_t k = 0; k < g.objects.size(); ++k) {
            const GmdcObject& o = g.objects[k];
            const std::string what = "object " + std::to_string(k + 1);
            if (!name("the name of " + what, o.name) || !list("faces of " + what, o.faces.size()) ||
                !list("bone list of " + what, o.blockB.size()))
                return false;
            if (version == 1 && !o.blockB.empty())
                return fail(what + " has a bone list, which a version 1 GMDC cannot store");
            if (version == 3 && o.opacity != -1)
                return fail(what + " has the opacity " + std::to_string(o.opacity) +
                            ", which a version 3 GMDC cannot store (it keeps no opacity)");
        }

        if (!list("transforms", g.transforms.size()) || !list("name pairs", g.namePairs.size()))
            return false;
        for (std::size_t k = 0; k < g.namePairs.size(); ++k) {
            const std::string what = " of name pair " + std::to_string(k + 1);
            if (!name("the first name" + what, g.namePairs[k].first) ||
                !name("the second name" + what, g.namePairs[k].second))
                return false;
        }
        if (!small_mesh("the bounding mesh", g.boundingVertices, g.boundingFaces))
            return false;

        if (!list("P5 entries", g.p5Entries.size()))
            return false;
        for (std::size_t k = 0; k < g.p5Entries.size(); ++k)
            if (!small_mesh("P5 entry " + std::to_string(k + 1), g.p5Entries[k].vertices, g.p5Entries[k].faces))
                return false;
        return true;
    }

  private:
    bool fail(const std::string& problem)
    {
        error_ = problem;
        error_[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(error_[0])));
        error_ += ".";
        return false;
    }
    bool name(const std::string& what, const std::string& s)
    {
        if (s.size() <= kMaxNameLength)
            return true;
        return fail(what + " is " + std::to_string(s.size()) + " bytes long, and a GMDC name holds at most " +
                    std::to_string(kMaxNameLength));
    }
    bool list(const std::string& what, std::size_t n)
    {
        if (static_cast<std::uint64_t>(n) <= static_cast<std::uint64_t>(kMaxCount))
            return true;
        return fail("there are more " + what + " than a GMDC can store");
    }
    bool small_mesh(const std::string& what, const std::vector<float>& vertices, const std::vector<std::int16_t>& faces)
    {
        if (vertices.size() % 3 != 0)
            return fail(what + " holds " + std::to_string(vertices.size()) +
                        " vertex values, which is not a multiple of 3 (x, y, z per vertex)");
        if (vertices.empty() && !faces.empty())
            return fail(what + " has faces but no vertices, and a GMDC stores no face count without vertices");
        return list("vertices of " + what, vertices.size() / 3) && list("faces of " + what, faces.size());
    }

    std::string& error_;
};

} // namespace

bool serializeGmdc(const GmdcFile& gmdc, std::string& out, std::string& error, const GmdcWriteOptions& options)
{
    if (!WritableCheck(error).check(gmdc, options))
        return false;
    SizeCounter counter;
    Emitter<SizeCounter>(counter, gmdc, options).emit();
    ByteWriter writer;
    writer.reserve(counter.size());
    Emitter<ByteWriter>(writer, gmdc, options).emit();
    out = writer.take();
    return true;
}

VertexPadding applyVertexPadding(GmdcFile& gmdc)
{
    // Every save adds three all-zero vertices behind the first object group's positions,
    // referenced by no face; files saved by this program have always carried them, so the
    // padding stays. Only a list that is what it claims to be is padded: a float list of
    // exactly three values per record.
    VertexPadding padding;
    if (gmdc.objectGroups.empty() || gmdc.objectGroups[0].dataListIndices.empty())
        return padding;
    const std::int16_t index = gmdc.objectGroups[0].dataListIndices[0];
    if (index < 0 || static_cast<std::size_t>(index) >= gmdc.dataLists.size())
        return padding;
    DataList& d = gmdc.dataLists[static_cast<std::size_t>(index)];
    if (d.holdsLongValues() || d.recordCount < 0 || d.recordCount > kMaxCount - 3 ||
        d.dataLength() != 12 * static_cast<std::int64_t>(d.recordCount))
        return padding;
    d.floatValues.resize(d.floatValues.size() + 9, 0.0f);
    d.recordCount += 3;
    padding.dataList = index;
    return padding;
}

void undoVertexPadding(GmdcFile& gmdc, const VertexPadding& padding)
{
    if (padding.dataList < 0 || static_cast<std::size_t>(padding.dataList) >= gmdc.dataLists.size())
        return;
    DataList& d = gmdc.dataLists[static_cast<std::size_t>(padding.dataList)];
    if (d.floatValues.size() < 9 || d.recordCount < 3)
        return;
    d.floatValues.resize(d.floatValues.size() - 9);
    d.recordCount -= 3;
}

bool writeGmdc(GmdcFile& gmdc, const std::string& path, MessageSink& sink, const GmdcWriteOptions& options,
               const GmdcBytesSaver& save)
{
    if (!gmdc.holdsGmdc()) {
        sink.error("Cannot save \"" + path + "\": there is no GMDC to save (none was loaded or built).");
        return false;
    }
    // The padding goes into the bytes only: the record is unpadded again before anything
    // else happens, so saving one record twice writes the same file twice.
    const VertexPadding padding = applyVertexPadding(gmdc);
    std::string bytes;
    std::string error;
    const bool serialized = serializeGmdc(gmdc, bytes, error, options);
    undoVertexPadding(gmdc, padding);
    if (!serialized) {
        sink.error("Cannot save \"" + path + "\": " + error);
        return false;
    }
    if (!(save ? save(bytes, sink) : save_file(path, bytes, sink)))
        return false;
    // Reported only: a save never refuses a file the game might still read.
    for (const CheckFinding& f : check_gmdc(gmdc))
        sink.warning("Check of the saved file: " + finding_text(f));
    sink.info("Save Complete");
    return true;
}

} // namespace mw
