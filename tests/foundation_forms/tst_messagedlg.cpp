#include "fMyMessageDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <thread>

namespace {

// What a test does to the dialog once it is up.
enum class Press { Ok, Cancel, Enter, Escape, CloseBox, EnterThenCancel };

QPushButton* Button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(QLatin1String(name)); }
QLabel* Label(QWidget* dialog, const char* name) { return dialog->findChild<QLabel*>(QLatin1String(name)); }
QCheckBox* CheckBox(QWidget* dialog) { return dialog->findChild<QCheckBox*>(QStringLiteral("chkConfirm")); }
QProgressBar* Bar(QWidget* dialog) { return dialog->findChild<QProgressBar*>(QStringLiteral("pbProgress")); }

// The captions of the buttons shown, left to right, joined by '|'.
QString VisibleButtons(QWidget* dialog)
{
    QStringList captions;
    for (const char* name : {"btnOk", "btnCancel"}) {
        if (!Button(dialog, name)->isHidden())
            captions << Button(dialog, name)->text();
    }
    return captions.join(u'|');
}

void Check(TfrmMyMessageDlg* dialog)
{
    QCheckBox* box = CheckBox(dialog);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
}

void Act(TfrmMyMessageDlg* dialog, Press press)
{
    switch (press) {
    case Press::Ok:
        QTest::mouseClick(Button(dialog, "btnOk"), Qt::LeftButton);
        break;
    case Press::Cancel:
        QTest::mouseClick(Button(dialog, "btnCancel"), Qt::LeftButton);
        break;
    case Press::Enter:
        QTest::keyClick(dialog, Qt::Key_Return);
        break;
    case Press::Escape:
        QTest::keyClick(dialog, Qt::Key_Escape);
        break;
    case Press::CloseBox:
        dialog->close();
        break;
    case Press::EnterThenCancel:
        QTest::keyClick(dialog, Qt::Key_Return);
        if (dialog->isVisible())
            Act(dialog, Press::Cancel);
        break;
    }
}

// Waits for the next modal message dialog and hands it to `act`; closes it after `watchdogMs` if
// it is still up then, so a broken dialog fails the test instead of hanging it.
void OnModalDialog(const std::function<void(TfrmMyMessageDlg*)>& act, bool* forcedClose = nullptr)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act, forcedClose] {
        auto* dialog = qobject_cast<TfrmMyMessageDlg*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        QTimer::singleShot(20000, dialog, [dialog, forcedClose] {
            if (forcedClose)
                *forcedClose = true;
            dialog->done(-1);
        });
        act(dialog);
    });
    poll->start();
}

struct Seen {
    QString title;
    QString buttons;
    QString message;
    bool icon = false;
    bool okEnabled = true;
};

Seen Observe(TfrmMyMessageDlg* dialog)
{
    Seen seen;
    seen.title = dialog->windowTitle();
    seen.buttons = VisibleButtons(dialog);
    seen.message = Label(dialog, "lblMessage")->text();
    seen.icon = !Label(dialog, "imgDlg")->isHidden() && !Label(dialog, "imgDlg")->pixmap().isNull();
    seen.okEnabled = Button(dialog, "btnOk")->isEnabled();
    return seen;
}

using Messages = QList<QPair<TProgressMessage, int>>;

// Everything a progress message can change, in one comparable text.
QString ProgressState(bool visible, bool barShown, int total, int done, const QString& message,
                      const QString& buttons)
{
    return QStringLiteral("visible %1, bar %2 %3/%4, \"%5\", buttons \"%6\"")
        .arg(visible)
        .arg(barShown)
        .arg(done)
        .arg(total)
        .arg(message, buttons);
}

QString ProgressState(TfrmMyMessageDlg* notice)
{
    QProgressBar* bar = Bar(notice);
    return ProgressState(notice->isVisible(), !bar->isHidden(), bar->maximum(), bar->value(),
                         Label(notice, "lblMessage")->text(), VisibleButtons(notice));
}

// The notice on screen, if any.
TfrmMyMessageDlg* VisibleNotice()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<TfrmMyMessageDlg*>(widget);
        if (dialog && dialog->isVisible() && !dialog->isModal())
            return dialog;
    }
    return nullptr;
}

// Sends the messages from a thread of its own, as a long-running task does.
void PostFromTask(QObject* notice, const Messages& messages)
{
    std::thread task([notice, messages] {
        for (const auto& [message, value] : messages)
            NotifyProgress(notice, message, value);
    });
    task.join();
}

} // namespace

