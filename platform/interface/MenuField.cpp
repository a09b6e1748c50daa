/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MenuField.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <MenuItem.h>
#include <Message.h>
#include <String.h>
#include <Window.h>

#include "ControlLook.h"
#include "MenuTracker.h"


using BPrivate::disable_color;
using BPrivate::draw_label;
using BPrivate::draw_recessed_edge;
using BPrivate::draw_ring;
using BPrivate::fill_glossy;


// The button's item: left and top margins of its label, the room right of it (which holds
// the pop-up marker), and the marker's part of the button
static const float kItemLeftMargin = 6;
static const float kItemTopMargin = 3;
static const float kItemRightMargin = 19;
static const float kIndicatorWidth = 11;


// The item the field shows; the field's menu is its submenu. It tells the field when its
// label changes (an item of the menu was marked).
class _BMCItem_ : public BMenuItem {
public:
	_BMCItem_(BMenu* menu, BMenuField* field) : BMenuItem(menu), fField(field) { }

	virtual void
	SetLabel(const char* label)
	{
		if (label != NULL && Label() != NULL && strcmp(label, Label()) == 0)
			return;
		BMenuItem::SetLabel(label);
		fField->_ItemLabelChanged();
	}

private:
	BMenuField* fField;
};


// Items without a target of their own send their messages to the window, as the items of a
// menu installed in a window do.
static void
install_targets(BMenu* menu, BWindow* window)
{
	for (int32 i = 0; i < menu->CountItems(); i++) {
		BMenuItem* item = menu->ItemAt(i);
		if (!item->Messenger().IsValid())
			item->SetTarget(window);
		if (item->Submenu() != NULL)
			install_targets(item->Submenu(), window);
	}
}


static float
button_height(const BView* view)
{
	font_height height;
	view->GetFontHeight(&height);
	return ceilf(height.ascent + height.descent + 4);
}


BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
	uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags)
{
	_Init(label, menu, false);
}


BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
	bool fixedSize, uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags)
{
	_Init(label, menu, fixedSize);
}


BMenuField::~BMenuField()
{
	free(fLabel);
	// The item owns the menu.
	delete fMenuItem;
}


void
BMenuField::_Init(const char* label, BMenu* menu, bool fixedSize)
{
	fLabel = label != NULL && label[0] != '\0' ? strdup(label) : NULL;
	fMenu = menu;
	fAlign = B_ALIGN_LEFT;
	fEnabled = true;
	fFixedSize = fixedSize;
	fWantsNav = (Flags() & B_NAVIGABLE) != 0;
	fMenuOpen = false;
	fDivider = fLabel != NULL ? floorf(Bounds().Width() / 2) : 0;

	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetLowColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	SetHighColor(ui_color(B_PANEL_TEXT_COLOR));

	// The item starts with the marked item's label, else the first enabled item's, else
	// the menu's name.
	fMenuItem = new _BMCItem_(menu, this);
	if (menu != NULL) {
		BMenuItem* shown = menu->IsRadioMode() ? menu->FindMarked() : NULL;
		for (int32 i = 0; shown == NULL && i < menu->CountItems(); i++) {
			BMenuItem* item = menu->ItemAt(i);
			if (item->IsEnabled() && dynamic_cast<BSeparatorItem*>(item) == NULL)
				shown = item;
		}
		if (shown != NULL)
			fMenuItem->SetLabel(shown->Label());
	}

	// The field is as tall as its button needs.
	ResizeTo(Bounds().Width(), button_height(this) + 4);
}


//	#pragma mark - hooks


void
BMenuField::AttachedToWindow()
{
	// The field stands on its parent's background.
	if (Parent() != NULL) {
		rgb_color color = Parent()->ViewColor();
		if (color != B_TRANSPARENT_COLOR) {
			SetViewColor(color);
			SetLowColor(color);
		}
	}
	if (fMenu != NULL && Window() != NULL)
		install_targets(fMenu, Window());
	BView::AttachedToWindow();
}


void
BMenuField::AllAttached()
{
	BView::AllAttached();
}


void
BMenuField::DetachedFromWindow()
{
	BView::DetachedFromWindow();
}


void
BMenuField::AllDetached()
{
	BView::AllDetached();
}


