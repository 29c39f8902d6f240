// The check boxes that steer merging, read at the moment of use: the group editor's
// import options for the merge pass and the 3D view's options for "Replace" and
// "add model".
#pragma once

namespace mw {

// "Importing Options" of the group editor; all ticked when the program starts.
struct ImportOptions {
    bool importVertices = true; // "Import Vertices"
    bool importNormals = true;  // "Import Normals"
    bool importUVs = true;      // "Import UVs"
    bool importPolygons = true; // "Import Polygons"
    // Leave a group's other per-vertex lists (bones, morphs) as they are when its vertex
    // count changes, instead of rebuilding them for the new vertices; a warning names them.
    bool keepLists = false;
};

// Options of the 3D view window; all unticked when it opens.
struct ViewOptions {
    bool bodyEditing = false;     // "Body Editing"
    bool threeWeights = false;    // "3 weights"
    bool bumpMap = false;         // "Bump map"
    bool usingXsiModTool = false; // "Using XSI Mod Tool": multi-bone SMD bone numbers are one higher
    bool usingThreeDsMax = false; // "Using 3DS MAX": the SMD reader reads weighted bones
    bool keepLists = false;       // as ImportOptions::keepLists
};

} // namespace mw
