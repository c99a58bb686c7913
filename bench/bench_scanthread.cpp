// How long the continuous scan takes to end after Stop(): while its capture waits for a finger (the
// capture runs to its time-out, so the wait depends on where in the time-out the stop falls) and
// from within the capture handler (the capture has already returned). The path is the program's:
// the registered server in a temporary class registry, the simulated reader behind it.
#include "SimSpool.h"
#include "uScanThread.h"

#include <ComRuntime.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

namespace {

// A class registry with the server registered and a spool with one reader, both temporary.
class ScanInstallation final {
public:
    explicit ScanInstallation(int captureTimeoutMs)
    {
        qputenv("HORAVANT_AUTOMATION_REGISTRY", QFile::encodeName(m_dir.filePath(QStringLiteral("registry"))));
        qputenv("HORAVANT_SIM_SPOOL", QFile::encodeName(SpoolPath()));
        qputenv("HORAVANT_SIM_DEVICES", "2");
        qputenv("HORAVANT_SIM_CAPTURE_TIMEOUT", QByteArray::number(captureTimeoutMs));
        m_registered = automation::Succeeded(automation::RunServerRegistration(TRIVANE_COM_LIBRARY, true));
    }
    bool Registered() const { return m_registered; }
    QString SpoolPath() const { return m_dir.filePath(QStringLiteral("spool")); }
    bool ReaderWaits() const
    {
        return !QDir(SpoolPath()).entryList({QStringLiteral("waiting-*")}, QDir::Files).isEmpty();
    }
    void PlaceFinger() const
    {
        trivsim::Placement placement;
        placement.finger = "bench-finger";
        placement.liftedAtMs = trivsim::NowMs() + 60000;
        trivsim::Spool(SpoolPath().toStdString()).Place(placement);
    }

private:
    QTemporaryDir m_dir;
    bool m_registered = false;
};

// Stop() while the scan waits for a finger, at a random moment of the capture time-out.
void BM_StopWhileWaitingForAFinger(benchmark::State& state)
{
    const int timeoutMs = static_cast<int>(state.range(0));
    ScanInstallation installation(timeoutMs);
    if (!installation.Registered()) {
        state.SkipWithError("the server could not be registered");
        return;
    }
    std::mt19937 random(5);
    std::uniform_int_distribution<int> moment(0, timeoutMs - 1);
    double longestMs = 0;
    for (auto _ : state) {
        auto* scan = new TContinousScanThread();
        scan->Start();
        while (!installation.ReaderWaits())
            QThread::msleep(1);
        QThread::msleep(moment(random));
        QElapsedTimer elapsed;
        elapsed.start();
        scan->Stop();
        scan->WaitForEnd();
        state.SetIterationTime(elapsed.nsecsElapsed() / 1e9);
        longestMs = std::max(longestMs, elapsed.nsecsElapsed() / 1e6);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    state.counters["longest_ms"] = longestMs;
}
BENCHMARK(BM_StopWhileWaitingForAFinger)->Arg(400)->Arg(2000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// Stop() from within the capture handler, as the main window does when Ctrl+C comes during a punch.
void BM_StopFromTheCaptureHandler(benchmark::State& state)
{
    ScanInstallation installation(10000);
    if (!installation.Registered()) {
        state.SkipWithError("the server could not be registered");
        return;
    }
    for (auto _ : state) {
        auto* scan = new TContinousScanThread();
        QElapsedTimer elapsed;
        QObject::connect(scan, &TContinousScanThread::FingerprintCaptured, scan, [&] {
            elapsed.start();
            scan->Stop();
        });
        scan->Start();
        installation.PlaceFinger();
        scan->WaitForEnd();
        state.SetIterationTime(elapsed.nsecsElapsed() / 1e9);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_StopFromTheCaptureHandler)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
