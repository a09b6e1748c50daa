/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Alert.h>

#include <condition_variable>
#include <mutex>

#include <Font.h>
#include <InterfaceDefs.h>
#include <Invoker.h>
#include <Message.h>
#include <View.h>


static const uint32 kMsgButton = '_ABT';
static const float kLineHeight = 16;
static const float kButtonWidth = 75;
static const float kButtonHeight = 24;
static const float kMargin = 10;


// What a synchronous Go() waits for.
struct AlertWait {
	std::mutex lock;
	std::condition_variable pressed;
	bool done = false;
	int32 which = -1;
};


static int32
count_lines(const BString& text)
{
	int32 lines = 1;
	for (int32 i = 0; i < text.Length(); i++) {
		if (text.ByteAt(i) == '\n')
			lines++;
	}
	return lines;
}


// The text and the buttons; a click on a button or its shortcut presses it.
class AlertView : public BView {
public:
	AlertView(BRect frame, BAlert* alert)
		: BView(frame, "alert", B_FOLLOW_ALL_SIDES, B_WILL_DRAW), fAlert(alert)
	{
		SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	}

	BRect
	ButtonFrame(int32 index) const
	{
		BRect bounds = Bounds();
		float right = bounds.right - kMargin
			- (fAlert->fButtonCount - 1 - index) * (kButtonWidth + kMargin);
		return BRect(right - kButtonWidth, bounds.bottom - kMargin - kButtonHeight, right,
			bounds.bottom - kMargin);
	}

	virtual void
	Draw(BRect)
	{
		SetHighColor(ui_color(B_PANEL_TEXT_COLOR));
		SetLowColor(ViewColor());
		font_height height;
		GetFontHeight(&height);
		float y = kMargin + height.ascent;
		BString text(fAlert->fText);
		int32 start = 0;
		while (start <= text.Length()) {
			int32 end = text.FindFirst('\n', start);
			if (end < 0)
				end = text.Length();
			BString line;
			text.CopyInto(line, start, end - start);
			line.ReplaceAll("\t", "    ");
			DrawString(line.String(), BPoint(kMargin, y));
			y += kLineHeight;
			start = end + 1;
		}

		for (int32 i = 0; i < fAlert->fButtonCount; i++) {
			BRect frame = ButtonFrame(i);
			SetHighColor(tint_color(ViewColor(), B_LIGHTEN_1_TINT));
			FillRect(frame);
			SetHighColor(tint_color(
				ViewColor(), i == fAlert->fButtonCount - 1 ? B_DARKEN_MAX_TINT : B_DARKEN_2_TINT));
			StrokeRect(frame);
			const char* label = fAlert->fLabels[i].String();
			SetHighColor(ui_color(B_PANEL_TEXT_COLOR));
			DrawString(label,
				BPoint(frame.left + (frame.Width() - StringWidth(label)) / 2, frame.bottom - 7));
		}
	}

	virtual void
	MouseDown(BPoint where)
	{
		for (int32 i = 0; i < fAlert->fButtonCount; i++) {
			if (ButtonFrame(i).Contains(where)) {
				fAlert->_Pressed(i);
				return;
			}
		}
	}

	virtual void
	KeyDown(const char* bytes, int32 numBytes)
	{
		if (numBytes < 1)
			return;
		for (int32 i = 0; i < fAlert->fButtonCount; i++) {
			if (fAlert->fShortcuts[i] != 0 && bytes[0] == fAlert->fShortcuts[i]) {
				fAlert->_Pressed(i);
				return;
			}
		}
		if (bytes[0] == B_ENTER)
			fAlert->_Pressed(fAlert->fButtonCount - 1);
	}

private:
	BAlert* fAlert;
};


BAlert::BAlert(const char* title, const char* text, const char* button1, const char* button2,
	const char* button3, button_width, alert_type)
	: BWindow(BRect(0, 0, 309, 99), title, B_MODAL_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	  fText(text), fButtonCount(0), fInvoker(NULL), fSynchronous(false), fWait(NULL)
{
	for (const char* label : {button1, button2, button3}) {
		if (label == NULL)
			break;
		fLabels[fButtonCount] = label;
		fShortcuts[fButtonCount] = 0;
		fButtonCount++;
	}

	float height = kMargin * 3 + count_lines(fText) * kLineHeight + kButtonHeight;
	ResizeTo(309, height);
	MoveTo(357, 300);
	AlertView* view = new AlertView(Bounds(), this);
	AddChild(view);
	view->MakeFocus(true);
}


BAlert::~BAlert()
{
	delete fInvoker;
}


void
BAlert::SetShortcut(int32 index, char key)
{
	if (index >= 0 && index < fButtonCount)
		fShortcuts[index] = key;
}


char
BAlert::Shortcut(int32 index) const
{
	return index >= 0 && index < fButtonCount ? fShortcuts[index] : 0;
}


int32
BAlert::CountButtons() const
{
	return fButtonCount;
}


const char*
BAlert::ButtonLabel(int32 index) const
{
	return index >= 0 && index < fButtonCount ? fLabels[index].String() : NULL;
}


const char*
BAlert::Text() const
{
	return fText.String();
}


// Shows the alert and waits until a button is pressed; returns its index. The alert is
// gone afterwards.
int32
BAlert::Go()
{
	AlertWait wait;
	fWait = &wait;
	fSynchronous = true;
	Show();

	std::unique_lock<std::mutex> lock(wait.lock);
	wait.pressed.wait(lock, [&]() { return wait.done; });
	return wait.which;
}


// Shows the alert and returns at once; a pressed button is reported to the invoker with the
// field "which".
status_t
BAlert::Go(BInvoker* invoker)
{
	fInvoker = invoker;
	Show();
	return B_OK;
}


void
BAlert::MessageReceived(BMessage* message)
{
	BWindow::MessageReceived(message);
}


void
BAlert::_Pressed(int32 index)
{
	if (fInvoker != NULL && fInvoker->Message() != NULL) {
		BMessage message(*fInvoker->Message());
		message.AddInt32("which", index);
		fInvoker->Invoke(&message);
	}
	if (fSynchronous && fWait != NULL) {
		AlertWait* wait = (AlertWait*)fWait;
		std::lock_guard<std::mutex> lock(wait->lock);
		wait->which = index;
		wait->done = true;
		wait->pressed.notify_all();
		fWait = NULL;
	}
	PostMessage(B_QUIT_REQUESTED);
}
