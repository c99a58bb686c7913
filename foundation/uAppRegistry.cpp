#include "uAppRegistry.h"

#include "uDBManager.h"
#include "uExceptions.h"

#include <QCoreApplication>
#include <QMetaProperty>
#include <QNetworkInterface>
#include <optional>

// ---------------------------------------------------------------------------------------------
// TRegistrySettings

namespace
{

// Properties of QObject itself (objectName) are not settings.
int FirstSettingProperty()
{
    return QObject::staticMetaObject.propertyCount();
}

bool IsStoredKind(int typeId)
{
    return typeId == QMetaType::QString || typeId == QMetaType::Int || typeId == QMetaType::Bool ||
           typeId == QMetaType::Double;
}

// A boolean is stored as 0/1; "true"/"false" (as other tools write them) are read too.
std::optional<bool> ReadBool(const QVariant& value)
{
    bool isNumber = false;
    const int number = value.toString().toInt(&isNumber);
    if (isNumber)
        return number != 0;
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true" || text == u"false")
        return text == u"true";
    return std::nullopt;
}

} // namespace

TRegistrySettings::TRegistrySettings(QString organisation, QString application, QObject* parent)
    : QObject(parent), m_organisation(std::move(organisation)), m_application(std::move(application))
{
}

QSettings::Format TRegistrySettings::StoreFormat() const
{
#ifdef Q_OS_WIN
    return QSettings::NativeFormat;
#else
    return QSettings::IniFormat;
#endif
}

QString TRegistrySettings::FileName() const
{
    return QSettings(StoreFormat(), QSettings::UserScope, m_organisation, m_application).fileName();
}

void TRegistrySettings::Load()
{
    BeforeLoad();
    const QSettings store(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    for (int i = FirstSettingProperty(); i < metaObject()->propertyCount(); ++i)
        ReadProperty(store, i);
    AfterLoad();
}

void TRegistrySettings::ReadProperty(const QSettings& store, int index)
{
    const QMetaProperty property = metaObject()->property(index);
    QVariant value = store.value(QLatin1String(property.name()));
    if (!value.isValid() || !IsStoredKind(property.typeId()))
        return;
    if (property.typeId() == QMetaType::Bool) {
        if (const auto flag = ReadBool(value))
            property.write(this, *flag);
    } else if (value.convert(property.metaType())) {
        property.write(this, value);
    }
}

void TRegistrySettings::Save()
{
    BeforeSave();
    QSettings store(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    for (int i = FirstSettingProperty(); i < metaObject()->propertyCount(); ++i)
        WriteProperty(store, i);
    Sync(store);
    AfterSave();
}

void TRegistrySettings::SaveValue(const char* propertyName)
{
    QSettings store(StoreFormat(), QSettings::UserScope, m_organisation, m_application);
    WriteProperty(store, metaObject()->indexOfProperty(propertyName));
    Sync(store);
}

void TRegistrySettings::WriteProperty(QSettings& store, int index) const
{
    const QMetaProperty property = metaObject()->property(index);
    if (!IsStoredKind(property.typeId()))
        return;
    QVariant value = property.read(this);
    if (property.typeId() == QMetaType::Bool)
        value = value.toBool() ? 1 : 0;
    store.setValue(QLatin1String(property.name()), value);
}

void TRegistrySettings::Sync(QSettings& store) const
{
    if (store.isWritable())
        store.sync();
    if (!store.isWritable() || store.status() != QSettings::NoError)
        throw Exception(tr("Can not save information to the registry!", "stREGISTRYSAVEERROR"));
}

// ---------------------------------------------------------------------------------------------
// TAppRegistry

TAppRegistry::TAppRegistry(QObject* parent)
    : TRegistrySettings(QStringLiteral("Ostrelo"), QStringLiteral("KronvikClock2"), parent),
      m_sqlStrings(QStringLiteral("uAppRegistry"))
{
}

bool TAppRegistry::IsConnected() const
{
    return m_dbManager && m_dbManager->IsConnected();
}

void TAppRegistry::LoadCompanySettings()
{
    if (!m_dbManager)
        throw Exception(tr("Database is not opened!", "stDBNOTOPENED"));
    m_sqlStrings.ClearParams();
    {
        const TQueryReleaser company(
            *m_dbManager, m_dbManager->Open(m_sqlStrings.GetStatement(QStringLiteral("GETCOMPANYSETTINGS"))));
        if (!company->Eof()) {
            CompanyName = company->FieldByName(QStringLiteral("COMPANYNAME")).AsString();
            CompanyAddress = company->FieldByName(QStringLiteral("COMPANYADDRESS")).AsString();
            CompanyLogo = company->FieldByName(QStringLiteral("COMPANYLOGO")).AsBytes();
            Rounding = company->FieldByName(QStringLiteral("ROUNDING")).AsInteger();
            ExtraTimeComp = company->FieldByName(QStringLiteral("EXTRATIMECOMP")).AsInteger();
            TimeFormat = company->FieldByName(QStringLiteral("TIMEFORMAT")).AsInteger();
        }
    }
    m_sqlStrings.AddParam(QStringLiteral("STATIONID"), StationId);
    const TQueryReleaser station(*m_dbManager,
                                 m_dbManager->Open(m_sqlStrings.GetStatement(QStringLiteral("GETSTATION"))));
    if (station->Eof())
        StationId = 1;
    else
        StationName = station->FieldByName(QStringLiteral("STATIONNAME")).AsString();
}

void TAppRegistry::SetCompanyLogo(const QByteArray& jpeg)
{
    if (!IsConnected())
        return;
    CompanyLogo = jpeg;
    m_sqlStrings.ClearParams();
    const TQueryReleaser update(
        *m_dbManager, m_dbManager->Prepare(m_sqlStrings.GetStatement(QStringLiteral("UPDATECOMPANYLOGO"))));
    m_dbManager->SetBinaryParam(update.get(), QStringLiteral("PICTURE"), jpeg);
    m_dbManager->ExecPrepared(update.get());
}

void TAppRegistry::SetHideGroupChanged(bool hide)
{
    SetAndSave(HideGroupChanged, hide);
}
void TAppRegistry::SetHideSuccEditEmp(bool hide)
{
    SetAndSave(HideSuccEditEmp, hide);
}
void TAppRegistry::SetHideScanFingerMsg(bool hide)
{
    SetAndSave(HideScanFingerMsg, hide);
}
void TAppRegistry::SetHideNoHardwareMsg(bool hide)
{
    SetAndSave(HideNoHardwareMsg, hide);
}
void TAppRegistry::SetHideSuccScanMsg(bool hide)
{
    SetAndSave(HideSuccScanMsg, hide);
}

void TAppRegistry::SetAndSave(bool& setting, bool value)
{
    setting = value;
    Save();
}

QString TAppRegistry::GetIPAddress()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
                return address.toString();
        }
    }
    return QStringLiteral("127.0.0.1");
}

