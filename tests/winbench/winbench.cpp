// Timings on the real file system (run under Wine by scripts/wine-bench.sh):
// each figure beside a baseline measured in the same run, as a ratio.
//
//   confirm   the confirm step for 10,000 lines, half of them copied from a
//             template, against a plain loop that makes the same file-system
//             calls for the same paths
//   lookup    FindTemplate with 1,000 templates, against one file-existence
//             test (the call that follows every lookup)
//   pattern   the worst-case name pattern against a pattern of the same
//             length without wildcards
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Main.h"
#include "PlainCreate.h"
#include "Utils.h"

namespace {

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void RemoveTree(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string p = dir + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
            else DeleteFileA(p.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(dir.c_str());
}

int kLines = 10000;

std::string LineName(int i) { return "f" + std::to_string(i) + (i % 2 ? ".md" : ".txt"); }


}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    if (argc > 2) kLines = std::max(2, atoi(argv[2]));
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string base = std::string(tmp) + "kvbench" + std::to_string(GetCurrentProcessId());
    RemoveTree(base);
    plat::ForceDirectories(base + "\\Templates");
    {
        HANDLE h = CreateFileA((base + "\\Templates\\%.md").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n;
        WriteFile(h, "# notes\r\n", 9, &n, nullptr);
        CloseHandle(h);
    }

    TfomMain form;
    form.Options->TemplatePath = base + "\\Templates\\";
    form.BuildTemplateList(form.Options->TemplatePath);
    std::string text;
    for (int i = 0; i < kLines; ++i) text += LineName(i) + "\r\n";

    // ---- confirm step against the plain loop, alternating, fresh folders
    std::vector<double> confirm, plain;
    for (int r = 0; r < rounds; ++r) {
        std::string a = base + "\\a" + std::to_string(r), b = base + "\\b" + std::to_string(r);
        plat::ForceDirectories(a);
        plat::ForceDirectories(b);
        form.PanelDir = a + "\\";
        form.mmoFileNames.SetText(text);
        std::vector<std::pair<std::string, std::string>> targets;
        for (int i = 0; i < kLines; ++i) {
            std::string path = b + "\\" + LineName(i);
            targets.push_back({path, form.FindTemplate(path)});
        }
        // Alternate which runs first, so that neither gains from a warmed cache.
        auto runConfirm = [&] {
            double t = Now();
            form.btnOkClick(nullptr);
            return Now() - t;
        };
        auto runPlain = [&] {
            double t = Now();
            for (const auto& target : targets) PlainCreate(target.first, target.second);
            return Now() - t;
        };
        double c = 0, p = 0;
        if (r % 2 == 0) {
            c = runConfirm();
            p = runPlain();
        } else {
            p = runPlain();
            c = runConfirm();
        }
        std::printf("  round %d: confirm step %.3f s, plain loop %.3f s\n", r, c, p);
        std::fflush(stdout);
        confirm.push_back(c);
        plain.push_back(p);
        if (form.CreatedItems.size() != static_cast<size_t>(kLines)) {
            std::printf("confirm step created %u of %d files\n", unsigned(form.CreatedItems.size()), kLines);
            return 1;
        }
        RemoveTree(a);
        RemoveTree(b);
    }
    std::printf("confirm: %d lines, median %.3f s; plain loop %.3f s; ratio %.3f\n", kLines, Median(confirm),
                Median(plain), Median(confirm) / Median(plain));

    // ---- FindTemplate with 1,000 templates
    std::string many = base + "\\Many\\";
    plat::ForceDirectories(many);
    for (int i = 0; i < 1000; ++i) {
        std::string name = many + "proj" + std::to_string(i) + "_%" + (i % 3 ? ".cfg" : "%.ini");
        CloseHandle(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    form.Options->TemplatePath = many;
    form.BuildTemplateList(many);
    const int lookups = 2000;
    std::vector<double> look, exist;
    for (int r = 0; r < 5; ++r) {
        double t0 = Now();
        size_t sink = 0;
        for (int i = 0; i < lookups; ++i) sink += form.FindTemplate(many + "readme" + std::to_string(i) + ".txt").size();
        double t1 = Now();
        for (int i = 0; i < lookups; ++i) sink += plat::FileExists(many + "template" + std::to_string(i) + ".txt");
        double t2 = Now();
        look.push_back((t1 - t0) / lookups);
        exist.push_back((t2 - t1) / lookups);
        if (sink == 1) std::printf(" ");
    }
    std::printf("lookup: %u templates, %.2f us per FindTemplate; one file-existence test %.2f us; ratio %.2f\n",
                unsigned(form.TemplateFiles.size()), Median(look) * 1e6, Median(exist) * 1e6,
                Median(look) / Median(exist));

    // ---- the worst-case pattern
        // The baseline walks the same 40 bytes with one live position.
    std::string name(40, 'a'), worst = "%a%a%a%a%a%a%b", flat = std::string(40, 'a') + "b";
    std::vector<double> w, f;
    const int matches = 20000;
    for (int r = 0; r < 5; ++r) {
        int hits = 0;
        double t0 = Now();
        for (int i = 0; i < matches; ++i) hits += MatchNamePattern(worst, name);
        double t1 = Now();
        for (int i = 0; i < matches; ++i) hits += MatchNamePattern(flat, name);
        double t2 = Now();
        w.push_back((t1 - t0) / matches);
        f.push_back((t2 - t1) / matches);
        if (hits) std::printf("unexpected match\n");
    }
    std::printf("pattern: %s against 40 bytes, %.3f us; a plain 41-byte pattern %.3f us; ratio %.1f\n", worst.c_str(),
                Median(w) * 1e6, Median(f) * 1e6, Median(w) / Median(f));

    RemoveTree(base);
    return 0;
}
