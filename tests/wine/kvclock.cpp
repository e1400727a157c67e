// The naming menu's dates under the user's own clock: the system's time
// formats, set in the regional settings of the test prefix, behind the
// patterns t, tt and c, applied through the menu by real key presses.
#include "kvcases.h"

namespace kv {
namespace {

// The system's text of `t`: its short date, or its time in `format`.
std::string TimeText(const SYSTEMTIME& t, const std::string& format, bool shortDate = false) {
    char b[128] = {};
    if (shortDate) GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, b, sizeof b);
    else GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, format.c_str(), b, sizeof b);
    return b;
}

// Every second from `from` to `to`, whole seconds, as local times: the menu
// renders its dates at one of them.
std::vector<SYSTEMTIME> SecondsBetween(SYSTEMTIME from, const SYSTEMTIME& to) {
    from.wMilliseconds = 0;
    FILETIME a, b;
    SystemTimeToFileTime(&from, &a);
    SystemTimeToFileTime(&to, &b);
    std::vector<SYSTEMTIME> r;
    for (uint64_t i = U64(a); i <= U64(b) && r.size() < 600; i += 10000000ULL) {
        const FILETIME f = {(DWORD)i, (DWORD)(i >> 32)};
        r.emplace_back();
        FileTimeToSystemTime(&f, &r.back());
    }
    return r;
}

// The system's formats the case sets: a Chinese system's set to 12 hours
// for the short time, an English one's order for the long time. The zh-CN
// defaults, 24 hours, take the same way from the regional settings to the text.
const std::string kShortTime = "tt h:mm", kLongTime = "h:mm:ss tt";

// One date pattern applied as a prefix to "x.txt": 前缀(&P), 日期(&D), the
// `index`-th date, its first entry (nothing between date and name).
void ApplyDate(const std::string& pattern, int index) {
    g_case = "clock/12 hours " + pattern;
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

    const std::string got = s.Text(), format = pattern == "t" ? kShortTime : kLongTime;
    std::string want;
    for (const SYSTEMTIME& t : SecondsBetween(before, after)) {
        want = TimeText(t, format, pattern == "c");
        if (pattern == "c" && (t.wHour || t.wMinute || t.wSecond)) want += " " + TimeText(t, format);
        want += "x.txt";
        if (got == want) break;
    }
    CheckEq(got, want, "the date as the system writes it with " + Show(format));
}

}  // namespace

void CaseClockGroup() {
    g_case = "clock/12 hours";
    UserRegistry settings("Control Panel\\International",
                          {UserRegistry::Text("sShortTime", kShortTime), UserRegistry::Text("sTimeFormat", kLongTime),
                           UserRegistry::Text("s1159", "上午"), UserRegistry::Text("s2359", "下午")});
    if (!Check(settings.ok, "the regional settings are set")) return;
    int index = 0;
    for (const char* pattern : {"t", "tt", "c"}) ApplyDate(pattern, index++);
}

}  // namespace kv
