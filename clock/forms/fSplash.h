#pragma once

#include <QDialog>
#include <memory>

class QTimer;
namespace Ui
{
class TfrmSplash;
}

// The start-up picture: borderless, centred and on top, shown modally until it has been up for
// DisplayTimeMs or a key (or a mouse button) is pressed.
class TfrmSplash final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int DisplayTimeMs = 8000;

    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

    QTimer* CloseTimer() const { return tmrClose; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmSplash> ui;
    QTimer* tmrClose;
};
