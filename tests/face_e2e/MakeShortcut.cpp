// Saves a shortcut through the shell: MakeShortcut <link file> <target>. Used to lay out
// orphaned shortcuts for the screenshots.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    int rc = 1;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->SetPath(argv[2])) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            std::wstring path(MAX_PATH, L'\0');
            const int n = MultiByteToWideChar(CP_ACP, 0, argv[1], -1, path.data(), MAX_PATH);
            if (n > 0 && SUCCEEDED(file->Save(path.c_str(), TRUE)))
                rc = 0;
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return rc;
}
