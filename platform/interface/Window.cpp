/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Window.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <atomic>
#include <new>

#include <AppDefs.h>
#include <Application.h>
#include <Button.h>
#include <Message.h>
#include <MessageQueue.h>
#include <MessageRunner.h>
#include <Messenger.h>
#include <View.h>

#include "AppPrivate.h"
#include "Display.h"
#include "ViewOwner.h"
#include "ViewPrivate.h"


using BPrivate::Display;
using BPrivate::DrawTarget;
using BPrivate::ViewPrivate;


// Asks the window to draw what is dirty; one is on its way while fUpdatePending is set.
static const uint32 kMsgUpdate = '_UPD';

// Larger windows get no back buffer (their views draw nothing).
static const int32 kMaxBufferSize = 16384;
static const float kMaxWindowSize = 32768;

static const rgb_color kBufferColor = {255, 255, 255, 255};


static void
set_point(BMessage* message, const char* name, BPoint point)
{
	if (message->ReplacePoint(name, point) != B_OK)
		message->AddPoint(name, point);
}


static void
set_int32(BMessage* message, const char* name, int32 value)
{
	if (message->ReplaceInt32(name, value) != B_OK)
		message->AddInt32(name, value);
}


namespace BPrivate {


// What the window is to its views and to its display.
class WindowOwner : public ViewOwner, public DisplayClient {
public:
	WindowOwner(BWindow* window) : fWindow(window) { }

	virtual bool
	GetDrawTarget(DrawTarget* target)
	{
		if (fWindow->fBuffer == NULL)
			return false;
		target->bits = fWindow->fBuffer;
		target->bytesPerRow = fWindow->fBufferWidth * 4;
		target->width = fWindow->fBufferWidth;
		target->height = fWindow->fBufferHeight;
		target->colorSpace = B_RGB32;
		return true;
	}

	virtual void
	Invalidate(BRect rect)
	{
		fWindow->_Invalidate(rect);
	}

	virtual bool
	Lock()
	{
		return fWindow->Lock();
	}

	virtual void
	Unlock()
	{
		fWindow->Unlock();
	}

	virtual bool
	IsLocked() const
	{
		return fWindow->IsLocked();
	}

	virtual BWindow*
	Window() const
	{
		return fWindow;
	}

	virtual BPoint
	ScreenOrigin() const
	{
		return fWindow->fFrame.LeftTop();
	}

	virtual void
	ViewAttached(BView* view)
	{
		fWindow->_ViewAttached(view);
	}

	virtual void
	ViewDetached(BView* view)
	{
		fWindow->_ViewDetached(view);
	}

	virtual BView*
	FocusView() const
	{
		return fWindow->fFocus;
	}

	virtual void
	SetFocusView(BView* view, bool focused)
	{
		BView* previous = fWindow->fFocus;
		if (!focused) {
			if (previous == view)
				fWindow->fFocus = NULL;
			return;
		}
		if (previous == view)
			return;
		// The view that had the focus loses it first, still being the focus while it is
		// told (so that it sees the change and can redraw).
		if (previous != NULL)
			previous->MakeFocus(false);
		fWindow->fFocus = view;
	}

	virtual void
	GetMouse(BPoint* where, uint32* buttons, bool checkQueue)
	{
		(void)checkQueue;
		if (where != NULL)
			*where = fWindow->fMousePosition;
		if (buttons != NULL)
			*buttons = fWindow->fMouseButtons;
	}

	virtual void
	PostDisplayMessage(BMessage* message)
	{
		// A window busy for a while must not lose a release, a key or a quit request behind
		// the moves the pointer made meanwhile: past half its queue, moves are left out (the
		// next one, or the release, tells where the pointer is).
		if (message->what == B_MOUSE_MOVED) {
			BMessageQueue* queue = fWindow->MessageQueue();
			if (queue != NULL && queue->CountMessages() >= B_LOOPER_PORT_DEFAULT_CAPACITY / 2)
				return;
		}
		fWindow->PostMessage(message);
	}

	virtual BWindow*
	ClientWindow() const
	{
		return fWindow;
	}

private:
	BWindow* fWindow;
};


} // namespace BPrivate


using BPrivate::WindowOwner;


