#include "uCheckOutReasons.h"

#include "dmAppData.h"

using namespace Qt::StringLiterals;

namespace
{
constexpr int CodeWidth = 6;
}

TCheckOutReasons::TCheckOutReasons(TdtmAppData& appData) : m_appData(appData), m_sql(u"fCheckOutReasons"_s)
{
    m_sql.SetDispatcher(&appData.SQLStringsHolderDispatcher());
}

QString TCheckOutReasons::FormatReasonEntry(const QString& code, const QString& name)
{
    return code.leftJustified(CodeWidth) + u" - "_s + name;
}

QList<TCheckOutReason> TCheckOutReasons::Load()
{
    TDBManager& db = m_appData.DBManager();
    TQueryReleaser rows(db, db.Open(m_sql.GetStatement(u"LOADREASONS"_s)));
    QList<TCheckOutReason> reasons;
    for (; !rows->Eof(); rows->Next()) {
        reasons.append({rows->FieldByName(u"REASONID"_s).AsInteger(),
                        rows->FieldByName(u"REASONCODE"_s).AsString(),
                        rows->FieldByName(u"REASONNAME"_s).AsString()});
    }
    return reasons;
}

bool TCheckOutReasons::Exists(const QString& name, const QString& code, int exceptReasonId)
{
    TDBManager& db = m_appData.DBManager();
    TQueryReleaser count(db, db.OpenFmt(m_sql.GetStatement(u"VERIFYEXIST"_s),
                                        {TSQLStringsHolder::QuoteValue(name),
                                         TSQLStringsHolder::QuoteValue(code), exceptReasonId}));
    return count->FieldByName(u"COUNTRESULT"_s).AsInteger() != 0;
}

void TCheckOutReasons::Add(const QString& name, const QString& code)
{
    m_appData.DBManager().ExecuteFmt(
        m_sql.GetStatement(u"SAVENEWREASON"_s),
        {TSQLStringsHolder::QuoteValue(name), TSQLStringsHolder::QuoteValue(code)});
}

void TCheckOutReasons::Update(int reasonId, const QString& name, const QString& code)
{
    m_appData.DBManager().ExecuteFmt(
        m_sql.GetStatement(u"UPDATEREASON"_s),
        {TSQLStringsHolder::QuoteValue(name), TSQLStringsHolder::QuoteValue(code), reasonId});
}

void TCheckOutReasons::Delete(int reasonId)
{
    m_appData.DBManager().ExecuteFmt(m_sql.GetStatement(u"DELETEREASON"_s), {reasonId});
}
