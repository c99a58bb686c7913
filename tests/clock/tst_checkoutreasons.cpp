#include "ClockTestDatabase.h"
#include "fCheckOutReasons.h"
#include "fMyMessageDlg.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <map>

using namespace Qt::StringLiterals;
using TBackend = TClockTestDatabase::TBackend;

Q_DECLARE_METATYPE(TClockTestDatabase::TBackend)

namespace
{

// Answers the next message dialog once it is shown: Yes/Ok or No.
void AnswerNextMessage(bool yes, QStringList* shownTexts = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, yes, shownTexts] {
        auto* dialog = qobject_cast<TfrmMyMessageDlg*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        if (shownTexts)
            shownTexts->append(dialog->findChild<QLabel*>(u"lblMessage"_s)->text());
        dialog->findChild<QPushButton*>(yes ? u"btnOk"_s : u"btnCancel"_s)->click();
    });
    timer->start();
}

// The form's controls, found by name as the user finds them by sight.
struct TCatalogForm {
    explicit TCatalogForm(TdtmAppData& appData) : form(appData)
    {
        form.show();
        list = form.findChild<QListWidget*>(u"lbxReasons"_s);
        code = form.findChild<QLineEdit*>(u"edtCode"_s);
        name = form.findChild<QLineEdit*>(u"edtReason"_s);
        add = form.findChild<QPushButton*>(u"btnAddReason"_s);
        modify = form.findChild<QPushButton*>(u"btnModifyReason"_s);
        remove = form.findChild<QPushButton*>(u"btnDeleteReason"_s);
        save = form.findChild<QPushButton*>(u"btnSave"_s);
        cancel = form.findChild<QPushButton*>(u"btnCancel"_s);
    }

    QStringList Entries() const
    {
        QStringList entries;
        for (int row = 0; row < list->count(); ++row)
            entries.append(list->item(row)->text());
        return entries;
    }
    QString Selected() const
    {
        const auto selected = list->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    }
    void Select(const QString& entry) const
    {
        const auto found = list->findItems(entry, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }
    // Types into both boxes and presses Enter in the name box.
    void TypeAndEnter(const QString& codeText, const QString& nameText) const
    {
        code->clear();
        QTest::keyClicks(code, codeText);
        name->clear();
        QTest::keyClicks(name, nameText);
        QTest::keyClick(name, Qt::Key_Return);
    }
    bool Browsing() const { return list->isEnabled() && !code->isEnabled() && !save->isEnabled(); }

    TfrmCheckOutReasons form;
    QListWidget* list;
    QLineEdit* code;
    QLineEdit* name;
    QPushButton* add;
    QPushButton* modify;
    QPushButton* remove;
    QPushButton* save;
    QPushButton* cancel;
};

} // namespace

class TestCheckOutReasons : public QObject
{
    Q_OBJECT

    std::map<TBackend, std::unique_ptr<TClockTestDatabase>> m_databases;

private slots:
    void initTestCase()
    {
        try {
            m_databases = TClockTestDatabase::StartAvailable();
        } catch (const std::exception& error) {
            QFAIL(error.what());
        }
    }
    void init()
    {
        for (auto& [backend, database] : m_databases) {
            if (database)
                database->Execute(u"DELETE FROM CHECKOUTREASONS"_s);
        }
    }
    void cleanupTestCase() { m_databases.clear(); }

