/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _IMAGE_H
#define _IMAGE_H


#include <OS.h>


typedef int32 image_id;


#define B_SYMBOL_TYPE_DATA 0x1
#define B_SYMBOL_TYPE_TEXT 0x2
#define B_SYMBOL_TYPE_ANY 0x5


#ifdef __cplusplus
extern "C" {
#endif

// Loads code into the process. A shared library is loaded as it is; an executable, whose
// code lives in the shared libraries it names, by loading those of its libraries that lie in
// its own search path (its RUNPATH), so that an application can be loaded as an add-on.
// Returns the image's id, or an error (B_ENTRY_NOT_FOUND, B_ERROR).
image_id load_add_on(const char* path);
status_t unload_add_on(image_id image);
// Looks a symbol up in the image (and the libraries it loaded): B_BAD_IMAGE_ID for an
// unknown image, B_ENTRY_NOT_FOUND for an unknown symbol.
status_t get_image_symbol(
	image_id image, const char* name, int32 symbolType, void** _symbolLocation);

#ifdef __cplusplus
}
#endif


#endif // _IMAGE_H
