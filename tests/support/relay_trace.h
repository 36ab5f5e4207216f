#pragma once
// Wine's relay trace of the programs a test starts, read back: which calls a
// program made into the system's libraries, with their arguments and what
// they returned, seen from outside the program.
//
// Wine writes a process's trace to the Unix standard error it inherits; for
// a test run by wine-run that is the file KESTRIN_RUN_OUTPUT names. While a
// RelayTrace lives, every program this process starts is traced (WINEDEBUG
// in the environment it inherits), for the functions given only (the
// prefix's RelayInclude).
#include <windows.h>

#include <string>
#include <vector>

namespace kestrin::test {

struct RelayCall {
    std::string function;  // as Wine names it: "KERNEL32.OpenProcess", "psapi.EmptyWorkingSet"
    std::vector<unsigned long> arguments;
    unsigned long result = 0;
};

class RelayTrace {
public:
    // `functions`: "DLL.Name" entries separated by ';'.
    explicit RelayTrace(const std::string& functions);
    ~RelayTrace();
    RelayTrace(const RelayTrace&) = delete;
    RelayTrace& operator=(const RelayTrace&) = delete;

    // False when there is no trace to read (the test was not run by wine-run).
    bool Readable() const { return !path_.empty(); }
    // The traced calls of that process, in the order they returned.
    std::vector<RelayCall> Calls(DWORD processId) const;

private:
    std::string path_;
    std::string previousDebug_;
};

}  // namespace kestrin::test
