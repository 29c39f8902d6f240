// The OpenGL set-up both views share: the projection, the fixed render state and the
// texture table built from the models' materials. Needs a current OpenGL 1.1 context
// (compatibility profile); the bitmap reading needs none.
#pragma once

#include "mesh/mesh_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mw {

inline constexpr const char* kDefaultTextureName = "standard.bmp";

// gluPerspective(45, width / height, 0.1, 100) on a fresh projection matrix, then a fresh
// model-view matrix. A height of 0 counts as 1. Sets no viewport.
void resize_gl_scene(std::int32_t width, std::int32_t height);

// Texturing, smooth shading, back faces culled, depth test with GL_LEQUAL, clear depth 1,
// black clear colour, nicest perspective correction.
void set_render_state();

// A picture as rows of width x 3 bytes (red, green, blue), tightly packed, the first row
// being the picture's bottom row: the layout glTexImage2D takes with unpack alignment 1.
struct Bitmap {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<unsigned char> rgb;
};

// Reads a BMP, PNG, TGA or JPEG file. False when the file is missing or unreadable.
bool load_bitmap(const std::string& fileName, Bitmap& bitmap);

// Texture names of one context: entry i (1..modelCount) is model i's texture, or 0 when
// its material names none or the file cannot be read; entry 0 the default checkerboard.
// Texture 0 is the GL name 0, so a model without texture draws untextured.
class TextureTable {
  public:
    // Deletes the old textures, then builds one texture per model. A texture file named
    // by a relative path is looked for in `meshFolder` first, then as given; the default
    // texture in `programFolder`. Returns true when any texture was made.
    bool load(const ModelSet& models, const std::string& meshFolder, const std::string& programFolder);
    // The texture of model `model` (1-based); 0 outside the table.
    std::uint32_t model_texture(std::int32_t model) const;
    std::uint32_t default_texture() const { return ids_.empty() ? 0 : ids_[0]; }
    // Deletes every texture (the context must be current).
    void release();

  private:
    std::vector<std::uint32_t> ids_;
};

// Uploads `bitmap` as a new linear-filtered RGB texture and returns its name.
std::uint32_t upload_texture(const Bitmap& bitmap);

} // namespace mw
