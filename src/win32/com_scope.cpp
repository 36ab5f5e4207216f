#include "win32/com_scope.h"

#include <objbase.h>

#include "win32/main_thread.h"

namespace kestrin {

ComScope::ComScope() noexcept : ole32_("ole32.dll") {
    // The apartment the shell asks its callers for (no OLE 1 over DDE).
    const auto initialize = ole32_.Find<decltype(&::CoInitializeEx)>("CoInitializeEx");
    initialized_ = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

ComScope::~ComScope() {
    if (!initialized_) return;
    if (const auto uninitialize = ole32_.Find<decltype(&::CoUninitialize)>("CoUninitialize")) uninitialize();
}

void StayInApartmentForTheRun() noexcept {
    RequireStartingThread("Kestrin: COM was first held for the run off the main thread.");
    static const ComScope apartment;
}

HRESULT CreateComInstance(REFCLSID type, REFIID iid, void** object) noexcept {
    *object = nullptr;
    // A reference of its own for the call; the scope keeps the library for the object.
    const SystemLibrary ole32("ole32.dll");
    const auto create = ole32.Find<decltype(&::CoCreateInstance)>("CoCreateInstance");
    if (!create) return E_FAIL;
    return create(type, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

}  // namespace kestrin
