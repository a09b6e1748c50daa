/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WINDOW_H
#define _WINDOW_H


#include <Looper.h>
#include <StorageDefs.h>
#include <View.h>


class BButton;
class BMessageRunner;
class BView;

namespace BPrivate {
class DisplayWindow;
class WindowOwner;
}


enum window_type {
	B_UNTYPED_WINDOW = 0,
	B_TITLED_WINDOW = 1,
	B_MODAL_WINDOW = 3,
	B_DOCUMENT_WINDOW = 11,
	B_BORDERED_WINDOW = 20,
	B_FLOATING_WINDOW = 21
};


enum {
	B_NOT_MOVABLE = 0x00000001,
	B_NOT_CLOSABLE = 0x00000020,
	B_NOT_ZOOMABLE = 0x00000040,
	B_NOT_MINIMIZABLE = 0x00004000,
	B_NOT_RESIZABLE = 0x00000002,
	B_NOT_H_RESIZABLE = 0x00000004,
	B_NOT_V_RESIZABLE = 0x00000008,
	B_AVOID_FRONT = 0x00000080,
	B_AVOID_FOCUS = 0x00002000,
	B_WILL_ACCEPT_FIRST_CLICK = 0x00000010,
	B_OUTLINE_RESIZE = 0x00001000,
	B_NO_WORKSPACE_ACTIVATION = 0x00000100,
	B_NOT_ANCHORED_ON_ACTIVATE = 0x00020000,
	B_ASYNCHRONOUS_CONTROLS = 0x00080000,
	B_QUIT_ON_WINDOW_CLOSE = 0x00100000,
	B_SAME_POSITION_IN_ALL_WORKSPACES = 0x00200000,
	B_AUTO_UPDATE_SIZE_LIMITS = 0x00400000,
	B_CLOSE_ON_ESCAPE = 0x00800000,
	B_NO_SERVER_SIDE_WINDOW_MODIFIERS = 0x00000200
};


#define B_CURRENT_WORKSPACE 0
#define B_ALL_WORKSPACES 0xffffffff


// A window: a looper with a frame on a screen and a tree of views that draw into its back
// buffer. Showing it the first time runs its thread. Frame() is the content area in screen
// coordinates; Bounds() is the same area in the window's own.
class BWindow : public BLooper {
public:
	BWindow(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~BWindow();

	virtual void Quit();

	// Hooks
	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);
	virtual void FrameMoved(BPoint newPosition);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void WindowActivated(bool active);

	// Views
	void AddChild(BView* child, BView* before = NULL);
	bool RemoveChild(BView* child);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* FindView(const char* viewName) const;
	BView* FindView(BPoint point) const;
	BView* CurrentFocus() const;

	// The button that Enter without modifiers presses, whatever view has the focus
	void SetDefaultButton(BButton* button);
	BButton* DefaultButton() const;

	// Draws what waits to be drawn now, instead of when the update message comes.
	void UpdateIfNeeded();
	bool NeedsUpdate() const;

	virtual void Show();
	virtual void Hide();
	bool IsHidden() const;
	void Activate(bool active = true);
	bool IsActive() const;

	void SetPulseRate(bigtime_t rate);
	bigtime_t PulseRate() const;

	void MoveBy(float dx, float dy);
	void MoveTo(BPoint point);
	void MoveTo(float x, float y);
	void ResizeBy(float dx, float dy);
	void ResizeTo(float width, float height);
	void SetSizeLimits(float minWidth, float maxWidth, float minHeight, float maxHeight);
	void GetSizeLimits(float* minWidth, float* maxWidth, float* minHeight, float* maxHeight);

	void ConvertToScreen(BPoint* point) const;
	BPoint ConvertToScreen(BPoint point) const;
	void ConvertFromScreen(BPoint* point) const;
	BPoint ConvertFromScreen(BPoint point) const;
	void ConvertToScreen(BRect* rect) const;
	BRect ConvertToScreen(BRect rect) const;
	void ConvertFromScreen(BRect* rect) const;
	BRect ConvertFromScreen(BRect rect) const;

	BRect Frame() const;
	BRect Bounds() const;
	void SetTitle(const char* title);
	const char* Title() const;
	window_type Type() const;
	uint32 Flags() const;
	status_t SetFlags(uint32 flags);

private:
	BWindow(const BWindow&);
	BWindow& operator=(const BWindow&);

	friend class BPrivate::WindowOwner;

	void _ViewAttached(BView* view);
	void _ViewDetached(BView* view);
	void _Invalidate(BRect rect);
	void _Update();
	void _SetSize(float width, float height, bool tellDisplay = true);
	bool _AllocateBuffer(int32 width, int32 height);
	void _UpdatePulse(bool needed);
	static bool _NeedsPulse(const BView* view);
	void _Pulse(BView* view);
	void _WindowActivated(BView* view, bool active);
	void _HandleMouse(BMessage* message);
	void _HandleKey(BMessage* message, BHandler* handler);

	BRect fFrame;
	BString fTitle;
	window_type fType;
	uint32 fFlags;
	bigtime_t fPulseRate;
	int32 fShowLevel;
	bool fActive;

	BPrivate::WindowOwner* fOwner;
	BPrivate::DisplayWindow* fDisplayWindow;
	BView* fTopView;
	BView* fFocus;
	BButton* fDefaultButton;
	// The view that got the press, while buttons are held, and the one the pointer is in
	BView* fMouseView;
	BView* fLastMouseView;
	BPoint fMousePosition;
	uint32 fMouseButtons;

	// The back buffer, B_RGB32
	uint8* fBuffer;
	int32 fBufferWidth;
	int32 fBufferHeight;
	// The part to draw at the next update; not valid when there is none
	BRect fDirty;
	bool fUpdatePending;
	bool fDeleting;

	float fMinWidth;
	float fMaxWidth;
	float fMinHeight;
	float fMaxHeight;

	BMessageRunner* fPulseRunner;
	bigtime_t fPulseRunnerRate;
};


#endif // _WINDOW_H
