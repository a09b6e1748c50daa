/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Window.h>


BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags, uint32)
	: BLooper(title), fFrame(frame), fTitle(title), fType(type), fFlags(flags), fPulseRate(500000),
	  fShowLevel(1)
{ }


BWindow::~BWindow() { }


// The first Show() runs the window's thread, as on Haiku.
void
BWindow::Show()
{
	if (fShowLevel > 0)
		fShowLevel--;
	if (Thread() < 0)
		Run();
}


void
BWindow::Hide()
{
	fShowLevel++;
}


bool
BWindow::IsHidden() const
{
	return fShowLevel > 0;
}


void
BWindow::SetPulseRate(bigtime_t rate)
{
	if (rate >= 0)
		fPulseRate = rate;
}


bigtime_t
BWindow::PulseRate() const
{
	return fPulseRate;
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
