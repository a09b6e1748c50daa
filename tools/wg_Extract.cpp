/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "wg_Tools.h"

#include <stdio.h>
#include <string.h>

#include "wg_Prefs.h"


// A value that grows past this many bytes ends the scan.
static const int32 kMaxValueLength = 500;


// Where a value that starts at `start` ends: at the first "<"; failing that at the first
// apostrophe, semicolon, double quote or ">" in this order of preference. A double quote
// before that end ends it earlier. Without any of them the value runs to the end of the line.
static const char*
value_end(const char* line, const char* start)
{
	const char* end = strchr(start, '<');
	if (end == NULL)
		end = strchr(start, '\'');
	if (end == NULL)
		end = strchr(start, ';');
	if (end == NULL)
		end = strchr(start, '"');
	if (end == NULL)
		end = strchr(start, '>');
	if (end == NULL)
		return start + strlen(start);

	const char* quote = strchr(start, '"');
	if (quote != NULL && quote > line && quote < end)
		end = quote;
	return end;
}


static void
clean_value(BString& value)
{
	value.RemoveAll("\\");
	value.RemoveSet(";)(>\"");
	value.ReplaceAll("C.C", " C");
	value.ReplaceAll("0%", "0 % ");
	value.RemoveAll("&nbsp");
	value.ReplaceAll("&deg", "\xc2\xb0 ");
	value.RemoveAll("document.writeln");
	if (value.ByteAt(0) == '#')
		value.Append(".png");
}


// Lets the end of an image's source attribute end a value: every double quote that is
// followed by " alt=" becomes an apostrophe.
static void
mark_alt_quotes(char* line)
{
	for (char* quote = strchr(line, '"'); quote != NULL; quote = strchr(quote + 1, '"')) {
		if (strncmp(quote + 1, " alt=", 5) == 0)
			*quote = '\'';
	}
}


void
ExtractContent(const char* path, BList* patternList, BList* labelList, BList* valueList)
{
	printf(" = ExtractContent =\n");
	if (patternList == NULL) {
		printf(" -NO Search-BList ");
		return;
	}
	if (labelList == NULL) {
		printf(" -NO Titels-BList ");
		return;
	}
	if (valueList == NULL) {
		printf(" -NO Values-BList ");
		return;
	}

	const int32 patternCount = patternList->CountItems();
	const int32 labelCount = labelList->CountItems();
	int32 matches = -1;

	// The label of the latest match: the same label matching again adds to its value.
	BString previousLabel;

	FILE* file = path != NULL ? fopen(path, "r") : NULL;
	if (file != NULL) {
		char line[2048];
		while (fgets(line, sizeof(line), file) != NULL) {
			if (matches >= labelCount) {
				printf(" %" B_PRId32 " break \n", matches);
				break;
			}

			const char* rowStart = strstr(line, "<tr>");
			const char* rowEnd = strstr(line, "</tr>");
			if (rowStart != NULL && rowStart > line && rowEnd != NULL && rowEnd > line)
				printf(" full <tr>...</tr> in one line\n %s\n", line);

			mark_alt_quotes(line);

			for (int32 j = 0; j < patternCount; j++) {
				BString* pattern = (BString*)patternList->ItemAt(j);
				BString* label = (BString*)labelList->ItemAt(j);
				if (pattern == NULL) {
					printf(" oops , kein fSearch \n");
					continue;
				}
				if (label == NULL) {
					printf(" oops , kein fTitels \n");
					continue;
				}

				const char* found = strstr(line, pattern->String());
				if (found == NULL)
					continue;
				const char* start = found + pattern->Length();
				const char* end = value_end(line, start);
				BString value(start, end - start);
				clean_value(value);

				if (value.Length() > 0) {
					BString* item = (BString*)valueList->ItemAt(j);
					if (item == NULL) {
						// A value list shorter than the patterns has no place for it.
						printf(" oops , kein fValue \n");
					} else if (*label != previousLabel) {
						valueList->ReplaceItem(j, new BString(value));
						delete item;
						item = (BString*)valueList->ItemAt(j);
						matches++;
					} else
						item->Append("@").Append(value);

					if (item != NULL && item->Length() > kMaxValueLength)
						matches = labelCount + 1;
				}
				previousLabel = *label;
			}
		}
		fclose(file);
	}

	Prefs* prefs = Prefs::getSTPrefs();
	for (int32 i = 1; i < labelCount; i++) {
		BString* label = (BString*)labelList->ItemAt(i);
		BString* value = (BString*)valueList->ItemAt(i);
		if (label == NULL || value == NULL || label->StartsWith("[ROW_")
			|| label->StartsWith("[BG_") || label->StartsWith("[VIEW")) {
			continue;
		}
		prefs->Logbuch(0, NULL, label->String(), false, false);
		prefs->Logbuch(0, NULL, value->String(), false, true);
	}
}


//	#pragma mark - tokenizers


struct TokenizerState {
	int32 position;
	int32 rememberedLength;
	int32 currentLength;
};


static int
next_piece(TokenizerState& state, char separator, const char* text, char* out)
{
	if (text == NULL)
		text = "";
	state.currentLength = (int32)strlen(text);
	if (state.currentLength != state.rememberedLength) {
		state.position = 0;
		state.rememberedLength = state.currentLength;
	}

	out[0] = '\0';
	if (state.position >= state.currentLength)
		return 0;

	const char* start = text + state.position;
	const char* stop = strchr(start, separator);
	int32 length = stop != NULL ? (int32)(stop - start) : state.currentLength - state.position;
	if (length == 0)
		return 0;

	memcpy(out, start, length);
	out[length] = '\0';
	state.position += length + 1;
	return 1;
}


int
TupExtract(const char* text, char* out)
{
	static TokenizerState sState = {0, 0, 0};
	return next_piece(sState, '@', text, out);
}


int
TxExtract(const char* text, char* out)
{
	static TokenizerState sState = {0, 0, 0};
	return next_piece(sState, ' ', text, out);
}
