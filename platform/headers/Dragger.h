/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DRAGGER_H
#define _DRAGGER_H


#include <List.h>
#include <Locker.h>
#include <View.h>


// The handle by which a view is dragged onto a replicant shelf. It is drawn only while
// draggers are shown.
class BDragger : public BView {
public:
	BDragger(BRect frame, BView* target, uint32 resizingMode = B_FOLLOW_NONE,
		uint32 flags = B_WILL_DRAW);
	virtual ~BDragger();

	static status_t ShowAllDraggers();
	static status_t HideAllDraggers();
	static bool AreDraggersDrawn();

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);

	BView*
	Target() const
	{
		return fTarget;
	}

private:
	BView* fTarget;
};


#endif // _DRAGGER_H
