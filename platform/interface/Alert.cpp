/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Alert.h>

#include <math.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <Font.h>
#include <InterfaceDefs.h>
#include <Invoker.h>
#include <Message.h>
#include <MessageFilter.h>
#include <TextView.h>
#include <View.h>

#include "ControlLook.h"
#include "Display.h"


// The alert's measures, as Haiku lays it out: a stripe for the icon on the left, the text
// to the right of it, the buttons in the lower right corner; 6 pixels around and between
// them.
static const float kWindowWidth = 310;
static const float kIconStripeWidth = 30;
static const BPoint kIconPosition(18, 6);
static const float kIconSize = 32;
static const float kTextLeftOffset = 55;
static const float kTextTopOffset = 6;
static const float kInset = 6;
static const float kButtonUsualWidth = 75;
static const float kButtonLabelPadding = 20;


// A button's height as its preferred size makes it: 1.8 lines of the plain font, with room
// for the frame (and the default button's heavier rings) above and below the label.
static float
button_height(bool isDefault)
{
	font_height fh;
	be_plain_font->GetHeight(&fh);
	float spacing = ceilf(be_plain_font->Size() / 2);
	float textHeight = fh.ascent + fh.descent;
	float height = ceilf(1.8f * textHeight);
	float needed = (isDefault ? 12 : 6) + spacing;
	if (height - ceilf(textHeight) < needed)
		height += needed - (height - ceilf(textHeight));
	return height;
}


// The room below the text: the row of buttons, as high as the default button, with the
// insets above and below it.
static float
text_bottom_offset()
{
	return kInset + button_height(true) + kInset;
}


// How often a synchronous Go() on a window's thread lets that window draw
static const auto kUpdateInterval = std::chrono::milliseconds(50);


// What a synchronous Go() waits for: the alert's end.
struct AlertWait {
	std::mutex lock;
	std::condition_variable gone;
	bool done = false;
	int32 which = -1;
};


// The background: the icon and the buttons. A click on a button presses it.
class AlertView : public BView {
public:
	AlertView(BRect frame, BAlert* alert)
		: BView(frame, "_master_", B_FOLLOW_ALL_SIDES, B_WILL_DRAW), fAlert(alert)
	{
		SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	}

	BRect
	ButtonFrame(int32 index) const
	{
		BRect bounds = Bounds();
		float right = bounds.right - kInset;
		for (int32 i = fAlert->fButtonCount - 1; i > index; i--)
			right -= fAlert->_ButtonWidth(i) + 1 + kInset;
		// The last button is the default one, the others stand in the middle of its height.
		float rowHeight = button_height(true);
		float height = button_height(index == fAlert->fButtonCount - 1);
		float bottom = bounds.bottom - kInset - floorf((rowHeight - height) / 2);
		return BRect(right - fAlert->_ButtonWidth(index), bottom - height, right, bottom);
	}

