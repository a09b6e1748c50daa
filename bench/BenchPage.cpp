/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "BenchPage.h"

#include <stdint.h>


// A small deterministic generator (xorshift), so that every run and every host sees the
// same page.
class Random {
public:
	explicit Random(uint64_t seed) : fState(seed) { }

	uint32
	Next()
	{
		fState ^= fState << 13;
		fState ^= fState >> 7;
		fState ^= fState << 17;
		return (uint32)(fState >> 16);
	}

	uint32
	Below(uint32 limit)
	{
		return Next() % limit;
	}

	bool
	OneIn(uint32 chance)
	{
		return Below(chance) == 0;
	}

private:
	uint64_t fState;
};


// Words of a German weather and news page, a few with Latin-1 umlauts, a few with entities.
// The umlauts are Latin-1 bytes, written as octal escapes.
static const char* kWords[] = {"Wetter", "Temperatur", "Regen", "bew\366lkt", "sonnig", "M\344rz",
	"K\366ln", "Stra\337e", "\334bersicht", "Gr\366\337e", "\304nderung", "M&auml;rz", "S&uuml;d",
	"Gr&ouml;&szlig;e", "&Uuml;ber", "Kurs", "B&ouml;rse", "&quot;Aktuell&quot;", "&#228;hnlich",
	"&euro;", "&copy;", "Wind", "Nord", "Luftdruck", "hPa", "Vorhersage", "morgen", "heute",
	"Nacht", "Schauer", "Gewitter", "Nebel", "Frost", "Sicht", "&nbsp;", "--", "und", "mit", "bei",
	"der", "die", "das"};
static const int32 kWordCount = sizeof(kWords) / sizeof(kWords[0]);

static const char* kDays[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};


// Every pattern sits on exactly one line of the cleaned page, so that the extraction reads
// the page to its end as it does when a preset finds all its values. Two patterns carry the
// number the tag counter gives; their markup is part of the filler.
const LabelPair kPairs[kLabelCount] = {
	{"Titel", "<title>:0|", NULL},
	{"Ort", "<h1 class=\"place\">", "<h1 class=\"place\">K&ouml;ln-S&uuml;d</h1>"},
	{"Jetzt", "<td class=\"now-temp\">", "<tr>\n<td class=\"now-temp\">17&deg;</td>\n</tr>"},
	{"Gef\303\274hlt", "<td class=\"feels\">", "<tr><td class=\"feels\">15&deg;;</td></tr>"},
	{"Wind", "<td class=\"wind\">", "<tr>\r\n\t<td class=\"wind\">NW 12 km/h</td>\r\n</tr>"},
	{"Druck", "id=\"pressure\">", "<p id=\"pressure\">1013 hPa</p>"},
	{"Feuchte", "id=\"humidity\">", "<span id=\"humidity\">68 %</span>"},
	{"Sonne", "class=\"sunrise\">", "<div class=\"sunrise\">06:42</div>"},
	{"Mond", "class=\"moon\">", "<div class=\"moon\">abnehmend</div>"},
	{"Max", "class=\"hi\">:7|", NULL},
	{"Bild", "<img src=\"/icons/", "<img src=\"/icons/wx-cloudy.png\" alt=\"bew&ouml;lkt\">"},
	{"Regen", "<td class=\"rain\">", "<tr><td class=\"rain\">80 %</td></tr>"},
	{"Euro", "id=\"eur-usd\">", "<b id=\"eur-usd\">1,0842</b>"},
	{"Gold", "id=\"gold\">", "<b id=\"gold\">2.341,50 &euro;</b>"},
	{"DAX", "id=\"dax\">", "<b id=\"dax\">18.204,3</b>"},
	{"Zahlen", "class=\"lotto\">", "<div class=\"lotto\">3 11 19 24 38 41</div>"},
	{"Super", "class=\"super\">", "<div class=\"super\">7</div>"},
	{"Stand", "class=\"updated\">", "<span class=\"updated\">Stand: 14:05</span>"},
	{"Quelle", "class=\"source\">", "<div class=\"source\">Deutscher Dienst</div>"},
	{"Hinweis", "class=\"notice\">", "<p class=\"notice\">Gl&auml;tte m&ouml;glich</p>"},
};


class PageWriter {
public:
	PageWriter() : fRandom(0x5eed2026) { }

	std::string
	Generate(size_t size)
	{
		fPage.clear();
		fPage.reserve(size + 65536);
		_Head();

		// The extraction's markup is spread evenly; the rest is filler of every kind.
		int32 nextPair = 1;
		while (fPage.size() < size) {
			while (nextPair < kLabelCount && kPairs[nextPair].markup != NULL
				&& fPage.size() >= size * nextPair / kLabelCount) {
				fPage += kPairs[nextPair].markup;
				_LineEnd();
				nextPair++;
			}
			while (nextPair < kLabelCount && kPairs[nextPair].markup == NULL)
				nextPair++;

			switch (fRandom.Below(6)) {
			case 0:
			case 1:
				_Table();
				break;
			case 2:
				_Text();
				break;
			case 3:
				_Script();
				break;
			case 4:
				_Images();
				break;
			default:
				_Spans();
				break;
			}
		}
		while (nextPair < kLabelCount) {
			if (kPairs[nextPair].markup != NULL) {
				fPage += kPairs[nextPair].markup;
				_LineEnd();
			}
			nextPair++;
		}
		fPage += "</body></html>\n";
		return fPage;
	}

private:
	void
	_LineEnd()
	{
		fPage += fRandom.OneIn(5) ? "\r\n" : "\n";
	}

