#include "uPunchDisplay.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace
{

// Set on a button while it shows a punch, so the action binding leaves its caption alone.
constexpr char ShowingPunchProperty[] = "showingPunch";

} // namespace

// Aqua and red, each deep enough to carry white text.
const QColor TPunchDisplay::CheckInColor(0x00, 0xB4, 0xD0);
const QColor TPunchDisplay::CheckOutColor(0xE0, 0x22, 0x22);

int TPunchDisplay::IntervalFor(int seconds)
{
    const int interval = seconds * 1000;
    return interval < MinimumIntervalMs ? ShortDisplayIntervalMs : interval;
}

TPunchDisplay::TPunchDisplay(const TControls& controls, QObject* parent)
    : QObject(parent), m_controls(controls), tmrCheck(new QTimer(this))
{
    tmrCheck->setObjectName(QStringLiteral("tmrCheck"));
    auto* shadow = new QGraphicsDropShadowEffect(controls.Operation);
    shadow->setColor(QColor(0, 0, 0, 150));
    shadow->setBlurRadius(6);
    shadow->setOffset(2, 2);
    controls.Operation->setGraphicsEffect(shadow);
    tmrCheck->setSingleShot(true);
    connect(tmrCheck, &QTimer::timeout, this, &TPunchDisplay::End);
}

void TPunchDisplay::SetDisplayTime(int seconds)
{
    tmrCheck->setInterval(IntervalFor(seconds));
}

QString TPunchDisplay::CheckedCaption(TOperation operation)
{
    // The main window's texts: its translation context.
    return operation == CheckIn ? QCoreApplication::translate("TfrmMainWindow", "Checked In", "stCHECKEDIN")
                                : QCoreApplication::translate("TfrmMainWindow", "Checked Out", "stCHECKEDOUT");
}

void TPunchDisplay::Show(TOperation operation, const QString& employeeName, const QByteArray& jpeg)
{
    // A punch while another shows replaces it (continuous scanning can punch again within the
    // display time): the other button goes back to its action first.
    if (m_showing && operation != m_operation) {
        RestoreButton(ButtonOf(m_operation),
                      m_operation == CheckIn ? m_controls.CheckInAction : m_controls.CheckOutAction);
    }
    m_showing = true;
    m_operation = operation;
    QPushButton* button = ButtonOf(operation);
    ColourButton(button, operation == CheckIn ? CheckInColor : CheckOutColor);
    button->setText(CheckedCaption(operation));
    tmrCheck->start();
    m_controls.UserName->setText(employeeName);
    m_controls.UserName->show();
    if (!ShowPhoto(jpeg))
        ShowPanel(operation);
}

void TPunchDisplay::End()
{
    tmrCheck->stop();
    m_controls.Display->setCurrentWidget(m_controls.Clock);
    m_controls.Photo->clear();
    RestoreButton(m_controls.CheckInButton, m_controls.CheckInAction);
    RestoreButton(m_controls.CheckOutButton, m_controls.CheckOutAction);
    m_controls.UserName->hide();
    m_controls.UserName->clear();
    const bool wasShowing = m_showing;
    m_showing = false;
    if (wasShowing)
        emit Ended();
}

void TPunchDisplay::Retranslate()
{
    if (!m_showing)
        return;
    ButtonOf(m_operation)->setText(CheckedCaption(m_operation));
    m_controls.Operation->setText(CheckedCaption(m_operation));
}

QPushButton* TPunchDisplay::ButtonOf(TOperation operation) const
{
    return operation == CheckIn ? m_controls.CheckInButton : m_controls.CheckOutButton;
}

void TPunchDisplay::ColourButton(QPushButton* button, const QColor& color)
{
    button->setProperty(ShowingPunchProperty, true);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: white; border: 1px solid %2;"
                                         " border-radius: 6px; }")
                              .arg(color.name(), color.darker(130).name()));
}

void TPunchDisplay::RestoreButton(QPushButton* button, const QAction* action)
{
    button->setProperty(ShowingPunchProperty, false);
    button->setStyleSheet(QString());
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
}

bool TPunchDisplay::ShowPhoto(const QByteArray& jpeg)
{
    QPixmap photo;
    if (jpeg.isEmpty() || !photo.loadFromData(jpeg))
        return false;
    QLabel* label = m_controls.Photo;
    const QSize room = m_controls.Display->size();
    label->setPixmap(photo.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_controls.Display->setCurrentWidget(label);
    return true;
}

void TPunchDisplay::ShowPanel(TOperation operation)
{
    QFrame* panel = m_controls.Panel;
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, operation == CheckIn ? CheckInColor : CheckOutColor);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    m_controls.Operation->setText(ButtonOf(operation)->text());
    m_controls.Photo->clear();
    m_controls.Display->setCurrentWidget(panel);
}

void BindButtonToAction(QPushButton* button, QAction* action)
{
    const auto follow = [button, action] {
        button->setEnabled(action->isEnabled());
        if (!button->property(ShowingPunchProperty).toBool())
            button->setText(action->text());
    };
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, follow);
    follow();
}
