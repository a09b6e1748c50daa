/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _WG_WINDOW_H
#define _WG_WINDOW_H


#include <Window.h>


class Prefs;
class WView;


extern const float WIN_X;
extern const float WIN_Y;
extern const float WIN_W;
extern const float WIN_H;


// The program's own small window: it holds the display view and keeps its frame in the
// settings.
class DSWindow : public BWindow {
public:
	DSWindow(BRect frame);
	virtual ~DSWindow();

	virtual void MessageReceived(BMessage* message);
	virtual bool QuitRequested();
	virtual void FrameMoved(BPoint where);
	virtual void FrameResized(float width, float height);

	virtual void ShowHelpText(BMessage* message);
	virtual void AddOptionalByWinKey(BMessage* message);
	virtual void AboutRequested();

	Prefs* prefs;
	WView* view;
};


// Alerts with the program's name and version.
void DoErrorW(const char* text);
void DoErrorB(const char* text);
void GetHelp();

// Input events and ticks that the windows let pass without a word
bool IsIgnoredInput(uint32 code);

// The console lines of a key that has no character (the Windows keys, for example).
void PrintWinKey(BMessage* message);

// The line of the about alerts that says how to reach the program's makers.
extern const char* kContactLine;


#endif // _WG_WINDOW_H
