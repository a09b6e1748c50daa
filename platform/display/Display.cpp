/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "Display.h"

#include <math.h>
#include <string.h>

#include <mutex>

#include <AppDefs.h>
#include <Message.h>


namespace BPrivate {


// The first window picks the display. An X11 backend, when there is one, goes first when
// DISPLAY names a server that answers.
Display*
Display::Default()
{
	static std::once_flag sOnce;
	static Display* sDisplay = NULL;
	std::call_once(sOnce, []() { sDisplay = create_headless_display(); });
	return sDisplay;
}


//	#pragma mark - ClickCounter


ClickCounter::ClickCounter()
{
	Reset();
}


void
ClickCounter::Reset()
{
	fWhere.Set(0, 0);
	fButtons = 0;
	fModifiers = 0;
	fWhen = 0;
	fWindow = NULL;
	fClicks = 0;
}


int32
ClickCounter::Press(
	BPoint screenWhere, uint32 buttons, uint32 modifiers, bigtime_t when, const void* window)
{
	bool again = fClicks > 0 && window == fWindow && buttons == fButtons && modifiers == fModifiers
		&& when >= fWhen && when - fWhen <= kClickSpeed && fabsf(screenWhere.x - fWhere.x) < 4
		&& fabsf(screenWhere.y - fWhere.y) < 4;
	fClicks = again ? fClicks + 1 : 1;
	fWhere = screenWhere;
	fButtons = buttons;
	fModifiers = modifiers;
	fWhen = when;
	fWindow = window;
	return fClicks;
}


//	#pragma mark - messages


BMessage*
make_mouse_message(
	uint32 what, BPoint screenWhere, uint32 buttons, uint32 modifiers, bigtime_t when, int32 clicks)
{
	BMessage* message = new BMessage(what);
	message->AddInt64("when", when);
	message->AddPoint("screen_where", screenWhere);
	message->AddInt32("buttons", (int32)buttons);
	message->AddInt32("modifiers", (int32)modifiers);
	if (what == B_MOUSE_DOWN)
		message->AddInt32("clicks", clicks);
	return message;
}


BMessage*
make_key_message(uint32 what, const char* bytes, int32 key, uint32 modifiers, bigtime_t when)
{
	if (bytes == NULL)
		bytes = "";
	BMessage* message = new BMessage(what);
	message->AddInt64("when", when);
	message->AddInt32("key", key);
	message->AddInt32("modifiers", (int32)modifiers);
	message->AddInt8("byte", (int8)bytes[0]);
	message->AddString("bytes", bytes);
	message->AddInt32("raw_char", (int32)(uint8)bytes[0]);
	return message;
}


} // namespace BPrivate
