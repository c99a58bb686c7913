// The TrivaneCOM server module: its exports, registration, class factory and lock count.
#include "APIInterface.h"
#include "Module.h"
#include "TypeLibrary.h"

#include "ClassRegistry.h"
#include "Registrar.h"

#include <atomic>
#include <exception>

using automation::HRESULT;

namespace trivane {

namespace {
std::atomic<long> g_lockCount{0};

// The registry entries of the APIInterface class; %MODULE% is this library's full path.
constexpr std::string_view kRegistrationScript = R"rgs(
HKCR
{
	TrivaneCOM.APIInterface.1 = s 'APIInterface Class'
	{
		CLSID = s '{9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B}'
	}
	TrivaneCOM.APIInterface = s 'APIInterface Class'
	{
		CLSID = s '{9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B}'
		CurVer = s 'TrivaneCOM.APIInterface.1'
	}
	NoRemove CLSID
	{
		NoRemove 'Component Categories'
		{
			{7DD95801-9882-11CF-9FA9-00AA006C42C4} = s '0'
			{
				val 409 = s 'Safe for scripting'
			}
			{7DD95802-9882-11CF-9FA9-00AA006C42C4} = s '0'
			{
				val 409 = s 'Safe for initializing'
			}
		}
		ForceRemove {9C31F6B2-7A4E-4E09-B5D3-6E18A0C47F2B} = s 'APIInterface Class'
		{
			'Implemented Categories'
			{
				{7DD95801-9882-11CF-9FA9-00AA006C42C4}
				{7DD95802-9882-11CF-9FA9-00AA006C42C4}
			}
			ProgID = s 'TrivaneCOM.APIInterface.1'
			VersionIndependentProgID = s 'TrivaneCOM.APIInterface'
			ForceRemove 'Programmable'
			InprocServer32 = s '%MODULE%'
			{
				val ThreadingModel = s 'Apartment'
			}
			'TypeLib' = s '{4B7E2A90-15C3-4D8E-9F61-C2A83E57D014}'
		}
	}
}
)rgs";

// What the module says about itself, kept in the binary for `strings`.
[[gnu::used]] constexpr char kVersionInformation[] =
    "FileDescription=Trivane COM module; FileVersion=2, 5, 0, 0; ProductVersion=2, 5, 0, 0; "
    "InternalName=TrivaneCOM; OriginalFilename=libTrivaneCOM.so; ProductName=Trivane SDK; "
    "CompanyName=Vellox & Quillon; OLESelfRegister";

// The one class object. It lives as long as the module; only LockServer keeps the module loaded.
class ClassFactory final : public automation::IClassFactory {
public:
  HRESULT QueryInterface(const automation::IID& iid, void** object) override {
    if (!object) return automation::E_POINTER;
    if (iid != automation::IID_IUnknown && iid != automation::IID_IClassFactory) {
      *object = nullptr;
      return automation::E_NOINTERFACE;
    }
    *object = static_cast<automation::IClassFactory*>(this);
    AddRef();
    return automation::S_OK;
  }
  automation::ULONG AddRef() override { return 2; }
  automation::ULONG Release() override { return 1; }

  HRESULT CreateInstance(automation::IUnknown* outer, const automation::IID& iid, void** object) override {
    try {
      return APIInterface::Create(outer, iid, object);
    } catch (const std::exception&) {
      return automation::E_OUTOFMEMORY;
    }
  }

  HRESULT LockServer(bool lock) override {
    lock ? LockModule() : UnlockModule();
    return automation::S_OK;
  }
};

ClassFactory g_classFactory;

HRESULT UpdateRegistration(bool install) {
  const std::string modulePath = automation::ModulePathOf(reinterpret_cast<const void*>(&UpdateRegistration));
  if (modulePath.empty()) return automation::SELFREG_E_CLASS;
  try {
    const auto script = automation::RegistrationScript::Parse(kRegistrationScript, {{"MODULE", modulePath}});
    return automation::UpdateClassRegistry(
        automation::ClassRegistry::DefaultPath(), [&](automation::ClassRegistry& registry) {
          if (install) {
            script.install(registry);
            automation::RegisterTypeLibrary(registry, TypeLibrary(), modulePath);
          } else {
            script.uninstall(registry);
            automation::UnregisterTypeLibrary(registry, TypeLibrary());
          }
          return automation::S_OK;
        });
  } catch (const std::exception&) {
    return automation::SELFREG_E_CLASS;
  }
}
} // namespace

void LockModule() { ++g_lockCount; }
void UnlockModule() { --g_lockCount; }
long ModuleLockCount() { return g_lockCount; }

} // namespace trivane

// Everything else in the module is hidden; these four are what the loader and registrars look up.
#define TRIVANECOM_EXPORT __attribute__((visibility("default")))

extern "C" {

TRIVANECOM_EXPORT HRESULT DllCanUnloadNow() { return trivane::ModuleLockCount() == 0 ? automation::S_OK : automation::S_FALSE; }

TRIVANECOM_EXPORT HRESULT DllGetClassObject(const automation::CLSID& clsid, const automation::IID& iid, void** object) {
  if (!object) return automation::E_POINTER;
  *object = nullptr;
  if (clsid != trivane::CLSID_APIInterface) return automation::CLASS_E_CLASSNOTAVAILABLE;
  return trivane::g_classFactory.QueryInterface(iid, object);
}

TRIVANECOM_EXPORT HRESULT DllRegisterServer() { return trivane::UpdateRegistration(true); }

TRIVANECOM_EXPORT HRESULT DllUnregisterServer() { return trivane::UpdateRegistration(false); }

} // extern "C"
