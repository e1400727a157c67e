// The ini file as users leave it: saved by Notepad as "Unicode" (UTF-16), or
// held open by another program while Korvalin starts. Each case checks what
// Korvalin does with the options it read and the file's bytes after a run.
#include "kvdialog.h"

namespace kv {
namespace {

// Notepad's "Unicode": UTF-16 little-endian with its mark. The other byte
// order takes the same path through the system's conversions, and the unit
// tests hold both orders to the byte.
std::string Utf16Bytes(const std::string& ansi) {
    std::string out = "\xFF\xFE";
    for (wchar_t c : Wide(ansi)) out += {char(c), char(c >> 8)};
    return out;
}

// The text of a UTF-16 file with its mark, in the ANSI code page; false
// when the file is not such a file.
bool FromUtf16(const std::string& bytes, std::string& text) {
    if (bytes.size() % 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return false;
    std::wstring w;
    for (size_t i = 2; i < bytes.size(); i += 2)
        w += (wchar_t)((unsigned char)bytes[i + 1] << 8 | (unsigned char)bytes[i]);
    text.assign(w.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), &text[0], (int)text.size(), nullptr, nullptr);
    text.resize(n > 0 ? n : 0);
    return true;
}

bool CloseWithEscape(Session& s) {
    bool ended = s.Close();
    HWND box = s.Box();
    Check(box == nullptr, "no error box", box ? Show(ReadBox(box).text) : "");
    if (box) Press(box, IDOK);
    return Check(ended || s.run.KorvalinEnded(5000), "Escape closes the window");
}

void CaseUnicode() {
    const std::string ini =
        "; 设置\r\n[FileList]\r\nConfirmMode=1\r\n[AfterCreate]\r\nOpenMax=7\r\nSleepTime=123\r\n"
        "[Naming]\r\nCommonUse=周报\r\n";
    g_case = "inifile/UTF-16";
    Session s;
    if (!s.Open(Utf16Bytes(ini)) || !CloseWithEscape(s)) return;
    std::string bytes, text;
    ReadAll(s.run.ini, bytes);
    if (!Check(FromUtf16(bytes, text), "the file is still UTF-16 with its mark", Show(bytes.substr(0, 24)))) return;
    const std::vector<IniEntry> entries = ParseIni(text);
    CheckEq(IniValueOf(entries, "FileList", "ConfirmMode"), "1", "ConfirmMode stays 1");
    CheckEq(IniValueOf(entries, "AfterCreate", "OpenMax"), "7", "OpenMax stays 7");
    CheckEq(IniValueOf(entries, "AfterCreate", "SleepTime"), "123", "SleepTime stays 123");
    CheckEq(IniValueOf(entries, "Naming", "CommonUse"), "周报", "the phrase stays");
    Check(Find(entries, "Naming", "TimeFormat") != nullptr, "the missing keys are added");
}

// Another program holds the file open, sharing nothing, while Korvalin
// starts; it lets go after `releaseMs` from the start (0: once the window is
// up). `accept`: the settings dialog is closed with OK before the end.
struct HeldRow {
    const char* name;
    DWORD releaseMs;
    bool accept;
    bool used;       // the file's values are used (window place, OpenMax)
    bool rewritten;  // the file is written at the end
};

void CaseHeld() {
    const std::string ini =
        "[FileList]\r\nConfirmMode=1\r\n[AfterCreate]\r\nOpenMax=7\r\nSleepTime=123\r\n"
        "[Window]\r\nSavePos=1\r\nLeft=100\r\nTop=50\r\n";
    const HeldRow rows[] = {
        {"released within a second", 400, false, true, true},
        {"held until the window is up", 0, false, false, false},
        {"held, then OK in the settings", 0, true, false, true},
    };
    for (const HeldRow& row : rows) {
        g_case = std::string("inifile/") + row.name;
        Session s;
        WriteAll(s.run.ini, ini);
        struct Held {
            HANDLE lock;
            DWORD ms;
            const Run* run;
        } held{CreateFileA(s.run.ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), row.releaseMs,
               &s.run};
        // Let go `ms` after Korvalin's start, while the window is awaited.
        HANDLE releaser = row.releaseMs ? CreateThread(nullptr, 0, [](LPVOID p) -> DWORD {
            auto* h = (Held*)p;
            Poll([&] { return !h->run->LogValue("PID").empty() || !h->run->LogValue("STARTFAILED").empty(); }, 15000);
            Sleep(h->ms);
            CloseHandle(h->lock);
            return 0;
        }, &held, 0, nullptr) : nullptr;
        bool open = s.Open();
        if (releaser) {
            WaitForSingleObject(releaser, INFINITE);
            CloseHandle(releaser);
        } else {
            CloseHandle(held.lock);
        }
        if (!open) continue;
        RECT r = Bounds(s.main);
        if (row.used)
            CheckEq(RectText(r).substr(0, RectText(r).find(' ')), "100,50", "the window opens at the stored place");
        else
            Check(r.left != 100 || r.top != 50, "the stored place is not used", RectText(r));
        if (HWND dlg = row.accept ? OpenSettings(s) : nullptr) {
            BringToFront(dlg);
            Chord({VK_RETURN});
            Check(SettingsClosed(s), "Enter closes it with OK");
        }
        if (!CloseWithEscape(s)) continue;
        std::string after;
        ReadAll(s.run.ini, after);
        if (!row.rewritten) {
            Check(after == ini, "the file is left as it was", Show(after.substr(0, 120)));
            continue;
        }
        const std::vector<IniEntry> entries = ParseIni(after);
        Check(Find(entries, "Naming", "TimeFormat") != nullptr, "the file is written");
        CheckEq(IniValueOf(entries, "AfterCreate", "OpenMax"), row.used ? "7" : "16",
                row.used ? "OpenMax from the file" : "OpenMax as the dialog showed it");
    }
}

}  // namespace

void CaseIniFileGroup() {
    CaseUnicode();
    CaseHeld();
}

}  // namespace kv