static BRect
sane_frame(BRect frame)
{
	if (!isfinite(frame.left) || !isfinite(frame.top) || !isfinite(frame.right)
		|| !isfinite(frame.bottom))
		return BRect(0, 0, 0, 0);
	frame.left = roundf(frame.left);
	frame.top = roundf(frame.top);
	frame.right = roundf(frame.right);
	frame.bottom = roundf(frame.bottom);
	if (frame.right < frame.left)
		frame.right = frame.left;
	if (frame.bottom < frame.top)
		frame.bottom = frame.top;
	if (frame.Width() > kMaxWindowSize)
		frame.right = frame.left + kMaxWindowSize;
	if (frame.Height() > kMaxWindowSize)
		frame.bottom = frame.top + kMaxWindowSize;
	return frame;
}


BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags, uint32)
	: BLooper(title), fFrame(sane_frame(frame)), fTitle(title), fType(type), fFlags(flags),
	  fPulseRate(500000), fShowLevel(1), fActive(false), fOwner(NULL), fDisplayWindow(NULL),
	  fTopView(NULL), fFocus(NULL), fDefaultButton(NULL), fMouseView(NULL), fLastMouseView(NULL),
	  fMousePosition(-1, -1), fMouseButtons(0), fBuffer(NULL), fBufferWidth(0), fBufferHeight(0),
	  fDirty(), fUpdatePending(false), fDeleting(false), fMinWidth(0), fMaxWidth(kMaxWindowSize),
	  fMinHeight(0), fMaxHeight(kMaxWindowSize), fPulseRunner(NULL), fPulseRunnerRate(0)
{
	fOwner = new WindowOwner(this);
	// The pixels come when the window is first shown, once its size limits hold: a window
	// made with a huge frame and then limited never needs them at that size.

	fTopView = new BView(Bounds(), NULL, B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
	AddHandler(fTopView);
	ViewPrivate::SetTopView(fTopView, fOwner);

	Display* display = Display::Default();
	if (display != NULL)
		fDisplayWindow = display->CreateWindow(fOwner, fFrame, fTitle.String(), type, flags);

	// The first update draws everything.
	_Invalidate(Bounds());

	BPrivate::register_window_looper(this);
}


BWindow::~BWindow()
{
	fDeleting = true;
	BPrivate::unregister_window_looper(this);
	delete fPulseRunner;
	fPulseRunner = NULL;

	// Off the screen: no more events come.
	delete fDisplayWindow;
	fDisplayWindow = NULL;

	Lock();
	RemoveHandler(fTopView);
	ViewPrivate::DeleteTopView(fTopView);
	fTopView = NULL;
	Unlock();

	delete fOwner;
	delete[] fBuffer;
}


void
BWindow::Quit()
{
	if (!Lock())
		return;
	if (fDisplayWindow != NULL)
		fDisplayWindow->Hide();
	// The application ends with this window.
	if ((fFlags & B_QUIT_ON_WINDOW_CLOSE) != 0 && be_app_messenger.IsValid())
		be_app_messenger.SendMessage(B_QUIT_REQUESTED);
	BLooper::Quit();
}


// What the last input event said of the modifier keys, for modifiers()
static std::atomic<uint32> sModifiers(0);


uint32
modifiers()
{
	return sModifiers.load();
}


//	#pragma mark - hooks


void
BWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (message == NULL || handler == NULL)
		return;

	if ((message->what == B_KEY_DOWN || message->what == B_KEY_UP
			|| message->what == B_UNMAPPED_KEY_DOWN || message->what == B_UNMAPPED_KEY_UP)
		&& handler == this)
		sModifiers = (uint32)message->GetInt32("modifiers", (int32)sModifiers.load());

	switch (message->what) {
	case kMsgUpdate:
		if (handler == this)
			_Update();
		else
			BLooper::DispatchMessage(message, handler);
		break;

	case B_MOUSE_DOWN:
	case B_MOUSE_UP:
	case B_MOUSE_MOVED: {
		if (handler == this) {
			sModifiers = (uint32)message->GetInt32("modifiers", (int32)sModifiers.load());
			_HandleMouse(message);
			break;
		}
		// Sent to a view: its hook gets the point the message names.
		BView* view = dynamic_cast<BView*>(handler);
		BPoint where;
		if (view == NULL || message->FindPoint("where", &where) != B_OK) {
			BLooper::DispatchMessage(message, handler);
			break;
		}
		if (message->what == B_MOUSE_DOWN)
			view->MouseDown(where);
		else if (message->what == B_MOUSE_UP)
			view->MouseUp(where);
		else
			view->MouseMoved(where, (uint32)message->GetInt32("be:transit", B_INSIDE_VIEW), NULL);
		break;
	}

	case B_KEY_DOWN:
	case B_KEY_UP:
		_HandleKey(message, handler);
		break;

	case B_WINDOW_ACTIVATED: {
		bool active;
		if (handler != this || message->FindBool("active", &active) != B_OK) {
			BLooper::DispatchMessage(message, handler);
			break;
		}
		fActive = active;
		WindowActivated(active);
		_WindowActivated(fTopView, active);
		break;
	}

	case B_WINDOW_MOVED: {
		BPoint where;
		if (handler != this || message->FindPoint("where", &where) != B_OK) {
			BLooper::DispatchMessage(message, handler);
			break;
		}
		// The user moved it: take the new place.
		if (!message->GetBool("_applied", false)) {
			where = sane_frame(BRect(where, where)).LeftTop();
			fFrame.OffsetTo(where);
		}
		FrameMoved(where);
		break;
	}

	case B_WINDOW_RESIZED: {
		float width;
		float height;
		if (handler != this || message->FindFloat("width", &width) != B_OK
			|| message->FindFloat("height", &height) != B_OK) {
			BLooper::DispatchMessage(message, handler);
			break;
		}
		if (!message->GetBool("_applied", false)) {
			// The user resized it: within the limits.
			if (!isfinite(width) || !isfinite(height))
				break;
			const float shownWidth = roundf(width);
			const float shownHeight = roundf(height);
			width = fmaxf(fMinWidth, fminf(fMaxWidth, shownWidth));
			height = fmaxf(fMinHeight, fminf(fMaxHeight, shownHeight));
			// The display already shows the size the user gave it; only a size the limits
			// changed goes back. (Sent back anyway, a size the user has already left would
			// undo the next step of a resize in progress.)
			_SetSize(width, height, width != shownWidth || height != shownHeight);
		}
		FrameResized(width, height);
		break;
	}

	case B_MOUSE_WHEEL_CHANGED:
		// The wheel turns for the view under the pointer.
		if (handler == this && fLastMouseView != NULL)
			fLastMouseView->MessageReceived(message);
		else
			BLooper::DispatchMessage(message, handler);
		break;

	case B_PULSE:
		if (handler != this) {
			BLooper::DispatchMessage(message, handler);
			break;
		}
		_Pulse(fTopView);
		break;

	default:
		if (handler == this && message->WasDropped() && fTopView != NULL) {
			// A drop goes to the view under the drop point; what it leaves climbs the
			// handler chain to the window.
			BPoint where = ConvertFromScreen(message->DropPoint());
			BView* view = ViewPrivate::ViewAt(fTopView, where);
			BHandler* target = view != NULL ? _HandlerFilter(message, view) : this;
			if (target != NULL)
				target->MessageReceived(message);
			break;
		}
		BLooper::DispatchMessage(message, handler);
		break;
	}
}


