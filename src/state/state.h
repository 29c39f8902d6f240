// The records every part of the program works on: the current GMDC, the imported models
// and the bone-assignment slot. One State is passed by reference; there are no globals.
#pragma once

#include "gmdc/gmdc_file.h"
#include "mesh/mesh_model.h"

#include <cstdint>

namespace mw {

struct State {
    GmdcFile gmdc;
    ModelSet models;
    // 1-based position, within an object group's dataListIndices, of its bone-assignment
    // list as the last slot search found it; the bone-weight list is the next position.
    std::int16_t boneAssignmentSlot = 4;

    // The main window's reset: empties the GMDC and the model set.
    void cleanUp()
    {
        gmdc.reset();
        models.reset();
    }
};

} // namespace mw
