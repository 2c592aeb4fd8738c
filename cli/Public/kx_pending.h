/*
 * Operations that the controller library in the tree does not export yet.
 * Weak references let arrayctl link against it meanwhile; a missing
 * operation reads as status 19 (not supported). Remove this file once the
 * library exports them.
 */
#ifndef CLI_KX_PENDING_H
#define CLI_KX_PENDING_H

#include "kx_api.h"

extern "C" KX_U8 KX_Adapter_GetInfo(KX_U8 adapter, KX_U8 *count, Adapter_Info *info)
    __attribute__((weak));
extern "C" KX_U8 KX_BLK_GetInfo(KX_U8 adapter, Block_Info_Request *request) __attribute__((weak));

#define KX_PENDING_CALL(op, ...) ((op) ? op(__VA_ARGS__) : static_cast<KX_U8>(19))

#endif /* CLI_KX_PENDING_H */
