/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Window.h"

#include <stdio.h>

#include <new>

#include <Alert.h>
#include <Application.h>
#include <Catalog.h>
#include <InterfaceDefs.h>

#include "wg_Prefs.h"
#include "wg_View.h"


#undef B_TRANSLATION_CONTEXT
#define B_TRANSLATION_CONTEXT "Webgrazer Window"


const float WIN_X = 30;
const float WIN_Y = 50;
const float WIN_W = 150;
const float WIN_H = 80;

static const char* kProgramName = "Webgrazer";
static const char* kVersion = "130113";
static const char* kSystem = "(Haiku)";
const char* kContactLine = "Webgrazer developers <webgrazer@example.org>";


DSWindow::DSWindow(BRect frame)
	: BWindow(frame, B_TRANSLATE("Webgrazer"), B_UNTYPED_WINDOW, 0x20000000, B_CURRENT_WORKSPACE)
{
	SetSizeLimits(WIN_W, WIN_W + 500, WIN_H, WIN_H + 400);
	prefs = Prefs::getSTPrefs();

	BRect stored = prefs->opWinRect;
	MoveTo(stored.LeftTop());
	ResizeTo(stored.right - stored.left, stored.bottom - stored.top);

	SetPulseRate((bigtime_t)prefs->opUpdateSpeed * 60000000LL);

	view = new WView(Bounds());
	AddChild(view);
	printf("-- StartUp Window-End--\n");
}


DSWindow::~DSWindow()
{
	Frame().PrintToStream();
	if (prefs != NULL) {
		prefs->opWinRect = Frame();
		prefs->Save();
	} else
		printf(" ...bad prefs \n");
}


void
DSWindow::MessageReceived(BMessage* message)
{
	prefs->Logbuch(0, message, "Win  ", true, true);

	if (IsIgnoredInput(message->what))
		return;

	switch (message->what) {
	case '_UKD':
		AddOptionalByWinKey(message);
		break;

	case 'ayHT':
		ShowHelpText(message);
		break;

	case 'fNPs':
	case 'wpcl':
		if (view != NULL)
			view->MessageReceived(message);
		break;

	case 'gHLP':
		GetHelp();
		break;

	case 'oINe':
		printf(" -new- selected ('oINe')\n");
		message->PrintToStream();
		break;

	case 'rPrf':
		prefs->LoadPrefs();
		break;

	case 'wpls':
		printf("wg_win recdeivesd: wv_pulse 'wpls'\n");
		break;

	default:
		printf("\nWG_Window::MessageReceived\n");
		message->PrintToStream();
		break;
	}
}


bool
DSWindow::QuitRequested()
{
	be_app_messenger.SendMessage(B_QUIT_REQUESTED);
	return true;
}


void
DSWindow::FrameMoved(BPoint)
{ }


void
DSWindow::FrameResized(float width, float height)
{
	if (prefs != NULL)
		prefs->opWinRect = Frame();
	if (view != NULL)
		view->FrameResized(width, height);
	if (prefs != NULL)
		prefs->opWinRect = Frame();
	else
		printf(" ..bad prefs \n");
}


void
DSWindow::ShowHelpText(BMessage* message)
{
	int32 line;
	if (message->FindInt32("_DILx", &line) != B_OK)
		line = -1;
	printf(" = In Line %" B_PRId32 " \n", line);
}


void
DSWindow::AddOptionalByWinKey(BMessage* message)
{
	PrintWinKey(message);
}


bool
IsIgnoredInput(uint32 code)
{
	switch (code) {
	case 'TICK':
	case '_KDN':
	case '_KYD':
	case '_KYU':
	case '_MCH':
	case '_MDN':
	case '_MMV':
	case '_MSI':
	case '_MUP':
	case '_MWC':
	case '_PBL':
	case '_UKU':
		return true;
	default:
		return false;
	}
}


void
PrintWinKey(BMessage* message)
{
	int32 modifiers = 0;
	int32 key = 0;
	message->FindInt32("modifiers", &modifiers);
	message->FindInt32("key", &key);

	if ((modifiers & 0x4004) != 0)
		printf(".. B_LEFT_OPTION_KEY || B_CONTROL_KEY\n");
	if (key == 102 || key == 103) {
		printf(" key 102 oder 103 \n");
		return;
	}
	printf("use Left-Win-Key ");
	printf("KState: %" B_PRId32 " KKey %" B_PRId32 " \n", modifiers, key);
}


void
DSWindow::AboutRequested()
{
	BString text(" AboutRequested..\n");
	text << kContactLine;
	DoErrorW(text.String());
}


//	#pragma mark - alerts


static void
compose(char* buffer, size_t size, const char* text)
{
	// The text is cut to the buffer of 2048 bytes.
	snprintf(buffer, size, "%s Vers.:%s %s\n%s\n", kProgramName, kVersion, kSystem,
		text != NULL ? text : "");
}


void
DoErrorW(const char* text)
{
	char buffer[2048];
	compose(buffer, sizeof(buffer), text);
	BAlert* alert = new (std::nothrow)
		BAlert("Damn_A", buffer, " OK ", NULL, NULL, B_WIDTH_AS_USUAL, B_INFO_ALERT);
	if (alert == NULL) {
		printf("Autch: '%s'...\n", text);
		return;
	}
	alert->SetShortcut(0, B_ENTER);
	alert->Go();
}


void
DoErrorB(const char* text)
{
	char buffer[2048];
	compose(buffer, sizeof(buffer), text);
	BAlert* alert
		= new BAlert("Damn_B", buffer, " OK ", NULL, NULL, B_WIDTH_AS_USUAL, B_INFO_ALERT);
	alert->SetShortcut(0, B_ENTER);
	alert->Go();
}


void
GetHelp()
{
	BAlert* alert
		= new BAlert("GetHelp", B_TRANSLATE("\t\t\n  Help-Alert...\t  \n not defined...\n"),
			B_TRANSLATE("Thanks"), NULL, NULL, B_WIDTH_AS_USUAL, B_INFO_ALERT);
	alert->SetShortcut(0, B_ENTER);
	alert->Go(NULL);
}