Q_DECLARE_METATYPE(Press)
Q_DECLARE_METATYPE(Messages)

class TestMessageDlg : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { CloseNotice(); }

    void askMessage_data();
    void askMessage();
    void askWithDontShow_data();
    void askWithDontShow();
    void confirmWithCheck_data();
    void confirmWithCheck();
    void timedMessageClosesByItself();
    void progressFromAnotherThread_data();
    void progressFromAnotherThread();
    void progressCancelAsksTheTask();
    void newNoticeReplacesTheOld();
};

void TestMessageDlg::askMessage_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("buttonSet");
    QTest::addColumn<Press>("press");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("buttons");
    QTest::addColumn<bool>("icon");
    QTest::addColumn<int>("result");

    const QString none;
    const QString yesNo = QStringLiteral("Yes|No");
    const QString okCancel = QStringLiteral("&Ok|&Cancel");
    const QString ok = QStringLiteral("&Ok");
    const QString warning = QStringLiteral("Warning");
    QTest::newRow("warning, Yes") << 2 << none << 0 << Press::Ok << warning << yesNo << true << 6;
    QTest::newRow("warning, No") << 2 << none << 0 << Press::Cancel << warning << yesNo << true << 7;
    QTest::newRow("warning, Enter is Yes") << 2 << none << 0 << Press::Enter << warning << yesNo << true << 6;
    QTest::newRow("warning, Escape is No") << 2 << none << 0 << Press::Escape << warning << yesNo << true << 7;
    QTest::newRow("warning, close box is No") << 2 << none << 0 << Press::CloseBox << warning << yesNo << true << 7;
    QTest::newRow("own caption, Ok") << 1 << QStringLiteral("Delete group") << 1 << Press::Ok
                                     << QStringLiteral("Delete group") << okCancel << true << 1;
    QTest::newRow("confirmation, Escape is Cancel") << 1 << none << 1 << Press::Escape
                                                    << QStringLiteral("Confirmation") << okCancel << true << 2;
    QTest::newRow("information, lone Ok") << 0 << none << 2 << Press::Cancel << QStringLiteral("Information") << ok
                                          << true << 1;
    QTest::newRow("error, Enter on the lone Ok") << 3 << none << 2 << Press::Enter << QStringLiteral("Error") << ok
                                                 << true << 1;
    QTest::newRow("error, Escape on the lone Ok is Ok") << 3 << none << 2 << Press::Escape
                                                        << QStringLiteral("Error") << ok << true << 1;
    QTest::newRow("only the low seven bits of the kind count")
        << (0x80 | 3) << none << 2 << Press::Enter << QStringLiteral("Error") << ok << true << 1;
    QTest::newRow("unknown kind: plain caption, no icon")
        << 9 << none << 2 << Press::Enter << QStringLiteral("Message") << ok << false << 1;
    QTest::newRow("unknown button set: a lone Ok") << 0 << none << 7 << Press::Enter << QStringLiteral("Information")
                                                   << ok << true << 1;
}

void TestMessageDlg::askMessage()
{
    QFETCH(int, kind);
    QFETCH(QString, caption);
    QFETCH(int, buttonSet);
    QFETCH(Press, press);

    const QString text = QStringLiteral("Delete the selected group and move its employees to \"No Group\"?");
    Seen seen;
    bool forcedClose = false;
    OnModalDialog(
        [&](TfrmMyMessageDlg* dialog) {
            seen = Observe(dialog);
            Act(dialog, press);
        },
        &forcedClose);
    const int result = AskMessage(kind, caption, text, buttonSet);

    QVERIFY(!forcedClose);
    QTEST(seen.title, "title");
    QTEST(seen.buttons, "buttons");
    QTEST(seen.icon, "icon");
    QCOMPARE(seen.message, text);
    QTEST(result, "result");
}

void TestMessageDlg::askWithDontShow_data()
{
    QTest::addColumn<bool>("check");
    QTest::addColumn<Press>("press");
    QTest::addColumn<int>("result");
    QTest::newRow("checked, Ok") << true << Press::Cancel << 1;
    QTest::newRow("unchecked, Ok") << false << Press::Cancel << 1;
    QTest::newRow("checked, closed with Escape") << true << Press::Escape << 1;
    QTest::newRow("checked, Yes") << true << Press::Ok << 6;
    QTest::newRow("unchecked, No") << false << Press::Cancel << 7;
}

