#include "SimReader.h"
#include "TestSupport.h"
#include "uAppStartup.h"
#include "uVelloxBSP.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace
{

// Declines every question: a start-up that needs an answer ends the program.
class TNoPrompts final : public TStartupPrompts
{
public:
    int questions = 0;
    bool AskYesNo(TKind, const QString&) override { return ++questions, false; }
    void Show(TKind, const QString&) override {}
    bool EditDatabaseSettings(TAppRegistry&) override { return false; }
};

bool RegisterServer(const QString& registry)
{
    qputenv("HORAVANT_AUTOMATION_REGISTRY", QFile::encodeName(registry));
    QProcess registrar;
    registrar.start(QStringLiteral(HORAVANT_REGSVR), {u"-s"_s, QStringLiteral(TRIVANE_COM_LIBRARY)});
    return registrar.waitForFinished(30000) && registrar.exitStatus() == QProcess::NormalExit &&
           registrar.exitCode() == 0;
}

} // namespace

class TestAppStartup : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        TestSupport::UseUserDirectoriesIn(m_dir->path());
        qputenv("HORAVANT_AUTOMATION_REGISTRY", QFile::encodeName(m_dir->filePath(u"empty-registry"_s)));
    }
    void cleanup()
    {
        m_sim.reset();
        m_dir.reset();
    }

    void readerFollowsTheConnectedDevices_data()
    {
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QString>("devices");
        QTest::addColumn<bool>("available");
        QTest::newRow("no automation server") << false << u"2"_s << false;
        QTest::newRow("server, no reader connected") << true << QString() << false;
        QTest::newRow("server and a reader") << true << u"2"_s << true;
    }
    void readerFollowsTheConnectedDevices()
    {
        QFETCH(bool, registered);
        QFETCH(QString, devices);
        QFETCH(bool, available);
        if (registered)
            QVERIFY(RegisterServer(m_dir->filePath(u"registry"_s)));
        m_sim = std::make_unique<SimReader>(devices);

        TNoPrompts prompts;
        const auto data = CreateAppData(prompts);
        QVERIFY(!data->CannotContinue());
        QCOMPARE(prompts.questions, 0);
        QVERIFY(data->Reader());
        QCOMPARE(data->ReaderAvailable(), available);
        QCOMPARE(data->Reader()->OpenDeviceId() >= 0, available);
    }

    void noReaderWhenTheProgramCannotContinue()
    {
        QSettings(QSettings::IniFormat, QSettings::UserScope, u"Ostrelo"_s, u"KronvikClock2"_s)
            .setValue(u"DatabaseType"_s, 9);
        TNoPrompts prompts;
        const auto data = CreateAppData(prompts);
        QVERIFY(data->CannotContinue());
        QVERIFY(!data->Reader());
        QVERIFY(!data->ReaderAvailable());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SimReader> m_sim;
};

QTEST_GUILESS_MAIN(TestAppStartup)
#include "tst_appstartup.moc"
