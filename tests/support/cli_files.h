// A folder of small input files for the command-line tests, and a record of every file in
// it so that a refused command can be shown to have left them all as they were.
#pragma once

#include "support/test_support.h"

#include <map>
#include <string>

namespace mw::test {

class CliFiles {
  public:
    // Writes: body.5gd (make_body_mesh), body30.5gd (make_body_mesh_30), static.5gd
    // (make_static_mesh), top.obj (groups "body": a quad of two triangles, and "spout": one
    // triangle), weighted.smd (weighted links), wide.smd (a triangle on bone 99).
    CliFiles();

    std::string operator()(const std::string& name) const { return dir_.file(name); }
    // Every file of the folder with its bytes.
    std::map<std::string, std::string> snapshot() const;

  private:
    TempDir dir_;
};

// The source tree's example mesh: groups "seat" and "leg".
std::string example_obj();

} // namespace mw::test
