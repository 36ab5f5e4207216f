#pragma once
// The process API of the compaction pass, over kernel32 and psapi.
#include "app/portable/compaction_pass.h"

namespace kestrin {

class WindowsProcessSystem final : public ProcessSystem {
public:
    bool EnumProcesses(uint32_t* ids, uint32_t bufferBytes, uint32_t* bytesReturned) override;
    uintptr_t OpenProcess(uint32_t access, uint32_t pid) override;
    bool EnumFirstModule(uintptr_t process, uintptr_t* module) override;
    uint32_t ModuleBaseName(uintptr_t process, uintptr_t module, char* buffer, uint32_t size) override;
    bool GetMemoryInfo(uintptr_t process) override;
    bool EmptyWorkingSet(uintptr_t process) override;
    bool TrimWorkingSet(uintptr_t process) override;
    void CloseProcess(uintptr_t process) override;
};

}  // namespace kestrin
