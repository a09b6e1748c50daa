/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MENU_FIELD_H
#define _MENU_FIELD_H


#include <InterfaceDefs.h>
#include <Menu.h>


class BMenuItem;


// A label and a pop-up button that shows a menu. The field shows one item: the menu's
// marked item when the menu takes its label from the marked item. A click, or Space, Right
// or Down when the field has the focus, opens the menu over the field; a chosen item is
// marked and invoked, and items without a target of their own go to the field's window.
// The field owns the menu.
class BMenuField : public BView {
public:
	BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	// With fixedSize the button spans the field right of the divider; otherwise it is as
	// wide as its item needs, within that space.
	BMenuField(BRect frame, const char* name, const char* label, BMenu* menu, bool fixedSize,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP, uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BMenuField();

	virtual void Draw(BRect updateRect);
	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void MouseDown(BPoint where);
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void MakeFocus(bool focused);
	virtual void MessageReceived(BMessage* message);
	virtual void WindowActivated(bool active);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void DetachedFromWindow();
	virtual void AllDetached();
	virtual void FrameMoved(BPoint where);
	virtual void FrameResized(float width, float height);

	BMenu* Menu() const;
	// The item the field shows (its submenu is Menu())
	BMenuItem* MenuItem() const;

	// "" counts as no label.
	virtual void SetLabel(const char* label);
	const char* Label() const;

	// A disabled field is drawn greyed, ignores the pointer and keys, and is skipped by Tab.
	virtual void SetEnabled(bool on);
	bool IsEnabled() const;

	virtual void SetAlignment(alignment label);
	alignment Alignment() const;
	// The label lies left of the divider, the button right of it.
	virtual void SetDivider(float position);
	float Divider() const;

	virtual void ResizeToPreferred();
	virtual void GetPreferredSize(float* _width, float* _height);

private:
	BMenuField(const BMenuField&);
	BMenuField& operator=(const BMenuField&);

	friend class _BMCItem_;

	void _Init(const char* label, BMenu* menu, bool fixedSize);
	BRect _ButtonFrame() const;
	void _OpenMenu(bool byMouse);
	void _ItemLabelChanged();
	void _DrawLabel();
	void _DrawButton();

	char* fLabel;
	BMenu* fMenu;
	BMenuItem* fMenuItem;
	alignment fAlign;
	float fDivider;
	bool fEnabled;
	bool fFixedSize;
	bool fWantsNav;
	bool fMenuOpen;
};


#endif // _MENU_FIELD_H
