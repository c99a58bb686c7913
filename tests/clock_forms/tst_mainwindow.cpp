// The clock station's main window driven as the people at the clock would: punch buttons, the
// identification dialog answered from the test, fingers placed on the simulated reader behind a
// TrivaneCOM server registered in a class registry of the test's own, and every message box
// answered as it comes up. Each test has a fresh SQLite database and settings of its own.
#include "ClockTestDatabase.h"
#include "SimReader.h"
#include "TestServerRegistry.h"
#include "TestJpeg.h"
#include "fMainWindow.h"
#include "fMyMessageDlg.h"
#include "fPassword.h"
#include "uAnalogClock.h"
#include "uAppStartup.h"
#include "uClock.h"
#include "uPunchDisplay.h"
#include "uPunchEngine.h"
#include "uVelloxBSP.h"


#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <deque>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace
{

constexpr int PunchTimeoutMs = 20000;
const QString NotFoundText = u"Fingerprint is incorrectly placed! Please try again after closing this window."_s;

// The staff of every test (group 1, Monday to Saturday 08:00-17:00).
struct TStaffMember {
    int id;
    const char* first;
    const char* last;
    const char* password; // AUTHPASSWORD = 1 when set
    const char* finger;   // enrolled finger, AUTHFINGERPRINT = 1 when set
    int privileges;
    bool askReason;       // CHECKOUTREASON = 1
};
const TStaffMember Staff[] = {
    {1, "Ann", "Adams", "secret", nullptr, 2, false}, // administrator
    {2, "Bob", "Baker", nullptr, nullptr, 0, false},  // no credentials
    {3, "Cy", "Cole", "pw3", nullptr, 1, false},      // supervisor
    {4, "Dee", "Diaz", nullptr, "dee-thumb", 0, true}, // fingerprint; gives reasons at the dialog
    {5, "Eve", "Evans", "pw5", nullptr, 0, true},     // password; gives reasons
};
QString NameOf(int id)
{
    const TStaffMember& member = Staff[id - 1];
    return QLatin1String(member.last) + u", "_s + QLatin1String(member.first);
}

// A clock standing at a time the test chooses.
class TFixedClock final : public TClock
{
public:
    explicit TFixedClock(QDateTime* now) : m_now(now) {}

protected:
    QDateTime LocalNow() const override { return *m_now; }

private:
    QDateTime* m_now;
};

// Answers the modal windows the code under test opens, in order: each gets the next answer, a
// message box without one its Cancel-place button (No, or Ok when alone), an identification dialog
// without one Cancel. Keeps the message boxes' captions and texts.
class TModalAnswers final
{
public:
    using TAnswer = std::function<void(QWidget* modal)>;

    TModalAnswers()
    {
        m_poll.setInterval(10);
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll, [this] { AnswerShown(); });
        m_poll.start();
    }

    void Expect(TAnswer answer) { m_answers.push_back(std::move(answer)); }
    bool AllUsed() const { return m_answers.empty(); }
    const QStringList& Texts() const { return m_texts; }
    const QStringList& Captions() const { return m_captions; }

    // The identification: `name` from the list, then the password (when given) and Enter, or for
    // an employee who gives reasons the first reason, a note and Ok.
    static TAnswer Identify(const QString& name, const QString& password = {}, const QString& note = {})
    {
        return [=](QWidget* modal) {
            auto* list = modal->findChild<QComboBox*>(u"cmbUserList"_s);
            const int row = list->findText(name);
            QVERIFY2(row >= 0, qPrintable(name));
            list->setCurrentIndex(row);
            emit list->activated(row);
            if (!modal->isVisible())
                return;
            auto* reasons = modal->findChild<QComboBox*>(u"cmbReason"_s);
            if (reasons->isVisible()) {
                reasons->setCurrentIndex(0);
                modal->findChild<QPlainTextEdit*>(u"memNote"_s)->setPlainText(note);
            }
            auto* passwordBox = modal->findChild<QLineEdit*>(u"edtPassword"_s);
            QTest::keyClicks(passwordBox, password);
            QTest::keyClick(passwordBox, Qt::Key_Return);
        };
    }
    static TAnswer Yes()
    {
        return [](QWidget* modal) { modal->findChild<QPushButton*>(u"btnOk"_s)->click(); };
    }

private:
    void AnswerShown()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_answered)
            return;
        m_answered = modal;
        TAnswer answer;
        if (!m_answers.empty()) {
            answer = std::move(m_answers.front());
            m_answers.pop_front();
        }
        if (qobject_cast<TfrmMyMessageDlg*>(modal)) {
            m_captions << modal->windowTitle();
            m_texts << modal->findChild<QLabel*>(u"lblMessage"_s)->text();
            if (!answer)
                answer = [](QWidget* box) { box->findChild<QPushButton*>(u"btnCancel"_s)->click(); };
        } else if (!answer) {
            answer = [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); };
        }
        // Run from an event of its own: an answer that opens another modal window (a wrong
        // password's message) needs this poll to go on meanwhile.
        QTimer::singleShot(0, modal, [modal, answer = std::move(answer)] { answer(modal); });
    }

    QTimer m_poll;
    QPointer<QWidget> m_answered;
    std::deque<TAnswer> m_answers;
    QStringList m_texts;
    QStringList m_captions;
};