	void
	_Blanks()
	{
		fPage.append(1 + fRandom.Below(fRandom.OneIn(4) ? 9 : 2), ' ');
	}

	void
	_Words(int32 count)
	{
		for (int32 i = 0; i < count; i++) {
			fPage += kWords[fRandom.Below(kWordCount)];
			_Blanks();
		}
	}

	void
	_Head()
	{
		fPage += "<!DOCTYPE html>\n<html><head><title>Wetter, Kurse und Zahlen</title>\n";
		fPage += "<meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">\n";
		fPage += "<link rel=\"stylesheet\" href=\"/css/site.css\">\n</head>\n<body>\n";
	}

	void
	_Table()
	{
		fPage += "<table class=\"forecast\" cellspacing=\"0\">";
		_LineEnd();
		int32 rows = 3 + fRandom.Below(8);
		for (int32 row = 0; row < rows; row++) {
			// A row over several lines, indented with tabs and blanks.
			fPage += "<tr>";
			_LineEnd();
			fPage += "\t<td class=\"day\">";
			fPage += kDays[fRandom.Below(7)];
			fPage += "</td>";
			_LineEnd();
			fPage += "\t<td class=\"hi\">";
			fPage += std::to_string(fRandom.Below(35));
			fPage += fRandom.OneIn(2) ? "&deg;" : "&deg;;";
			fPage += "</td><td class=\"lo\">";
			fPage += std::to_string(fRandom.Below(15));
			fPage += "&deg;</td>";
			_LineEnd();
			fPage += "    <td>";
			_Words(2 + fRandom.Below(5));
			fPage += "</td>";
			_LineEnd();
			fPage += "\t<td><img src=\"/32x32/wx";
			fPage += std::to_string(fRandom.Below(40));
			fPage += ".png\" alt=\"";
			_Words(1);
			fPage += "\" width=\"32\"></td>";
			_LineEnd();
			fPage += "</tr>";
			_LineEnd();
		}
		fPage += "</table>";
		_LineEnd();
	}

	void
	_Text()
	{
		fPage += "<div class=\"article\"><p>";
		// Now and then a paragraph that is one long line, longer than a line buffer.
		int32 words = fRandom.OneIn(4) ? 400 + fRandom.Below(600) : 10 + fRandom.Below(60);
		for (int32 i = 0; i < words; i++) {
			fPage += kWords[fRandom.Below(kWordCount)];
			switch (fRandom.Below(40)) {
			case 0:
				fPage += "<br \\/>";
				break;
			case 1:
				fPage += "&lt;br /&gt;";
				break;
			case 2:
				fPage += " -- ";
				break;
			case 3:
				fPage += "<a href=\"/wetter/";
				fPage += std::to_string(fRandom.Below(1000));
				fPage += "\">mehr</a>";
				break;
			default:
				break;
			}
			_Blanks();
			if (words < 100 && fRandom.OneIn(12))
				_LineEnd();
		}
		fPage += "</p></div>";
		_LineEnd();
	}

	void
	_Script()
	{
		fPage += "<script type=\"text/javascript\">var z=";
		fPage += std::to_string(fRandom.Below(100000));
		fPage += ";document.write('<span class=\"ad\">');document.write(z);";
		fPage += "document.writeln('</span>');</script>";
		_LineEnd();
	}

	void
	_Images()
	{
		int32 count = 1 + fRandom.Below(5);
		for (int32 i = 0; i < count; i++) {
			if (fRandom.OneIn(3))
				fPage += "<IMG SRC=\"/64x64/pic.gif\" BORDER=0>";
			else {
				fPage += "<a href=\"/bild/";
				fPage += std::to_string(fRandom.Below(500));
				fPage += "\"><img src=\"/256x256/b";
				fPage += std::to_string(fRandom.Below(500));
				fPage += ".jpg\" alt=\"";
				_Words(2);
				fPage += "\"></a>";
			}
			_Blanks();
		}
		_LineEnd();
	}

	void
	_Spans()
	{
		fPage += "<div class=\"box\"><span class=\"k\">";
		_Words(3 + fRandom.Below(6));
		fPage += "</span><font size=\"2\">";
		_Words(2 + fRandom.Below(4));
		fPage += "</font></div>";
		_LineEnd();
	}

	Random fRandom;
	std::string fPage;
};


std::string
GeneratePage(size_t size)
{
	return PageWriter().Generate(size);
}
