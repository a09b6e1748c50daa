/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _SUPPORT_DEFS_H
#define _SUPPORT_DEFS_H


#include <inttypes.h>
#include <sys/types.h>

#include <Errors.h>


typedef int8_t int8;
typedef uint8_t uint8;
typedef int16_t int16;
typedef uint16_t uint16;
typedef int32_t int32;
typedef uint32_t uint32;
typedef int64_t int64;
typedef uint64_t uint64;

typedef volatile int8 vint8;
typedef volatile uint8 vuint8;
typedef volatile int16 vint16;
typedef volatile uint16 vuint16;
typedef volatile int32 vint32;
typedef volatile uint32 vuint32;
typedef volatile int64 vint64;
typedef volatile uint64 vuint64;

typedef int32 status_t;
typedef int64 bigtime_t;
typedef int64 nanotime_t;
typedef uint32 type_code;
typedef uint32 perform_code;

typedef uint32 uchar_t;
typedef unsigned char uchar;

#define B_PRId8 PRId8
#define B_PRIi8 PRIi8
#define B_PRIu8 PRIu8
#define B_PRIx8 PRIx8
#define B_PRId16 PRId16
#define B_PRIu16 PRIu16
#define B_PRIx16 PRIx16
#define B_PRId32 PRId32
#define B_PRIi32 PRIi32
#define B_PRIu32 PRIu32
#define B_PRIx32 PRIx32
#define B_PRIX32 PRIX32
#define B_PRId64 PRId64
#define B_PRIi64 PRIi64
#define B_PRIu64 PRIu64
#define B_PRIx64 PRIx64
#define B_PRIX64 PRIX64
#define B_PRIdBIGTIME PRId64
#define B_PRIdOFF PRId64
#define B_PRIuSIZE "zu"
#define B_PRIdSSIZE "zd"

#define B_EMPTY_STRING ""

#define min_c(a, b) ((a) > (b) ? (b) : (a))
#define max_c(a, b) ((a) > (b) ? (a) : (b))

#ifndef _EXPORT
#define _EXPORT __attribute__((visibility("default")))
#endif
#ifndef _IMPORT
#define _IMPORT
#endif

#ifndef NULL
#define NULL 0
#endif

#define B_UNUSED(x) (void)(x)


#endif // _SUPPORT_DEFS_H
