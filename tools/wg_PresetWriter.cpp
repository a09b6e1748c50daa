/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <String.h>

#include "wg_Prefs.h"


// The hosts of the built-in presets are placeholders under a reserved domain; the paths
// and queries are those of the pages the presets were written for.
#define HOST_A "wetter-snippet.example"
#define HOST_B "eurokurse.example"
#define HOST_C "wetterdienst.example"
#define HOST_D "lottozahlen.example"
#define HOST_E "kinoprogramm.example"


const char* DefaultPresetA[] = {HOST_A,
	"http://" HOST_A "/cgi-bin/wetter-net3/webseitenwetter.pl?TYP=4&NAME=Petershagen (Weser)"
	"&ID=3465&ID2=111907&CO=000000&BG=28EDBF&FNT=0&TAG=0&GR=12&BOX=180&P1=1&P2=3&P3=5",
	"[BG_IMAGE]", "kirchemuehle.jpg", "  für Petershagen ", " !dont find this! ",
	"  Datum : ", "Vorhersage für ", "      ", "\" title=\"",
	"  Img:      ", "images/karten-symbole/", "   Temp. :", "<b>Temp.:</b>",
	"  Regen  : ", "<b>Regen:</b>", "  Wind     :", "<b>Wind:</b>", NULL};


const char* DefaultPresetB[]
	= {HOST_B, "http://" HOST_B "/wechselkurs/", "        US Dollar : ", ">EUR USD</a><br />",
		"Schw.Franken : ", ">EUR CHF</a><br />", "     Brit. Pfund :  ", ">EUR GBP</a><br />",
		"          Jap. Yen :  ", ">EUR JPY</a><br />", "    Rus. Rubel  :  ", ">EUR RUB</a><br />",
		"  ", " !dont find this! ", " ", "content=\"http://" HOST_B "/images/web/", NULL};


const char* DefaultPresetC[] = {HOST_C,
	"http://" HOST_C "/dienste/homepage/wetter.asp?w=260&tc=000000&bc=F4F4F4&hc=33A8D6"
	"&htc=FFFFFF&p=32469&n=Petershagen&fc=137AAB&sb=1&t=1",
	"          Min:    ", "hpwtmin').innerHTML = \"",
	"          Max:   ", "hpwtmax').innerHTML = \"", "      Regen:    ", "hpwrain').innerHTML = \"",
	" Bft.  Wind:    ", "FF').innerHTML = \"", "W.Richtung:   ", "/dienste/icons/wind/",
	"   Prognose:   ", "/dienste/icons/106/", NULL};


const char* DefaultPresetD[] = {HOST_D, "http://" HOST_D "/data_extern/lottozahlen.php",
	" Die Ziehung vom :  ", "<br>(", "  ", "../grafik/", " ", "!dont find this! ",
	"Zusatzzahl: ", "Zusatzzahl ", "        SuperZahl:   ", "sZ: <b>",
	"        Spiel77:   ", "spiel77: <b>", "        Super6:   ", "super6: <b>", NULL};


const char* DefaultPresetE[] = {HOST_E, "http://" HOST_E "/index.php?inc=stadthagen", " vom ",
	"Unser Programm vom", " Titel: ", "ftabfilmtitel\">", NULL};


void
SaveSinglePresets(FILE* stream, const char** table)
{
	fputs(";\n; --- PRESET ---\n", stream);
	for (int32 i = 0; table[i] != NULL; i += 2) {
		fputs("$", stream);
		fputs(table[i], stream);
		fputs("$\t$", stream);
		fputs(table[i + 1] != NULL ? table[i + 1] : " !empty! ", stream);
		fputs("$\n", stream);
	}
	fputs(";   \n", stream);
}


static void
write_default_file(const char* traceWord, const char* function)
{
	Prefs* prefs = Prefs::getSTPrefs();
	BString path(prefs->PathToApp.Path() != NULL ? prefs->PathToApp.Path() : "");
	path << "/" << WG_DEFAULT_PRESET_FILE;
	printf("\n%s File: '%s'  \n", traceWord, path.String());

	FILE* file = fopen(path.String(), "w");
	if (file == NULL)
		printf("error open file\n");
	else {
		const char** tables[]
			= {DefaultPresetA, DefaultPresetB, DefaultPresetC, DefaultPresetD, DefaultPresetE};
		for (const char** table : tables)
			SaveSinglePresets(file, table);
		fclose(file);
	}
	printf("\n%s: -- ende  \n", function);
}


void
SaveDefaultPresets()
{
	write_default_file("SAVEDEFAULT", "SaveDefaultPresets");
}


void
SavePresets()
{
	write_default_file("SAVE", "SavePresets");
}
