#include "uExceptions.h"
#include "uSQLStringsHolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The exception message of `work`, or "no exception".
template <typename Work> QString MessageOf(Work work)
{
    try {
        work();
    } catch (const Exception& e) {
        return e.Message();
    }
    return u"no exception"_s;
}

// A holder whose five sets hold the lines given per dialect.
std::unique_ptr<TSQLStringsHolder> HolderWith(const QList<QStringList>& sets)
{
    auto holder = std::make_unique<TSQLStringsHolder>();
    for (int i = 0; i < sets.size(); ++i)
        holder->Language(i).Strings() = sets[i];
    return holder;
}

} // namespace

class TestSQLStringsHolder : public QObject {
    Q_OBJECT
private slots:
    void fillPlaceholders_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("expected");

        QTest::newRow("integer") << u"WHERE EMPLOYEEID = <#EMPLOYEEID/>"_s << QStringList{u"EMPLOYEEID=7"_s}
                                 << u"WHERE EMPLOYEEID = 7"_s;
        QTest::newRow("tag without slash")
            << u"'<#QUICKBOOKSID>'"_s << QStringList{u"QUICKBOOKSID=80-1"_s} << u"'80-1'"_s;
        QTest::newRow("tag name without case")
            << u"<#employeeId/>"_s << QStringList{u"EMPLOYEEID=3"_s} << u"3"_s;
        QTest::newRow("unknown tag disappears")
            << u"A <#MISSING/> B"_s << QStringList{u"OTHER=1"_s} << u"A  B"_s;
        QTest::newRow("adjacent tags") << u"<#A/><#B/><#A>"_s << QStringList{u"A=1"_s, u"B=2"_s} << u"121"_s;
        QTest::newRow("value holding '='") << u"'<#NOTE/>'"_s << QStringList{u"NOTE=a=b"_s} << u"'a=b'"_s;
        QTest::newRow("empty value") << u"'<#NOTE/>'"_s << QStringList{u"NOTE="_s} << u"''"_s;
        QTest::newRow("first line of a name wins")
            << u"<#A/>"_s << QStringList{u"a=first"_s, u"A=second"_s} << u"first"_s;
        QTest::newRow("name is the whole text before '='")
            << u"<#A/>"_s << QStringList{u"AB=no"_s, u"A"_s, u"A=yes"_s} << u"yes"_s;
        QTest::newRow("inserted value not scanned")
            << u"<#A/>|<#B/>"_s << QStringList{u"A=<#B/>"_s, u"B=x"_s} << u"<#B/>|x"_s;
        QTest::newRow("only one trailing slash dropped")
            << u"<#A//>"_s << QStringList{u"A=1"_s, u"A/=2"_s} << u"2"_s;
        QTest::newRow("lone < and # stay")
            << u"a < b # c <b> #<"_s << QStringList{u"A=1"_s} << u"a < b # c <b> #<"_s;
        QTest::newRow("quote doubled")
            << u"'<#NAME/>'"_s << QStringList{u"NAME=O'Brien"_s} << u"'O''Brien'"_s;
        QTest::newRow("doubled quote kept")
            << u"'<#NAME/>'"_s << QStringList{u"NAME=O''Brien"_s} << u"'O''Brien'"_s;
        QTest::newRow("backslash quote") << u"'<#NOTE/>'"_s << QStringList{uR"(NOTE=\')"_s} << uR"('\''')"_s;
        QTest::newRow("injection") << u"'<#NOTE/>'"_s << QStringList{u"NOTE=' OR '1'='1"_s}
                                   << u"''' OR ''1''=''1'"_s;
        // A run of three cannot be an escaped text; kept as it is it would close the literal.
        QTest::newRow("odd run of quotes doubled")
            << u"'<#NOTE/>'"_s << QStringList{u"NOTE=a''' OR 1=1"_s} << u"'a'''''' OR 1=1'"_s;
        QTest::newRow("quotes only in the value") << u"x'<#A/>'y"_s << QStringList{u"A=b"_s} << u"x'b'y"_s;
        QTest::newRow("non-ASCII") << u"'<#N/>'"_s << QStringList{u"N=Núñez Ærø"_s} << u"'Núñez Ærø'"_s;
    }
    void fillPlaceholders()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, params);
        QFETCH(QString, expected);
        QCOMPARE(TSQLStringsHolder::FillPlaceholders(text, params), expected);
    }

    void unterminatedPlaceholder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("at the end") << u"SELECT <#A/> AND <#B"_s
                                    << u"The end of the parameter <#B is undefined."_s;
        QTest::newRow("alone") << u"<#"_s << u"The end of the parameter <# is undefined."_s;
        QTest::newRow("after a filled value")
            << u"<#A/><#NOTE/"_s << u"The end of the parameter <#NOTE/ is undefined."_s;
    }
    void unterminatedPlaceholder()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QCOMPARE(MessageOf([&] { TSQLStringsHolder::FillPlaceholders(text, {u"A=1"_s}); }), message);
    }

    void getStatement_data()
    {
        QTest::addColumn<int>("active");
        QTest::addColumn<bool>("defaultMode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");

        QTest::newRow("own set") << int(Dialect::MYSQL) << true << u"BOTH"_s << u"mysql both"_s;
        QTest::newRow("LOCAL falls back to MSSQL")
            << int(Dialect::LOCAL) << true << u"COMMON"_s << u"mssql common"_s;
        QTest::newRow("MSSQL finds a LOCAL-only name")
            << int(Dialect::MSSQL) << true << u"LOCALONLY"_s << u"local only"_s;
        QTest::newRow("then sets from 0 upward")
            << int(Dialect::ORACLE) << true << u"NOTINMSSQL"_s << u"local first"_s;
        QTest::newRow("empty text counts as missing")
            << int(Dialect::INTERBASE) << true << u"BOTH"_s << u"mssql both"_s;
        QTest::newRow("name without case") << int(Dialect::MYSQL) << true << u"both"_s << u"mysql both"_s;
        QTest::newRow("text after the first '='")
            << int(Dialect::MSSQL) << true << u"EQ"_s << u"SELECT 1 WHERE a=b"_s;
        QTest::newRow("prefix of a longer name") << int(Dialect::MSSQL) << true << u"GETX"_s << QString();
        QTest::newRow("unknown name") << int(Dialect::MSSQL) << true << u"NOPE"_s << QString();
        QTest::newRow("tabs become blanks")
            << int(Dialect::MSSQL) << true << u"TABS"_s << u"SELECT * FROM X"_s;
        QTest::newRow("no fallback without DefaultSQLMode")
            << int(Dialect::LOCAL) << false << u"COMMON"_s << QString();
        QTest::newRow("own set without DefaultSQLMode")
            << int(Dialect::MYSQL) << false << u"BOTH"_s << u"mysql both"_s;
    }
    void getStatement()
    {
        QFETCH(int, active);
        QFETCH(bool, defaultMode);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const auto holder = HolderWith({
            {u"LOCALONLY=local only"_s, u"NOTINMSSQL=local first"_s},
            {u"BOTH="_s, u"NOTINMSSQL=interbase"_s},
            {u"COMMON=mssql common"_s, u"BOTH=mssql both"_s, u"EQ=SELECT 1 WHERE a=b"_s,
             u"TABS=SELECT\t*\tFROM X"_s, u"GETXY=longer"_s},
            {u"BOTH=mysql both"_s},
            {},
        });
        holder->SetActiveLanguage(active);
        holder->SetDefaultSQLMode(defaultMode);
        QCOMPARE(holder->GetStatement(name), expected);
    }

    void firstLineOfANameWinsEvenWhenEmpty()
    {
        const auto holder = HolderWith({{u"A="_s, u"A=later"_s}, {}, {u"A=mssql"_s}});
        holder->SetActiveLanguage(Dialect::LOCAL);
        QCOMPARE(holder->GetStatement(u"A"_s), u"mssql"_s);
    }

    void parametersFillOnlyWhenListed()
    {
        const auto holder = HolderWith({{}, {}, {u"Q=SELECT <#A/>, '<#B>'"_s}});
        QCOMPARE(holder->GetStatement(u"Q"_s), u"SELECT <#A/>, '<#B>'"_s);
        holder->AddParam(u"A"_s, 5);
        holder->AddParam(u"B"_s, u"it's"_s);
        QCOMPARE(holder->Params(), (QStringList{u"A=5"_s, u"B=it's"_s}));
        QCOMPARE(holder->GetStatement(u"Q"_s), u"SELECT 5, 'it''s'"_s);
        // The lookup leaves the list to the caller.
        QCOMPARE(holder->Params().size(), 2);
        holder->ClearParams();
        QCOMPARE(holder->GetStatement(u"Q"_s), u"SELECT <#A/>, '<#B>'"_s);
    }

    void tabInAValueIsKept()
    {
        const auto holder = HolderWith({{}, {}, {u"Q=\t'<#A/>'"_s}});
        holder->AddParam(u"A"_s, u"x\ty"_s);
        QCOMPARE(holder->GetStatement(u"Q"_s), u" 'x\ty'"_s);
    }

    void activeLanguage()
    {
        TSQLStringsHolder holder;
        QCOMPARE(holder.ActiveLanguage(), int(Dialect::MSSQL));
        QVERIFY(holder.DefaultSQLMode());
        holder.SetActiveLanguage(Dialect::ORACLE);
        QCOMPARE(holder.ActiveLanguage(), int(Dialect::ORACLE));
        for (int bad : {-1, 5, 99})
            QCOMPARE(MessageOf([&] { holder.SetActiveLanguage(bad); }), u"Invalid language index!"_s);
        QCOMPARE(holder.ActiveLanguage(), int(Dialect::ORACLE));
    }

    void loadingAcceptsAnyIndex()
    {
        const auto holder = HolderWith({{u"A=local"_s}, {}, {u"B=mssql"_s}});
        holder->SetLoading(true);
        holder->SetActiveLanguage(7);
        holder->SetLoading(false);
        QCOMPARE(holder->ActiveLanguage(), 7);
        // A stored index without a set still finds statements through the fallback.
        QCOMPARE(holder->GetStatement(u"A"_s), u"local"_s);
        QCOMPARE(holder->GetStatement(u"B"_s), u"mssql"_s);
    }

    void setNames()
    {
        TSQLStringsHolder holder;
        QCOMPARE(holder.LanguageCount(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(holder.Language(i).Name(), Dialect::SetNames().at(i));

        auto& extra = holder.AddLanguage();
        QCOMPARE(extra.DisplayName(), u"(unnamed)"_s);
        extra.SetName(u"  sybase "_s);
        QCOMPARE(extra.Name(), u"SYBASE"_s);
        extra.SetName(u"Sybase"_s); // its own name again
        QCOMPARE(MessageOf([&] { extra.SetName(u" mysql"_s); }), u"Name already exists!"_s);
        QCOMPARE(extra.Name(), u"SYBASE"_s);
        extra.SetName(QString());
        holder.AddLanguage().SetName(u""_s); // several unnamed sets may exist
        QCOMPARE(holder.LanguageCount(), 7);
    }

    void dispatcherSwitchesHolders()
    {
        TSQLStringsHolderDispatcher dispatcher;
        dispatcher.SetActiveLanguage(Dialect::MYSQL);
        TSQLStringsHolder first;
        TSQLStringsHolder second;
        TSQLStringsHolder fewer; // only LOCAL and INTERBASE
        for (int i = fewer.LanguageCount() - 1; i >= 2; --i)
            fewer.DeleteLanguage(i);
        fewer.SetActiveLanguage(Dialect::INTERBASE);

        first.SetDispatcher(&dispatcher);
        QCOMPARE(first.ActiveLanguage(), int(Dialect::MYSQL));
        second.SetDispatcher(&dispatcher);
        dispatcher.SetActiveLanguage(Dialect::LOCAL);
        fewer.SetDispatcher(&dispatcher);
        QCOMPARE(dispatcher.Holders(), (QList<TSQLStringsHolder*>{&first, &second, &fewer}));
        QCOMPARE(first.ActiveLanguage(), int(Dialect::LOCAL));
        QCOMPARE(second.ActiveLanguage(), int(Dialect::LOCAL));
        QCOMPARE(fewer.ActiveLanguage(), int(Dialect::LOCAL));

        dispatcher.SetActiveLanguage(Dialect::ORACLE);
        QCOMPARE(first.ActiveLanguage(), int(Dialect::ORACLE));
        QCOMPARE(second.ActiveLanguage(), int(Dialect::ORACLE));
        QCOMPARE(fewer.ActiveLanguage(), int(Dialect::LOCAL)); // has no set 4: left as it was

        // Setting the same dispatcher again does not register twice.
        first.SetDispatcher(&dispatcher);
        QCOMPARE(dispatcher.Holders().count(&first), 1);
    }

    void holderLeavesDispatcher()
    {
        TSQLStringsHolderDispatcher dispatcher;
        TSQLStringsHolderDispatcher other;
        QObject form;
        auto* owned = new TSQLStringsHolder(&form);
        auto* kept = new TSQLStringsHolder(&form);
        owned->SetDispatcher(&dispatcher);
        kept->SetDispatcher(&dispatcher);

        delete owned;
        QCOMPARE(dispatcher.Holders(), QList<TSQLStringsHolder*>{kept});
        dispatcher.SetActiveLanguage(Dialect::INTERBASE); // must not touch the destroyed holder

        kept->SetDispatcher(&other);
        QVERIFY(dispatcher.Holders().isEmpty());
        QCOMPARE(other.Holders(), QList<TSQLStringsHolder*>{kept});
        kept->SetDispatcher(nullptr);
        QVERIFY(other.Holders().isEmpty());
        QCOMPARE(kept->ActiveLanguage(), int(Dialect::LOCAL));

        kept->SetDispatcher(&other);
        // A form destroyed with its holder leaves the dispatcher clean.
        auto* formWithHolder = new QObject;
        (new TSQLStringsHolder(formWithHolder))->SetDispatcher(&other);
        QCOMPARE(other.Holders().size(), 2);
        delete formWithHolder;
        QCOMPARE(other.Holders(), QList<TSQLStringsHolder*>{kept});
    }

    void dispatcherDestroyedFirst()
    {
        TSQLStringsHolder holder;
        {
            TSQLStringsHolderDispatcher dispatcher;
            holder.SetDispatcher(&dispatcher);
        }
        QCOMPARE(holder.Dispatcher(), nullptr);
        holder.SetDispatcher(nullptr);
    }

    void parseStatementFile_data()
    {
        QTest::addColumn<QString>("contents");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("plain") << u"A=SELECT 1\nB=SELECT 2\n"_s
                               << QStringList{u"A=SELECT 1"_s, u"B=SELECT 2"_s};
        QTest::newRow("comments and blank lines")
            << u"-- about\n\nA=SELECT 1\n   \n-- more\n"_s << QStringList{u"A=SELECT 1"_s};
        QTest::newRow("CRLF") << u"A=SELECT 1\r\nB=x\r\n"_s << QStringList{u"A=SELECT 1"_s, u"B=x"_s};
        QTest::newRow("continuation lines") << u"A=SELECT *\n    FROM X\n\tWHERE Y = 1\nB=2"_s
                                            << QStringList{u"A=SELECT *\tFROM X\tWHERE Y = 1"_s, u"B=2"_s};
        QTest::newRow("tabs inside a line kept") << u"A=SELECT\t*"_s << QStringList{u"A=SELECT\t*"_s};
        QTest::newRow("empty text") << u"A=\n"_s << QStringList{u"A="_s};
    }
    void parseStatementFile()
    {
        QFETCH(QString, contents);
        QFETCH(QStringList, lines);
        QCOMPARE(TSQLStringsHolder::ParseStatementFile(contents, u"f.sql"_s), lines);
    }

    void parseStatementFileErrors_data()
    {
        QTest::addColumn<QString>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("no '='") << u"A=1\nSELECT 1\n"_s << u"f.sql, line 2: expected NAME=statement"_s;
        QTest::newRow("no name") << u"=SELECT 1"_s << u"f.sql, line 1: expected NAME=statement"_s;
        QTest::newRow("continuation first")
            << u"-- x\n  FROM X"_s << u"f.sql, line 2: continuation line without a statement"_s;
        QTest::newRow("repeated name")
            << u"A=1\nB=2\na=3"_s << u"f.sql, line 3: statement A is defined twice"_s;
    }
    void parseStatementFileErrors()
    {
        QFETCH(QString, contents);
        QFETCH(QString, message);
        QCOMPARE(MessageOf([&] { TSQLStringsHolder::ParseStatementFile(contents, u"f.sql"_s); }), message);
    }

    void loadSetsFromFiles()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto write = [&](const QString& name, const QByteArray& contents) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        };
        write(u"fTest.MSSQL.sql"_s, "A=mssql a\nB=mssql b\n");
        write(u"fTest.LOCAL.sql"_s, "B=local b\n");

        TSQLStringsHolder holder;
        holder.LoadSets(u"fTest"_s, dir.path());
        holder.SetActiveLanguage(Dialect::LOCAL);
        QCOMPARE(holder.GetStatement(u"A"_s), u"mssql a"_s);
        QCOMPARE(holder.GetStatement(u"B"_s), u"local b"_s);
        QVERIFY(holder.Language(Dialect::ORACLE).Strings().isEmpty());

        const QString message = MessageOf([&] { holder.LoadSets(u"fMissing"_s, dir.path()); });
        QVERIFY2(message.contains(u"fMissing"_s), qPrintable(message));
    }

    // Every statement file compiled in: named <holder>.<set>.sql with one of the five sets, and
    // readable by the holder (NAME=text lines, names unique).
    void everyStatementResourceLoads()
    {
        static const QRegularExpression fileName(u"^(\\w+)\\.(\\w+)\\.sql$"_s);
        QSet<QString> holders;
        QDirIterator files(u":/sql"_s, QDir::Files);
        while (files.hasNext()) {
            files.next();
            const auto match = fileName.match(files.fileName());
            QVERIFY2(match.hasMatch(), qPrintable(files.fileName()));
            QVERIFY2(Dialect::SetNames().contains(match.captured(2)), qPrintable(files.fileName()));
            holders.insert(match.captured(1));
        }
        QVERIFY(holders.contains(u"dmAppData"_s));
        for (const QString& name : holders) {
            const QString message = MessageOf([&] { TSQLStringsHolder holder(name); });
            QVERIFY2(message == u"no exception"_s, qPrintable(message));
        }
    }

    void dataModuleStatementsPerDialect_data()
    {
        QTest::addColumn<int>("dialect");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString sqlServerTime = u"SELECT GETDATE() AS SERVERDATETIME"_s;
        QTest::newRow("LOCAL GETSERVERTIME")
            << int(Dialect::LOCAL) << u"GETSERVERTIME"_s << u"SELECT NOW() AS SERVERDATETIME"_s;
        QTest::newRow("INTERBASE GETSERVERTIME")
            << int(Dialect::INTERBASE) << u"GETSERVERTIME"_s
            << u"SELECT CURRENT_TIMESTAMP AS SERVERDATETIME FROM rdb$database"_s;
        QTest::newRow("MSSQL GETSERVERTIME") << int(Dialect::MSSQL) << u"GETSERVERTIME"_s << sqlServerTime;
        QTest::newRow("MYSQL GETSERVERTIME")
            << int(Dialect::MYSQL) << u"GETSERVERTIME"_s << u"SELECT CURRENT_TIMESTAMP() AS SERVERDATETIME"_s;
        QTest::newRow("ORACLE GETSERVERTIME")
            << int(Dialect::ORACLE) << u"GETSERVERTIME"_s
            << u"SELECT TO_CHAR(SYSDATE, 'DD/MM/YYYY HH24:MI:SS') AS SERVERDATETIME FROM DUAL"_s;
        QTest::newRow("LOCAL GETDATEFORMAT")
            << int(Dialect::LOCAL) << u"GETDATEFORMAT"_s << u"select 'yyyy-mm-dd' as DBDATEFORMAT"_s;
        QTest::newRow("MSSQL GETDATEFORMAT")
            << int(Dialect::MSSQL) << u"GETDATEFORMAT"_s << u"SELECT dbo.GetDateFormat() AS DBDATEFORMAT"_s;
        QTest::newRow("ORACLE GETDATEFORMAT") << int(Dialect::ORACLE) << u"GETDATEFORMAT"_s
                                              << u"SELECT 'DD/MM/YYYY' AS DBDATEFORMAT FROM DUAL"_s;
        for (int dialect = 0; dialect < 5; ++dialect) {
            QTest::addRow("%s GETLASOPERATION", qPrintable(Dialect::SetNames().at(dialect)))
                << dialect << u"GETLASOPERATION"_s
                << u"SELECT LASTOPERATION FROM EMPLOYEES WHERE EMPLOYEEID = %D"_s;
            QTest::addRow("%s GETSATIONNAME", qPrintable(Dialect::SetNames().at(dialect)))
                << dialect << u"GETSATIONNAME"_s << u"SELECT * FROM CHECKSTATIONS WHERE STATIONID = %d"_s;
        }
        QTest::newRow("ORACLE CHECKOUT")
            << int(Dialect::ORACLE) << u"CHECKOUT"_s
            << u"UPDATE CHECKRECORD SET CHECKOUTTIMESTAMP= TO_DATE('05/01/2026 17:30:00','DD/MM/YYYY "
               u"HH24:MI:SS'), "
               "CHECKOUTSTATIONID = 2, CHECKEXCEPTION = 0, MINUTESLATE = 0, CHECKTYPE = 1, WORKED = 510.5 "
               "WHERE CHECKID = 9"_s;
        QTest::newRow("MYSQL CHECKOUTREASON falls back to MSSQL")
            << int(Dialect::MYSQL) << u"CHECKOUTREASON"_s
            << u"UPDATE CHECKRECORD SET CHECKOUTTIMESTAMP= '05/01/2026 17:30:00', CHECKOUTSTATIONID = 2, "
               "REASONID= 4, NOTE = 'O''Brien''s '''''' OR ''1''=''1' , CHECKEXCEPTION = 0, MINUTESLATE = 0, "
               "CHECKTYPE = 1, WORKED = 510.5 WHERE CHECKID = 9"_s;
        QTest::newRow("LOCAL CHECKOUTREASON writes [NOTE]")
            << int(Dialect::LOCAL) << u"CHECKOUTREASON"_s
            << u"UPDATE CHECKRECORD SET CHECKOUTTIMESTAMP= '05/01/2026 17:30:00', CHECKOUTSTATIONID = 2, "
               "REASONID= 4, [NOTE] = 'O''Brien''s '''''' OR ''1''=''1' , CHECKEXCEPTION = 0, MINUTESLATE = "
               "0, "
               "CHECKTYPE = 1, WORKED = 510.5 WHERE CHECKID = 9"_s;
        QTest::newRow("ORACLE CHECKIN")
            << int(Dialect::ORACLE) << u"CHECKIN"_s
            << u"INSERT INTO CHECKRECORD (EMPLOYEEID, CHECKINTIMESTAMP, CHECKINSTATIONID, SHOULDCHECKINAT, "
               "SHOULDCHECKOUTAT, SHOULDWORKFOR, TOLERANCE, CHECKEXCEPTION, MINUTESLATE, CHECKTYPE ) VALUES "
               "(12, "
               "TO_DATE('05/01/2026 08:00:00','DD/MM/YYYY HH24:MI:SS'), 2, TO_DATE(%s,'DD/MM/YYYY "
               "HH24:MI:SS'), "
               "TO_DATE(%s,'DD/MM/YYYY HH24:MI:SS'), 480, 15, 0, 0, 1)"_s;
    }
    void dataModuleStatementsPerDialect()
    {
        QFETCH(int, dialect);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        TSQLStringsHolderDispatcher dispatcher;
        TSQLStringsHolder holder(u"dmAppData"_s);
        holder.SetDispatcher(&dispatcher);
        dispatcher.SetActiveLanguage(dialect);
        const QStringList params{u"SHORTDATEFORMAT=yyyy-mm-dd"_s,
                                 u"EMPLOYEEID=12"_s,
                                 u"STATIONID=2"_s,
                                 u"CHECKID=9"_s,
                                 u"REASONID=4"_s,
                                 u"NOTE=O'Brien's ''' OR '1'='1"_s,
                                 u"CHECKINTIMESTAMP=05/01/2026 08:00:00"_s,
                                 u"CHECKOUTTIMESTAMP=05/01/2026 17:30:00"_s,
                                 u"SHOULDWORKFOR=480"_s,
                                 u"TOLERANCE=15"_s,
                                 u"CHECKEXCEPTION=0"_s,
                                 u"MINUTESLATE=0"_s,
                                 u"CHECKTYPE=1"_s,
                                 u"WORKED=510.5"_s};
        holder.Params() = params;
        QCOMPARE(holder.GetStatement(name), expected);
    }
};

QTEST_GUILESS_MAIN(TestSQLStringsHolder)
#include "tst_sqlstringsholder.moc"
