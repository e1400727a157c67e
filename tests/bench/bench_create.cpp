// Host timings of the confirm step and the pattern matcher, each beside a
// plain baseline that does the same unavoidable work. The template lookup is
// timed on the real file system (tests/winbench), beside the file-existence
// test that follows every lookup.
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
const std::string kTemplates = "C:\\Korvalin\\Templates\\";

void Require(bool ok, const std::string& what) {
    if (ok) return;
    std::fprintf(stderr, "bench: %s\n", what.c_str());
    std::exit(1);
}

std::map<std::string, std::string> WorkFiles() {
    std::map<std::string, std::string> work;
    for (const auto& f : State().files)
        if (f.first.compare(0, 8, "C:\\WORK\\") == 0) work.insert(f);
    return work;
}

std::unique_ptr<TfomMain> MakeWindow() {
    headless::Reset();
    headless::AddDir("C:\\work");
    State().currentDir = "C:\\work";
    headless::AddFile(kTemplates + "%.md", "# notes");
    auto f = std::make_unique<TfomMain>();
    f->PanelDir = "C:\\work\\";
    std::string text;
    for (int i = 0; i < kLines; ++i) text += "f" + std::to_string(i) + (i % 2 ? ".md\r\n" : ".txt\r\n");
    f->mmoFileNames.SetText(text);
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

// The confirm step, or the plain loop, each round on a fresh window.
void BM_Confirm(benchmark::State& st, bool plain) {
    std::unique_ptr<TfomMain> f;
    std::vector<std::pair<int, std::string>> created;
    for (auto _ : st) {
        st.PauseTiming();
        f.reset();  // before the backend is reset under it
        f = MakeWindow();
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

// The longest name a file can have, all 'a'.
const std::string kName(255, 'a');

// Worst case: every '%' stays alive over the whole run of 'a'.
std::string WorstPattern(int pairs) {
    std::string p;
    for (int i = 0; i < pairs; ++i) p += "%a";
    return p + "b";
}
const int kPairs[] = {6, 19, 32, 127};

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
BENCHMARK(BM_MatchWorst)->Arg(kPairs[0])->Arg(kPairs[1])->Arg(kPairs[2])->Arg(kPairs[3]);

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
