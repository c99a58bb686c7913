#pragma once

#include "uSQLStringsHolder.h"

#include <QList>
#include <QString>

class TdtmAppData;

// One reason of the check-out catalog.
struct TCheckOutReason {
    int ReasonId = 0;
    QString Code;
    QString Name;
};

// The catalog of check-out reasons (CHECKOUTREASONS). Rows are never removed: a deleted reason
// keeps its id with REASONSTATUS 0, so the check records that name it stay valid. Only reasons in
// use (REASONSTATUS 1) are listed. Database failures raise EDatabaseError.
class TCheckOutReasons final
{
public:
    explicit TCheckOutReasons(TdtmAppData& appData);

    // How a reason is listed everywhere: the code padded with blanks to 6 characters (a longer code
    // is kept whole), " - ", then the name.
    static QString FormatReasonEntry(const QString& code, const QString& name);

    // The reasons in use, in the database's order.
    QList<TCheckOutReason> Load();
    // Whether another reason in use has this name or this code (0 excludes nothing).
    bool Exists(const QString& name, const QString& code, int exceptReasonId);
    void Add(const QString& name, const QString& code);
    void Update(int reasonId, const QString& name, const QString& code);
    // Marks the reason deleted.
    void Delete(int reasonId);

private:
    TdtmAppData& m_appData;
    TSQLStringsHolder m_sql;
};