void
BWindow::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}


void
BWindow::FrameMoved(BPoint newPosition)
{
	(void)newPosition;
}


void
BWindow::FrameResized(float newWidth, float newHeight)
{
	(void)newWidth;
	(void)newHeight;
}


void
BWindow::WindowActivated(bool active)
{
	(void)active;
}


//	#pragma mark - views


void
BWindow::AddChild(BView* child, BView* before)
{
	if (child == NULL || !Lock())
		return;
	fTopView->AddChild(child, before);
	Unlock();
}


bool
BWindow::RemoveChild(BView* child)
{
	if (child == NULL || !Lock())
		return false;
	bool removed = fTopView->RemoveChild(child);
	Unlock();
	return removed;
}


int32
BWindow::CountChildren() const
{
	return fTopView->CountChildren();
}


BView*
BWindow::ChildAt(int32 index) const
{
	return fTopView->ChildAt(index);
}


BView*
BWindow::FindView(const char* viewName) const
{
	if (viewName == NULL)
		return NULL;
	for (BView* child = fTopView->ChildAt(0); child != NULL; child = child->NextSibling()) {
		BView* found = child->FindView(viewName);
		if (found != NULL)
			return found;
	}
	return NULL;
}


BView*
BWindow::FindView(BPoint point) const
{
	BView* found = ViewPrivate::ViewAt(fTopView, point);
	return found != fTopView ? found : NULL;
}


