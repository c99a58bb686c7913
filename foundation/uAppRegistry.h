#pragma once

#include "uSQLStringsHolder.h"

#include <QByteArray>
#include <QObject>
#include <QSettings>
#include <QString>

class TDBManager;

// Stores every property (Q_PROPERTY) of the object as a value of the same name in the user's
// settings: an INI file under the user's config directory ("<organisation>/<application>.ini"),
// the registry key "Software\<organisation>\<application>" on Windows. Texts are written as strings,
// integers as numbers, booleans as 0/1 and floats as numbers; other kinds are not stored.
class TRegistrySettings : public QObject
{
    Q_OBJECT
public:
    TRegistrySettings(QString organisation, QString application, QObject* parent = nullptr);

    // Values without a property are ignored; properties without a value (or with one that does not
    // read as the property's kind) keep their current value.
    void Load();
    // Raises Exception "Can not save information to the registry!" when the store cannot be written.
    void Save();

    // Where the values live (the INI file on Linux).
    QString FileName() const;

protected:
    // The four events of a load and a save; the default does nothing.
    virtual void BeforeLoad() {}
    virtual void AfterLoad() {}
    virtual void BeforeSave() {}
    virtual void AfterSave() {}

    // Writes one property at once, for a value an event changed after the save.
    void SaveValue(const char* propertyName);

private:
    QSettings::Format StoreFormat() const;
    void WriteProperty(QSettings& store, int index) const;
    void ReadProperty(const QSettings& store, int index);
    void Sync(QSettings& store) const;

    QString m_organisation;
    QString m_application;
};

// The settings of this computer (below) and of the company (COMPANYSETTINGS, shared by every
// station of the database). A save also writes the company settings and registers this station
// when a connected database manager has been given.
class TAppRegistry final : public TRegistrySettings
{
    Q_OBJECT
    Q_PROPERTY(int DatabaseType MEMBER DatabaseType)
    Q_PROPERTY(QString DatabaseName MEMBER DatabaseName)
    Q_PROPERTY(QString HostName MEMBER HostName)
    Q_PROPERTY(QString UserName MEMBER UserName)
    Q_PROPERTY(QString Password MEMBER Password)
    Q_PROPERTY(int AppLanguage MEMBER AppLanguage)
    Q_PROPERTY(bool ShowCompanyName MEMBER ShowCompanyName)
    Q_PROPERTY(int StationId MEMBER StationId)
    Q_PROPERTY(QString CompanyLogoFileName MEMBER CompanyLogoFileName)
    Q_PROPERTY(bool PasswordWhenStarts MEMBER PasswordWhenStarts)
    Q_PROPERTY(bool PasswordWhenFinish MEMBER PasswordWhenFinish)
    Q_PROPERTY(bool DedicatedPC MEMBER DedicatedPC)
    Q_PROPERTY(bool MinimizeToTray MEMBER MinimizeToTray)
    Q_PROPERTY(bool ContinuousScan MEMBER ContinuousScan)
    Q_PROPERTY(bool SynchronizeTime MEMBER SynchronizeTime)
    Q_PROPERTY(int DisplayPictureTime MEMBER DisplayPictureTime)
    Q_PROPERTY(bool ShowAppHints MEMBER ShowAppHints)
    Q_PROPERTY(bool MatchFingerprints MEMBER MatchFingerprints)
    Q_PROPERTY(QString EmailAddress MEMBER EmailAddress)
    Q_PROPERTY(QString PopServer MEMBER PopServer)
    Q_PROPERTY(int PopPort MEMBER PopPort)
    Q_PROPERTY(QString SMTPServer MEMBER SMTPServer)
    Q_PROPERTY(int SMTPPort MEMBER SMTPPort)
    Q_PROPERTY(QString emailUsername MEMBER emailUsername)
    Q_PROPERTY(QString emailPassword MEMBER emailPassword)
    Q_PROPERTY(bool EACEnabled MEMBER EACEnabled)
    Q_PROPERTY(QString CheckInPort MEMBER CheckInPort)
    Q_PROPERTY(QString CheckInCode MEMBER CheckInCode)
    Q_PROPERTY(QString CheckOutPort MEMBER CheckOutPort)
    Q_PROPERTY(QString CheckOutCode MEMBER CheckOutCode)
    Q_PROPERTY(QString CheckInSound MEMBER CheckInSound)
    Q_PROPERTY(QString CheckOutSound MEMBER CheckOutSound)
    Q_PROPERTY(int WizardStep MEMBER WizardStep)
    Q_PROPERTY(bool HideNoHardwareMsg MEMBER HideNoHardwareMsg)
    Q_PROPERTY(bool HideScanFingerMsg MEMBER HideScanFingerMsg)
    Q_PROPERTY(bool HideSuccScanMsg MEMBER HideSuccScanMsg)
    Q_PROPERTY(bool HideSuccEditEmp MEMBER HideSuccEditEmp)
    Q_PROPERTY(bool HideGroupChanged MEMBER HideGroupChanged)

public:
    explicit TAppRegistry(QObject* parent = nullptr);

