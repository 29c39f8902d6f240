// What must hold for any bytes given to the GMDC reader: a refusal says why; a file that
// reads writes back to the bytes it was read from (what follows P5 aside), reads again to
// the same record, and padding then unpadding it changes nothing. The exports that index
// the lists with numbers from the file (SMD, OBJ) run on it too: they write or refuse
// with a message, never reach outside a list.
#pragma once

#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "mesh/gmdc_to_obj.h"
#include "smd_export/smd_writer.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace mw::fuzz {

inline std::string check_exports(const GmdcFile& gmdc)
{
    std::string text, error;
    if (!gmdc_to_obj_text(gmdc, 100, text, error) && error.empty())
        return "the OBJ export refused without a message";
    State state;
    state.gmdc = gmdc;
    const int objects = static_cast<int>(std::min<std::size_t>(gmdc.objects.size(), 3));
    for (int k = 0; k <= objects; ++k)
        for (std::int16_t mode : {kSmdSingleBone, kSmdMultipleBones}) {
            error.clear();
            if (!smd_text(state, k, mode, text, error) && error.empty())
                return "the SMD export refused without a message";
        }
    return "";
}

inline std::string check_gmdc(std::string_view bytes)
{
    GmdcFile gmdc;
    std::string error;
    if (!parseGmdc(bytes, gmdc, error, "input")) {
        if (error.empty())
            return "parseGmdc refused the bytes without a message";
        return "";
    }
    if (std::string problem = check_exports(gmdc); !problem.empty())
        return problem;
    std::string written;
    if (!serializeGmdc(gmdc, written, error)) {
        if (error.empty())
            return "serializeGmdc refused a record it read without a message";
        return "";
    }
    if (bytes.substr(0, written.size()) != written)
        return "the written file differs from the bytes it was read from";

    GmdcFile again;
    if (!parseGmdc(written, again, error, "written"))
        return "the written file does not read back: " + error;
    std::string rewritten;
    if (!serializeGmdc(again, rewritten, error) || rewritten != written)
        return "the file read back writes other bytes";

    const VertexPadding padding = applyVertexPadding(gmdc);
    std::string padded;
    if (padding.dataList >= 0 && serializeGmdc(gmdc, padded, error)) {
        GmdcFile paddedBack;
        if (!parseGmdc(padded, paddedBack, error, "padded"))
            return "the padded file does not read back: " + error;
    }
    undoVertexPadding(gmdc, padding);
    if (!serializeGmdc(gmdc, rewritten, error) || rewritten != written)
        return "padding and unpadding changed the record";

    GmdcWriteOptions bodyMesh;
    bodyMesh.bodyMesh = true;
    std::string body;
    serializeGmdc(gmdc, body, error, bodyMesh); // may refuse; must not fault
    return "";
}

} // namespace mw::fuzz
