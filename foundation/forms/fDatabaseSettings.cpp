#include "fDatabaseSettings.h"

#include "uAppRegistry.h"
#include "ui_fDatabaseSettings.h"

#include <QPushButton>

TfrmDatabaseSettings::TfrmDatabaseSettings(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmDatabaseSettings>())
{
    ui->setupUi(this);
    connect(ui->btnBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->btnBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->cmbDatabaseType, &QComboBox::currentIndexChanged, this,
            &TfrmDatabaseSettings::DatabaseTypeChanged);
    DatabaseTypeChanged(ui->cmbDatabaseType->currentIndex());
}

TfrmDatabaseSettings::~TfrmDatabaseSettings() = default;

void TfrmDatabaseSettings::LoadFrom(const TAppRegistry& settings)
{
    // An unknown type shows as none chosen, so OK cannot keep it by accident.
    ui->cmbDatabaseType->setCurrentIndex(
        settings.DatabaseType < ui->cmbDatabaseType->count() ? settings.DatabaseType : -1);
    ui->edtHostName->setText(settings.HostName);
    ui->edtDatabaseName->setText(settings.DatabaseName);
    ui->edtUserName->setText(settings.UserName);
    ui->edtPassword->setText(settings.Password);
}

void TfrmDatabaseSettings::StoreTo(TAppRegistry& settings) const
{
    settings.DatabaseType = ui->cmbDatabaseType->currentIndex();
    settings.HostName = ui->edtHostName->text().trimmed();
    settings.DatabaseName = ui->edtDatabaseName->text().trimmed();
    settings.UserName = ui->edtUserName->text().trimmed();
    settings.Password = ui->edtPassword->text();
}

void TfrmDatabaseSettings::DatabaseTypeChanged(int dialect)
{
    const bool server = dialect > 0;
    for (QWidget* field : {static_cast<QWidget*>(ui->edtHostName), static_cast<QWidget*>(ui->edtUserName),
                           static_cast<QWidget*>(ui->edtPassword)})
        field->setEnabled(server);
    ui->btnBox->button(QDialogButtonBox::Ok)->setEnabled(dialect >= 0);
}
