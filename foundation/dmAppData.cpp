#include "dmAppData.h"

#include "uClock.h"
#include "uDBConnection.h"
#include "uLanguage.h"
#include "uSchemaScript.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QScopeGuard>
#include <QSoundEffect>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace
{

// The date format of the local database and of every date written for it: ISO, so stored
// date-times sort and compare as dates.
const QString IsoDateFormat = u"yyyy-mm-dd"_s;

const QStringList WeekdayMinuteColumns{u"MONDAY_T"_s, u"TUESDAY_T"_s,  u"WEDNESDAY_T"_s, u"THURSDAY_T"_s,
                                       u"FRIDAY_T"_s, u"SATURDAY_T"_s, u"SUNDAY_T"_s};

TConnectionSettings ConnectionSettingsOf(const TAppRegistry& registry)
{
    return {registry.HostName, registry.DatabaseName, registry.UserName, registry.Password};
}

} // namespace

TdtmAppData::TdtmAppData(TStartupPrompts& prompts, QObject* parent)
    : QObject(parent), m_programDirectory(QCoreApplication::applicationDirPath() + u'/'),
      m_productName(u"Horavant"_s), m_productVersion(TAppVerInfo::FileVersion()),
      m_localConnection(u"dtmAppData.local.%1"_s.arg(quintptr(this), 0, 16)),
      m_serverConnection(u"dtmAppData.server.%1"_s.arg(quintptr(this), 0, 16)),
      m_appRegistry(std::make_unique<TAppRegistry>()), m_dbManager(std::make_unique<TDBManager>()),
      m_dispatcher(std::make_unique<TSQLStringsHolderDispatcher>()),
      m_sqlStrings(std::make_unique<TSQLStringsHolder>(u"dmAppData"_s)),
      m_languageDispatcher(std::make_unique<TLanguageDispatcher>())
{
    m_appRegistry->Load();
    // Before start-up, so its questions come in the user's language.
    SetLanguage(m_appRegistry->AppLanguage == 2 ? 2 : 1);
    m_appRegistry->SetDBManager(m_dbManager.get());
    m_appRegistry->SQLStrings().SetDispatcher(m_dispatcher.get());
    m_sqlStrings->SetDispatcher(m_dispatcher.get());
    m_dbManager->SetStartedDialect(m_appRegistry->DatabaseType);
    Startup(prompts);
}

TdtmAppData::~TdtmAppData()
{
    m_reader.reset(); // closes the reader it opened, unless the scan thread still holds it
    CloseConnections();
}

// ---- Start-up and connection ------------------------------------------------------------------

bool TdtmAppData::Startup(TStartupPrompts& prompts)
{
    m_cannotContinue =
        !(ConnectOrChangeSettings(prompts) && EnsureTables(prompts) && ReadDatabaseSettings(prompts));
    if (m_cannotContinue)
        return false;
    if (m_appRegistry->DatabaseType != Dialect::LOCAL && m_appRegistry->SynchronizeTime)
        SynchronizeClock(prompts);
    return true;
}

bool TdtmAppData::ConnectOrChangeSettings(TStartupPrompts& prompts)
{
    for (;;) {
        try {
            Connect();
            return true;
        } catch (const Exception& error) {
            const QString question =
                tr("The access to the database is not properly configured or can not access the database. \n"
                   "Error: %1\n"
                   "Do you want to change the database settings?",
                   "stDBCONFIGERROR")
                    .arg(error.Message());
            if (!prompts.AskYesNo(TStartupPrompts::TKind::Error, question) ||
                !prompts.EditDatabaseSettings(*m_appRegistry))
                return CannotContinueAfter(prompts, QString());
            SaveSettings(prompts);
        }
    }
}

void TdtmAppData::SaveSettings(TStartupPrompts& prompts)
{
    // The new settings are used for this run even when they cannot be stored.
    try {
        m_appRegistry->Save();
    } catch (const Exception& error) {
        prompts.Show(TStartupPrompts::TKind::Warning, error.Message());
    }
}

bool TdtmAppData::EnsureTables(TStartupPrompts& prompts)
{
    if (TablesExist())
        return true;
    const QString question =
        tr("The specified database does not contain the necessary tables to store the information. \n"
           "Do you want to create them now?",
           "stNOALLTABLESEXIST");
    if (!prompts.AskYesNo(TStartupPrompts::TKind::Warning, question))
        return CannotContinueAfter(prompts, QString());
    return CreateTables(prompts);
}

