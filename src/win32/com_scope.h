#pragma once
// COM for the lifetime of the object: ole32 loaded from the system folder
// and the thread a single-threaded apartment (left again only when the
// entry succeeded). The resident program needs COM only to write shortcuts
// and to open links, so ole32 (over a megabyte once loaded) is not imported.
#include <windows.h>

#include "win32/system_dlls.h"

namespace kestrin {

class ComScope {
public:
    ComScope() noexcept;
    ~ComScope();
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    SystemLibrary ole32_;  // first: unloaded after the uninitialisation
    bool initialized_ = false;
};

// The calling thread, the main one, becomes a single-threaded apartment at
// the first call and stays one until the process ends, which leaves it.
// Before ShellExecute: the verb may be carried out by shell extensions, COM
// objects that may still be at work when the call returns.
void StayInApartmentForTheRun() noexcept;

// CoCreateInstance for an in-process object; inside a ComScope only (the
// object must not outlive it). E_FAIL when COM is not loaded.
HRESULT CreateComInstance(REFCLSID type, REFIID iid, void** object) noexcept;

}  // namespace kestrin
