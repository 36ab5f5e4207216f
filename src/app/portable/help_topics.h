#pragma once
// Which page of the help file a help request opens. The menu item and F1 on
// the controller ask for the table of contents; a dialog's F1 asks for its
// help context, which opens the dialog's own page.
#include <cstdint>
#include <string>

namespace kestrin {

// HtmlHelp commands the program uses.
inline constexpr uint32_t kHhDisplayTopic = 0x0000;
inline constexpr uint32_t kHhDisplayToc = 0x0001;
// The application's help command for a help context (HELP_CONTEXT); the same
// number as HH_DISPLAY_TOC, told apart by its non-zero context.
inline constexpr uint16_t kHelpContextCommand = 0x0001;

// The help contexts of the dialogs and their pages in the help file.
struct HelpTopic {
    uint32_t Context;
    const char* Page;
};
inline constexpr HelpTopic kHelpTopics[] = {
    {18, "shortcut.html"},  // the shortcut dialog
};

// An HtmlHelp call: the command, what follows the file name ("::/page" for a
// topic, "" for the file itself), and the data.
struct HelpCall {
    uint32_t Command;
    std::string FileSuffix;
    uintptr_t Data;
};

// The call for a request of the application's help dispatch. A help context
// opens its page, an unknown one the table of contents; every other request
// goes to HtmlHelp unchanged.
HelpCall HelpCallFor(uint16_t command, uint32_t data);

}  // namespace kestrin
