#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTranslator>

// Switches the program's texts between its two languages at run time. Installing a translator makes
// Qt send LanguageChange to every widget, so an open form retranslates itself in changeEvent()
// (ui->retranslateUi(this) plus the texts it sets in code); that is done when the switch returns. English is the language of the source
// texts and the fallback for anything without a translation.
class TLanguageDispatcher final : public QObject
{
    Q_OBJECT

public:
    // The values of the setting AppLanguage.
    enum TLanguage : int { English = 1, Spanish = 2 };

    explicit TLanguageDispatcher(QObject* parent = nullptr);
    // Removes its translators: the texts go back to English.
    ~TLanguageDispatcher() override;

    // The active language (English until set).
    int ActiveLanguage() const { return m_activeLanguage; }
    // Installs the translators of `appLanguage` (1 English, 2 Spanish) and emits LanguageChanged
    // when the language changed. Raises Exception "Invalid language index!" for any other value,
    // leaving the active language as it was.
    void SetActiveLanguage(int appLanguage);

    // "English", "Español": each language under its own name, as a language menu lists them.
    static QStringList LanguageNames();

signals:
    void LanguageChanged(int appLanguage);

private:
    void RemoveTranslators();

    int m_activeLanguage = English;
    QTranslator m_appTranslator; // our texts, from the embedded horavant_<lang>.qm
    QTranslator m_qtTranslator;  // Qt's own texts (standard dialogs), when the system has them
};
