// Reading Wavefront OBJ files (and the MTL file they name) into the model set. Every
// group or object of the file becomes one model, and the file's separate numbering of
// positions, texture coordinates and normals becomes one numbering per model, since a
// GMDC stores vertex i, normal i and texture coordinate i together.
#pragma once

#include "core/message_sink.h"
#include "mesh/text_source.h"
#include "state/state.h"

#include <string>

namespace mw {

struct ObjReadOptions {
    // Write "dump_object_" + m + ".obj" (the model's distinct corners and triangles) for
    // every model. On in the desktop program's flows, off on the command line unless asked.
    bool dumpFiles = false;
    // Folder of the dump files; empty means the program's own folder. A folder that
    // cannot be written is skipped without a word: the import never fails on a dump.
    std::string dumpFolder;
};

// Reads `fileName` into state.models and returns state.models.objLoadOk.
//
// A file that cannot be loaded leaves the model set as it was (objLoadOk false) after
// the loader's message. Otherwise the model set is emptied first (the reset) and
// modelSource is 1. Then:
// - A file without "vn" or without "vt" lines gets the message saying so; its models
//   stay in the set with their names and faces numbered as in the file, no vertex data.
// - A file that cannot be held (a corner naming position 0 or a number beyond its list, a
//   coordinate beyond the 32-bit float range, more than 32767 models, a model with more
//   than 32767 distinct corners) is refused with a message naming the line or model;
//   the model set stays empty.
// - Otherwise every model holds vertexCount == normalCount == uvCount distinct corners,
//   faces whose vertex1..vertex3 lie in 1..vertexCount (normal and uv numbers 0), the
//   MTL file is read, and "Finished reading obj file. Number of models:" N is reported.
// A polygon of more than three corners becomes a fan of triangles from its first corner
// (an info message counts them; a warning names the first line whose corners are not on
// a convex outline). A UTF-8 byte-order mark is skipped; UTF-16 text is refused.
//
// The file is read in blocks, never whole.
bool read_obj(State& state, const std::string& fileName, MessageSink& sink, const ObjReadOptions& options = {});

// The same for text from any source (source.name() names it in messages); the MTL text
// comes from `mtl` when the file names an MTL file and `mtl` is given.
bool read_obj(State& state, TextSource& source, MessageSink& sink, const ObjReadOptions& options = {},
              TextSource* mtl = nullptr);

// Reads the MTL file named by state.models.mtlFileName and sets the texture file of
// every material row whose material it defines. A relative name is looked up beside
// `objFileName` first, then in the current folder; a missing file is ignored silently.
// Returns true when an MTL file was read.
bool read_mtl(State& state, const std::string& objFileName, MessageSink& sink);

// Reads MTL text from `source` into the material rows; false when it cannot be read.
bool read_mtl(State& state, TextSource& source, MessageSink& sink);

} // namespace mw
