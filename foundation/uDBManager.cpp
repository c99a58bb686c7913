#include "uDBManager.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <QSqlDriver>
#include <QSqlError>
#include <QStringList>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

// ---------------------------------------------------------------------------------------------
// TField

namespace {

QString TrimTrailingNuls(QString text)
{
    // Memo values written by the former server driver carry a terminating NUL; it is never content.
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

bool IsIntegerKind(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Short: case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool IsFloatKind(const QVariant& value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

bool IsTextKind(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::QString || type == QMetaType::QByteArray || type == QMetaType::QChar;
}

QString TextOf(const QVariant& value)
{
    return value.typeId() == QMetaType::QByteArray ? QString::fromUtf8(value.toByteArray()) : value.toString();
}

// Date-times come as QDateTime from the servers and as ISO text from SQLite.
TDateTime DateTimeFromText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0;
    QString iso = trimmed;
    if (iso.size() > 10 && iso.at(10) == u' ')
        iso[10] = u'T';
    const QDateTime dateTime = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (dateTime.isValid())
        return DateTimeConv::FromQDateTime(dateTime);
    const QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (date.isValid())
        return DateTimeConv::FromQDate(date);
    bool isNumber = false;
    const double days = trimmed.toDouble(&isNumber);
    if (isNumber)
        return days;
    throw EDatabaseError(
        QCoreApplication::translate("TDBManager", "'%1' is not a valid date and time", "stINVALIDDATETIME").arg(trimmed));
}

} // namespace

QString TField::AsString() const
{
    if (m_null)
        return QString();
    switch (m_value.typeId()) {
    case QMetaType::QDateTime:
        return m_value.toDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(m_value.toDouble(), 'g', 15);
    default:
        return TrimTrailingNuls(TextOf(m_value));
    }
}

int TField::AsInteger() const
{
    if (m_null)
        return 0;
    if (IsFloatKind(m_value))
        return int(std::lround(m_value.toDouble()));
    bool ok = false;
    const qlonglong whole = m_value.toLongLong(&ok);
    if (ok)
        return int(whole);
    const double number = m_value.toDouble(&ok);
    if (ok)
        return int(std::lround(number));
    throw EDatabaseError(
        QCoreApplication::translate("TDBManager", "'%1' is not a valid integer value", "stINVALIDINTEGER").arg(AsString()));
}

double TField::AsFloat() const
{
    if (m_null)
        return 0.0;
    if (m_value.typeId() == QMetaType::QDateTime || m_value.typeId() == QMetaType::QDate)
        return AsDateTime();
    bool ok = false;
    const double number = m_value.toDouble(&ok);
    if (ok)
        return number;
    throw EDatabaseError(QCoreApplication::translate("TDBManager", "'%1' is not a valid floating point value",
                                                     "stINVALIDFLOAT")
                             .arg(AsString()));
}

TDateTime TField::AsDateTime() const
{
    if (m_null)
        return 0.0;
    switch (m_value.typeId()) {
    case QMetaType::QDateTime: // the wall-clock time the database names
        return DateTimeConv::FromQDateTime(m_value.toDateTime());
    case QMetaType::QDate:
        return DateTimeConv::FromQDate(m_value.toDate());
    case QMetaType::QTime:
        return m_value.toTime().msecsSinceStartOfDay() / (DateTimeConv::SecondsPerDay * 1000.0);
    default:
        break;
    }
    if (IsFloatKind(m_value) || IsIntegerKind(m_value))
        return m_value.toDouble();
    return DateTimeFromText(TextOf(m_value));
}

QByteArray TField::AsBytes() const
{
    if (m_null)
        return QByteArray();
    return m_value.typeId() == QMetaType::QString ? m_value.toString().toUtf8() : m_value.toByteArray();
}

// ---------------------------------------------------------------------------------------------
// TQuery

TQuery::TQuery(const QSqlDatabase& db, int tag) : m_query(db), m_tag(tag) {}

TQuery::~TQuery() = default;

TField TQuery::FieldByName(const QString& name) const
{
    const int index = m_columns.indexOf(name); // compares without case
    if (index < 0) {
        throw EDatabaseError(
            QCoreApplication::translate("TDBManager", "Field '%1' not found", "stFIELDNOTFOUND").arg(name));
    }
    if (m_eof)
        return TField(QVariant(), true);
    return TField(m_query.value(index), m_query.isNull(index));
}

bool TQuery::Eof() const { return m_eof; }

void TQuery::Next()
{
    if (!m_eof)
        m_eof = !m_query.next();
}

bool TQuery::First()
{
    m_eof = m_empty || !m_query.first();
    return !m_eof;
}

bool TQuery::IsEmpty() const { return m_empty; }

QStringList TQuery::FieldNames() const
{
    QStringList names;
    for (int i = 0; i < m_columns.count(); ++i)
        names.append(m_columns.fieldName(i));
    return names;
}

QVariant TQuery::ParamValue(const QString& name) const
{
    for (const auto& [paramName, value] : m_params) {
        if (paramName.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QVariant();
}

void TQuery::Close()
{
    // Finishing ends the statement on the server (and its read transaction) at once.
    m_query.finish();
    m_columns = QSqlRecord();
    m_params.clear();
    m_eof = true;
    m_empty = true;
}

void TQuery::SetText(const QString& sql)
{
    Close();
    m_sql = sql;
}

void TQuery::SetParam(const QString& name, const QVariant& value)
{
    const QString placeholder = name.startsWith(u':') ? name : u':' + name;
    for (auto& param : m_params) {
        if (param.first.compare(placeholder, Qt::CaseInsensitive) == 0) {
            param.second = value;
            return;
        }
    }
    m_params.append({placeholder, value});
}

void TQuery::Execute()
{
    if (m_sql.trimmed().isEmpty() || !m_query.exec(m_sql))
        RaiseError();
    m_query.finish();
}

void TQuery::OpenRows()
{
    if (m_sql.trimmed().isEmpty() || !m_query.exec(m_sql))
        RaiseError();
    m_columns = m_query.record();
    m_empty = !m_query.first();
    m_eof = m_empty;
}

void TQuery::ExecPrepared()
{
    if (m_sql.trimmed().isEmpty() || !m_query.prepare(m_sql))
        RaiseError();
    for (const auto& [name, value] : m_params)
        m_query.bindValue(name, value);
    if (!m_query.exec())
        RaiseError();
    m_columns = m_query.record();
    m_empty = !m_query.isSelect() || !m_query.first();
    m_eof = m_empty;
}

void TQuery::RaiseError() const
{
    QString reason = m_query.lastError().text().trimmed();
    if (m_sql.trimmed().isEmpty())
        reason = QCoreApplication::translate("TDBManager", "The SQL statement is empty.", "stEMPTYSTATEMENT");
    else if (reason.isEmpty())
        reason = QCoreApplication::translate("TDBManager", "The database rejected the statement.", "stSTATEMENTFAILED");
    throw EDatabaseError(reason + u'\n' + m_sql);
}

// ---------------------------------------------------------------------------------------------
// TDBManager

TDBManager::TDBManager() = default;

TDBManager::~TDBManager() { ClearPool(); }

void TDBManager::SetLocalConnection(const QString& connectionName) { m_localConnection = connectionName; }
void TDBManager::SetServerConnection(const QString& connectionName) { m_serverConnection = connectionName; }
void TDBManager::SetServerMode(bool serverMode) { m_serverMode = serverMode; }

QSqlDatabase TDBManager::CurrentDatabase() const
{
    const QString& name = m_serverMode ? m_serverConnection : m_localConnection;
    return name.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(name, false);
}

void TDBManager::RequireConnection() const
{
    if (!CurrentDatabase().isOpen())
        throw EDatabaseError(
            QCoreApplication::translate("TDBManager", "Database is not opened!", "stDBNOTOPENED"));
}

TQuery* TDBManager::Acquire()
{
    QMutexLocker lock(&m_poolLock);
    const auto freeSlot = std::find(m_busy.begin(), m_busy.end(), false);
    if (freeSlot != m_busy.end()) {
        *freeSlot = true;
        return m_pool[std::distance(m_busy.begin(), freeSlot)].get();
    }
    if (m_localConnection.isEmpty() && m_serverConnection.isEmpty())
        throw Exception(QCoreApplication::translate("TDBManager", "Both connections are null! (uDBManager)",
                                                    "stBOTHCONNECTIONSNULL"));
    const int slot = int(m_pool.size());
    m_pool.push_back(std::unique_ptr<TQuery>(new TQuery(CurrentDatabase(), slot)));
    m_busy.push_back(true);
    return m_pool.back().get();
}

void TDBManager::Execute(const QString& sql)
{
    RequireConnection();
    TQueryReleaser query(*this, Acquire()); // released also when the statement fails
    query->SetText(sql);
    query->Execute();
}

void TDBManager::ExecuteFmt(const QString& format, const QVariantList& args)
{
    Execute(FormatSQL(format, args));
}

TQuery* TDBManager::Open(const QString& sql)
{
    RequireConnection();
    TQuery* query = Acquire();
    query->SetText(sql);
    query->OpenRows(); // on failure the slot stays busy: the caller never got the query to release
    return query;
}

TQuery* TDBManager::OpenFmt(const QString& format, const QVariantList& args)
{
    return Open(FormatSQL(format, args));
}

TQuery* TDBManager::Prepare(const QString& sql)
{
    TQuery* query = Acquire();
    query->SetText(sql);
    return query;
}

TQuery* TDBManager::PrepareFmt(const QString& format, const QVariantList& args)
{
    return Prepare(FormatSQL(format, args));
}

void TDBManager::SetMemoParam(TQuery* query, const QString& name, const QString& text)
{
    // The former server driver appended a NUL to memos; it would be stored as part of the text
    // (a fingerprint template that no longer matches), so both modes bind the text as it is.
    query->SetParam(name, QVariant(text));
}

void TDBManager::SetBinaryParam(TQuery* query, const QString& name, const QByteArray& data)
{
    query->SetParam(name, QVariant(data));
}

void TDBManager::ExecPrepared(TQuery* query)
{
    RequireConnection();
    query->ExecPrepared();
}

void TDBManager::Release(TQuery* query)
{
    if (!query)
        return;
    QMutexLocker lock(&m_poolLock);
    // Looked up by address, so a query from before ClearPool is not even touched.
    const auto owned = std::find_if(m_pool.begin(), m_pool.end(), [&](const auto& pooled) { return pooled.get() == query; });
    if (owned == m_pool.end())
        return;
    query->Close();
    m_busy[size_t(query->Tag())] = false;
}

bool TDBManager::IsConnected() const
{
    const auto isOpen = [](const QString& name) {
        return !name.isEmpty() && QSqlDatabase::database(name, false).isOpen();
    };
    return isOpen(m_serverConnection) || isOpen(m_localConnection);
}

QString TDBManager::GetTableNames() const { return CurrentDatabase().tables(QSql::Tables).join(u','); }

void TDBManager::ClearPool()
{
    QMutexLocker lock(&m_poolLock);
    m_pool.clear();
    m_busy.clear();
}

void TDBManager::BeginTransaction()
{
    RequireConnection();
    QSqlDatabase db = CurrentDatabase();
    if (!db.transaction())
        throw EDatabaseError(db.lastError().text().trimmed());
    m_inTransaction = true;
}

void TDBManager::Commit()
{
    QSqlDatabase db = CurrentDatabase();
    if (!db.commit())
        throw EDatabaseError(db.lastError().text().trimmed());
    m_inTransaction = false;
}

void TDBManager::Rollback() noexcept
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    CurrentDatabase().rollback(); // a connection that broke has nothing left to roll back
}

TDBTransaction::TDBTransaction(TDBManager& manager) : m_manager(manager), m_owner(!manager.InTransaction())
{
    if (m_owner)
        m_manager.BeginTransaction();
}

TDBTransaction::~TDBTransaction()
{
    if (m_owner && !m_finished)
        m_manager.Rollback();
}

void TDBTransaction::Commit()
{
    if (m_owner && !m_finished)
        m_manager.Commit();
    m_finished = true;
}

int TDBManager::PoolCount() const
{
    QMutexLocker lock(&m_poolLock);
    return int(m_pool.size());
}

bool TDBManager::IsSlotBusy(int slot) const
{
    QMutexLocker lock(&m_poolLock);
    return slot >= 0 && size_t(slot) < m_busy.size() && m_busy[size_t(slot)];
}

// ---------------------------------------------------------------------------------------------
// FormatSQL

namespace {

// One conversion of a format text: %[index:][-][width][.precision]type
struct TFormatSpec {
    int index = -1;
    bool leftAlign = false;
    int width = 0;
    int precision = -1;
    char type = 0; // lower case
};

class TSQLFormatter final {
public:
    TSQLFormatter(const QString& format, const QVariantList& args) : m_format(format), m_args(args) {}

    QString Run()
    {
        QString out;
        out.reserve(m_format.size() + 16 * qsizetype(m_args.size()));
        for (m_pos = 0; m_pos < m_format.size(); ++m_pos) {
            const QChar c = m_format.at(m_pos);
            if (c != u'%')
                out += c;
            else if (m_pos + 1 < m_format.size() && m_format.at(m_pos + 1) == u'%')
                out += m_format.at(++m_pos);
            else
                out += Convert(ReadSpec());
        }
        return out;
    }

private:
    int ReadNumber()
    {
        int number = 0;
        while (m_pos < m_format.size() && m_format.at(m_pos).isDigit())
            number = number * 10 + m_format.at(m_pos++).digitValue();
        return number;
    }

    TFormatSpec ReadSpec()
    {
        const qsizetype start = m_pos++;
        TFormatSpec spec;
        const qsizetype digitsStart = m_pos;
        const int number = ReadNumber();
        if (m_pos < m_format.size() && m_format.at(m_pos) == u':' && m_pos > digitsStart) {
            spec.index = number;
            ++m_pos;
        } else {
            m_pos = digitsStart;
        }
        if (m_pos < m_format.size() && m_format.at(m_pos) == u'-') {
            spec.leftAlign = true;
            ++m_pos;
        }
        spec.width = ReadNumber();
        if (m_pos < m_format.size() && m_format.at(m_pos) == u'.') {
            ++m_pos;
            spec.precision = ReadNumber();
        }
        if (m_pos < m_format.size())
            spec.type = char(m_format.at(m_pos).toLower().toLatin1());
        m_specText = m_format.mid(start, m_pos - start + 1);
        if (spec.type == 0 || !QByteArrayView("dusxfg").contains(spec.type))
            Fail(QCoreApplication::translate("TDBManager", "Invalid format specifier '%1' in \"%2\"", "stFMTINVALID"));
        return spec;
    }

    QString Convert(const TFormatSpec& spec)
    {
        if (spec.index >= 0)
            m_next = spec.index;
        if (m_next >= int(m_args.size()))
            Fail(QCoreApplication::translate("TDBManager", "No argument for '%1' in \"%2\"", "stFMTNOARGUMENT"));
        const QVariant& arg = m_args.at(m_next++);
        return Pad(Render(spec, arg), spec);
    }

    QString Render(const TFormatSpec& spec, const QVariant& arg)
    {
        switch (spec.type) {
        case 's':
            RequireKind(IsTextKind(arg));
            return spec.precision >= 0 ? TextOf(arg).left(spec.precision) : TextOf(arg);
        case 'f':
            RequireKind(IsFloatKind(arg));
            return QString::number(arg.toDouble(), 'f', spec.precision >= 0 ? spec.precision : 2);
        case 'g':
            RequireKind(IsFloatKind(arg));
            return QString::number(arg.toDouble(), 'g', spec.precision >= 0 ? spec.precision : 15);
        default:
            RequireKind(IsIntegerKind(arg));
            return RenderInteger(spec, arg);
        }
    }

    static QString RenderInteger(const TFormatSpec& spec, const QVariant& arg)
    {
        const bool isUnsigned = arg.typeId() == QMetaType::ULongLong || arg.typeId() == QMetaType::ULong;
        const qlonglong value = arg.toLongLong();
        QString digits;
        if (spec.type == 'd')
            digits = isUnsigned ? QString::number(arg.toULongLong()) : QString::number(qAbs(value));
        else if (value < 0 && value >= INT_MIN) // %u and %x show a negative 32-bit value's bits
            digits = QString::number(quint32(value), spec.type == 'x' ? 16 : 10);
        else
            digits = QString::number(arg.toULongLong(), spec.type == 'x' ? 16 : 10);
        if (spec.type == 'x')
            digits = digits.toUpper();
        if (spec.precision > digits.size())
            digits.prepend(QString(spec.precision - digits.size(), u'0'));
        return spec.type == 'd' && value < 0 && !isUnsigned ? u'-' + digits : digits;
    }

    static QString Pad(const QString& text, const TFormatSpec& spec)
    {
        return spec.leftAlign ? text.leftJustified(spec.width) : text.rightJustified(spec.width);
    }

    void RequireKind(bool fits) const
    {
        if (!fits)
            Fail(QCoreApplication::translate("TDBManager", "Argument %3 does not fit '%1' in \"%2\"",
                                             "stFMTWRONGARGUMENT")
                     .replace(u"%3"_s, QString::number(m_next)));
    }

    // message: %1 is the conversion, %2 the whole format text
    [[noreturn]] void Fail(const QString& message) const { throw Exception(message.arg(m_specText, m_format)); }

    const QString& m_format;
    const QVariantList& m_args;
    qsizetype m_pos = 0;
    int m_next = 0; // the argument the next conversion takes
    QString m_specText;
};

} // namespace

QString TDBManager::FormatSQL(const QString& format, const QVariantList& args)
{
    return TSQLFormatter(format, args).Run();
}
