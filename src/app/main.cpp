#include <windows.h>

#include "platform/diagnostics.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    kestrin::Trace("placeholder");
    return 3;
}
