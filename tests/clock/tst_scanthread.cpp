// The continuous scan through the real fingerprint path: the server registered in a class registry of
// the test's own, the simulated reader behind it, fingers placed with trivane-sim. A plain object on
// the main thread stands in for the main window.
#include "SimReader.h"
#include "TestServerRegistry.h"
#include "uScanThread.h"
#include "uVelloxBSP.h"


#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char* const kRegistryVariable = "HORAVANT_AUTOMATION_REGISTRY";
// How long a step may take before the test gives up on it; a limit against hangs, not a measure.
constexpr int kPatienceMs = 20000;

// The main window's side of the scan: counts what arrives and can act from within the capture
// handler, as the main window records a punch there.
class TScanReceiver final : public QObject
{
public:
    explicit TScanReceiver(TContinousScanThread* scan)
    {
        connect(scan, &TContinousScanThread::FingerprintCaptured, this, &TScanReceiver::Captured);
        connect(scan, &TContinousScanThread::ScanEnded, this, [this](const QString& failure) { endings << failure; });
    }

    std::function<void()> whileHandling;
    QStringList captures;
    QStringList endings;
    int mostHandledAtOnce = 0;

    bool WaitForCaptures(qsizetype count)
    {
        return QTest::qWaitFor([&] { return captures.size() >= count; }, kPatienceMs);
    }
    bool WaitForEnding()
    {
        return QTest::qWaitFor([&] { return !endings.isEmpty(); }, kPatienceMs);
    }

private:
    void Captured(const QString& templateText)
    {
        ++m_handling;
        mostHandledAtOnce = std::max(mostHandledAtOnce, m_handling);
        captures << templateText;
        if (whileHandling)
            whileHandling();
        --m_handling;
    }

    int m_handling = 0;
};

} // namespace

class TestScanThread : public QObject
{
    Q_OBJECT

public:
    enum class TStopMoment {
        StraightAfterStart,
        WhileWaitingForAFinger,
        WithACaptureOnItsWay,
        FromTheCaptureHandler,
        FromTheCaptureHandlerThenWaiting,
    };
    Q_ENUM(TStopMoment)

    enum class TObstacle { NoReaderConnected, ServerNotRegistered, DeviceHeldElsewhere, ReaderUnpluggedAtHandOver };
    Q_ENUM(TObstacle)

private:
    TestServerRegistry m_registry;
    std::unique_ptr<SimReader> m_sim;

