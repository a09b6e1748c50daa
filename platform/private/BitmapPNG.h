/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _BITMAP_PNG_H
#define _BITMAP_PNG_H


#include <SupportDefs.h>


class BBitmap;


namespace BPrivate {


// Writes the bitmap to a PNG file through the Translation Kit's PNG writer, replacing
// what is at path. On failure nothing is left at path. For tests and for looking at what
// views drew.
status_t save_bitmap_as_png(const BBitmap* bitmap, const char* path);


} // namespace BPrivate


#endif // _BITMAP_PNG_H
