/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _ALERT_H
#define _ALERT_H


#include <vector>

#include <Window.h>


class BInvoker;
class BTextView;


enum alert_type { B_EMPTY_ALERT = 0, B_INFO_ALERT, B_IDEA_ALERT, B_WARNING_ALERT, B_STOP_ALERT };


enum button_width { B_WIDTH_AS_USUAL, B_WIDTH_FROM_WIDEST, B_WIDTH_FROM_LABEL };


// A small window with a text and up to three buttons. It deletes itself once a button is
// pressed or it is asked to quit. The last button is the default one (Enter). The text is
// in a BTextView that callers may style before Go(), which sizes the alert to fit it.
class BAlert : public BWindow {
public:
	BAlert(const char* title, const char* text, const char* button1, const char* button2 = NULL,
		const char* button3 = NULL, button_width width = B_WIDTH_AS_USUAL,
		alert_type type = B_INFO_ALERT);
	virtual ~BAlert();

	void SetShortcut(int32 index, char key);
	char Shortcut(int32 index) const;
	int32 CountButtons() const;
	const char* ButtonLabel(int32 index) const;
	const char* Text() const;
	BTextView* TextView() const;

	// Shows the alert and waits for a button: its index, or -1 when the alert was asked
	// to quit instead. The alert is gone when it returns.
	int32 Go();
	// Shows the alert and returns at once. A pressed button is reported to the invoker
	// (which the alert then owns) with the field "which"; an alert that quits otherwise
	// reports nothing.
	status_t Go(BInvoker* invoker);

	virtual void MessageReceived(BMessage* message);

	// Where an alert of that size goes: centred across the screen, in its upper part.
	static BPoint AlertPosition(float width, float height);

private:
	friend class AlertView;
	friend class AlertFilter;

	void _Pressed(int32 index);
	void _Layout();
	float _ButtonWidth(int32 index) const;

	BString fLabels[3];
	char fShortcuts[3];
	int32 fButtonCount;
	button_width fButtonWidth;
	alert_type fType;
	BView* fMasterView;
	BTextView* fTextView;
	BInvoker* fInvoker;
	// The button pressed, -1 while none is
	int32 fWhich;
	void* fWait;
};


#endif // _ALERT_H