    // The data module's reader: a wrapper of the main thread with the device open.
    static std::shared_ptr<TVelloxBSP> OpenMainReader()
    {
        auto reader = std::make_shared<TVelloxBSP>();
        reader->OpenDevice(0);
        return reader;
    }
    QString Enroll(TVelloxBSP& reader, const QString& finger)
    {
        return m_sim->Place(finger, {u"--times"_s, u"2"_s}) ? reader.Enroll({}) : QString();
    }
    int ReadersWaitingForAFinger() const
    {
        QString status;
        m_sim->Run({u"status"_s}, &status);
        const auto match = QRegularExpression(u"readers waiting for a finger: (\\d+)"_s).match(status);
        return match.hasMatch() ? match.captured(1).toInt() : -1;
    }
    // Waits until the scan has taken the placed finger, without running the event loop, so that the
    // capture cannot be delivered meanwhile.
    bool WaitUntilTheFingerIsTaken() const
    {
        QDeadlineTimer patience(kPatienceMs);
        while (m_sim->PendingCount() != 0 && !patience.hasExpired())
            QThread::msleep(20);
        return m_sim->PendingCount() == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.IsValid());
    }
    void init()
    {
        m_registry.Activate();
        m_sim = std::make_unique<SimReader>();
        QVERIFY(m_sim->IsValid());
    }
    void cleanup() { m_sim.reset(); }

    void capturesArriveOneAtATimeWhileTheScanHasTheDevice()
    {
        const auto mainReader = OpenMainReader();
        const QString alice = Enroll(*mainReader, u"alice-thumb"_s);
        const QString bob = Enroll(*mainReader, u"bob-index"_s);
        QVERIFY(!alice.isEmpty() && !bob.isEmpty());

        QPointer scan = new TContinousScanThread(mainReader);
        TScanReceiver receiver(scan);
        int mainDeviceWhileScanning = 0;
        int pendingWhileHandling = -1;
        receiver.whileHandling = [&] {
            if (receiver.captures.size() != 1)
                return;
            mainDeviceWhileScanning = mainReader->OpenDeviceId();
            // Bob comes while Alice's punch is being recorded; the main window lets events run.
            m_sim->Place(u"bob-index"_s);
            QTest::qWait(300);
            pendingWhileHandling = m_sim->PendingCount();
        };
        scan->Start();
        QVERIFY(m_sim->Place(u"alice-thumb"_s));
        QVERIFY(receiver.WaitForCaptures(2));
        scan->Stop();
        QVERIFY(scan->WaitForEnd(QDeadlineTimer(kPatienceMs)));

        QCOMPARE(receiver.endings, QStringList{QString()});
        QCOMPARE(receiver.captures.size(), 2);
        QCOMPARE(mainDeviceWhileScanning, -1);
        QCOMPARE(pendingWhileHandling, 1); // the thread waited for the handler before capturing again
        QCOMPARE(receiver.mostHandledAtOnce, 1);
        QVERIFY(mainReader->Match(receiver.captures[0], alice));
        QVERIFY(!mainReader->Match(receiver.captures[0], bob));
        QVERIFY(mainReader->Match(receiver.captures[1], bob));
        QVERIFY(!mainReader->Match(receiver.captures[1], alice));
        QCOMPARE(mainReader->OpenDeviceId(), 2);
        QTRY_VERIFY(scan.isNull());
    }

    void stopEndsTheScanOnce_data()
    {
        QTest::addColumn<TStopMoment>("moment");
        QTest::addColumn<int>("deliveries");
        QTest::newRow("straight after start") << TStopMoment::StraightAfterStart << 0;
        QTest::newRow("while waiting for a finger") << TStopMoment::WhileWaitingForAFinger << 0;
        QTest::newRow("with a capture on its way") << TStopMoment::WithACaptureOnItsWay << 0;
        QTest::newRow("from the capture handler") << TStopMoment::FromTheCaptureHandler << 1;
        QTest::newRow("from the capture handler, then waiting")
            << TStopMoment::FromTheCaptureHandlerThenWaiting << 1;
    }
    void stopEndsTheScanOnce()
    {
        QFETCH(TStopMoment, moment);
        QFETCH(int, deliveries);
        const auto mainReader = OpenMainReader();
        QPointer scan = new TContinousScanThread(mainReader);
        TScanReceiver receiver(scan);
        bool waitedInHandler = false;
        if (moment == TStopMoment::FromTheCaptureHandler || moment == TStopMoment::FromTheCaptureHandlerThenWaiting) {
            receiver.whileHandling = [&] {
                scan->Stop();
                // The thread waits for this handler, so waiting here for the thread must not block.
                if (moment == TStopMoment::FromTheCaptureHandlerThenWaiting)
                    waitedInHandler = scan->WaitForEnd(QDeadlineTimer(kPatienceMs));
            };
        }
        scan->Start();

        switch (moment) {
        case TStopMoment::StraightAfterStart:
            break;
        case TStopMoment::WhileWaitingForAFinger:
            QVERIFY(QTest::qWaitFor([&] { return ReadersWaitingForAFinger() == 1; }, kPatienceMs));
            break;
        case TStopMoment::WithACaptureOnItsWay:
            QVERIFY(m_sim->Place(u"alice-thumb"_s));
            QVERIFY(WaitUntilTheFingerIsTaken());
            break;
        case TStopMoment::FromTheCaptureHandler:
        case TStopMoment::FromTheCaptureHandlerThenWaiting:
            QVERIFY(m_sim->Place(u"alice-thumb"_s));
            QVERIFY(receiver.WaitForEnding());
            break;
        }
        if (receiver.endings.isEmpty()) {
            // As the program exits: stop, then run the event loop until the end notification.
            scan->Stop();
            QVERIFY(scan->WaitForEnd(QDeadlineTimer(kPatienceMs)));
        }

        QCOMPARE(receiver.endings, QStringList{QString()});
        QCOMPARE(receiver.captures.size(), deliveries);
        QVERIFY(!waitedInHandler);
        QCOMPARE(mainReader->OpenDeviceId(), 2);
        QTRY_VERIFY(scan.isNull());
        QCOMPARE(receiver.endings.size(), 1);
    }

    void endsWithNoticeWhenTheScanCannotRun_data()
    {
        QTest::addColumn<TObstacle>("obstacle");
        QTest::addColumn<QString>("failure");
        QTest::newRow("no reader connected") << TObstacle::NoReaderConnected << u"Error opening the device (257)"_s;
        QTest::newRow("automation server not registered")
            << TObstacle::ServerNotRegistered << u"The fingerprint reader is not available."_s;
        QTest::newRow("device held by another wrapper")
            << TObstacle::DeviceHeldElsewhere << u"Error opening the device (258)"_s;
        QTest::newRow("reader unplugged at the hand-over")
            << TObstacle::ReaderUnpluggedAtHandOver << u"Error opening the device (257)"_s;
    }
    void endsWithNoticeWhenTheScanCannotRun()
    {
        QFETCH(TObstacle, obstacle);
        QFETCH(QString, failure);
        std::shared_ptr<TVelloxBSP> mainReader;
        std::shared_ptr<TVelloxBSP> otherReader;
        QTemporaryDir emptyRegistry;
        switch (obstacle) {
        case TObstacle::NoReaderConnected:
            m_sim.reset(); // its destructor clears the variables the new one sets
            m_sim = std::make_unique<SimReader>(u"none"_s);
            break;
        case TObstacle::ServerNotRegistered:
            qputenv(kRegistryVariable, QFile::encodeName(emptyRegistry.filePath(u"registry"_s)));
            break;
        case TObstacle::DeviceHeldElsewhere:
            otherReader = OpenMainReader(); // not handed to the scan, so it keeps the device
            break;
        case TObstacle::ReaderUnpluggedAtHandOver:
            mainReader = OpenMainReader();
            qputenv("HORAVANT_SIM_DEVICES", "none");
            break;
        }

        QPointer scan = new TContinousScanThread(mainReader);
        TScanReceiver receiver(scan);
        scan->Start();
        QVERIFY(receiver.WaitForEnding());

        QCOMPARE(receiver.endings, QStringList{failure});
        QVERIFY(receiver.captures.isEmpty());
        QTRY_VERIFY(scan.isNull());
        QCOMPARE(receiver.endings.size(), 1);
    }

    void deletingTheScanStopsItAndGivesTheDeviceBack()
    {
        const auto mainReader = OpenMainReader();
        auto* scan = new TContinousScanThread(mainReader);
        TScanReceiver receiver(scan);
        scan->Start();
        QVERIFY(m_sim->Place(u"alice-thumb"_s));
        QVERIFY(WaitUntilTheFingerIsTaken());
        // The thread waits for the main thread to take the capture, which it never does.
        delete scan;

        QCOMPARE(mainReader->OpenDeviceId(), 2);
        QTest::qWait(50);
        QVERIFY(receiver.captures.isEmpty());
        QVERIFY(receiver.endings.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestScanThread)
#include "tst_scanthread.moc"