bool TdtmAppData::ReadDatabaseSettings(TStartupPrompts& prompts)
{
    // Tables that exist by name but not in the expected shape fail here; say so rather than crash.
    try {
        m_appRegistry->LoadCompanySettings();
        m_dbDateFormat = GetDBDateFormat();
        return true;
    } catch (const Exception& error) {
        return CannotContinueAfter(prompts, error.Message());
    }
}

bool TdtmAppData::CannotContinueAfter(TStartupPrompts& prompts, const QString& message)
{
    const QString cannotContinue = tr("Application cannot continue!", "stAPPCANTCONTINUE");
    prompts.Show(TStartupPrompts::TKind::Error,
                 message.isEmpty() ? cannotContinue : message + u'\n' + cannotContinue);
    return false;
}

void TdtmAppData::SynchronizeClock(TStartupPrompts& prompts)
{
    QString error;
    try {
        if (TClock::SetSystemTime(DateTimeConv::ToQDateTime(GetServerTime()), &error))
            return;
    } catch (const Exception& failure) {
        error = failure.Message();
    }
    prompts.Show(TStartupPrompts::TKind::Warning,
                 tr("The computer's clock could not be set to the time of the database server (%1).\n"
                    "The program goes on with the computer's own time.",
                    "stSYNCTIMEERROR")
                     .arg(error));
}

void TdtmAppData::CloseConnections()
{
    m_dbManager->ClearPool();
    DBConnection::Close(m_localConnection);
    DBConnection::Close(m_serverConnection);
}

void TdtmAppData::Connect()
{
    CloseConnections();
    const int dialect = m_appRegistry->DatabaseType;
    const bool server = dialect != Dialect::LOCAL;
    m_dbManager->SetServerMode(server);
    DBConnection::Open(dialect, ConnectionSettingsOf(*m_appRegistry),
                       server ? m_serverConnection : m_localConnection);
    m_dbManager->SetLocalConnection(m_localConnection);
    m_dbManager->SetServerConnection(m_serverConnection);
    m_dispatcher->SetActiveLanguage(dialect);
    // A new local file has no tables at all: give it the schema so a fresh machine needs no set-up.
    if (!server && m_dbManager->GetTableNames().isEmpty())
        SchemaScript::Run(*m_dbManager, Dialect::LOCAL);
}

QString TdtmAppData::ActiveConnectionName() const
{
    return m_dbManager->ServerMode() ? m_serverConnection : m_localConnection;
}

bool TdtmAppData::TablesExist() const
{
    return SchemaScript::TablesExist(*m_dbManager);
}

bool TdtmAppData::CreateTables(TStartupPrompts& prompts)
{
    // The local script creates only the tables that are missing, so it serves an existing file too.
    bool created = false;
    try {
        SchemaScript::Run(*m_dbManager, m_appRegistry->DatabaseType);
        created = TablesExist();
    } catch (const Exception&) {
    }
    if (!created) {
        // Also when every batch ran but tables are still missing: the user must learn why we stop.
        prompts.Show(TStartupPrompts::TKind::Error,
                     tr("The tables cannot be created. Verify that the database account has table creation "
                        "privileges. \nApplication cannot continue!",
                        "stTABLECREATIONERROR"));
        return false;
    }
    prompts.Show(TStartupPrompts::TKind::Information,
                 tr("The tables have been created successfully!", "stTABLECREATIONSUCCEDED"));
    return true;
}

QString TdtmAppData::GetDBDateFormat()
{
    m_sqlStrings->ClearParams();
    m_sqlStrings->AddParam(u"SHORTDATEFORMAT"_s, IsoDateFormat);
    const TQueryReleaser query(*m_dbManager,
                               m_dbManager->Open(m_sqlStrings->GetStatement(u"GETDATEFORMAT"_s)));
    const QString format =
        query->Eof() ? QString() : query->FieldByName(u"DBDATEFORMAT"_s).AsString().trimmed();
    return format.isEmpty() ? IsoDateFormat : format;
}

