#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Dialect numbers: the setting DatabaseType, the dispatcher's ActiveLanguage and the index of a
// statement set are the same number.
namespace Dialect {
enum : int { LOCAL = 0, INTERBASE = 1, MSSQL = 2, MYSQL = 3, ORACLE = 4 };
// "LOCAL", "INTERBASE", "MSSQL", "MYSQL", "ORACLE", in dialect order.
const QStringList& SetNames();
} // namespace Dialect

class TSQLStringsHolder;
class TSQLStringsHolderDispatcher;

// One statement set of a holder: lines "NAME=statement text".
class TSQLStringsHolder_CollectionItem final {
public:
    explicit TSQLStringsHolder_CollectionItem(TSQLStringsHolder* holder) : m_holder(holder) {}

    const QString& Name() const { return m_name; }
    // Trimmed and upper-cased; raises "Name already exists!" when another set of the holder has it.
    void SetName(const QString& name);
    QString DisplayName() const; // "(unnamed)" for an empty name

    QStringList& Strings() { return m_strings; }
    const QStringList& Strings() const { return m_strings; }

    // The text after the first '=' of the first line named `name` (compared without case); empty
    // when no line has that name.
    QString Statement(const QString& name) const;

private:
    TSQLStringsHolder* m_holder;
    QString m_name;
    QStringList m_strings;
};

// Named SQL texts in one set per dialect. Callers clear the parameter list, add "NAME=value" lines
// for the <#NAME/> placeholders, then ask for a statement by name.
class TSQLStringsHolder final : public QObject {
    Q_OBJECT
public:
    // The five dialect sets, empty.
    explicit TSQLStringsHolder(QObject* parent = nullptr);
    // The five dialect sets filled from ":/sql/<holderName>.<SETNAME>.sql" (see LoadSets).
    explicit TSQLStringsHolder(const QString& holderName, QObject* parent = nullptr);
    ~TSQLStringsHolder() override;

    // Fills the sets from "<directory>/<holderName>.<SETNAME>.sql"; a missing file leaves its set
    // empty, but a holder name without any file raises an exception naming it. File format: one
    // statement per line, "NAME=text"; a line starting with a blank or tab continues the statement
    // above (the break becomes a tab); blank lines and lines starting with "--" are skipped.
    void LoadSets(const QString& holderName, const QString& directory = QStringLiteral(":/sql"));
    // The "NAME=text" lines of a statement file's contents; raises an exception naming `origin` and
    // the line for a line without '=', a continuation without a statement, or a repeated name.
    static QStringList ParseStatementFile(const QString& contents, const QString& origin);

    // The statement collection ("Languages"): a set's index is its dialect number.
    int LanguageCount() const { return int(m_languages.size()); }
    TSQLStringsHolder_CollectionItem& Language(int index) { return *m_languages.at(size_t(index)); }
    const TSQLStringsHolder_CollectionItem& Language(int index) const
    {
        return *m_languages.at(size_t(index));
    }
    TSQLStringsHolder_CollectionItem& AddLanguage();
    void DeleteLanguage(int index);

    int ActiveLanguage() const { return m_activeLanguage; }
    // Raises "Invalid language index!" for an index without a set, except while loading.
    void SetActiveLanguage(int index);
    bool DefaultSQLMode() const { return m_defaultSQLMode; }
    void SetDefaultSQLMode(bool on) { m_defaultSQLMode = on; }

    // While loading, SetActiveLanguage takes any value as it is.
    bool IsLoading() const { return m_loading; }
    void SetLoading(bool loading) { m_loading = loading; }

    TSQLStringsHolderDispatcher* Dispatcher() const { return m_dispatcher; }
    // Registers with the dispatcher (leaving the previous one) and takes its ActiveLanguage.
    void SetDispatcher(TSQLStringsHolderDispatcher* dispatcher);

    // The parameter list: "NAME=value" lines. Lookups never clear it.
    QStringList& Params() { return m_params; }
    void ClearParams() { m_params.clear(); }
    void AddParam(const QString& name, const QString& value);
    void AddParam(const QString& name, qint64 value);

    // The statement of the active set, falling back to the MSSQL set and then to every set in
    // order; tabs become blanks and, when the parameter list is not empty, placeholders are filled.
    // An unknown name gives an empty text.
    QString GetStatement(const QString& name) const;

    // Replaces every <#TAG/> (or <#TAG>) with the quote-doubled value of the parameter TAG, or with
    // nothing when there is no such parameter. Raises "The end of the parameter %s is undefined."
    // for a placeholder without its '>'.
    static QString FillPlaceholders(const QString& text, const QStringList& params);
    // Doubles the single quotes of a value spliced into a quoted SQL literal. A run of quotes of even
    // length is taken as already doubled and kept ("O''Brien" stays); any other run is doubled.
    static QString QuoteValue(const QString& value);

private:
    QString StatementIn(int set, const QString& name) const;

    std::vector<std::unique_ptr<TSQLStringsHolder_CollectionItem>> m_languages;
    int m_activeLanguage = Dialect::MSSQL;
    bool m_defaultSQLMode = true;
    bool m_loading = false;
    QPointer<TSQLStringsHolderDispatcher> m_dispatcher;
    QStringList m_params;
};

// Switches every attached holder to the dialect of the open connection.
class TSQLStringsHolderDispatcher final : public QObject {
    Q_OBJECT
public:
    // Holders keep a guarded pointer to it, so it may be destroyed before them.
    explicit TSQLStringsHolderDispatcher(QObject* parent = nullptr) : QObject(parent) {}

    int ActiveLanguage() const { return m_activeLanguage; }
    // Sets the index on every registered holder that has a set of that index.
    void SetActiveLanguage(int index);

    const QList<TSQLStringsHolder*>& Holders() const { return m_holders; }
    void RegisterHolder(TSQLStringsHolder* holder);
    void UnregisterHolder(TSQLStringsHolder* holder);

private:
    int m_activeLanguage = Dialect::LOCAL;
    QList<TSQLStringsHolder*> m_holders;
};
