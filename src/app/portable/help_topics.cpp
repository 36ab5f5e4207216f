#include "app/portable/help_topics.h"

namespace kestrin {

HelpCall HelpCallFor(uint16_t command, uint32_t data) {
    if (command != kHelpContextCommand || data == 0) return {command, "", data};
    for (const HelpTopic& topic : kHelpTopics)
        if (topic.Context == data) return {kHhDisplayTopic, std::string("::/") + topic.Page, 0};
    return {kHhDisplayToc, "", 0};
}

}  // namespace kestrin
