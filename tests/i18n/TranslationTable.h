#pragma once

// The program's Qt Linguist tables (resources/translations/*.ts) as the tests read them.

#include <QList>
#include <QString>
#include <QStringList>

struct TTranslatedMessage {
    QString context;
    QString source;
    QString key; // the st... key, given to tr() as the disambiguation
    QStringList translations; // one, or one per plural form
    QString type;             // empty when finished; "unfinished", "vanished", "obsolete"
    bool plural = false;

    // "context/key", naming the message in test output.
    QString Name() const { return context + u'/' + (key.isEmpty() ? source : key); }
};

// Reads a .ts file; raises std::runtime_error when it cannot be read or parsed.
QList<TTranslatedMessage> ReadTranslationTable(const QString& fileName);

// resources/translations/horavant_<language>.ts of the source tree.
QString TranslationTablePath(const QString& language);
