// Reading the triangles of a Half-Life SMD file, with their bones and weights, into the
// model set as one model. The bone numbers kept are the file's node numbers; the bone
// mapping turns them into slots of a GMDC object's bone list later.
#pragma once

#include "core/message_sink.h"
#include "mesh/text_source.h"
#include "state/state.h"

#include <string>

namespace mw {

// The two check boxes that make every vertex read its weighted bones (mode 2) even when
// the first vertex does not hang on bone 0.
struct SmdReadOptions {
    bool studio3dsSmd = false; // "3ds studio SMD file" of the main window
    bool using3dsMax = false;  // "Using 3DS MAX" of the 3D view
};

// Reads `fileName` and, on success, replaces state.models.models by one model named
// "object 1" (vertexCount == normalCount == uvCount == boneVertexCount == the number of
// vertex lines; face f is vertices 3f-2, 3f-1, 3f), sets modelSource to 2, reports
// "Finished reading smd file. Number of models:1" and returns true.
//
// boneMode 1: bone1 holds each vertex's parent bone. boneMode 2: boneLinkCount, bone1..3
// and weight1..3 hold the links (-1 for a bone not given; a vertex without links hangs
// on its parent bone with weight 1; a negative link count reads as 0).
//
// A UTF-8 byte-order mark is skipped. A refused file (cannot be loaded, UTF-16 text, no
// "triangles" section or no triangle in it, more than three links on a
// vertex, a number that cannot be held, more than 32767 vertex lines) leaves the model
// set unchanged after a message; the messages of numbers name the line.
bool read_smd(State& state, const std::string& fileName, MessageSink& sink, const SmdReadOptions& options = {});

// The same for text from any source; source.name() names it in messages.
bool read_smd(State& state, TextSource& source, MessageSink& sink, const SmdReadOptions& options = {});

} // namespace mw
