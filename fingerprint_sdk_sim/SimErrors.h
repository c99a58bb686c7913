#pragma once

#include "TrivaneSDK.h"

// Result codes of the simulated reader library (README.md lists them with their causes). Codes 1,
// 4 and 13 are left free: the automation object reports its own failures with them.
namespace trivsim {

enum Code : TrivAPI_RETURN {
    Ok = TRIVAPI_ERROR_NONE,
    InvalidHandle = 2,
    InvalidPointer = 3,
    InvalidParameter = 5,
    UnreadableTemplate = 8,
    TooManyFingers = 9,
    SkinNotFound = 10,
    UnknownDevice = 257,
    DeviceBusy = 258,
    DeviceAlreadyOpen = 259,
    DeviceNotOpen = 260,
    SpoolUnavailable = 262,
    UserCancel = TRIVAPI_ERROR_USER_CANCEL,
    CaptureTimeout = TRIVAPI_ERROR_CAPTURE_TIMEOUT,
    EnrollSamplesDiffer = 517,
};

} // namespace trivsim
