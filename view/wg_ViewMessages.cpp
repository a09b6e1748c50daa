/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>

#include <AppDefs.h>
#include <Application.h>
#include <Looper.h>
#include <Message.h>
#include <MessageQueue.h>
#include <OS.h>
#include <String.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


static const char* kCopyright = "Copyright 2013-2026, the Webgrazer developers";


// Whether another tick or update request waits in the queue: it will do the update.
bool
WView::_UpdateWaiting()
{
	BMessageQueue* queue = Looper() != NULL ? Looper()->MessageQueue() : NULL;
	if (queue == NULL || !queue->Lock())
		return false;
	bool waiting = queue->FindMessage((uint32)kMsgPulse) != NULL
		|| queue->FindMessage((uint32)kMsgUpdate) != NULL;
	queue->Unlock();
	return waiting;
}


// Ticks that came while an update ran would only run it again.
void
WView::_DropWaitingTicks()
{
	BMessageQueue* queue = Looper() != NULL ? Looper()->MessageQueue() : NULL;
	if (queue == NULL || !queue->Lock())
		return;
	while (BMessage* tick = queue->FindMessage((uint32)kMsgPulse)) {
		queue->RemoveMessage(tick);
		delete tick;
	}
	queue->Unlock();
}


void
WView::MessageReceived(BMessage* message)
{
	// After Quit the view holds nothing to act on; a second switch between window and
	// Deskbar would undo the first one.
	if (labelList == NULL)
		return;

	switch (message->what) {
	case kMsgPulse:
		prefs->Logbuch(0, NULL, "WV_PULSE ", true, true);
		pulseCount++;
		// One update for ticks that pile up behind a long one, not a backlog of them.
		if (_UpdateWaiting())
			break;
		UpdateImage();
		_DropWaitingTicks();
		break;

	case kMsgUpdate:
		prefs->Logbuch(0, NULL, "WV_UPDATE ", true, true);
		UpdateImage();
		_DropWaitingTicks();
		break;

	case kMsgPrefsUpdate:
		prefs->Logbuch(0, NULL, "WP_UPDATE ", true, true);
		UpdateImage();
		break;

	case kMsgPrefsClosed:
		SetPulse();
		prefs->Logbuch(0, NULL, "WP_CLOSE ", true, true);
		fullRedraw = false;
		UpdateImage();
		ClosePrefs();
		break;

	case kMsgPrefsCloseNow:
		ClosePrefs();
		break;

	case kMsgPreferences:
		prefs->Logbuch(0, NULL, "WV_PREFERENCES ", true, true);
		OpenPrefs();
		break;

	case kMsgQuit:
		prefs->Logbuch(0, NULL, "WV_QUIT ", true, true);
		if (prefs->opInDeskbar)
			RemoveFromDeskbar();
		else if (isReplicant) {
			if (Looper() != NULL)
				Looper()->PostMessage(kMsgReplicantQuit, this);
		} else if (be_app != NULL)
			be_app->PostMessage(B_QUIT_REQUESTED);
		break;

	case kMsgContext: {
		CloseContext();
		prefs->Logbuch(0, NULL, "WV_CONTEXT ", true, true);
		BPoint where(0, 0);
		message->FindPoint("where", &where);
		OpenContext(where);
		break;
	}

	case kMsgNextPreset: {
		CloseContext();
		Invalidate();
		prefs->Logbuch(0, NULL, "WV_NEXT_PRESET ", true, true);
		prefs->nextUpdateDue = system_time() - 1000000;
		if (Looper() != NULL)
			Looper()->PostMessage(kMsgUpdate, this);
		break;
	}

	case kMsgSelectPreset: {
		CloseContext();
		Invalidate();
		prefs->Logbuch(0, NULL, "WV_SEL_PRESET ", true, true);
		// (FindInt32 clears its output when the field is missing.)
		int32 chosen;
		if (message->FindInt32("PresetNr", &chosen) == B_OK)
			presetNr = chosen;
		prefs->nextUpdateDue = system_time() - 1000000;
		presetNr -= 1;
		prefs->PresetAtView = presetNr;
		if (Looper() != NULL)
			Looper()->PostMessage(kMsgUpdate, this);
		break;
	}

	case kMsgDeskbarSwitch:
		_SwitchDeskbar();
		break;

	case B_ABOUT_REQUESTED:
	case kMsgAbout:
	case kMsgInfo: {
		BString text;
		if (isReplicant)
			text << "Replicant";
		text << "\n\n" << kCopyright;
		DoAlert(text.String());
		break;
	}

	case B_PULSE:
		prefs->Logbuch(0, NULL, "B_PULSE ", true, true);
		break;

	case B_MOUSE_IDLE:
	case B_MOUSE_WHEEL_CHANGED:
		break;

	default:
		prefs->Logbuch(0, message, "View ", true, true);
		BView::MessageReceived(message);
		break;
	}
}
