#include "view/gl_setup.h"

#include "core/program_folder.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <stb_image.h>

#include <cstring>
#include <filesystem>

namespace mw {

void resize_gl_scene(std::int32_t width, std::int32_t height)
{
    if (height == 0)
        height = 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void set_render_state()
{
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearColor(0, 0, 0, 0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

bool load_bitmap(const std::string& fileName, Bitmap& bitmap)
{
    int w = 0, h = 0, channels = 0;
    stbi_set_flip_vertically_on_load(1); // bottom row first
    unsigned char* pixels = stbi_load(fileName.c_str(), &w, &h, &channels, 3);
    if (!pixels)
        return false;
    bitmap.width = w;
    bitmap.height = h;
    bitmap.rgb.assign(pixels, pixels + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3);
    stbi_image_free(pixels);
    return true;
}

std::uint32_t upload_texture(const Bitmap& bitmap)
{
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1); // rows are 3 x width bytes, not padded
    glTexImage2D(GL_TEXTURE_2D, 0, 3, bitmap.width, bitmap.height, 0, GL_RGB, GL_UNSIGNED_BYTE, bitmap.rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    return id;
}

namespace {

std::string texture_path(const std::string& file, const std::string& meshFolder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path given(file);
    if (given.is_relative() && !meshFolder.empty() && fs::exists(fs::path(meshFolder) / given, ec))
        return (fs::path(meshFolder) / given).string();
    return file;
}

} // namespace

bool TextureTable::load(const ModelSet& models, const std::string& meshFolder, const std::string& programFolder)
{
    release();
    ids_.assign(static_cast<std::size_t>(models.modelCount()) + 1, 0);
    bool any = false;
    Bitmap bitmap;
    for (std::int32_t i = 1; i <= models.modelCount() && i <= models.materialCount(); ++i) {
        const MaterialRow& row = models.materials[static_cast<std::size_t>(i - 1)];
        if (row.textureFound && load_bitmap(texture_path(row.textureFile, meshFolder), bitmap)) {
            ids_[static_cast<std::size_t>(i)] = upload_texture(bitmap);
            any = true;
        }
    }
    if (load_bitmap(join_path(programFolder, kDefaultTextureName), bitmap)) {
        ids_[0] = upload_texture(bitmap);
        any = true;
    }
    return any;
}

std::uint32_t TextureTable::model_texture(std::int32_t model) const
{
    if (model < 1 || static_cast<std::size_t>(model) >= ids_.size())
        return 0;
    return ids_[static_cast<std::size_t>(model)];
}

void TextureTable::release()
{
    for (GLuint id : ids_)
        if (id != 0)
            glDeleteTextures(1, &id);
    ids_.clear();
}

} // namespace mw
