/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>

#include <AppDefs.h>
#include <Looper.h>
#include <Message.h>
#include <OS.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


void
WView::MessageReceived(BMessage* message)
{
	// After Quit the view holds nothing to act on.
	if (labelList == NULL) {
		if (message->what != kMsgDeskbarSwitch)
			return;
	}

	switch (message->what) {
	case kMsgPulse:
		prefs->Logbuch(0, NULL, "WV_PULSE ", true, true);
		pulseCount++;
		UpdateImage();
		break;

	case kMsgUpdate:
		prefs->Logbuch(0, NULL, "WV_UPDATE ", true, true);
		UpdateImage();
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
		break;

	case kMsgNextPreset: {
		Invalidate();
		prefs->Logbuch(0, NULL, "WV_NEXT_PRESET ", true, true);
		prefs->nextUpdateDue = system_time() - 1000000;
		if (Looper() != NULL)
			Looper()->PostMessage(kMsgUpdate, this);
		break;
	}

	case kMsgSelectPreset: {
		Invalidate();
		prefs->Logbuch(0, NULL, "WV_SEL_PRESET ", true, true);
		message->FindInt32("PresetNr", &presetNr);
		prefs->nextUpdateDue = system_time() - 1000000;
		presetNr -= 1;
		prefs->PresetAtView = presetNr;
		if (Looper() != NULL)
			Looper()->PostMessage(kMsgUpdate, this);
		break;
	}

	case kMsgQuit:
		prefs->Logbuch(0, NULL, "WV_QUIT ", true, true);
		if (isReplicant && Looper() != NULL)
			Looper()->PostMessage(kMsgReplicantQuit, this);
		break;

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
