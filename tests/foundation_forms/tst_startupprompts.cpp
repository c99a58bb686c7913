#include "fDatabaseSettings.h"
#include "fMyMessageDlg.h"
#include "uAppRegistry.h"
#include "uStartupPrompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Qt::StringLiterals;
using TKind = TStartupPrompts::TKind;

namespace
{

// Hands the next modal dialog of type D to `act`; a dialog still up after ten seconds is closed so a
// broken one fails the test instead of hanging it.
template <typename D> void OnModal(std::function<void(D*)> act)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(10000, dialog, [dialog] { dialog->done(-1); });
        act(dialog);
    });
    poll->start();
}

template <typename W> W* Child(QWidget* dialog, const char* name)
{
    return dialog->findChild<W*>(QLatin1String(name));
}

void Retype(QLineEdit* edit, const QString& text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

} // namespace

class TestStartupPrompts : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir->path());
    }

    void askYesNoAnswersWithTheButtonPressed_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("caption");
        QTest::newRow("error, Yes") << int(TKind::Error) << u"btnOk"_s << true << u"Error"_s;
        QTest::newRow("warning, No") << int(TKind::Warning) << u"btnCancel"_s << false << u"Warning"_s;
    }
    void askYesNoAnswersWithTheButtonPressed()
    {
        QFETCH(int, kind);
        QFETCH(QString, button);
        QFETCH(bool, answer);
        QFETCH(QString, caption);
        QString shownText, shownCaption, buttons;
        OnModal<TfrmMyMessageDlg>([&](TfrmMyMessageDlg* dialog) {
            shownCaption = dialog->windowTitle();
            shownText = Child<QLabel>(dialog, "lblMessage")->text();
            buttons = Child<QPushButton>(dialog, "btnOk")->text() + u'/' +
                      Child<QPushButton>(dialog, "btnCancel")->text();
            QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        TDialogStartupPrompts prompts;
        QCOMPARE(prompts.AskYesNo(TKind(kind), u"Create them now?"_s), answer);
        QCOMPARE(shownText, u"Create them now?"_s);
        QCOMPARE(shownCaption, caption);
        QCOMPARE(buttons.remove(u'&'), u"Yes/No"_s);
    }

    void editDatabaseSettings_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void editDatabaseSettings()
    {
        QFETCH(bool, accept);
        TAppRegistry settings;
        settings.DatabaseType = 0;
        settings.DatabaseName = u"/tmp/old.db"_s;
        bool serverFieldsOffForLocal = false;
        OnModal<TfrmDatabaseSettings>([&](TfrmDatabaseSettings* dialog) {
            serverFieldsOffForLocal = !Child<QLineEdit>(dialog, "edtHostName")->isEnabled() &&
                                      !Child<QLineEdit>(dialog, "edtPassword")->isEnabled();
            Child<QComboBox>(dialog, "cmbDatabaseType")->setCurrentIndex(3);
            Retype(Child<QLineEdit>(dialog, "edtHostName"), u"db.example:3307"_s);
            Retype(Child<QLineEdit>(dialog, "edtDatabaseName"), u"kronvik"_s);
            Retype(Child<QLineEdit>(dialog, "edtUserName"), u"clock"_s);
            Retype(Child<QLineEdit>(dialog, "edtPassword"), u"s3cret"_s);
            auto* buttons = Child<QDialogButtonBox>(dialog, "btnBox");
            QTest::mouseClick(buttons->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                              Qt::LeftButton);
        });
        TDialogStartupPrompts prompts;
        QCOMPARE(prompts.EditDatabaseSettings(settings), accept);
        QVERIFY(serverFieldsOffForLocal);
        QCOMPARE(settings.DatabaseType, accept ? 3 : 0);
        QCOMPARE(settings.HostName, accept ? u"db.example:3307"_s : QString());
        QCOMPARE(settings.DatabaseName, accept ? u"kronvik"_s : u"/tmp/old.db"_s);
        QCOMPARE(settings.UserName, accept ? u"clock"_s : QString());
        QCOMPARE(settings.Password, accept ? u"s3cret"_s : QString());
    }

    // A stored type the dialog does not know is not kept by pressing OK: a type must be chosen.
    void unknownDatabaseTypeMustBeChosen()
    {
        TAppRegistry settings;
        settings.DatabaseType = 9;
        TfrmDatabaseSettings dialog;
        dialog.LoadFrom(settings);
        auto* ok = Child<QDialogButtonBox>(&dialog, "btnBox")->button(QDialogButtonBox::Ok);
        QVERIFY(!ok->isEnabled());
        Child<QComboBox>(&dialog, "cmbDatabaseType")->setCurrentIndex(1);
        QVERIFY(ok->isEnabled());
        dialog.StoreTo(settings);
        QCOMPARE(settings.DatabaseType, 1);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestStartupPrompts)
#include "tst_startupprompts.moc"
