#include "fSplash.h"

#include "uPictures.h"
#include "ui_fSplash.h"

#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

TfrmSplash::TfrmSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      ui(std::make_unique<Ui::TfrmSplash>()), tmrClose(new QTimer(this))
{
    ui->setupUi(this);
    ui->imgSplash->setPixmap(Pictures::Render(Pictures::Splash, devicePixelRatioF()));
    setFixedSize(sizeHint());
    tmrClose->setObjectName(QStringLiteral("tmrClose"));
    tmrClose->setSingleShot(true);
    tmrClose->setInterval(DisplayTimeMs);
    connect(tmrClose, &QTimer::timeout, this, &QDialog::accept);
}

TfrmSplash::~TfrmSplash() = default;

void TfrmSplash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    tmrClose->start();
}

void TfrmSplash::keyPressEvent(QKeyEvent*)
{
    accept();
}

void TfrmSplash::mousePressEvent(QMouseEvent*)
{
    accept();
}
