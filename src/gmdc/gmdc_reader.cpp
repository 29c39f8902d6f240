// The GMDC reader: the file's layout in block versions 1 to 4, read in one pass. Every
// count is checked against the bytes that remain before anything is allocated, so a
// damaged file gives a message instead of a crash or a huge allocation.
#include "gmdc/gmdc_reader.h"

#include "core/byte_io.h"
#include "core/save_file.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace mw {

namespace {

// Size on disk of the smallest entry of each section, for the count checks.
constexpr std::int64_t kMinDataListSize = 7 * 4; // six fields and the item count
constexpr std::int64_t kMinObjectGroupSize = 6 * 4;
constexpr std::int64_t kTransformSize = 7 * 4;
constexpr std::int64_t kMinNamePairSize = 2;
constexpr std::int64_t kMinP5EntrySize = 4;

bool printable_name(const std::string& s)
{
    if (s.empty() || s.size() > 64)
        return false;
    for (unsigned char c : s)
        if (c < 0x20 || c >= 0x7F)
            return false;
    return true;
}

class Parser {
  public:
    Parser(std::string_view bytes, const std::string& sourceName, std::string& error)
        : in_(bytes), name_("\"" + sourceName + "\""), error_(error)
    {
    }

    bool parse(GmdcFile& g)
    {
        if (in_.size() == 0)
            return fail_with(name_ + " is empty; it is not a GMDC file.");
        return read_headers(g) && read_data_lists(g) && read_object_groups(g) && read_objects(g) && read_p4(g) &&
               read_p5(g);
    }

  private:
    // The part of the file being read, for messages: "data list 12", "the bounding mesh".
    void at(const char* section, std::int64_t entry = 0)
    {
        section_ = section;
        entry_ = entry;
    }
    std::string where() const
    {
        return entry_ > 0 ? std::string(section_) + " " + std::to_string(entry_) : std::string(section_);
    }

    bool fail_with(std::string message)
    {
        error_ = std::move(message);
        return false;
    }
    bool truncated(const std::string& field, const std::string& detail = {})
    {
        std::string where_text = where();
        std::string text = name_ + " is truncated at byte " + std::to_string(in_.size()) + " while reading " + field;
        if (!where_text.empty())
            text += " of " + where_text;
        if (!detail.empty())
            text += " (" + detail + ")";
        return fail_with(text + ".");
    }
    bool damaged(const std::string& problem)
    {
        const std::string where_text = where();
        return fail_with(name_ + " is damaged: " + (where_text.empty() ? std::string("it") : where_text) + " " +
                         problem + ".");
    }

    bool u16(const char* field, std::uint16_t& v) { return in_.read_u16(v) || truncated(field); }
    bool u32(const char* field, std::uint32_t& v) { return in_.read_u32(v) || truncated(field); }
    bool i32(const char* field, std::int32_t& v) { return in_.read_i32(v) || truncated(field); }

    bool counted_string(const char* field, std::string& v)
    {
        std::uint8_t length = 0;
        if (!in_.read_u8(length))
            return truncated(field);
        if (!in_.read_fixed_string(length, v))
            return truncated(field, std::to_string(length) + " bytes from byte " + std::to_string(in_.position()));
        return true;
    }

    // Reads a count and checks that `count` entries of at least `entrySize` bytes each
    // can follow; `countName` names the count in messages ("item count").
    bool count(const char* countName, const char* listName, std::int64_t entrySize, std::int32_t& n,
               bool minimum = false)
    {
        if (!in_.read_i32(n))
            return truncated(std::string("the ") + countName);
        if (n < 0)
            return damaged(std::string("has a negative ") + countName + " (" + std::to_string(n) + ")");
        return fits(listName, n, entrySize, minimum);
    }
    // True when `n` entries of `entrySize` bytes (at least, when `minimum`) can follow.
    bool fits(const char* listName, std::int64_t n, std::int64_t entrySize, bool minimum = false)
    {
        if (n * entrySize > static_cast<std::int64_t>(in_.remaining()))
            return truncated(std::string("the ") + listName,
                             std::to_string(n) + (n == 1 ? " entry needs " : " entries need ") +
                                 (minimum ? "at least " : "") + std::to_string(n * entrySize) + " bytes from byte " +
                                 std::to_string(in_.position()));
        return true;
    }

    template <typename T> bool values(const char* listName, std::vector<T>& out, std::int64_t n)
    {
        if (!fits(listName, n, sizeof(T)))
            return false;
        out.resize(static_cast<std::size_t>(n));
        return in_.read_array(out.data(), out.size()) || truncated(std::string("the ") + listName);
    }