BView*
BWindow::CurrentFocus() const
{
	return fFocus;
}


void
BWindow::SetDefaultButton(BButton* button)
{
	if (button == fDefaultButton)
		return;
	BButton* previous = fDefaultButton;
	fDefaultButton = button;
	if (previous != NULL)
		previous->MakeDefault(false);
	if (button != NULL)
		button->MakeDefault(true);
}


BButton*
BWindow::DefaultButton() const
{
	return fDefaultButton;
}


void
BWindow::_ViewAttached(BView* view)
{
	AddHandler(view);
	// Messages a view does not handle go to its parent, and from the top view to the window.
	view->SetNextHandler(view->fParent != NULL ? static_cast<BHandler*>(view->fParent) : this);
	if ((view->Flags() & B_PULSE_NEEDED) != 0)
		_UpdatePulse(true);
}


void
BWindow::_ViewDetached(BView* view)
{
	RemoveHandler(view);
	if (fMouseView == view)
		fMouseView = NULL;
	if (fLastMouseView == view)
		fLastMouseView = NULL;
	if (fFocus == view)
		fFocus = NULL;
	if (fDefaultButton == view)
		fDefaultButton = NULL;
	if ((view->Flags() & B_PULSE_NEEDED) != 0 && !fDeleting)
		_UpdatePulse(false);
}


//	#pragma mark - updates


void
BWindow::_Invalidate(BRect rect)
{
	if (fDeleting)
		return;
	rect = rect & Bounds();
	if (!rect.IsValid())
		return;
	fDirty = fDirty.IsValid() ? (fDirty | rect) : rect;
	if (!fUpdatePending) {
		fUpdatePending = true;
		PostMessage(kMsgUpdate);
	}
}


// Draws the dirty part of the view tree into the back buffer and hands it to the display.
void
BWindow::_Update()
{
	fUpdatePending = false;
	BRect dirty = fDirty & Bounds();
	fDirty = BRect();
	if (!dirty.IsValid() || fTopView == NULL)
		return;

	ViewPrivate::DrawTree(fTopView, dirty);

	DrawTarget target;
	if (fDisplayWindow != NULL && fOwner->GetDrawTarget(&target))
		fDisplayWindow->UpdateContents(target, dirty);
}


void
BWindow::UpdateIfNeeded()
{
	if (find_thread(NULL) != Thread() || !IsLocked())
		return;
	_Update();
}


bool
BWindow::NeedsUpdate() const
{
	return fDirty.IsValid();
}


bool
BWindow::_AllocateBuffer(int32 width, int32 height)
{
	uint8* buffer = NULL;
	if (width > 0 && height > 0 && width <= kMaxBufferSize && height <= kMaxBufferSize)
		buffer = new (std::nothrow) uint8[(size_t)width * height * 4];
	if (buffer != NULL) {
		uint32 pixel = (uint32)kBufferColor.blue | (uint32)kBufferColor.green << 8
			| (uint32)kBufferColor.red << 16 | 0xff000000U;
		uint32* pixels = reinterpret_cast<uint32*>(buffer);
		for (size_t i = 0; i < (size_t)width * height; i++)
			pixels[i] = pixel;
		// What was drawn stays where it was.
		if (fBuffer != NULL) {
			int32 rowBytes = (width < fBufferWidth ? width : fBufferWidth) * 4;
			int32 rows = height < fBufferHeight ? height : fBufferHeight;
			for (int32 y = 0; y < rows; y++) {
				memcpy(buffer + (size_t)y * width * 4, fBuffer + (size_t)y * fBufferWidth * 4,
					rowBytes);
			}
		}
	}
	delete[] fBuffer;
	fBuffer = buffer;
	fBufferWidth = buffer != NULL ? width : 0;
	fBufferHeight = buffer != NULL ? height : 0;
	return buffer != NULL;
}


//	#pragma mark - showing


void
BWindow::Show()
{
	bool runCalled = true;
	if (Lock()) {
		fShowLevel--;
		if (fShowLevel == 0 && fBuffer == NULL) {
			_AllocateBuffer((int32)fFrame.Width() + 1, (int32)fFrame.Height() + 1);
			_Invalidate(Bounds());
		}
		if (fShowLevel == 0 && fDisplayWindow != NULL)
			fDisplayWindow->Show();
		runCalled = _IsRunCalled();
		Unlock();
	}
	// The first Show() runs the window's thread, as on Haiku.
	if (!runCalled)
		Run();
}


