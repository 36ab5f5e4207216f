#include "bench/bench_setup.h"

#include <psapi.h>

#include <cstdlib>
#include <cstring>

#include "support/wine_paths.h"

namespace kestrin::bench {

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--round-file") == 0 && i + 1 < argc) {
            const std::string path = argv[++i];
            options.roundFile = path.starts_with('/') ? test::UnixToWindowsPath(path) : path;
            continue;
        }
        int* target = std::strcmp(argv[i], "--rounds") == 0         ? &options.rounds
                      : std::strcmp(argv[i], "--helpers") == 0      ? &options.helpers
                      : std::strcmp(argv[i], "--idle-seconds") == 0 ? &options.idleSeconds
                      : std::strcmp(argv[i], "--runs") == 0         ? &options.runs
                                                                    : nullptr;
        if (!target || i + 1 >= argc) return false;
        *target = std::atoi(argv[++i]);
        const bool atLeastOne = target == &options.idleSeconds || target == &options.runs;
        if (*target < (atLeastOne ? 1 : 0)) return false;
    }
    return true;
}

std::string TrayPeerPath() { return test::UnixToWindowsPath(KESTRIN_TRAY_PEER); }
std::string PassPeerPath() { return test::UnixToWindowsPath(KESTRIN_PASS_PEER); }
std::string EmptyPeerPath() { return test::UnixToWindowsPath(KESTRIN_EMPTY_PEER); }
std::string SplashTrayPeerPath() { return test::UnixToWindowsPath(KESTRIN_SPLASH_TRAY_PEER); }
std::string OneWindowPeerPath() { return test::UnixToWindowsPath(KESTRIN_ONE_WINDOW_PEER); }
std::string IdleHelperPath() { return test::UnixToWindowsPath(KESTRIN_IDLE_HELPER); }

DWORD_PTR MeasuredProcessors() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return DWORD_PTR{1} << (system.dwNumberOfProcessors - 1);
}

const std::vector<std::string>& ResidentSettings() {
    static const std::vector<std::string> settings{"Timer=60", "MsgBox=0",   "Counter=1", "ManOnce=1",
                                                   "UseHK=1",  "HKShifts=3", "HKChar=75"};
    return settings;
}

const std::vector<std::string>& NothingToDoSettings() {
    static const std::vector<std::string> settings{"Timer=60", "MsgBox=0", "Counter=0", "ManOnce=0", "UseHK=0"};
    return settings;
}

const std::vector<std::string>& OnePassSettings() {
    static const std::vector<std::string> settings{"Timer=0", "MsgBox=0", "Counter=1", "ManOnce=1", "UseHK=0"};
    return settings;
}

size_t ProcessCount() {
    std::vector<DWORD> ids(65536);
    DWORD bytes = 0;
    return EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes) ? bytes / sizeof(DWORD)
                                                                                               : 0;
}

}  // namespace kestrin::bench