    // A list of 16-bit values: i16 in version 4, i32 in versions 1 to 3, whose values must
    // still fit the 16-bit field they are kept in.
    bool index_values(const char* listName, std::vector<std::int16_t>& out, std::int64_t n)
    {
        if (!wide_)
            return values(listName, out, n);
        if (!fits(listName, n, 4))
            return false;
        out.resize(static_cast<std::size_t>(n));
        for (std::int16_t& v : out) {
            std::int32_t wide = 0;
            const std::size_t at_byte = in_.position();
            if (!in_.read_i32(wide))
                return truncated(std::string("the ") + listName);
            if (wide < std::numeric_limits<std::int16_t>::min() || wide > std::numeric_limits<std::int16_t>::max())
                return fail_with(name_ + " cannot be loaded: the " + listName + " of " + where() + " hold the value " +
                                 std::to_string(wide) + " (at byte " + std::to_string(at_byte) +
                                 "), which does not fit a signed 16-bit field.");
            v = static_cast<std::int16_t>(wide);
        }
        return true;
    }
    bool index_list(const char* countName, const char* listName, std::vector<std::int16_t>& out)
    {
        std::int32_t n = 0;
        return count(countName, listName, indexSize(), n) && index_values(listName, out, n);
    }

    // A mesh as the bounding mesh and P5 store it: a vertex count, a face count only when
    // there are vertices, x, y, z per vertex, then the faces.
    bool small_mesh(std::vector<float>& vertices, std::vector<std::int16_t>& faces)
    {
        std::int32_t vertexCount = 0;
        if (!count("vertex count", "vertices", 12, vertexCount, true))
            return false;
        std::int32_t faceCount = 0;
        if (vertexCount != 0 && !count("face count", "faces", indexSize(), faceCount))
            return false;
        return values("vertices", vertices, 3 * static_cast<std::int64_t>(vertexCount)) &&
               index_values("faces", faces, faceCount);
    }

    std::int64_t indexSize() const { return wide_ ? 4 : 2; }

    bool read_headers(GmdcFile& g)
    {
        at("the file header");
        FileHeader& h = g.header;
        if (!u16("versionLow", h.versionLow) || !u16("versionHigh", h.versionHigh) || !u32("linkCount", h.linkCount) ||
            !u32("indexCount", h.indexCount) || !u32("typeId", h.typeId))
            return false;

        at("the resource header");
        ResourceHeader& r = g.resource;
        if (!counted_string("the block name", r.blockName))
            return false;
        if (r.blockName != kGmdcBlockName) {
            if (printable_name(r.blockName))
                return fail_with(name_ + " is not a GMDC file (its block name is \"" + r.blockName + "\").");
            return fail_with(name_ + " is not a GMDC file (it has no block name \"" + kGmdcBlockName + "\").");
        }
        if (!u32("the block id", r.blockId) || !u32("the block version", r.blockVersion))
            return false;
        if (r.blockVersion < 1 || r.blockVersion > 4)
            return fail_with(name_ + " is a GMDC of block version " + std::to_string(r.blockVersion) +
                             ", which cannot be read (versions 1 to 4 can).");
        wide_ = r.blockVersion < 4;
        return counted_string("the resource name", r.resourceName) && u32("the resource id", r.resourceId) &&
               u32("the resource version", r.resourceVersion) && counted_string("the file name", r.fileName);
    }

    bool read_data_lists(GmdcFile& g)
    {
        at("");
        std::int32_t n = 0;
        if (!count("data-list count", "data lists", kMinDataListSize, n, true))
            return false;
        g.dataLists.resize(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k) {
            at("data list", k + 1);
            DataList& d = g.dataLists[static_cast<std::size_t>(k)];
            std::int32_t dataLength = 0;
            if (!i32("the record count", d.recordCount) || !u32("the identity", d.identity) ||
                !i32("the repetition", d.repetition) || !i32("the block format", d.blockFormat) ||
                !i32("the set format", d.setFormat) || !i32("the data length", dataLength))
                return false;
            if (dataLength < 0)
                return damaged("has a negative data length (" + std::to_string(dataLength) + ")");
            if (dataLength % 4 != 0)
                return damaged("has a data length of " + std::to_string(dataLength) +
                               " bytes, which is not a multiple of 4");
            const bool ok = d.holdsLongValues() ? values("values", d.longValues, dataLength / 4)
                                                : values("values", d.floatValues, dataLength / 4);
            if (!ok || !index_list("item count", "items", d.items))
                return false;
        }
        return true;
    }

