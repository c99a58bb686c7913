/*
 * TrivaneSDK.h — the C interface of the Trivane reader library (libTrivane.so).
 *
 * The fingerprint automation server loads the library at run time with dlopen("libTrivane.so") and
 * resolves the 26 TrivAPI_* functions below by name; it never links against it. The simulated
 * reader in fingerprint_sdk_sim/ implements this header, and so would a real vendor library.
 *
 * Records are plain C structures, little-endian, with 32-bit integer fields unless said otherwise.
 * On a 32-bit build every record is byte for byte the vendor's layout; on a 64-bit build pointers
 * are 8 bytes wide and sit at their natural alignment, which both sides get from this one header.
 *
 * Every function returns a TrivAPI_RETURN: 0 on success, otherwise the library's error code. The
 * codes the time-clock program interprets are defined here; the others are the library's own.
 */
#ifndef TRIVANE_SDK_H
#define TRIVANE_SDK_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define TRIVAPI_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define TRIVAPI_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

#define TRIVAPI_EXPORT __attribute__((visibility("default")))

typedef uint32_t TrivAPI_RETURN;
/* Session handle filled by TrivAPI_Init; 0 means no session. */
typedef uint32_t TrivAPI_HANDLE;
/* A template held by the library, released with TrivAPI_FreeFIRHandle; 0 means none. */
typedef uint32_t TrivAPI_FIR_HANDLE;
/* A reader: low byte = device id, high byte = instance number. */
typedef uint16_t TrivAPI_DEVICE_ID;

/* Result codes with a meaning outside the library. */
#define TRIVAPI_ERROR_NONE 0
#define TRIVAPI_ERROR_USER_CANCEL 513     /* no fingerprint was taken; nothing to report */
#define TRIVAPI_ERROR_CAPTURE_TIMEOUT 515 /* no finger within the capture time-out */

/* Constants the automation object passes. */
#define TRIVAPI_PURPOSE_VERIFY 1         /* purpose argument of TrivAPI_Capture */
#define TRIVAPI_USE_DEFAULT_TIMEOUT (-1) /* timeout argument: use the session's CaptureTimeout */
#define TRIVAPI_FIR_FORM_TEXTENCODE 4    /* TrivAPI_INPUT_FIR.form: points to a TrivAPI_TEXT_FIR */
#define TRIVAPI_DEVICE_AUTO 255          /* device id that stands for "any attached reader" */

/* Library version. */
typedef struct TrivAPI_VERSION {
  uint32_t major;
  uint32_t minor;
} TrivAPI_VERSION;
TRIVAPI_STATIC_ASSERT(sizeof(TrivAPI_VERSION) == 8, "version record is two 32-bit fields");

/* Session settings (structure type 0). Fields structureType, samplesPerFinger and
 * identifyImageQuality are the library's own; callers pass them back unchanged. */
typedef struct TrivAPI_INIT_INFO {
  uint32_t structureType;        /* [0] */
  uint32_t maxFingersForEnroll;  /* [1] */
  uint32_t samplesPerFinger;     /* [2] */
  uint32_t captureTimeout;       /* [3] milliseconds */
  uint32_t enrollImageQuality;   /* [4] */
  uint32_t verifyImageQuality;   /* [5] */
  uint32_t identifyImageQuality; /* [6] */
  uint32_t securityLevel;        /* [7] */
} TrivAPI_INIT_INFO;
TRIVAPI_STATIC_ASSERT(sizeof(TrivAPI_INIT_INFO) == 32, "init info is eight 32-bit fields");
TRIVAPI_STATIC_ASSERT(offsetof(TrivAPI_INIT_INFO, captureTimeout) == 12, "captureTimeout is field [3]");
TRIVAPI_STATIC_ASSERT(offsetof(TrivAPI_INIT_INFO, securityLevel) == 28, "securityLevel is field [7]");

/* Options of the capture window: 52 bytes, all 0 except the window style. */
typedef struct TrivAPI_WINDOW_OPTION {
  uint32_t reserved0;
  uint32_t windowStyle; /* [1] */
  uint32_t reserved[11];
} TrivAPI_WINDOW_OPTION;
TRIVAPI_STATIC_ASSERT(sizeof(TrivAPI_WINDOW_OPTION) == 52, "window option is thirteen 32-bit fields");
TRIVAPI_STATIC_ASSERT(offsetof(TrivAPI_WINDOW_OPTION, windowStyle) == 4, "windowStyle is field [1]");

