// TVelloxBSP through the real path: the server registered in a class registry of the test's own,
// created by program id, its members called by name, the simulated reader behind it.
#include "SimReader.h"
#include "uVelloxBSP.h"

#include <ComRuntime.h>

#include <QProcess>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace automation;

namespace {

const char* const kRegistryVariable = "HORAVANT_AUTOMATION_REGISTRY";

bool RunRegistrar(const QStringList& arguments)
{
    QProcess registrar;
    registrar.start(QStringLiteral(HORAVANT_REGSVR), arguments + QStringList{QStringLiteral(TRIVANE_COM_LIBRARY)});
    return registrar.waitForFinished(30000) && registrar.exitStatus() == QProcess::NormalExit
           && registrar.exitCode() == 0;
}

Variant Property(const TVelloxBSP& reader, std::u16string_view name)
{
    Variant value;
    CallByName(*reader.Dispatch(), name, DISPATCH_PROPERTYGET, {}, &value);
    return value;
}

int ObjectErrorCode(const TVelloxBSP& reader)
{
    return Property(reader, u"ErrorCode").int32();
}

// Runs the code on a thread of its own, as the continuous scan uses its reader.
void OnAnotherThread(const std::function<void()>& code)
{
    std::unique_ptr<QThread> thread(QThread::create(code));
    thread->start();
    thread->wait();
}

} // namespace

class TestVelloxBSP : public QObject {
    Q_OBJECT

    QTemporaryDir m_registryDir;
    QByteArray m_registry;
    std::unique_ptr<SimReader> m_sim;

    // A fresh spool (and with it the simulated installation) for the rest of the test.
    void UseReaders(const QString& devices)
    {
        m_sim.reset(); // its destructor clears the variables the new one sets
        m_sim = std::make_unique<SimReader>(devices);
    }

    // A wrapper with device 0 open and the finger enrolled; the template in *enrolled.
    std::unique_ptr<TVelloxBSP> EnrolledReader(const QString& finger, QString* enrolled,
                                               const QString& payload = {})
    {
        auto reader = std::make_unique<TVelloxBSP>();
        reader->OpenDevice(0);
        if (m_sim->Place(finger, {u"--times"_s, u"2"_s}))
            *enrolled = reader->Enroll(payload);
        return reader;
    }

