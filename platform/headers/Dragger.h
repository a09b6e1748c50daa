/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _DRAGGER_H
#define _DRAGGER_H


#include <List.h>
#include <Locker.h>
#include <View.h>


class BPopUpMenu;
class BShelf;

namespace BPrivate {
class DraggerWatcher;
}


// The handle by which a view is dragged onto a replicant shelf: an 8x8 picture in the right
// bottom corner of the dragger's frame, drawn while draggers are shown. Dragged out of its
// window onto the desktop, it hands its target's archive to the desktop's shelf; in a shelf,
// dragging it moves the replicant, and the secondary button shows its pop-up menu.
class BDragger : public BView {
public:
	BDragger(BRect frame, BView* target, uint32 resizingMode = B_FOLLOW_NONE,
		uint32 flags = B_WILL_DRAW);
	BDragger(BView* target, uint32 flags = B_WILL_DRAW);
	BDragger(BMessage* data);
	virtual ~BDragger();

	static BArchivable* Instantiate(BMessage* data);
	virtual status_t Archive(BMessage* data, bool deep = true) const;

	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void MessageReceived(BMessage* message);

	// The setting is the user's, for every program: all draggers follow it at once.
	static status_t ShowAllDraggers();
	static status_t HideAllDraggers();
	static bool AreDraggersDrawn();

	status_t SetPopUp(BPopUpMenu* contextMenu);
	BPopUpMenu* PopUp() const;
	bool InShelf() const;
	BView* Target() const;

protected:
	bool IsVisibilityChanging() const;

private:
	friend class BShelf;
	friend class BPrivate::DraggerWatcher;

	enum relation { TARGET_UNKNOWN, TARGET_IS_CHILD, TARGET_IS_PARENT, TARGET_IS_SIBLING };

	BDragger(const BDragger&);
	BDragger& operator=(const BDragger&);

	void _InitData();
	void _DetermineRelationship();
	void _UpdateShowing();
	void _SetShelf(BShelf* shelf);
	void _BuildDefaultPopUp();
	void _ShowPopUp(BPoint where);
	status_t _MakeDragMessage(BMessage* message) const;
	void _Drop(BPoint screenWhere);
	BView* _Replicant() const;

	BView* fTarget;
	relation fRelation;
	BShelf* fShelf;
	bool fTransition;
	bool fPopUpIsCustom;
	BPopUpMenu* fPopUp;

	// A primary press, and the drag that follows once the pointer went far enough
	bool fTracking;
	bool fDragging;
	BPoint fPressScreen;
	BPoint fPressOffset;
	BPoint fStartLeftTop;
};


#endif // _DRAGGER_H
