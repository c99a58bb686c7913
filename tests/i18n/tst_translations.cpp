// The Spanish table is complete and faithful to the English texts: every message translated, with
// the same placeholders, line breaks, mnemonic and surrounding blanks; the table holds every text
// the sources give to tr() (lupdate finds nothing new), each under the context the code uses.
#include "TestSupport.h"
#include "TranslationTable.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TTranslatedMessage)

namespace
{

// Keys whose Spanish text is, on purpose, the English one: names of products and formats, and
// words spelled the same in both languages. Texts that must stay English in every language (the
// identification dialog's mode captions, the continuous scan's not-found message) are not given to
// tr() at all, so they never reach the table.
const QSet<QString> SameInBothLanguages = {
    u"stNO"_s,           // "No"
    u"stERROR"_s,        // "Error"
    u"stDBTYPEINTERBASE"_s, u"stDBTYPEMSSQL"_s, u"stDBTYPEMYSQL"_s, u"stDBTYPEORACLE"_s,
    u"stRPTFORMATPDF"_s, // "Adobe Acrobat (PDF)"
};

// %1..%99 (also %L1), %n, and the printf-style %s / %d some texts hand on to a formatter.
QStringList Placeholders(const QString& text)
{
    static const QRegularExpression marker(u"%(?:L?\\d{1,2}|L?n|s|d)"_s);
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// A single '&' marks the mnemonic; "&&" is a literal ampersand.
int Mnemonics(const QString& text)
{
    QString plain = text;
    plain.remove(u"&&"_s);
    return int(plain.count(u'&'));
}

bool StartsBlank(const QString& text) { return !text.isEmpty() && text.front().isSpace(); }
bool EndsBlank(const QString& text) { return !text.isEmpty() && text.back().isSpace(); }

QSet<QString> MessageIds(const QList<TTranslatedMessage>& messages)
{
    QSet<QString> ids;
    for (const TTranslatedMessage& message : messages) {
        if (message.type != u"vanished" && message.type != u"obsolete")
            ids.insert(message.context + u'\x1f' + message.source + u'\x1f' + message.key);
    }
    return ids;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void spanishMessage_data();
    void spanishMessage();
    void englishPluralForms();
    void tableHoldsEveryText();
    void everyTextFoundUnderItsContext();

private:
    QTemporaryDir m_dir;
    QString m_refreshedTable;
    QString m_lupdateWarnings;
};

void TestTranslations::spanishMessage_data()
{
    QTest::addColumn<TTranslatedMessage>("message");
    const QList<TTranslatedMessage> messages = ReadTranslationTable(TranslationTablePath(u"es"_s));
    QVERIFY(!messages.isEmpty());
    for (const TTranslatedMessage& message : messages)
        QTest::newRow(qPrintable(message.Name())) << message;
}

void TestTranslations::spanishMessage()
{
    QFETCH(TTranslatedMessage, message);
    QVERIFY2(message.type.isEmpty(), qPrintable(u"translation is "_s + message.type));
    QVERIFY(!message.translations.isEmpty());
    for (const QString& translation : message.translations) {
        QVERIFY2(!translation.trimmed().isEmpty(), "empty translation");
        QCOMPARE(Placeholders(translation), Placeholders(message.source));
        QCOMPARE(translation.count(u'\n'), message.source.count(u'\n'));
        QCOMPARE(Mnemonics(translation), Mnemonics(message.source));
        QCOMPARE(StartsBlank(translation), StartsBlank(message.source));
        QCOMPARE(EndsBlank(translation), EndsBlank(message.source));
        if (!SameInBothLanguages.contains(message.key))
            QVERIFY2(translation != message.source, "left in English");
    }
}

// The English table carries only the plural forms ("1 minute", "2 minutes"); each must be filled,
// or a count would read "%n minute(s)".
void TestTranslations::englishPluralForms()
{
    const QList<TTranslatedMessage> messages = ReadTranslationTable(TranslationTablePath(u"en"_s));
    for (const TTranslatedMessage& message : messages) {
        QVERIFY2(message.plural, qPrintable(message.Name() + u" is not a plural message"_s));
        QVERIFY2(message.type.isEmpty(), qPrintable(message.Name() + u": "_s + message.type));
        for (const QString& form : message.translations)
            QVERIFY2(form.contains(u"%n"_s), qPrintable(message.Name()));
    }
}

// lupdate run over the sources into a copy of the Spanish table: a text given to tr() since the last
// `ninja update_translations` shows up as new, one removed from the sources as vanished.
void TestTranslations::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_refreshedTable = m_dir.filePath(u"horavant_es.ts"_s);
    QVERIFY(QFile::copy(TranslationTablePath(u"es"_s), m_refreshedTable));

    QStringList arguments;
    for (const QString& folder : QString::fromUtf8(TRANSLATED_DIRS).split(u',')) {
        const QString path = TestSupport::SourceDir() + u'/' + folder;
        if (QFileInfo::exists(path)) // subsystems not written yet
            arguments << path;
    }
    arguments << u"-extensions"_s << u"cpp,h,ui"_s << u"-locations"_s << u"none"_s << u"-silent"_s
              << u"-ts"_s << m_refreshedTable;
    QProcess lupdate;
    lupdate.start(QString::fromUtf8(LUPDATE_PATH), arguments);
    QVERIFY2(lupdate.waitForFinished(120000), qPrintable(lupdate.errorString()));
    m_lupdateWarnings = QString::fromUtf8(lupdate.readAllStandardError());
    QVERIFY2(lupdate.exitCode() == 0, qPrintable(m_lupdateWarnings));
}

void TestTranslations::tableHoldsEveryText()
{
    const QSet<QString> inTable = MessageIds(ReadTranslationTable(TranslationTablePath(u"es"_s)));
    const QSet<QString> inSources = MessageIds(ReadTranslationTable(m_refreshedTable));
    QStringList missing;
    for (const QString& id : inSources - inTable)
        missing << QString(id).replace(u'\x1f', u" | "_s);
    QStringList stale;
    for (const QString& id : inTable - inSources)
        stale << QString(id).replace(u'\x1f', u" | "_s);
    QVERIFY2(missing.isEmpty(), qPrintable(u"Not in the table (run ninja update_translations):\n"_s
                                           + missing.join(u'\n')));
    QVERIFY2(stale.isEmpty(), qPrintable(u"No longer in the sources:\n"_s + stale.join(u'\n')));
}

// tr() in a class without its own Q_OBJECT or Q_DECLARE_TR_FUNCTIONS looks its text up under the
// base class's name, while lupdate files it under the class's own: such a text is never translated.
void TestTranslations::everyTextFoundUnderItsContext()
{
    QStringList lost;
    for (const QString& line : m_lupdateWarnings.split(u'\n')) {
        if (line.contains(u"lacks Q_OBJECT macro"_s))
            lost << line;
    }
    QVERIFY2(lost.isEmpty(), qPrintable(lost.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestTranslations)
#include "tst_translations.moc"
