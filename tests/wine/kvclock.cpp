// The naming menu's dates under the user's own clock: the system's time
// formats, set in the regional settings of the test prefix, behind the
// patterns t, tt and c, applied through the menu by real key presses.
#include "kvdriver.h"

namespace kv {
namespace {

const char* const kInternational = "Control Panel\\International";

// Sets values of the user's regional settings for one case, and puts back
// what was there (removes what was not) when the case ends, failed or not.
class RegionalSettings {
public:
    explicit RegionalSettings(const std::vector<std::pair<std::string, std::string>>& values) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kInternational, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            Check(false, "open HKCU\\" + std::string(kInternational));
            return;
        }
        for (const auto& v : values) {
            Saved s{v.first, false, ""};
            char buf[256] = {};
            DWORD size = sizeof buf - 1, type = 0;
            if (RegQueryValueExA(key_, v.first.c_str(), nullptr, &type, (BYTE*)buf, &size) == ERROR_SUCCESS) {
                s.existed = true;
                s.value = buf;
            }
            saved_.push_back(s);
            RegSetValueExA(key_, v.first.c_str(), 0, REG_SZ, (const BYTE*)v.second.c_str(),
                           (DWORD)v.second.size() + 1);
        }
    }
    ~RegionalSettings() {
        if (!key_) return;
        for (const Saved& s : saved_)
            if (s.existed)
                RegSetValueExA(key_, s.name.c_str(), 0, REG_SZ, (const BYTE*)s.value.c_str(), (DWORD)s.value.size() + 1);
            else
                RegDeleteValueA(key_, s.name.c_str());
        RegCloseKey(key_);
    }
    bool ok() const { return key_ != nullptr; }

private:
    struct Saved {
        std::string name;
        bool existed;
        std::string value;
    };
    HKEY key_ = nullptr;
    std::vector<Saved> saved_;
};

std::string TimeText(const SYSTEMTIME& t, const std::string& format) {
    char b[128] = {};
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, format.c_str(), b, sizeof b);
    return b;
}

std::string ShortDateText(const SYSTEMTIME& t) {
    char b[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, b, sizeof b);
    return b;
}

// Every second from `from` to `to`, whole seconds, as local times: the menu
// renders its dates at one of them.
std::vector<SYSTEMTIME> SecondsBetween(SYSTEMTIME from, const SYSTEMTIME& to) {
    from.wMilliseconds = 0;
    FILETIME a, b;
    SystemTimeToFileTime(&from, &a);
    SystemTimeToFileTime(&to, &b);
    ULARGE_INTEGER i, end;
    i.LowPart = a.dwLowDateTime, i.HighPart = a.dwHighDateTime;
    end.LowPart = b.dwLowDateTime, end.HighPart = b.dwHighDateTime;
    std::vector<SYSTEMTIME> r;
    for (; i.QuadPart <= end.QuadPart && r.size() < 600; i.QuadPart += 10000000ULL) {
        FILETIME f = {i.LowPart, i.HighPart};
        SYSTEMTIME s;
        FileTimeToSystemTime(&f, &s);
        r.push_back(s);
    }
    return r;
}

struct Clock {
    const char* what;
    std::string shortTime, longTime;  // the system's formats, as the case sets them
    bool set;                         // false: the prefix's own, the zh-CN defaults
};

// One date pattern applied as a prefix to "x.txt": 前缀(&P), 日期(&D), the
// `index`-th date, its first entry (nothing between date and name).
void ApplyDate(const Clock& clock, const std::string& pattern, int index) {
    g_case = std::string("clock/") + clock.what + " " + pattern;
    Session s;
    if (!s.Open("[FileList]\r\nInitBySelect=0\r\n[Naming]\r\nTimeFormat=t|tt|c\r\n")) return;
    s.SetLines("x.txt");
    std::vector<WORD> keys = {'P', 'D'};
    keys.insert(keys.end(), index, VK_DOWN);
    keys.insert(keys.end(), {VK_RIGHT, VK_RETURN});
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    bool changed = s.Apply(keys, "date " + pattern);
    GetLocalTime(&after);
    if (!Check(changed, "the line changes")) return;

    const std::string got = s.Text(), format = pattern == "t" ? clock.shortTime : clock.longTime;
    std::string want;
    for (const SYSTEMTIME& t : SecondsBetween(before, after)) {
        want = pattern == "c" ? ShortDateText(t) : TimeText(t, format);
        if (pattern == "c" && (t.wHour || t.wMinute || t.wSecond)) want += " " + TimeText(t, format);
        want += "x.txt";
        if (got == want) break;
    }
    CheckEq(got, want, "the date as the system writes it with " + Show(format));
}

}  // namespace

void CaseClockGroup() {
    const Clock clocks[] = {
        // A Chinese system set to 12 hours for the short time, an English
        // one's order for the long time.
        {"12 hours", "tt h:mm", "h:mm:ss tt", true},
        // The prefix's zh-CN defaults: 24 hours, as before.
        {"24 hours", "HH:mm", "HH:mm:ss", false},
    };
    for (const Clock& c : clocks) {
        g_case = std::string("clock/") + c.what;
        std::vector<std::pair<std::string, std::string>> values;
        if (c.set)
            values = {{"sShortTime", c.shortTime}, {"sTimeFormat", c.longTime}, {"s1159", "上午"}, {"s2359", "下午"}};
        RegionalSettings settings(values);
        if (!settings.ok()) continue;
        if (!c.set) {
            // The wide call: Wine refuses the short time in the ANSI one.
            wchar_t s[64] = {}, l[64] = {};
            GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x79 /* LOCALE_SSHORTTIME */, s, 64);
            GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, l, 64);
            if (!Check(std::wstring(s) == L"HH:mm" && std::wstring(l) == L"HH:mm:ss",
                       "the prefix's time formats are the zh-CN defaults"))
                continue;
        }
        int index = 0;
        for (const char* pattern : {"t", "tt", "c"}) ApplyDate(c, pattern, index++);
    }
}

}  // namespace kv
