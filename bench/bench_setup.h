#pragma once
// What a benchmark run is told and what it starts: its options, the
// programs (Kestrin.exe and its peers, built beside it), and the settings
// Kestrin runs with.
#include <windows.h>

#include <string>
#include <vector>

namespace kestrin::bench {

struct Options {
    int rounds = 3;        // 0: none measured, the round file's shown
    int helpers = 200;     // idle processes for the passes to go through
    int idleSeconds = 30;  // the window over which idle CPU is measured
    int runs = 8;          // timings of each program per round (turn_about.h)
    // Where the rounds are kept (round_file.h): those of this run are added,
    // and the table shows every round there. Empty: only this run's rounds.
    std::string roundFile;
};

// From "--rounds N --helpers N --idle-seconds N --runs N --round-file PATH" (a Unix
// path or a Windows one); false on anything else.
bool ParseOptions(int argc, char** argv, Options& options);

// Full Windows paths of the programs.
std::string TrayPeerPath();
std::string PassPeerPath();
std::string EmptyPeerPath();
std::string SplashTrayPeerPath();
std::string OneWindowPeerPath();
std::string IdleHelperPath();

// Kestrin resident for the benchmark: the interval thread running (60
// minutes, so no automatic pass comes by itself), no notice after a pass,
// one pass a click, the hot key registered.
const std::vector<std::string>& ResidentSettings();
// `Kestrin.exe /n` with nothing to do: no pass at all.
const std::vector<std::string>& NothingToDoSettings();
// `Kestrin.exe /n` with exactly one pass and nothing after it: no interval
// (so the pass ends the user's way, without the automatic way's 1.5 s), no
// notice.
const std::vector<std::string>& OnePassSettings();

// How many processes the system lists now.
size_t ProcessCount();

// The processor every measured program runs on: the same one for Kestrin
// and its peer (the last). Left to the scheduler, a process under Wine makes
// its server calls at a speed that depends on where it lands relative to
// Wine's server, and holds that place for its life: on a loaded two-core
// machine two copies of one program timed turn about differed twofold.
DWORD_PTR MeasuredProcessors();

constexpr DWORD kStartTimeoutMs = 30000;

}  // namespace kestrin::bench
