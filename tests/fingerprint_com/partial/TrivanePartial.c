/* A reader library that loads but lacks most entry points, as an incomplete or foreign
 * libTrivane.so would: the automation server must treat it as absent. */
#include "TrivaneSDK.h"

TrivAPI_RETURN TrivAPI_Init(TrivAPI_HANDLE* session) {
  *session = 1;
  return 0;
}

TrivAPI_RETURN TrivAPI_Terminate(TrivAPI_HANDLE session) {
  (void)session;
  return 0;
}
