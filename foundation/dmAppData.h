#pragma once

#include "uAppRegistry.h"
#include "uDBManager.h"
#include "uDateTime.h"
#include "uFormatters.h"
#include "uSQLStringsHolder.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class TLanguageDispatcher;
class TVelloxBSP;
class QSoundEffect;
class QMediaPlayer;

// The questions and notices of start-up, answered by whoever runs the program: message boxes in
// the program (foundation/forms/uStartupPrompts.h), scripted answers in tests.
class TStartupPrompts
{
public:
    enum class TKind { Information, Warning, Error };

    virtual ~TStartupPrompts() = default;

    // A question with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(TKind kind, const QString& text) = 0;
    // A notice with a lone Ok.
    virtual void Show(TKind kind, const QString& text) = 0;
    // Lets the user change the database settings (DatabaseType, HostName, DatabaseName, UserName,
    // Password) in `settings`; true when accepted. The data module saves and reconnects.
    virtual bool EditDatabaseSettings(TAppRegistry& settings) = 0;
};

// The single application-wide object: settings, database connection, statement holder and dispatcher,
// the reader wrapper, the session state and the shared services every form uses. Created once at
// start-up, before the main window, and alive until the program ends. Main thread only.
class TdtmAppData final : public QObject
{
    Q_OBJECT

public:
    // Loads the settings and runs Startup(prompts); check CannotContinue() afterwards. The reader
    // wrapper is set by the clock station's start-up (clock/uAppStartup.h), which sits above.
    explicit TdtmAppData(TStartupPrompts& prompts, QObject* parent = nullptr);
    ~TdtmAppData() override;

    // ---- Start-up and connection -----------------------------------------------------------

    // Connects, offers to change the settings while that fails, offers to create missing tables,
    // reads the company settings, the station and the database date format, and sets the computer's
    // clock to the server's when SynchronizeTime is on. False (and CannotContinue()) when the
    // program cannot go on. Run again by the setup wizard after it has changed the settings.
    bool Startup(TStartupPrompts& prompts);
    // Opens the configured database (LOCAL: the SQLite file, created with all tables when missing);
    // raises EDatabaseError naming the cause. Any other DatabaseType than 0-4 opens nothing.
    void Connect();
    // Every required table occurs (as a substring, without case) in the database's table names.
    bool TablesExist() const;
    // Runs the dialect's table script batch by batch, each in a transaction. Failure shows
    // stTABLECREATIONERROR and gives false; success gives TablesExist() and, when true, shows
    // stTABLECREATIONSUCCEDED.
    bool CreateTables(TStartupPrompts& prompts);
    // GETDATEFORMAT: the database's date format (Delphi-style pattern, e.g. "yyyy-mm-dd").
    QString GetDBDateFormat();
    // GETSERVERTIME: the database server's clock. Punch times come from here.
    TDateTime GetServerTime();

    // ---- State -----------------------------------------------------------------------------

    const QString& ProgramDirectory() const { return m_programDirectory; } // with a trailing '/'
    const QString& ProductName() const { return m_productName; }           // "Horavant"
    const QString& ProductVersion() const { return m_productVersion; }
    const QStringList& RequiredTables() const;
    // The database date format read at start-up; times in SQL always go as "HH:mm:ss".
    const QString& DBDateFormat() const { return m_dbDateFormat; }
    bool CannotContinue() const { return m_cannotContinue; }

    TAppRegistry& AppRegistry() { return *m_appRegistry; }
    const TAppRegistry& AppRegistry() const { return *m_appRegistry; }
    TDBManager& DBManager() { return *m_dbManager; }
    const TDBManager& DBManager() const { return *m_dbManager; }
    TSQLStringsHolder& SQLStringsHolderdtm() { return *m_sqlStrings; }
    // Every form's statement holder registers here to follow the connected dialect.
    TSQLStringsHolderDispatcher& SQLStringsHolderDispatcher() { return *m_dispatcher; }
    // The Qt SQL connection of the current mode (for transactions around several statements).
    QString ActiveConnectionName() const;

