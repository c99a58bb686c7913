#ifndef Q_MOC_RUN
#include "Registrar.h"
#endif

#include <QTest>

using namespace automation;

namespace {
// A server's script with every construct: flags, quoted names, named values, numbers, placeholders.
constexpr std::string_view kScript = R"(
HKCR
{
	Foo.Bar = s 'Bar Class'
	{
		CLSID = s '{00000000-0000-0000-0000-0000000000AB}'
	}
	NoRemove CLSID
	{
		NoRemove 'Shared Things'
		{
			Category = s '0'
			{
				val 409 = s 'It''s shared'
			}
		}
		ForceRemove {00000000-0000-0000-0000-0000000000AB} = s 'Bar Class'
		{
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
				val Answer = d 42
			}
			'Percent' = s '100%%'
			ForceRemove Programmable
		}
	}
	Delete Obsolete.Bar
}
)";
const std::string kClass = "HKEY_CLASSES_ROOT\\CLSID\\{00000000-0000-0000-0000-0000000000AB}";

RegistrationScript Script() { return RegistrationScript::Parse(kScript, {{"MODULE", "/opt/bar/libbar.so"}}); }
} // namespace

class TestRegistrationScript : public QObject {
  Q_OBJECT

private slots:
  void installWritesKeysAndValues() {
    ClassRegistry registry;
    registry.createKey("HKEY_CLASSES_ROOT\\Obsolete.Bar\\CLSID");
    Script().install(registry);
    QCOMPARE(registry.text("HKEY_CLASSES_ROOT\\Foo.Bar"), std::optional<std::string>("Bar Class"));
    QCOMPARE(registry.text(kClass + "\\InprocServer32"), std::optional<std::string>("/opt/bar/libbar.so"));
    QCOMPARE(registry.text(kClass + "\\InprocServer32", "threadingmodel"), std::optional<std::string>("Apartment"));
    QCOMPARE(registry.value(kClass + "\\InprocServer32", "Answer"), std::optional<ClassRegistry::Value>(42u));
    QCOMPARE(registry.text(kClass + "\\Percent"), std::optional<std::string>("100%"));
    QCOMPARE(registry.text("HKEY_CLASSES_ROOT\\CLSID\\Shared Things\\Category", "409"),
             std::optional<std::string>("It's shared"));
    QVERIFY(registry.hasKey(kClass + "\\Programmable"));
    QVERIFY(!registry.hasKey("HKEY_CLASSES_ROOT\\Obsolete.Bar"));
  }

  void forceRemoveReplacesWhatWasThere() {
    ClassRegistry registry;
    registry.setValue(kClass + "\\Old", {}, std::string("stale"));
    registry.setValue(kClass, "extra", std::string("stale"));
    Script().install(registry);
    QVERIFY(!registry.hasKey(kClass + "\\Old"));
    QCOMPARE(registry.value(kClass, "extra"), std::nullopt);
  }

  // NoRemove keys stay; plain keys go once empty; keys the script did not write are kept.
  void uninstallRemovesOnlyWhatTheScriptOwns() {
    ClassRegistry registry;
    registry.setValue("HKEY_CLASSES_ROOT\\CLSID\\{OTHER}", {}, std::string("other class"));
    Script().install(registry);
    registry.setValue("HKEY_CLASSES_ROOT\\Foo.Bar\\Added", {}, std::string("by someone else"));
    Script().uninstall(registry);

    QVERIFY(!registry.hasKey(kClass));
    QVERIFY(registry.hasKey("HKEY_CLASSES_ROOT\\CLSID\\Shared Things"));
    QVERIFY(!registry.hasKey("HKEY_CLASSES_ROOT\\CLSID\\Shared Things\\Category"));
    QVERIFY(registry.hasKey("HKEY_CLASSES_ROOT\\CLSID\\{OTHER}"));
    QVERIFY(!registry.hasKey("HKEY_CLASSES_ROOT\\Foo.Bar\\CLSID"));
    QVERIFY(registry.hasKey("HKEY_CLASSES_ROOT\\Foo.Bar\\Added"));
  }

  void uninstallOfNothingChangesNothing() {
    ClassRegistry registry;
    registry.setValue("HKEY_CLASSES_ROOT\\Keep", {}, std::string("x"));
    const ClassRegistry before = registry;
    Script().uninstall(registry);
    QVERIFY(registry == before);
  }

  void malformedScriptsAreRejected_data() {
    QTest::addColumn<QString>("script");
    QTest::newRow("unknown root") << QStringLiteral("HKXX { A }");
    QTest::newRow("missing brace") << QStringLiteral("HKCR { A = s 'x' { B }");
    QTest::newRow("unterminated quote") << QStringLiteral("HKCR { A = s 'x }");
    QTest::newRow("unknown placeholder") << QStringLiteral("HKCR { A = s '%OTHER%' }");
    QTest::newRow("unsupported type") << QStringLiteral("HKCR { A = b '00' }");
    QTest::newRow("value without data") << QStringLiteral("HKCR { A { val X } }");
    QTest::newRow("bad number") << QStringLiteral("HKCR { A { val X = d 4x } }");
  }
  void malformedScriptsAreRejected() {
    QFETCH(QString, script);
    QVERIFY_THROWS_EXCEPTION(std::exception, RegistrationScript::Parse(script.toStdString(), {{"MODULE", "m"}}));
  }

  // A module path with quotes or blanks is a value, never script syntax.
  void modulePathIsTakenLiterally() {
    ClassRegistry registry;
    RegistrationScript::Parse("HKCR { A = s '%MODULE%' }", {{"MODULE", "/o'dd } path/lib.so"}}).install(registry);
    QCOMPARE(registry.text("HKEY_CLASSES_ROOT\\A"), std::optional<std::string>("/o'dd } path/lib.so"));
  }
};

QTEST_GUILESS_MAIN(TestRegistrationScript)
#include "tst_registrationscript.moc"