void
BMenuField::MessageReceived(BMessage* message)
{
	BView::MessageReceived(message);
}


void
BMenuField::WindowActivated(bool active)
{
	BView::WindowActivated(active);
	if (IsFocus())
		Invalidate();
}


void
BMenuField::MakeFocus(bool focused)
{
	if (focused == IsFocus())
		return;
	BView::MakeFocus(focused);
	Invalidate();
}


void
BMenuField::MouseDown(BPoint where)
{
	(void)where;
	if (!fEnabled)
		return;
	_OpenMenu(true);
}


void
BMenuField::MouseUp(BPoint where)
{
	BView::MouseUp(where);
}


void
BMenuField::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
	BView::MouseMoved(where, transit, dragMessage);
}


void
BMenuField::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes == 1
		&& (bytes[0] == B_SPACE || bytes[0] == B_RIGHT_ARROW || bytes[0] == B_DOWN_ARROW)) {
		if (fEnabled)
			_OpenMenu(false);
		return;
	}
	BView::KeyDown(bytes, numBytes);
}


void
BMenuField::FrameMoved(BPoint where)
{
	BView::FrameMoved(where);
}


void
BMenuField::FrameResized(float width, float height)
{
	BView::FrameResized(width, height);
	Invalidate();
}


//	#pragma mark - state


BMenu*
BMenuField::Menu() const
{
	return fMenu;
}


BMenuItem*
BMenuField::MenuItem() const
{
	return fMenuItem;
}


void
BMenuField::SetLabel(const char* label)
{
	if (label != NULL && label[0] == '\0')
		label = NULL;
	if (label == NULL && fLabel == NULL)
		return;
	if (label != NULL && fLabel != NULL && strcmp(label, fLabel) == 0)
		return;
	free(fLabel);
	fLabel = label != NULL ? strdup(label) : NULL;
	Invalidate();
}


const char*
BMenuField::Label() const
{
	return fLabel;
}


void
BMenuField::SetEnabled(bool on)
{
	if (fEnabled == on)
		return;
	fEnabled = on;
	// Tab skips a disabled field.
	if (fWantsNav)
		SetFlags(on ? (Flags() | B_NAVIGABLE) : (Flags() & ~B_NAVIGABLE));
	if (!on && IsFocus())
		MakeFocus(false);
	Invalidate();
}


bool
BMenuField::IsEnabled() const
{
	return fEnabled;
}


void
BMenuField::SetAlignment(alignment label)
{
	if (fAlign == label)
		return;
	fAlign = label;
	Invalidate();
}


alignment
BMenuField::Alignment() const
{
	return fAlign;
}


void
BMenuField::SetDivider(float position)
{
	position = floorf(position + 0.5f);
	if (position == fDivider)
		return;
	fDivider = position;
	Invalidate();
}


float
BMenuField::Divider() const
{
	return fDivider;
}


void
BMenuField::GetPreferredSize(float* _width, float* _height)
{
	const char* itemLabel = fMenuItem->Label();
	float width = fDivider + 2 + kItemLeftMargin
		+ ceilf(StringWidth(itemLabel != NULL ? itemLabel : "")) + kItemRightMargin + 2;
	if (_width != NULL)
		*_width = ceilf(width);
	if (_height != NULL)
		*_height = button_height(this) + 4;
}


void
BMenuField::ResizeToPreferred()
{
	BView::ResizeToPreferred();
}


//	#pragma mark - private


// The button, right of the divider: two pixels inside the field, which leaves room for its
// frame.
BRect
BMenuField::_ButtonFrame() const
{
	BRect bounds = Bounds();
	BRect frame(fmaxf(fDivider + 2, 2), 2, bounds.right - 2, bounds.bottom - 2);
	if (!fFixedSize) {
		const char* itemLabel = fMenuItem->Label();
		float needed = kItemLeftMargin + ceilf(StringWidth(itemLabel != NULL ? itemLabel : ""))
			+ kItemRightMargin;
		frame.right = fminf(frame.right, frame.left + needed - 1);
	}
	return frame;
}


void
BMenuField::_ItemLabelChanged()
{
	Invalidate();
}


