#include "merge/bone_mapping.h"

#include "merge/bone_slot.h"
#include "merge/merge_checks.h"

#include <cstdint>

namespace mw {

namespace {

constexpr int kMaxSlots = 255; // a slot must fit a byte below 0xFF, which means "no bone"
constexpr std::uint32_t kNoBone = 0xFF;
constexpr int kNotLookedUp = INT32_MIN; // not -1: with the XSI offset bone 0 looks up -1

// The 0-based slot of `bone` in blockB (the last match), or -1.
int slot_of(const std::vector<std::int16_t>& blockB, int bone)
{
    const auto wanted = static_cast<std::int16_t>(bone); // the lookup compares 16-bit values
    for (std::size_t k = blockB.size(); k-- > 0;)
        if (blockB[k] == wanted)
            return static_cast<int>(k);
    return -1;
}

std::int32_t pack(std::uint32_t first, std::uint32_t second, std::uint32_t third)
{
    return static_cast<std::int32_t>(0xFF000000u | (third << 16) | (second << 8) | first);
}

struct Plan {
    bool multi = false;   // up to three weighted bones
    bool weights = false; // multi-bone and the group's assignment list is not blockFormat 0
    int offset = 0;
};

// Which bones vertex i looks up, in the order bone1, bone2, bone3.
void looked_up(const MeshModel& m, const Plan& plan, std::size_t i, int bones[3])
{
    bones[0] = bones[1] = bones[2] = kNotLookedUp;
    if (!plan.multi) {
        bones[0] = m.bone1[i];
        return;
    }
    const bool single = m.bone2[i] == -1 && m.bone3[i] == -1;
    if (!plan.weights && !single)
        return;
    bones[0] = m.bone1[i] - plan.offset;
    if (plan.weights && m.bone2[i] != -1)
        bones[1] = m.bone2[i] - plan.offset;
    if (plan.weights && m.bone3[i] != -1)
        bones[2] = m.bone3[i] - plan.offset;
}

} // namespace

bool map_bone_assignments(State& state, int model, int boneAssignmentList, int object, const ViewOptions& options,
                          std::string& error, bool& tooManyBones)
{
    tooManyBones = false;
    GmdcFile& gmdc = state.gmdc;
    if (model < 1 || model > state.models.modelCount()) {
        error = "there is no model " + std::to_string(model);
        return false;
    }
    const MeshModel& m = state.models.models[static_cast<std::size_t>(model - 1)];
    const GmdcObject* o = checked_object(gmdc, object, error);
    if (!o)
        return false;
    const auto count = static_cast<std::size_t>(m.boneVertexCount());
    Plan plan;
    plan.multi = m.boneMode != 1;
    plan.offset = plan.multi && options.usingXsiModTool ? 1 : 0;
    if (plan.multi && (m.bone2.size() < count || m.bone3.size() < count || m.weight1.size() < count ||
                       m.weight2.size() < count || m.weight3.size() < count)) {
        error = "the model's weighted bones are incomplete";
        return false;
    }

    const int group = o->objectGroupIndex + 1;
    const std::int16_t savedSlot = state.boneAssignmentSlot;
    const int slot = find_bone_list(state, group);
    auto refuse = [&] {
        state.boneAssignmentSlot = savedSlot;
        return false;
    };
    const int own = list_number_at(gmdc, group, slot, "bone-assignment list", error);
    const DataList* groupAssignments = own ? checked_bone_assignment_list(gmdc, own, error) : nullptr;
    DataList* assignments = groupAssignments ? checked_bone_assignment_list(gmdc, boneAssignmentList, error) : nullptr;
    if (!assignments)
        return refuse();
    if (assignments->longValues.size() < count) {
        error = "the bone-assignment list holds " + std::to_string(assignments->longValues.size()) +
                " values, fewer than the model's " + std::to_string(count) + " vertices";
        return refuse();
    }
    plan.weights = plan.multi && groupAssignments->blockFormat != 0;
    DataList* weights = nullptr;
    if (plan.weights) {
        const int w = list_number_at(gmdc, group, slot + 1, "bone-weight list", error);
        weights = w ? checked_float_list(gmdc, w, "bone-weight list", error) : nullptr;
        const int layout = weights ? weight_layout(*weights, options, error) : 0;
        if (layout == 0)
            return refuse();
        if (layout != 3) {
            error = "the model gives up to three weighted bones per vertex, but the bone-weight list of object "
                    "group " +
                    std::to_string(group) + " holds one float per vertex";
            return refuse();
        }
        if (static_cast<std::size_t>(weights->recordCount) < count) {
            error = "the bone-weight list holds " + std::to_string(weights->recordCount) +
                    " elements, fewer than the model's " + std::to_string(count) + " vertices";
            return refuse();
        }
    }

    if (o->blockB.size() > static_cast<std::size_t>(kMaxSlots)) {
        tooManyBones = true;
        error = object_label(gmdc, object) + " has " + std::to_string(o->blockB.size()) +
                " bones, more than a bone-assignment byte can address (255)";
        return refuse();
    }
    for (std::size_t i = 0; i < count; ++i) {
        int bones[3];
        looked_up(m, plan, i, bones);
        for (const int bone : bones) {
            if (bone != kNotLookedUp && slot_of(o->blockB, bone) < 0) {
                tooManyBones = true;
                error = "vertex " + std::to_string(i + 1) + " hangs on bone " + std::to_string(bone + plan.offset) +
                        (plan.offset ? " (bone " + std::to_string(bone) + " in the GMDC)" : std::string()) +
                        ", which is not in the bone list of " + object_label(gmdc, object);
                return refuse();
            }
        }
    }

    for (std::size_t i = 0; i < count; ++i) {
        int bones[3];
        looked_up(m, plan, i, bones);
        if (bones[0] == kNotLookedUp)
            continue; // a multi-bone vertex the blockFormat-0 list leaves as it is
        const auto first = static_cast<std::uint32_t>(slot_of(o->blockB, bones[0]));
        if (!plan.weights) {
            assignments->longValues[i] = pack(first, kNoBone, kNoBone);
            continue;
        }
        const auto second =
            bones[1] == kNotLookedUp ? kNoBone : static_cast<std::uint32_t>(slot_of(o->blockB, bones[1]));
        const auto third =
            bones[2] == kNotLookedUp ? kNoBone : static_cast<std::uint32_t>(slot_of(o->blockB, bones[2]));
        assignments->longValues[i] = pack(first, second, third);
        weights->floatValues[3 * i] = m.weight1[i];
        weights->floatValues[3 * i + 1] = bones[1] == kNotLookedUp ? 0.0f : m.weight2[i];
        weights->floatValues[3 * i + 2] = bones[2] == kNotLookedUp ? 0.0f : m.weight3[i];
    }
    return true;
}

} // namespace mw
