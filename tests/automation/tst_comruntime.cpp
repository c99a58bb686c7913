// Resolving program ids in the class registry; loading servers is tested with the fingerprint server.
#ifndef Q_MOC_RUN
#include "ClassRegistry.h"
#include "ComRuntime.h"
#endif

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace automation;

class TestComRuntime : public QObject {
  Q_OBJECT

private slots:
  void init() {
    QVERIFY(m_dir.isValid());
    qputenv("HORAVANT_AUTOMATION_REGISTRY", path().toLocal8Bit());
    ClassRegistry registry;
    registry.setValue("HKEY_CLASSES_ROOT\\Foo.Bar.2\\CLSID", {}, std::string("{00000000-0000-0000-0000-000000000002}"));
    registry.setValue("HKEY_CLASSES_ROOT\\Foo.Bar\\CurVer", {}, std::string("Foo.Bar.2"));
    registry.setValue("HKEY_CLASSES_ROOT\\Foo.Old\\CLSID", {}, std::string("{00000000-0000-0000-0000-000000000001}"));
    registry.setValue("HKEY_CLASSES_ROOT\\Foo.Broken\\CLSID", {}, std::string("not a class id"));
    registry.save(path().toStdString());
  }

  void programIdsResolve_data() {
    QTest::addColumn<QString>("progId");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("clsid");
    QTest::newRow("own class id") << QStringLiteral("Foo.Old") << S_OK << QStringLiteral("{00000000-0000-0000-0000-000000000001}");
    QTest::newRow("through CurVer") << QStringLiteral("foo.bar") << S_OK << QStringLiteral("{00000000-0000-0000-0000-000000000002}");
    QTest::newRow("malformed class id") << QStringLiteral("Foo.Broken") << CO_E_CLASSSTRING << QString();
    QTest::newRow("unknown") << QStringLiteral("Foo.Missing") << CO_E_CLASSSTRING << QString();
    QTest::newRow("empty") << QString() << CO_E_CLASSSTRING << QString();
  }
  void programIdsResolve() {
    QFETCH(QString, progId);
    QFETCH(int, expected);
    QFETCH(QString, clsid);
    CLSID found;
    QCOMPARE(CLSIDFromProgID(progId.toStdU16String(), &found), expected);
    if (expected == S_OK) QCOMPARE(QString::fromStdString(GuidToString(found)), clsid);
  }

  void registeredProgramIdWithoutServerIsNotRegistered() {
    void* object = nullptr;
    QCOMPARE(CreateObjectByProgId(u"Foo.Old", IDispatch::Iid, &object), REGDB_E_CLASSNOTREG);
    QCOMPARE(object, nullptr);
  }

  void damagedRegistryFails() {
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[unterminated\n");
    file.close();
    CLSID found;
    QCOMPARE(CLSIDFromProgID(u"Foo.Old", &found), REGDB_E_READREGDB);
  }

private:
  QString path() const { return m_dir.filePath(QStringLiteral("registry")); }
  QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestComRuntime)
#include "tst_comruntime.moc"
