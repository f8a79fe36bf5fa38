#include "platform/PrintServerAnswer.h"

#include <cups/ipp.h> // the status values only: nothing of the library is linked

#include <dlfcn.h>

namespace platform {

std::optional<QString> LastServerRefusal() {
    // RTLD_NOLOAD finds the library that Qt's print plugin loaded, and loads nothing else.
    void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (cups == nullptr)
        return std::nullopt;
    using LastError = ipp_status_t (*)();
    using LastErrorString = const char* (*)();
    const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
    const auto lastErrorString =
        reinterpret_cast<LastErrorString>(dlsym(cups, "cupsLastErrorString"));
    std::optional<QString> refusal;
    if (lastError != nullptr && lastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        const char* text = lastErrorString != nullptr ? lastErrorString() : nullptr;
        refusal = text != nullptr ? QString::fromUtf8(text) : QString();
    }
    dlclose(cups); // gives back the reference that dlopen took; the plugin keeps its own
    return refusal;
}

} // namespace platform
