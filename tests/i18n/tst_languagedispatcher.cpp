// TLanguageDispatcher: the translators it installs for each AppLanguage, what it refuses, and that
// widgets hear of the change.
#include "uExceptions.h"
#include "uLanguage.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

// A text of the data module, of the message dialog and of the language dispatcher itself.
QString Translated(const char* context, const char* source, const char* key)
{
    return QCoreApplication::translate(context, source, key);
}
QString WarningCaption() { return Translated("TfrmMyMessageDlg", "Warning", "stWARNING"); }
QString CannotContinue() { return Translated("TdtmAppData", "Application cannot continue!", "stAPPCANTCONTINUE"); }

// Counts the LanguageChange events a widget receives.
class TLanguageListener final : public QWidget
{
public:
    int changes = 0;

protected:
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            ++changes;
        QWidget::changeEvent(event);
    }
};

} // namespace

class TestLanguageDispatcher : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_dispatcher = std::make_unique<TLanguageDispatcher>(); }
    void cleanup() { m_dispatcher.reset(); }

    void switchesBetweenEnglishAndSpanish();
    void refusesOtherIndexes_data();
    void refusesOtherIndexes();
    void announcesOnlyRealChanges();
    void widgetsHearTheChange();
    void qtStandardButtonsFollow();
    void destroyingRestoresEnglish();
    void languageNames();

private:
    std::unique_ptr<TLanguageDispatcher> m_dispatcher;
};

void TestLanguageDispatcher::switchesBetweenEnglishAndSpanish()
{
    QCOMPARE(m_dispatcher->ActiveLanguage(), 1);
    QCOMPARE(WarningCaption(), u"Warning"_s);

    m_dispatcher->SetActiveLanguage(TLanguageDispatcher::Spanish);
    QCOMPARE(m_dispatcher->ActiveLanguage(), 2);
    QCOMPARE(WarningCaption(), u"Advertencia"_s);
    QCOMPARE(CannotContinue(), u"¡La aplicación no puede continuar!"_s);

    m_dispatcher->SetActiveLanguage(TLanguageDispatcher::English);
    QCOMPARE(m_dispatcher->ActiveLanguage(), 1);
    QCOMPARE(WarningCaption(), u"Warning"_s);
    QCOMPARE(CannotContinue(), u"Application cannot continue!"_s);
}

void TestLanguageDispatcher::refusesOtherIndexes_data()
{
    QTest::addColumn<int>("activeBefore");
    QTest::addColumn<int>("index");
    QTest::newRow("0 while English") << 1 << 0;
    QTest::newRow("3 while English") << 1 << 3;
    QTest::newRow("-1 while Spanish") << 2 << -1;
    QTest::newRow("3 while Spanish") << 2 << 3;
}

// The refusal leaves the language as it was, and says so in the active language.
void TestLanguageDispatcher::refusesOtherIndexes()
{
    QFETCH(int, activeBefore);
    QFETCH(int, index);
    m_dispatcher->SetActiveLanguage(activeBefore);
    const QString captionBefore = WarningCaption();
    try {
        m_dispatcher->SetActiveLanguage(index);
        QFAIL("no exception");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), activeBefore == 1 ? u"Invalid language index!"_s : u"¡Índice de idioma no válido!"_s);
    }
    QCOMPARE(m_dispatcher->ActiveLanguage(), activeBefore);
    QCOMPARE(WarningCaption(), captionBefore);
}

void TestLanguageDispatcher::announcesOnlyRealChanges()
{
    QSignalSpy changed(m_dispatcher.get(), &TLanguageDispatcher::LanguageChanged);
    m_dispatcher->SetActiveLanguage(1);
    QCOMPARE(changed.count(), 0);
    m_dispatcher->SetActiveLanguage(2);
    m_dispatcher->SetActiveLanguage(2);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toInt(), 2);
    QVERIFY_THROWS_EXCEPTION(Exception, m_dispatcher->SetActiveLanguage(7));
    m_dispatcher->SetActiveLanguage(1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toInt(), 1);
}

// Open windows and their children are told, so they can retranslate themselves, before the switch
// returns.
void TestLanguageDispatcher::widgetsHearTheChange()
{
    TLanguageListener window;
    auto* child = new TLanguageListener;
    child->setParent(&window);
    window.show();
    m_dispatcher->SetActiveLanguage(2);
    QVERIFY(window.changes > 0);
    QVERIFY(child->changes > 0);

    window.changes = child->changes = 0;
    m_dispatcher->SetActiveLanguage(1);
    QVERIFY(window.changes > 0);
    QVERIFY(child->changes > 0);
}

// Qt's own texts (standard buttons) come from Qt's translations, when the system has them.
void TestLanguageDispatcher::qtStandardButtonsFollow()
{
    if (QLibraryInfo::path(QLibraryInfo::TranslationsPath).isEmpty()
        || !QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_es.qm"_s))
        QSKIP("Qt's Spanish translations are not installed (qt6-translations-l10n)");
    m_dispatcher->SetActiveLanguage(2);
    QDialogButtonBox spanish(QDialogButtonBox::Cancel);
    QCOMPARE(spanish.button(QDialogButtonBox::Cancel)->text().remove(u'&'), u"Cancelar"_s);
    m_dispatcher->SetActiveLanguage(1);
    QDialogButtonBox english(QDialogButtonBox::Cancel);
    QCOMPARE(english.button(QDialogButtonBox::Cancel)->text().remove(u'&'), u"Cancel"_s);
}

void TestLanguageDispatcher::destroyingRestoresEnglish()
{
    m_dispatcher->SetActiveLanguage(2);
    QCOMPARE(WarningCaption(), u"Advertencia"_s);
    m_dispatcher.reset();
    QCOMPARE(WarningCaption(), u"Warning"_s);
}

void TestLanguageDispatcher::languageNames()
{
    QCOMPARE(TLanguageDispatcher::LanguageNames(), QStringList({u"English"_s, u"Español"_s}));
}

QTEST_MAIN(TestLanguageDispatcher)
#include "tst_languagedispatcher.moc"
