#include "win32/cursors.h"

#include <utility>
#include <vector>

#include "win32/main_thread.h"

namespace kestrin {

namespace {

// A handful of entries at most: looked through in order.
using CursorTable = std::vector<std::pair<int, HCURSOR>>;

CursorTable& Table() {
    static CursorTable table = [] {
        RequireStartingThread("Kestrin: the cursor table was first reached off the main thread.");
        return CursorTable{{crDefault, LoadCursorA(nullptr, IDC_ARROW)}, {crHandPoint, LoadCursorA(nullptr, IDC_HAND)}};
    }();
    return table;
}

HCURSOR* CursorEntry(CursorTable& table, int id) {
    for (auto& [entryId, cursor] : table)
        if (entryId == id) return &cursor;
    return nullptr;
}

}  // namespace

HCURSOR ScreenCursor(int id) {
    auto& table = Table();
    const HCURSOR* cursor = CursorEntry(table, id);
    return cursor && *cursor ? *cursor : *CursorEntry(table, crDefault);
}

void SetScreenCursor(int id, HCURSOR cursor) {
    auto& table = Table();
    if (HCURSOR* entry = CursorEntry(table, id))
        *entry = cursor;
    else
        table.emplace_back(id, cursor);
}

}  // namespace kestrin