void TAppRegistry::AfterSave()
{
    if (!IsConnected())
        return;
    WriteCompanySettings();
    const int savedStationId = StationId;
    RegisterStation();
    // The store was written before the station was known: keep it in step, so the next start
    // does not fall back to station 1.
    if (StationId != savedStationId)
        SaveValue("StationId");
}

void TAppRegistry::WriteCompanySettings()
{
    m_sqlStrings.ClearParams();
    m_sqlStrings.AddParam(QStringLiteral("COMPANYNAME"), CompanyName);
    m_sqlStrings.AddParam(QStringLiteral("COMPANYADDRESS"), CompanyAddress);
    m_sqlStrings.AddParam(QStringLiteral("ROUNDING"), Rounding);
    m_sqlStrings.AddParam(QStringLiteral("TIMEFORMAT"), TimeFormat);
    m_sqlStrings.AddParam(QStringLiteral("EXTRATIMECOMP"), ExtraTimeComp);
    m_dbManager->Execute(m_sqlStrings.GetStatement(QStringLiteral("UPDATECOMPANYSETTINGS")));
}

void TAppRegistry::RegisterStation()
{
    if (StationName.isEmpty()) {
        StationId = 1;
        return;
    }
    m_sqlStrings.ClearParams();
    m_sqlStrings.AddParam(QStringLiteral("STATIONNAME"), StationName);
    m_sqlStrings.AddParam(QStringLiteral("LASTIPADDRESS"), GetIPAddress());
    int stationId = FindStation();
    if (stationId == 0) {
        m_dbManager->Execute(m_sqlStrings.GetStatement(QStringLiteral("INSERTSTATION")));
        stationId = FindStation();
    }
    StationId = stationId;
}

int TAppRegistry::FindStation()
{
    const TQueryReleaser station(*m_dbManager,
                                 m_dbManager->Open(m_sqlStrings.GetStatement(QStringLiteral("FINDSTATION"))));
    return station->Eof() ? 0 : station->FieldByName(QStringLiteral("STATIONID")).AsInteger();
}

// ---------------------------------------------------------------------------------------------
// TAppVerInfo

QString TAppVerInfo::FileVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral(HORAVANT_VERSION) : version;
}
