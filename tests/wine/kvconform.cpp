// The shared table of backend calls (tests/conformance/BackendTable.h)
// against Korvalin's Win32 backend: one PASS or FAIL line per row. The host
// unit tests run the same rows against the headless backend.
//   kvconform.exe --root folder
#include "kvdriver.h"
#undef MessageBox  // <windows.h> would rename the backend's function

#include "../conformance/BackendTable.h"

using namespace kv;

namespace {
// Presses OK on every message box of this thread as soon as it is
// activated, as a user would: the rows see what follows its closing.
LRESULT CALLBACK CloseBoxes(int code, WPARAM wp, LPARAM lp) {
    char cls[16] = "";
    if (code == HCBT_ACTIVATE && GetClassNameA(reinterpret_cast<HWND>(wp), cls, sizeof cls) &&
        strcmp(cls, "#32770") == 0)
        PostMessageA(reinterpret_cast<HWND>(wp), WM_COMMAND, IDOK, 0);
    return CallNextHookEx(nullptr, code, wp, lp);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "--root") {
        fprintf(stderr, "usage: kvconform --root folder\n");
        return 2;
    }
    // The rows start in an empty folder of their own.
    char full[MAX_PATH];
    GetFullPathNameA((std::string(argv[2]) + "\\rows").c_str(), MAX_PATH, full, nullptr);
    const std::string root = full;
    g_case = "conformance";
    if (!Check(plat::ForceDirectories(root) && plat::SetCurrentDir(root), "an empty folder for the rows", root))
        return 1;
    std::vector<plat::DirEntry> entries;
    if (!Check(plat::ListDirectory(root, entries) && entries.size() == 2, "the folder for the rows is empty", root))
        return 1;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CloseBoxes, nullptr, GetCurrentThreadId());
    if (!Check(hook != nullptr, "a hook that closes the message boxes")) return 1;
    conformance::Windows windows;
    for (const conformance::Row& row : conformance::Rows())
        CheckEq(conformance::Run(row, root, windows), row.want, row.what);
    UnhookWindowsHookEx(hook);
    printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed ? 1 : 0;
}
