#include "support/relay_trace.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string_view>

#include "support/wine_paths.h"

namespace kestrin::test {

namespace {

constexpr char kDebugKey[] = "Software\\Wine\\Debug";
constexpr char kDebugVariable[] = "WINEDEBUG";

std::string Variable(const char* name) {
    char value[256] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? std::string(value, length) : std::string();
}

// "Name(1,2,3) ..." from after "Call ": the name, and the arguments in hexadecimal.
RelayCall ParseCall(std::string_view text) {
    const size_t open = text.find('(');
    RelayCall call{std::string(text.substr(0, open)), {}, 0};
    std::string arguments(text.substr(open + 1, text.find(')') - open - 1));
    std::replace(arguments.begin(), arguments.end(), ',', ' ');
    std::istringstream in(arguments);
    for (unsigned long value; in >> std::hex >> value;) call.arguments.push_back(value);
    return call;
}

}  // namespace

RelayTrace::RelayTrace(const std::string& functions) : previousDebug_(Variable(kDebugVariable)) {
    const std::string output = Variable("KESTRIN_RUN_OUTPUT");
    if (!output.empty()) path_ = UnixToWindowsPath(output);
    RegSetKeyValueA(HKEY_CURRENT_USER, kDebugKey, "RelayInclude", REG_SZ, functions.c_str(),
                    static_cast<DWORD>(functions.size() + 1));
    // With the process ID on every line, so that each program's calls can be told apart.
    SetEnvironmentVariableA(kDebugVariable, "+pid,+relay");
}

RelayTrace::~RelayTrace() {
    SetEnvironmentVariableA(kDebugVariable, previousDebug_.empty() ? nullptr : previousDebug_.c_str());
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kDebugKey, "RelayInclude");
}

std::vector<RelayCall> RelayTrace::Calls(DWORD processId) const {
    // Lines "pid:tid:Call DLL.Name(args) ret=..." and "pid:tid:Ret  DLL.Name() retval=... ret=...".
    std::istringstream text(ReadFileBytes(path_));
    std::map<unsigned long, std::vector<RelayCall>> pending;  // by thread, the calls not yet returned
    std::vector<RelayCall> calls;
    for (std::string line; std::getline(text, line);) {
        unsigned long process = 0, thread = 0;
        int prefix = 0;
        if (std::sscanf(line.c_str(), "%lx:%lx:%n", &process, &thread, &prefix) != 2 || process != processId)
            continue;
        const std::string_view rest = std::string_view(line).substr(prefix);
        std::vector<RelayCall>& open = pending[thread];
        if (rest.starts_with("Call ") && rest.find('(') != std::string_view::npos) {
            open.push_back(ParseCall(rest.substr(5)));
        } else if (rest.starts_with("Ret  ") && !open.empty() && rest.substr(5).starts_with(open.back().function + "(")) {
            const size_t value = rest.find("retval=");
            if (value != std::string_view::npos)
                open.back().result = std::strtoul(std::string(rest.substr(value + 7)).c_str(), nullptr, 16);
            calls.push_back(std::move(open.back()));
            open.pop_back();
        }
    }
    return calls;
}

}  // namespace kestrin::test
