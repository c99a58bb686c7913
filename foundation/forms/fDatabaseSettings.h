#pragma once

#include <QDialog>
#include <memory>

class TAppRegistry;
namespace Ui
{
class TfrmDatabaseSettings;
}

// The five database settings: type, server, database, user name and password. For the local
// database only the database (its file; empty for the default one) applies.
class TfrmDatabaseSettings final : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmDatabaseSettings(QWidget* parent = nullptr);
    ~TfrmDatabaseSettings() override;

    void LoadFrom(const TAppRegistry& settings);
    void StoreTo(TAppRegistry& settings) const;

private:
    void DatabaseTypeChanged(int dialect);

    std::unique_ptr<Ui::TfrmDatabaseSettings> ui;
};