    void entryText_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::newRow("short code padded") << u"01"_s << u"Lunch"_s << u"01     - Lunch"_s;
        QTest::newRow("six characters") << u"DOCTOR"_s << u"Doctor"_s << u"DOCTOR - Doctor"_s;
        QTest::newRow("longer code kept whole") << u"PERSONAL"_s << u"Errand"_s << u"PERSONAL - Errand"_s;
    }
    void entryText()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, entry);
        QCOMPARE(TCheckOutReasons::FormatReasonEntry(code, name), entry);
    }

    // Adding, refusing a duplicate, renaming and deleting through the form, with the keyboard where
    // the user would use it; the list shows only the reasons in use, a deleted one stays stored.
    void maintainCatalog_data() { TClockTestDatabase::AddBackendRows(); }
    void maintainCatalog()
    {
        QFETCH(TBackend, backend);
        REQUIRE_CLOCK_DATABASE(database, m_databases, backend);
        TCatalogForm ui(database->AppData());
        QCOMPARE(ui.Entries(), QStringList());
        QVERIFY(ui.Browsing());
        QVERIFY(ui.add->isEnabled());
        QVERIFY(!ui.modify->isEnabled());
        QVERIFY(!ui.remove->isEnabled());

        // Add: Save waits for both boxes; Enter saves and selects the new entry.
        QTest::mouseClick(ui.add, Qt::LeftButton);
        QVERIFY(!ui.list->isEnabled());
        QCOMPARE(ui.form.focusWidget(), ui.code);
        QTest::keyClicks(ui.code, u"01"_s);
        QVERIFY(!ui.save->isEnabled());
        ui.TypeAndEnter(u" 01 "_s, u"Lunch"_s);
        QCOMPARE(ui.Entries(), QStringList{u"01     - Lunch"_s});
        QCOMPARE(ui.Selected(), u"01     - Lunch"_s);
        QVERIFY(ui.Browsing());

        QTest::mouseClick(ui.add, Qt::LeftButton);
        QCOMPARE(ui.code->text(), QString());
        ui.TypeAndEnter(u"00"_s, u"Doctor"_s);
        QCOMPARE(ui.Entries(), (QStringList{u"00     - Doctor"_s, u"01     - Lunch"_s})); // sorted by code

        // A code already in use is refused and the edit goes on; Esc gives up.
        QStringList messages;
        QTest::mouseClick(ui.add, Qt::LeftButton);
        AnswerNextMessage(true, &messages);
        ui.TypeAndEnter(u"01"_s, u"Other"_s);
        QCOMPARE(
            messages,
            QStringList{u"This Reason Name or Code already exist on DB! Please try with another one."_s});
        QVERIFY(ui.code->isEnabled());
        QTest::keyClick(ui.name, Qt::Key_Escape);
        QVERIFY(ui.Browsing());
        QCOMPARE(ui.form.isVisible(), true);

        // Selecting shows the entry's values; Modify renames (a quote in the name is kept).
        ui.Select(u"01     - Lunch"_s);
        QCOMPARE(ui.code->text(), u"01"_s);
        QCOMPARE(ui.name->text(), u"Lunch"_s);
        QTest::mouseClick(ui.modify, Qt::LeftButton);
        ui.TypeAndEnter(u"01"_s, u"Lunch's break"_s);
        QCOMPARE(ui.Entries(), (QStringList{u"00     - Doctor"_s, u"01     - Lunch's break"_s}));
        QCOMPARE(ui.Selected(), u"01     - Lunch's break"_s);

        // Saving a reason with its own unchanged name and code is no duplicate.
        QTest::keyClick(ui.list, Qt::Key_Return); // Enter on an entry edits it
        QVERIFY(ui.code->isEnabled());
        QTest::keyClick(ui.code, Qt::Key_Return);
        QVERIFY(ui.Browsing());
        QCOMPARE(ui.Entries().size(), 2);

        // Delete asks first: No keeps it, Yes marks it deleted and empties the boxes.
        ui.Select(u"00     - Doctor"_s);
        AnswerNextMessage(false);
        QTest::mouseClick(ui.remove, Qt::LeftButton);
        QCOMPARE(ui.Entries().size(), 2);
        AnswerNextMessage(true, &messages);
        QTest::mouseClick(ui.remove, Qt::LeftButton);
        QCOMPARE(messages.last(), u"Are you sure you want to delete this Check Out Reason?"_s);
        QCOMPARE(ui.Entries(), QStringList{u"01     - Lunch's break"_s});
        QCOMPARE(ui.code->text(), QString());
        QCOMPARE(ui.name->text(), QString());
        QCOMPARE(
            database->Scalar(u"SELECT REASONSTATUS FROM CHECKOUTREASONS WHERE REASONCODE = '00'"_s).toInt(),
            0);

        // The last reason cannot be deleted.
        ui.Select(u"01     - Lunch's break"_s);
        QVERIFY(ui.modify->isEnabled());
        QVERIFY(!ui.remove->isEnabled());

        // The deleted reason's name and code are free again; a new form lists only usable reasons.
        QTest::mouseClick(ui.add, Qt::LeftButton);
        ui.TypeAndEnter(u"00"_s, u"Doctor"_s);
        TCatalogForm reopened(database->AppData());
        QCOMPARE(reopened.Entries(), (QStringList{u"00     - Doctor"_s, u"01     - Lunch's break"_s}));
        QCOMPARE(database->Scalar(u"SELECT COUNT(*) FROM CHECKOUTREASONS"_s).toInt(), 3);
    }

    // Esc outside the edit boxes closes the form; inside them it only cancels the edit.
    void escapeClosesOnlyWhileBrowsing()
    {
        REQUIRE_CLOCK_DATABASE(database, m_databases, TClockTestDatabase::Sqlite);
        TCatalogForm ui(database->AppData());
        QTest::mouseClick(ui.add, Qt::LeftButton);
        QTest::keyClick(ui.code, Qt::Key_Escape);
        QVERIFY(ui.form.isVisible());
        QVERIFY(ui.Browsing());
        QTest::keyClick(ui.list, Qt::Key_Escape);
        QVERIFY(!ui.form.isVisible());
        QCOMPARE(ui.form.result(), int(QDialog::Rejected));
    }

    // The "Specify Check Out Reason" box may only stay ticked while the catalog has a reason.
    void ensureReasonsExist_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("catalogHasReason");
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("addInCatalog");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("result");
        QTest::newRow("unticked") << false << false << false << false << 0 << false;
        QTest::newRow("catalog has a reason") << true << true << false << false << 0 << true;
        QTest::newRow("empty catalog, No") << true << false << false << false << 1 << false;
        QTest::newRow("empty catalog, Yes, one added") << true << false << true << true << 1 << true;
        QTest::newRow("empty catalog, Yes, none added") << true << false << true << false << 1 << false;
    }
    void ensureReasonsExist()
    {
        QFETCH(bool, checked);
        QFETCH(bool, catalogHasReason);
        QFETCH(bool, answerYes);
        QFETCH(bool, addInCatalog);
        QFETCH(int, questions);
        QFETCH(bool, result);
        REQUIRE_CLOCK_DATABASE(database, m_databases, TClockTestDatabase::Sqlite);
        if (catalogHasReason)
            database->Execute(
                u"INSERT INTO CHECKOUTREASONS (REASONNAME, REASONCODE, REASONSTATUS) VALUES ('Lunch', '01', 1)"_s);

        QStringList asked;
        if (questions > 0)
            AnswerNextMessage(answerYes, &asked);
        if (answerYes) {
            // The catalog opens modally once the question is answered.
            auto* timer = new QTimer(this);
            timer->setInterval(10);
            connect(timer, &QTimer::timeout, timer, [timer, addInCatalog] {
                auto* catalog = qobject_cast<TfrmCheckOutReasons*>(QApplication::activeModalWidget());
                if (!catalog)
                    return;
                timer->stop();
                if (addInCatalog) {
                    QTest::mouseClick(catalog->findChild<QPushButton*>(u"btnAddReason"_s), Qt::LeftButton);
                    QTest::keyClicks(catalog->findChild<QLineEdit*>(u"edtCode"_s), u"01"_s);
                    QTest::keyClicks(catalog->findChild<QLineEdit*>(u"edtReason"_s), u"Lunch"_s);
                    QTest::mouseClick(catalog->findChild<QPushButton*>(u"btnSave"_s), Qt::LeftButton);
                }
                catalog->reject();
            });
            timer->start();
        }
        QCOMPARE(EnsureReasonsExist(database->AppData(), checked), result);
        QCOMPARE(asked.size(), questions);
        if (questions > 0)
            QCOMPARE(asked.first(), u"First you have to add Check Out Reasons. Do you want to do it now?"_s);
    }
};

QTEST_MAIN(TestCheckOutReasons)
#include "tst_checkoutreasons.moc"
