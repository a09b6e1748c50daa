/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_View.h"

#include <stdio.h>

#include <Autolock.h>
#include <MessageRunner.h>
#include <Messenger.h>
#include <OS.h>
#include <Window.h>

#include "wg_Prefs.h"
#include "wg_Tools.h"


// An update that comes at most this many seconds before the due time does not download.
static const bigtime_t kEarlyTolerance = 13;


void
WView::SetPulse()
{
	printf("UpdateSpeed= %" B_PRId32 " minutes\n", prefs->opUpdateSpeed);
	delete pulseRunner;
	pulseRunner = NULL;

	// No speed, or a negative one, is standby.
	if (prefs->opUpdateSpeed <= 0)
		return;

	bigtime_t interval = (bigtime_t)prefs->opUpdateSpeed * 60000000LL;
	BMessage pulse(kMsgPulse);
	pulseRunner = new BMessageRunner(BMessenger(this), &pulse, interval, -1);
	pulseRunner->SetCount(-1);

	if (!isReplicant && Window() != NULL) {
		Window()->SetPulseRate(interval);
		printf(" Window-PulseRuns: %" B_PRId32 " \n", prefs->opUpdateSpeed);
	}
}


void
WView::Pulse()
{
	printf("WView::Pulse (%" B_PRId32 ")\n", pulseCount);
	if (pulseCount > 1000)
		pulseCount = 0;
	printf("WView::Pulse end\n\n\n");
}


void
WView::PresetSelector()
{
	printf("WView::PresetSelector() ...\n");
	_EmptyLists();
	pageTitle = NULL;
	pageUrl = NULL;

	if (!prefs->settWindowOpen)
		presetNr++;
	else
		presetNr = prefs->PresetAtView;

	BAutolock lock(prefs->presetLock);
	BList* presets = prefs->presetList;
	const int32 count = presets->CountItems();

	if (count >= 2) {
		if (presetNr > count - 1)
			presetNr = 0;
		if (presetNr < 0)
			presetNr = count - 1;

		Preset* preset = (Preset*)presets->ItemAt(presetNr);
		for (int32 k = 2; k < preset->CountItems(); k += 2) {
			labelList->AddItem(new BString(preset->TextAt(k)));
			const char* pattern = preset->TextAt(k + 1);
			patternList->AddItem(new BString(pattern != NULL ? pattern : " uhh empty Item "));
			valueList->AddItem(new BString("     "));
		}
		pageTitle = preset->TextAt(0);
		pageUrl = preset->TextAt(1);
	} else {
		// A single preset is not used: the built-in ones are shown instead.
		if (presetNr > 3)
			presetNr = 0;
		if (presetNr < 0)
			presetNr = 3;

		const char** table = presetNr == 1 ? DefaultPresetB
			: presetNr == 2                ? DefaultPresetC
										   : DefaultPresetA;
		for (int32 k = 2; table[k] != NULL; k += 2) {
			labelList->AddItem(new BString(table[k]));
			patternList->AddItem(new BString(table[k + 1] != NULL ? table[k + 1] : ""));
			valueList->AddItem(new BString(" ... "));
		}
		pageTitle = table[0];
		pageUrl = table[1];
	}

	prefs->PresetAtView = presetNr;

	// Nothing points into presets that a reload dropped any more.
	prefs->ReleaseRetiredPresets();
	printf("WView::PresetSelector() end\n");
}


void
WView::GetWgetData()
{
	printf("WView::GetWgetData() ...\n");

	if (prefs->wget_avalibel) {
		bigtime_t now = system_time();
		bigtime_t diff = prefs->nextUpdateDue - now;
		bigtime_t seconds = diff / 1000000;
		if (seconds > 0)
			printf(" = eigendlich %" B_PRId64 " sek zu frueh! = B \n", seconds);
		else
			printf(" = eigendlich %" B_PRId64 " sek zu spaet = B \n", seconds);

		BString text;
		text.SetToFormat("View diff %" B_PRId64 " | %" B_PRId64 " |", seconds, diff);
		prefs->Logbuch(0, NULL, text.String(), true, true);
		prefs->Logbuch(0, NULL, pageTitle, true, true);

		// Too early: no download. A replicant's "Quit" would remove it from its shelf, or
		// the Deskbar item from the Deskbar, so an update that merely comes early ends
		// nothing.
		if (seconds >= 0 && seconds <= kEarlyTolerance)
			return;

		prefs->nextUpdateDue = now + (bigtime_t)prefs->opUpdateSpeed * 58000000LL;
		ReceiveX_wget(pageUrl, patternList, labelList, valueList);
		snooze(10000);
	}

	labelList->AddItem(new BString(pageTitle), 0);
	patternList->AddItem(new BString(" \t "), 0);
	valueList->AddItem(new BString(" \t "), 0);
	printf("WView::GetWgetData() end\n");
}
