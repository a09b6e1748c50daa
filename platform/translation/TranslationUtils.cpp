/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <TranslationUtils.h>

#include <limits.h>
#include <unistd.h>

#include <string>

#include <Bitmap.h>
#include <BitmapStream.h>
#include <Entry.h>
#include <File.h>
#include <TranslatorFormats.h>
#include <TranslatorRoster.h>


// The folder of the running executable, or "" when it cannot be found.
static std::string
executable_folder()
{
	char path[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0)
		return std::string();
	std::string executable(path, (size_t)length);
	size_t slash = executable.rfind('/');
	return slash == std::string::npos ? std::string() : executable.substr(0, slash);
}


BBitmap*
BTranslationUtils::GetBitmap(const char* name, BTranslatorRoster* roster)
{
	return GetBitmapFile(name, roster);
}


BBitmap*
BTranslationUtils::GetBitmap(const entry_ref* ref, BTranslatorRoster* roster)
{
	if (ref == NULL)
		return NULL;

	BFile file(ref, B_READ_ONLY);
	if (file.InitCheck() != B_OK)
		return NULL;
	return GetBitmap(&file, roster);
}


BBitmap*
BTranslationUtils::GetBitmap(BPositionIO* stream, BTranslatorRoster* roster)
{
	if (stream == NULL)
		return NULL;
	if (roster == NULL)
		roster = BTranslatorRoster::Default();

	BBitmapStream bitmapStream;
	if (roster->Translate(stream, NULL, NULL, &bitmapStream, B_TRANSLATOR_BITMAP) != B_OK)
		return NULL;

	BBitmap* bitmap = NULL;
	if (bitmapStream.DetachBitmap(&bitmap) != B_OK)
		return NULL;
	return bitmap;
}


BBitmap*
BTranslationUtils::GetBitmapFile(const char* name, BTranslatorRoster* roster)
{
	if (name == NULL || name[0] == '\0')
		return NULL;

	std::string path = name;
	if (name[0] != '/') {
		std::string folder = executable_folder();
		if (folder.empty())
			return NULL;
		path = folder + "/" + name;
	}

	BFile file(path.c_str(), B_READ_ONLY);
	if (file.InitCheck() != B_OK)
		return NULL;
	return GetBitmap(&file, roster);
}
