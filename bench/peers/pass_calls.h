#pragma once
// The floor of a compaction pass, shared by the peers that make one: the
// calls Kestrin's pass makes (SweepProcesses in
// src/app/portable/compaction_pass.cpp through
// src/app/windows_process_system.cpp), with the same arguments and in the
// same order for each process, and nothing around them (the process IDs are
// taken as the system lists them; Kestrin sorts them first). Written around
// with the same diagnostic lines as Kestrin's pass ("Kestrin: pass start",
// "Kestrin: pass end"), so that the benchmark sees both the same way.

namespace kestrin::peers {

void TracedPass();

}  // namespace kestrin::peers
