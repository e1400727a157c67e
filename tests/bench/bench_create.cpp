// Host timings of the confirm step, the template lookup and the pattern
// matcher, each beside a plain baseline that does the same unavoidable work.
// Before any timing, each pair is run once and must give the same result
// and do the same amount of work; the figures are then printed as ratios
// to their baseline, and a measurement that is missing (filtered out, or
// stopped with an error) fails the run instead of leaving a gap.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
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
const int kTemplateCount = 1000;
const std::string kTemplates = "C:\\Korvalin\\Templates\\";

void Require(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

std::string LinesText() {
    std::string text;
    for (int i = 0; i < kLines; ++i) text += "f" + std::to_string(i) + (i % 2 ? ".md\r\n" : ".txt\r\n");
    return text;
}

bool InWork(const std::string& key) { return key.compare(0, 8, "C:\\WORK\\") == 0; }

// Forgets every file the previous round created under C:\work.
void ClearWork() {
    auto& files = State().files;
    for (auto it = files.lower_bound("C:\\WORK\\"); it != files.end() && InWork(it->first);) it = files.erase(it);
    State().fileTimes.clear();
}

std::map<std::string, std::string> WorkFiles() {
    std::map<std::string, std::string> work;
    for (const auto& f : State().files)
        if (InWork(f.first)) work.insert(f);
    return work;
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

// The same platform calls as the confirm step, with every path and template
// known in advance; the lines are read as the confirm step reads them.
std::size_t PlainConfirm(TfomMain& f, std::vector<std::pair<int, std::string>>& created) {
    static const std::string tmplMd = kTemplates + "%.md", tmplTxt = kTemplates + "template.txt";
    created.clear();
    std::vector<std::string> lines = f.mmoFileNames.Lines(4096);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string path = "C:\\work\\" + lines[i];
        PlainCreate(path, i % 2 ? tmplMd : tmplTxt);
        created.push_back({0, path});
    }
    return created.size();
}

void CheckConfirmPair() {
    auto f = MakeWindow();
    f->btnOkClick(nullptr);
    const auto confirmed = WorkFiles();
    const std::size_t confirmedItems = f->CreatedItems.size();
    f = MakeWindow();
    std::vector<std::pair<int, std::string>> created;
    PlainConfirm(*f, created);
    const auto plain = WorkFiles();
    Require(confirmedItems == static_cast<std::size_t>(kLines) && confirmed.size() == confirmedItems,
            "the confirm step did not create " + std::to_string(kLines) + " files");
    Require(plain == confirmed, "the plain loop did not create the confirm step's files with their contents");
    Require(created.size() == confirmedItems, "the plain loop listed a different number of items");
}

// The confirm step, or the plain loop, on the same window.
void BM_Confirm(benchmark::State& st, bool plain) {
    auto f = MakeWindow();
    std::vector<std::pair<int, std::string>> created;
    for (auto _ : st) {
        st.PauseTiming();
        ClearWork();
        st.ResumeTiming();
        if (plain) benchmark::DoNotOptimize(PlainConfirm(*f, created));
        else f->btnOkClick(nullptr);
    }
    st.SetItemsProcessed(st.iterations() * kLines);
}
BENCHMARK_CAPTURE(BM_Confirm, Step, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Confirm, PlainLoop, true)->Unit(benchmark::kMillisecond);

// What reading the lines alone costs in the in-memory backend: its share of
// the plain loop.
void BM_ReadLinesOnly(benchmark::State& st) {
    auto f = MakeWindow();
    for (auto _ : st) benchmark::DoNotOptimize(f->mmoFileNames.Lines(4096));
}
BENCHMARK(BM_ReadLinesOnly)->Unit(benchmark::kMillisecond);

// 1,000 templates, none of which fits: the walk visits them all.
std::unique_ptr<TfomMain> MakeTemplateWindow() {
    headless::Reset();
    const char* const shapes[][2] = {{"plain", ".txt"}, {"rep%", ".md"}, {"t__", "_.py"}, {"%a%", "%.c"}};
    for (int i = 0; i < kTemplateCount; ++i)
        headless::AddFile(kTemplates + shapes[i % 4][0] + std::to_string(i) + shapes[i % 4][1]);
    return std::make_unique<TfomMain>();
}

const std::string kLookupPath = "C:\\work\\report-of-the-year-2024.doc";

// The cheapest lookup that still looks at every template: each template name
// against the file name, byte by byte in either case up to the first
// difference, and the same path built for the answer. `compared` counts the
// templates it looked at.
std::string PlainLookup(const TfomMain& f, const std::string& path, int& compared) {
    const std::string name = ExtractFileName(path);
    std::string chosen = "template" + ExtractFileExt(path);
    compared = 0;
    for (const auto& t : f.TemplateFiles) {
        ++compared;
        std::size_t k = 0;
        while (k < t.Name.size() && k < name.size() && SameCharIgnoreCase(t.Name[k], name[k])) ++k;
        if (k == t.Name.size() && k == name.size()) {
            chosen = t.Name;
            break;
        }
    }
    return f.Options->TemplatePath + chosen;
}

void CheckLookupPair() {
    auto f = MakeTemplateWindow();
    Require(f->TemplateFiles.size() == static_cast<std::size_t>(kTemplateCount),
            "the template list holds " + std::to_string(f->TemplateFiles.size()) + " names, not " +
                std::to_string(kTemplateCount));
    const std::string name = ExtractFileName(kLookupPath);
    int fitting = 0;
    for (const auto& t : f->TemplateFiles) fitting += MatchNamePattern(t.Name, name);
    Require(fitting == 0, "a template fits the name: FindTemplate would stop before the end of the list");
    int compared = 0;
    const std::string plain = PlainLookup(*f, kLookupPath, compared);
    Require(compared == kTemplateCount, "the plain lookup did not look at every template");
    Require(plain == f->FindTemplate(kLookupPath), "the plain lookup answers " + plain + ", FindTemplate " +
                                                       f->FindTemplate(kLookupPath));
}

void BM_FindTemplate1000(benchmark::State& st) {
    auto f = MakeTemplateWindow();
    for (auto _ : st) benchmark::DoNotOptimize(f->FindTemplate(kLookupPath));
}
BENCHMARK(BM_FindTemplate1000)->Unit(benchmark::kMicrosecond);

void BM_FindTemplate1000Baseline(benchmark::State& st) {
    auto f = MakeTemplateWindow();
    long long compared = 0;
    for (auto _ : st) {
        int n = 0;
        benchmark::DoNotOptimize(PlainLookup(*f, kLookupPath, n));
        compared += n;
    }
    if (compared != static_cast<long long>(st.iterations()) * kTemplateCount)
        st.SkipWithError("the plain lookup skipped templates");
}
BENCHMARK(BM_FindTemplate1000Baseline)->Unit(benchmark::kMicrosecond);

// The longest name a file can have, all 'a'.
const std::string kName(255, 'a');

// Worst case: every '%' stays alive over the whole run of 'a'.
std::string WorstPattern(int pairs) {
    std::string p;
    for (int i = 0; i < pairs; ++i) p += "%a";
    return p + "b";
}
const int kPairs[] = {6, 32, 127};

// Both patterns walk every byte of the name: their answers turn on its last byte.
void CheckPatternPair() {
    const std::string lastB = kName.substr(0, kName.size() - 1) + "b";
    for (int pairs : kPairs) {
        const std::string p = WorstPattern(pairs);
        Require(!MatchNamePattern(p, kName) && MatchNamePattern(p, lastB),
                "the worst-case pattern " + std::to_string(pairs) + " does not walk the whole name");
    }
    Require(MatchNamePattern(kName, kName) && !MatchNamePattern(kName, lastB),
            "the plain pattern does not walk the whole name");
}

void BM_MatchWorst(benchmark::State& st) {
    const std::string pattern = WorstPattern(static_cast<int>(st.range(0)));
    for (auto _ : st) benchmark::DoNotOptimize(MatchNamePattern(pattern, kName));
}
BENCHMARK(BM_MatchWorst)->Arg(kPairs[0])->Arg(kPairs[1])->Arg(kPairs[2]);

// Baseline: a pattern without wildcards, equal to the name: one live
// position over the same 255 bytes.
void BM_MatchLinear(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(MatchNamePattern(kName, kName));
}
BENCHMARK(BM_MatchLinear);

// Keeps each benchmark's processor time per iteration (the machine may be
// shared: the wall clock would count the others' work) while the console
// shows the runs.
class Collector : public benchmark::ConsoleReporter {
public:
    std::map<std::string, std::vector<double>> Times;
    std::vector<std::string> Failed;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type != Run::RT_Iteration) continue;
            if (r.error_occurred) Failed.push_back(r.benchmark_name() + ": " + r.error_message);
            else Times[r.benchmark_name()].push_back(r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit));
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    CheckConfirmPair();
    CheckLookupPair();
    CheckPatternPair();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Collector out;
    benchmark::RunSpecifiedBenchmarks(&out);
    benchmark::Shutdown();

    struct Pair {
        std::string what, measured, baseline;
    };
    std::vector<Pair> pairs = {
        {"confirm step, 10,000 lines, against the plain loop", "BM_Confirm/Step", "BM_Confirm/PlainLoop"},
        {"reading the lines, share of the plain loop", "BM_ReadLinesOnly", "BM_Confirm/PlainLoop"},
        {"FindTemplate, 1,000 templates, against the plain lookup", "BM_FindTemplate1000",
         "BM_FindTemplate1000Baseline"},
    };
    for (int p : kPairs)
        pairs.push_back({"worst-case pattern of " + std::to_string(2 * p + 1) + " bytes, against the plain pattern",
                         "BM_MatchWorst/" + std::to_string(p), "BM_MatchLinear"});

    bool ok = out.Failed.empty();
    for (const std::string& f : out.Failed) std::printf("FAIL %s\n", f.c_str());
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    for (const Pair& p : pairs) {
        auto m = out.Times.find(p.measured), b = out.Times.find(p.baseline);
        if (m == out.Times.end() || b == out.Times.end()) {
            std::printf("FAIL %s: no measurement of %s\n", p.what.c_str(),
                        (m == out.Times.end() ? p.measured : p.baseline).c_str());
            ok = false;
            continue;
        }
        std::printf("ratio %.3f  %s\n", median(m->second) / median(b->second), p.what.c_str());
    }
    return ok ? 0 : 1;
}
