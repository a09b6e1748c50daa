/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <Message.h>
#include <Window.h>

#include <ViewPrivate.h>


using BPrivate::ViewOwner;
using BPrivate::ViewState;


// Frames are whole pixels; values that are not numbers count as 0.
static float
round_coordinate(float value)
{
	if (!isfinite(value))
		return 0.0f;
	return roundf(value);
}


static uint32
color_to_int(rgb_color color)
{
	uint32 value;
	memcpy(&value, &color, sizeof(value));
	return value;
}


static rgb_color
int_to_color(uint32 value)
{
	rgb_color color;
	memcpy(&color, &value, sizeof(color));
	return color;
}


//	#pragma mark - BView


BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags) : BHandler(name)
{
	_InitData(frame, name, resizingMode, flags);
}


BView::BView(BMessage* archive) : BHandler(archive)
{
	BRect frame(0, 0, -1, -1);
	int32 resizingMode = B_FOLLOW_NONE;
	int32 flags = 0;
	if (archive != NULL) {
		archive->FindRect("_frame", &frame);
		archive->FindInt32("_resize_mode", &resizingMode);
		archive->FindInt32("_flags", &flags);
	}
	_InitData(frame, Name(), (uint32)resizingMode, (uint32)flags);
	if (archive == NULL)
		return;

	const char* family;
	const char* style;
	if (archive->FindString("_fname", 0, &family) == B_OK
		&& archive->FindString("_fname", 1, &style) == B_OK) {
		BFont font;
		if (font.SetFamilyAndStyle(family, style) == B_OK)
			fState->font = font;
	}
	float value;
	if (archive->FindFloat("_fflt", 0, &value) == B_OK)
		fState->font.SetSize(value);
	if (archive->FindFloat("_fflt", 1, &value) == B_OK)
		fState->font.SetShear(value);
	if (archive->FindFloat("_fflt", 2, &value) == B_OK)
		fState->font.SetRotation(value);

	int32 color;
	if (archive->FindInt32("_color", 0, &color) == B_OK)
		fState->highColor = int_to_color((uint32)color);
	if (archive->FindInt32("_color", 1, &color) == B_OK)
		fState->lowColor = int_to_color((uint32)color);
	if (archive->FindInt32("_color", 2, &color) == B_OK)
		fViewColor = int_to_color((uint32)color);

	BPoint point;
	if (archive->FindPoint("_origin", &point) == B_OK)
		SetOrigin(point);
	if (archive->FindFloat("_psize", &value) == B_OK)
		SetPenSize(value);
	if (archive->FindPoint("_ploc", &point) == B_OK)
		MovePenTo(point);
	int16 cap;
	int16 join;
	if (archive->FindInt16("_lmcapjoin", 0, &cap) == B_OK
		&& archive->FindInt16("_lmcapjoin", 1, &join) == B_OK
		&& archive->FindFloat("_lmmiter", &value) == B_OK)
		SetLineMode((cap_mode)cap, (join_mode)join, value);
	int16 alphaSource;
	int16 alphaFunction;
	if (archive->FindInt16("_blend", 0, &alphaSource) == B_OK
		&& archive->FindInt16("_blend", 1, &alphaFunction) == B_OK)
		SetBlendingMode((source_alpha)alphaSource, (alpha_function)alphaFunction);
	int32 mode;
	if (archive->FindInt32("_dmod", &mode) == B_OK && mode >= B_OP_COPY && mode <= B_OP_ALPHA)
		SetDrawingMode((drawing_mode)mode);

	BMessage childArchive;
	for (int32 i = 0; archive->FindMessage("_views", i, &childArchive) == B_OK; i++) {
		BArchivable* object = instantiate_object(&childArchive);
		BView* child = dynamic_cast<BView*>(object);
		if (child != NULL)
			AddChild(child);
		else
			delete object;
	}
}


BView::~BView()
{
	if (fOwner != NULL && !fTopLevelView)
		fprintf(stderr, "BView::~BView(): \"%s\" is still attached; it leaves first\n",
			Name() != NULL ? Name() : "");
	RemoveSelf();
	if (fOwner != NULL)
		_SetOwner(NULL);

	// The children go with their parent.
	BView* child = fFirstChild;
	while (child != NULL) {
		BView* next = child->fNextSibling;
		child->fParent = NULL;
		child->fPreviousSibling = NULL;
		child->fNextSibling = NULL;
		delete child;
		child = next;
	}
	fFirstChild = NULL;

	delete fLineArray;
	while (fState != NULL) {
		ViewState* previous = fState->previous;
		delete fState;
		fState = previous;
	}
}


void
BView::_InitData(BRect frame, const char* name, uint32 resizingMode, uint32 flags)
{
	(void)name;
	frame.left = round_coordinate(frame.left);
	frame.top = round_coordinate(frame.top);
	frame.right = round_coordinate(frame.right);
	frame.bottom = round_coordinate(frame.bottom);

	fParentOffset.Set(frame.left, frame.top);
	fBounds = frame.OffsetToCopy(B_ORIGIN);
	fState = new ViewState;
	fOwner = NULL;
	fParent = NULL;
	fFirstChild = NULL;
	fNextSibling = NULL;
	fPreviousSibling = NULL;
	fFlags = (resizingMode & _RESIZE_MASK_) | (flags & ~_RESIZE_MASK_);
	fShowLevel = 0;
	fTopLevelView = false;
	fAttached = false;
	fViewColor = make_color(255, 255, 255);
	fLineArray = NULL;
	fUpdateRect = BRect();
	fInUpdate = false;
}


