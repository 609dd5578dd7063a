// Per-program Wine settings for the programs a test starts, through the registry key Wine
// reads when a program starts; put back as they were at the end.
#pragma once

#include "tests/support/TestSupport.h"

#include <string>
#include <vector>

namespace helptest {

class WineAppDefaults {
public:
    // Programs named `exeName` started from now on see Windows `version` ("winxp", "win10")
    // and cannot load `disabledDlls`.
    WineAppDefaults(const std::wstring& exeName, const wchar_t* version,
                    const std::vector<std::wstring>& disabledDlls = {})
        : key_(L"Software\\Wine\\AppDefaults\\" + exeName), guard_(key_) {
        testsupport::setText(key_, L"Version", version);
        for (const auto& dll : disabledDlls)
            testsupport::setText(key_ + L"\\DllOverrides", dll, L""); // "": never load it
    }

private:
    std::wstring key_;
    testsupport::RegistryGuard guard_;
};

} // namespace helptest
