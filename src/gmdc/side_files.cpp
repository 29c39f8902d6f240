// Reading and writing the editing windows' side files.
#include "gmdc/side_files.h"

#include "core/byte_io.h"

namespace mw {

namespace {

void counted_name(ByteWriter& out, const std::string& s)
{
    out.u8(static_cast<std::uint8_t>(s.size()));
    out.bytes(s);
}

// A bounding mesh or P5 entry: the face count is stored only when there are vertices.
void small_mesh(ByteWriter& out, const std::vector<float>& vertices, const std::vector<std::int16_t>& faces)
{
    out.i32(static_cast<std::int32_t>(vertices.size() / 3));
    if (!vertices.empty())
        out.i32(static_cast<std::int32_t>(faces.size()));
    out.array(vertices.data(), vertices.size());
    out.array(faces.data(), faces.size());
}

bool refuse(std::string& error, const std::string& fileName, const std::string& problem)
{
    error = fileName + ": " + problem + "; nothing was changed.";
    return false;
}

} // namespace

std::string faceFileBytes(const std::vector<std::int16_t>& faces)
{
    ByteWriter out;
    out.i32(static_cast<std::int32_t>(faces.size()));
    out.array(faces.data(), faces.size());
    return out.take();
}

std::string dataListFileBytes(const DataList& d)
{
    ByteWriter out;
    out.i32(d.recordCount);
    out.u32(d.identity);
    out.i32(d.repetition);
    out.i32(d.blockFormat);
    out.i32(d.setFormat);
    out.i32(static_cast<std::int32_t>(d.dataLength()));
    if (d.holdsLongValues())
        out.array(d.longValues.data(), d.longValues.size());
    else
        out.array(d.floatValues.data(), d.floatValues.size());
    out.i32(static_cast<std::int32_t>(d.items.size()));
    out.array(d.items.data(), d.items.size());
    return out.take();
}

std::string p4FileBytes(const GmdcFile& g)
{
    ByteWriter out;
    out.i32(static_cast<std::int32_t>(g.transforms.size()));
    for (const Transform& t : g.transforms) {
        out.array(t.rotation, 4);
        out.array(t.location, 3);
    }
    out.i32(static_cast<std::int32_t>(g.namePairs.size()));
    for (const NamePair& p : g.namePairs) {
        counted_name(out, p.first);
        counted_name(out, p.second);
    }
    small_mesh(out, g.boundingVertices, g.boundingFaces);
    return out.take();
}

std::string p5FileBytes(const GmdcFile& g)
{
    ByteWriter out;
    out.i32(static_cast<std::int32_t>(g.p5Entries.size()));
    for (const P5Entry& e : g.p5Entries)
        small_mesh(out, e.vertices, e.faces);
    return out.take();
}

std::string p5EntryFileBytes(const GmdcFile& g, std::size_t entry)
{
    ByteWriter out;
    out.i32(1);
    small_mesh(out, g.p5Entries.at(entry).vertices, g.p5Entries.at(entry).faces);
    return out.take();
}

bool parseFaceFile(std::string_view bytes, std::vector<std::int16_t>& faces, std::string& error,
                   const std::string& fileName)
{
    ByteReader in(bytes);
    std::int32_t count = 0;
    if (!in.read_i32(count))
        return refuse(error, fileName, "the face file is shorter than its 4-byte count");
    if (count < 0)
        return refuse(error, fileName, "the face count " + std::to_string(count) + " is negative");
    if (static_cast<std::size_t>(count) > in.remaining() / 2)
        return refuse(error, fileName,
                      "the face file claims " + std::to_string(count) + " face indices but holds only " +
                          std::to_string(in.remaining() / 2));
    std::vector<std::int16_t> read(static_cast<std::size_t>(count));
    in.read_array(read.data(), read.size());
    faces = std::move(read);
    return true;
}

bool parseDataListFile(std::string_view bytes, DataListFile& out, std::string& error, const std::string& fileName)
{
    ByteReader in(bytes);
    std::int32_t recordCount = 0, dataLength = 0;
    if (!in.read_i32(recordCount) || !in.skip(16) || !in.read_i32(dataLength))
        return refuse(error, fileName, "the data-list file is shorter than its 24-byte head");
    if (recordCount < 0)
        return refuse(error, fileName, "the record count " + std::to_string(recordCount) + " is negative");
    if (dataLength < 0 || dataLength % 4 != 0)
        return refuse(error, fileName,
                      "the data length " + std::to_string(dataLength) + " is not a whole number of 4-byte values");
    if (static_cast<std::size_t>(dataLength) > in.remaining())
        return refuse(error, fileName,
                      "the data length " + std::to_string(dataLength) + " reaches beyond the file's " +
                          std::to_string(bytes.size()) + " bytes");
    std::vector<std::uint32_t> values(static_cast<std::size_t>(dataLength) / 4);
    in.read_array(values.data(), values.size());
    out.recordCount = recordCount;
    out.values = std::move(values);
    return true;
}

} // namespace mw