    // The fingerprint reader wrapper, set by the clock station's start-up (clock/uAppStartup.h); null until
    // then.
    const std::shared_ptr<TVelloxBSP>& Reader() const { return m_reader; }
    void SetReader(std::shared_ptr<TVelloxBSP> reader) { m_reader = std::move(reader); }
    bool ReaderAvailable() const { return m_readerAvailable; }
    void SetReaderAvailable(bool available) { m_readerAvailable = available; }

    // Session: the supervisor or administrator logged in at the main window (0 or below: nobody).
    int LoggedInEmployee() const { return m_loggedInEmployee; }
    int LoggedInGroup() const { return m_loggedInGroup; }
    bool SupervisorMode() const { return m_supervisorMode; }
    bool AdministratorMode() const { return m_administratorMode; }
    // Privilege level 1 gives supervisor mode, 2 administrator mode.
    void Login(int employeeId, int groupId, int privilegesLevel);
    void Logout();

    // ---- Language and help -----------------------------------------------------------------

    // AppLanguage: 1 English, 2 Spanish. Raises Exception "Invalid language index!" for others.
    int Language() const { return m_appRegistry->AppLanguage; }
    // Switches the program's texts (every open form retranslates itself on LanguageChange, see
    // uLanguage.h) and the help pages, and records the language in AppLanguage.
    void SetLanguage(int appLanguage);
    // The help pages of the current language ("<dir>/en" or "<dir>/es"), extracted from the
    // program's resources into the cache directory on first use.
    const QString& HelpFile() const { return m_helpFile; }
    // The local file of a topic page ("welcome.html"); opening it is the caller's (QDesktopServices).
    // A missing page still gives its path: no error is shown for missing help.
    QString HelpTopicPath(const QString& topic) const;

    // ---- Values in SQL and on screen (Formatters with this database's formats) --------------

    QString FormatDateTimeForSQL(TDateTime value) const
    {
        return Formatters::FormatDateTimeForSQL(value, m_dbDateFormat, MidnightForm());
    }
    QString FormatOptionalDateTimeForSQL(TDateTime value) const
    {
        return Formatters::FormatOptionalDateTimeForSQL(value, m_dbDateFormat, MidnightForm());
    }
    QString DateTimeFormatText() const { return Formatters::DateTimeFormatText(m_dbDateFormat); }
    static QString FormatNumberForSQL(const QString& numberText)
    {
        return Formatters::FormatNumberForSQL(numberText);
    }
    static QString TimeOfDayForSQL(const QString& timeText) { return Formatters::TimeOfDayForSQL(timeText); }
    // From the company's TIMEFORMAT.
    QString DisplayTimeFormat() const { return Formatters::DisplayTimeFormat(m_appRegistry->TimeFormat); }
    QString FormatTimeOfDay(TDateTime value) const
    {
        return Formatters::FormatTimeOfDay(value, m_appRegistry->TimeFormat);
    }
    static QString MinutesAsHours(double minutes) { return Formatters::MinutesAsHours(minutes); }
    static double DaysToMinutes(double days) { return Formatters::DaysToMinutes(days); }
    static TDateTime TruncateToMinute(TDateTime value) { return Formatters::TruncateToMinute(value); }
    static int PowerOfTwo(int n) { return Formatters::PowerOfTwo(n); }
    static int BitTextToInteger(const QString& bits) { return Formatters::BitTextToInteger(bits); }
    static QString IntegerToBitText(int value, int minimumLength)
    {
        return Formatters::IntegerToBitText(value, minimumLength);
    }
    static QString JoinWithComma(const QString& first, const QString& second)
    {
        return Formatters::JoinWithComma(first, second);
    }

    // ---- Services that read the database ---------------------------------------------------

