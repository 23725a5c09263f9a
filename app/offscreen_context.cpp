#include "app/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <dlfcn.h>

#include <cstring>

namespace {

// NOTE: EGL is loaded only when a picture is drawn offscreen, never linked:
// with libEGL in the process beside GLX, the window's runs under the leak
// sanitizer crash its leak check at exit now and then, and the window path
// stays as it was without it.
constexpr char EGL_LIBRARY[] = "libEGL.so.1";

struct EglCalls {
    PFNEGLQUERYSTRINGPROC queryString;
    PFNEGLGETPROCADDRESSPROC getProcAddress;
    PFNEGLINITIALIZEPROC initialize;
    PFNEGLBINDAPIPROC bindApi;
    PFNEGLCREATECONTEXTPROC createContext;
    PFNEGLMAKECURRENTPROC makeCurrent;
    PFNEGLDESTROYCONTEXTPROC destroyContext;
    PFNEGLTERMINATEPROC terminate;
};

EglCalls egl{};
EGLDisplay display = EGL_NO_DISPLAY;
EGLContext context = EGL_NO_CONTEXT;

bool loadEgl(std::string& problem);
template <typename Call>
bool lookUp(void* library, const char* name, Call& call);
bool openDisplay(std::string& problem);
bool createContext(std::string& problem);
bool createFramebuffer(int width, int height, std::string& problem);
bool hasExtension(const char* extensions, const char* name);
void releaseContext();

}  // namespace

bool openOffscreenContext(int width, int height, std::string& problem) {
    if (!loadEgl(problem)) return false;
    if (openDisplay(problem) && createContext(problem) && createFramebuffer(width, height, problem)) return true;
    releaseContext();
    return false;
}

namespace {

bool loadEgl(std::string& problem) {
    void* library = dlopen(EGL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    const bool found =
        library != nullptr && lookUp(library, "eglQueryString", egl.queryString) &&
        lookUp(library, "eglGetProcAddress", egl.getProcAddress) && lookUp(library, "eglInitialize", egl.initialize) &&
        lookUp(library, "eglBindAPI", egl.bindApi) && lookUp(library, "eglCreateContext", egl.createContext) &&
        lookUp(library, "eglMakeCurrent", egl.makeCurrent) &&
        lookUp(library, "eglDestroyContext", egl.destroyContext) && lookUp(library, "eglTerminate", egl.terminate);
    if (!found) problem = std::string("EGL (") + EGL_LIBRARY + ") is not installed";
    return found;
}

template <typename Call>
bool lookUp(void* library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(dlsym(library, name));
    return call != nullptr;
}

// The surfaceless platform needs no display server and no device: Mesa
// draws on the first render node it finds, or in software without one.
bool openDisplay(std::string& problem) {
    const char* clientExtensions = egl.queryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    const auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(egl.getProcAddress("eglGetPlatformDisplayEXT"));
    if (!hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless") || getPlatformDisplay == nullptr) {
        problem = "EGL has no surfaceless platform (Mesa's EGL is needed)";
        return false;
    }
    display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY || !egl.initialize(display, nullptr, nullptr)) {
        display = EGL_NO_DISPLAY;
        problem = "EGL's surfaceless display does not start";
        return false;
    }
    return true;
}

// No surface at all: the context draws into the frame buffer object alone,
// so it needs no config either.
bool createContext(std::string& problem) {
    const char* extensions = egl.queryString(display, EGL_EXTENSIONS);
    if (!hasExtension(extensions, "EGL_KHR_surfaceless_context") ||
        !hasExtension(extensions, "EGL_KHR_no_config_context")) {
        problem = "EGL cannot make a context without a surface";
        return false;
    }
    if (!egl.bindApi(EGL_OPENGL_API)) {
        problem = "EGL offers no desktop OpenGL";
        return false;
    }
    const EGLint attributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    context = egl.createContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT || !egl.makeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        problem = "EGL gives no OpenGL context in the compatibility profile";
        return false;
    }
    return true;
}

// Depth of 24 bits, as the window's visual has.
bool createFramebuffer(int width, int height, std::string& problem) {
    GLuint framebuffer = 0;
    // Colour with alpha, then depth.
    GLuint renderbuffers[2] = {0, 0};
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGenRenderbuffers(2, renderbuffers);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers[0]);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers[1]);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        problem = "OpenGL cannot draw a picture of " + std::to_string(width) + " by " + std::to_string(height);
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    return true;
}

// Extension lists are names between single spaces.
bool hasExtension(const char* extensions, const char* name) {
    if (extensions == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* at = extensions; (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        if (starts && (at[length] == ' ' || at[length] == '\0')) return true;
    }
    return false;
}

// What a failed opening got so far; the frame buffer goes with its context.
void releaseContext() {
    if (display == EGL_NO_DISPLAY) return;
    egl.makeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT) egl.destroyContext(display, context);
    egl.terminate(display);
    context = EGL_NO_CONTEXT;
    display = EGL_NO_DISPLAY;
}

}  // namespace
