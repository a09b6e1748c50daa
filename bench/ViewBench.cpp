/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */

// One redraw of a 150 x 80 display view from its lists: the picture's background, title,
// separator, eight lines with values and the notices, without the fetch.


#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <benchmark/benchmark.h>

#include <Bitmap.h>
#include <View.h>

#include "wg_Prefs.h"
#include "wg_View.h"


static void
BM_ViewRedraw(benchmark::State& state)
{
	char root[] = "/tmp/wgbench-view.XXXXXX";
	if (mkdtemp(root) == NULL) {
		state.SkipWithError("no temporary folder");
		return;
	}
	std::string base(root);
	for (const char* folder : {"/home", "/config", "/state", "/system", "/apps", "/apps/Webgrazer"})
		mkdir((base + folder).c_str(), 0755);
	setenv("HOME", (base + "/home").c_str(), 1);
	setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
	setenv("XDG_STATE_HOME", (base + "/state").c_str(), 1);
	setenv("HAIKU_SYSTEM_DIR", (base + "/system").c_str(), 1);
	setenv("HAIKU_APPS_DIR", (base + "/apps").c_str(), 1);

	// The program talks on standard output; the report must stay readable.
	fflush(stdout);
	int savedOutput = dup(STDOUT_FILENO);
	int devNull = open("/dev/null", O_WRONLY);
	dup2(devNull, STDOUT_FILENO);
	Prefs* prefs = Prefs::getSTPrefs();
	prefs->opUseLog = false;

	BRect frame(0, 0, 149, 79);
	BBitmap host(frame, B_RGBA32, true);
	host.Lock();
	WView* view = new WView(frame);
	host.AddChild(view);

	// Lines as an update leaves them: the title, then labels with values.
	const char* lines[][2] = {{" Temp. :", " 12\xc2\xb0 C"}, {"  Regen  : ", "30 % "},
		{"  Wind     :", "NW 3"}, {" Datum : ", "Mo, 7.12."}, {"  US Dollar : ", "1,0812"},
		{" Brit. Pfund : ", "0,8571@0,8569"}, {" Zusatzzahl: ", "7"},
		{" Titel: ", "A long film title that does not fit the view"}};
	for (int32 i = view->labelList->CountItems() - 1; i >= 0; i--) {
		delete (BString*)view->labelList->RemoveItem(i);
		delete (BString*)view->valueList->RemoveItem(i);
		delete (BString*)view->patternList->RemoveItem(i);
	}
	view->labelList->AddItem(new BString("wetter.example"));
	view->valueList->AddItem(new BString(" \t "));
	view->patternList->AddItem(new BString(" \t "));
	for (const auto& line : lines) {
		view->labelList->AddItem(new BString(line[0]));
		view->valueList->AddItem(new BString(line[1]));
		view->patternList->AddItem(new BString("p"));
	}

	for (auto _ : state) {
		view->fullRedraw = false;
		view->UpdateImage();
	}

	host.RemoveChild(view);
	delete view;
	prefs->DeleteMe();
	fflush(stdout);
	dup2(savedOutput, STDOUT_FILENO);
	close(savedOutput);
	close(devNull);
	std::string command = "rm -rf '" + base + "'";
	if (system(command.c_str()) != 0)
		state.SkipWithError("could not remove the temporary folder");
}
BENCHMARK(BM_ViewRedraw)->Unit(benchmark::kMillisecond);
