// Where a command's GMDC comes from and goes to: a GMDC file, or one GMDC resource of a
// Sims 2 package. Every command that reads a GMDC loads it here and saves it back here,
// so a package works wherever a GMDC file does.
#pragma once

#include "cli/cli.h"
#include "gmdc/gmdc_file.h"
#include "gmdc/gmdc_writer.h"
#include "package/package.h"

#include <string>

namespace mw::cli {

struct GmdcSource {
    std::string path;
    int resource = 0; // --resource N: the resource's number in the package (from 1); 0 when not given

    // Filled by load_gmdc when `path` is a package.
    bool isPackage = false;
    Package package;
    std::size_t resourceIndex = 0; // the GMDC resource loaded, 0-based
};

// Adds "--resource N" (which GMDC resource of a package) to `command`.
void add_resource_option(CLI::App& command, GmdcSource& source);

// True for a file whose bytes start like a package ("DBPF").
bool looks_like_package(const std::string& bytes);

// Loads source.path into `gmdc`: a package's only GMDC resource or the one --resource
// picks (a message lists them when several are there and none is picked), otherwise the
// file as a GMDC. On failure reports to `sink` and leaves `gmdc` as it was.
bool load_gmdc(GmdcSource& source, GmdcFile& gmdc, MessageSink& sink);

// Saves `gmdc` to `out` with the vertex padding of every save: a GMDC file, or, when
// `out` ends in ".package", a copy of the package it came from with that GMDC resource
// replaced and every other resource's stored bytes unchanged (`out` may be the package
// itself). Reports "Save Complete" or why nothing was written.
bool save_gmdc(const GmdcSource& source, GmdcFile& gmdc, const std::string& out, MessageSink& sink,
               const GmdcWriteOptions& options = {});

} // namespace mw::cli
