// TfomMain: the template directory, its list of templates and the lookup.
#include <algorithm>
#include <cstring>

#include "Main.h"
#include "Utils.h"

namespace {
// Names compared as unsigned bytes; a prefix sorts first.
bool NameBefore(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    return c != 0 ? c < 0 : a.size() < b.size();
}

std::string JoinDir(const std::string& dir, const std::string& name) {
    return EndsWithBackslash(dir) ? dir + name : dir + "\\" + name;
}
}  // namespace

void TfomMain::SetupTemplateDir() {
    std::string& dir = Options->TemplatePath;
    if (dir.empty())
        dir = AppDir + "Templates\\";
    else if (!EndsWithBackslash(dir))  // a trailing double-byte character may end in 0x5C
        dir += '\\';
    if (!plat::DirectoryExists(dir)) plat::ForceDirectories(dir);
    BuildTemplateList(dir);
}

void TfomMain::BuildTemplateList(const std::string& dir) {
    TemplateFiles.clear();
    std::vector<plat::DirEntry> entries;
    // A directory that cannot be read just has no templates.
    if (!plat::ListDirectory(dir, entries)) return;
    for (const plat::DirEntry& e : entries) {
        if (e.IsDirectory || e.Name.empty() || e.Name == "." || e.Name == "..") continue;
        TemplateFile t;
        t.Name = e.Name;
        float len = static_cast<float>(e.Name.size());
        t.WildShare = static_cast<float>(CountChar(e.Name, '%')) / len;
        t.AnyShare = static_cast<float>(CountChar(e.Name, '_')) / len;
        TemplateFiles.push_back(t);
    }
    // Plain names first, the most general patterns last.
    std::sort(TemplateFiles.begin(), TemplateFiles.end(), [](const TemplateFile& a, const TemplateFile& b) {
        if (a.WildShare != b.WildShare) return a.WildShare < b.WildShare;
        if (a.AnyShare != b.AnyShare) return a.AnyShare < b.AnyShare;
        return NameBefore(a.Name, b.Name);
    });
}

std::string TfomMain::FindTemplate(const std::string& path) const {
    std::string name = ExtractFileName(path);
    std::string chosen = "template" + ExtractFileExt(path);
    for (const TemplateFile& t : TemplateFiles)
        if (MatchNamePattern(t.Name, name)) {
            chosen = t.Name;
            break;
        }
    // The current value: the settings dialog may have changed it.
    return JoinDir(Options ? Options->TemplatePath : std::string(), chosen);
}