/* A template in its text form: a single line of printable ANSI text without NUL.
 * Filled by TrivAPI_GetTextFIRFromHandle (length = number of characters, released with
 * TrivAPI_FreeTextFIR). A record built by a caller from its own text has length 0: the text
 * ends at its NUL. */
typedef struct TrivAPI_TEXT_FIR {
  uint32_t length;
  char* textFIR;
} TrivAPI_TEXT_FIR;
TRIVAPI_STATIC_ASSERT(offsetof(TrivAPI_TEXT_FIR, textFIR) == sizeof(void*), "length, then pointer");

/* A template passed in: form TRIVAPI_FIR_FORM_TEXTENCODE, three padding bytes, then the pointer. */
typedef struct TrivAPI_INPUT_FIR {
  uint8_t form;
  uint8_t padding[3];
  TrivAPI_TEXT_FIR* textFIR;
} TrivAPI_INPUT_FIR;
TRIVAPI_STATIC_ASSERT(offsetof(TrivAPI_INPUT_FIR, textFIR) == sizeof(void*), "form, padding, pointer");
TRIVAPI_STATIC_ASSERT(sizeof(TrivAPI_INPUT_FIR) == 2 * sizeof(void*), "input template size");

/* Data stored with an enrolled template and handed back on a match.
 * Passed in by a caller: data points to `length` bytes holding NUL-terminated ANSI text (the
 * buffer may be longer than the text; the text ends at the first NUL within it).
 * Filled by the library (TrivAPI_Verify, TrivAPI_VerifyMatch): length = number of characters
 * (0 = no payload, data NULL), released with TrivAPI_FreePayload. */
typedef struct TrivAPI_PAYLOAD {
  uint32_t length;
  char* data;
} TrivAPI_PAYLOAD;
TRIVAPI_STATIC_ASSERT(offsetof(TrivAPI_PAYLOAD, data) == sizeof(void*), "length, then pointer");

/* The binary template, for the functions the automation object resolves but never calls. */
typedef struct TrivAPI_FIR_HEADER {
  uint32_t length;     /* size of this header */
  uint32_t dataLength; /* bytes behind TrivAPI_FIR.data */
  uint16_t version;
  uint16_t dataType;
  uint16_t purpose;
  uint16_t quality;
  uint32_t reserved;
} TrivAPI_FIR_HEADER;
TRIVAPI_STATIC_ASSERT(sizeof(TrivAPI_FIR_HEADER) == 20, "template header size");

typedef struct TrivAPI_FIR {
  uint32_t format;
  TrivAPI_FIR_HEADER header;
  uint8_t* data; /* released with TrivAPI_FreeFIR */
} TrivAPI_FIR;

/* A reader's description (structure type 0). */
typedef struct TrivAPI_DEVICE_INFO {
  uint32_t structureType;
  uint32_t imageWidth;
  uint32_t imageHeight;
  uint32_t brightness;
  uint32_t contrast;
  uint32_t gain;
} TrivAPI_DEVICE_INFO;
TRIVAPI_STATIC_ASSERT(sizeof(TrivAPI_DEVICE_INFO) == 24, "device info is six 32-bit fields");

/* Sessions and settings. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_Init(TrivAPI_HANDLE* session);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_Terminate(TrivAPI_HANDLE session);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_GetVersion(TrivAPI_HANDLE session, TrivAPI_VERSION* version);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_GetInitInfo(TrivAPI_HANDLE session, uint8_t structureType,
                                                  TrivAPI_INIT_INFO* initInfo);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_SetInitInfo(TrivAPI_HANDLE session, uint8_t structureType,
                                                  const TrivAPI_INIT_INFO* initInfo);

/* Readers. The device id array stays valid while the session lives. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_EnumerateDevice(TrivAPI_HANDLE session, uint32_t* deviceCount,
                                                      TrivAPI_DEVICE_ID** deviceIds);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_OpenDevice(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_CloseDevice(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_GetDeviceInfo(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device,
                                                    uint8_t structureType, TrivAPI_DEVICE_INFO* deviceInfo);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_SetDeviceInfo(TrivAPI_HANDLE session, TrivAPI_DEVICE_ID device,
                                                    uint8_t structureType,
                                                    const TrivAPI_DEVICE_INFO* deviceInfo);
/* windowOption may be NULL (the automation object passes 0). */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_AdjustDevice(TrivAPI_HANDLE session,
                                                   const TrivAPI_WINDOW_OPTION* windowOption);