void
BWindow::Hide()
{
	if (!Lock())
		return;
	fShowLevel++;
	if (fShowLevel == 1 && fDisplayWindow != NULL)
		fDisplayWindow->Hide();
	Unlock();
}


bool
BWindow::IsHidden() const
{
	return fShowLevel > 0;
}


void
BWindow::Activate(bool active)
{
	if (!Lock())
		return;
	if (!IsHidden() && fDisplayWindow != NULL)
		fDisplayWindow->Activate(active);
	Unlock();
}


bool
BWindow::IsActive() const
{
	return fActive;
}


//	#pragma mark - pulse


bool
BWindow::_NeedsPulse(const BView* view)
{
	if (view->fAttached && (view->Flags() & B_PULSE_NEEDED) != 0)
		return true;
	for (BView* child = view->fFirstChild; child != NULL; child = child->fNextSibling) {
		if (_NeedsPulse(child))
			return true;
	}
	return false;
}


// A runner sends B_PULSE at the pulse rate while a view needs it; needed says that one
// does, else the views are asked.
void
BWindow::_UpdatePulse(bool needed)
{
	if (!needed && fTopView != NULL)
		needed = _NeedsPulse(fTopView);
	if (!needed || fPulseRate <= 0) {
		delete fPulseRunner;
		fPulseRunner = NULL;
		return;
	}
	if (fPulseRunner != NULL && fPulseRunnerRate == fPulseRate)
		return;
	delete fPulseRunner;
	BMessage pulse(B_PULSE);
	fPulseRunner = new BMessageRunner(BMessenger(this), &pulse, fPulseRate);
	fPulseRunnerRate = fPulseRate;
}


void
BWindow::_Pulse(BView* view)
{
	BView* child = view->fFirstChild;
	if (view != fTopView && (view->Flags() & B_PULSE_NEEDED) != 0)
		view->Pulse();
	while (child != NULL) {
		BView* next = child->fNextSibling;
		_Pulse(child);
		child = next;
	}
}


void
BWindow::SetPulseRate(bigtime_t rate)
{
	if (rate < 0 || !Lock())
		return;
	fPulseRate = rate;
	_UpdatePulse(false);
	Unlock();
}


bigtime_t
BWindow::PulseRate() const
{
	return fPulseRate;
}


void
BWindow::_WindowActivated(BView* view, bool active)
{
	BView* child = view->fFirstChild;
	if (view != fTopView)
		view->WindowActivated(active);
	while (child != NULL) {
		BView* next = child->fNextSibling;
		_WindowActivated(child, active);
		child = next;
	}
}


//	#pragma mark - events


void
BWindow::_HandleMouse(BMessage* message)
{
	BPoint screenWhere;
	if (message->FindPoint("screen_where", &screenWhere) != B_OK) {
		BLooper::DispatchMessage(message, this);
		return;
	}
	BPoint where = screenWhere - fFrame.LeftTop();
	uint32 buttons = (uint32)message->GetInt32("buttons", 0);
	fMousePosition = where;
	fMouseButtons = buttons;

	BView* under = NULL;
	if (!message->GetBool("_exited", false))
		under = ViewPrivate::ViewAt(fTopView, where);

	switch (message->what) {
	case B_MOUSE_DOWN: {
		if (under == NULL)
			break;
		fMouseView = under;
		BPoint viewWhere = ViewPrivate::FromOwner(under, where);
		set_point(message, "where", viewWhere);
		set_point(message, "be:view_where", viewWhere);
		under->MouseDown(viewWhere);
		break;
	}

	case B_MOUSE_UP: {
		// The view that got the press gets the release.
		BView* view = fMouseView != NULL ? fMouseView : under;
		if (buttons == 0)
			fMouseView = NULL;
		if (view == NULL)
			break;
		BPoint viewWhere = ViewPrivate::FromOwner(view, where);
		set_point(message, "where", viewWhere);
		set_point(message, "be:view_where", viewWhere);
		view->MouseUp(viewWhere);
		break;
	}

	case B_MOUSE_MOVED: {
		set_point(message, "where", where);
		BView* last = fLastMouseView;
		fLastMouseView = under;
		struct {
			BView* view;
			uint32 transit;
		} moves[3] = {{NULL, 0}, {NULL, 0}, {NULL, 0}};
		int32 count = 0;
		if (last != under) {
			if (last != NULL)
				moves[count++] = {last, B_EXITED_VIEW};
			if (under != NULL)
				moves[count++] = {under, B_ENTERED_VIEW};
		} else if (under != NULL)
			moves[count++] = {under, B_INSIDE_VIEW};
		// While the buttons are held, the view that got the press follows the pointer.
		if (fMouseView != NULL && fMouseView != under && fMouseView != last)
			moves[count++] = {fMouseView, B_OUTSIDE_VIEW};

		for (int32 i = 0; i < count; i++) {
			// A hook may have removed the next view.
			if (moves[i].view != fLastMouseView && moves[i].view != last
				&& moves[i].view != fMouseView)
				continue;
			BPoint viewWhere = ViewPrivate::FromOwner(moves[i].view, where);
			set_point(message, "be:view_where", viewWhere);
			set_int32(message, "be:transit", (int32)moves[i].transit);
			moves[i].view->MouseMoved(viewWhere, moves[i].transit, NULL);
		}
		break;
	}
	}
}


