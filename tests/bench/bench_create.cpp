// Host timings of the confirm step, the template lookup and the pattern
// matcher, each beside a plain baseline that does the same unavoidable work.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "Headless.h"
#include "Main.h"
#include "PlainCreate.h"
#include "Utils.h"

namespace {

using headless::State;

const int kLines = 10000;
const std::string kTemplates = "C:\\Korvalin\\Templates\\";

std::string LinesText() {
    std::string text;
    for (int i = 0; i < kLines; ++i) text += "f" + std::to_string(i) + (i % 2 ? ".md\r\n" : ".txt\r\n");
    return text;
}

// Forgets every file the previous round created under C:\work.
void ClearWork() {
    auto& files = State().files;
    for (auto it = files.lower_bound("C:\\WORK\\"); it != files.end() && it->first.compare(0, 8, "C:\\WORK\\") == 0;)
        it = files.erase(it);
    State().fileTimes.clear();
}

std::unique_ptr<TfomMain> MakeWindow() {
    headless::Reset();
    headless::AddDir("C:\\work");
    State().currentDir = "C:\\work";
    headless::AddFile(kTemplates + "%.md", "# notes");
    auto f = std::make_unique<TfomMain>();
    f->PanelDir = "C:\\work\\";
    f->mmoFileNames.SetText(LinesText());
    return f;
}

void BM_ConfirmStep(benchmark::State& st) {
    auto f = MakeWindow();
    for (auto _ : st) {
        st.PauseTiming();
        ClearWork();
        st.ResumeTiming();
        f->btnOkClick(nullptr);
        benchmark::DoNotOptimize(f->CreatedItems.data());
    }
    st.SetItemsProcessed(st.iterations() * kLines);
}
BENCHMARK(BM_ConfirmStep)->Unit(benchmark::kMillisecond);

// The same platform calls, with every path and template known in advance.
void BM_ConfirmPlainLoop(benchmark::State& st) {
    auto f = MakeWindow();
    const std::string tmplMd = kTemplates + "%.md", tmplTxt = kTemplates + "template.txt";
    std::vector<std::pair<int, std::string>> created;
    for (auto _ : st) {
        st.PauseTiming();
        ClearWork();
        st.ResumeTiming();
        created.clear();
        // The lines are read as the confirm step reads them: one copy of the text.
        std::vector<std::string> lines = f->mmoFileNames.Lines(4096);
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string path = "C:\\work\\" + lines[i];
            PlainCreate(path, i % 2 ? tmplMd : tmplTxt);
            created.push_back({0, path});
        }
        benchmark::DoNotOptimize(created.data());
    }
    st.SetItemsProcessed(st.iterations() * kLines);
}
BENCHMARK(BM_ConfirmPlainLoop)->Unit(benchmark::kMillisecond);

// What reading the lines alone costs in the in-memory backend.
void BM_ReadLinesOnly(benchmark::State& st) {
    auto f = MakeWindow();
    for (auto _ : st) {
        benchmark::DoNotOptimize(f->mmoFileNames.Lines(4096));
    }
}
BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond);

// 1,000 templates, none of which fits: the walk visits them all.
std::unique_ptr<TfomMain> MakeTemplateWindow() {
    headless::Reset();
    for (int i = 0; i < 1000; ++i) {
        std::string n = std::to_string(i);
        switch (i % 4) {
        case 0: headless::AddFile(kTemplates + "plain" + n + ".txt"); break;
        case 1: headless::AddFile(kTemplates + "rep%" + n + ".md"); break;
        case 2: headless::AddFile(kTemplates + "t__" + n + "_.py"); break;
        default: headless::AddFile(kTemplates + "%a%" + n + "%.c"); break;
        }
    }
    return std::make_unique<TfomMain>();
}

void BM_FindTemplate1000(benchmark::State& st) {
    auto f = MakeTemplateWindow();
    const std::string path = "C:\\work\\report-of-the-year-2024.doc";
    for (auto _ : st) benchmark::DoNotOptimize(f->FindTemplate(path));
}
BENCHMARK(BM_FindTemplate1000)->Unit(benchmark::kMicrosecond);

// Baseline: one case-insensitive comparison per template name.
void BM_FindTemplate1000Baseline(benchmark::State& st) {
    auto f = MakeTemplateWindow();
    const std::string name = "report-of-the-year-2024.doc";
    for (auto _ : st) {
        const std::string* hit = nullptr;
        for (const auto& t : f->TemplateFiles) {
            if (t.Name.size() != name.size()) continue;
            size_t k = 0;
            while (k < name.size() && SameCharIgnoreCase(t.Name[k], name[k])) ++k;
            if (k == name.size()) { hit = &t.Name; break; }
        }
        benchmark::DoNotOptimize(hit);
        benchmark::DoNotOptimize(kTemplates + "template.doc");
    }
}
BENCHMARK(BM_FindTemplate1000Baseline)->Unit(benchmark::kMicrosecond);

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// Worst case: every '%' stays alive over a long run of 'a'.
void BM_MatchWorst(benchmark::State& st) {
    const int pairs = static_cast<int>(st.range(0));
    const std::string pattern = Repeat("%a", pairs) + "b";
    const std::string name(255, 'a');
    for (auto _ : st) benchmark::DoNotOptimize(MatchNamePattern(pattern, name));
    st.SetComplexityN(pairs);
}
BENCHMARK(BM_MatchWorst)->Arg(6)->Arg(32)->Arg(127)->Complexity(benchmark::oN);

// Linear baseline: a pattern without wildcards, equal to the name.
void BM_MatchLinear(benchmark::State& st) {
    const std::string name(255, 'a');
    for (auto _ : st) benchmark::DoNotOptimize(MatchNamePattern(name, name));
}
BENCHMARK(BM_MatchLinear);

}  // namespace

BENCHMARK_MAIN();
