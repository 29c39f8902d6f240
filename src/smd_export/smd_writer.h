// Writing one object of the current GMDC as a Half-Life SMD file: a node per transform,
// one skeleton frame, and the object's triangles with their bone assignments, in one of
// two vertex-line layouts.
#pragma once

#include "core/message_sink.h"
#include "state/state.h"

#include <cstdint>
#include <string>

namespace mw {

inline constexpr const char* kNoSubgroupsMessage =
    "Error:This mesh doesn`t have any subgroups in it, please export it from SimPE as a OBJ file";

// Layout modes: one bone per vertex, or up to three weighted bones per vertex (every
// value other than 1).
inline constexpr std::int16_t kSmdSingleBone = 1;
inline constexpr std::int16_t kSmdMultipleBones = 2;

// The SMD text of object `objectNumber` (1-based; 0 means no object is selected) of
// state.gmdc. Runs the bone-assignment slot search on the object's group first, which
// sets state.boneAssignmentSlot. Returns false, with `error` naming the problem, when the
// object cannot be written as the layout needs: no bone list (the kNoSubgroupsMessage),
// a missing or misshapen list, a face index beyond a list, an assignment naming a slot
// beyond the bone list or a bone beyond the transforms.
bool smd_text(State& state, int objectNumber, std::int16_t mode, std::string& out, std::string& error);

// Builds the text and saves it to `fileName` atomically. On a refusal or a failed save
// reports the message to `sink` and leaves no file behind (an existing one as it was).
bool write_smd(State& state, const std::string& fileName, int objectNumber, std::int16_t mode, MessageSink& sink);

} // namespace mw
