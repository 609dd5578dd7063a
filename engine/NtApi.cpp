#include "engine/NtApi.h"

namespace engine::nt {

namespace {

template <class Function> void lookUp(HMODULE ntdll, const char* name, Function& function) {
    // Through void* because a function pointer cast between unrelated types is what warns.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)));
}

Api load() {
    Api api{};
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll)
        return api;
    lookUp(ntdll, "NtCreateFile", api.createFile);
    lookUp(ntdll, "NtQueryDirectoryFile", api.queryDirectoryFile);
    lookUp(ntdll, "NtQueryInformationFile", api.queryInformationFile);
    lookUp(ntdll, "NtSetInformationFile", api.setInformationFile);
    lookUp(ntdll, "NtQueryObject", api.queryObject);
    api.wine = GetProcAddress(ntdll, "wine_get_version") != nullptr;
    return api;
}

} // namespace

const Api& Ntdll() {
    static const Api api = load();
    return api;
}

} // namespace engine::nt
