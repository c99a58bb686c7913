#include "TypeLibrary.h"

#include "DispatchTable.h"
#include "IAPIInterface.h"

namespace trivane {

namespace {
using automation::DISPATCH_METHOD;
using automation::DISPATCH_PROPERTYGET;
using automation::DISPATCH_PROPERTYPUT;
using automation::FuncInfo;
using automation::InvokeMember;
using automation::ParamInfo;
using automation::ValueType;
using I = IAPIInterface;

constexpr std::uint16_t kGet = DISPATCH_PROPERTYGET;
constexpr std::uint16_t kPut = DISPATCH_PROPERTYPUT;
constexpr std::uint16_t kMethod = DISPATCH_METHOD;
constexpr ValueType kInt = ValueType::Int32;
constexpr ValueType kText = ValueType::Text;
constexpr ValueType kVariant = ValueType::Variant;
constexpr ValueType kNone = ValueType::None;

constexpr ParamInfo kNewValue[] = {{u"newVal", kInt}};
constexpr ParamInfo kDevice[] = {{u"deviceID", kInt}, {u"instanceNum", kInt, true}};
constexpr ParamInfo kPayload[] = {{u"vPayload", kVariant}};
constexpr ParamInfo kVerify[] = {{u"enrolledFIR", kText}};
constexpr ParamInfo kVerifyMatch[] = {{u"capturedFIR", kText}, {u"enrolledFIR", kText}};
constexpr ParamInfo kCreateTemplate[] = {
    {u"storedTextFIR1", kVariant}, {u"storedTextFIR2", kVariant}, {u"vPayload", kVariant}};
constexpr ParamInfo kDeviceIndex[] = {{u"lDeviceID", kInt}};
constexpr ParamInfo kSkin[] = {{u"skinFileName", kText}};
constexpr ParamInfo kConvertDpi[] = {{u"storedTextFIR", kVariant}, {u"nSrcDPI", kInt}, {u"nDestDPI", kInt}};

// In vtable order; a property's get and put share their dispatch identifier.
constexpr FuncInfo kFuncs[] = {
    {1, kGet, u"Version", {}, kText, u"property Version", &InvokeMember<&I::get_Version>},
    {2, kGet, u"ErrorCode", {}, kInt, u"property ErrorCode", &InvokeMember<&I::get_ErrorCode>},
    {3, kGet, u"CaptureTimeout", {}, kInt, u"property CaptureTimeout", &InvokeMember<&I::get_CaptureTimeout>},
    {3, kPut, u"CaptureTimeout", kNewValue, kNone, u"property CaptureTimeout", &InvokeMember<&I::put_CaptureTimeout>},
    {4, kMethod, u"OpenDevice", kDevice, kNone, u"method OpenDevice", &InvokeMember<&I::OpenDevice>},
    {5, kMethod, u"CloseDevice", kDevice, kNone, u"method CloseDevice", &InvokeMember<&I::CloseDevice>},
    {6, kGet, u"FIRFormat", {}, kInt, u"property FIRFormat", &InvokeMember<&I::get_FIRFormat>},
    {6, kPut, u"FIRFormat", kNewValue, kNone, u"property FIRFormat", &InvokeMember<&I::put_FIRFormat>},
    {7, kGet, u"IsMatched", {}, kInt, u"property IsMatched", &InvokeMember<&I::get_IsMatched>},
    {8, kGet, u"FIRTextData", {}, kText, u"property FIRTextData", &InvokeMember<&I::get_FIRTextData>},
    {9, kMethod, u"Capture", {}, kNone, u"method Capture", &InvokeMember<&I::Capture>},
    {10, kMethod, u"Enroll", kPayload, kNone, u"method Enroll", &InvokeMember<&I::Enroll>},
    {11, kMethod, u"Verify", kVerify, kNone, u"method Verify", &InvokeMember<&I::Verify>},
    {12, kMethod, u"VerifyMatch", kVerifyMatch, kNone, u"method VerifyMatch", &InvokeMember<&I::VerifyMatch>},
    {13, kGet, u"SecurityLevel", {}, kInt, u"property SecurityLevel", &InvokeMember<&I::get_SecurityLevel>},
    {13, kPut, u"SecurityLevel", kNewValue, kNone, u"property SecurityLevel", &InvokeMember<&I::put_SecurityLevel>},
    {14, kGet, u"EnrollImageQuality", {}, kInt, u"property EnrollImageQuality",
     &InvokeMember<&I::get_EnrollImageQuality>},
    {14, kPut, u"EnrollImageQuality", kNewValue, kNone, u"property EnrollImageQuality",
     &InvokeMember<&I::put_EnrollImageQuality>},
    {15, kGet, u"VerifyImageQuality", {}, kInt, u"property VerifyImageQuality",
     &InvokeMember<&I::get_VerifyImageQuality>},
    {15, kPut, u"VerifyImageQuality", kNewValue, kNone, u"property VerifyImageQuality",
     &InvokeMember<&I::put_VerifyImageQuality>},
    {16, kMethod, u"CreateTemplate", kCreateTemplate, kNone, u"method CreateTemplate",
     &InvokeMember<&I::CreateTemplate>},
    {17, kMethod, u"AdjustDevice", {}, kNone, u"method AdjustDevice", &InvokeMember<&I::AdjustDevice>},
    {18, kGet, u"IsPayload", {}, kInt, u"property IsPayload", &InvokeMember<&I::get_IsPayload>},
    {19, kGet, u"PayloadData", {}, kText, u"property PayloadData", &InvokeMember<&I::get_PayloadData>},
    {20, kGet, u"PayloadLength", {}, kInt, u"property PayloadLength", &InvokeMember<&I::get_PayloadLength>},
    {21, kMethod, u"EnumerateDevice", {}, kNone, u"method EnumerateDevice", &InvokeMember<&I::EnumerateDevice>},
    {22, kGet, u"DeviceNum", {}, kInt, u"property DeviceNum", &InvokeMember<&I::get_DeviceNum>},
    {23, kGet, u"DeviceID", kDeviceIndex, kInt, u"property DeviceID", &InvokeMember<&I::get_DeviceID>},
    {24, kMethod, u"SetSkinResource", kSkin, kNone, u"method SetSkinResource", &InvokeMember<&I::SetSkinResource>},
    {25, kGet, u"MaxFingersForEnroll", {}, kInt, u"property MaxFingersForEnroll",
     &InvokeMember<&I::get_MaxFingersForEnroll>},
    {25, kPut, u"MaxFingersForEnroll", kNewValue, kNone, u"property MaxFingersForEnroll",
     &InvokeMember<&I::put_MaxFingersForEnroll>},
    {26, kMethod, u"ConvertDPI", kConvertDpi, kNone, u"method ConvertDPI", &InvokeMember<&I::ConvertDPI>},
    {27, kGet, u"WindowStyle", {}, kInt, u"property WindowStyle", &InvokeMember<&I::get_WindowStyle>},
    {27, kPut, u"WindowStyle", kNewValue, kNone, u"property WindowStyle", &InvokeMember<&I::put_WindowStyle>},
};
static_assert(std::size(kFuncs) == 34, "IAPIInterface has 34 entries");

constexpr automation::InterfaceInfo kIAPIInterface{
    IAPIInterface::Iid, u"IAPIInterface", u"IAPIInterface Interface",
    automation::TYPEFLAG_FDUAL | automation::TYPEFLAG_FOLEAUTOMATION, kFuncs};

constexpr automation::CoclassInfo kCoclasses[] = {
    {CLSID_APIInterface, u"APIInterface", u"APIInterface Class", automation::TYPEFLAG_FCANCREATE, &kIAPIInterface}};
constexpr const automation::InterfaceInfo* kInterfaces[] = {&kIAPIInterface};

constexpr automation::TypeLibraryInfo kLibrary{
    LIBID_TRIVANECOMLib, u"TRIVANECOMLib", 1, 0, 0x409, u"Vellox & Quillon - Trivane SDK Add-on Pack",
    kCoclasses, kInterfaces};
} // namespace

const automation::TypeLibraryInfo& TypeLibrary() { return kLibrary; }
const automation::InterfaceInfo& IAPIInterfaceInfo() { return kIAPIInterface; }

} // namespace trivane