    bool read_object_groups(GmdcFile& g)
    {
        at("");
        std::int32_t n = 0;
        if (!count("object-group count", "object groups", kMinObjectGroupSize, n, true))
            return false;
        g.objectGroups.resize(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k) {
            at("object group", k + 1);
            ObjectGroup& o = g.objectGroups[static_cast<std::size_t>(k)];
            if (!index_list("index count", "data-list indices", o.dataListIndices) ||
                !i32("the vertex count", o.vertexCount) || !i32("the active count", o.activeCount) ||
                !index_list("count 1", "alias list 1", o.list1) || !index_list("count 2", "alias list 2", o.list2) ||
                !index_list("count 3", "alias list 3", o.list3))
                return false;
        }
        return true;
    }

    bool read_objects(GmdcFile& g)
    {
        // Version 3 stores no opacity, version 1 no bone list.
        const std::uint32_t version = g.resource.blockVersion;
        const bool hasOpacity = version != 3;
        const bool hasBlockB = version != 1;
        const std::int64_t minSize = 4 + 4 + 1 + 4 + (hasOpacity ? 4 : 0) + (hasBlockB ? 4 : 0);
        at("");
        std::int32_t n = 0;
        if (!count("object count", "objects", minSize, n, true))
            return false;
        g.objects.resize(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k) {
            at("object", k + 1);
            GmdcObject& o = g.objects[static_cast<std::size_t>(k)];
            if (!i32("the primitive type", o.primitiveType) || !i32("the object-group index", o.objectGroupIndex) ||
                !counted_string("the name", o.name) || !index_list("face count", "faces", o.faces))
                return false;
            o.opacity = -1;
            if (hasOpacity && !i32("the opacity", o.opacity))
                return false;
            if (hasBlockB && !index_list("bone count", "bone list", o.blockB))
                return false;
        }
        return true;
    }

    bool read_p4(GmdcFile& g)
    {
        at("");
        std::int32_t n = 0;
        if (!count("transform count", "transforms", kTransformSize, n, true))
            return false;
        g.transforms.resize(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k) {
            at("transform", k + 1);
            Transform& t = g.transforms[static_cast<std::size_t>(k)];
            if (!in_.read_array(t.rotation, 4) || !in_.read_array(t.location, 3))
                return truncated("the values");
        }
        at("");
        if (!count("name-pair count", "name pairs", kMinNamePairSize, n, true))
            return false;
        g.namePairs.resize(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k) {
            at("name pair", k + 1);
            NamePair& p = g.namePairs[static_cast<std::size_t>(k)];
            if (!counted_string("the first name", p.first) || !counted_string("the second name", p.second))
                return false;
        }
        at("the bounding mesh");
        return small_mesh(g.boundingVertices, g.boundingFaces);
    }

    bool read_p5(GmdcFile& g)
    {
        at("");
        std::int32_t n = 0;
        if (!count("P5 count", "P5 entries", kMinP5EntrySize, n, true))
            return false;
        g.p5Entries.resize(static_cast<std::size_t>(n));
        for (std::int32_t k = 0; k < n; ++k) {
            at("P5 entry", k + 1);
            P5Entry& e = g.p5Entries[static_cast<std::size_t>(k)];
            if (!small_mesh(e.vertices, e.faces))
                return false;
        }
        // Whatever follows P5 is ignored, as the game's own files sometimes carry extra bytes.
        return true;
    }

    ByteReader in_;
    std::string name_;
    std::string& error_;
    bool wide_ = false; // versions 1 to 3 store the 16-bit lists as 32-bit integers
    const char* section_ = "";
    std::int64_t entry_ = 0;
};

} // namespace

bool parseGmdc(std::string_view bytes, GmdcFile& out, std::string& error, const std::string& sourceName)
{
    return Parser(bytes, sourceName, error).parse(out);
}

bool readGmdc(GmdcFile& gmdc, const std::string& path, MessageSink& sink)
{
    std::string bytes;
    std::string error;
    if (!read_whole_file(path, bytes, error)) {
        sink.error(error);
        return false;
    }
    // A fresh record, swapped in only when the whole file was read: a failed load keeps
    // the current GMDC as it was.
    if (bytes.starts_with("DBPF")) {
        sink.error("\"" + path +
                   "\" is a Sims 2 package (.package), not a GMDC file. Export the GMDC resource from it with a "
                   "package editor first and give the exported file.");
        return false;
    }
    GmdcFile loaded;
    if (!parseGmdc(bytes, loaded, error, path)) {
        sink.error(error);
        return false;
    }
    gmdc = std::move(loaded);
    return true;
}

} // namespace mw