void TestMessageDlg::askWithDontShow()
{
    QFETCH(bool, check);
    QFETCH(Press, press);
    QFETCH(int, result);

    QString boxText;
    bool boxStartsChecked = true;
    OnModalDialog([&](TfrmMyMessageDlg* dialog) {
        boxText = CheckBox(dialog)->isHidden() ? QString() : CheckBox(dialog)->text();
        boxStartsChecked = CheckBox(dialog)->isChecked();
        if (check)
            Check(dialog);
        Act(dialog, press);
    });
    int calls = 0;
    bool reported = !check;
    const int buttonSet = result == mrOk ? mbOk : mbYesNo;
    const int answer = AskWithDontShow(
        mkInformation, QString(), QStringLiteral("The employee has been saved."),
        [&](bool state) {
            ++calls;
            reported = state;
        },
        buttonSet);

    QCOMPARE(boxText, QStringLiteral("Do not show this message again"));
    QVERIFY(!boxStartsChecked);
    QCOMPARE(calls, 1);
    QCOMPARE(reported, check);
    QCOMPARE(answer, result);
}

void TestMessageDlg::confirmWithCheck_data()
{
    QTest::addColumn<bool>("check");
    QTest::addColumn<Press>("press");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("box unchecked, No") << false << Press::Cancel << false;
    QTest::newRow("box unchecked, Enter does nothing, then No") << false << Press::EnterThenCancel << false;
    QTest::newRow("box checked, Yes") << true << Press::Ok << true;
    QTest::newRow("box checked, Enter is Yes") << true << Press::Enter << true;
    QTest::newRow("box checked, No") << true << Press::Cancel << false;
    QTest::newRow("box checked, Escape is No") << true << Press::Escape << false;
}

void TestMessageDlg::confirmWithCheck()
{
    QFETCH(bool, check);
    QFETCH(Press, press);

    Seen before;
    bool yesEnabledOnceChecked = false;
    OnModalDialog([&](TfrmMyMessageDlg* dialog) {
        before = Observe(dialog);
        if (check)
            Check(dialog);
        yesEnabledOnceChecked = Button(dialog, "btnOk")->isEnabled();
        Act(dialog, press);
    });
    const bool confirmed = ConfirmWithCheck(QStringLiteral("Delete employee"),
                                            QStringLiteral("All punches of this employee will be deleted."),
                                            QStringLiteral("Yes, delete the punches too"));

    QCOMPARE(before.title, QStringLiteral("Delete employee"));
    QCOMPARE(before.buttons, QStringLiteral("Yes|No"));
    QVERIFY(!before.okEnabled);
    QCOMPARE(yesEnabledOnceChecked, check);
    QTEST(confirmed, "confirmed");
}

void TestMessageDlg::timedMessageClosesByItself()
{
    QStringList countdown;
    bool forcedClose = false;
    OnModalDialog(
        [&](TfrmMyMessageDlg* dialog) {
            QLabel* closing = Label(dialog, "lblClosing");
            countdown << (closing->isHidden() ? QString() : closing->text());
            auto* timer = dialog->findChild<QTimer*>(QStringLiteral("tmrClose"));
            QObject::connect(timer, &QTimer::timeout, dialog, [&countdown, closing] { countdown << closing->text(); });
        },
        &forcedClose);
    ShowTimedMessage(mkInformation, QString(), QStringLiteral("Continuous scanning has started."), 2);

    QVERIFY(!forcedClose);
    QCOMPARE(countdown, QStringList({QStringLiteral("This window will be closed in 2 seconds."),
                                     QStringLiteral("This window will be closed in 1 seconds."),
                                     QStringLiteral("This window will be closed in 0 seconds.")}));
}

