#ifndef Q_MOC_RUN
#include "ClassRegistry.h"
#endif

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace automation;

class TestClassRegistry : public QObject {
  Q_OBJECT

private slots:
  void keysAndValuesIgnoreLetterCase() {
    ClassRegistry registry;
    registry.setValue("HKEY_CLASSES_ROOT\\Foo.Bar\\CLSID", {}, std::string("{X}"));
    QVERIFY(registry.hasKey("hkey_classes_root\\FOO.BAR"));
    QCOMPARE(registry.text("HKEY_CLASSES_ROOT\\foo.bar\\clsid"), std::optional<std::string>("{X}"));
    registry.setValue("HKEY_CLASSES_ROOT\\FOO.BAR\\Clsid", {}, std::string("{Y}"));
    QCOMPARE(registry.subkeys("HKEY_CLASSES_ROOT\\Foo.Bar"), std::vector<std::string>{"CLSID"});
    QCOMPARE(registry.text("HKEY_CLASSES_ROOT\\Foo.Bar\\CLSID"), std::optional<std::string>("{Y}"));
  }

  void deletingAKeyTakesItsSubkeysOnly() {
    ClassRegistry registry;
    registry.createKey("R\\A\\B\\C");
    registry.createKey("R\\A B");
    registry.createKey("R\\AB");
    QVERIFY(registry.deleteKey("r\\a"));
    QVERIFY(!registry.hasKey("R\\A\\B\\C"));
    QVERIFY(!registry.hasKey("R\\A\\B"));
    QVERIFY(registry.hasKey("R\\A B"));
    QVERIFY(registry.hasKey("R\\AB"));
    QVERIFY(!registry.deleteKey("R\\A"));
  }

  // Texts with the characters the file format escapes survive a save and a load.
  void textRoundTrip_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringLiteral("HKEY_CLASSES_ROOT\\A") << QString() << QStringLiteral("text");
    QTest::newRow("quotes and backslashes") << QStringLiteral("HKEY_CLASSES_ROOT\\B") << QStringLiteral("a \"b\"")
                                            << QStringLiteral("C:\\dir\\\"x\"\\");
    QTest::newRow("line breaks") << QStringLiteral("HKEY_CLASSES_ROOT\\C") << QStringLiteral("n")
                                 << QStringLiteral("one\ntwo\r\n");
    QTest::newRow("brackets and equals") << QStringLiteral("HKEY_CLASSES_ROOT\\[x]=y") << QStringLiteral("@")
                                         << QStringLiteral("[z]=@");
    QTest::newRow("UTF-8") << QStringLiteral("HKEY_CLASSES_ROOT\\Peña") << QStringLiteral("año") << QStringLiteral("€");
    QTest::newRow("empty value") << QStringLiteral("HKEY_CLASSES_ROOT\\D") << QString() << QString();
  }
  void textRoundTrip() {
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("sub/registry")).toStdString();
    ClassRegistry registry;
    registry.setValue(key.toStdString(), name.toStdString(), value.toStdString());
    registry.setValue("HKEY_CLASSES_ROOT\\Numbers", "409", std::uint32_t{0xFFFFFFFF});
    registry.createKey("HKEY_CLASSES_ROOT\\Empty\\Key");
    registry.save(file);
    const ClassRegistry loaded = ClassRegistry::Load(file);
    QCOMPARE(loaded.text(key.toStdString(), name.toStdString()), std::optional<std::string>(value.toStdString()));
    QVERIFY(loaded == registry);
  }

  void malformedFilesAreRejected_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("value before any key") << QByteArray("@=\"x\"\n");
    QTest::newRow("unterminated text") << QByteArray("[K]\n@=\"x\n");
    QTest::newRow("unterminated key") << QByteArray("[K\n");
    QTest::newRow("no equals sign") << QByteArray("[K]\n\"a\" \"b\"\n");
    QTest::newRow("bad dword") << QByteArray("[K]\n\"a\"=dword:xyz\n");
    QTest::newRow("trailing text") << QByteArray("[K]\n@=\"a\"b\n");
    QTest::newRow("empty key segment") << QByteArray("[K\\\\L]\n");
  }
  void malformedFilesAreRejected() {
    QFETCH(QByteArray, text);
    QVERIFY_THROWS_EXCEPTION(std::exception, ClassRegistry::Parse(text.toStdString()));
  }

  void missingFileIsAnEmptyRegistry() {
    QTemporaryDir dir;
    QVERIFY(ClassRegistry::Load(dir.filePath(QStringLiteral("none")).toStdString()) == ClassRegistry());
  }

  void defaultPathFollowsTheEnvironment_data() {
    QTest::addColumn<QByteArray>("override");
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<QString>("expected");
    QTest::newRow("override") << QByteArray("/r/file") << QByteArray("/c") << QStringLiteral("/r/file");
    QTest::newRow("config home") << QByteArray() << QByteArray("/c") << QStringLiteral("/c/Ostrelo/automation-registry");
    QTest::newRow("home") << QByteArray() << QByteArray() << QStringLiteral("/h/.config/Ostrelo/automation-registry");
  }
  void defaultPathFollowsTheEnvironment() {
    QFETCH(QByteArray, override);
    QFETCH(QByteArray, configHome);
    QFETCH(QString, expected);
    qputenv("HORAVANT_AUTOMATION_REGISTRY", override);
    qputenv("XDG_CONFIG_HOME", configHome);
    qputenv("HOME", "/h");
    QCOMPARE(QString::fromStdString(ClassRegistry::DefaultPath().string()), expected);
  }

  void updateSavesOnlyWhatSucceeded() {
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("registry")).toStdString();
    QCOMPARE(UpdateClassRegistry(file, [](ClassRegistry& r) { r.createKey("R\\Kept"); return S_OK; }), S_OK);
    QCOMPARE(UpdateClassRegistry(file, [](ClassRegistry& r) { r.createKey("R\\Dropped"); return E_FAIL; }), E_FAIL);
    const ClassRegistry registry = ClassRegistry::Load(file);
    QVERIFY(registry.hasKey("R\\Kept"));
    QVERIFY(!registry.hasKey("R\\Dropped"));

    QFile damaged(QString::fromStdString(file));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("@=\"no key\"\n");
    damaged.close();
    QCOMPARE(UpdateClassRegistry(file, [](ClassRegistry&) { return S_OK; }), REGDB_E_READREGDB);
  }
};

QTEST_GUILESS_MAIN(TestClassRegistry)
#include "tst_classregistry.moc"
