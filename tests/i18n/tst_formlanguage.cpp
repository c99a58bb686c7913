// The open forms follow a change of AppLanguage without a restart: after TdtmAppData::SetLanguage
// no text of the table is left in the other language, and the texts that are not in the table
// (names, numbers) survive the round trip. Each form is opened in Spanish, switched to English
// and back. Fresh SQLite database.
#include "ClockTestDatabase.h"
#include "TranslationTable.h"
#include "fAbout.h"
#include "fCheckOutReasons.h"
#include "fMainWindow.h"
#include "fPassword.h"
#include "uClock.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

using TFormFactory = std::function<std::unique_ptr<QWidget>(TdtmAppData&)>;

// The main window's time label must not move on between the languages.
class TStoppedClock final : public TClock
{
protected:
    QDateTime LocalNow() const override { return QDateTime(QDate(2026, 12, 11), QTime(9, 5)); }
};

// Every text a person can read on the form or its hidden parts: captions, labels, buttons, menus,
// actions, tool tips, placeholders.
QStringList ShownTexts(QWidget* form)
{
    QStringList texts{form->windowTitle()};
    QList<QWidget*> widgets = form->findChildren<QWidget*>();
    widgets.prepend(form);
    for (QWidget* widget : widgets) {
        texts << widget->toolTip() << widget->statusTip();
        if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            texts << box->title();
        else if (auto* edit = qobject_cast<QLineEdit*>(widget))
            texts << edit->placeholderText();
        else if (auto* menu = qobject_cast<QMenu*>(widget))
            texts << menu->title();
        else if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
    }
    for (QAction* action : form->findChildren<QAction*>())
        texts << action->text() << action->toolTip() << action->statusTip();
    texts.removeAll(QString());
    return texts;
}

} // namespace

class TestFormLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void formFollowsLanguage_data();
    void formFollowsLanguage();

private:
    // The texts of the table shown in `texts` that belong to the other language.
    QStringList InLanguage(const QStringList& texts, const QSet<QString>& language) const;
    QStringList NotInTable(const QStringList& texts) const;
    void SetLanguage(int appLanguage);

    std::unique_ptr<TClockTestDatabase> m_database;
    QSet<QString> m_english; // texts whose Spanish differs
    QSet<QString> m_spanish;
};

void TestFormLanguage::initTestCase()
{
    for (const TTranslatedMessage& message : ReadTranslationTable(TranslationTablePath(u"es"_s))) {
        if (message.translations.value(0) != message.source && !message.plural) {
            m_english.insert(message.source);
            m_spanish.insert(message.translations.value(0));
        }
    }
    QVERIFY(!m_english.isEmpty());
    TClock::Install(std::make_unique<TStoppedClock>());
    m_database = std::make_unique<TClockTestDatabase>(TClockTestDatabase::Sqlite);
    QVERIFY(m_database->Start());
    m_database->Execute(u"INSERT INTO CHECKOUTREASONS (REASONID, REASONCODE, REASONNAME) VALUES (1, 'LU', 'Lunch')"_s);
}

void TestFormLanguage::cleanup()
{
    SetLanguage(1);
}

void TestFormLanguage::cleanupTestCase()
{
    m_database.reset();
    TClock::Install(nullptr);
}

void TestFormLanguage::SetLanguage(int appLanguage)
{
    m_database->AppData().SetLanguage(appLanguage);
}

QStringList TestFormLanguage::InLanguage(const QStringList& texts, const QSet<QString>& language) const
{
    QStringList found;
    for (const QString& text : texts) {
        if (language.contains(text))
            found << text;
    }
    return found;
}

QStringList TestFormLanguage::NotInTable(const QStringList& texts) const
{
    QStringList others;
    for (const QString& text : texts) {
        if (!m_english.contains(text) && !m_spanish.contains(text))
            others << text;
    }
    others.sort();
    return others;
}

void TestFormLanguage::formFollowsLanguage_data()
{
    QTest::addColumn<TFormFactory>("create");
    QTest::newRow("main window") << TFormFactory([](TdtmAppData& appData) -> std::unique_ptr<QWidget> {
        return std::make_unique<TfrmMainWindow>(appData);
    });
    QTest::newRow("check-out reasons") << TFormFactory([](TdtmAppData& appData) -> std::unique_ptr<QWidget> {
        return std::make_unique<TfrmCheckOutReasons>(appData);
    });
    QTest::newRow("identification, with reasons") << TFormFactory([](TdtmAppData& appData) -> std::unique_ptr<QWidget> {
        auto dialog = std::make_unique<TfrmPassword>(appData);
        dialog->SetMode(pmCheckOutReason);
        return dialog;
    });
    QTest::newRow("about") << TFormFactory([](TdtmAppData& appData) -> std::unique_ptr<QWidget> {
        return std::make_unique<TfrmAbout>(appData.ProgramDirectory(), u"2.0.0.17"_s);
    });
}

void TestFormLanguage::formFollowsLanguage()
{
    QFETCH(TFormFactory, create);
    SetLanguage(2);
    const std::unique_ptr<QWidget> form = create(m_database->AppData());
    form->show();
    const QStringList openedInSpanish = ShownTexts(form.get());
    QVERIFY2(!InLanguage(openedInSpanish, m_spanish).isEmpty(), "the form shows no text of the table");
    QCOMPARE(InLanguage(openedInSpanish, m_english), QStringList());

    SetLanguage(1);
    const QStringList english = ShownTexts(form.get());
    QCOMPARE(InLanguage(english, m_spanish), QStringList());
    QVERIFY(!InLanguage(english, m_english).isEmpty());

    SetLanguage(2);
    const QStringList backInSpanish = ShownTexts(form.get());
    QCOMPARE(InLanguage(backInSpanish, m_english), QStringList());
    QCOMPARE(NotInTable(backInSpanish), NotInTable(openedInSpanish));
}

QTEST_MAIN(TestFormLanguage)
#include "tst_formlanguage.moc"
