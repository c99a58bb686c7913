// The identification dialog driven as a person at the clock would: keys into the bar code, name list,
// password and reason fields, fingers placed on the simulated reader behind the registered
// TrivaneCOM server, message boxes answered as they come up. Each test has a fresh SQLite database.
#include "ClockTestDatabase.h"
#include "SimReader.h"
#include "TestServerRegistry.h"
#include "fMyMessageDlg.h"
#include "fPassword.h"
#include "uAppStartup.h"


#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TPasswordMode)

namespace
{

constexpr int WatchdogMs = 30000;

const QString WrongPassword = u"Wrong password! Please try again."_s;
const QString FingerprintFailed =
    u"Fingerprint authentication has failed. Password authentication will be used instead."_s;
const QString ScanTimedOut = u"Fingerprint scanning time out. Try again?"_s;
const QString CheckedIn = u"This Employee is already Checked In."_s;
const QString CheckedOut = u"This Employee is already Checked Out."_s;
const QString Inactive = u"This Employee is Inactive, please contact your System Administrator."_s;
const QString NotAdministrator = u"This Employee does not have Administrative Privileges"_s;
const QString OfferPassword = u"Your fingerprint is incorrectly placed or not properly registered. \n"
                              "Do you want to use password authentication instead?"_s;
const QString OfferAdministratorPassword =
    u"Your fingerprint is not registered or you don't have administrator privileges.\n"
    "Do you want to use password identification instead?"_s;

// The staff of every test (group 1). Names start with different letters, so one key picks each.
struct TStaffMember {
    int id;
    const char* first;
    const char* last;
    const char* password; // AUTHPASSWORD = 1 when set
    const char* finger;   // an enrolled template of this finger, AUTHFINGERPRINT = 1 when set
    int privileges;
    int lastOperation;
    int status;
    bool askReason;
};
const TStaffMember Staff[] = {
    {1, "Ann", "Adams", "secret", nullptr, 2, 0, 1, false},   // administrator, password
    {2, "Bob", "Baker", nullptr, nullptr, 0, 0, 1, false},    // no credentials
    {3, "Cy", "Cole", "pw3", nullptr, 1, 1, 1, true},         // supervisor, checked in, gives reasons
    {4, "Dee", "Diaz", nullptr, "dee-thumb", 0, 0, 1, false}, // fingerprint only
    {5, "Eve", "Evans", nullptr, "eve-thumb", 0, 0, 0, false}, // inactive
    {6, "Fay", "Fox", "pw6", "fay-index", 0, 1, 1, true},     // fingerprint and password, gives reasons
    {7, "Gus", "Gray", "pw7", "gus-thumb", 0, 1, 1, false},   // checked in
};
QString BarCodeOf(int id) { return QString::number(1000 + id); }
QString NameOf(int id)
{
    const TStaffMember& member = Staff[id - 1];
    return QLatin1String(member.last) + u", "_s + QLatin1String(member.first);
}

QLineEdit* BarCode(QWidget* dialog) { return dialog->findChild<QLineEdit*>(u"edtBarCode"_s); }
QComboBox* UserList(QWidget* dialog) { return dialog->findChild<QComboBox*>(u"cmbUserList"_s); }
QLineEdit* Password(QWidget* dialog) { return dialog->findChild<QLineEdit*>(u"edtPassword"_s); }
QComboBox* Reasons(QWidget* dialog) { return dialog->findChild<QComboBox*>(u"cmbReason"_s); }
QPlainTextEdit* Note(QWidget* dialog) { return dialog->findChild<QPlainTextEdit*>(u"memNote"_s); }
QPushButton* DialogButton(QWidget* dialog, const QString& name)
{
    return dialog->findChild<QDialogButtonBox*>(u"DialogButtons"_s)->findChild<QPushButton*>(name);
}
QPushButton* OkButton(QWidget* dialog) { return DialogButton(dialog, u"btnOk"_s); }

QStringList Entries(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Picks an entry from the opened list: highlighted, then Enter (a choice, as a click would be).
void ChooseInList(QComboBox* list, const QString& text)
{
    const int row = list->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(row, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
    QCOMPARE(list->currentText(), text);
}

void Choose(QWidget* dialog, const QString& name) { ChooseInList(UserList(dialog), name); }

void TypeAndEnter(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Answers every message box the code under test puts up, in order, and keeps their texts. An
// answer may do something first (place a finger before Yes starts another capture); a box with
// no answer left gets No, or Ok when that is its only button.
class TMessageBoxes final
{
public:
    struct TAnswer {
        bool yes = false;
        std::function<void()> before;
    };

    TMessageBoxes()
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { AnswerShown(); });
        m_poll.start();
    }

    void Expect(TAnswer answer) { m_answers.push_back(std::move(answer)); }
    const QStringList& Texts() const { return m_texts; }

private:
    void AnswerShown()
    {
        auto* box = qobject_cast<TfrmMyMessageDlg*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == m_answered)
            return;
        m_answered = box;
        m_texts << box->findChild<QLabel*>(u"lblMessage"_s)->text();
        TAnswer answer;
        if (!m_answers.empty()) {
            answer = std::move(m_answers.front());
            m_answers.pop_front();
        }
        if (answer.before)
            answer.before();
        box->findChild<QPushButton*>(answer.yes ? u"btnOk"_s : u"btnCancel"_s)->click();
    }

    QTimer m_poll;
    QPointer<TfrmMyMessageDlg> m_answered;
    std::deque<TAnswer> m_answers;
    QStringList m_texts;
};

} // namespace

