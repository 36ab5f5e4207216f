#include "support/footprint.h"

#include "support/process_resources.h"

namespace kestrin::test {

std::string Footprint::ToString() const {
    return "private bytes " + std::to_string(privateBytes) + ", handles " + std::to_string(handles) + ", threads " +
           std::to_string(threads) + ", GDI " + gdi.ToString() + ", USER " + user.ToString();
}

std::optional<Footprint> ReadFootprint(DWORD processId) {
    const ProcessResources resources = ReadProcessResources(processId);
    const auto gdi = ReadGdiObjects(processId);
    if (resources.handles < 0 || resources.privateBytes == 0 || !gdi) return std::nullopt;
    const auto user = ReadUserObjects(processId);
    if (!user) return std::nullopt;
    return Footprint{resources.privateBytes, resources.handles, resources.threads, *gdi, *user};
}

}  // namespace kestrin::test
