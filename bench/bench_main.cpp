// The benchmark: Kestrin against its peers, side by side, round after round,
// printed as one table (bench_table.h). Run by scripts/bench.sh, a round a
// run with the rounds kept in a file (round_file.h); a short run is the test
// win.bench.EveryRowIsProduced.
//
// Each round measures, in this order: the resident Kestrin, then the tray
// peer (idle CPU, footprint; Kestrin's three dialogs and its hot-key pass);
// passes of Kestrin and of the pass floor side by side; starts to the tray
// icon (against the tray program and the splash tray program) and
// `Kestrin.exe /n` (against the empty program and the one-window program,
// with no pass and with one). Timings are taken a few times a round turn
// about, the round keeping the median of each (turn_about.h), and come from
// the performance counter of this process: a program's start is read just
// before it is created, its other moments as its diagnostic lines arrive
// (debug_output.h), its end as its process handle is signalled.
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
#include "bench/round_file.h"
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
using Values = std::pair<Value, Value>;  // Kestrin's, the peer's

Value FileKb(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return static_cast<double>(data.nFileSizeLow) / 1024.0;
}

using FootprintField = std::function<double(const Footprint&)>;

Value Of(const std::optional<Footprint>& footprint, const FootprintField& field) {
    if (!footprint) return std::nullopt;
    return field(*footprint);
}

Values Of(const TimedPair& pair) { return {pair.kestrin, pair.peer}; }

// What one round measured.
struct Measured {
    ResidentFigures kestrin;
    ResidentFigures peer;
    std::optional<Footprint> splashPeerIdle;
    PassFigures passes;
    StartFigures starts;
};

// A row of the table and how a round's pair is taken for it. The figure is
// also the pair's name in the round file; where it holds "{processes}",
// the count the row names goes in when the table is made.
struct MeasuredRow {
    Row row;
    std::function<Values(const Measured&)> take;
    size_t RoundFigures::*processes = nullptr;
};

constexpr char kProcessesMark[] = "{processes}";

Goal RatioAtMost(double limit) {
    char text[32];
    std::snprintf(text, sizeof text, "<= %.2fx", limit);
    return {Goal::kRatioAtMost, limit, text};
}

double GdiTotal(const Footprint& f) { return f.gdi.Total(); }