class TestPassword : public QObject
{
    Q_OBJECT

    TestServerRegistry m_registry;
    std::unique_ptr<SimReader> m_sim;
    std::unique_ptr<TClockTestDatabase> m_db;
    std::unique_ptr<TMessageBoxes> m_messages;
    bool m_dialogShown = false;

    TdtmAppData& AppData() { return m_db->AppData(); }

    QString TemplateOf(const QString& finger) const
    {
        QString text;
        m_sim->Run({u"template"_s, finger}, &text);
        return text.trimmed();
    }

    void AddStaff()
    {
        m_db->AddGroup(1, {u"08:00"_s, QString(), QString(), u"17:00"_s}, 480, 10, false);
        for (const TStaffMember& member : Staff) {
            m_db->Execute(u"INSERT INTO EMPLOYEES (EMPLOYEEID, FIRSTNAME, LASTNAME, GROUPID, USERPASSWORD, BARCODE, "
                          "AUTHPASSWORD, AUTHFINGERPRINT, AUTHBARCODE, PRIVILEGESLEVEL, LASTOPERATION, "
                          "EMPLOYEESTATUS, CHECKOUTREASON) VALUES (%1, '%2', '%3', 1, '%4', '%5', %6, %7, 1, "
                          "%8, %9, %10, %11)"_s.arg(member.id)
                              .arg(QLatin1String(member.first), QLatin1String(member.last),
                                   QLatin1String(member.password ? member.password : ""), BarCodeOf(member.id))
                              .arg(member.password ? 1 : 0)
                              .arg(member.finger ? 1 : 0)
                              .arg(member.privileges)
                              .arg(member.lastOperation)
                              .arg(member.status)
                              .arg(member.askReason ? 1 : 0));
            if (member.finger) {
                m_db->Execute(u"INSERT INTO FIRTABLE (EMPLOYEEID, FIRTEXT) VALUES (%1, '%2')"_s.arg(member.id).arg(
                    TemplateOf(QLatin1String(member.finger))));
            }
        }
        m_db->Execute(u"INSERT INTO CHECKOUTREASONS (REASONID, REASONNAME, REASONCODE, REASONSTATUS) "
                      "VALUES (10, 'Personal', '02', 1)"_s);
        m_db->Execute(u"INSERT INTO CHECKOUTREASONS (REASONID, REASONNAME, REASONCODE, REASONSTATUS) "
                      "VALUES (11, 'Lunch', '01', 1)"_s);
        m_db->Execute(u"INSERT INTO CHECKOUTREASONS (REASONID, REASONNAME, REASONCODE, REASONSTATUS) "
                      "VALUES (12, 'Gone', '03', 0)"_s);
    }

    // The reader the program attaches at start-up, on this test's simulated reader.
    void AttachTheReader()
    {
        AttachReader(AppData());
        QVERIFY(AppData().ReaderAvailable());
    }

    bool Place(const QString& finger) { return m_sim->Place(finger); }

