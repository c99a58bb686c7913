#pragma once

#include <QString>
#include <QStringList>

// Text clean-up and e-mail address checks shared by the forms.

// The integer the text denotes (blanks around it allowed); 0 when it is not one.
int TextToIntOrZero(const QString& text);
// The text without blanks (any white space) or without commas.
QString RemoveBlanks(const QString& text);
QString RemoveCommas(const QString& text);
// The text with its single quotes doubled for a quoted SQL literal, by the statement holder's rule.
QString DoubleQuotes(const QString& text);

// Every character is an ASCII letter, a digit, '-', '.' or '_' (an empty text passes).
bool IsEmailChars(const QString& text);
// name@domain: a non-empty name; a domain longer than 3 characters with at least 2 characters after
// its first '.'; both made of e-mail characters only.
bool IsEmailAddress(const QString& text);
// Normalises an address list (blanks and ';' separate like ',', lower case), fills `addresses`
// with its distinct addresses in their first order and gives the position of the first invalid
// one, or -1 when all are valid. A blank text counts as one empty, invalid address.
int FirstInvalidAddress(const QString& text, QStringList& addresses);
bool AreEmailAddresses(const QString& text);
