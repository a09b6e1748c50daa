/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// The input is a flags byte, up to eight label and pattern pairs (each string closed by a
// NUL) and, after them, the page:
//	bits 0-2	number of pairs less one
//	bit 3		the value list is one item short
//	bit 4		the label list is one item short
//	bit 5		values start filled instead of empty
//	bit 6		the log book is off
// The extraction runs over the page, then both tokenizers take apart every value, label
// and the page's first line, each into a buffer of exactly strlen + 1 bytes.


#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "FuzzEnv.h"
#include "wg_Prefs.h"
#include "wg_Tools.h"


static const int32 kMaxPairs = 8;

static std::string sPagePath;


extern "C" int
LLVMFuzzerInitialize(int*, char***)
{
	FuzzSetUp();
	sPagePath = FuzzRoot() + "/page.html";
	return 0;
}


static void
take_apart(int (*tokenizer)(const char*, char*), const char* text)
{
	size_t length = strlen(text);
	// A heap buffer of the promised size, so that the sanitizer sees a byte too many.
	char* out = (char*)malloc(length + 1);
	if (out == NULL)
		abort();

	// A text of another length restarts the tokenizer; the empty text primes it.
	tokenizer("", out);
	size_t pieces = 0;
	while (tokenizer(text, out) == 1) {
		if (strlen(out) > length || ++pieces > length)
			abort();
	}
	free(out);
}


static void
empty_list(BList& list)
{
	for (int32 i = list.CountItems() - 1; i >= 0; i--)
		delete (BString*)list.ItemAt(i);
	list.MakeEmpty();
}


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	if (size == 0)
		return 0;
	const uint8_t flags = data[0];
	const char* next = (const char*)data + 1;
	const char* end = (const char*)data + size;

	std::vector<std::string> strings;
	const int32 wanted = (flags & (kMaxPairs - 1)) + 1;
	while ((int32)strings.size() < wanted * 2) {
		const char* stop = (const char*)memchr(next, '\0', end - next);
		if (stop == NULL)
			break;
		strings.emplace_back(next, stop - next);
		next = stop + 1;
	}
	const int32 pairs = (int32)strings.size() / 2;
	if (!FuzzWriteFile(sPagePath, (const uint8_t*)next, end - next))
		abort();

	BList patterns;
	BList labels;
	BList values;
	for (int32 i = 0; i < pairs; i++) {
		labels.AddItem(new BString(strings[i * 2].c_str()));
		patterns.AddItem(new BString(strings[i * 2 + 1].c_str()));
		values.AddItem(new BString((flags & 0x20) != 0 ? "old@value" : ""));
	}
	if ((flags & 0x08) != 0 && !values.IsEmpty())
		delete (BString*)values.RemoveItem(values.CountItems() - 1);
	if ((flags & 0x10) != 0 && !labels.IsEmpty())
		delete (BString*)labels.RemoveItem(labels.CountItems() - 1);

	Prefs* prefs = Prefs::getSTPrefs();
	prefs->opUseLog = true;
	// A new log book for every input, so that it does not grow over the run.
	prefs->Logbuch(1, NULL, "fuzz", true, true);
	prefs->opUseLog = (flags & 0x40) == 0;

	ExtractContent(sPagePath.c_str(), &patterns, &labels, &values);

	for (int32 i = 0; i < values.CountItems(); i++) {
		BString* value = (BString*)values.ItemAt(i);
		take_apart(TupExtract, value->String());
		take_apart(TxExtract, value->String());
	}
	for (int32 i = 0; i < labels.CountItems(); i++)
		take_apart(TxExtract, ((BString*)labels.ItemAt(i))->String());
	std::string page(next, strnlen(next, end - next));
	take_apart(TupExtract, page.c_str());
	take_apart(TxExtract, page.c_str());

	empty_list(patterns);
	empty_list(labels);
	empty_list(values);
	return 0;
}