// Shows the menu with the marked item over the button, and waits, as a synchronous pop-up
// menu does, until the user chose an item or closed the menu. The chosen item is marked and
// invoked from the window's thread.
void
BMenuField::_OpenMenu(bool byMouse)
{
	BWindow* window = Window();
	if (fMenuOpen || fMenu == NULL || window == NULL || fMenu->CountItems() == 0)
		return;
	install_targets(fMenu, window);

	int32 index = fMenu->FindMarkedIndex();
	if (index < 0)
		index = 0;
	BRect button = ConvertToScreen(_ButtonFrame());
	font_height height;
	GetFontHeight(&height);
	BPoint itemBaseline(
		button.left + kItemLeftMargin, roundf(button.top + kItemTopMargin + height.ascent));
	BPoint where = button.LeftTop();
	BPoint labelBaseline;
	if (BPrivate::menu_item_layout(fMenu, index, NULL, &labelBaseline))
		where = itemBaseline - labelBaseline;

	fMenuOpen = true;
	Invalidate();
	window->UpdateIfNeeded();

	BRect clickToOpen = byMouse ? ConvertToScreen(Bounds()) : BRect();
	// The menu reaches at least to the button's right end.
	float minWidth = button.right + 1 - where.x;
	BMenuItem* chosen
		= BPrivate::track_menu(fMenu, where, clickToOpen, false, false, false, minWidth);

	fMenuOpen = false;
	Invalidate();
	if (chosen == NULL)
		return;
	BMenu* menu = chosen->Menu();
	if (menu != NULL && menu->IsRadioMode())
		chosen->SetMarked(true);
	chosen->Invoke();
}


//	#pragma mark - drawing


void
BMenuField::Draw(BRect updateRect)
{
	(void)updateRect;
	_DrawLabel();
	_DrawButton();
}


void
BMenuField::_DrawLabel()
{
	if (fLabel == NULL || fDivider <= 0)
		return;
	BRect rect(0, 0, fDivider, Bounds().bottom);
	rgb_color background = LowColor();
	rgb_color color = ui_color(B_PANEL_TEXT_COLOR);
	if (fMenuOpen) {
		// While the menu is open the label is highlighted.
		rgb_color selected = ui_color(B_MENU_SELECTED_BACKGROUND_COLOR);
		SetHighColor(selected);
		FillRect(rect.InsetByCopy(0, 2));
		color = ui_color(B_MENU_SELECTED_ITEM_TEXT_COLOR);
	} else if (!fEnabled)
		color = disable_color(color, background);
	float horizontal = fAlign == B_ALIGN_RIGHT ? 1 : (fAlign == B_ALIGN_CENTER ? 0.5f : 0);
	draw_label(this, fLabel, rect, color, horizontal);
}


