// The GDI and USER counters of tests/support/gui_objects, proved on a
// helper process that makes known numbers of objects: each count must go up
// by exactly what was made, and by nothing when nothing was.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "win32/handles.h"
#include "support/child_process.h"
#include "support/gui_objects.h"
#include "support/wait.h"
#include "support/wine_paths.h"

using namespace kestrin;
using namespace kestrin::test;

namespace {

struct Made {
    int bitmaps = 0, dcs = 0, fonts = 0, brushes = 0, menus = 0, icons = 0, windows = 0;
};

struct Case {
    const char* name;
    Made made;
    GdiObjects gdi;    // expected growth
    UserObjects user;  // expected growth
};

GdiObjects operator-(const GdiObjects& a, const GdiObjects& b) {
    return {a.bitmaps - b.bitmaps, a.dcs - b.dcs, a.fonts - b.fonts, a.brushes - b.brushes, a.other - b.other};
}
UserObjects operator-(const UserObjects& a, const UserObjects& b) {
    return {a.windows - b.windows, a.menus - b.menus, a.icons - b.icons};
}

// The helper process, ended when the object goes.
class Maker {
public:
    explicit Maker(const Made& m)
        : ready_(InheritableEvent()), go_(InheritableEvent()), process_(CommandLine(m), true) {}
    DWORD ProcessId() const { return process_.ProcessId(); }
    bool Ready() const { return WaitForSingleObject(ready_.get(), kGenerousMs) == WAIT_OBJECT_0; }
    void Go() const { SetEvent(go_.get()); }

private:
    std::string CommandLine(const Made& m) const {
        std::string command = Quoted(UnixToWindowsPath(KESTRIN_GUI_OBJECT_MAKER)) + " " + HandleText(ready_.get()) +
                              " " + HandleText(go_.get());
        for (int count : {m.bitmaps, m.dcs, m.fonts, m.brushes, m.menus, m.icons, m.windows})
            command += " " + std::to_string(count);
        return command;
    }

    KernelHandle ready_, go_;
    ChildProcess process_;
};

// Wine keeps one bitmap for each monochrome icon it holds (AND and XOR
// masks in one).
const Case kCases[] = {
    {"nothing", {}, {}, {}},
    {"bitmaps", {.bitmaps = 7}, {.bitmaps = 7}, {}},
    {"DCs", {.dcs = 3}, {.dcs = 3}, {}},
    {"fonts", {.fonts = 2}, {.fonts = 2}, {}},
    {"brushes", {.brushes = 4}, {.brushes = 4}, {}},
    {"menus", {.menus = 5}, {}, {.menus = 5}},
    {"icons", {.icons = 3}, {.bitmaps = 3}, {.icons = 3}},
    {"windows", {.windows = 2}, {}, {.windows = 2}},
    {"everything",
     {.bitmaps = 2, .dcs = 1, .fonts = 1, .brushes = 1, .menus = 1, .icons = 1, .windows = 1},
     {.bitmaps = 3, .dcs = 1, .fonts = 1, .brushes = 1},
     {.windows = 1, .menus = 1, .icons = 1}},
};

}  // namespace

TEST(GuiObjectsE2E, CountsGoUpByWhatWasMade) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Maker maker(c.made);
        ASSERT_NE(maker.ProcessId(), 0u);
        ASSERT_TRUE(maker.Ready());
        const auto gdiBefore = ReadGdiObjects(maker.ProcessId());
        const auto userBefore = ReadUserObjects(maker.ProcessId());
        ASSERT_TRUE(gdiBefore && userBefore);
        maker.Go();
        ASSERT_TRUE(maker.Ready());
        const auto gdiAfter = ReadGdiObjects(maker.ProcessId());
        const auto userAfter = ReadUserObjects(maker.ProcessId());
        ASSERT_TRUE(gdiAfter && userAfter);
        EXPECT_EQ((*gdiAfter - *gdiBefore).ToString(), c.gdi.ToString()) << "before: " << gdiBefore->ToString();
        EXPECT_EQ((*userAfter - *userBefore).ToString(), c.user.ToString()) << "before: " << userBefore->ToString();
        EXPECT_GT(userBefore->windows, 0) << "the helper's own window";
        maker.Go();
    }
}
