/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _ALERT_H
#define _ALERT_H


#include <Window.h>


class BInvoker;


enum alert_type { B_EMPTY_ALERT = 0, B_INFO_ALERT, B_IDEA_ALERT, B_WARNING_ALERT, B_STOP_ALERT };


enum button_width { B_WIDTH_AS_USUAL, B_WIDTH_FROM_WIDEST, B_WIDTH_FROM_LABEL };


// A small window with a text and up to three buttons. It deletes itself once a button is
// pressed. The last button is the default one (Enter).
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

	int32 Go();
	status_t Go(BInvoker* invoker);

	virtual void MessageReceived(BMessage* message);

private:
	friend class AlertView;

	void _Pressed(int32 index);

	BString fText;
	BString fLabels[3];
	char fShortcuts[3];
	int32 fButtonCount;
	BInvoker* fInvoker;
	bool fSynchronous;
	void* fWait;
};


#endif // _ALERT_H
