#include "fAbout.h"

#include "uPictures.h"
#include "ui_fAbout.h"

#include <QEvent>
#include <QFile>

TfrmAbout::TfrmAbout(const QString& programDirectory, const QString& productVersion, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmAbout>())
{
    ui->setupUi(this);
    ui->lblVersion->setText(productVersion);
    ShowPicture(programDirectory);
    connect(ui->btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::ShowPicture(const QString& programDirectory)
{
    QFile file(programDirectory + QLatin1String(PictureFileName));
    QPixmap picture;
    if (!file.open(QIODevice::ReadOnly) || !picture.loadFromData(file.readAll(), "JPG"))
        picture = Pictures::Render(Pictures::About, devicePixelRatioF());
    ui->imgAbout->setPixmap(picture);
}

void TfrmAbout::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
    QDialog::changeEvent(event);
}
