#include "win32/wine.h"

#include "win32/system_dlls.h"

namespace kestrin {

bool RunningUnderWine() noexcept {
    return FindLoadedExport<const char*(__cdecl*)()>("ntdll.dll", "wine_get_version") != nullptr;
}

}  // namespace kestrin
