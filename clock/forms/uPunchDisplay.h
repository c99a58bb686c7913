#pragma once

#include <QByteArray>
#include <QColor>
#include <QObject>
#include <QString>

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;

// The few seconds after a punch: the employee's photograph (or, without one, a panel in the
// punch's colour naming the operation) in place of the clock, the employee's name, and the punch's
// button coloured with the operation's caption. The display ends by itself after the display time;
// the main window resets its own labels when Ended is raised.
class TPunchDisplay final : public QObject
{
    Q_OBJECT

public:
    enum TOperation { CheckIn, CheckOut };

    // The controls of the main window it drives.
    struct TControls {
        QStackedWidget* Display; // pages: the clock, the photograph, the panel
        QWidget* Clock;
        QLabel* Photo;
        QFrame* Panel;
        QLabel* Operation;
        QLabel* UserName;
        QPushButton* CheckInButton;
        QPushButton* CheckOutButton;
        QAction* CheckInAction;
        QAction* CheckOutAction;
    };

    static const QColor CheckInColor;  // aqua
    static const QColor CheckOutColor; // red
    // A display time below one second would be gone before anyone could read it.
    static constexpr int MinimumIntervalMs = 1000;
    static constexpr int ShortDisplayIntervalMs = 2000;

    // The display time in milliseconds for DisplayPictureTime `seconds`.
    static int IntervalFor(int seconds);

    TPunchDisplay(const TControls& controls, QObject* parent);

    void SetDisplayTime(int seconds);
    QTimer* Timer() const { return tmrCheck; }
    bool IsShowing() const { return m_showing; }
    TOperation Operation() const { return m_operation; }

    // Shows the punch and (re)starts the display time. An empty `jpeg` (or one that does not load)
    // shows the coloured panel.
    void Show(TOperation operation, const QString& employeeName, const QByteArray& jpeg);
    // Back to the clock at once; the buttons show their actions again.
    void End();
    // The punch's captions in the current language.
    void Retranslate();

    // The caption a punch gives its button ("Checked In" / "Checked Out").
    static QString CheckedCaption(TOperation operation);

signals:
    void Ended();

private:
    QPushButton* ButtonOf(TOperation operation) const;
    void ColourButton(QPushButton* button, const QColor& color);
    void RestoreButton(QPushButton* button, const QAction* action);
    bool ShowPhoto(const QByteArray& jpeg);
    void ShowPanel(TOperation operation);

    TControls m_controls;
    QTimer* tmrCheck;
    bool m_showing = false;
    TOperation m_operation = CheckIn;
};

// A push button that stands for an action: it triggers the action and follows its caption and
// enabled state, except for the caption while a punch shows on it (TPunchDisplay).
void BindButtonToAction(QPushButton* button, QAction* action);