	virtual void
	Draw(BRect)
	{
		if (fAlert->fType != B_EMPTY_ALERT)
			_DrawIcon();

		// Buttons as BButton draws them; the last one is the default button.
		for (int32 i = 0; i < fAlert->fButtonCount; i++) {
			uint32 flags = BPrivate::kButtonEnabled;
			if (i == fAlert->fButtonCount - 1)
				flags |= BPrivate::kButtonDefault;
			BPrivate::draw_button(
				this, ButtonFrame(i), fAlert->fLabels[i].String(), ViewColor(), flags);
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

private:
	// A plain sign for the kind of alert, on a darker stripe
	void
	_DrawIcon()
	{
		BRect stripe = Bounds();
		stripe.right = kIconStripeWidth;
		SetHighColor(tint_color(ViewColor(), B_DARKEN_1_TINT));
		FillRect(stripe);

		BRect icon(kIconPosition.x, kIconPosition.y, kIconPosition.x + kIconSize - 1,
			kIconPosition.y + kIconSize - 1);
		rgb_color fill;
		rgb_color mark = make_color(255, 255, 255);
		const char* sign = "i";
		switch (fAlert->fType) {
		case B_IDEA_ALERT:
			fill = make_color(255, 204, 0);
			mark = make_color(0, 0, 0);
			sign = "!";
			break;
		case B_WARNING_ALERT:
			fill = make_color(255, 204, 0);
			mark = make_color(0, 0, 0);
			sign = "!";
			break;
		case B_STOP_ALERT:
			fill = make_color(204, 0, 0);
			sign = "!";
			break;
		default:
			fill = make_color(51, 102, 187);
			break;
		}
		SetHighColor(fill);
		if (fAlert->fType == B_WARNING_ALERT) {
			FillTriangle(BPoint(icon.left + kIconSize / 2, icon.top),
				BPoint(icon.right, icon.bottom), BPoint(icon.left, icon.bottom));
		} else
			FillEllipse(icon);

		PushState();
		BFont font(be_bold_font);
		font.SetSize(20);
		SetFont(&font);
		SetHighColor(mark);
		SetDrawingMode(B_OP_OVER);
		DrawString(sign, BPoint(icon.left + (kIconSize - StringWidth(sign)) / 2, icon.bottom - 7));
		PopState();
	}

	BAlert* fAlert;
};


// Keys before anyone else sees them: a button's shortcut presses it, Enter the last
// button. Other keys go on (Escape to the window, which may close on it).
class AlertFilter : public BMessageFilter {
public:
	AlertFilter(BAlert* alert) : BMessageFilter(B_KEY_DOWN), fAlert(alert) { }

	virtual filter_result
	Filter(BMessage* message, BHandler**)
	{
		const char* bytes = NULL;
		if (message->FindString("bytes", &bytes) != B_OK || bytes == NULL || bytes[0] == '\0'
			|| bytes[1] != '\0')
			return B_DISPATCH_MESSAGE;
		for (int32 i = 0; i < fAlert->fButtonCount; i++) {
			if (fAlert->fShortcuts[i] != 0 && bytes[0] == fAlert->fShortcuts[i]) {
				fAlert->_Pressed(i);
				return B_SKIP_MESSAGE;
			}
		}
		if (bytes[0] == B_ENTER) {
			fAlert->_Pressed(fAlert->fButtonCount - 1);
			return B_SKIP_MESSAGE;
		}
		return B_DISPATCH_MESSAGE;
	}

private:
	BAlert* fAlert;
};


BAlert::BAlert(const char* title, const char* text, const char* button1, const char* button2,
	const char* button3, button_width width, alert_type type)
	: BWindow(
		BRect(0, 0, kWindowWidth - 1, 99), title, B_MODAL_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	  fButtonCount(0), fButtonWidth(width), fType(type), fMasterView(NULL), fTextView(NULL),
	  fInvoker(NULL), fWhich(-1), fWait(NULL)
{
	for (const char* label : {button1, button2, button3}) {
		if (label == NULL)
			break;
		fLabels[fButtonCount] = label;
		fShortcuts[fButtonCount] = 0;
		fButtonCount++;
	}

	fMasterView = new AlertView(Bounds(), this);
	AddChild(fMasterView);

	BRect textFrame(type == B_EMPTY_ALERT ? kInset : kTextLeftOffset, kTextTopOffset,
		Bounds().right - kInset, Bounds().bottom - text_bottom_offset());
	BRect textRect(textFrame);
	textRect.OffsetTo(B_ORIGIN);
	fTextView
		= new BTextView(textFrame, "_tv_", textRect, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
	fTextView->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	rgb_color textColor = ui_color(B_PANEL_TEXT_COLOR);
	fTextView->SetFontAndColor(NULL, 0, &textColor);
	fTextView->SetText(text);
	fTextView->MakeEditable(false);
	fTextView->MakeSelectable(false);
	fTextView->SetWordWrap(true);
	fMasterView->AddChild(fTextView);
	fMasterView->MakeFocus(true);

	if (Lock()) {
		AddCommonFilter(new AlertFilter(this));
		Unlock();
	}
	_Layout();
}


// A synchronous Go() learns here that the alert is gone, however it went.
BAlert::~BAlert()
{
	delete fInvoker;
	if (fWait != NULL) {
		AlertWait* wait = (AlertWait*)fWait;
		std::lock_guard<std::mutex> lock(wait->lock);
		wait->which = fWhich;
		wait->done = true;
		wait->gone.notify_all();
	}
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
	return fTextView->Text();
}


BTextView*
BAlert::TextView() const
{
	return fTextView;
}


int32
BAlert::Go()
{
	AlertWait wait;
	fWait = &wait;
	_Layout();
	Show();

	// On a window's thread, that window keeps drawing while it waits.
	BWindow* caller = dynamic_cast<BWindow*>(BLooper::LooperForThread(find_thread(NULL)));
	std::unique_lock<std::mutex> lock(wait.lock);
	while (!wait.done) {
		if (caller == NULL) {
			wait.gone.wait(lock);
			continue;
		}
		if (!wait.gone.wait_for(lock, kUpdateInterval, [&]() { return wait.done; })) {
			lock.unlock();
			caller->UpdateIfNeeded();
			lock.lock();
		}
	}
	return wait.which;
}


status_t
BAlert::Go(BInvoker* invoker)
{
	fInvoker = invoker;
	_Layout();
	Show();
	return B_OK;
}


void
BAlert::MessageReceived(BMessage* message)
{
	BWindow::MessageReceived(message);
}


BPoint
BAlert::AlertPosition(float width, float height)
{
	BRect screen(0, 0, 639, 479);
	BPrivate::Display* display = BPrivate::Display::Default();
	if (display != NULL && display->ScreenFrame().IsValid())
		screen = display->ScreenFrame();
	return BPoint(roundf(screen.left + screen.Width() / 2 - width / 2),
		roundf(screen.top + screen.Height() / 4 - ceilf(height / 3)));
}


void
BAlert::_Pressed(int32 index)
{
	// Only the first press counts; the alert is on its way out.
	if (fWhich >= 0)
		return;
	fWhich = index;
	if (fInvoker != NULL && fInvoker->Message() != NULL) {
		BMessage message(*fInvoker->Message());
		message.AddInt32("which", index);
		fInvoker->Invoke(&message);
	}
	PostMessage(B_QUIT_REQUESTED);
}


// Sizes the alert to its text as it is now, styles included, and places it.
void
BAlert::_Layout()
{
	if (!Lock())
		return;

	// At least as wide as Haiku's alerts for the font size, else as the buttons need
	float buttonsWidth = kInset * 2 + kInset * (fButtonCount - 1);
	for (int32 i = 0; i < fButtonCount; i++)
		buttonsWidth += _ButtonWidth(i) + 1;
	float width = fmaxf(roundf(kWindowWidth * be_plain_font->Size() / 11), buttonsWidth - 1);

	BRect textFrame = fTextView->Frame();
	float textWidth = width - kInset - textFrame.left;
	fTextView->SetTextRect(BRect(0, 0, textWidth, 0));
	float textHeight = fTextView->TextHeight(0, fTextView->CountLines() - 1);
	fTextView->SetTextRect(BRect(0, 0, textWidth, textHeight));
	fTextView->ResizeTo(textWidth, textHeight);

	float height = kTextTopOffset + textHeight + text_bottom_offset();
	ResizeTo(width, height);
	MoveTo(AlertPosition(width, height));
	Unlock();
}


float
BAlert::_ButtonWidth(int32 index) const
{
	if (index < 0 || index >= fButtonCount)
		return 0;
	float widest = 0;
	for (int32 i = 0; i < fButtonCount; i++)
		widest = fmaxf(widest, be_plain_font->StringWidth(fLabels[i].String()));
	float label = be_plain_font->StringWidth(fLabels[index].String());

	switch (fButtonWidth) {
	case B_WIDTH_FROM_LABEL:
		return ceilf(label + kButtonLabelPadding);
	case B_WIDTH_FROM_WIDEST:
		return ceilf(fmaxf(kButtonUsualWidth, widest + kButtonLabelPadding));
	case B_WIDTH_AS_USUAL:
	default:
		return ceilf(fmaxf(kButtonUsualWidth, label + kButtonLabelPadding));
	}
}
