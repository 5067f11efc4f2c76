#include "playback/MpvLibrary.h"

#include <mpv/client.h>
#include <mpv/render.h>

#include <dlfcn.h>
#include <future>
#include <mutex>

namespace {

struct Library {
    void *handle = nullptr;
    QString error;
};

Library Open()
{
    Library lib;
    // Lazy binding: most of libmpv's functions are never called.
    lib.handle = dlopen("libmpv.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!lib.handle) lib.error = QString::fromLocal8Bit(dlerror());
    return lib;
}

std::shared_future<Library> loading;
std::once_flag started;

void Start()
{
    std::call_once(started, [] { loading = std::async(std::launch::async, Open).share(); });
}

const Library &Loaded()
{
    Start();
    return loading.get();
}

// The library's own definition of the function whose stub is Stub, or null when there is no
// library. Looked up once per function.
template <auto Stub> decltype(Stub) Real(const char *name)
{
    static const auto real = [name] {
        void *handle = Loaded().handle;
        return handle ? reinterpret_cast<decltype(Stub)>(dlsym(handle, name)) : nullptr;
    }();
    return real;
}

} // namespace

void PreloadMpvLibrary() { Start(); }

QString MpvLibraryError() { return Loaded().error; }

// Only mpv_create, mpv_error_string and mpv_free can be called without a handle, which only an
// opened library gives; the others need no check of their own.
extern "C" {

mpv_handle *mpv_create(void)
{
    const auto real = Real<&mpv_create>("mpv_create");
    return real ? real() : nullptr;
}

const char *mpv_error_string(int error)
{
    const auto real = Real<&mpv_error_string>("mpv_error_string");
    return real ? real(error) : "libmpv is not available";
}

void mpv_free(void *data)
{
    if (const auto real = Real<&mpv_free>("mpv_free")) real(data);
}

int mpv_initialize(mpv_handle *ctx) { return Real<&mpv_initialize>("mpv_initialize")(ctx); }

void mpv_terminate_destroy(mpv_handle *ctx) { Real<&mpv_terminate_destroy>("mpv_terminate_destroy")(ctx); }

int mpv_set_option_string(mpv_handle *ctx, const char *name, const char *data)
{
    return Real<&mpv_set_option_string>("mpv_set_option_string")(ctx, name, data);
}

int mpv_command(mpv_handle *ctx, const char **args) { return Real<&mpv_command>("mpv_command")(ctx, args); }

int mpv_set_property(mpv_handle *ctx, const char *name, mpv_format format, void *data)
{
    return Real<&mpv_set_property>("mpv_set_property")(ctx, name, format, data);
}

int mpv_get_property(mpv_handle *ctx, const char *name, mpv_format format, void *data)
{
    return Real<&mpv_get_property>("mpv_get_property")(ctx, name, format, data);
}

char *mpv_get_property_string(mpv_handle *ctx, const char *name)
{
    return Real<&mpv_get_property_string>("mpv_get_property_string")(ctx, name);
}

mpv_event *mpv_wait_event(mpv_handle *ctx, double timeout)
{
    return Real<&mpv_wait_event>("mpv_wait_event")(ctx, timeout);
}

void mpv_set_wakeup_callback(mpv_handle *ctx, void (*cb)(void *d), void *d)
{
    Real<&mpv_set_wakeup_callback>("mpv_set_wakeup_callback")(ctx, cb, d);
}

int mpv_render_context_create(mpv_render_context **res, mpv_handle *mpv, mpv_render_param *params)
{
    return Real<&mpv_render_context_create>("mpv_render_context_create")(res, mpv, params);
}

void mpv_render_context_set_update_callback(mpv_render_context *ctx, mpv_render_update_fn callback, void *callback_ctx)
{
    Real<&mpv_render_context_set_update_callback>("mpv_render_context_set_update_callback")(ctx, callback,
                                                                                            callback_ctx);
}

uint64_t mpv_render_context_update(mpv_render_context *ctx)
{
    return Real<&mpv_render_context_update>("mpv_render_context_update")(ctx);
}

int mpv_render_context_render(mpv_render_context *ctx, mpv_render_param *params)
{
    return Real<&mpv_render_context_render>("mpv_render_context_render")(ctx, params);
}

void mpv_render_context_free(mpv_render_context *ctx)
{
    Real<&mpv_render_context_free>("mpv_render_context_free")(ctx);
}

} // extern "C"
