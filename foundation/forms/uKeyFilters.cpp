#include "uKeyFilters.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>

namespace
{

bool IsDigit(QChar key)
{
    return key >= u'0' && key <= u'9';
}

// '.' always counts, so a field never gets both '.' and the locale's separator.
bool IsDecimalSeparator(QChar key)
{
    return key == u'.' || QLocale().decimalPoint() == QString(key);
}

// The text the typed character will join: a selection is replaced by it.
QString TextBesideSelection(const QLineEdit* edit)
{
    QString text = edit->text();
    if (edit->hasSelectedText())
        text.remove(edit->selectionStart(), edit->selectedText().size());
    return text;
}

} // namespace

TControlValidator::TControlValidator(Keys keys, QLineEdit* edit) : QObject(edit), m_keys(keys)
{
    edit->installEventFilter(this);
}

void TControlValidator::DecimalKeys(QLineEdit* edit)
{
    new TControlValidator(Keys::Decimal, edit);
}
void TControlValidator::SignedIntegerKeys(QLineEdit* edit)
{
    new TControlValidator(Keys::SignedInteger, edit);
}
void TControlValidator::DigitKeys(QLineEdit* edit)
{
    new TControlValidator(Keys::Digit, edit);
}

bool TControlValidator::Accepts(Keys keys, QChar key, const QString& fieldText)
{
    if (IsDigit(key))
        return true;
    switch (keys) {
    case Keys::Digit:
        return false;
    case Keys::SignedInteger:
        return key == u'-';
    case Keys::Decimal:
        if (IsDecimalSeparator(key))
            return std::none_of(fieldText.begin(), fieldText.end(), IsDecimalSeparator);
        return key == u'-';
    }
    return false;
}

bool TControlValidator::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    if (typed.isEmpty() || !typed.at(0).isPrint())
        return false;
    const QString fieldText = TextBesideSelection(static_cast<QLineEdit*>(watched));
    const bool accepted =
        std::all_of(typed.begin(), typed.end(), [&](QChar key) { return Accepts(m_keys, key, fieldText); });
    return !accepted; // true swallows the key
}
