// Temporary: replaced by the controller model.
#include "kx_api.h"
#define EXPORT extern "C" __attribute__((visibility("default")))
EXPORT KX_U8 KX_API_Initialize(void) { return 0; }
EXPORT KX_U8 KX_API_Finalize(void) { return 0; }
EXPORT const char *KX_API_Version(void) { return "0.0.0"; }
EXPORT KX_U8 KX_Adapter_GetCount(void) { return 0; }
