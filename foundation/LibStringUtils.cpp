#include "LibStringUtils.h"

#include "uSQLStringsHolder.h"

#include <algorithm>

namespace
{

QString Without(const QString& text, bool (*drop)(QChar))
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!drop(c))
            result += c;
    }
    return result;
}

bool IsEmailChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
           c == u'.' || c == u'_';
}

// The address list with every separator turned into a single comma, and no comma at either end.
QString NormalisedAddressList(const QString& text)
{
    QString list = text.trimmed();
    for (QChar& c : list) {
        if (c.isSpace() || c == u';')
            c = u',';
    }
    list = list.toLower();
    while (list.contains(QLatin1String(",,")))
        list.replace(QLatin1String(",,"), QLatin1String(","));
    if (list.startsWith(u','))
        list.remove(0, 1);
    if (list.endsWith(u','))
        list.chop(1);
    return list;
}

} // namespace

int TextToIntOrZero(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

QString RemoveBlanks(const QString& text)
{
    return Without(text, [](QChar c) { return c.isSpace(); });
}

QString RemoveCommas(const QString& text)
{
    return Without(text, [](QChar c) { return c == u','; });
}

QString DoubleQuotes(const QString& text)
{
    return TSQLStringsHolder::QuoteValue(text);
}

bool IsEmailChars(const QString& text)
{
    return std::all_of(text.begin(), text.end(), IsEmailChar);
}

bool IsEmailAddress(const QString& text)
{
    const qsizetype at = text.indexOf(u'@');
    if (at <= 0)
        return false;
    const QString name = text.left(at);
    const QString domain = text.mid(at + 1);
    const qsizetype dot = domain.indexOf(u'.');
    return domain.size() > 3 && dot >= 0 && domain.size() - dot - 1 >= 2 && IsEmailChars(name) &&
           IsEmailChars(domain);
}

int FirstInvalidAddress(const QString& text, QStringList& addresses)
{
    addresses = NormalisedAddressList(text).split(u',');
    addresses.removeDuplicates();
    for (int i = 0; i < addresses.size(); ++i) {
        if (!IsEmailAddress(addresses.at(i)))
            return i;
    }
    return -1;
}

bool AreEmailAddresses(const QString& text)
{
    QStringList addresses;
    return FirstInvalidAddress(text, addresses) == -1;
}
