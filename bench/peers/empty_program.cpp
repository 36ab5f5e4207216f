// The peer of `Kestrin.exe /n` with nothing to do: a program that only
// starts and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
