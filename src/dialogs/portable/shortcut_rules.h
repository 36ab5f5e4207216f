#pragma once
// The four shortcut files of the shortcut dialog, the flag word that says
// which of them are wanted, and the paths they are written to.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

enum class ShortcutFolder : uint8_t { Startup, Desktop };

struct ShortcutEntry {
    uint32_t Bit;          // its bit in ShortcutFlags (one hexadecimal digit per box)
    ShortcutFolder Folder;
    const char* FileName;  // appended to the folder, leading "\" included
    const char* Arguments; // "" for the resident shortcut
};

// In the order the dialog reconciles them: Startup resident (CB1), desktop
// resident (CB2), Startup one-shot (CB3), desktop one-shot (CB4).
inline constexpr ShortcutEntry kShortcuts[] = {
    {0x0001, ShortcutFolder::Startup, "\\Kestrin.lnk", ""},
    {0x0010, ShortcutFolder::Desktop, "\\Kestrin.lnk", ""},
    {0x0100, ShortcutFolder::Startup, "\\Kestrin(非常駐).lnk", "/n"},
    {0x1000, ShortcutFolder::Desktop, "\\Kestrin(非常駐).lnk", "/n"},
};

inline constexpr char kShortcutDescription[] = "Kestrin";
// The one-shot shortcuts show the program's second icon ("MAINICON2").
inline constexpr int kOneShotIconIndex = 1;

// Longest text (in bytes, terminator not counted) that fits the 261-byte
// buffers the shortcut texts and folder paths are handled in.
inline constexpr size_t kMaxShortcutText = 260;

// The flag word after a click on the box of `bit`: a ticked box sets its
// bit, an unticked one clears its whole digit.
uint32_t ShortcutFlagsAfterClick(uint32_t flags, uint32_t bit, bool checked) noexcept;

// Whether a text fits its buffer whole; a text that does not is refused,
// never cut (a cut path would name another file).
bool FitsShortcutBuffer(std::string_view text) noexcept;

// Folder + file name, or nothing when the folder is unknown (empty: the file
// would land in the root of the current drive) or the path does not fit.
std::optional<std::string> ShortcutPath(std::string_view folder, std::string_view fileName);

}  // namespace kestrin