TDateTime TdtmAppData::GetServerTime()
{
    m_sqlStrings->ClearParams();
    const TQueryReleaser query(*m_dbManager,
                               m_dbManager->Open(m_sqlStrings->GetStatement(u"GETSERVERTIME"_s)));
    const TField field = query->FieldByName(u"SERVERDATETIME"_s);
    // Oracle answers with text in its own date format.
    if (field.Value().typeId() == QMetaType::QString) {
        const QDateTime inDbFormat = QDateTime::fromString(
            field.AsString().trimmed(), Formatters::QtDateTimeFormat(DateTimeFormatText()));
        if (inDbFormat.isValid())
            return DateTimeConv::FromQDateTime(inDbFormat);
    }
    return field.AsDateTime();
}

// ---- State ------------------------------------------------------------------------------------

const QStringList& TdtmAppData::RequiredTables() const
{
    return SchemaScript::RequiredTables();
}

void TdtmAppData::Login(int employeeId, int groupId, int privilegesLevel)
{
    if (employeeId <= 0) {
        Logout();
        return;
    }
    m_loggedInEmployee = employeeId;
    m_loggedInGroup = groupId;
    m_supervisorMode = privilegesLevel == 1;
    m_administratorMode = privilegesLevel == 2;
}

void TdtmAppData::Logout()
{
    m_loggedInEmployee = 0;
    m_loggedInGroup = 0;
    m_supervisorMode = false;
    m_administratorMode = false;
}

// ---- Language and help ------------------------------------------------------------------------

void TdtmAppData::SetLanguage(int appLanguage)
{
    m_languageDispatcher->SetActiveLanguage(appLanguage);
    m_appRegistry->AppLanguage = appLanguage;
    UpdateHelpFile();
    emit LanguageChanged(appLanguage);
}

void TdtmAppData::UpdateHelpFile()
{
    const QString language = m_appRegistry->AppLanguage == 2 ? u"es"_s : u"en"_s;
    m_helpFile = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + u"/help/"_s + language;
    m_helpExtracted = false;
}

// A browser cannot open pages inside the program's resources: they are copied to the cache
// directory, once per run and language, so they match this version of the program. Done when help
// is first asked for, not at start-up.
void TdtmAppData::ExtractHelpPages() const
{
    QDir().mkpath(m_helpFile);
    const QString language = QFileInfo(m_helpFile).fileName();
    QDirIterator pages(u":/help/"_s + language, QDir::Files);
    while (pages.hasNext()) {
        const QFileInfo page(pages.next());
        QFile target(m_helpFile + u'/' + page.fileName());
        QFile source(page.filePath());
        if (source.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly | QIODevice::Truncate))
            target.write(source.readAll());
    }
    m_helpExtracted = true;
}

QString TdtmAppData::HelpTopicPath(const QString& topic) const
{
    if (!m_helpExtracted)
        ExtractHelpPages();
    return m_helpFile + u'/' + topic;
}

// ---- Services that read the database ----------------------------------------------------------

bool TdtmAppData::ReadUserName(int employeeId, QString& firstName, QString& lastName)
{
    m_sqlStrings->ClearParams();
    const TQueryReleaser query(
        *m_dbManager, m_dbManager->OpenFmt(m_sqlStrings->GetStatement(u"GETUSERNAME"_s), {employeeId}));
    if (query->Eof())
        return false;
    firstName = query->FieldByName(u"FIRSTNAME"_s).AsString();
    lastName = query->FieldByName(u"LASTNAME"_s).AsString();
    return true;
}

QString TdtmAppData::EmployeeNameLastFirst(int employeeId)
{
    QString firstName, lastName;
    return ReadUserName(employeeId, firstName, lastName)
               ? Formatters::EmployeeNameLastFirst(firstName, lastName)
               : QString();
}

QString TdtmAppData::EmployeeNameFirstLast(int employeeId)
{
    QString firstName, lastName;
    return ReadUserName(employeeId, firstName, lastName)
               ? Formatters::EmployeeNameFirstLast(firstName, lastName)
               : QString();
}

int TdtmAppData::GetLastOperation(int employeeId)
{
    m_sqlStrings->ClearParams();
    const TQueryReleaser query(
        *m_dbManager, m_dbManager->OpenFmt(m_sqlStrings->GetStatement(u"GETLASOPERATION"_s), {employeeId}));
    return query->Eof() ? 0 : query->FieldByName(u"LASTOPERATION"_s).AsInteger();
}

