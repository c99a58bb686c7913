#include "uSQLStringsHolder.h"

#include "uExceptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

constexpr QChar Quote = u'\'';

// The value of the first "NAME=value" line whose name equals `name` without regard to case.
bool FindValue(const QStringList& lines, QStringView name, QString* value)
{
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq == name.size() && QStringView(line).left(eq).compare(name, Qt::CaseInsensitive) == 0) {
            *value = line.mid(eq + 1);
            return true;
        }
    }
    return false;
}

} // namespace

const QStringList& Dialect::SetNames()
{
    static const QStringList names{u"LOCAL"_s, u"INTERBASE"_s, u"MSSQL"_s, u"MYSQL"_s, u"ORACLE"_s};
    return names;
}

// ---- TSQLStringsHolder_CollectionItem

void TSQLStringsHolder_CollectionItem::SetName(const QString& name)
{
    const QString normalised = name.trimmed().toUpper();
    if (!normalised.isEmpty()) {
        for (int i = 0; i < m_holder->LanguageCount(); ++i) {
            const auto& other = m_holder->Language(i);
            if (&other != this && other.Name() == normalised)
                throw Exception(
                    QCoreApplication::translate("TSQLStringsHolder", "Name already exists!", "stNAMEEXISTS"));
        }
    }
    m_name = normalised;
}

QString TSQLStringsHolder_CollectionItem::DisplayName() const
{
    return m_name.isEmpty() ? u"(unnamed)"_s : m_name;
}

QString TSQLStringsHolder_CollectionItem::Statement(const QString& name) const
{
    QString text;
    FindValue(m_strings, name, &text);
    return text;
}

// ---- TSQLStringsHolder

TSQLStringsHolder::TSQLStringsHolder(QObject* parent) : QObject(parent)
{
    for (const QString& name : Dialect::SetNames())
        AddLanguage().SetName(name);
}

TSQLStringsHolder::TSQLStringsHolder(const QString& holderName, QObject* parent) : TSQLStringsHolder(parent)
{
    setObjectName(holderName);
    LoadSets(holderName);
}

TSQLStringsHolder::~TSQLStringsHolder()
{
    if (m_dispatcher)
        m_dispatcher->UnregisterHolder(this);
}

void TSQLStringsHolder::LoadSets(const QString& holderName, const QString& directory)
{
    bool anyFile = false;
    for (auto& set : m_languages) {
        QFile file(directory + u'/' + holderName + u'.' + set->Name() + u".sql"_s);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            set->Strings().clear();
            continue;
        }
        anyFile = true;
        set->Strings() = ParseStatementFile(QString::fromUtf8(file.readAll()), file.fileName());
    }
    if (!anyFile)
        throw Exception(
            tr("No statement set found for %1 in %2.", "stNOSTATEMENTSET").arg(holderName, directory));
}