void TestMessageDlg::progressFromAnotherThread_data()
{
    QTest::addColumn<Messages>("messages");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("barShown");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("done");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("buttons");

    const QString importing = QStringLiteral("Importing employees and punches...");
    QTest::newRow("total, then parts done") << Messages{{pmSetTotal, 10}, {pmSetDone, 4}} << true << true << 10 << 4
                                            << importing << QString();
    QTest::newRow("a new total starts from nothing done")
        << Messages{{pmSetTotal, 10}, {pmSetDone, 4}, {pmSetTotal, 20}} << true << true << 20 << 0 << importing
        << QString();
    QTest::newRow("parts done beyond the total fill the bar")
        << Messages{{pmSetTotal, 10}, {pmSetDone, 12}} << true << true << 10 << 10 << importing << QString();
    QTest::newRow("finished: full bar, then closes") << Messages{{pmSetTotal, 10}, {pmSetDone, 3}, {pmFinished, 0}}
                                                     << false << true << 10 << 10 << importing << QString();
    QTest::newRow("error code") << Messages{{pmSetTotal, 10}, {pmError, 42}} << true << false << 10 << 0
                                << QStringLiteral("An error has occurred. Error code (42).") << QStringLiteral("&Ok");
    QTest::newRow("cancelled") << Messages{{pmSetTotal, 10}, {pmCancelled, 0}} << true << false << 10 << 0
                               << QStringLiteral("Process cancelled by user request") << QStringLiteral("&Ok");
}

void TestMessageDlg::progressFromAnotherThread()
{
    QFETCH(Messages, messages);
    QFETCH(bool, visible);
    QFETCH(bool, barShown);
    QFETCH(int, total);
    QFETCH(int, done);
    QFETCH(QString, message);
    QFETCH(QString, buttons);

    QPointer<TfrmMyMessageDlg> notice = ShowProgressNotice(QString(), QStringLiteral("Importing employees and punches..."));
    QVERIFY(notice);
    QVERIFY(notice->isVisible());
    QVERIFY(!notice->isModal());
    QCOMPARE(notice->windowTitle(), QStringLiteral("Progress"));
    QCOMPARE(VisibleButtons(notice), QString()); // no task handler, nothing to press
    QVERIFY(Label(notice, "imgDlg")->isHidden());

    PostFromTask(notice, messages);
    const QString expected = ProgressState(visible, barShown, total, done, message, buttons);
    QTRY_COMPARE(ProgressState(notice), expected);
    if (!visible)
        QCOMPARE(notice->result(), int(mrOk));
    if (!buttons.isEmpty()) {
        // After an error or a cancellation the task is over: Ok just closes.
        QTest::mouseClick(Button(notice, "btnCancel"), Qt::LeftButton);
        QVERIFY(!notice->isVisible());
        QCOMPARE(notice->result(), int(mrCancel));
    }
}

void TestMessageDlg::progressCancelAsksTheTask()
{
    QPointer<TfrmMyMessageDlg> notice = ShowProgressNotice(QStringLiteral("Import"), QStringLiteral("Importing..."));
    int cancelRequests = 0;
    std::thread task;
    notice->SetCancelHandler([&] {
        ++cancelRequests;
        task = std::thread([notice = notice.data()] { NotifyProgress(notice, pmCancelled, 0); });
    });
    PostFromTask(notice, {{pmSetTotal, 5}, {pmSetDone, 2}});
    QTRY_COMPARE(Bar(notice)->value(), 2);
    QCOMPARE(VisibleButtons(notice), QStringLiteral("&Cancel"));

    QTest::mouseClick(Button(notice, "btnCancel"), Qt::LeftButton);
    QCOMPARE(cancelRequests, 1);
    QVERIFY(notice->isVisible()); // Cancel asks, the task answers
    task.join();
    QTRY_COMPARE(Label(notice, "lblMessage")->text(), QStringLiteral("Process cancelled by user request"));
    QCOMPARE(VisibleButtons(notice), QStringLiteral("&Ok"));

    QTest::mouseClick(Button(notice, "btnCancel"), Qt::LeftButton);
    QCOMPARE(cancelRequests, 1);
    QVERIFY(!notice->isVisible());
    QCOMPARE(notice->result(), int(mrCancel));
}

void TestMessageDlg::newNoticeReplacesTheOld()
{
    ShowNotice(mkInformation, QString(), QStringLiteral("Stopping continuous scanning..."), -1);
    QPointer<TfrmMyMessageDlg> first = VisibleNotice();
    QVERIFY(first);
    QVERIFY(first->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(VisibleButtons(first), QString());
    QTest::keyClick(first, Qt::Key_Escape);
    QVERIFY(first->isVisible()); // no buttons, so nothing for the user to close

    TfrmMyMessageDlg* second = ShowProgressNotice(QString(), QStringLiteral("Working..."));
    QTRY_VERIFY(first.isNull());
    QVERIFY(second->isVisible());

    QPointer<TfrmMyMessageDlg> last = second;
    CloseNotice();
    QTRY_VERIFY(last.isNull());
}

QTEST_MAIN(TestMessageDlg)
#include "tst_messagedlg.moc"
