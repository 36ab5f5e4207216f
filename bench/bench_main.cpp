// The benchmark: Kestrin against its peers, side by side, round after round,
// printed as one table (bench_table.h). Run by scripts/bench.sh; a short run
// is the test win.bench.EveryRowIsProduced.
//
// Each round measures, in this order: the resident Kestrin, then the tray
// peer (idle CPU, footprint; Kestrin's three dialogs and its hot-key pass);
// passes of Kestrin and of the pass floor side by side; starts to the tray
// icon and `Kestrin.exe /n` against the empty program. Timings are taken a
// few times a round turn about, the round keeping the median of each
// (turn_about.h), and come from the performance counter of this process: a
// program's start is read just before it is created, its other moments as
// its diagnostic lines arrive (debug_output.h), its end as its process
// handle is signalled.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_setup.h"
#include "bench/bench_table.h"
#include "bench/helper_fleet.h"
#include "bench/pass_figures.h"
#include "bench/resident_figures.h"
#include "bench/start_figures.h"
#include "bench/turn_about.h"
#include "support/debug_output.h"
#include "support/kestrin_env.h"
#include "support/kestrin_process.h"

using namespace kestrin;
using namespace kestrin::bench;
using test::Footprint;

namespace {

using Value = std::optional<double>;

Value FileKb(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

template <typename Field>
Value Of(const std::optional<Footprint>& footprint, Field field) {
    if (!footprint) return std::nullopt;
    return static_cast<double>(field(*footprint));
}

// A figure of the footprint, taken from Kestrin's and the peer's figures.
struct FootprintRow {
    Row row;
    std::function<double(const Footprint&)> field;
};

Goal RatioAtMost(double limit) {
    char text[32];
    std::snprintf(text, sizeof text, "<= %.2fx", limit);
    return {Goal::kRatioAtMost, limit, text};
}

std::vector<FootprintRow> IdleRows() {
    const Goal none;
    return {
        {{"private bytes, idle", "KB", 0, RatioAtMost(1.3)},
         [](const Footprint& f) { return f.privateBytes / 1024.0; }},
        {{"GDI objects, idle", "count", 0, RatioAtMost(2)}, [](const Footprint& f) { return f.gdi.Total(); }},
        {{"- bitmaps", "count", 0, none}, [](const Footprint& f) { return f.gdi.bitmaps; }},
        {{"- DCs", "count", 0, none}, [](const Footprint& f) { return f.gdi.dcs; }},
        {{"- fonts", "count", 0, none}, [](const Footprint& f) { return f.gdi.fonts; }},
        {{"- brushes", "count", 0, none}, [](const Footprint& f) { return f.gdi.brushes; }},
        {{"- other (pens, regions, ...)", "count", 0, none}, [](const Footprint& f) { return f.gdi.other; }},
        {{"USER objects, idle", "count", 0, RatioAtMost(2)}, [](const Footprint& f) { return f.user.Total(); }},
        {{"- windows", "count", 0, none}, [](const Footprint& f) { return f.user.windows; }},
        {{"- menus", "count", 0, none}, [](const Footprint& f) { return f.user.menus; }},
        {{"- icons and cursors", "count", 0, none}, [](const Footprint& f) { return f.user.icons; }},
        {{"kernel handles, idle", "count", 0, none}, [](const Footprint& f) { return f.handles; }},
    };
}

// After the three dialogs, against the same Kestrin's idle figures (its
// private bytes read again after the idle USER count: ResidentFigures).
std::vector<FootprintRow> DialogRows() {
    const Goal sameBytes{Goal::kSameAsPeer, 0.005, "= idle (0.5 %)"};
    const Goal same{Goal::kSameAsPeer, 0, "= idle"};
    const Goal none;
    return {
        {{"after the 3 dialogs: private bytes (peer: idle)", "KB", 0, sameBytes},
         [](const Footprint& f) { return f.privateBytes / 1024.0; }},
        {{"after the 3 dialogs: GDI objects (peer: idle)", "count", 0, same},
         [](const Footprint& f) { return f.gdi.Total(); }},
        {{"- bitmaps, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.gdi.bitmaps; }},
        {{"- DCs, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.gdi.dcs; }},
        {{"- fonts, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.gdi.fonts; }},
        {{"- brushes, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.gdi.brushes; }},
        {{"- other (pens, regions, ...), after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.gdi.other; }},
        {{"after the 3 dialogs: USER objects (peer: idle)", "count", 0, same},
         [](const Footprint& f) { return f.user.Total(); }},
        {{"- windows, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.user.windows; }},
        {{"- menus, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.user.menus; }},
        {{"- icons and cursors, after the dialogs", "count", 0, none}, [](const Footprint& f) { return f.user.icons; }},
        {{"after the 3 dialogs: kernel handles (peer: idle)", "count", 0, same},
         [](const Footprint& f) { return f.handles; }},
    };
}

std::string WineVersion() {
    using VersionFn = const char*(CDECL*)();
    const auto version = reinterpret_cast<VersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return version ? std::string("Wine ") + version() : "Windows";
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: kestrin_bench [--rounds N] [--helpers N] [--idle-seconds N]\n");
        return 2;
    }
    test::DebugOutputMonitor monitor;
    if (!monitor.Active()) {
        std::fprintf(stderr, "kestrin_bench: another program receives the debug output of this session\n");
        return 2;
    }
    HelperFleet helpers(options.helpers);

    Row pass{"one compaction pass (peer: the same calls only)", "ms", 1, RatioAtMost(1.05)};
    std::vector<FootprintRow> idleRows = IdleRows();
    Row threads{"threads after the first automatic pass (hot key, interval set)", "count", 0, {}};
    Row size{"size of the program", "KB", 0, {Goal::kKestrinAtMost, 200, "<= 200 KB"}};
    Row startToTray{"start to icon in the tray", "ms", 1, RatioAtMost(1.2)};
    Row oneShot{"`/n` start to exit, nothing to do (peer: empty program)", "ms", 1, RatioAtMost(2)};
    Row idleCpu{"idle CPU over " + std::to_string(options.idleSeconds) + " s (read in 10 ms ticks)", "% of a core", 3,
                {Goal::kKestrinBelow, 0.05, "< 0.05 %"}};
    std::vector<FootprintRow> dialogRows = DialogRows();

    size_t processes = 0;
    for (int round = 1; round <= options.rounds; ++round) {
        std::fprintf(stderr, "round %d of %d\n", round, options.rounds);
        const ResidentFigures kestrin = MeasureKestrin(monitor, options);
        const ResidentFigures peer = MeasureTrayPeer(monitor, options);
        const PassFigures passes = MeasurePasses(monitor);
        const StartFigures starts = MeasureStarts(monitor);

        pass.Add(passes.kestrinMs, passes.floorMs);
        if (passes.processes) processes = passes.processes;
        for (FootprintRow& r : idleRows) r.row.Add(Of(kestrin.idle, r.field), Of(peer.idle, r.field));
        threads.Add(kestrin.threadsAfterPass, peer.threadsAfterPass);
        size.Add(FileKb(test::KestrinExePath()), FileKb(TrayPeerPath()));
        startToTray.Add(starts.kestrinToTrayMs, starts.peerToTrayMs);
        oneShot.Add(starts.kestrinOneShotMs, starts.emptyMs);
        idleCpu.Add(kestrin.idleCpuPercent, peer.idleCpuPercent);
        for (FootprintRow& r : dialogRows)
            r.row.Add(Of(kestrin.afterDialogs, r.field), Of(kestrin.beforeDialogs, r.field));
    }
    test::RemoveIni();

    pass.figure = "one compaction pass over " + std::to_string(processes) +
                  " processes (peer: the same calls only)";
    std::vector<Row> rows{pass};
    for (const FootprintRow& r : idleRows) rows.push_back(r.row);
    for (const Row& r : {threads, size, startToTray, oneShot, idleCpu}) rows.push_back(r);
    for (const FootprintRow& r : dialogRows) rows.push_back(r.row);

    SYSTEMTIME now;
    GetLocalTime(&now);
    std::printf("Kestrin benchmark, %04d-%02d-%02d: %d rounds, %zu idle helper processes, %s\n\n", now.wYear,
                now.wMonth, now.wDay, options.rounds, helpers.Running(), WineVersion().c_str());
    std::printf("%s\n", FormatTable(rows).c_str());
    std::printf("Peer: the minimal tray program unless the row names another. Ratio: Kestrin / peer, round by "
                "round.\nA time is a round's median of %zu runs of each, taken turn about. Goals are judged on the "
                "medians.\n",
                kTimingsPerRound);
    for (const Row& r : rows)
        if (r.kestrin.size() != static_cast<size_t>(options.rounds)) return 1;
    return 0;
}
