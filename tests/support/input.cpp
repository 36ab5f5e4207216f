#include "support/input.h"

#include <vector>

namespace kestrin::test {

namespace {
INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}
}  // namespace

void SendKeyChord(std::initializer_list<WORD> modifiers, WORD key) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto it = modifiers.end(); it != modifiers.begin();) inputs.push_back(KeyInput(*--it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendKey(WORD key) { SendKeyChord({}, key); }

void TypeUnits(std::wstring_view units) {
    std::vector<INPUT> inputs(units.size() * 2);
    for (size_t i = 0; i < inputs.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wScan = units[i / 2];
        inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {
INPUT MoveInput(int x, int y) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535 + w / 2) / (w - 1);
    in.mi.dy = (y * 65535 + h / 2) / (h - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}
}  // namespace

void MoveMouseTo(int x, int y) {
    INPUT in = MoveInput(x, y);
    SendInput(1, &in, sizeof(INPUT));
}

void ClickAt(int x, int y, bool right) {
    INPUT in[3] = {};
    in[0] = MoveInput(x, y);
    // The press and the release carry the position too: without MOVE their
    // coordinates are ignored, and they would land wherever the system has
    // got to with the move (under Wine, now and then the previous point).
    in[1] = in[0];
    in[1].mi.dwFlags |= right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[2] = in[0];
    in[2].mi.dwFlags |= right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    // Every event carries its own position, so the three need no pause.
    SendInput(3, in, sizeof(INPUT));
}

}  // namespace kestrin::test
