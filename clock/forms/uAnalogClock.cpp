#include "uAnalogClock.h"

#include "uClock.h"

#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <cmath>

namespace {

constexpr int TickIntervalMs = 1000;
const QColor HandColor(Qt::red);
const QColor MarkColor(0x2B, 0x3A, 0x55);

// The minute's start: the hands and the change signals follow whole minutes only.
QDateTime WholeMinute(const QDateTime& time)
{
    return QDateTime(time.date(), QTime(time.time().hour(), time.time().minute()), time.timeSpec());
}

} // namespace

TAnalogClock::TAnalogClock(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("OvcClock"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_time = WholeMinute(TClock::CurrentDateTime());
    m_timer->setInterval(TickIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &TAnalogClock::Tick);
    m_timer->start();
}

void TAnalogClock::SetFaceColor(const QColor& color)
{
    m_faceColor = color;
    DrawFace();
}

void TAnalogClock::Tick()
{
    const QDateTime now = WholeMinute(TClock::CurrentDateTime());
    if (now == m_time)
        return;
    const bool hourChanged = now.date() != m_time.date() || now.time().hour() != m_time.time().hour();
    m_time = now;
    update();
    emit MinuteChanged(now);
    if (hourChanged)
        emit HourChanged(now);
}

void TAnalogClock::DrawFace()
{
    const int side = qMin(width(), height());
    if (side <= 0)
        return;
    const qreal ratio = devicePixelRatioF();
    m_face = QPixmap(QSize(side, side) * ratio);
    m_face.setDevicePixelRatio(ratio);

    m_face.fill(m_faceColor);

    QPainter painter(&m_face);
    painter.setRenderHint(QPainter::Antialiasing);

    // The dial in a 200-unit square: 60 marks, the twelve hour marks longer and heavier.
    painter.translate(side / 2.0, side / 2.0);
    painter.scale(side / 200.0, side / 200.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(m_faceColor.darker(125), 1.2));
    painter.drawEllipse(QPointF(0, 0), 92, 92);
    for (int mark = 0; mark < 60; ++mark) {
        const bool hourMark = mark % 5 == 0;
        painter.setPen(QPen(MarkColor, hourMark ? 4.0 : 1.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -86), QPointF(0, hourMark ? -72 : -80));
        painter.rotate(6.0);
    }
    update();
}

void TAnalogClock::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    DrawFace();
}

void TAnalogClock::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    const QPointF origin((width() - side) / 2.0, (height() - side) / 2.0);
    if (m_face.isNull() || m_face.deviceIndependentSize().toSize() != QSize(side, side))
        DrawFace();
    painter.drawPixmap(origin, m_face);

    painter.translate(origin.x() + side / 2.0, origin.y() + side / 2.0);
    painter.scale(side / 200.0, side / 200.0);
    PaintHands(painter);
}

void TAnalogClock::PaintHands(QPainter& painter) const
{
    const QTime time = m_time.time();
    const double minuteAngle = time.minute() * 6.0;
    const double hourAngle = (time.hour() % 12) * 30.0 + time.minute() * 0.5;

    // Solid tapered hands: a kite from a short tail to the tip.
    const auto hand = [&painter](double angle, double length, double halfWidth) {
        QPainterPath path;
        path.moveTo(0, 14);
        path.lineTo(-halfWidth, 0);
        path.lineTo(0, -length);
        path.lineTo(halfWidth, 0);
        path.closeSubpath();
        painter.save();
        painter.rotate(angle);
        painter.drawPath(path);
        painter.restore();
    };
    painter.setPen(QPen(HandColor.darker(130), 0.8));
    painter.setBrush(HandColor);
    hand(hourAngle, 52, 6.5);
    hand(minuteAngle, 78, 4.5);
    painter.setBrush(HandColor.darker(140));
    painter.drawEllipse(QPointF(0, 0), 5, 5);
}