// Translates the main window's texts by putting "ES " before them.
class TMarkingTranslator final : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return qstrcmp(context, "TfrmMainWindow") == 0 ? u"ES "_s + QString::fromUtf8(sourceText) : QString();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

    TestServerRegistry m_registry;
    std::unique_ptr<SimReader> m_sim;
    std::unique_ptr<TClockTestDatabase> m_db;
    std::unique_ptr<TModalAnswers> m_modals;
    std::unique_ptr<TfrmMainWindow> m_window;
    QDateTime m_now;

    TdtmAppData& AppData() { return m_db->AppData(); }
    TAppRegistry& Settings() { return AppData().AppRegistry(); }
    TfrmMainWindow& Window() { return *m_window; }

    template <typename T> T* Find(const QString& name) { return m_window->findChild<T*>(name); }
    QAction* Action(const QString& name) { return Find<QAction>(name); }
    QString Text(const QString& label) { return Find<QLabel>(label)->text(); }
    QWidget* DisplayedPage() { return Find<QStackedWidget>(u"stkDisplay"_s)->currentWidget(); }

    QVariant Scalar(const QString& sql) { return m_db->Scalar(sql); }
    int LastOperation(int id) { return Scalar(u"SELECT LASTOPERATION FROM EMPLOYEES WHERE EMPLOYEEID = %1"_s.arg(id)).toInt(); }
    int Records(int id, bool open)
    {
        return Scalar(u"SELECT COUNT(*) FROM CHECKRECORD WHERE EMPLOYEEID = %1 AND CHECKOUTTIMESTAMP IS %2 NULL"_s.arg(id).arg(
                          open ? QString() : u"NOT"_s))
            .toInt();
    }

    // The finger an ideal enrolment would have stored, as the employee's only template.
    void Enrol(int id, const QString& finger)
    {
        QString firText;
        QCOMPARE(m_sim->Run({u"template"_s, finger}, &firText), 0);
        m_db->Execute(u"INSERT INTO FIRTABLE (EMPLOYEEID, FIRTEXT) VALUES (%1, '%2')"_s.arg(id).arg(firText.trimmed()));
        m_db->Execute(u"UPDATE EMPLOYEES SET AUTHFINGERPRINT = 1 WHERE EMPLOYEEID = %1"_s.arg(id));
    }

    void AddStaff()
    {
        m_db->AddGroup(1, {u"08:00"_s, QString(), QString(), u"17:00"_s}, 480, 10, false);
        for (const TStaffMember& member : Staff) {
            m_db->AddEmployee(member.id, 1);
            const QString password = QLatin1String(member.password ? member.password : "");
            m_db->Execute(u"UPDATE EMPLOYEES SET FIRSTNAME = '%1', LASTNAME = '%2', USERPASSWORD = '%3', AUTHPASSWORD = %4, "
                          "PRIVILEGESLEVEL = %5, CHECKOUTREASON = %6 WHERE EMPLOYEEID = %7"_s
                              .arg(QLatin1String(member.first), QLatin1String(member.last), password)
                              .arg(password.isEmpty() ? 0 : 1)
                              .arg(member.privileges)
                              .arg(member.askReason ? 1 : 0)
                              .arg(member.id));
            if (member.finger)
                Enrol(member.id, QLatin1String(member.finger));
        }
        m_db->Execute(u"INSERT INTO CHECKOUTREASONS (REASONID, REASONNAME, REASONCODE, REASONSTATUS) "
                      "VALUES (10, 'Lunch', '01', 1)"_s);
    }

    void SetPicture(int id, const QByteArray& jpeg)
    {
        QSqlQuery query(m_db->Database());
        QVERIFY(query.prepare(u"UPDATE EMPLOYEES SET PICTURE = :PICTURE WHERE EMPLOYEEID = :ID"_s));
        query.bindValue(u":PICTURE"_s, jpeg);
        query.bindValue(u":ID"_s, id);
        QVERIFY(query.exec());
    }

    // The window as the program shows it, with the settings the test has made.
    void OpenWindow()
    {
        m_window = std::make_unique<TfrmMainWindow>(AppData());
        m_window->ShowStation();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void StartScan()
    {
        m_modals->Expect({}); // the start notice
        Action(u"actContinuousScan"_s)->trigger();
        QVERIFY(Window().Scanning());
        QCOMPARE(Text(u"lblStatus"_s), u"Press Ctrl+C to STOP continuous scan..."_s);
        QCOMPARE(Action(u"actContinuousScan"_s)->text(), u"Stop Continuous Scan..."_s);
    }

    void Punch(const QString& action, const TModalAnswers::TAnswer& identification)
    {
        m_modals->Expect(identification);
        Action(action)->trigger();
        QVERIFY(m_modals->AllUsed());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.IsValid());
    }

    void init()
    {
        m_now = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        TClock::Install(std::make_unique<TFixedClock>(&m_now));
        m_sim = std::make_unique<SimReader>();
        QVERIFY(m_sim->IsValid());
        m_db = std::make_unique<TClockTestDatabase>(TClockTestDatabase::Sqlite);
        QVERIFY(m_db->Start());
        AddStaff();
        AttachReader(AppData());
        QVERIFY(AppData().ReaderAvailable());
        m_modals = std::make_unique<TModalAnswers>();
    }

    void cleanup()
    {
        m_window.reset();
        m_modals.reset();
        m_db.reset();
        m_sim.reset();
        TClock::Install(nullptr);
    }

    // ---- Punches through the window -----------------------------------------------------------

    void checkInThenCheckOut()
    {
        OpenWindow();
        Punch(u"actCheckIn"_s, TModalAnswers::Identify(NameOf(2)));
        QCOMPARE(Records(2, true), 1);
        QCOMPARE(LastOperation(2), 1);
        QCOMPARE(Text(u"lblCompanyName"_s), u"Checking In..."_s);
        QCOMPARE(Text(u"lblUserName"_s), NameOf(2));
        QVERIFY(Find<QLabel>(u"lblUserName"_s)->isVisible());
        QCOMPARE(Find<QPushButton>(u"btnCheckIn"_s)->text(), u"Checked In"_s);

        Window().PunchDisplay().End();
        QCOMPARE(Text(u"lblCompanyName"_s), u"Ready..."_s);
        QCOMPARE(Find<QPushButton>(u"btnCheckIn"_s)->text(), u"Check In"_s);
        QVERIFY(!Find<QLabel>(u"lblUserName"_s)->isVisible());

        Punch(u"actCheckOut"_s, TModalAnswers::Identify(NameOf(2)));
        QCOMPARE(Records(2, true), 0);
        QCOMPARE(Records(2, false), 1);
        QCOMPARE(LastOperation(2), 0);
        QCOMPARE(Text(u"lblCompanyName"_s), u"Checking Out..."_s);
        QCOMPARE(Find<QPushButton>(u"btnCheckOut"_s)->text(), u"Checked Out"_s);
    }

    void checkOutStoresTheReasonAndNote()
    {
        OpenWindow();
        Punch(u"actCheckIn"_s, TModalAnswers::Identify(NameOf(5), u"pw5"_s));
        Window().PunchDisplay().End();
        Punch(u"actCheckOut"_s, TModalAnswers::Identify(NameOf(5), u"pw5"_s, u"Dentist at 3"_s));
        QCOMPARE(Scalar(u"SELECT REASONID FROM CHECKRECORD WHERE EMPLOYEEID = 5"_s).toInt(), 10);
        QCOMPARE(Scalar(u"SELECT NOTE FROM CHECKRECORD WHERE EMPLOYEEID = 5"_s).toString(), u"Dentist at 3"_s);
        QCOMPARE(LastOperation(5), 0);
    }

    void cancelledIdentificationPunchesNothing()
    {
        OpenWindow();
        Punch(u"actCheckIn"_s, [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
        QCOMPARE(Scalar(u"SELECT COUNT(*) FROM CHECKRECORD"_s).toInt(), 0);
        QVERIFY(!Window().PunchDisplay().IsShowing());
        QCOMPARE(Text(u"lblCompanyName"_s), u"Ready..."_s);
    }

    void failedPunchIsShownAndTheWindowStaysUsable()
    {
        OpenWindow();
        m_db->Execute(u"DROP TABLE CHECKRECORD"_s);
        Punch(u"actCheckIn"_s, TModalAnswers::Identify(NameOf(2)));
        QCOMPARE(m_modals->Texts().size(), 1);
        QVERIFY2(m_modals->Texts().first().contains(u"CHECKRECORD"_s, Qt::CaseInsensitive),
                 qPrintable(m_modals->Texts().first()));
        QCOMPARE(m_modals->Captions().first(), u"Error"_s);
        QVERIFY(!Window().PunchDisplay().IsShowing());
        QVERIFY(Action(u"actCheckIn"_s)->isEnabled());
        QCOMPARE(LastOperation(2), 0);
    }

    void photographOrColouredPanel_data()
    {
        QTest::addColumn<bool>("withPhoto");
        QTest::addColumn<bool>("checkOut");
        QTest::addColumn<QColor>("panelColour");
        QTest::addColumn<QString>("operationText");
        QTest::newRow("photograph, check-in") << true << false << QColor() << QString();
        QTest::newRow("photograph, check-out") << true << true << QColor() << QString();
        QTest::newRow("no photograph, check-in") << false << false << TPunchDisplay::CheckInColor << u"Checked In"_s;
        QTest::newRow("no photograph, check-out") << false << true << TPunchDisplay::CheckOutColor << u"Checked Out"_s;
    }
    void photographOrColouredPanel()
    {
        QFETCH(bool, withPhoto);
        QFETCH(bool, checkOut);
        QFETCH(QColor, panelColour);
        QFETCH(QString, operationText);
        if (withPhoto)
            SetPicture(2, TestJpeg(QSize(40, 60)));
        if (checkOut)
            TPunchEngine(AppData()).RegisterCheckIn(CheckType::Normal, 2, false, AppData().GetServerTime());
        Settings().DisplayPictureTime = 0;
        OpenWindow();
        Punch(checkOut ? u"actCheckOut"_s : u"actCheckIn"_s, TModalAnswers::Identify(NameOf(2)));

        if (withPhoto) {
            QCOMPARE(DisplayedPage(), Find<QWidget>(u"imgUser"_s));
            QVERIFY(!Find<QLabel>(u"imgUser"_s)->pixmap().isNull());
        } else {
            auto* panel = Find<QWidget>(u"pnlCheckAd"_s);
            QCOMPARE(DisplayedPage(), panel);
            QCOMPARE(panel->palette().color(QPalette::Window), panelColour);
            QCOMPARE(Text(u"lblOperation"_s), operationText);
        }
        QVERIFY(!Find<QWidget>(u"OvcClock"_s)->isVisible());
        // DisplayPictureTime 0: the display still lasts two seconds, then the clock returns.
        QCOMPARE(Find<QTimer>(u"tmrCheck"_s)->interval(), 2000);
        QTRY_COMPARE_WITH_TIMEOUT(DisplayedPage(), Find<QWidget>(u"OvcClock"_s), 10000);
        QVERIFY(Find<QLabel>(u"imgUser"_s)->pixmap().isNull());
        QCOMPARE(Text(u"lblCompanyName"_s), u"Ready..."_s);
    }

    void displayTime_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("intervalMs");
        QTest::newRow("0 s") << 0 << 2000;
        QTest::newRow("negative") << -4 << 2000;
        QTest::newRow("1 s") << 1 << 1000;
        QTest::newRow("default 3 s") << 3 << 3000;
        QTest::newRow("10 s") << 10 << 10000;
    }
    void displayTime()
    {
        QFETCH(int, seconds);
        QFETCH(int, intervalMs);
        Settings().DisplayPictureTime = seconds;
        OpenWindow();
        QCOMPARE(Find<QTimer>(u"tmrCheck"_s)->interval(), intervalMs);
    }

    // ---- Labels ---------------------------------------------------------------------------------

    void timeAndDateLabels_data()
    {
        QTest::addColumn<int>("timeFormat");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("day");
        const QDate date(2026, 1, 2);
        QTest::newRow("12 h, after midnight") << 0 << QDateTime(date, QTime(0, 5)) << u"0:05 am"_s << u"January 2, 2026"_s;
        QTest::newRow("12 h, before noon") << 0 << QDateTime(date, QTime(11, 59)) << u"11:59 am"_s << u"January 2, 2026"_s;
        QTest::newRow("12 h, noon") << 0 << QDateTime(date, QTime(12, 30)) << u"12:30 pm"_s << u"January 2, 2026"_s;
        QTest::newRow("12 h, afternoon") << 0 << QDateTime(date, QTime(13, 7)) << u"1:07 pm"_s << u"January 2, 2026"_s;
        QTest::newRow("24 h, after midnight") << 1 << QDateTime(date, QTime(0, 5)) << u"0:05"_s << u"January 2, 2026"_s;
        QTest::newRow("24 h, evening") << 1 << QDateTime(QDate(2025, 12, 31), QTime(23, 59)) << u"23:59"_s
                                       << u"December 31, 2025"_s;
    }
    void timeAndDateLabels()
    {
        QFETCH(int, timeFormat);
        QFETCH(QDateTime, now);
        QFETCH(QString, time);
        QFETCH(QString, day);
        Settings().TimeFormat = timeFormat;
        OpenWindow();
        // The labels follow the clock's minute.
        m_now = now;
        Find<TAnalogClock>(u"OvcClock"_s)->Tick();
        QCOMPARE(Text(u"lbltime"_s), time);
        QCOMPARE(Text(u"lblDay"_s), day);
    }

    void companyNameOrReady_data()
    {
        QTest::addColumn<bool>("showCompanyName");
        QTest::addColumn<QString>("companyName");
        QTest::addColumn<QString>("label");
        QTest::newRow("shown") << true << u"Acme Bakery"_s << u"Acme Bakery"_s;
        QTest::newRow("not shown") << false << u"Acme Bakery"_s << u"Ready..."_s;
        QTest::newRow("shown but empty") << true << QString() << u"Ready..."_s;
    }
    void companyNameOrReady()
    {
        QFETCH(bool, showCompanyName);
        QFETCH(QString, companyName);
        QFETCH(QString, label);
        Settings().ShowCompanyName = showCompanyName;
        Settings().CompanyName = companyName;
        OpenWindow();
        QCOMPARE(Text(u"lblCompanyName"_s), label);
    }

    void languageChangeRetranslatesTheDynamicTexts()
    {
        OpenWindow();
        Punch(u"actCheckIn"_s, TModalAnswers::Identify(NameOf(2)));
        TMarkingTranslator translator;
        QVERIFY(QCoreApplication::installTranslator(&translator));
        const auto removed = qScopeGuard([&] { QCoreApplication::removeTranslator(&translator); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(Text(u"lblCompanyName"_s), u"ES Checking In..."_s);
        QCOMPARE(Find<QPushButton>(u"btnCheckIn"_s)->text(), u"ES Checked In"_s);
        QCOMPARE(Find<QPushButton>(u"btnCheckOut"_s)->text(), u"ES Check Out"_s);
        QCOMPARE(Action(u"actContinuousScan"_s)->text(), u"ES Start Continuous Scan..."_s);
        QCOMPARE(Text(u"lblDay"_s), u"ES March 2, 2026"_s);
        Window().PunchDisplay().End();
        QCOMPARE(Text(u"lblCompanyName"_s), u"ES Ready..."_s);
        QCOMPARE(Find<QPushButton>(u"btnCheckIn"_s)->text(), u"ES Check In"_s);
    }

    // ---- Sessions and the enabling rule ---------------------------------------------------------

    void loginAndLogout()
    {
        OpenWindow();
        m_modals->Expect(TModalAnswers::Identify(NameOf(1), u"secret"_s));
        m_modals->Expect({}); // welcome
        Action(u"actAdmLogin"_s)->trigger();
        QVERIFY(AppData().AdministratorMode());
        QCOMPARE(AppData().LoggedInEmployee(), 1);
        QCOMPARE(Text(u"lblCompanyName"_s), u"Administrator Mode"_s);
        QCOMPARE(Text(u"lblStatus"_s), u"Administrator Privileges"_s);
        QCOMPARE(m_modals->Texts(), QStringList{u"Welcome! You are now logged in with administrator privileges."_s});
        QVERIFY(!Find<QPushButton>(u"btnCheckIn"_s)->isEnabled());

        m_modals->Expect({}); // "Close administrator session?" No
        Action(u"actAdmLogout"_s)->trigger();
        QVERIFY(AppData().AdministratorMode());
        m_modals->Expect(TModalAnswers::Yes());
        Action(u"actAdmLogout"_s)->trigger();
        QVERIFY(!AppData().AdministratorMode());
        QCOMPARE(Text(u"lblCompanyName"_s), u"Ready..."_s);
        QCOMPARE(Text(u"lblStatus"_s), QString());
        QVERIFY(Find<QPushButton>(u"btnCheckIn"_s)->isEnabled());
    }

    void supervisorLogin()
    {
        OpenWindow();
        m_modals->Expect(TModalAnswers::Identify(NameOf(3), u"pw3"_s));
        Action(u"actAdmLogin"_s)->trigger();
        QVERIFY(AppData().SupervisorMode());
        QCOMPARE(AppData().LoggedInGroup(), 1);
        QCOMPARE(Text(u"lblCompanyName"_s), u"Supervisor Mode"_s);
    }

    void enablingRule_data()
    {
        QTest::addColumn<int>("privileges");
        QTest::addColumn<bool>("scanning");
        QTest::addColumn<bool>("punch");  // check in, check out, login
        QTest::addColumn<bool>("logout");
        QTest::addColumn<bool>("scan");
        QTest::newRow("nobody") << 0 << false << true << false << true;
        QTest::newRow("supervisor") << 1 << false << false << true << true;
        QTest::newRow("administrator") << 2 << false << false << true << false;
        QTest::newRow("nobody, scanning") << 0 << true << false << false << true;
        QTest::newRow("supervisor, scanning") << 1 << true << false << true << true;
    }
    void enablingRule()
    {
        QFETCH(int, privileges);
        QFETCH(bool, scanning);
        QFETCH(bool, punch);
        QFETCH(bool, logout);
        QFETCH(bool, scan);
        Settings().ContinuousScan = true;
        OpenWindow();
        QTRY_VERIFY(Window().Scanning()); // on at start-up with ContinuousScan
        if (!scanning) {
            Action(u"actContinuousScan"_s)->trigger();
            QTRY_VERIFY(!Window().Scanning());
        }
        if (privileges > 0) {
            AppData().Login(privileges == 2 ? 1 : 3, 1, privileges);
            Window().UpdateActions();
        }
        for (const char* name : {"actCheckIn", "actCheckOut", "actAdmLogin"})
            QVERIFY2(Action(QLatin1String(name))->isEnabled() == punch, name);
        QCOMPARE(Find<QPushButton>(u"btnCheckIn"_s)->isEnabled(), punch);
        QCOMPARE(Find<QPushButton>(u"btnCheckOut"_s)->isEnabled(), punch);
        QCOMPARE(Action(u"actAdmLogout"_s)->isEnabled(), logout);
        QCOMPARE(Action(u"actContinuousScan"_s)->isEnabled(), scan);
    }

    void continuousScanNeedsItsSetting()
    {
        OpenWindow();
        QVERIFY(!Window().Scanning());
        QVERIFY(!Action(u"actContinuousScan"_s)->isEnabled());
    }

    // ---- Tray, kiosk and the program's end ------------------------------------------------------

    void closing_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("quits");
        QTest::newRow("tray icon: minimises") << true << false << false;
        QTest::newRow("no tray icon, exit declined") << false << false << false;
        QTest::newRow("no tray icon, exit confirmed") << false << true << true;
    }
    void closing()
    {
        QFETCH(bool, tray);
        QFETCH(bool, confirm);
        QFETCH(bool, quits);
        Settings().MinimizeToTray = tray;
        Settings().DisplayPictureTime = 9;
        OpenWindow();
        QSignalSpy quit(&Window(), &TfrmMainWindow::QuitRequested);
        if (confirm)
            m_modals->Expect(TModalAnswers::Yes());
        QVERIFY(!Window().close());
        QCOMPARE(Window().InTray(), tray);
        QCOMPARE(Window().isVisible() && !Window().isMinimized(), !tray);
        QCOMPARE(m_modals->Texts(), tray ? QStringList() : QStringList{u"Exit Application?"_s});
        QCOMPARE(quit.count(), quits ? 1 : 0);
        // The settings are saved on the way out.
        QSettings stored(Settings().FileName(), QSettings::IniFormat);
        QCOMPARE(stored.value(u"DisplayPictureTime"_s).toInt() == 9, quits);
    }

    void trayRestoresForAPunch()
    {
        Settings().MinimizeToTray = true;
        OpenWindow();
        QVERIFY(Window().SystemTrayIcon().isVisible());
        Window().close();
        QVERIFY(Window().InTray());
        Punch(u"actCheckIn"_s, TModalAnswers::Identify(NameOf(2)));
        QVERIFY(!Window().InTray());
        QVERIFY(Window().isVisible());
        QCOMPARE(Records(2, true), 1);
    }

    void kioskMode()
    {
        Settings().DedicatedPC = true;
        OpenWindow();
        QVERIFY(Window().KioskApplied());
        QVERIFY(Window().isFullScreen());
        QVERIFY(Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(Window().windowFlags().testFlag(Qt::FramelessWindowHint));

        Settings().DedicatedPC = false;
        Window().ApplyTrayAndKioskSettings();
        QVERIFY(!Window().KioskApplied());
        QVERIFY(!Window().isFullScreen());
        QVERIFY(!Window().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(Window().isVisible());
    }

    void exitWithAdministratorPassword()
    {
        Settings().PasswordWhenFinish = true;
        OpenWindow();
        QSignalSpy quit(&Window(), &TfrmMainWindow::QuitRequested);
        m_modals->Expect(TModalAnswers::Identify(NameOf(3), u"wrong"_s)); // wrong password, then Cancel
        Action(u"actExit"_s)->trigger();
        QCOMPARE(quit.count(), 0);
        m_modals->Expect(TModalAnswers::Identify(NameOf(1), u"secret"_s));
        Action(u"actExit"_s)->trigger();
        QCOMPARE(quit.count(), 1);
    }

    void startCheck_data()
    {
        QTest::addColumn<int>("wizardStep");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("messages");
        const QString needed = u"Administrator privileges are needed to start the application. Your privileges will be "
                               "verified ..."_s;
        QTest::newRow("administrator identified")
            << 5 << false << QStringList{needed, u"Welcome to Horavant!"_s};
        QTest::newRow("nobody identified")
            << 5 << true << QStringList{needed, u"You don't have the necessary privileges.  Application cannot continue."_s};
        QTest::newRow("set-up not finished") << 4 << true << QStringList();
    }
    void startCheck()
    {
        QFETCH(int, wizardStep);
        QFETCH(bool, cancel);
        QFETCH(QStringList, messages);
        Settings().WizardStep = wizardStep;
        Settings().PasswordWhenStarts = true;
        m_modals->Expect({});
        m_modals->Expect(cancel ? [](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); }
                                : TModalAnswers::Identify(NameOf(1), u"secret"_s));
        m_window = std::make_unique<TfrmMainWindow>(AppData());
        QSignalSpy quit(m_window.get(), &TfrmMainWindow::QuitRequested);
        m_window->ShowStation();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QTRY_COMPARE(m_modals->Texts(), messages);
        QTest::qWait(50);
        QCOMPARE(m_modals->Texts(), messages);
        QCOMPARE(quit.count(), !messages.isEmpty() && cancel ? 1 : 0);
    }

    // ---- Continuous scan ------------------------------------------------------------------------

    void scannedFingersCheckInAndOut()
    {
        Settings().ContinuousScan = true;
        Settings().DisplayPictureTime = 1;
        m_modals->Expect({}); // the start notice
        OpenWindow();
        QTRY_VERIFY(Window().Scanning());
        QVERIFY(!Find<QPushButton>(u"btnCheckIn"_s)->isEnabled());

        // Dee gives reasons at the dialog, but a scan checks out without asking.
        QVERIFY(m_sim->Place(u"dee-thumb"_s));
        QTRY_COMPARE_WITH_TIMEOUT(Records(4, true), 1, PunchTimeoutMs);
        QCOMPARE(LastOperation(4), 1);
        QVERIFY(m_sim->Place(u"dee-thumb"_s));
        QTRY_COMPARE_WITH_TIMEOUT(Records(4, false), 1, PunchTimeoutMs);
        QCOMPARE(Records(4, true), 0);
        QCOMPARE(LastOperation(4), 0);

        QVERIFY(m_sim->Place(u"somebody-else"_s));
        QTRY_VERIFY_WITH_TIMEOUT(m_modals->Texts().contains(NotFoundText), PunchTimeoutMs);
        QCOMPARE(m_modals->Captions().last(), u"Not found"_s);
        QCOMPARE(Scalar(u"SELECT COUNT(*) FROM CHECKRECORD"_s).toInt(), 1);

        // Stopping: once, however often asked; the reader is the main window's again.
        Action(u"actContinuousScan"_s)->trigger();
        QVERIFY(Window().ScanStopping());
        QCOMPARE(Action(u"actContinuousScan"_s)->text(), u"Start Continuous Scan..."_s);
        Action(u"actContinuousScan"_s)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!Window().Scanning(), PunchTimeoutMs);
        QVERIFY(!Window().ScanStopping());
        QCOMPARE(Text(u"lblStatus"_s), u"Press Ctrl+C to START continuous scan..."_s);
        QVERIFY(AppData().Reader()->OpenDeviceId() >= 0);
        QVERIFY(Find<QPushButton>(u"btnCheckIn"_s)->isEnabled());
    }

    void exitWhileScanning()
    {
        Settings().ContinuousScan = true;
        OpenWindow();
        QTRY_VERIFY(Window().Scanning());
        QSignalSpy quit(&Window(), &TfrmMainWindow::QuitRequested);
        m_modals->Expect(TModalAnswers::Yes()); // "Exit Application?"
        Action(u"actExit"_s)->trigger();
        QCOMPARE(quit.count(), 1);
        QVERIFY(!Window().Scanning());
        QVERIFY(AppData().Reader()->OpenDeviceId() >= 0);
    }

    void sessionEndWhileScanning()
    {
        Settings().ContinuousScan = true;
        OpenWindow();
        QTRY_VERIFY(Window().Scanning());
        Settings().DisplayPictureTime = 7;
        QSignalSpy quit(&Window(), &TfrmMainWindow::QuitRequested);
        Window().EndSession();
        QCOMPARE(quit.count(), 1);
        QCOMPARE(QSettings(Settings().FileName(), QSettings::IniFormat).value(u"DisplayPictureTime"_s).toInt(), 7);
        // The program's last moment waits for the thread.
        Window().PrepareToQuit();
        QVERIFY(!Window().Scanning());
        QVERIFY(AppData().Reader()->OpenDeviceId() >= 0);
    }

    void scanEndsWhenTheReaderFails()
    {
        Settings().ContinuousScan = true;
        m_modals->Expect({});
        // The reader is unplugged once the window has it: the scan cannot open it.
        AppData().Reader()->CloseDevice();
        qputenv("HORAVANT_SIM_DEVICES", "none");
        OpenWindow();
        QTRY_VERIFY(m_modals->AllUsed());
        QTRY_VERIFY_WITH_TIMEOUT(!Window().Scanning(), PunchTimeoutMs);
        QCOMPARE(Text(u"lblStatus"_s), u"Press Ctrl+C to START continuous scan..."_s);
        QVERIFY(Action(u"actContinuousScan"_s)->isEnabled());
    }

    void windowClosedWhileScanning()
    {
        Settings().ContinuousScan = true;
        OpenWindow();
        QTRY_VERIFY(Window().Scanning());
        m_window.reset();
        QVERIFY(AppData().Reader()->OpenDeviceId() >= 0);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