void
BMenuField::_DrawButton()
{
	BRect button = _ButtonFrame();
	if (!button.IsValid())
		return;
	rgb_color background = LowColor();
	rgb_color base = ui_color(B_CONTROL_BACKGROUND_COLOR);
	bool focused = fEnabled && IsFocus() && Window() != NULL && Window()->IsActive();

	// The frame, two pixels around the button
	BRect frame = button.InsetByCopy(-2, -2);
	draw_recessed_edge(this, &frame, background, fEnabled);
	if (focused) {
		rgb_color blue = ui_color(B_KEYBOARD_NAVIGATION_COLOR);
		draw_ring(this, &frame, blue, blue, blue, blue);
	} else if (fEnabled) {
		rgb_color light = tint_color(base, 1.35f);
		rgb_color dark = tint_color(base, 1.485f);
		draw_ring(this, &frame, light, light, dark, dark);
	} else {
		rgb_color light = tint_color(base, 1.148f);
		rgb_color dark = tint_color(base, 1.26f);
		draw_ring(this, &frame, light, light, dark, dark);
	}

	BRect body(button.left, button.top, button.right - kIndicatorWidth, button.bottom);
	BRect indicator(button.right - kIndicatorWidth + 2, button.top, button.right, button.bottom);
	if (fMenuOpen) {
		// The item as an open menu's selected item shows
		BPrivate::draw_selected_menu_item(this, button);
	} else {
		// The body part: a bevel without its right side, and the glossy fill
		float half = fEnabled ? 0 : 0.5f;
		rgb_color left = tint_color(base, 0.5f + (1 - 0.5f) * half);
		rgb_color top = tint_color(base, 0.3f + (1 - 0.3f) * half);
		rgb_color bottom = tint_color(base, 1.03f + (1 - 1.03f) * half);
		rgb_color corner = tint_color(base, 0.85f + (1 - 0.85f) * half);
		BeginLineArray(4);
		AddLine(BPoint(body.left, body.top), BPoint(body.right, body.top), top);
		AddLine(BPoint(body.left, body.top + 1), BPoint(body.left, body.bottom - 1), left);
		AddLine(body.LeftBottom(), body.LeftBottom(), corner);
		AddLine(BPoint(body.left + 1, body.bottom), body.RightBottom(), bottom);
		EndLineArray();
		BRect fill(body.left + 1, body.top + 1, body.right, body.bottom - 1);
		if (fEnabled)
			fill_glossy(this, fill, base, 0.6f, 0.75f, 0.9f, 1.01f);
		else
			fill_glossy(this, fill, base, 0.8f, 0.875f, 0.95f, 1.005f);

		// The separator and the indicator, a shade darker
		SetHighColor(tint_color(base, 1.105f));
		StrokeLine(
			BPoint(indicator.left - 1, button.top), BPoint(indicator.left - 1, button.bottom));
		rgb_color indicatorBase = tint_color(base, fEnabled ? 1.12f : 1.05f);
		rgb_color bevelTop = tint_color(indicatorBase, fEnabled ? 0.3f : 0.7f);
		rgb_color bevelDark = tint_color(indicatorBase, fEnabled ? 1.03f : 1.01f);
		rgb_color bevelCorner = tint_color(indicatorBase, fEnabled ? 0.85f : 0.8f);
		BeginLineArray(4);
		AddLine(indicator.LeftTop(), BPoint(indicator.right - 1, indicator.top), bevelTop);
		AddLine(indicator.RightTop(), indicator.RightTop(), bevelCorner);
		AddLine(BPoint(indicator.right, indicator.top + 1), indicator.RightBottom(), bevelDark);
		AddLine(indicator.LeftBottom(), BPoint(indicator.right - 1, indicator.bottom), bevelDark);
		EndLineArray();
		BRect inner(indicator.left, indicator.top + 1, indicator.right - 1, indicator.bottom - 1);
		if (fEnabled)
			fill_glossy(this, inner, indicatorBase, 0.6f, 0.75f, 0.9f, 1.01f);
		else
			fill_glossy(this, inner, indicatorBase, 0.8f, 0.875f, 0.95f, 1.005f);
	}

	// The pop-up marker: a small triangle pointing down, centred in the indicator
	BRect inner(indicator.left, indicator.top + 1, indicator.right - 1, indicator.bottom - 1);
	float centerX = (inner.left + inner.right + 1) / 2;
	float centerY = (inner.top + inner.bottom + 1) / 2;
	float half = 2.5f;
	SetHighColor(tint_color(base, fEnabled ? 1.65f : 1.35f));
	FillTriangle(BPoint(centerX - half, centerY - 0.5f), BPoint(centerX + half, centerY - 0.5f),
		BPoint(centerX, centerY + 2));

	// The item's label
	const char* itemLabel = fMenuItem->Label();
	if (itemLabel != NULL && itemLabel[0] != '\0') {
		font_height height;
		GetFontHeight(&height);
		BString text(itemLabel);
		float room = body.right - 2 - (body.left + kItemLeftMargin);
		TruncateString(&text, B_TRUNCATE_END, fmaxf(room, 0));
		rgb_color color
			= ui_color(fMenuOpen ? B_MENU_SELECTED_ITEM_TEXT_COLOR : B_MENU_ITEM_TEXT_COLOR);
		if (!fEnabled)
			color = tint_color(ui_color(B_MENU_BACKGROUND_COLOR), B_DISABLED_LABEL_TINT);
		SetHighColor(color);
		SetDrawingMode(B_OP_OVER);
		DrawString(text.String(),
			BPoint(
				body.left + kItemLeftMargin, roundf(button.top + kItemTopMargin + height.ascent)));
		SetDrawingMode(B_OP_COPY);
	}
	SetHighColor(ui_color(B_PANEL_TEXT_COLOR));
}
