// The mesh readers on text held in memory, for the mesh tests: no scratch files.
#pragma once

#include "mesh/obj_reader.h"
#include "mesh/smd_reader.h"

#include <string>

namespace mw::test {

struct TextRead {
    State state;
    RecordingSink sink;
    bool ok = false;

    const MeshModel& model(int m = 1) const { return state.models.models.at(static_cast<std::size_t>(m - 1)); }
};

// Reads `obj` as "mesh.obj"; `mtl` is the text of the MTL file it names ("" for none).
inline TextRead read_obj_text(const std::string& obj, const std::string& mtl = "", const ObjReadOptions& options = {})
{
    TextRead r;
    StringSource objSource("mesh.obj", obj), mtlSource("mesh.mtl", mtl);
    r.ok = read_obj(r.state, objSource, r.sink, options, mtl.empty() ? nullptr : &mtlSource);
    return r;
}

inline TextRead read_smd_text(const std::string& smd, const SmdReadOptions& options = {})
{
    TextRead r;
    StringSource source("mesh.smd", smd);
    r.ok = read_smd(r.state, source, r.sink, options);
    return r;
}

} // namespace mw::test