std::vector<std::pair<Row, FootprintField>> IdleRows() {
    const Goal none;
    return {
        {{"private bytes, idle", "KB", 0, RatioAtMost(1.3)},
         [](const Footprint& f) { return f.privateBytes / 1024.0; }},
        {{"GDI objects, idle", "count", 0, RatioAtMost(1.5)}, [](const Footprint& f) { return f.gdi.Total(); }},
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
std::vector<std::pair<Row, FootprintField>> DialogRows() {
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

std::vector<MeasuredRow> TableRows(const Options& options) {
    std::vector<MeasuredRow> rows;
    rows.push_back({{"one compaction pass over {processes} processes (peer: the same calls only)", "ms", 1,
                     RatioAtMost(1.05)},
                    [](const Measured& m) { return Values{m.passes.kestrinMs, m.passes.floorMs}; },
                    &RoundFigures::passProcesses});
    for (const auto& [row, field] : IdleRows())
        rows.push_back({row, [field](const Measured& m) { return Values{Of(m.kestrin.idle, field), Of(m.peer.idle, field)}; }});
    // Kestrin's idle GDI objects against a program that shows the same
    // splash and keeps what Wine keeps of it (the dialog frame's brushes,
    // the font): what is left once the splash is paid for.
    rows.push_back({{"GDI objects, idle (peer: splash tray program)", "count", 0, {}},
                    [](const Measured& m) {
                        return Values{Of(m.kestrin.idle, GdiTotal), Of(m.splashPeerIdle, GdiTotal)};
                    }});
    rows.push_back({{"threads after the first automatic pass (hot key, interval set)", "count", 0, {}},
                    [](const Measured& m) {
                        return Values{m.kestrin.threadsAfterPass, m.peer.threadsAfterPass};
                    }});
    rows.push_back({{"size of the program", "KB", 0, {Goal::kKestrinAtMost, 200, "<= 200 KB"}},
                    [](const Measured&) { return Values{FileKb(test::KestrinExePath()), FileKb(TrayPeerPath())}; }});
    rows.push_back({{"start to icon in the tray", "ms", 1, RatioAtMost(1.2)},
                    [](const Measured& m) { return Of(m.starts.toTray); }});
    rows.push_back({{"first window to icon in the tray (peer: splash tray program)", "ms", 1, RatioAtMost(1.3)},
                    [](const Measured& m) { return Of(m.starts.firstWindowToTray); }});
    rows.push_back({{"`/n` start to exit, nothing to do (peer: empty program)", "ms", 1, RatioAtMost(2)},
                    [](const Measured& m) { return Of(m.starts.oneShotEmpty); }});
    rows.push_back({{"`/n` with no pass (peer: one window, no pass)", "ms", 1, RatioAtMost(1.1)},
                    [](const Measured& m) { return Of(m.starts.oneShotNoPass); }});
    rows.push_back({{"`/n` with one pass over {processes} processes (peer: one window, one pass)", "ms", 1,
                     RatioAtMost(1.05)},
                    [](const Measured& m) { return Of(m.starts.oneShotOnePass); },
                    &RoundFigures::onePassProcesses});
    rows.push_back({{"idle CPU over " + std::to_string(options.idleSeconds) + " s (read in 10 ms ticks)",
                     "% of a core", 3, {Goal::kKestrinBelow, 0.05, "< 0.05 %"}},
                    [](const Measured& m) { return Values{m.kestrin.idleCpuPercent, m.peer.idleCpuPercent}; }});
    for (const auto& [row, field] : DialogRows())
        rows.push_back({row, [field](const Measured& m) {
                            return Values{Of(m.kestrin.afterDialogs, field), Of(m.kestrin.beforeDialogs, field)};
                        }});
    return rows;
}

RoundFigures Record(const std::vector<MeasuredRow>& measuredRows, const Measured& measured, size_t helpers) {
    RoundFigures round{helpers, measured.passes.processes, measured.starts.onePassProcesses, {}};
    for (const MeasuredRow& measuredRow : measuredRows) {
        const auto [kestrin, peer] = measuredRow.take(measured);
        if (kestrin && peer) round.pairs.push_back({measuredRow.row.figure, *kestrin, *peer});
    }
    return round;
}

// The table's rows filled from the rounds, with the counts the figures name.
std::vector<Row> Fill(const std::vector<MeasuredRow>& measuredRows, const std::vector<RoundFigures>& rounds) {
    std::vector<Row> rows;
    for (const MeasuredRow& measuredRow : measuredRows) {
        Row row = measuredRow.row;
        size_t processes = 0;
        for (const RoundFigures& round : rounds) {
            for (const FigurePair& pair : round.pairs)
                if (pair.figure == measuredRow.row.figure) row.Add(pair.kestrin, pair.peer);
            if (measuredRow.processes && round.*measuredRow.processes) processes = round.*measuredRow.processes;
        }
        if (const size_t mark = row.figure.find(kProcessesMark); mark != std::string::npos)
            row.figure.replace(mark, sizeof kProcessesMark - 1, std::to_string(processes));
        rows.push_back(std::move(row));
    }
    return rows;
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
        std::fprintf(stderr,
                     "usage: kestrin_bench [--rounds N] [--helpers N] [--idle-seconds N] [--runs N] [--round-file PATH]\n"
                     "       (--rounds 0 measures nothing and shows the rounds of the file)\n");
        return 2;
    }
    const auto kept = options.roundFile.empty() ? std::vector<RoundFigures>{} : ReadRounds(options.roundFile);
    if (!kept) {
        std::fprintf(stderr, "kestrin_bench: %s is no round file\n", options.roundFile.c_str());
        return 2;
    }
    const std::vector<MeasuredRow> measuredRows = TableRows(options);
    std::vector<RoundFigures> rounds = *kept;
    if (options.rounds > 0) {
        test::DebugOutputMonitor monitor;
        if (!monitor.Active()) {
            std::fprintf(stderr, "kestrin_bench: another program receives the debug output of this session\n");
            return 2;
        }
        HelperFleet helpers(options.helpers);
        std::vector<RoundFigures> measured;
        for (int round = 1; round <= options.rounds; ++round) {
            std::fprintf(stderr, "round %zu of %zu\n", kept->size() + round, kept->size() + options.rounds);
            Measured figures;
            figures.kestrin = MeasureKestrin(monitor, options);
            figures.peer = MeasureTrayPeer(monitor, options);
            figures.splashPeerIdle = MeasureSplashPeerIdle(monitor);
            const auto runs = static_cast<size_t>(options.runs);
            figures.passes = MeasurePasses(monitor, runs);
            figures.starts = MeasureStarts(monitor, runs);
            measured.push_back(Record(measuredRows, figures, helpers.Running()));
        }
        test::RemoveIni();
        if (!options.roundFile.empty() && !AppendRounds(options.roundFile, measured)) {
            std::fprintf(stderr, "kestrin_bench: cannot add to %s\n", options.roundFile.c_str());
            return 2;
        }
        rounds.insert(rounds.end(), measured.begin(), measured.end());
    }
    if (rounds.empty()) {
        std::fprintf(stderr, "kestrin_bench: no rounds to show\n");
        return 2;
    }
    const std::vector<Row> rows = Fill(measuredRows, rounds);

    SYSTEMTIME now;
    GetLocalTime(&now);
    std::printf("Kestrin benchmark, %04d-%02d-%02d: %zu rounds, %zu idle helper processes, %s\n\n", now.wYear,
                now.wMonth, now.wDay, rounds.size(), rounds.back().helpers, WineVersion().c_str());
    std::printf("%s\n", FormatTable(rows).c_str());
    std::printf("Peer: the minimal tray program unless the row names another. Ratio: Kestrin / peer, round by "
                "round.\nA time is a round's median of %d runs of each, taken turn about. Goals are judged on the "
                "medians.\n",
                options.runs);
    if (!options.roundFile.empty())
        std::printf("Rounds kept in %s. scripts/bench.sh runs each round in a driver run of its own and restarts "
                    "the Wine harness in between:\nWine's taskbar keeps a tooltip window for every icon ever added, "
                    "and after a few hundred tray starts every window creation is about twice as slow.\n",
                    options.roundFile.c_str());
    for (const Row& r : rows)
        if (r.kestrin.size() != rounds.size()) return 1;
    return 0;
}
