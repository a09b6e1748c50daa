/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _SHELF_TEST_VIEW_H
#define _SHELF_TEST_VIEW_H


#include <View.h>


// The replicant of the shelf tests, from a library of its own: a red 60 x 40 view with a
// dragger in its right bottom corner, unique on a shelf.
class ShelfTestView : public BView {
public:
	ShelfTestView(BPoint leftTop);
	ShelfTestView(BMessage* archive);

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;
	virtual void Draw(BRect updateRect);
};


extern const char* const kShelfTestSignature;
extern const rgb_color kShelfTestColor;


#endif // _SHELF_TEST_VIEW_H
