/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TRANSLATION_DEFS_H
#define _TRANSLATION_DEFS_H


#include <SupportDefs.h>


#define B_TRANSLATION_CURRENT_VERSION 0x0500
#define B_TRANSLATION_MIN_VERSION 161

#define B_TRANSLATION_MAKE_VERSION(major, minor, revision)                                         \
	(((major) << 8) | (((minor) << 4) & 0xf0) | ((revision)&0x0f))
#define B_TRANSLATION_MAJOR_VERSION(v) ((v) >> 8)
#define B_TRANSLATION_MINOR_VERSION(v) (((v) >> 4) & 0xf)
#define B_TRANSLATION_REVISION_VERSION(v) ((v)&0xf)

#define B_TRANSLATOR_MIME_TYPE "application/x-vnd.Be-Translator"


typedef unsigned long translator_id;


// A format a translator reads or writes.
struct translation_format {
	uint32 type;
	uint32 group;
	float quality;
	float capability;
	char MIME[251];
	char name[251];
};


// What a translator found a stream to hold, as Identify() answers.
struct translator_info {
	uint32 type;
	translator_id translator;
	uint32 group;
	float quality;
	float capability;
	char name[251];
	char MIME[251];
};


#endif // _TRANSLATION_DEFS_H
