// 1:N identification as the identification dialog runs it: one captured template compared with
// every stored one through TVelloxBSP::Match, that is the automation object's VerifyMatch called by
// name through the automation layer, libTrivaneCOM.so and the simulated reader libTrivane.so.
// The server is registered in a temporary class registry; the stored templates are those
// trivane-sim would print for 10,000 distinct fingers.
#include "SimSpool.h"
#include "SimTemplate.h"
#include "uVelloxBSP.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A class registry with the server registered and a spool for the simulated reader, both temporary.
class Installation final {
public:
    Installation()
    {
        char pattern[] = "/tmp/bench-fingerprint-XXXXXX";
        m_dir = mkdtemp(pattern);
        setenv("HORAVANT_AUTOMATION_REGISTRY", (m_dir / "registry").c_str(), 1);
        setenv("HORAVANT_SIM_SPOOL", Spool().c_str(), 1);
        const std::string command = std::string(HORAVANT_REGSVR) + " -s " + TRIVANE_COM_LIBRARY;
        m_registered = std::system(command.c_str()) == 0;
    }
    ~Installation()
    {
        std::error_code error;
        fs::remove_all(m_dir, error);
    }
    bool Registered() const { return m_registered; }
    fs::path Spool() const { return m_dir / "spool"; }

private:
    fs::path m_dir;
    bool m_registered = false;
};

std::string FingerName(int index)
{
    return "employee-" + std::to_string(index);
}

std::vector<QString> StoredTemplates(int count)
{
    std::vector<QString> stored;
    stored.reserve(count);
    for (int i = 0; i < count; ++i)
        stored.push_back(QString::fromStdString(trivsim::TemplateToText(trivsim::IdealTemplate(FingerName(i)))));
    return stored;
}

QString CaptureOf(TVelloxBSP& reader, const Installation& installation, const std::string& finger)
{
    trivsim::Placement placement;
    placement.finger = finger;
    placement.liftedAtMs = trivsim::NowMs() + 60000;
    trivsim::Spool(installation.Spool()).Place(placement);
    return reader.Capture();
}

void BM_OneToManyThroughAutomation(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    Installation installation;
    TVelloxBSP reader;
    if (!installation.Registered() || reader.DeviceCount() == 0) {
        state.SkipWithError("the server is not registered or libTrivane.so is not found");
        return;
    }
    reader.OpenDevice(0);
    const auto stored = StoredTemplates(count);
    // The wanted employee is the last one, so every search compares with every template.
    const QString captured = CaptureOf(reader, installation, FingerName(count - 1));
    int found = -1;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            if (reader.Match(captured, stored[i]))
                found = i;
        benchmark::DoNotOptimize(found);
    }
    if (found != count - 1)
        state.SkipWithError("the search did not find the captured finger");
    state.counters["templates/s"] =
        benchmark::Counter(static_cast<double>(count) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OneToManyThroughAutomation)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The simulated reader's own share: reading both template texts and comparing them.
void BM_OneToManyMatchingAlone(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<std::string> stored;
    for (int i = 0; i < count; ++i)
        stored.push_back(trivsim::TemplateToText(trivsim::IdealTemplate(FingerName(i))));
    const std::string captured = stored.back();
    int found = -1;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i) {
            const auto a = trivsim::TemplateFromText(captured);
            const auto b = trivsim::TemplateFromText(stored[i]);
            if (a && b && trivsim::BestSimilarity(*a, *b) >= trivsim::MatchThreshold(5))
                found = i;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["templates/s"] =
        benchmark::Counter(static_cast<double>(count) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OneToManyMatchingAlone)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
