/*
 * Scalar types of the controller library interface.
 *
 * Every record that crosses libarraycore.so is packed and little-endian;
 * the suite only builds for little-endian hosts, so records are used in
 * place without byte swapping.
 */
#ifndef KX_TYPES_H
#define KX_TYPES_H

#include <stdint.h>

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ != __ORDER_LITTLE_ENDIAN__
#error "controller records are little-endian; this host is not"
#endif

#define KX_PACKED __attribute__((packed))

typedef uint8_t  KX_U8;
typedef uint8_t  KX_BOOLEAN;
typedef uint16_t KX_U16;
typedef int16_t  KX_I16;
typedef uint32_t KX_U32;
typedef int32_t  KX_I32;

/* 64-bit quantity as the controller lays it out: low word first. */
typedef union _KX_U64 {
    struct {
        KX_U32 low;
        KX_U32 high;
    } KX_PACKED parts;
    KX_U8  b[8];
    KX_U16 w[4];
    KX_U32 d[2];
} KX_PACKED KX_U64;

#ifdef __cplusplus
static inline uint64_t kxU64Value(const KX_U64 &v)
{
    return ((uint64_t)v.parts.high << 32) | v.parts.low;
}
static inline KX_U64 kxU64Make(uint64_t v)
{
    KX_U64 r;
    r.parts.low = (KX_U32)v;
    r.parts.high = (KX_U32)(v >> 32);
    return r;
}
#endif

/* Status byte of every controller operation; 0 is success. */
#define KX_SUCCESS 0

/* "none" / "all" markers of 16-bit IDs and of some 8-bit fields. */
#define KX_ID_NONE      0xFFFF
#define KX_ID8_NONE     0xFF
#define KX_END_OF_LIST  0xFFFF

/* requestType values of _RequestHeader */
#define KX_REQUEST_BY_INDEX 1
#define KX_REQUEST_BY_ID    2

#ifdef __cplusplus
#define KX_CHECK_SIZE(T, n) static_assert(sizeof(T) == (n), "size of " #T)
#define KX_CHECK_OFFSET(T, f, n) static_assert(offsetof(T, f) == (n), "offset of " #T "." #f)
#else
#define KX_CHECK_SIZE(T, n) _Static_assert(sizeof(T) == (n), "size of " #T)
#define KX_CHECK_OFFSET(T, f, n) _Static_assert(offsetof(T, f) == (n), "offset of " #T "." #f)
#endif

#endif /* KX_TYPES_H */