    // Identify() with `drive` acting on the dialog once it is up (it is not run when the dialog
    // never shows); a dialog still up after the watchdog fails the test.
    int Identify(TfrmPassword& dialog, const std::function<void(TfrmPassword&)>& drive = {})
    {
        m_dialogShown = false;
        bool forced = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, &dialog, [&] {
            if (!dialog.isVisible() || QApplication::activeModalWidget() != &dialog)
                return;
            poll.stop();
            m_dialogShown = true;
            if (drive)
                drive(dialog);
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, &dialog, [&] {
            forced = true;
            dialog.reject();
        });
        poll.start();
        watchdog.start(WatchdogMs);
        const int result = dialog.Identify();
        if (forced)
            qWarning("the dialog was still open at the watchdog");
        return forced ? -100 : result;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.IsValid());
    }

    void init()
    {
        m_sim = std::make_unique<SimReader>();
        QVERIFY(m_sim->IsValid());
        m_db = std::make_unique<TClockTestDatabase>(TClockTestDatabase::Sqlite);
        QVERIFY(m_db->Start());
        AddStaff();
        m_messages = std::make_unique<TMessageBoxes>();
    }

    void cleanup()
    {
        m_messages.reset();
        m_db.reset();
        m_sim.reset();
    }

    // ---- Modes ---------------------------------------------------------------------------------

    void modeSetsCaptionListAndHeight_data()
    {
        QTest::addColumn<TPasswordMode>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("names");
        // Ann Adams is renamed Zeta: the list sorts by name whatever order the database gives.
        QTest::newRow("administrator login") << pmAdministrator << u"Administrator Login"_s
                                             << QStringList{u"Cole, Cy"_s, u"Zeta, Ann"_s};
        QTest::newRow("user login") << pmUser << u"User Login"_s
                                    << QStringList{u"Baker, Bob"_s, u"Cole, Cy"_s, u"Diaz, Dee"_s, u"Fox, Fay"_s,
                                                   u"Gray, Gus"_s, u"Zeta, Ann"_s};
        QTest::newRow("check in") << pmCheckIn << u"Password for Check In"_s
                                  << QStringList{u"Baker, Bob"_s, u"Diaz, Dee"_s, u"Zeta, Ann"_s};
        QTest::newRow("check out") << pmCheckOut << u"Password for Check Out"_s
                                   << QStringList{u"Cole, Cy"_s, u"Fox, Fay"_s, u"Gray, Gus"_s};
    }
    void modeSetsCaptionListAndHeight()
    {
        QFETCH(TPasswordMode, mode);
        QFETCH(QString, caption);
        QFETCH(QStringList, names);
        m_db->Execute(u"UPDATE EMPLOYEES SET LASTNAME = 'Zeta' WHERE EMPLOYEEID = 1"_s);

        TfrmPassword dialog(AppData());
        dialog.SetMode(mode);
        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(Entries(UserList(&dialog)), names);
        QCOMPARE(UserList(&dialog)->currentIndex(), -1);
        QCOMPARE(dialog.height(), TfrmPassword::FormHeight);
        QVERIFY(Reasons(&dialog)->isHidden());
        QVERIFY(Note(&dialog)->isHidden());
        QVERIFY(!Password(&dialog)->isEnabled());
        QVERIFY(!OkButton(&dialog)->isEnabled());
        QCOMPARE(dialog.ResultEmployeeId(), -1);
        QCOMPARE(dialog.SelectedEmployeeId(), 0);
    }

    void layoutFitsEveryMode()
    {
        TfrmPassword dialog(AppData());
        for (TPasswordMode mode : {pmCheckOut, pmCheckOutReason}) {
            dialog.SetMode(mode);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            // Every shown field keeps at least its minimal height in the fixed dialog.
            for (QWidget* field : {static_cast<QWidget*>(BarCode(&dialog)), static_cast<QWidget*>(Password(&dialog)),
                                   static_cast<QWidget*>(OkButton(&dialog)), static_cast<QWidget*>(Reasons(&dialog))}) {
                if (field->isVisible())
                    QVERIFY2(field->height() >= field->minimumSizeHint().height(), qPrintable(field->objectName()));
            }
            QVERIFY(dialog.height() >= dialog.minimumSizeHint().height());
        }
        QCOMPARE(dialog.height(), TfrmPassword::FormHeightWithReason);
        QCOMPARE(Note(&dialog)->height(), 50);
        dialog.hide();
    }

    // ---- Name and password --------------------------------------------------------------------

    void nameAndPassword_data()
    {
        QTest::addColumn<TPasswordMode>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("typed"); // each followed by Enter in the password box
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("right password") << pmCheckIn << u"Adams, Ann"_s << QStringList{u"secret"_s} << 1
                                        << QStringList();
        QTest::newRow("wrong, then right") << pmCheckIn << u"Adams, Ann"_s << QStringList{u"Secret"_s, u"secret"_s}
                                           << 1 << QStringList{WrongPassword};
        QTest::newRow("wrong only") << pmUser << u"Gray, Gus"_s << QStringList{u"pw6"_s} << -1
                                    << QStringList{WrongPassword};
        QTest::newRow("empty password does nothing") << pmCheckIn << u"Adams, Ann"_s << QStringList{QString()} << -1
                                                     << QStringList();
        QTest::newRow("no credentials: the name is enough") << pmCheckIn << u"Baker, Bob"_s << QStringList() << 2
                                                            << QStringList();
        QTest::newRow("supervisor logs in") << pmAdministrator << u"Cole, Cy"_s << QStringList{u"pw3"_s} << 3
                                            << QStringList();
        // Without a reader the fingerprint step is over at once: the password identifies.
        QTest::newRow("fingerprint and password, no reader") << pmUser << u"Fox, Fay"_s << QStringList{u"pw6"_s} << 6
                                                             << QStringList();
        QTest::newRow("fingerprint only, no reader") << pmCheckIn << u"Diaz, Dee"_s << QStringList{u"x"_s} << -1
                                                     << QStringList();
    }
    void nameAndPassword()
    {
        QFETCH(TPasswordMode, mode);
        QFETCH(QString, name);
        QFETCH(QStringList, typed);
        QFETCH(int, expected);
        QFETCH(QStringList, messages);

        TfrmPassword dialog(AppData());
        dialog.SetMode(mode);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            QCOMPARE(d.focusWidget(), BarCode(&d));
            Choose(&d, name);
            for (const QString& text : typed) {
                if (!d.isVisible())
                    return;
                Password(&d)->clear();
                TypeAndEnter(Password(&d), text);
            }
            if (d.isVisible())
                d.reject(); // Cancel: the caller gets -1
        });
        QCOMPARE(result, expected);
        QCOMPARE(m_messages->Texts(), messages);
        if (expected > 0) {
            QCOMPARE(dialog.ResultEmployeeId(), expected);
            QCOMPARE(dialog.EmployeeName(), name);
            QCOMPARE(dialog.Mode(), mode);
        }
    }

    void okEnablesWithPasswordTextAndTriesToLogIn()
    {
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmAdministrator);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            Choose(&d, u"Adams, Ann"_s);
            QVERIFY(Password(&d)->isEnabled());
            QCOMPARE(d.focusWidget(), Password(&d));
            QVERIFY(!OkButton(&d)->isEnabled());
            QTest::keyClicks(Password(&d), u"wrong"_s);
            QVERIFY(OkButton(&d)->isEnabled());
            QTest::mouseClick(OkButton(&d), Qt::LeftButton);
            QVERIFY(d.isVisible()); // Ok does not close the dialog on a failed try
            Password(&d)->clear();
            QVERIFY(!OkButton(&d)->isEnabled());
            QTest::keyClicks(Password(&d), u"secret"_s);
            QTest::mouseClick(OkButton(&d), Qt::LeftButton);
        });
        QCOMPARE(result, 1);
        QCOMPARE(m_messages->Texts(), QStringList{WrongPassword});
        QCOMPARE(dialog.PrivilegesLevel(), 2);
        QCOMPARE(dialog.GroupId(), 1);
    }

    void choosingAnotherEmployeeReplacesTheCredentials()
    {
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmUser);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            Choose(&d, u"Adams, Ann"_s);
            QTest::keyClicks(Password(&d), u"pw7"_s); // not Enter: she changes her mind
            Choose(&d, u"Gray, Gus"_s);
            QVERIFY(Password(&d)->text().isEmpty());
            TypeAndEnter(Password(&d), u"pw7"_s);
        });
        QCOMPARE(result, 7);
        QCOMPARE(dialog.EmployeeName(), u"Gray, Gus"_s);
        QCOMPARE(dialog.PrivilegesLevel(), 0);
        QVERIFY(m_messages->Texts().isEmpty());
    }

    void cancelGivesMinusOne_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape key") << true;
    }
    void cancelGivesMinusOne()
    {
        QFETCH(bool, escape);
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmCheckIn);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            Choose(&d, u"Adams, Ann"_s);
            QTest::keyClicks(Password(&d), u"secre"_s);
            if (escape)
                QTest::keyClick(Password(&d), Qt::Key_Escape);
            else
                QTest::mouseClick(DialogButton(&d, u"btnCancel"_s), Qt::LeftButton);
        });
        QCOMPARE(result, -1);
        QVERIFY(m_dialogShown);
    }

    // ---- Bar code ------------------------------------------------------------------------------

    void barCode_data()
    {
        QTest::addColumn<TPasswordMode>("mode");
        QTest::addColumn<QString>("keys");     // typed into the bar code field, then Enter
        QTest::addColumn<QString>("password"); // then typed with Enter, when not empty
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("no credentials") << pmCheckIn << u"1002"_s << QString() << 2 << QStringList();
        QTest::newRow("letters are refused") << pmCheckIn << u"1x0-02a"_s << QString() << 2 << QStringList();
        QTest::newRow("then the password") << pmAdministrator << u"1001"_s << u"secret"_s << 1 << QStringList();
        QTest::newRow("unknown number")
            << pmCheckIn << u"999"_s << QString() << -1
            << QStringList{u"This Bar Code: \"999\" does not correspond to any employee."_s};
        QTest::newRow("nothing typed") << pmCheckIn << QString() << QString() << -1 << QStringList();
        QTest::newRow("inactive") << pmUser << u"1005"_s << QString() << -1 << QStringList{Inactive};
        QTest::newRow("check in, already in") << pmCheckIn << u"1003"_s << QString() << -1 << QStringList{CheckedIn};
        QTest::newRow("check out, already out") << pmCheckOut << u"1002"_s << QString() << -1
                                                << QStringList{CheckedOut};
        QTest::newRow("login without privileges") << pmAdministrator << u"1002"_s << QString() << -1
                                                  << QStringList{NotAdministrator};
        QTest::newRow("user login, checked in") << pmUser << u"1007"_s << u"pw7"_s << 7 << QStringList();
    }
    void barCode()
    {
        QFETCH(TPasswordMode, mode);
        QFETCH(QString, keys);
        QFETCH(QString, password);
        QFETCH(int, expected);
        QFETCH(QStringList, messages);

        TfrmPassword dialog(AppData());
        dialog.SetMode(mode);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            TypeAndEnter(BarCode(&d), keys); // a scanner types the digits and Enter
            if (d.isVisible() && !password.isEmpty())
                TypeAndEnter(Password(&d), password);
            if (d.isVisible()) {
                QCOMPARE(BarCode(&d)->selectedText(), BarCode(&d)->text()); // the next scan replaces it
                d.reject();
            }
        });
        QCOMPARE(result, expected);
        QCOMPARE(m_messages->Texts(), messages);
        if (expected > 0)
            QCOMPARE(dialog.EmployeeName(), NameOf(expected));
    }

    void refusedBarCodeShowsTheEmployeeInTheList()
    {
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmUser);
        Identify(dialog, [&](TfrmPassword& d) {
            TypeAndEnter(BarCode(&d), u"1007"_s);
            QCOMPARE(UserList(&d)->currentText(), u"Gray, Gus"_s);
            QCOMPARE(d.SelectedEmployeeId(), 7);
            d.reject();
        });
    }

    // ---- Check-out reason -----------------------------------------------------------------------

    void checkOutWithReasonAndNote()
    {
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmCheckOut);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            QVERIFY(Reasons(&d)->isHidden());
            Choose(&d, u"Cole, Cy"_s);
            QCOMPARE(d.Mode(), pmCheckOutReason);
            QCOMPARE(d.height(), TfrmPassword::FormHeightWithReason);
            QVERIFY(Reasons(&d)->isVisible());
            QVERIFY(Note(&d)->isVisible());
            QCOMPARE(d.focusWidget(), Reasons(&d));
            QCOMPARE(Entries(Reasons(&d)), (QStringList{u"01     - Lunch"_s, u"02     - Personal"_s}));
            QCOMPARE(Reasons(&d)->currentIndex(), -1);
            // The password alone does not do without a reason.
            TypeAndEnter(Password(&d), u"pw3"_s);
            QVERIFY(d.isVisible());
            QVERIFY(!OkButton(&d)->isEnabled());

            QTest::keyClick(Reasons(&d), Qt::Key_Down);
            QCOMPARE(Reasons(&d)->currentText(), u"01     - Lunch"_s);
            QTest::keyClick(Reasons(&d), Qt::Key_Return);
            QCOMPARE(d.focusWidget(), Note(&d));
            QTest::keyClicks(Note(&d), u"Dentist"_s);
            QTest::keyClick(Note(&d), Qt::Key_Return);
            QCOMPARE(d.focusWidget(), Password(&d));
            QVERIFY(OkButton(&d)->isEnabled());
            QTest::keyClick(Password(&d), Qt::Key_Return);
        });
        QCOMPARE(result, 3);
        QCOMPARE(dialog.Mode(), pmCheckOutReason);
        QCOMPARE(dialog.ReasonId(), 11);
        QCOMPARE(dialog.Note(), u"Dentist"_s);
        QVERIFY(m_messages->Texts().isEmpty());
    }

    void checkOutWithoutReasonStaysInItsMode()
    {
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmCheckOut);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            Choose(&d, u"Gray, Gus"_s);
            QVERIFY(Reasons(&d)->isHidden());
            TypeAndEnter(Password(&d), u"pw7"_s);
        });
        QCOMPARE(result, 7);
        QCOMPARE(dialog.Mode(), pmCheckOut);
        QCOMPARE(dialog.height(), TfrmPassword::FormHeight);
        QCOMPARE(dialog.ReasonId(), -1);
    }

    void checkOutReasonByFingerprint_data()
    {
        QTest::addColumn<QString>("finger");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("her finger") << u"fay-index"_s << QStringList();
        QTest::newRow("another finger, then the password") << u"gus-thumb"_s << QStringList{FingerprintFailed};
    }
    void checkOutReasonByFingerprint()
    {
        QFETCH(QString, finger);
        QFETCH(QStringList, messages);
        AttachTheReader();
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmCheckOut);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            Choose(&d, u"Fox, Fay"_s);
            QCOMPARE(d.Mode(), pmCheckOutReason);
            QVERIFY(!Password(&d)->isEnabled()); // the finger comes first
            QVERIFY(!OkButton(&d)->isEnabled());
            ChooseInList(Reasons(&d), u"02     - Personal"_s);
            QTRY_COMPARE(d.focusWidget(), Note(&d)); // the closed drop-down hands on to the note
            QVERIFY(OkButton(&d)->isEnabled());  // Ok starts the fingerprint step
            QVERIFY(Place(finger));
            QTest::mouseClick(OkButton(&d), Qt::LeftButton);
            if (d.isVisible()) {
                QVERIFY(Password(&d)->isEnabled());
                QCOMPARE(d.focusWidget(), Password(&d));
                QVERIFY(!OkButton(&d)->isEnabled());
                QTest::keyClicks(Password(&d), u"pw6"_s);
                QVERIFY(OkButton(&d)->isEnabled());
                QTest::mouseClick(OkButton(&d), Qt::LeftButton);
            }
        });
        QCOMPARE(result, 6);
        QCOMPARE(dialog.ReasonId(), 10);
        QCOMPARE(m_messages->Texts(), messages);
        QCOMPARE(m_sim->PendingCount(), 0);
    }

    // ---- One-to-one fingerprint ---------------------------------------------------------------

    void fingerprintOneToOne_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("placeFirst"); // before the name is chosen; empty: none (time-out)
        QTest::addColumn<bool>("retry");         // the answer to the time-out question
        QTest::addColumn<QString>("placeOnRetry");
        QTest::addColumn<QString>("password"); // typed with Enter afterwards when the dialog is up
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("fingerprint only") << u"Diaz, Dee"_s << u"dee-thumb"_s << false << QString() << QString() << 4
                                          << QStringList();
        QTest::newRow("fingerprint and password, finger") << u"Fox, Fay"_s << u"fay-index"_s << false << QString()
                                                          << QString() << 6 << QStringList();
        QTest::newRow("wrong finger falls back to the password")
            << u"Fox, Fay"_s << u"dee-thumb"_s << false << QString() << u"pw6"_s << 6
            << QStringList{FingerprintFailed};
        QTest::newRow("time-out, retry, right finger") << u"Fox, Fay"_s << QString() << true << u"fay-index"_s
                                                       << QString() << 6 << QStringList{ScanTimedOut};
        QTest::newRow("time-out, retry, wrong finger: one fall-back")
            << u"Fox, Fay"_s << QString() << true << u"dee-thumb"_s << u"pw6"_s << 6
            << QStringList{ScanTimedOut, FingerprintFailed};
        QTest::newRow("time-out, no retry") << u"Fox, Fay"_s << QString() << false << QString() << u"pw6"_s << 6
                                            << QStringList{ScanTimedOut, FingerprintFailed};
        QTest::newRow("wrong finger, no password to fall back on")
            << u"Diaz, Dee"_s << u"fay-index"_s << false << QString() << QString() << -1 << QStringList();
    }
    void fingerprintOneToOne()
    {
        QFETCH(QString, name);
        QFETCH(QString, placeFirst);
        QFETCH(bool, retry);
        QFETCH(QString, placeOnRetry);
        QFETCH(QString, password);
        QFETCH(int, expected);
        QFETCH(QStringList, messages);
        AttachTheReader();
        m_messages->Expect({retry, [&] {
                                if (!placeOnRetry.isEmpty())
                                    Place(placeOnRetry);
                            }});
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmUser);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            if (!placeFirst.isEmpty())
                QVERIFY(Place(placeFirst));
            Choose(&d, name);
            if (d.isVisible() && !password.isEmpty()) {
                QVERIFY(d.FingerprintDone());
                TypeAndEnter(Password(&d), password);
            }
            if (d.isVisible())
                d.reject();
        });
        QCOMPARE(result, expected);
        QCOMPARE(m_messages->Texts(), messages);
    }

    void cancelledCaptureTriesAgainAtTheNextAttempt()
    {
        AttachTheReader();
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmUser);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            QCOMPARE(m_sim->Run({u"cancel"_s}), 0);
            Choose(&d, u"Fox, Fay"_s);
            QVERIFY(d.isVisible());
            QVERIFY(!d.FingerprintDone());
            // Enter in the (empty) password box is the next attempt: it captures again.
            QVERIFY(Place(u"fay-index"_s));
            TypeAndEnter(Password(&d), QString());
        });
        QCOMPARE(result, 6);
        QVERIFY(m_messages->Texts().isEmpty());
    }

    // ---- Fingerprint-only identification (MatchFingerprints) ------------------------------------

    void oneToManySearch_data()
    {
        QTest::addColumn<TPasswordMode>("mode");
        QTest::addColumn<QString>("finger"); // empty: nobody places one (time-out)
        QTest::addColumn<int>("expected");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("check in") << pmCheckIn << u"dee-thumb"_s << 4 << QStringList();
        QTest::newRow("check out of an employee who gives reasons: no reason")
            << pmCheckOut << u"fay-index"_s << 6 << QStringList();
        QTest::newRow("already checked in: no password offered") << pmCheckIn << u"gus-thumb"_s << -1
                                                                 << QStringList{CheckedIn};
        QTest::newRow("already checked out") << pmCheckOut << u"dee-thumb"_s << -1 << QStringList{CheckedOut};
        QTest::newRow("inactive employee is never found") << pmCheckIn << u"eve-thumb"_s << -1
                                                          << QStringList{OfferPassword};
        QTest::newRow("unknown finger") << pmUser << u"nobody"_s << -1 << QStringList{OfferPassword};
        QTest::newRow("administrator login without privileges")
            << pmAdministrator << u"dee-thumb"_s << -1 << QStringList{OfferAdministratorPassword};
        QTest::newRow("no finger") << pmCheckIn << QString() << -1
                                   << QStringList{u"Your fingerprint is not in-place!"_s};
    }
    void oneToManySearch()
    {
        QFETCH(TPasswordMode, mode);
        QFETCH(QString, finger);
        QFETCH(int, expected);
        QFETCH(QStringList, messages);
        AttachTheReader();
        AppData().AppRegistry().MatchFingerprints = true;
        if (!finger.isEmpty())
            QVERIFY(Place(finger));
        TfrmPassword dialog(AppData());
        dialog.SetMode(mode);
        QCOMPARE(Identify(dialog), expected);
        QVERIFY(!m_dialogShown);
        QCOMPARE(m_messages->Texts(), messages);
        QCOMPARE(dialog.Mode(), mode);
        if (expected > 0) {
            QCOMPARE(dialog.ResultEmployeeId(), expected);
            QCOMPARE(dialog.EmployeeName(), NameOf(expected));
        }
    }

    void searchFindingNobodyOffersThePassword_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("expected");
        QTest::newRow("password employee") << u"Adams, Ann"_s << u"secret"_s << 1;
        // Fingerprint and password: the password box is on at once and no finger is asked for.
        QTest::newRow("fingerprint and password employee") << u"Fox, Fay"_s << u"pw6"_s << 6;
    }
    void searchFindingNobodyOffersThePassword()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(int, expected);
        AttachTheReader();
        AppData().AppRegistry().MatchFingerprints = true;
        QVERIFY(Place(u"nobody"_s));
        m_messages->Expect({true, {}});
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmUser);
        const int result = Identify(dialog, [&](TfrmPassword& d) {
            QVERIFY(d.FingerprintDone());
            Choose(&d, name);
            QVERIFY(Password(&d)->isEnabled());
            TypeAndEnter(Password(&d), password);
        });
        QCOMPARE(result, expected);
        QVERIFY(m_dialogShown);
        QCOMPARE(m_messages->Texts(), QStringList{OfferPassword});
    }

    void searchFingerprintForTheCaller_data()
    {
        QTest::addColumn<QString>("finger");
        QTest::addColumn<bool>("validate");
        QTest::addColumn<bool>("skipValidation");
        QTest::addColumn<bool>("administratorsOnly");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("employeeId");
        QTest::newRow("continuous scan: checked in is fine") << u"gus-thumb"_s << true << true << false << 0 << 7;
        QTest::newRow("validated in check-in mode") << u"gus-thumb"_s << true << false << false << -2 << -1;
        QTest::newRow("enrolment check, no validation") << u"gus-thumb"_s << false << false << false << 0 << 7;
        QTest::newRow("administrators only") << u"gus-thumb"_s << false << false << true << -1 << -1;
        QTest::newRow("inactive") << u"eve-thumb"_s << false << false << false << -1 << -1;
    }
    void searchFingerprintForTheCaller()
    {
        QFETCH(QString, finger);
        QFETCH(bool, validate);
        QFETCH(bool, skipValidation);
        QFETCH(bool, administratorsOnly);
        QFETCH(int, result);
        QFETCH(int, employeeId);
        AttachTheReader();
        // The scan thread's capture: a template of the finger, no capture on this reader.
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmCheckIn);
        dialog.SetSkipValidation(skipValidation);
        int foundId = -1;
        QString foundName;
        QCOMPARE(dialog.SearchFingerprint(TemplateOf(finger), validate, administratorsOnly, foundId, foundName),
                 result);
        QCOMPARE(foundId, employeeId);
        if (result == 0) {
            QCOMPARE(foundName, u"Gray, Gus"_s);
            QCOMPARE(dialog.PrivilegesLevel(), 0);
            QCOMPARE(dialog.GroupId(), 1);
        }
        QCOMPARE(m_messages->Texts(), result == -2 ? QStringList{CheckedIn} : QStringList());
    }

    // ---- Failures --------------------------------------------------------------------------------

    void employeeRemovedWhileChosenRaisesToTheCaller()
    {
        TfrmPassword dialog(AppData());
        dialog.SetMode(pmCheckIn);
        bool raised = false;
        try {
            Identify(dialog, [&](TfrmPassword& d) {
                m_db->Execute(u"DELETE FROM EMPLOYEES WHERE EMPLOYEEID = 1"_s);
                Choose(&d, u"Adams, Ann"_s);
            });
        } catch (const Exception& error) {
            raised = true;
            QCOMPARE(error.Message(), u"The user is invalid!"_s);
        }
        QVERIFY(raised);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TestPassword)
#include "tst_password.moc"
