#pragma once

#include <QColor>
#include <QDateTime>
#include <QPixmap>
#include <QWidget>

class QTimer;

// The station's analogue clock: a face of one colour with the hour marks, and red solid hour and
// minute hands (no second hand). It reads the time from TClock, so a test's clock drives it, and
// tells when the minute or the hour has changed.
class TAnalogClock final : public QWidget
{
    Q_OBJECT

public:
    // 0xF8E4D8 in blue-green-red order: a pale blue.
    static constexpr QRgb DefaultFaceColor = qRgb(0xD8, 0xE4, 0xF8);

    explicit TAnalogClock(QWidget* parent = nullptr);

    QColor FaceColor() const { return m_faceColor; }
    void SetFaceColor(const QColor& color);
    // Redraws the face bitmap (its size follows the widget's).
    void DrawFace();
    // The time the hands show.
    const QDateTime& Time() const { return m_time; }

    QSize sizeHint() const override { return {200, 200}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

public slots:
    // Reads the clock and moves the hands; raises the change signals when the minute or the hour
    // differs from the last reading. Runs every second, shown or not (the hour drives work that
    // must not wait for a punch display to end).
    void Tick();

signals:
    void MinuteChanged(const QDateTime& now);
    void HourChanged(const QDateTime& now);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PaintHands(QPainter& painter) const;

    QTimer* m_timer;
    QColor m_faceColor = QColor::fromRgb(DefaultFaceColor);
    QPixmap m_face;
    QDateTime m_time;
};
