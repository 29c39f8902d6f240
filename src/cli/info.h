// meshwright-cli info: the GMDC and the mesh form, chosen by the file's extension.
#pragma once

#include "core/message_sink.h"
#include "gmdc/gmdc_file.h"

#include <nlohmann/json.hpp>

#include <string>

namespace mw::cli {

struct InfoOptions {
    std::string path;
    bool json = false;
    bool dumpFiles = false; // OBJ: write the dump_object_N.obj files beside the program
    bool studio3dsSmd = false;
};

int run_info_gmdc(const InfoOptions& options);
int run_info_mesh(const InfoOptions& options);
// A package (its bytes read already): the resource list, then each GMDC resource's info.
int run_info_package(const InfoOptions& options, std::string bytes);

// The GMDC facts `info` prints, as text or as one JSON object; `label` names the source.
void print_gmdc_text(const GmdcFile& g, const std::string& label);
nlohmann::ordered_json gmdc_json(const GmdcFile& g, const std::string& label);

// A name's raw bytes for JSON: each byte is the character of the same code (Latin-1),
// so any file name gives valid JSON.
std::string json_text(const std::string& bytes);

} // namespace mw::cli
