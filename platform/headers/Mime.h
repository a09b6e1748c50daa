/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MIME_H
#define _MIME_H


#include <sys/types.h>

#include <StorageDefs.h>
#include <SupportDefs.h>
#include <TypeConstants.h>


enum icon_size { B_LARGE_ICON = 32, B_MINI_ICON = 16 };


#include <MimeType.h>


#endif // _MIME_H
