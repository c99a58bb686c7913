#pragma once

#include "Dispatch.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// The client side: find a class in the class registry, load its server and create objects; call
// members by name.
//
//   using namespace automation;
//   ComPtr<IDispatch> reader;
//   if (Succeeded(CreateObjectByProgId(u"TrivaneCOM.APIInterface", IDispatch::Iid, reader.put()))) {
//     Variant count;
//     CallByName(*reader, u"EnumerateDevice", DISPATCH_METHOD);
//     CallByName(*reader, u"DeviceNum", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &count);
//     CallByName(*reader, u"DeviceID", DISPATCH_PROPERTYGET, {Variant(0)}, &id);
//     CallByName(*reader, u"WindowStyle", DISPATCH_PROPERTYPUT, {Variant(1)});
//   }
//   reader.reset();
//   CoFreeUnusedLibraries();
//
// The class registry read is ClassRegistry::DefaultPath(), looked up anew on every call.
namespace automation {

// The program id's class id: HKCR\<progId>\CLSID, or that of the version its CurVer names.
// CO_E_CLASSSTRING when the program id is not registered.
HRESULT CLSIDFromProgID(std::u16string_view progId, CLSID* clsid);

// Loads the server named by HKCR\CLSID\{clsid}\InprocServer32 (once; it stays loaded until
// CoFreeUnusedLibraries finds it unused) and asks its DllGetClassObject for the class object.
// REGDB_E_CLASSNOTREG: no such class; CO_E_DLLNOTFOUND: the library does not load;
// CO_E_ERRORINDLL: it has no DllGetClassObject.
HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** object);

// The class object's CreateInstance; the class object is released again.
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** object);

// Program id → class id → server → DllGetClassObject → CreateInstance.
HRESULT CreateObjectByProgId(std::u16string_view progId, const IID& iid, void** object);

// Unloads every loaded server whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// GetIDsOfNames for the member, then Invoke. result may be null.
HRESULT CallByName(IDispatch& object, std::u16string_view member, std::uint16_t flags,
                   std::span<const Variant> args, Variant* result = nullptr);
HRESULT CallByName(IDispatch& object, std::u16string_view member, std::uint16_t flags,
                   std::initializer_list<Variant> args = {}, Variant* result = nullptr);

// Loads the server library and runs its DllRegisterServer (install) or DllUnregisterServer, as a
// registrar does. CO_E_DLLNOTFOUND when it does not load (the loader's message in *error),
// CO_E_ERRORINDLL when it lacks the export; otherwise the export's result.
HRESULT RunServerRegistration(const std::string& serverPath, bool install, std::string* error = nullptr);

// The exports of an in-process server.
using DllGetClassObjectFunction = HRESULT (*)(const CLSID& clsid, const IID& iid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();

} // namespace automation
