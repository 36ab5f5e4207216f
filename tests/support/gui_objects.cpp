#include "support/gui_objects.h"

#include <winternl.h>

#include <vector>

#include "win32/handles.h"
#include "support/remote_thread.h"
#include "support/user_object_counts.h"
#include "support/wine_paths.h"

namespace kestrin::test {

namespace {

// One entry of the GDI handle table (GDI_HANDLE_ENTRY).
#pragma pack(push, 1)
struct GdiHandleEntry {
    unsigned long long object;
    ULONG owner;
    USHORT unique;  // bits 0-6 the object's full kind, bit 7 the stock flag, then a generation
    UCHAR type;     // the base kind; 0 for a free entry
    UCHAR flags;
    unsigned long long userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiHandleEntry) == 24);

constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kPebGdiTableOffset = 0x94;  // 32-bit PEB
// Under WoW64 the table is named only in the process's 64-bit PEB, a page
// below its 32-bit one; the 32-bit PEB's field stays 0.
constexpr uintptr_t kWow64PebDistance = 0x1000;
constexpr size_t kPeb64GdiTableOffset = 0xF8;
constexpr USHORT kStockFlag = 0x80;
constexpr USHORT kKindMask = 0x7F;

// Full kinds of GDI objects (the handle's bits 16-22).
enum GdiKind : USHORT {
    kDc = 0x01,
    kBitmap = 0x09,
    kFont = 0x0A,
    kBrush = 0x10,
    kEnhMetafileDc = 0x21,
    kMemoryDc = 0x41,  // Wine's own kind for a memory DC
    kMetafileDc = 0x66,
};

using QueryInformationProcessFn = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

std::optional<uintptr_t> PebAddress(HANDLE process) {
    const auto query = reinterpret_cast<QueryInformationProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (!query || query(process, 0 /* ProcessBasicInformation */, &basic, sizeof basic, &length) != 0)
        return std::nullopt;
    return reinterpret_cast<uintptr_t>(basic.PebBaseAddress);
}

bool ReadRemote(HANDLE process, uintptr_t address, void* data, size_t bytes) {
    SIZE_T read = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(address), data, bytes, &read) && read == bytes;
}

// The table's address in the process, from whichever PEB names it.
std::optional<uintptr_t> GdiTableAddress(HANDLE process) {
    const auto peb = PebAddress(process);
    BOOL wow64 = FALSE;
    if (!peb || !IsWow64Process(process, &wow64)) return std::nullopt;
    unsigned long long table = 0;  // the 32-bit PEB's field fills its low half
    const bool read = wow64 ? ReadRemote(process, *peb - kWow64PebDistance + kPeb64GdiTableOffset, &table, 8)
                            : ReadRemote(process, *peb + kPebGdiTableOffset, &table, 4);
    if (!read || table == 0 || table > UINTPTR_MAX) return std::nullopt;
    return static_cast<uintptr_t>(table);
}

void Classify(USHORT kind, GdiObjects& objects) {
    switch (kind) {
    case kBitmap: ++objects.bitmaps; break;
    case kDc:
    case kMemoryDc:
    case kEnhMetafileDc:
    case kMetafileDc: ++objects.dcs; break;
    case kFont: ++objects.fonts; break;
    case kBrush: ++objects.brushes; break;
    default: ++objects.other; break;
    }
}

}  // namespace

std::string GdiObjects::ToString() const {
    return std::to_string(Total()) + " (bitmaps " + std::to_string(bitmaps) + ", DCs " + std::to_string(dcs) +
           ", fonts " + std::to_string(fonts) + ", brushes " + std::to_string(brushes) + ", other " +
           std::to_string(other) + ")";
}

std::string UserObjects::ToString() const {
    return std::to_string(Total()) + " (windows " + std::to_string(windows) + ", menus " + std::to_string(menus) +
           ", icons " + std::to_string(icons) + ")";
}

std::optional<GdiObjects> ReadGdiObjects(DWORD processId) {
    KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return std::nullopt;
    const auto table = GdiTableAddress(process.get());
    if (!table) return std::nullopt;
    std::vector<GdiHandleEntry> entries(kGdiTableEntries);
    if (!ReadRemote(process.get(), *table, entries.data(), entries.size() * sizeof(GdiHandleEntry)))
        return std::nullopt;
    GdiObjects objects;
    for (const GdiHandleEntry& entry : entries) {
        if (entry.type == 0 || (entry.unique & kStockFlag)) continue;
        Classify(entry.unique & kKindMask, objects);
    }
    return objects;
}

std::string UserObjectsProbePath() { return UnixToWindowsPath(KESTRIN_USER_PROBE_DLL); }

std::optional<UserObjects> ReadUserObjects(DWORD processId, DWORD timeoutMs) {
    KernelHandle process(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                         PROCESS_VM_READ | PROCESS_VM_WRITE,
                                     FALSE, processId));
    if (!process) return std::nullopt;
    RemoteMemory result(process.get(), sizeof(UserObjectCounts));
    if (!result) return std::nullopt;
    InjectedLibrary probe(process.get(), UserObjectsProbePath(), timeoutMs);
    if (!probe || !probe.Call(kUserProbeEntry, result.Address())) {
        result.Abandon();  // the probe may still write there
        return std::nullopt;
    }
    UserObjectCounts counts;
    if (!result.Read(&counts, sizeof counts) || counts.complete != 1) return std::nullopt;
    return UserObjects{counts.windows, counts.menus, counts.icons};
}

}  // namespace kestrin::test
