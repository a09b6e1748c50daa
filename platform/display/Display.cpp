/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "Display.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <mutex>
#include <new>

#include <AppDefs.h>
#include <Message.h>


namespace BPrivate {


// The first window picks the display, once for the process. HAIKU_DISPLAY chooses: "headless"
// the in-memory screen, "x11" the X server that DISPLAY names (the headless screen, with a
// line on stderr, when it does not answer). Without a choice, windows go to the X server when
// DISPLAY names one that answers, else to the headless screen.
static Display*
choose_display()
{
	const char* choice = getenv("HAIKU_DISPLAY");
	if (choice != NULL && strcmp(choice, "headless") == 0)
		return create_headless_display();

	bool x11Chosen = choice != NULL && strcmp(choice, "x11") == 0;
	const char* server = getenv("DISPLAY");
	if (x11Chosen || (server != NULL && server[0] != '\0')) {
		Display* display = create_x11_display();
		if (display != NULL)
			return display;
		if (x11Chosen) {
			fprintf(stderr,
				"HAIKU_DISPLAY=x11: no X server answers at DISPLAY '%s', using the "
				"headless screen\n",
				server != NULL ? server : "");
		}
	}
	return create_headless_display();
}


Display*
Display::Default()
{
	static std::once_flag sOnce;
	static Display* sDisplay = NULL;
	std::call_once(sOnce, []() { sDisplay = choose_display(); });
	return sDisplay;
}


//	#pragma mark - WindowPixels


void
WindowPixels::Resize(int32 newWidth, int32 newHeight)
{
	newWidth = std::max<int32>(newWidth, 0);
	newHeight = std::max<int32>(newHeight, 0);
	if (newWidth == width && newHeight == height)
		return;
	// Nothing drawn yet: the pixels come with the first drawing, at the size then.
	if (!HasPixels()) {
		pixels.clear();
		width = newWidth;
		height = newHeight;
		return;
	}
	std::vector<uint32> resized;
	try {
		resized.assign((size_t)newWidth * newHeight, 0xffffffffU);
	} catch (const std::bad_alloc&) {
		newWidth = 0;
		newHeight = 0;
	}
	int32 keptWidth = std::min(newWidth, width);
	for (int32 y = 0; keptWidth > 0 && y < std::min(newHeight, height); y++) {
		memcpy(resized.data() + (size_t)y * newWidth, pixels.data() + (size_t)y * width,
			(size_t)keptWidth * 4);
	}
	pixels.swap(resized);
	width = newWidth;
	height = newHeight;
}


bool
WindowPixels::HasPixels() const
{
	return width > 0 && height > 0 && pixels.size() == (size_t)width * height;
}


bool
WindowPixels::CopyFrom(const DrawTarget& buffer, BRect rect, BRect* copied)
{
	if (buffer.bits == NULL || (buffer.colorSpace != B_RGB32 && buffer.colorSpace != B_RGBA32)
		|| buffer.bytesPerRow < buffer.width * 4 || !rect.IsValid())
		return false;
	int32 left = std::max<int32>(0, (int32)floorf(rect.left));
	int32 top = std::max<int32>(0, (int32)floorf(rect.top));
	int32 right = std::min<int32>(std::min(width, buffer.width) - 1, (int32)ceilf(rect.right));
	int32 bottom = std::min<int32>(std::min(height, buffer.height) - 1, (int32)ceilf(rect.bottom));
	if (right < left || bottom < top)
		return false;
	if (!HasPixels()) {
		try {
			pixels.assign((size_t)width * height, 0xffffffffU);
		} catch (const std::bad_alloc&) {
			pixels.clear();
			return false;
		}
	}
	for (int32 y = top; y <= bottom; y++) {
		const uint8* source = buffer.bits + (size_t)y * buffer.bytesPerRow + left * 4;
		memcpy(&pixels[(size_t)y * width + left], source, (size_t)(right - left + 1) * 4);
	}
	if (copied != NULL)
		copied->Set(left, top, right, bottom);
	return true;
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
