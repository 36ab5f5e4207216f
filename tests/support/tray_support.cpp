#include "support/tray_support.h"

#include <algorithm>
#include <mutex>

#include "support/control_host.h"
#include "support/screenshot.h"
#include "tray/tray_icon.h"
#include "tray/portable/mouse_rules.h"

namespace kestrin::test {

namespace {

struct RecorderState {
    std::mutex mutex;
    std::vector<ShellCall> calls;
    bool forward = false;
    unsigned failing = 0;  // bit n: message n is refused
};

RecorderState& State() {
    static RecorderState state;
    return state;
}

BOOL WINAPI Record(DWORD message, PNOTIFYICONDATAA data) {
    RecorderState& state = State();
    ShellCall call;
    call.message = message;
    call.cbSize = data->cbSize;
    call.window = data->hWnd;
    call.id = data->uID;
    call.flags = data->uFlags;
    call.callbackMessage = data->uCallbackMessage;
    call.icon = data->hIcon;
    call.colour = IconColour(data->hIcon);
    call.tip.assign(data->szTip, strnlen(data->szTip, sizeof data->szTip));
    call.threadId = GetCurrentThreadId();
    bool forward;
    {
        std::lock_guard lock(state.mutex);
        forward = state.forward;
        call.result = message >= 32 || (state.failing & (1u << message)) == 0;
    }
    if (forward) call.result = Shell_NotifyIconA(message, data) != FALSE;
    std::lock_guard lock(state.mutex);
    state.calls.push_back(call);
    return call.result ? TRUE : FALSE;
}

}  // namespace

ShellRecorder::ShellRecorder(Mode mode) {
    {
        std::lock_guard lock(State().mutex);
        State().calls.clear();
        State().forward = mode == Forward;
        State().failing = 0;
    }
    previous_ = SetShellNotifyFunction(&Record);
}

ShellRecorder::~ShellRecorder() { SetShellNotifyFunction(previous_); }

std::vector<ShellCall> ShellRecorder::Calls() const {
    std::lock_guard lock(State().mutex);
    return State().calls;
}

std::vector<ShellCall> ShellRecorder::Calls(DWORD message) const {
    std::vector<ShellCall> result;
    for (const ShellCall& call : Calls())
        if (call.message == message) result.push_back(call);
    return result;
}

size_t ShellRecorder::Count(DWORD message) const { return Calls(message).size(); }

void ShellRecorder::Clear() {
    std::lock_guard lock(State().mutex);
    State().calls.clear();
}

void ShellRecorder::Fail(DWORD message) {
    std::lock_guard lock(State().mutex);
    if (message < 32) State().failing |= 1u << message;
}

void ShellRecorder::FailNone() {
    std::lock_guard lock(State().mutex);
    State().failing = 0;
}

IconHandle SolidIcon(uint32_t colour, int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    BitmapHandle colourBitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colourBitmap || !bits) return {};
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int i = 0; i < size * size; ++i) pixels[i] = 0xFF000000u | (colour & 0xFFFFFF);
    // An all-zero mask: every pixel shows the colour.
    std::vector<uint8_t> maskBits(static_cast<size_t>(((size + 15) / 16) * 2 * size), 0);
    BitmapHandle mask(CreateBitmap(size, size, 1, 1, maskBits.data()));
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colourBitmap.get();
    icon.hbmMask = mask.get();
    return IconHandle(CreateIconIndirect(&icon));
}

uint32_t IconColour(HICON icon) {
    if (!icon) return 0xFFFFFFFF;
    constexpr int kSize = 16;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDC screen(nullptr);
    BitmapHandle target(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!target || !bits) return 0xFFFFFFFF;
    UniqueHandle<NullHandleTraits<HDC, DeleteDC>> dc(CreateCompatibleDC(screen.get()));
    {
        SelectGuard select(dc.get(), target.get());
        DrawIconEx(dc.get(), 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL);
        GdiFlush();
    }
    return static_cast<const uint32_t*>(bits)[kSize / 2 * kSize + kSize / 2] & 0xFFFFFF;
}

bool TrayOwnerForm::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == TTrayIcon::TaskbarCreatedMessage()) {
        ++TaskbarCreatedSeen;
        if (Icon) Icon->HandleTaskbarCreated();
    }
    return false;
}

std::vector<std::string> ErrorCatcher::Messages() const {
    std::vector<std::string> texts;
    for (const ShownError& error : shown_) texts.push_back(error.text);
    return texts;
}

HWND FindCallbackWindow(HWND owner) { return FindWindowExA(owner, nullptr, "TCallbackWindow", nullptr); }

void PostTrayNotification(HWND callbackWindow, uint32_t id, UINT mouseMessage) {
    PostMessageA(callbackWindow, kTrayCallbackMessage, id, static_cast<LPARAM>(mouseMessage));
    PumpMessages();
}

POINT FindColourInTaskbar(uint32_t colour) {
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT area{};
    if (!taskbar || !GetWindowRect(taskbar, &area) || area.right <= area.left || area.bottom <= area.top)
        return {-1, -1};
    const Capture shot = CaptureScreen(area);
    for (int x = shot.width - 1; x >= 0; --x) {
        for (int y = 0; y < shot.height; ++y) {
            if (shot.At(x, y) != colour) continue;
            // The right edge of the picture: walk to its left and bottom edges.
            int left = x;
            while (left > 0 && shot.At(left - 1, y) == colour) --left;
            int bottom = y;
            while (bottom + 1 < shot.height && shot.At(x, bottom + 1) == colour) ++bottom;
            return {area.left + (left + x) / 2, area.top + (y + bottom) / 2};
        }
    }
    return {-1, -1};
}

POINT LocateTrayIcon(HWND window, UINT id, DWORD timeoutMs) {
    NOTIFYICONIDENTIFIER identifier{};
    identifier.cbSize = sizeof identifier;
    identifier.hWnd = window;
    identifier.uID = id;
    RECT rect{};
    if (SUCCEEDED(Shell_NotifyIconGetRect(&identifier, &rect)))
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

    // Colours an icon keeps exactly on the taskbar, and unlikely on it.
    uint32_t marker = 0xFFFFFFFF;
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT area{};
    if (!taskbar || !GetWindowRect(taskbar, &area)) return {-1, -1};
    const Capture shot = CaptureScreen(area);
    for (uint32_t candidate : {0x13C957u, 0xC95713u, 0x5713C9u, 0x2B8E6Au}) {
        if (std::find(shot.pixels.begin(), shot.pixels.end(), candidate) != shot.pixels.end()) continue;
        marker = candidate;
        break;
    }
    if (marker == 0xFFFFFFFF) return {-1, -1};
    IconHandle picture = SolidIcon(marker);
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_ICON;
    data.hIcon = picture.get();
    if (!Shell_NotifyIconA(NIM_MODIFY, &data)) return {-1, -1};
    POINT spot{-1, -1};
    WaitFor([&] { return (spot = FindColourInTaskbar(marker)).x >= 0; }, timeoutMs);
    return spot;
}

}  // namespace kestrin::test
