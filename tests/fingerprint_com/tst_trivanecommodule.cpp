// The TrivaneCOM server module with no usable reader library: registration, creation by program
// id, the class factory, lifetime and the object's answers when the SDK is absent. The test runs
// twice: with no libTrivane.so on the search path, and with one that lacks entry points.
// moc cannot parse the C++20 library headers these bring in; it needs none of them.
#ifndef Q_MOC_RUN
#include "ServerFixture.h"

#include "ClassRegistry.h"
#include "IAPIInterface.h"
#include "ObjectSafety.h"

#include <QTest>

#include <dlfcn.h>
#endif


using namespace automation;
using namespace LateBound;

Q_DECLARE_METATYPE(automation::Variant)

namespace {
const std::string kRoot = "HKEY_CLASSES_ROOT\\";
const std::string kClassKey = kRoot + "CLSID\\{9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B}";

bool CompleteReaderLibraryOnPath() {
  void* library = dlopen("libTrivane.so", RTLD_NOW | RTLD_LOCAL);
  if (!library) return false;
  const bool complete = dlsym(library, "TrivAPI_Process") != nullptr;
  dlclose(library);
  return complete;
}

// The server's own exports, for what a client never calls directly.
struct ServerExports {
  ServerExports() : library(dlopen(TRIVANECOM_PATH, RTLD_NOW | RTLD_LOCAL)) {
    canUnloadNow = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(library, "DllCanUnloadNow"));
    getClassObject = reinterpret_cast<DllGetClassObjectFunction>(dlsym(library, "DllGetClassObject"));
  }
  ~ServerExports() { dlclose(library); }
  void* library;
  DllCanUnloadNowFunction canUnloadNow = nullptr;
  DllGetClassObjectFunction getClassObject = nullptr;
};

// A controlling object that aggregates the server's object and counts its own references.
struct Outer final : IUnknown {
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (iid == IID_IUnknown) {
      *object = this;
      AddRef();
      return S_OK;
    }
    return inner->QueryInterface(iid, object);
  }
  ULONG AddRef() override { return ++references; }
  ULONG Release() override { return --references; }
  ULONG references = 1;
  IUnknown* inner = nullptr;
};
} // namespace