/* Not tied to a session; skinFileName is ANSI text. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_SetSkinResource(const char* skinFileName);

/* Capture and enrolment: they wait for a finger on the open reader. timeout is in milliseconds or
 * TRIVAPI_USE_DEFAULT_TIMEOUT; auditData may be NULL (the automation object passes 0). */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_Capture(TrivAPI_HANDLE session, uint8_t purpose,
                                              TrivAPI_FIR_HANDLE* capturedFIR, int32_t timeout,
                                              TrivAPI_FIR_HANDLE* auditData,
                                              const TrivAPI_WINDOW_OPTION* windowOption);
/* storedFIR (NULL from the automation object) would add fingers to an existing template;
 * payload may be NULL. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_Enroll(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* storedFIR,
                                             TrivAPI_FIR_HANDLE* newFIR, const TrivAPI_PAYLOAD* payload,
                                             int32_t timeout, TrivAPI_FIR_HANDLE* auditData,
                                             const TrivAPI_WINDOW_OPTION* windowOption);

/* Comparison. matched receives 1 or 0; payload receives the stored template's payload on a match
 * (length 0 and data NULL otherwise); the caller must pass an empty payload record. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_Verify(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* storedFIR,
                                             int32_t* matched, TrivAPI_PAYLOAD* payload, int32_t timeout,
                                             TrivAPI_FIR_HANDLE* auditData,
                                             const TrivAPI_WINDOW_OPTION* windowOption);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_VerifyMatch(TrivAPI_HANDLE session,
                                                  const TrivAPI_INPUT_FIR* capturedFIR,
                                                  const TrivAPI_INPUT_FIR* storedFIR, int32_t* matched,
                                                  TrivAPI_PAYLOAD* payload);

/* Templates. secondFIR and payload may be NULL. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_CreateTemplate(TrivAPI_HANDLE session,
                                                     const TrivAPI_INPUT_FIR* firstFIR,
                                                     const TrivAPI_INPUT_FIR* secondFIR,
                                                     TrivAPI_FIR_HANDLE* newFIR,
                                                     const TrivAPI_PAYLOAD* payload);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_ConvertDPI(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* inputFIR,
                                                 TrivAPI_FIR_HANDLE* convertedFIR, uint32_t sourceDPI,
                                                 uint32_t destinationDPI);
/* processedFIR receives a template made from captured audit data. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_Process(TrivAPI_HANDLE session, const TrivAPI_INPUT_FIR* capturedFIR,
                                              TrivAPI_FIR_HANDLE* processedFIR);

/* Template handles and the records the library fills. wide = 0 asks for ANSI text. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_GetTextFIRFromHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir,
                                                           TrivAPI_TEXT_FIR* textFIR, int32_t wide);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_GetFIRFromHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir,
                                                       TrivAPI_FIR* binaryFIR);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_GetHeaderFromHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir,
                                                          TrivAPI_FIR_HEADER* header);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_FreeFIRHandle(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir);
/* The Free functions release what the library filled and zero the record; an empty (zeroed)
 * record is accepted and left alone. */
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_FreeTextFIR(TrivAPI_HANDLE session, TrivAPI_TEXT_FIR* textFIR);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_FreeFIR(TrivAPI_HANDLE session, TrivAPI_FIR* binaryFIR);
TRIVAPI_EXPORT TrivAPI_RETURN TrivAPI_FreePayload(TrivAPI_HANDLE session, TrivAPI_PAYLOAD* payload);

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The 26 entry points, for code that resolves them by name: X(name) for each. */
#define TRIVAPI_ENTRY_POINTS(X)                                                                    \
  X(Init)                                                                                          \
  X(Terminate)                                                                                     \
  X(GetVersion)                                                                                    \
  X(GetInitInfo)                                                                                   \
  X(SetInitInfo)                                                                                   \
  X(EnumerateDevice)                                                                               \
  X(OpenDevice)                                                                                    \
  X(CloseDevice)                                                                                   \
  X(AdjustDevice)                                                                                  \
  X(Capture)                                                                                       \
  X(Enroll)                                                                                        \
  X(Verify)                                                                                        \
  X(VerifyMatch)                                                                                   \
  X(CreateTemplate)                                                                                \
  X(ConvertDPI)                                                                                    \
  X(GetTextFIRFromHandle)                                                                          \
  X(FreeTextFIR)                                                                                   \
  X(FreeFIRHandle)                                                                                 \
  X(FreePayload)                                                                                   \
  X(SetSkinResource)                                                                               \
  X(GetDeviceInfo)                                                                                 \
  X(SetDeviceInfo)                                                                                 \
  X(GetFIRFromHandle)                                                                              \
  X(GetHeaderFromHandle)                                                                           \
  X(FreeFIR)                                                                                       \
  X(Process)

#endif /* TRIVANE_SDK_H */