    // Per-computer settings, stored under their own names.
    int DatabaseType = 0; // dialect: 0 LOCAL, 1 INTERBASE, 2 MSSQL, 3 MYSQL, 4 ORACLE
    QString DatabaseName;
    QString HostName;
    QString UserName;
    QString Password;
    int AppLanguage = 1; // 1 English, 2 Spanish
    bool ShowCompanyName = false;
    int StationId = 0; // CHECKSTATIONS.STATIONID of this computer
    QString CompanyLogoFileName;
    bool PasswordWhenStarts = false;
    bool PasswordWhenFinish = false;
    bool DedicatedPC = false;
    bool MinimizeToTray = false;
    bool ContinuousScan = false;
    bool SynchronizeTime = false;
    int DisplayPictureTime = 3; // seconds
    bool ShowAppHints = false;
    bool MatchFingerprints = false;
    QString EmailAddress;
    QString PopServer;
    int PopPort = 0;
    QString SMTPServer;
    int SMTPPort = 0;
    QString emailUsername;
    QString emailPassword;
    bool EACEnabled = false;
    QString CheckInPort;
    QString CheckInCode;
    QString CheckOutPort;
    QString CheckOutCode;
    QString CheckInSound;
    QString CheckOutSound;
    int WizardStep = 0;
    bool HideNoHardwareMsg = false;
    bool HideScanFingerMsg = false;
    bool HideSuccScanMsg = false;
    bool HideSuccEditEmp = false;
    bool HideGroupChanged = false;

    // Company settings (COMPANYSETTINGS) and the station's name (CHECKSTATIONS).
    QString CompanyName;
    QString CompanyAddress;
    QByteArray CompanyLogo; // JPEG bytes; empty when there is no logo
    int Rounding = 0;       // 0 none, 1 15 minutes, 2 30 minutes
    int ExtraTimeComp = 0;  // 0 daily, 1 weekly, 2 monthly, 3 none
    int TimeFormat = 0;     // 0 12-hour clock, otherwise 24-hour clock
    QString StationName;

    TDBManager* DBManager() const { return m_dbManager; }
    void SetDBManager(TDBManager* manager) { m_dbManager = manager; }
    // The statements of the settings; the data module attaches it to its dispatcher.
    TSQLStringsHolder& SQLStrings() { return m_sqlStrings; }

    // Reads the company settings and this station's name; an unknown station becomes station 1.
    void LoadCompanySettings();
    // Stores a new logo (JPEG bytes, empty for none); only when connected.
    void SetCompanyLogo(const QByteArray& jpeg);

    // Each sets its message suppression and saves every setting at once.
    void SetHideGroupChanged(bool hide);
    void SetHideSuccEditEmp(bool hide);
    void SetHideScanFingerMsg(bool hide);
    void SetHideNoHardwareMsg(bool hide);
    void SetHideSuccScanMsg(bool hide);

    // The first IPv4 address of an interface that is up and not the loopback; "127.0.0.1" if none.
    static QString GetIPAddress();

protected:
    // Writes the company settings and registers the station (by name and address).
    void AfterSave() override;

private:
    bool IsConnected() const;
    void SetAndSave(bool& setting, bool value);
    void WriteCompanySettings();
    void RegisterStation();
    int FindStation(); // 0 when no station has this name and address

    TDBManager* m_dbManager = nullptr;
    TSQLStringsHolder m_sqlStrings;
};

// The program's version texts.
class TAppVerInfo final
{
public:
    // The application's version when set, otherwise the version compiled in from the build.
    static QString FileVersion();
};