double TdtmAppData::WeeklyScheduledHours(int employeeId)
{
    m_sqlStrings->ClearParams();
    const TQueryReleaser query(
        *m_dbManager,
        m_dbManager->OpenFmt(m_sqlStrings->GetStatement(u"GETEMPLOYEESCHEDULE"_s), {employeeId}));
    if (query->Eof())
        return 0.0;
    double minutes = 0.0;
    for (const QString& column : WeekdayMinuteColumns)
        minutes += query->FieldByName(column).AsFloat();
    return minutes / 60.0;
}

int TdtmAppData::RowCount(TQuery& query)
{
    int count = 0;
    if (!query.First())
        return 0;
    for (; !query.Eof(); query.Next())
        ++count;
    query.First();
    return count;
}

QString TdtmAppData::LookupField(const QString& statementName, int id, const QString& column)
{
    m_sqlStrings->ClearParams();
    const TQueryReleaser query(*m_dbManager,
                               m_dbManager->OpenFmt(m_sqlStrings->GetStatement(statementName), {id}));
    return query->Eof() ? QString() : query->FieldByName(column).AsString();
}

// ---- Files and devices ------------------------------------------------------------------------

QByteArray TdtmAppData::LoadPictureFile(const QString& fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    const bool bitmap = extension == u"bmp"_s;
    if (!bitmap && extension != u"jpg"_s && extension != u"jpeg"_s)
        throw Exception(tr("File not supported", "stFILENOTSUPPORTED"));
    QImageReader reader(fileName, bitmap ? "bmp" : "jpeg");
    const QImage image = reader.read();
    if (image.isNull())
        throw Exception(tr("The picture %1 cannot be read: %2", "stPICTUREREADERROR")
                            .arg(QDir::toNativeSeparators(fileName), reader.errorString()));
    if (!bitmap) {
        QFile file(fileName); // the JPEG as it was made, not re-compressed
        if (file.open(QIODevice::ReadOnly))
            return file.readAll();
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return jpeg;
}

bool TdtmAppData::PlaySound(const QString& fileName)
{
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || QMediaDevices::audioOutputs().isEmpty())
        return false;
    const QUrl source = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath());
    // Short WAV cues play with the low-latency effect; other formats through the media player.
    if (QFileInfo(fileName).suffix().compare(u"wav"_s, Qt::CaseInsensitive) == 0) {
        if (!m_soundEffect)
            m_soundEffect = std::make_unique<QSoundEffect>();
        m_soundEffect->setSource(source);
        m_soundEffect->play();
        return m_soundEffect->status() != QSoundEffect::Error;
    }
    if (!m_mediaPlayer) {
        m_mediaPlayer = std::make_unique<QMediaPlayer>();
        m_mediaPlayer->setAudioOutput(new QAudioOutput(m_mediaPlayer.get()));
    }
    m_mediaPlayer->setSource(source);
    m_mediaPlayer->play();
    return m_mediaPlayer->error() == QMediaPlayer::NoError;
}

bool TdtmAppData::SendCodeToSerialPort(const QString& portName, const QString& code)
{
    if (code.isEmpty())
        return false;
    // No O_CREAT: only an existing device. The lock and TIOCEXCL keep other programs off the
    // port while we write, as serial terminal programs do.
    const auto cannotOpen = [&] {
        return Exception(tr("Port %1 could not be opened!", "stCOMERROROPEN").arg(portName));
    };
    const int fd = ::open(QFile::encodeName(portName).constData(), O_RDWR | O_NOCTTY | O_EXCL | O_CLOEXEC);
    if (fd < 0)
        throw cannotOpen();
    const auto close = qScopeGuard([fd] { ::close(fd); });
    const bool terminal = ::isatty(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || (terminal && ::ioctl(fd, TIOCEXCL) != 0))
        throw cannotOpen();
    const QByteArray bytes = code.toUtf8();
    ssize_t written;
    do {
        written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    } while (written < 0 && errno == EINTR);
    if (terminal)
        ::ioctl(fd, TIOCNXCL);
    if (written != ssize_t(bytes.size()))
        throw Exception(tr("Could not write to: %1", "stCOMERRORWRITE").arg(portName));
    return true;
}
