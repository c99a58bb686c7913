#pragma once

#include <QObject>

class QLineEdit;

// Key-press filters for edit fields. A refused character is dropped without a message; keys that
// type no printable character (Backspace, Delete, arrows, Enter, shortcuts) always pass, and so
// does pasted text.
class TControlValidator final : public QObject
{
    Q_OBJECT
public:
    enum class Keys { Decimal, SignedInteger, Digit };

    // Each installs its filter on the edit; the filter belongs to the edit.
    // Digits, '-', '.' and the locale's decimal separator; only one decimal separator per field.
    static void DecimalKeys(QLineEdit* edit);
    // Digits and '-'.
    static void SignedIntegerKeys(QLineEdit* edit);
    // Digits only.
    static void DigitKeys(QLineEdit* edit);

    // Whether typing `key` into a field whose text, less the selection it replaces, is `fieldText`
    // is allowed.
    static bool Accepts(Keys keys, QChar key, const QString& fieldText);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TControlValidator(Keys keys, QLineEdit* edit);

    Keys m_keys;
};