void
BWindow::_HandleKey(BMessage* message, BHandler* handler)
{
	BView* view = dynamic_cast<BView*>(handler);
	if (handler == this)
		view = fFocus;
	const char* bytes = NULL;
	if (message->FindString("bytes", &bytes) != B_OK || bytes == NULL) {
		BLooper::DispatchMessage(message, handler);
		return;
	}

	if (handler == this && message->what == B_KEY_DOWN && (fFlags & B_CLOSE_ON_ESCAPE) != 0
		&& bytes[0] == B_ESCAPE && bytes[1] == '\0') {
		PostMessage(B_QUIT_REQUESTED);
		return;
	}
	// Enter without modifiers goes to the default button.
	if (handler == this && fDefaultButton != NULL && bytes[0] == B_ENTER && bytes[1] == '\0'
		&& (message->GetInt32("modifiers", 0)
			   & (B_COMMAND_KEY | B_OPTION_KEY | B_SHIFT_KEY | B_CONTROL_KEY | B_MENU_KEY))
			== 0)
		view = fDefaultButton;
	if (view == NULL && handler == this && message->what == B_KEY_DOWN && bytes[0] == B_TAB) {
		// No view has the focus: Tab gives it to the first one that takes it.
		uint32 keys = (uint32)message->GetInt32("modifiers", 0);
		if ((keys & (B_COMMAND_KEY | B_CONTROL_KEY | B_OPTION_KEY | B_MENU_KEY)) == 0) {
			ViewPrivate::Navigate(fTopView, NULL, (keys & B_SHIFT_KEY) != 0);
			return;
		}
	}
	if (view == NULL) {
		BLooper::DispatchMessage(message, handler);
		return;
	}
	if (message->what == B_KEY_DOWN)
		view->KeyDown(bytes, (int32)strlen(bytes));
	else
		view->KeyUp(bytes, (int32)strlen(bytes));
}


//	#pragma mark - frame


void
BWindow::MoveBy(float dx, float dy)
{
	MoveTo(fFrame.left + dx, fFrame.top + dy);
}


void
BWindow::MoveTo(BPoint point)
{
	MoveTo(point.x, point.y);
}


void
BWindow::MoveTo(float x, float y)
{
	if (!isfinite(x) || !isfinite(y) || !Lock())
		return;
	BPoint where(roundf(x), roundf(y));
	if (where != fFrame.LeftTop()) {
		fFrame.OffsetTo(where);
		if (fDisplayWindow != NULL)
			fDisplayWindow->SetFrame(fFrame);
		BMessage moved(B_WINDOW_MOVED);
		moved.AddPoint("where", where);
		moved.AddBool("_applied", true);
		PostMessage(&moved);
	}
	Unlock();
}


void
BWindow::ResizeBy(float dx, float dy)
{
	ResizeTo(fFrame.Width() + dx, fFrame.Height() + dy);
}


void
BWindow::ResizeTo(float width, float height)
{
	if (!isfinite(width) || !isfinite(height) || !Lock())
		return;
	width = roundf(fmaxf(fMinWidth, fminf(fMaxWidth, width)));
	height = roundf(fmaxf(fMinHeight, fminf(fMaxHeight, height)));
	if (width != fFrame.Width() || height != fFrame.Height()) {
		_SetSize(width, height);
		BMessage resized(B_WINDOW_RESIZED);
		resized.AddFloat("width", width);
		resized.AddFloat("height", height);
		resized.AddBool("_applied", true);
		PostMessage(&resized);
	}
	Unlock();
}


