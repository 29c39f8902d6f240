#include "view/offscreen.h"

#include "core/save_file.h"

#define EGL_EGLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstring>

namespace mw {

// The framebuffer-object calls are not OpenGL 1.1: they are fetched through EGL.
struct OffscreenContext::Egl {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0, colour = 0, depth = 0;
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
};

namespace {

template <typename F> bool fetch(F& f, const char* name)
{
    f = reinterpret_cast<F>(eglGetProcAddress(name));
    return f != nullptr;
}

} // namespace

OffscreenContext::OffscreenContext() = default;

OffscreenContext::~OffscreenContext()
{
    if (!egl_)
        return;
    if (egl_->context != EGL_NO_CONTEXT) {
        eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl_->context);
        if (egl_->framebuffer) {
            egl_->deleteFramebuffers(1, &egl_->framebuffer);
            egl_->deleteRenderbuffers(1, &egl_->colour);
            egl_->deleteRenderbuffers(1, &egl_->depth);
        }
        eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(egl_->display, egl_->context);
    }
    // The display stays initialised for the life of the process: every context shares
    // it, and ending it unloads the driver, which some drivers do not survive cleanly.
}

bool OffscreenContext::create(std::int32_t width, std::int32_t height, std::string& error)
{
    if (width < 1 || height < 1 || width > 8192 || height > 8192) {
        error = "The picture size " + std::to_string(width) + "x" + std::to_string(height) +
                " is outside 1x1 to 8192x8192.";
        return false;
    }
    egl_ = std::make_unique<Egl>();
    Egl& e = *egl_;
    e.display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (e.display == EGL_NO_DISPLAY || !eglInitialize(e.display, nullptr, nullptr)) {
        error = "No off-screen OpenGL is available (Mesa's surfaceless EGL platform could not start).";
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(e.display, configAttributes, &config, 1, &configs) ||
        configs < 1) {
        error = "No off-screen OpenGL is available (no desktop OpenGL configuration).";
        return false;
    }
    // No attributes: a compatibility context, where the fixed-function calls work.
    e.context = eglCreateContext(e.display, config, EGL_NO_CONTEXT, nullptr);
    if (e.context == EGL_NO_CONTEXT || !eglMakeCurrent(e.display, EGL_NO_SURFACE, EGL_NO_SURFACE, e.context)) {
        error = "No off-screen OpenGL is available (the context could not be made current).";
        return false;
    }
    if (!fetch(e.genFramebuffers, "glGenFramebuffers") || !fetch(e.bindFramebuffer, "glBindFramebuffer") ||
        !fetch(e.deleteFramebuffers, "glDeleteFramebuffers") || !fetch(e.genRenderbuffers, "glGenRenderbuffers") ||
        !fetch(e.bindRenderbuffer, "glBindRenderbuffer") || !fetch(e.deleteRenderbuffers, "glDeleteRenderbuffers") ||
        !fetch(e.renderbufferStorage, "glRenderbufferStorage") ||
        !fetch(e.framebufferRenderbuffer, "glFramebufferRenderbuffer") ||
        !fetch(e.checkFramebufferStatus, "glCheckFramebufferStatus")) {
        error = "No off-screen OpenGL is available (framebuffer objects are missing).";
        return false;
    }
    e.genRenderbuffers(1, &e.colour);
    e.bindRenderbuffer(GL_RENDERBUFFER, e.colour);
    e.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    e.genRenderbuffers(1, &e.depth);
    e.bindRenderbuffer(GL_RENDERBUFFER, e.depth);
    e.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    e.genFramebuffers(1, &e.framebuffer);
    e.bindFramebuffer(GL_FRAMEBUFFER, e.framebuffer);
    e.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, e.colour);
    e.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, e.depth);
    if (e.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error = "No off-screen OpenGL is available (the framebuffer is incomplete).";
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    width_ = width;
    height_ = height;
    glViewport(0, 0, width, height); // as a new window's context starts
    return true;
}

void OffscreenContext::make_current()
{
    eglMakeCurrent(egl_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, egl_->context);
    egl_->bindFramebuffer(GL_FRAMEBUFFER, egl_->framebuffer);
}

std::vector<unsigned char> OffscreenContext::read_rgb()
{
    glFinish();
    const std::size_t row = 3 * static_cast<std::size_t>(width_);
    std::vector<unsigned char> bottomUp(row * static_cast<std::size_t>(height_));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<unsigned char> rgb(bottomUp.size());
    for (std::int32_t y = 0; y < height_; ++y)
        std::memcpy(&rgb[row * static_cast<std::size_t>(y)], &bottomUp[row * static_cast<std::size_t>(height_ - 1 - y)],
                    row);
    return rgb;
}

bool write_png(const std::string& path, std::int32_t width, std::int32_t height, const std::vector<unsigned char>& rgb,
               std::string& error)
{
    std::string png;
    const auto append = [](void* target, void* data, int size) {
        static_cast<std::string*>(target)->append(static_cast<const char*>(data), static_cast<std::size_t>(size));
    };
    if (!stbi_write_png_to_func(append, &png, width, height, 3, rgb.data(), 3 * width)) {
        error = "The picture could not be encoded as PNG.";
        return false;
    }
    return save_file_atomically(path, png, error);
}

} // namespace mw
