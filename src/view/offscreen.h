// Drawing without a display: an OpenGL context on Mesa's surfaceless EGL platform,
// rendering into a framebuffer object of a fixed size, and the PNG writer for its pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mw {

class OffscreenContext {
  public:
    OffscreenContext();
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    // Creates the context and a width x height framebuffer (RGBA colour, 16-bit depth),
    // makes it current and sets the viewport to the whole picture. False with `error`
    // when no such context can be had.
    bool create(std::int32_t width, std::int32_t height, std::string& error);
    void make_current();
    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // The picture as rows of width x 3 bytes, top row first (glFinish first).
    std::vector<unsigned char> read_rgb();

  private:
    struct Egl;
    std::unique_ptr<Egl> egl_;
    std::int32_t width_ = 0, height_ = 0;
};

// Saves rows of width x 3 bytes, top row first, as a PNG file, atomically.
bool write_png(const std::string& path, std::int32_t width, std::int32_t height, const std::vector<unsigned char>& rgb,
               std::string& error);

} // namespace mw