QStringList TSQLStringsHolder::ParseStatementFile(const QString& contents, const QString& origin)
{
    QStringList lines;
    QSet<QString> names;
    const QStringList fileLines = contents.split(u'\n');
    for (qsizetype number = 0; number < fileLines.size(); ++number) {
        QString line = fileLines.at(number);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const auto fail = [&](const QString& what) {
            throw Exception(
                tr("%1, line %2: %3", "stSTATEMENTFILEERROR").arg(origin).arg(number + 1).arg(what));
        };
        if (line.trimmed().isEmpty() || line.startsWith(u"--"_s))
            continue;
        if (line.front().isSpace()) {
            if (lines.isEmpty())
                fail(tr("continuation line without a statement", "stSTATEMENTCONTINUATION"));
            lines.last() += u'\t' + line.trimmed();
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            fail(tr("expected NAME=statement", "stSTATEMENTEXPECTED"));
        const QString name = line.left(eq).toUpper();
        if (names.contains(name))
            fail(tr("statement %1 is defined twice", "stSTATEMENTTWICE").arg(name));
        names.insert(name);
        lines.append(line);
    }
    return lines;
}

TSQLStringsHolder_CollectionItem& TSQLStringsHolder::AddLanguage()
{
    m_languages.push_back(std::make_unique<TSQLStringsHolder_CollectionItem>(this));
    return *m_languages.back();
}

void TSQLStringsHolder::DeleteLanguage(int index)
{
    m_languages.erase(m_languages.begin() + index);
}

void TSQLStringsHolder::SetActiveLanguage(int index)
{
    if (!m_loading && (index < 0 || index >= LanguageCount()))
        throw Exception(tr("Invalid language index!", "stINVALIDLANGUAGE"));
    m_activeLanguage = index;
}

void TSQLStringsHolder::SetDispatcher(TSQLStringsHolderDispatcher* dispatcher)
{
    if (m_dispatcher)
        m_dispatcher->UnregisterHolder(this);
    m_dispatcher = dispatcher;
    if (dispatcher) {
        dispatcher->RegisterHolder(this);
        SetActiveLanguage(dispatcher->ActiveLanguage());
    }
}

void TSQLStringsHolder::AddParam(const QString& name, const QString& value)
{
    m_params.append(name + u'=' + value);
}

void TSQLStringsHolder::AddParam(const QString& name, qint64 value)
{
    m_params.append(name + u'=' + QString::number(value));
}

QString TSQLStringsHolder::StatementIn(int set, const QString& name) const
{
    return set >= 0 && set < LanguageCount() ? m_languages[size_t(set)]->Statement(name) : QString();
}

QString TSQLStringsHolder::GetStatement(const QString& name) const
{
    QString text = StatementIn(m_activeLanguage, name);
    if (text.isEmpty() && m_defaultSQLMode) {
        text = StatementIn(Dialect::MSSQL, name);
        for (int set = 0; text.isEmpty() && set < LanguageCount(); ++set)
            text = StatementIn(set, name);
    }
    text.replace(u'\t', u' ');
    return m_params.isEmpty() ? text : FillPlaceholders(text, m_params);
}

QString TSQLStringsHolder::FillPlaceholders(const QString& text, const QStringList& params)
{
    QString result = text;
    qsizetype pos = 0;
    while (pos + 1 < result.size()) {
        if (result[pos] != u'<' || result[pos + 1] != u'#') {
            ++pos;
            continue;
        }
        const qsizetype close = result.indexOf(u'>', pos + 2);
        if (close < 0)
            throw Exception(tr("The end of the parameter %1 is undefined.", "stPARAMETERENDUNDEFINED")
                                .arg(result.mid(pos)));
        QStringView tag = QStringView(result).mid(pos + 2, close - pos - 2);
        if (tag.endsWith(u'/'))
            tag.chop(1);
        QString value;
        if (FindValue(params, tag, &value))
            value = QuoteValue(value);
        result.replace(pos, close - pos + 1, value);
        // The inserted value is never scanned for placeholders.
        pos += value.size();
    }
    return result;
}

QString TSQLStringsHolder::QuoteValue(const QString& value)
{
    if (!value.contains(Quote))
        return value;
    QString quoted;
    quoted.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size();) {
        if (value[i] != Quote) {
            quoted += value[i++];
            continue;
        }
        qsizetype run = 0;
        while (i < value.size() && value[i] == Quote) {
            ++run;
            ++i;
        }
        // An odd run cannot be an escaped text: doubling it keeps the literal closed.
        quoted += QString(run % 2 == 0 ? run : 2 * run, Quote);
    }
    return quoted;
}

// ---- TSQLStringsHolderDispatcher

void TSQLStringsHolderDispatcher::SetActiveLanguage(int index)
{
    m_activeLanguage = index;
    for (TSQLStringsHolder* holder : std::as_const(m_holders)) {
        if (holder->LanguageCount() > index)
            holder->SetActiveLanguage(index);
    }
}

void TSQLStringsHolderDispatcher::RegisterHolder(TSQLStringsHolder* holder)
{
    if (!m_holders.contains(holder))
        m_holders.append(holder);
}

void TSQLStringsHolderDispatcher::UnregisterHolder(TSQLStringsHolder* holder)
{
    m_holders.removeAll(holder);
}