    // GETUSERNAME: "LASTNAME, FIRSTNAME" / "FIRSTNAME LASTNAME"; empty for an unknown employee.
    QString EmployeeNameLastFirst(int employeeId);
    QString EmployeeNameFirstLast(int employeeId);
    // GETLASOPERATION: 1 checked in, 0 checked out (0 for an unknown employee).
    int GetLastOperation(int employeeId);
    // GETEMPLOYEESCHEDULE: (MONDAY_T + ... + SUNDAY_T) / 60; 0 for an unknown employee.
    double WeeklyScheduledHours(int employeeId);
    // Counts the rows by stepping through them, then goes back to the first.
    static int RowCount(TQuery& query);
    // Runs the named statement with `id` as its only %d; the column's text of the first row, empty
    // when there is none.
    QString LookupField(const QString& statementName, int id, const QString& column);

    // ---- Files and devices ------------------------------------------------------------------

    // ".bmp", ".jpg" or ".jpeg" (without case) as JPEG bytes. Raises Exception "File not supported"
    // for other extensions, and an Exception naming the file when it cannot be read.
    static QByteArray LoadPictureFile(const QString& fileName);
    // Plays the file asynchronously; false when it is missing or cannot be played.
    bool PlaySound(const QString& fileName);
    // Writes `code` to the device `portName` (an existing device, opened exclusively) in one write
    // and closes it. An empty code writes nothing and gives false. Raises Exception "Port %s could
    // not be opened!" (stCOMERROROPEN) or "Could not write to: %s" (stCOMERRORWRITE).
    static bool SendCodeToSerialPort(const QString& portName, const QString& code);

    // ---- QuickBooks (answer false until the QuickBooks link exists) --------------------------

    bool QuickBooksComponentPresent() const { return false; }
    bool QuickBooksInstalled() const { return false; }

signals:
    void LanguageChanged(int appLanguage);

private:
    // The local database stores timestamps as text and needs the time on every value.
    Formatters::TMidnight MidnightForm() const
    {
        return m_appRegistry->DatabaseType == Dialect::LOCAL ? Formatters::TMidnight::WithTime
                                                             : Formatters::TMidnight::DateOnly;
    }

    bool ConnectOrChangeSettings(TStartupPrompts& prompts);
    bool EnsureTables(TStartupPrompts& prompts);
    bool ReadDatabaseSettings(TStartupPrompts& prompts);
    void SynchronizeClock(TStartupPrompts& prompts);
    bool CannotContinueAfter(TStartupPrompts& prompts, const QString& message);
    void CloseConnections();
    void SaveSettings(TStartupPrompts& prompts);
    void UpdateHelpFile();
    void ExtractHelpPages() const;
    // FIRSTNAME and LASTNAME of GETUSERNAME; false for an unknown employee.
    bool ReadUserName(int employeeId, QString& firstName, QString& lastName);

    QString m_programDirectory;
    QString m_productName;
    QString m_productVersion;
    QString m_dbDateFormat;
    QString m_helpFile;
    mutable bool m_helpExtracted = false; // the pages of m_helpFile are in place
    QString m_localConnection;
    QString m_serverConnection;
    bool m_cannotContinue = false;
    bool m_readerAvailable = false;
    int m_loggedInEmployee = 0;
    int m_loggedInGroup = 0;
    bool m_supervisorMode = false;
    bool m_administratorMode = false;

    std::unique_ptr<TAppRegistry> m_appRegistry;
    std::unique_ptr<TDBManager> m_dbManager;
    std::unique_ptr<TSQLStringsHolderDispatcher> m_dispatcher;
    std::unique_ptr<TSQLStringsHolder> m_sqlStrings;
    std::shared_ptr<TVelloxBSP> m_reader;
    std::unique_ptr<QSoundEffect> m_soundEffect;
    std::unique_ptr<QMediaPlayer> m_mediaPlayer;
    std::unique_ptr<TLanguageDispatcher> m_languageDispatcher;
};
