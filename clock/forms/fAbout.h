#pragma once

#include <QDialog>
#include <memory>

namespace Ui
{
class TfrmAbout;
}

// The About box: the picture, the product version and who wrote the program.
class TfrmAbout final : public QDialog
{
    Q_OBJECT

public:
    // The picture file looked for in the program directory (a JPEG); without it the built-in
    // picture is shown.
    static constexpr const char* PictureFileName = "KronvikAb.dat";

    TfrmAbout(const QString& programDirectory, const QString& productVersion, QWidget* parent = nullptr);
    ~TfrmAbout() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void ShowPicture(const QString& programDirectory);

    std::unique_ptr<Ui::TfrmAbout> ui;
};