BArchivable*
BView::Instantiate(BMessage* archive)
{
	if (!validate_instantiation(archive, "BView"))
		return NULL;
	return new BView(archive);
}


status_t
BView::Archive(BMessage* archive, bool deep) const
{
	status_t status = BHandler::Archive(archive, deep);
	if (status != B_OK)
		return status;

	status = archive->AddRect("_frame", Frame());
	if (status == B_OK)
		status = archive->AddInt32("_resize_mode", (int32)ResizingMode());
	if (status == B_OK)
		status = archive->AddInt32("_flags", (int32)Flags());

	font_family family;
	font_style style;
	fState->font.GetFamilyAndStyle(&family, &style);
	if (status == B_OK && family[0] != '\0') {
		status = archive->AddString("_fname", family);
		if (status == B_OK)
			status = archive->AddString("_fname", style);
	}
	if (status == B_OK)
		status = archive->AddFloat("_fflt", fState->font.Size());
	if (status == B_OK)
		status = archive->AddFloat("_fflt", fState->font.Shear());
	if (status == B_OK)
		status = archive->AddFloat("_fflt", fState->font.Rotation());

	if (status == B_OK)
		status = archive->AddInt32("_color", (int32)color_to_int(fState->highColor));
	if (status == B_OK)
		status = archive->AddInt32("_color", (int32)color_to_int(fState->lowColor));
	if (status == B_OK)
		status = archive->AddInt32("_color", (int32)color_to_int(fViewColor));

	if (status == B_OK)
		status = archive->AddPoint("_origin", fState->origin);
	if (status == B_OK)
		status = archive->AddFloat("_psize", fState->penSize);
	if (status == B_OK)
		status = archive->AddPoint("_ploc", fState->penLocation);
	if (status == B_OK)
		status = archive->AddInt16("_lmcapjoin", (int16)fState->lineCap);
	if (status == B_OK)
		status = archive->AddInt16("_lmcapjoin", (int16)fState->lineJoin);
	if (status == B_OK)
		status = archive->AddFloat("_lmmiter", fState->miterLimit);
	if (status == B_OK)
		status = archive->AddInt16("_blend", (int16)fState->alphaSource);
	if (status == B_OK)
		status = archive->AddInt16("_blend", (int16)fState->alphaFunction);
	if (status == B_OK)
		status = archive->AddInt32("_dmod", (int32)fState->drawingMode);

	if (deep) {
		for (BView* child = fFirstChild; child != NULL && status == B_OK;
			 child = child->fNextSibling) {
			BMessage childArchive;
			if (child->Archive(&childArchive, true) == B_OK)
				status = archive->AddMessage("_views", &childArchive);
		}
	}
	return status;
}


//	#pragma mark - hooks


void
BView::AttachedToWindow()
{ }


void
BView::AllAttached()
{ }


void
BView::DetachedFromWindow()
{ }


void
BView::AllDetached()
{ }


void
BView::MessageReceived(BMessage* message)
{
	BHandler::MessageReceived(message);
}


void
BView::Draw(BRect updateRect)
{
	(void)updateRect;
}


void
BView::DrawAfterChildren(BRect updateRect)
{
	(void)updateRect;
}


void
BView::MouseDown(BPoint where)
{
	(void)where;
}


void
BView::MouseUp(BPoint where)
{
	(void)where;
}


void
BView::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
	(void)where;
	(void)transit;
	(void)dragMessage;
}


void
BView::WindowActivated(bool active)
{
	(void)active;
}


void
BView::KeyDown(const char* bytes, int32 numBytes)
{
	// Tab moves the focus on, Shift+Tab back; with Command, Control, Option or Menu held it
	// is left to others.
	if (numBytes < 1 || bytes[0] != B_TAB || fOwner == NULL || fOwner->Window() == NULL)
		return;
	uint32 keys = modifiers();
	BMessage* message = Window()->CurrentMessage();
	if (message != NULL)
		keys = (uint32)message->GetInt32("modifiers", (int32)keys);
	if ((keys & (B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY | B_MENU_KEY)) != 0)
		return;
	BPrivate::ViewPrivate::Navigate(BPrivate::ViewPrivate::TopView(this),
		IsFocus() ? this : Window()->CurrentFocus(), (keys & B_SHIFT_KEY) != 0);
}


void
BView::KeyUp(const char* bytes, int32 numBytes)
{
	(void)bytes;
	(void)numBytes;
}


void
BView::Pulse()
{ }


void
BView::FrameMoved(BPoint newPosition)
{
	(void)newPosition;
}


void
BView::FrameResized(float newWidth, float newHeight)
{
	(void)newWidth;
	(void)newHeight;
}


