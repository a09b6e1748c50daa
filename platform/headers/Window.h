/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WINDOW_H
#define _WINDOW_H


#include <Looper.h>
#include <Rect.h>
#include <String.h>


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


// A window: a looper with a frame on the screen. Showing it runs its thread.
class BWindow : public BLooper {
public:
	BWindow(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~BWindow();

	virtual void Show();
	virtual void Hide();
	bool IsHidden() const;

	void SetPulseRate(bigtime_t rate);
	bigtime_t PulseRate() const;

	BRect Frame() const;
	BRect Bounds() const;
	const char* Title() const;
	window_type Type() const;
	uint32 Flags() const;

private:
	BRect fFrame;
	BString fTitle;
	window_type fType;
	uint32 fFlags;
	bigtime_t fPulseRate;
	int32 fShowLevel;
};


#endif // _WINDOW_H
