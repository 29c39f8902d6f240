// The details `info` adds for a GMDC, shared with `check`: morph names, bone lists and the
// bytes that follow the end of the GMDC.
#pragma once

#include "gmdc/gmdc_file.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace mw::cli {

// How many bytes of the file at `path` follow the end of the GMDC `g` read from it.
std::int64_t bytes_after_gmdc(const GmdcFile& g, const std::string& path);

// The morph names, each object's bone list and the trailing bytes, as text lines.
void print_gmdc_details(const GmdcFile& g, std::int64_t trailing);
// The same as members "morphNames", "boneLists" and "bytesAfterGmdc" of `j`.
void add_gmdc_details(nlohmann::ordered_json& j, const GmdcFile& g, std::int64_t trailing);

} // namespace mw::cli