void
BView::GetPreferredSize(float* _width, float* _height)
{
	if (_width != NULL)
		*_width = fBounds.Width();
	if (_height != NULL)
		*_height = fBounds.Height();
}


void
BView::ResizeToPreferred()
{
	float width;
	float height;
	GetPreferredSize(&width, &height);
	ResizeTo(width, height);
}


//	#pragma mark - the view tree


void
BView::AddChild(BView* child, BView* before)
{
	if (child == NULL)
		return;
	if (child->fParent != NULL || child->fTopLevelView) {
		fprintf(stderr, "BView::AddChild(): \"%s\" already has a parent\n",
			child->Name() != NULL ? child->Name() : "");
		return;
	}
	for (const BView* ancestor = this; ancestor != NULL; ancestor = ancestor->fParent) {
		if (ancestor == child) {
			fprintf(stderr, "BView::AddChild(): a view cannot be its own descendant\n");
			return;
		}
	}
	if (before != NULL && before->fParent != this) {
		fprintf(stderr, "BView::AddChild(): the sibling is not a child of this view\n");
		return;
	}

	ViewOwner* owner = fOwner;
	if (owner != NULL && !owner->Lock())
		return;

	if (before == NULL) {
		BView* last = fFirstChild;
		while (last != NULL && last->fNextSibling != NULL)
			last = last->fNextSibling;
		child->fPreviousSibling = last;
		child->fNextSibling = NULL;
		if (last != NULL)
			last->fNextSibling = child;
		else
			fFirstChild = child;
	} else {
		child->fNextSibling = before;
		child->fPreviousSibling = before->fPreviousSibling;
		if (before->fPreviousSibling != NULL)
			before->fPreviousSibling->fNextSibling = child;
		else
			fFirstChild = child;
		before->fPreviousSibling = child;
	}
	child->fParent = this;

	if (owner != NULL) {
		child->_SetOwner(owner);
		child->_Attach();
		child->_InvalidateInParent(child->Frame());
		owner->Unlock();
	}
}


bool
BView::RemoveChild(BView* child)
{
	if (child == NULL || child->fParent != this)
		return false;
	return child->RemoveSelf();
}


int32
BView::CountChildren() const
{
	int32 count = 0;
	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling)
		count++;
	return count;
}


BView*
BView::ChildAt(int32 index) const
{
	if (index < 0)
		return NULL;
	BView* child = fFirstChild;
	while (child != NULL && index-- > 0)
		child = child->fNextSibling;
	return child;
}


BView*
BView::NextSibling() const
{
	return fNextSibling;
}


BView*
BView::PreviousSibling() const
{
	return fPreviousSibling;
}


bool
BView::RemoveSelf()
{
	BView* parent = fParent;
	if (parent == NULL)
		return false;

	ViewOwner* owner = fOwner;
	if (owner != NULL && !owner->Lock())
		return false;

	BRect frame = Frame();
	if (owner != NULL)
		_Detach();

	// A hook may have removed the view already.
	if (fParent == parent) {
		if (fPreviousSibling != NULL)
			fPreviousSibling->fNextSibling = fNextSibling;
		else
			parent->fFirstChild = fNextSibling;
		if (fNextSibling != NULL)
			fNextSibling->fPreviousSibling = fPreviousSibling;
		fParent = NULL;
		fNextSibling = NULL;
		fPreviousSibling = NULL;
	}

	if (owner != NULL) {
		_SetOwner(NULL);
		parent->_InvalidateInParent(frame);
		owner->Unlock();
	}
	return true;
}


BView*
BView::Parent() const
{
	if (fParent != NULL && fParent->fTopLevelView)
		return NULL;
	return fParent;
}


BView*
BView::FindView(const char* name) const
{
	if (name == NULL)
		return NULL;
	if (Name() != NULL && strcmp(Name(), name) == 0)
		return const_cast<BView*>(this);
	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling) {
		BView* found = child->FindView(name);
		if (found != NULL)
			return found;
	}
	return NULL;
}


BWindow*
BView::Window() const
{
	return fOwner != NULL ? fOwner->Window() : NULL;
}


void
BView::_SetOwner(ViewOwner* owner)
{
	fOwner = owner;
	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling)
		child->_SetOwner(owner);
}


// AttachedToWindow() goes down the tree, parents first; AllAttached() comes back up,
// children first.
void
BView::_Attach()
{
	if (fOwner == NULL)
		return;

	fOwner->ViewAttached(this);
	AttachedToWindow();
	fAttached = true;
	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling) {
		// Children that AttachedToWindow() added are attached already.
		if (!child->fAttached)
			child->_Attach();
	}
	AllAttached();
}


void
BView::_Detach()
{
	if (fOwner == NULL)
		return;

	DetachedFromWindow();
	fAttached = false;
	for (BView* child = fFirstChild; child != NULL; child = child->fNextSibling)
		child->_Detach();
	AllDetached();

	if (fOwner != NULL) {
		if (fOwner->FocusView() == this)
			fOwner->SetFocusView(this, false);
		fOwner->ViewDetached(this);
	}
}
