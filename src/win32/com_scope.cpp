#include "win32/com_scope.h"

#include <objbase.h>

namespace kestrin {

ComScope::ComScope() noexcept : ole32_("ole32.dll") {
    const auto initialize = ole32_.Find<decltype(&::CoInitialize)>("CoInitialize");
    initialized_ = initialize && SUCCEEDED(initialize(nullptr));
}

ComScope::~ComScope() {
    if (!initialized_) return;
    if (const auto uninitialize = ole32_.Find<decltype(&::CoUninitialize)>("CoUninitialize")) uninitialize();
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