class TestTrivaneComModule : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    if (CompleteReaderLibraryOnPath()) QSKIP("a reader library is on the library search path");
  }

  void init() {
    m_fixture = std::make_unique<ServerFixture>();
    QVERIFY(m_fixture->isValid());
    QCOMPARE(ServerFixture::runRegistrar(false), 0);
  }
  void cleanup() { m_fixture.reset(); }

  void registrationWritesTheClassEntries_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const std::string& key, const char* name, const QString& value) {
      QTest::newRow(tag) << QString::fromStdString(key) << QString::fromLatin1(name) << value;
    };
    const QString clsid = QStringLiteral("{9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B}");
    row("versioned program id", kRoot + "TrivaneCOM.APIInterface.1", "", QStringLiteral("APIInterface Class"));
    row("versioned class id", kRoot + "TrivaneCOM.APIInterface.1\\CLSID", "", clsid);
    row("program id", kRoot + "TrivaneCOM.APIInterface", "", QStringLiteral("APIInterface Class"));
    row("program id class id", kRoot + "TrivaneCOM.APIInterface\\CLSID", "", clsid);
    row("current version", kRoot + "TrivaneCOM.APIInterface\\CurVer", "", QStringLiteral("TrivaneCOM.APIInterface.1"));
    row("class", kClassKey, "", QStringLiteral("APIInterface Class"));
    row("class ProgID", kClassKey + "\\ProgID", "", QStringLiteral("TrivaneCOM.APIInterface.1"));
    row("class independent ProgID", kClassKey + "\\VersionIndependentProgID", "",
        QStringLiteral("TrivaneCOM.APIInterface"));
    row("server path", kClassKey + "\\InprocServer32", "", ServerFixture::serverPath());
    row("threading model", kClassKey + "\\InprocServer32", "ThreadingModel", QStringLiteral("Apartment"));
    row("class type library", kClassKey + "\\TypeLib", "", QStringLiteral("{4B7E2A90-15C3-4D8E-9F61-C2A83E57D014}"));
    row("safe for scripting", kRoot + "CLSID\\Component Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}", "409",
        QStringLiteral("Safe for scripting"));
    row("safe for initializing", kRoot + "CLSID\\Component Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}", "",
        QStringLiteral("0"));
    row("type library", kRoot + "TypeLib\\{4B7E2A90-15C3-4D8E-9F61-C2A83E57D014}\\1.0", "",
        QStringLiteral("Vellox & Quillon - Trivane SDK Add-on Pack"));
    row("interface", kRoot + "Interface\\{E2580D43-6F1A-4C7B-8E94-3B0D7C15A6F9}", "", QStringLiteral("IAPIInterface"));
  }
  void registrationWritesTheClassEntries() {
    QFETCH(QString, key);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const auto value = m_fixture->registry().text(key.toStdString(), name.toStdString());
    QVERIFY2(value, qPrintable(key));
    QCOMPARE(QString::fromStdString(*value), expected);
  }

  void registrationMarksTheClassProgrammableAndSafe() {
    const ClassRegistry registry = m_fixture->registry();
    QVERIFY(registry.hasKey(kClassKey + "\\Programmable"));
    QVERIFY(registry.hasKey(kClassKey + "\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}"));
    QVERIFY(registry.hasKey(kClassKey + "\\Implemented Categories\\{7DD95802-9882-11CF-9FA9-00AA006C42C4}"));
  }

  // ForceRemove: whatever lay under the class key before is gone after registering again.
  void registeringAgainReplacesTheClassKey() {
    ClassRegistry registry = m_fixture->registry();
    registry.setValue(kClassKey + "\\Stale", {}, std::string("left over"));
    registry.save(m_fixture->registryPath().toStdString());
    QCOMPARE(ServerFixture::runRegistrar(false), 0);
    QVERIFY(!m_fixture->registry().hasKey(kClassKey + "\\Stale"));
    QVERIFY(m_fixture->registry().hasKey(kClassKey + "\\InprocServer32"));
  }

  void unregistrationRemovesExactlyWhatItWrote() {
    ClassRegistry registry = m_fixture->registry();
    const std::string otherClass = kRoot + "CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32";
    registry.setValue(otherClass, {}, std::string("/opt/other.so"));
    registry.save(m_fixture->registryPath().toStdString());

    QCOMPARE(ServerFixture::runRegistrar(true), 0);
    registry = m_fixture->registry();
    for (const std::string& gone :
         {kRoot + "TrivaneCOM.APIInterface", kRoot + "TrivaneCOM.APIInterface.1", kClassKey,
          kRoot + "TypeLib\\{4B7E2A90-15C3-4D8E-9F61-C2A83E57D014}",
          kRoot + "Interface\\{E2580D43-6F1A-4C7B-8E94-3B0D7C15A6F9}"})
      QVERIFY2(!registry.hasKey(gone), gone.c_str());
    QVERIFY(registry.hasKey(kRoot + "CLSID"));
    QVERIFY(registry.hasKey(kRoot + "CLSID\\Component Categories"));
    QCOMPARE(registry.text(otherClass), std::optional<std::string>("/opt/other.so"));

    HRESULT hr = S_OK;
    QVERIFY(!ServerFixture::create(u"TrivaneCOM.APIInterface", &hr));
    QCOMPARE(hr, CO_E_CLASSSTRING);
  }

  void unregisteredOrMissingServerCannotBeCreated_data() {
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("serverPath");
    QTest::addColumn<int>("expected");
    QTest::newRow("never registered") << false << QString() << CO_E_CLASSSTRING;
    QTest::newRow("server file gone") << true << QStringLiteral("/nonexistent/libTrivaneCOM.so") << CO_E_DLLNOTFOUND;
    QTest::newRow("not a server") << true << QStringLiteral("libm.so.6") << CO_E_ERRORINDLL;
  }
  void unregisteredOrMissingServerCannotBeCreated() {
    QFETCH(bool, registered);
    QFETCH(QString, serverPath);
    QFETCH(int, expected);
    QCOMPARE(ServerFixture::runRegistrar(true), 0);
    if (registered) {
      QCOMPARE(ServerFixture::runRegistrar(false), 0);
      ClassRegistry registry = m_fixture->registry();
      registry.setValue(kClassKey + "\\InprocServer32", {}, serverPath.toStdString());
      registry.save(m_fixture->registryPath().toStdString());
    }
    HRESULT hr = S_OK;
    QVERIFY(!ServerFixture::create(u"TrivaneCOM.APIInterface", &hr));
    QCOMPARE(hr, expected);
  }

  void bothProgramIdsCreateTheObject_data() {
    QTest::addColumn<QString>("progId");
    QTest::newRow("version independent") << QStringLiteral("TrivaneCOM.APIInterface");
    QTest::newRow("versioned") << QStringLiteral("TrivaneCOM.APIInterface.1");
    QTest::newRow("any letter case") << QStringLiteral("trivanecom.apiinterface");
  }
  void bothProgramIdsCreateTheObject() {
    QFETCH(QString, progId);
    HRESULT hr = E_FAIL;
    const auto object = ServerFixture::create(reinterpret_cast<const char16_t*>(progId.utf16()), &hr);
    QCOMPARE(hr, S_OK);
    QVERIFY(object);
    QVERIFY(object.As<trivane::IAPIInterface>());
    QVERIFY(object.As<IObjectSafety>());
  }

  // Without the reader library the object still exists; ErrorCode says -1 until another member
  // runs, then every member fails its precondition with 1 and answers S_OK.
  void withoutReaderLibraryEveryMemberReportsOne_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<automation::Variant>>("args");
    const int get = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    const int put = DISPATCH_PROPERTYPUT;
    const int method = DISPATCH_METHOD;
    const auto row = [](const char* member, int flags, QList<Variant> args = {}) {
      QTest::newRow(member) << QString::fromLatin1(member) << flags << args;
    };
    row("version", get);
    row("CaptureTimeout", get);
    row("CAPTURETIMEOUT", put, {Variant(100)});
    row("OpenDevice", method, {Variant(2)});
    row("closedevice", method, {Variant(255), Variant(0)});
    row("FIRFormat", get);
    row("firformat", put, {Variant(1)});
    row("IsMatched", get);
    row("FirTextData", get);
    row("Capture", method);
    row("Enroll", method, {Variant::Null()});
    row("Verify", method, {Variant(u"TRVSIM1:x")});
    row("VerifyMatch", method, {Variant(u"a"), Variant(u"b")});
    row("SecurityLevel", put, {Variant(5)});
    row("EnrollImageQuality", get);
    row("VerifyImageQuality", get);
    row("CreateTemplate", method, {Variant(u"a"), Variant(), Variant()});
    row("AdjustDevice", method);
    row("IsPayload", get);
    row("PayLoadData", get);
    row("PayloadLength", get);
    row("EnumerateDevice", method);
    row("DeviceNum", get);
    row("DeviceID", DISPATCH_PROPERTYGET, {Variant(0)});
    row("SetSkinResource", method, {Variant(u"/tmp/skin")});
    row("MaxFingersForEnroll", get);
    row("ConvertDPI", method, {Variant(u"a"), Variant(500), Variant(1000)});
    row("WindowStyle", put, {Variant(1)});
  }
  void withoutReaderLibraryEveryMemberReportsOne() {
    QFETCH(QString, member);
    QFETCH(int, flags);
    QFETCH(QList<automation::Variant>, args);
    const auto object = ServerFixture::create();
    QVERIFY(object);
    QCOMPARE(ErrorCode(*object), -1);
    QCOMPARE(ErrorCode(*object), -1);
    Variant result;
    const std::vector<Variant> arguments(args.begin(), args.end());
    QCOMPARE(CallByName(*object, Wide(member), static_cast<std::uint16_t>(flags), arguments, &result), S_OK);
    QCOMPARE(ErrorCode(*object), 1);
  }

  void serverStaysLoadedWhileObjectsOrLocksLive() {
    ServerExports server;
    QVERIFY(server.canUnloadNow && server.getClassObject);
    QCOMPARE(server.canUnloadNow(), S_OK);
    auto object = ServerFixture::create();
    QVERIFY(object);
    auto second = ServerFixture::create(u"TrivaneCOM.APIInterface.1");
    QCOMPARE(server.canUnloadNow(), S_FALSE);
    object.reset();
    QCOMPARE(server.canUnloadNow(), S_FALSE);
    second.reset();
    QCOMPARE(server.canUnloadNow(), S_OK);

    ComPtr<IClassFactory> factory;
    QCOMPARE(server.getClassObject(trivane::CLSID_APIInterface, IClassFactory::Iid, factory.put()), S_OK);
    QCOMPARE(factory->LockServer(true), S_OK);
    QCOMPARE(server.canUnloadNow(), S_FALSE);
    QCOMPARE(factory->LockServer(false), S_OK);
    QCOMPARE(server.canUnloadNow(), S_OK);
  }

  void unusedServerIsUnloaded() {
    auto object = ServerFixture::create();
    QVERIFY(object);
    CoFreeUnusedLibraries();
    void* stillLoaded = dlopen(TRIVANECOM_PATH, RTLD_NOW | RTLD_NOLOAD);
    QVERIFY(stillLoaded);
    dlclose(stillLoaded); // the check's own reference
    object.reset();
    CoFreeUnusedLibraries();
    QVERIFY(dlopen(TRIVANECOM_PATH, RTLD_NOW | RTLD_NOLOAD) == nullptr);
  }

  void classFactoryRefusesWhatItCannotMake() {
    ServerExports server;
    void* object = reinterpret_cast<void*>(1);
    QCOMPARE(server.getClassObject(IDispatch::Iid, IClassFactory::Iid, &object), CLASS_E_CLASSNOTAVAILABLE);
    QCOMPARE(object, nullptr);
    ComPtr<IClassFactory> factory;
    QCOMPARE(server.getClassObject(trivane::CLSID_APIInterface, IClassFactory::Iid, factory.put()), S_OK);
    Outer outer;
    QCOMPARE(factory->CreateInstance(&outer, IDispatch::Iid, &object), CLASS_E_NOAGGREGATION);
    QCOMPARE(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    QCOMPARE(factory->CreateInstance(nullptr, GUID_NULL, &object), E_NOINTERFACE);
    QCOMPARE(object, nullptr);
  }

  // Aggregated, the object's interfaces count references on the controlling object.
  void aggregatedObjectDelegatesToItsOuter() {
    ServerExports server;
    ComPtr<IClassFactory> factory;
    QCOMPARE(server.getClassObject(trivane::CLSID_APIInterface, IClassFactory::Iid, factory.put()), S_OK);
    Outer outer;
    QCOMPARE(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)), S_OK);
    QCOMPARE(server.canUnloadNow(), S_FALSE);
    IDispatch* dispatch = nullptr;
    QCOMPARE(outer.inner->QueryInterface(IDispatch::Iid, reinterpret_cast<void**>(&dispatch)), S_OK);
    QCOMPARE(outer.references, 2u);
    IUnknown* identity = nullptr;
    QCOMPARE(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    QCOMPARE(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    QCOMPARE(ErrorCode(*dispatch), -1);
    dispatch->Release();
    QCOMPARE(outer.references, 1u);
    outer.inner->Release();
    QCOMPARE(server.canUnloadNow(), S_OK);
  }

  void objectSafetyOptions() {
    const auto safety = ServerFixture::create().As<IObjectSafety>();
    QVERIFY(safety);
    std::uint32_t supported = 9, enabled = 9;
    QCOMPARE(safety->GetInterfaceSafetyOptions(IDispatch::Iid, &supported, &enabled), S_OK);
    QCOMPARE(supported, 3u);
    QCOMPARE(enabled, 0u);
    QCOMPARE(safety->SetInterfaceSafetyOptions(IDispatch::Iid, 3, 1), S_OK);
    QCOMPARE(safety->SetInterfaceSafetyOptions(IDispatch::Iid, 2, 2), S_OK);
    QCOMPARE(safety->GetInterfaceSafetyOptions(trivane::IAPIInterface::Iid, &supported, &enabled), S_OK);
    QCOMPARE(enabled, 3u);
    QCOMPARE(safety->SetInterfaceSafetyOptions(IDispatch::Iid, 4, 4), E_FAIL);
    QCOMPARE(safety->SetInterfaceSafetyOptions(IClassFactory::Iid, 1, 1), E_NOINTERFACE);
    QCOMPARE(safety->GetInterfaceSafetyOptions(IClassFactory::Iid, &supported, &enabled), E_NOINTERFACE);
    QCOMPARE(supported, 0u);
    QCOMPARE(enabled, 0u);
  }

  // Late-bound clients may cache dispatch identifiers, so they are part of the contract.
  void typeLibraryDescribesAllEntries() {
    struct Entry {
      const char16_t* name;
      DISPID id;
      std::uint16_t kind;
    };
    constexpr std::uint16_t get = DISPATCH_PROPERTYGET, put = DISPATCH_PROPERTYPUT, method = DISPATCH_METHOD;
    const Entry expected[] = {
        {u"Version", 1, get}, {u"ErrorCode", 2, get}, {u"CaptureTimeout", 3, get}, {u"CaptureTimeout", 3, put},
        {u"OpenDevice", 4, method}, {u"CloseDevice", 5, method}, {u"FIRFormat", 6, get}, {u"FIRFormat", 6, put},
        {u"IsMatched", 7, get}, {u"FIRTextData", 8, get}, {u"Capture", 9, method}, {u"Enroll", 10, method},
        {u"Verify", 11, method}, {u"VerifyMatch", 12, method}, {u"SecurityLevel", 13, get},
        {u"SecurityLevel", 13, put}, {u"EnrollImageQuality", 14, get}, {u"EnrollImageQuality", 14, put},
        {u"VerifyImageQuality", 15, get}, {u"VerifyImageQuality", 15, put}, {u"CreateTemplate", 16, method},
        {u"AdjustDevice", 17, method}, {u"IsPayload", 18, get}, {u"PayloadData", 19, get},
        {u"PayloadLength", 20, get}, {u"EnumerateDevice", 21, method}, {u"DeviceNum", 22, get},
        {u"DeviceID", 23, get}, {u"SetSkinResource", 24, method}, {u"MaxFingersForEnroll", 25, get},
        {u"MaxFingersForEnroll", 25, put}, {u"ConvertDPI", 26, method}, {u"WindowStyle", 27, get},
        {u"WindowStyle", 27, put},
    };
    const auto object = ServerFixture::create();
    const InterfaceInfo* info = nullptr;
    QCOMPARE(object->GetTypeInfo(0, &info), S_OK);
    QCOMPARE(info->iid, trivane::IAPIInterface::Iid);
    QVERIFY(info->flags & TYPEFLAG_FDUAL);
    QCOMPARE(info->funcs.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
      const FuncInfo& func = info->funcs[i];
      QVERIFY2(func.name == expected[i].name && func.id == expected[i].id && func.kind == expected[i].kind,
               qPrintable(QString::number(i)));
      const QString help = (func.kind == method ? QStringLiteral("method ") : QStringLiteral("property ")) +
                           QString::fromStdU16String(std::u16string(func.name));
      QCOMPARE(QString::fromStdU16String(std::u16string(func.helpString)), help);
    }
  }

  void namesMatchWithoutLetterCase_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("id");
    QTest::newRow("FirTextData") << QStringLiteral("FirTextData") << 8;
    QTest::newRow("PayLoadData") << QStringLiteral("PayLoadData") << 19;
    QTest::newRow("lower case") << QStringLiteral("deviceid") << 23;
    QTest::newRow("upper case") << QStringLiteral("ERRORCODE") << 2;
    QTest::newRow("unknown") << QStringLiteral("Identify") << int(DISPID_UNKNOWN);
    QTest::newRow("prefix only") << QStringLiteral("Verif") << int(DISPID_UNKNOWN);
  }
  void namesMatchWithoutLetterCase() {
    QFETCH(QString, name);
    QFETCH(int, id);
    const auto object = ServerFixture::create();
    const std::u16string wide = Wide(name);
    const std::u16string_view names[] = {wide};
    DISPID found = 0;
    const HRESULT hr = object->GetIDsOfNames(names, std::span<DISPID>(&found, 1));
    QCOMPARE(hr, id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
    QCOMPARE(found, id);
  }

private:
  std::unique_ptr<ServerFixture> m_fixture;
};

QTEST_GUILESS_MAIN(TestTrivaneComModule)
#include "tst_trivanecommodule.moc"
