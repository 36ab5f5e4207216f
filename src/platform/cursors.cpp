#include "platform/cursors.h"

#include <map>

namespace kestrin {

namespace {

std::map<int, HCURSOR>& Table() {
    static std::map<int, HCURSOR> table{
        {crDefault, LoadCursorA(nullptr, IDC_ARROW)},
        {crHandPoint, LoadCursorA(nullptr, IDC_HAND)},
    };
    return table;
}

}  // namespace

HCURSOR ScreenCursor(int id) {
    const auto& table = Table();
    const auto it = table.find(id);
    return it != table.end() && it->second ? it->second : table.at(crDefault);
}

void SetScreenCursor(int id, HCURSOR cursor) { Table()[id] = cursor; }

}  // namespace kestrin
