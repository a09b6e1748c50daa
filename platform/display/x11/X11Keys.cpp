/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>
#include <OS.h>

#include "X11Display.h"

#include <X11/keysym.h>


namespace BPrivate {


// Haiku's bytes for keys without a character of their own
enum {
	kHome = 0x01,
	kEnd = 0x04,
	kInsert = 0x05,
	kPageUp = 0x0b,
	kPageDown = 0x0c,
	kFunctionKey = 0x10
};

// Haiku's modifiers beyond those InterfaceDefs.h names
enum {
	kNumLock = 0x00000020,
	kLeftShiftKey = 0x00000100,
	kRightShiftKey = 0x00000200,
	kLeftCommandKey = 0x00000400,
	kRightCommandKey = 0x00000800,
	kLeftControlKey = 0x00001000,
	kRightControlKey = 0x00002000,
	kLeftOptionKey = 0x00004000,
	kRightOptionKey = 0x00008000
};


// X servers number keys as Linux's input layer does, plus 8. Haiku's key code (the position of
// the key on a PC keyboard) for each of Linux's numbers, 0 where it has none:
// clang-format off
static const uint8 kKeyCodes[128] = {
	0x00, 0x01, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, // -, Escape, 1 to 6
	0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x26, // 7 to 0, -, =, Backspace, Tab
	0x27, 0x28, 0x29, 0x2a, 0x2b, 0x2c, 0x2d, 0x2e, // Q to I
	0x2f, 0x30, 0x31, 0x32, 0x47, 0x5c, 0x3c, 0x3d, // O, P, [, ], Enter, LeftControl, A, S
	0x3e, 0x3f, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, // D to L, ;
	0x46, 0x11, 0x4b, 0x33, 0x4c, 0x4d, 0x4e, 0x4f, // ', `, LeftShift, backslash, Z to V
	0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x24, // B, N, M, comma, period, /, RightShift, kp *
	0x5d, 0x5e, 0x3b, 0x02, 0x03, 0x04, 0x05, 0x06, // LeftAlt, Space, CapsLock, F1 to F5
	0x07, 0x08, 0x09, 0x0a, 0x0b, 0x22, 0x0f, 0x37, // F6 to F10, NumLock, ScrollLock, keypad 7
	0x38, 0x39, 0x25, 0x48, 0x49, 0x4a, 0x3a, 0x58, // keypad 8, 9, -, 4, 5, 6, +, 1
	0x59, 0x5a, 0x64, 0x65, 0x00, 0x00, 0x69, 0x0c, // keypad 2, 3, 0, period, -, -, < >, F11
	0x0d, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // F12, -
	0x5b, 0x60, 0x23, 0x0e, 0x5f, 0x00, 0x20, 0x57, // KPEnter, RCtrl, KP/, Print, RAlt, -, Home, Up
	0x21, 0x61, 0x63, 0x35, 0x62, 0x36, 0x1f, 0x34, // PgUp, Left, Right, End, Down, PgDn, Ins, Del
	0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, // -, Pause
	0x00, 0x00, 0x00, 0x00, 0x00, 0x66, 0x67, 0x68, // -, LeftWindows, RightWindows, Menu
};
// clang-format on


int32
x11_key_code(unsigned int keycode)
{
	if (keycode < 8)
		return 0;
	unsigned int code = keycode - 8;
	return code < sizeof(kKeyCodes) ? kKeyCodes[code] : 0;
}


char
x11_key_byte(KeySym keysym)
{
	switch (keysym) {
	case XK_BackSpace:
		return B_BACKSPACE;
	case XK_Tab:
	case XK_ISO_Left_Tab:
	case XK_KP_Tab:
		return B_TAB;
	case XK_Return:
	case XK_KP_Enter:
	case XK_Linefeed:
		return B_ENTER;
	case XK_Escape:
		return B_ESCAPE;
	case XK_Delete:
	case XK_KP_Delete:
		return B_DELETE;
	case XK_Left:
	case XK_KP_Left:
		return B_LEFT_ARROW;
	case XK_Right:
	case XK_KP_Right:
		return B_RIGHT_ARROW;
	case XK_Up:
	case XK_KP_Up:
		return B_UP_ARROW;
	case XK_Down:
	case XK_KP_Down:
		return B_DOWN_ARROW;
	case XK_Home:
	case XK_KP_Home:
		return kHome;
	case XK_End:
	case XK_KP_End:
		return kEnd;
	case XK_Insert:
	case XK_KP_Insert:
		return kInsert;
	case XK_Prior:
	case XK_KP_Prior:
		return kPageUp;
	case XK_Next:
	case XK_KP_Next:
		return kPageDown;
	case XK_Print:
	case XK_Scroll_Lock:
	case XK_Pause:
		return kFunctionKey;
	}
	if (keysym >= XK_F1 && keysym <= XK_F12)
		return kFunctionKey;
	return 0;
}


bool
x11_modifier_key(KeySym keysym, uint32* modifier, uint32* side)
{
	switch (keysym) {
	case XK_Shift_L:
		*modifier = B_SHIFT_KEY;
		*side = kLeftShiftKey;
		return true;
	case XK_Shift_R:
		*modifier = B_SHIFT_KEY;
		*side = kRightShiftKey;
		return true;
	case XK_Control_L:
		*modifier = B_CONTROL_KEY;
		*side = kLeftControlKey;
		return true;
	case XK_Control_R:
		*modifier = B_CONTROL_KEY;
		*side = kRightControlKey;
		return true;
	// Haiku's usual key map makes Alt the Command key and the Windows keys Option.
	case XK_Alt_L:
	case XK_Meta_L:
		*modifier = B_COMMAND_KEY;
		*side = kLeftCommandKey;
		return true;
	case XK_Alt_R:
	case XK_Meta_R:
	case XK_ISO_Level3_Shift:
		*modifier = B_COMMAND_KEY;
		*side = kRightCommandKey;
		return true;
	case XK_Super_L:
		*modifier = B_OPTION_KEY;
		*side = kLeftOptionKey;
		return true;
	case XK_Super_R:
		*modifier = B_OPTION_KEY;
		*side = kRightOptionKey;
		return true;
	}
	return false;
}


uint32
x11_modifiers(unsigned int state)
{
	uint32 modifiers = 0;
	if ((state & ShiftMask) != 0)
		modifiers |= B_SHIFT_KEY;
	if ((state & LockMask) != 0)
		modifiers |= B_CAPS_LOCK;
	if ((state & ControlMask) != 0)
		modifiers |= B_CONTROL_KEY;
	if ((state & Mod1Mask) != 0)
		modifiers |= B_COMMAND_KEY;
	if ((state & Mod2Mask) != 0)
		modifiers |= kNumLock;
	if ((state & Mod4Mask) != 0)
		modifiers |= B_OPTION_KEY;
	return modifiers;
}


uint32
x11_buttons(unsigned int state)
{
	uint32 buttons = 0;
	if ((state & Button1Mask) != 0)
		buttons |= B_PRIMARY_MOUSE_BUTTON;
	if ((state & Button2Mask) != 0)
		buttons |= B_TERTIARY_MOUSE_BUTTON;
	if ((state & Button3Mask) != 0)
		buttons |= B_SECONDARY_MOUSE_BUTTON;
	return buttons;
}


uint32
x11_button(unsigned int button)
{
	switch (button) {
	case Button1:
		return B_PRIMARY_MOUSE_BUTTON;
	case Button2:
		return B_TERTIARY_MOUSE_BUTTON;
	case Button3:
		return B_SECONDARY_MOUSE_BUTTON;
	}
	return 0;
}


//	#pragma mark - key events


// The left and right keys of a modifier
static uint32
sides_of(uint32 modifier)
{
	switch (modifier) {
	case B_SHIFT_KEY:
		return 0x00000300;
	case B_COMMAND_KEY:
		return 0x00000c00;
	case B_CONTROL_KEY:
		return 0x00003000;
	case B_OPTION_KEY:
		return 0x0000c000;
	}
	return 0;
}


// The sides of the modifiers held, as far as our windows saw their keys
uint32
X11Display::_WithSides(uint32 modifiers) const
{
	static const uint32 kModifiers[] = {B_SHIFT_KEY, B_COMMAND_KEY, B_CONTROL_KEY, B_OPTION_KEY};
	for (uint32 modifier : kModifiers) {
		if ((modifiers & modifier) != 0)
			modifiers |= fSideModifiers & sides_of(modifier);
	}
	return modifiers;
}


void
X11Display::_HandleKey(X11Window* window, XKeyEvent& event)
{
	bool down = event.type == KeyPress;
	unsigned int keycode = event.keycode < 256 ? event.keycode : 0;
	std::vector<char> buffer(64);
	int length = 0;
	KeySym keysym = NoSymbol;
	if (down && window->fInputContext != NULL) {
		Status status;
		length = Xutf8LookupString(
			window->fInputContext, &event, buffer.data(), (int)buffer.size() - 1, &keysym, &status);
		// An input method may commit more text at once than the buffer holds: it tells the
		// size, and the same event gives it again.
		if (status == XBufferOverflow && length > 0) {
			buffer.resize((size_t)length + 1);
			length = Xutf8LookupString(window->fInputContext, &event, buffer.data(),
				(int)buffer.size() - 1, &keysym, &status);
		}
		if (status == XBufferOverflow || status == XLookupNone)
			length = 0;
		if (status == XLookupChars)
			keysym = NoSymbol;
	} else {
		XKeyEvent copy = event;
		length = XLookupString(&copy, buffer.data(), (int)buffer.size() - 1, &keysym, NULL);
		// Without an input method only ASCII is sure to be UTF-8.
		if (length == 1 && (uint8)buffer[0] >= 0x80)
			length = 0;
	}
	if (length < 0)
		length = 0;
	// What the key typed, up to a NUL (a control key may give one).
	std::string bytes(buffer.data(), strnlen(buffer.data(), (size_t)length));
	if (keysym == NoSymbol)
		keysym = XLookupKeysym(&event, 0);

	char byte = x11_key_byte(keysym);
	if (byte != 0)
		bytes.assign(1, byte);

	// The modifier keys: the state is the one before the event.
	uint32 modifiers = x11_modifiers(event.state);
	uint32 modifier;
	uint32 side;
	if (x11_modifier_key(keysym, &modifier, &side)) {
		if (down)
			fSideModifiers |= side;
		else
			fSideModifiers &= ~side;
		// The key on the other side may still hold it.
		if (down || (fSideModifiers & sides_of(modifier)) != 0)
			modifiers |= modifier;
		else
			modifiers &= ~modifier;
	}
	modifiers = _WithSides(modifiers);

	// A release types what the press typed.
	if (down) {
		if (keycode != 0) {
			fKeyRepeats[keycode]++;
			fKeyBytes[keycode] = bytes;
		}
	} else if (keycode != 0) {
		if (fKeyRepeats[keycode] >= 0)
			bytes = fKeyBytes[keycode];
		fKeyRepeats[keycode] = -1;
		fKeyBytes[keycode].clear();
	}

	int32 key = x11_key_code(event.keycode);
	bigtime_t when = system_time();
	std::unique_ptr<BMessage> message;
	if (bytes.empty()) {
		// Keys that type nothing (the modifiers, mostly)
		message.reset(new BMessage(down ? B_UNMAPPED_KEY_DOWN : B_UNMAPPED_KEY_UP));
		message->AddInt64("when", when);
		message->AddInt32("key", key);
		message->AddInt32("modifiers", (int32)modifiers);
	} else {
		message.reset(
			make_key_message(down ? B_KEY_DOWN : B_KEY_UP, bytes.c_str(), key, modifiers, when));
		if (down && keycode != 0 && fKeyRepeats[keycode] > 0)
			message->AddInt32("be:key_repeat", fKeyRepeats[keycode]);
	}
	window->fClient->PostDisplayMessage(message.get());
}


} // namespace BPrivate