    QString CaptureOf(TVelloxBSP& reader, const QString& finger, const QStringList& options = {})
    {
        return m_sim->Place(finger, options) ? reader.Capture() : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registryDir.isValid());
        m_registry = QFile::encodeName(m_registryDir.filePath(u"automation-registry"_s));
        qputenv(kRegistryVariable, m_registry);
        QVERIFY(RunRegistrar({u"-s"_s}));
    }
    void init()
    {
        qputenv(kRegistryVariable, m_registry);
        UseReaders(u"2"_s);
        QVERIFY(m_sim->IsValid());
    }
    void cleanup() { m_sim.reset(); }

    void namesConnectedReaders_data()
    {
        QTest::addColumn<QString>("devices");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one reader") << u"2"_s << QStringList{u"QMA71_0"_s};
        QTest::newRow("odd and even ids") << u"1,2"_s << QStringList{u"QMB71_0"_s, u"QMA71_0"_s};
        QTest::newRow("ids 3 and 4") << u"3,4"_s << QStringList{u"QMB71_2"_s, u"QMA71_2"_s};
        QTest::newRow("no reader") << u"none"_s << QStringList();
    }
    void namesConnectedReaders()
    {
        QFETCH(QString, devices);
        QFETCH(QStringList, names);
        UseReaders(devices);
        TVelloxBSP reader;
        QVERIFY(reader.Dispatch());
        QCOMPARE(reader.DeviceCount(), names.size());
        QCOMPARE(reader.Devices(), names);
        QCOMPARE(reader.OpenDeviceId(), -1);
        QCOMPARE(reader.WindowStyle(), quint16(0));
        QCOMPARE(Property(reader, u"WindowStyle").int32(), 0);
    }

    void withoutTheServerTheReaderIsAbsent_data()
    {
        QTest::addColumn<bool>("unregister");
        QTest::newRow("empty registry") << false;
        QTest::newRow("server unregistered") << true;
    }
    void withoutTheServerTheReaderIsAbsent()
    {
        QFETCH(bool, unregister);
        QTemporaryDir dir;
        qputenv(kRegistryVariable, QFile::encodeName(dir.filePath(u"registry"_s)));
        if (unregister) {
            QVERIFY(RunRegistrar({u"-s"_s}));
            QVERIFY(RunRegistrar({u"-s"_s, u"-u"_s}));
        }
        TVelloxBSP reader;
        QVERIFY(!reader.Dispatch());
        QCOMPARE(reader.DeviceCount(), 0);
        QVERIFY(reader.Devices().isEmpty());
        reader.CloseDevice();
        reader.SetSkinResource(u"/opt/horavant/TRV2Eng.dll"_s);

        const QList<std::pair<const char*, std::function<void()>>> operations{
            {"OpenDevice", [&] { reader.OpenDevice(0); }},
            {"SetWindowStyle", [&] { reader.SetWindowStyle(1); }},
            {"Capture", [&] { reader.Capture(); }},
            {"Enroll", [&] { reader.Enroll({}); }},
            {"Verify", [&] { reader.Verify(u"TRVSIM1:AAAA"_s); }},
            {"Match", [&] { reader.Match(u"TRVSIM1:AAAA"_s, u"TRVSIM1:AAAA"_s); }},
        };
        for (const auto& [name, operation] : operations) {
            bool raised = false;
            try {
                operation();
            } catch (const Exception&) {
                raised = true;
            }
            QVERIFY2(raised, name);
        }
    }

    void enrolledFingerIsRecognised_data()
    {
        QTest::addColumn<QString>("presented");
        QTest::addColumn<bool>("matched");
        QTest::newRow("same finger") << u"alice-thumb"_s << true;
        QTest::newRow("another finger") << u"bob-thumb"_s << false;
    }
    void enrolledFingerIsRecognised()
    {
        QFETCH(QString, presented);
        QFETCH(bool, matched);
        QString enrolled;
        auto reader = EnrolledReader(u"alice-thumb"_s, &enrolled);
        QVERIFY(!enrolled.isEmpty());
        QCOMPARE(reader->LastError(), 0);

        const QString captured = CaptureOf(*reader, presented);
        QVERIFY(!captured.isEmpty());
        QCOMPARE(reader->Match(captured, enrolled), matched);

        QVERIFY(m_sim->Place(presented));
        QCOMPARE(reader->Verify(enrolled), matched);
        QCOMPARE(reader->LastError(), 0);
    }

    void matchHandsBackThePayload()
    {
        QString enrolled;
        auto reader = EnrolledReader(u"alice"_s, &enrolled, u"employee 42"_s);
        QString payload;
        QVERIFY(reader->Match(CaptureOf(*reader, u"alice"_s), enrolled, &payload));
        QCOMPARE(payload, u"employee 42"_s);

        payload = u"untouched"_s;
        QVERIFY(!reader->Match(CaptureOf(*reader, u"bob"_s), enrolled, &payload));
        QCOMPARE(payload, u"untouched"_s);

        // The employee editor's duplicate check puts a fresh enrolment on the captured side.
        QVERIFY(reader->Match(enrolled, enrolled));
    }

    void oneToManySearchFindsTheRightEmployee()
    {
        constexpr int kEmployees = 300;
        constexpr int kWanted = 137;
        TVelloxBSP reader;
        reader.OpenDevice(0);
        QStringList fingers;
        for (int i = 0; i < kEmployees; ++i)
            fingers << u"employee-%1"_s.arg(i);
        QVERIFY(m_sim->Place(fingers, {u"--times"_s, u"2"_s}));
        QStringList stored;
        for (int i = 0; i < kEmployees; ++i)
            stored << reader.Enroll(QString::number(i));
        QVERIFY(!stored.contains(QString()));

        const QString captured = CaptureOf(reader, fingers[kWanted]);
        QList<int> found;
        QString payload;
        for (int i = 0; i < kEmployees; ++i)
            if (reader.Match(captured, stored[i], &payload))
                found << i;
        QCOMPARE(found, QList<int>{kWanted});
        QCOMPARE(payload, QString::number(kWanted));
    }

    void twoCapturesInARow()
    {
        QString alice, bob;
        auto reader = EnrolledReader(u"alice"_s, &alice);
        QVERIFY(m_sim->Place(u"bob"_s, {u"--times"_s, u"2"_s}));
        bob = reader->Enroll({});

        QVERIFY(m_sim->Place({u"alice"_s, u"bob"_s}));
        const QString first = reader->Capture();
        const QString second = reader->Capture();
        QVERIFY(reader->Match(first, alice) && !reader->Match(first, bob));
        QVERIFY(reader->Match(second, bob) && !reader->Match(second, alice));
        QCOMPARE(QString::fromStdU16String(Property(*reader, u"FIRTextData").text()), second);
    }

    void captureTimeOutStaysInLastError()
    {
        TVelloxBSP reader;
        reader.OpenDevice(0);
        QCOMPARE(reader.Capture(), QString());
        QCOMPARE(reader.LastError(), TVelloxBSP::CaptureTimeout);
        QVERIFY(!CaptureOf(reader, u"alice"_s).isEmpty());
        QCOMPARE(reader.LastError(), TVelloxBSP::CaptureTimeout);
    }

    void enrolmentOutcome_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QStringList>("tool");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("raises");
        QTest::newRow("nobody places a finger") << true << QStringList() << 513 << false;
        QTest::newRow("cancelled") << true << QStringList{u"cancel"_s} << 513 << false;
        QTest::newRow("two different fingers") << true << QStringList{u"place"_s, u"alice"_s, u"bob"_s} << 517 << true;
        QTest::newRow("no device open") << false << QStringList{u"place"_s, u"alice"_s, u"alice"_s} << 260 << true;
    }
    void enrolmentOutcome()
    {
        QFETCH(bool, open);
        QFETCH(QStringList, tool);
        QFETCH(int, code);
        QFETCH(bool, raises);
        TVelloxBSP reader;
        if (open)
            reader.OpenDevice(0);
        if (!tool.isEmpty())
            QCOMPARE(m_sim->Run(tool), 0);
        try {
            QCOMPARE(reader.Enroll(u"payload"_s), QString());
            QVERIFY(!raises);
        } catch (const EVelloxError& error) {
            QVERIFY(raises);
            QCOMPARE(error.Message(), u"Error during enrollment process"_s);
            QCOMPARE(error.Code(), code);
        }
        QCOMPARE(reader.LastError(), code);
    }

    void failedVerificationIsNoMatch_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("tool");
        QTest::addColumn<int>("code");
        QTest::newRow("time-out") << u"enrolled"_s << QStringList() << 515;
        QTest::newRow("cancelled") << u"enrolled"_s << QStringList{u"cancel"_s} << 513;
        QTest::newRow("unreadable template") << u"TRVSIM1:garbage"_s << QStringList{u"place"_s, u"alice"_s} << 8;
        QTest::newRow("no template") << QString() << QStringList{u"place"_s, u"alice"_s} << 1;
    }
    void failedVerificationIsNoMatch()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, tool);
        QFETCH(int, code);
        QString enrolled;
        auto reader = EnrolledReader(u"alice"_s, &enrolled);
        // A match just before must not carry over into the failed verification.
        QVERIFY(m_sim->Place(u"alice"_s));
        QVERIFY(reader->Verify(enrolled));
        if (!tool.isEmpty())
            QCOMPARE(m_sim->Run(tool), 0);
        QVERIFY(!reader->Verify(stored == u"enrolled" ? enrolled : stored));
        QCOMPARE(reader->LastError(), code);
    }

    void unreadableTemplatesNeverMatch_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a template") << u"12345"_s;
        QTest::newRow("damaged") << u"TRVSIM1:AfQBAQIA"_s;
    }
    void unreadableTemplatesNeverMatch()
    {
        QFETCH(QString, stored);
        QString enrolled;
        auto reader = EnrolledReader(u"alice"_s, &enrolled);
        const QString captured = CaptureOf(*reader, u"alice"_s);
        QVERIFY(reader->Match(captured, enrolled));
        QVERIFY(!reader->Match(captured, stored));
        QVERIFY(!reader->Match(stored, enrolled));
    }

    void securityLevelDecidesPoorImages_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("matched");
        QTest::newRow("lowest") << 1 << true;
        QTest::newRow("highest") << 9 << false;
    }
    void securityLevelDecidesPoorImages()
    {
        QFETCH(int, level);
        QFETCH(bool, matched);
        QString enrolled;
        auto reader = EnrolledReader(u"alice"_s, &enrolled);
        QVERIFY(Succeeded(CallByName(*reader->Dispatch(), u"SecurityLevel", DISPATCH_PROPERTYPUT, {Variant(level)})));
        const QString captured = CaptureOf(*reader, u"alice"_s, {u"--quality"_s, u"40"_s});
        QCOMPARE(reader->Match(captured, enrolled), matched);
    }

    void openTwiceInARow()
    {
        UseReaders(u"1,2"_s);
        TVelloxBSP reader;
        reader.OpenDevice(1);
        QCOMPARE(reader.OpenDeviceId(), 2);
        // Whatever is open is closed first, so the second open succeeds.
        reader.OpenDevice(0);
        QCOMPARE(reader.OpenDeviceId(), 1);
        reader.CloseDevice();
        QCOMPARE(reader.OpenDeviceId(), -1);
    }

    void openFailureRaisesWithTheCode_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("code");
        QTest::newRow("index out of range") << 5 << false << 257;
        QTest::newRow("negative index") << -1 << false << 257;
        QTest::newRow("reader open elsewhere") << 0 << true << 258;
    }
    void openFailureRaisesWithTheCode()
    {
        QFETCH(int, index);
        QFETCH(bool, busy);
        QFETCH(int, code);
        TVelloxBSP other, reader;
        if (busy)
            other.OpenDevice(0);
        try {
            reader.OpenDevice(index);
            QFAIL("OpenDevice did not raise");
        } catch (const EVelloxError& error) {
            QCOMPARE(error.Message(), u"Error opening the device"_s);
            QCOMPARE(error.Code(), code);
        }
        QCOMPARE(reader.OpenDeviceId(), -1);
    }

    void closeWithoutOpenDeviceCallsNothing()
    {
        TVelloxBSP reader;
        // Writing FIRFormat leaves ErrorCode 13; any member the wrapper called would reset it.
        CallByName(*reader.Dispatch(), u"FIRFormat", DISPATCH_PROPERTYPUT, {Variant(1)});
        reader.CloseDevice();
        QCOMPARE(ObjectErrorCode(reader), 13);
    }

    // The continuous scan: the main wrapper hands the reader to a wrapper used on another thread.
    void readerPassesBetweenWrappersAndThreads()
    {
        QString enrolled;
        auto main = EnrolledReader(u"alice"_s, &enrolled);
        TVelloxBSP scan;
        QVERIFY_THROWS_EXCEPTION(EVelloxError, scan.OpenDevice(0));

        main->CloseDevice();
        QVERIFY(m_sim->Place(u"alice"_s));
        QString captured, failure;
        OnAnotherThread([&] {
            try {
                scan.OpenDevice(0);
                scan.SetWindowStyle(1);
                captured = scan.Capture();
                scan.CloseDevice();
            } catch (const Exception& error) {
                failure = error.Message();
            }
        });
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QCOMPARE(scan.WindowStyle(), quint16(1));
        QCOMPARE(scan.OpenDeviceId(), -1);
        main->OpenDevice(0);
        QVERIFY(main->Match(captured, enrolled));
    }
};

QTEST_GUILESS_MAIN(TestVelloxBSP)
#include "tst_velloxbsp.moc"