// Gives the window its new size now: back buffer, top view (the views follow their resizing
// modes) and display.
void
BWindow::_SetSize(float width, float height, bool tellDisplay)
{
	if (width == fFrame.Width() && height == fFrame.Height())
		return;
	fFrame.right = fFrame.left + width;
	fFrame.bottom = fFrame.top + height;
	if (fBuffer != NULL || fShowLevel <= 0)
		_AllocateBuffer((int32)width + 1, (int32)height + 1);
	fTopView->ResizeTo(width, height);
	_Invalidate(Bounds());
	if (fDisplayWindow != NULL && tellDisplay)
		fDisplayWindow->SetFrame(fFrame);
}


void
BWindow::SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight)
{
	if (!isfinite(minWidth) || !isfinite(maxWidth) || !isfinite(minHeight) || !isfinite(maxHeight)
		|| !Lock())
		return;
	fMinWidth = fmaxf(0, fminf(kMaxWindowSize, roundf(minWidth)));
	fMaxWidth = fmaxf(fMinWidth, fminf(kMaxWindowSize, roundf(maxWidth)));
	fMinHeight = fmaxf(0, fminf(kMaxWindowSize, roundf(minHeight)));
	fMaxHeight = fmaxf(fMinHeight, fminf(kMaxWindowSize, roundf(maxHeight)));
	if (fDisplayWindow != NULL)
		fDisplayWindow->SetSizeLimits(fMinWidth, fMaxWidth, fMinHeight, fMaxHeight);
	// The window keeps within them.
	ResizeTo(fFrame.Width(), fFrame.Height());
	Unlock();
}


void
BWindow::GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight, float* maxHeight)
{
	if (minWidth != NULL)
		*minWidth = fMinWidth;
	if (maxWidth != NULL)
		*maxWidth = fMaxWidth;
	if (minHeight != NULL)
		*minHeight = fMinHeight;
	if (maxHeight != NULL)
		*maxHeight = fMaxHeight;
}


void
BWindow::ConvertToScreen(BPoint* point) const
{
	if (point != NULL)
		*point += fFrame.LeftTop();
}


BPoint
BWindow::ConvertToScreen(BPoint point) const
{
	return point + fFrame.LeftTop();
}


void
BWindow::ConvertFromScreen(BPoint* point) const
{
	if (point != NULL)
		*point -= fFrame.LeftTop();
}


BPoint
BWindow::ConvertFromScreen(BPoint point) const
{
	return point - fFrame.LeftTop();
}


void
BWindow::ConvertToScreen(BRect* rect) const
{
	if (rect != NULL)
		rect->OffsetBy(fFrame.LeftTop());
}


BRect
BWindow::ConvertToScreen(BRect rect) const
{
	return rect.OffsetByCopy(fFrame.left, fFrame.top);
}


void
BWindow::ConvertFromScreen(BRect* rect) const
{
	if (rect != NULL)
		rect->OffsetBy(-fFrame.left, -fFrame.top);
}


BRect
BWindow::ConvertFromScreen(BRect rect) const
{
	return rect.OffsetByCopy(-fFrame.left, -fFrame.top);
}


BRect
BWindow::Frame() const
{
	return fFrame;
}


BRect
BWindow::Bounds() const
{
	return BRect(0, 0, fFrame.Width(), fFrame.Height());
}


void
BWindow::SetTitle(const char* title)
{
	if (!Lock())
		return;
	fTitle = title;
	SetName(fTitle.String());
	if (fDisplayWindow != NULL)
		fDisplayWindow->SetTitle(fTitle.String());
	Unlock();
}


const char*
BWindow::Title() const
{
	return fTitle.String();
}


window_type
BWindow::Type() const
{
	return fType;
}


uint32
BWindow::Flags() const
{
	return fFlags;
}


// Only the flags the window itself acts on take effect later; the display keeps the ones it
// got when the window was made.
status_t
BWindow::SetFlags(uint32 flags)
{
	if (!Lock())
		return B_BAD_VALUE;
	fFlags = flags;
	Unlock();
	return B_OK;
}
