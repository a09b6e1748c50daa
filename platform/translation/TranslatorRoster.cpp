/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <TranslatorRoster.h>

#include <stdio.h>

#include <new>

#include <Autolock.h>
#include <Locker.h>

#include <BuiltinTranslators.h>


using BPrivate::BuiltinTranslator;


namespace BPrivate {


// The translators of a roster. They are only ever added, so that a translator found
// under the lock may be used after it is released; an id is the index plus one.
class TranslatorRosterPrivate {
public:
	TranslatorRosterPrivate() : fLock("translator roster"), fCount(0), fBuiltinsAdded(false) { }

	~TranslatorRosterPrivate()
	{
		for (int32 i = 0; i < fCount; i++)
			delete fTranslators[i];
	}

	status_t
	AddBuiltins()
	{
		BAutolock _(fLock);
		if (fBuiltinsAdded)
			return B_OK;

		BuiltinTranslator* translators[] = {
			create_png_translator(),
			create_jpeg_translator(),
			create_gif_translator(),
		};
		for (BuiltinTranslator* translator : translators) {
			if (translator != NULL && fCount < kMaxTranslators)
				fTranslators[fCount++] = translator;
			else
				delete translator;
		}
		fBuiltinsAdded = true;
		return B_OK;
	}

	int32
	Count()
	{
		BAutolock _(fLock);
		return fCount;
	}

	BuiltinTranslator*
	Find(translator_id id)
	{
		BAutolock _(fLock);
		if (id < 1 || id > (translator_id)fCount)
			return NULL;
		return fTranslators[id - 1];
	}

private:
	static const int32 kMaxTranslators = 16;

	BLocker fLock;
	BuiltinTranslator* fTranslators[kMaxTranslators];
	int32 fCount;
	bool fBuiltinsAdded;
};


}


// Asks one translator about the source, read from its start.
static status_t
identify_with(BuiltinTranslator* translator, translator_id id, BPositionIO* source,
	BMessage* ioExtension, uint32 wantType, translator_info* _info)
{
	off_t position = source->Seek(0, SEEK_SET);
	if (position < 0)
		return (status_t)position;

	status_t status = translator->Identify(source, ioExtension, _info, wantType);
	if (status == B_OK)
		_info->translator = id;
	return status;
}


BTranslatorRoster::BTranslatorRoster() : fPrivate(new BPrivate::TranslatorRosterPrivate) { }


BTranslatorRoster::~BTranslatorRoster()
{
	delete fPrivate;
}


BTranslatorRoster*
BTranslatorRoster::Default()
{
	static BTranslatorRoster* sDefaultRoster = [] {
		BTranslatorRoster* roster = new BTranslatorRoster;
		roster->AddTranslators(NULL);
		return roster;
	}();
	return sDefaultRoster;
}


const char*
BTranslatorRoster::Version(int32* outCurVersion, int32* outMinVersion, int32 inAppVersion)
{
	(void)inAppVersion;
	if (outCurVersion != NULL)
		*outCurVersion = B_TRANSLATION_CURRENT_VERSION;
	if (outMinVersion != NULL)
		*outMinVersion = B_TRANSLATION_MIN_VERSION;
	return "Translation Kit v5.0.0";
}


status_t
BTranslatorRoster::AddTranslators(const char* loadPath)
{
	if (loadPath != NULL)
		return B_ERROR;
	return fPrivate->AddBuiltins();
}


status_t
BTranslatorRoster::Identify(BPositionIO* source, BMessage* ioExtension, translator_info* _info,
	uint32 hintType, const char* hintMIME, uint32 wantType)
{
	(void)hintType;
	(void)hintMIME;
	if (source == NULL || _info == NULL)
		return B_BAD_VALUE;

	bool found = false;
	float bestWeight = 0;
	int32 count = fPrivate->Count();
	for (int32 i = 0; i < count; i++) {
		translator_id id = (translator_id)i + 1;
		translator_info info;
		status_t status
			= identify_with(fPrivate->Find(id), id, source, ioExtension, wantType, &info);
		if (status != B_OK)
			continue;

		float weight = info.quality * info.capability;
		if (!found || weight > bestWeight) {
			*_info = info;
			bestWeight = weight;
			found = true;
		}
	}

	source->Seek(0, SEEK_SET);
	return found ? B_OK : B_NO_TRANSLATOR;
}


status_t
BTranslatorRoster::GetTranslators(BPositionIO* source, BMessage* ioExtension,
	translator_info** _info, int32* _numInfo, uint32 hintType, const char* hintMIME,
	uint32 wantType)
{
	(void)hintType;
	(void)hintMIME;
	if (source == NULL || _info == NULL || _numInfo == NULL)
		return B_BAD_VALUE;

	int32 count = fPrivate->Count();
	translator_info* list = new (std::nothrow) translator_info[count > 0 ? count : 1];
	if (list == NULL)
		return B_NO_MEMORY;

	int32 found = 0;
	for (int32 i = 0; i < count; i++) {
		translator_id id = (translator_id)i + 1;
		translator_info info;
		if (identify_with(fPrivate->Find(id), id, source, ioExtension, wantType, &info) != B_OK)
			continue;

		// Best first, by quality times capability.
		int32 index = found++;
		while (index > 0
			&& list[index - 1].quality * list[index - 1].capability
				< info.quality * info.capability) {
			list[index] = list[index - 1];
			index--;
		}
		list[index] = info;
	}
	source->Seek(0, SEEK_SET);

	if (found == 0) {
		delete[] list;
		*_info = NULL;
		*_numInfo = 0;
		return B_NO_TRANSLATOR;
	}
	*_info = list;
	*_numInfo = found;
	return B_OK;
}


status_t
BTranslatorRoster::GetAllTranslators(translator_id** _list, int32* _count)
{
	if (_list == NULL || _count == NULL)
		return B_BAD_VALUE;

	int32 count = fPrivate->Count();
	translator_id* list = new (std::nothrow) translator_id[count > 0 ? count : 1];
	if (list == NULL)
		return B_NO_MEMORY;
	for (int32 i = 0; i < count; i++)
		list[i] = (translator_id)i + 1;

	*_list = list;
	*_count = count;
	return B_OK;
}


status_t
BTranslatorRoster::GetTranslatorInfo(
	translator_id translatorID, const char** _name, const char** _info, int32* _version)
{
	if (_name == NULL || _info == NULL || _version == NULL)
		return B_BAD_VALUE;

	BuiltinTranslator* translator = fPrivate->Find(translatorID);
	if (translator == NULL)
		return B_NO_TRANSLATOR;

	*_name = translator->Name();
	*_info = translator->Info();
	*_version = translator->Version();
	return B_OK;
}


status_t
BTranslatorRoster::GetInputFormats(
	translator_id translatorID, const translation_format** _formats, int32* _numFormats)
{
	if (_formats == NULL || _numFormats == NULL)
		return B_BAD_VALUE;

	BuiltinTranslator* translator = fPrivate->Find(translatorID);
	if (translator == NULL)
		return B_NO_TRANSLATOR;

	*_formats = translator->InputFormats(_numFormats);
	return B_OK;
}


status_t
BTranslatorRoster::GetOutputFormats(
	translator_id translatorID, const translation_format** _formats, int32* _numFormats)
{
	if (_formats == NULL || _numFormats == NULL)
		return B_BAD_VALUE;

	BuiltinTranslator* translator = fPrivate->Find(translatorID);
	if (translator == NULL)
		return B_NO_TRANSLATOR;

	*_formats = translator->OutputFormats(_numFormats);
	return B_OK;
}


status_t
BTranslatorRoster::Translate(BPositionIO* source, const translator_info* info,
	BMessage* ioExtension, BPositionIO* destination, uint32 wantOutType, uint32 hintType,
	const char* hintMIME)
{
	if (source == NULL || destination == NULL)
		return B_BAD_VALUE;

	translator_info identified;
	if (info == NULL) {
		status_t status
			= Identify(source, ioExtension, &identified, hintType, hintMIME, wantOutType);
		if (status != B_OK)
			return status;
		info = &identified;
	}

	BuiltinTranslator* translator = fPrivate->Find(info->translator);
	if (translator == NULL)
		return B_NO_TRANSLATOR;

	off_t position = source->Seek(0, SEEK_SET);
	if (position < 0)
		return (status_t)position;
	return translator->Translate(source, info, ioExtension, wantOutType, destination);
}


status_t
BTranslatorRoster::Translate(translator_id translatorID, BPositionIO* source, BMessage* ioExtension,
	BPositionIO* destination, uint32 wantOutType)
{
	if (source == NULL || destination == NULL)
		return B_BAD_VALUE;

	BuiltinTranslator* translator = fPrivate->Find(translatorID);
	if (translator == NULL)
		return B_NO_TRANSLATOR;

	translator_info info;
	status_t status
		= identify_with(translator, translatorID, source, ioExtension, wantOutType, &info);
	if (status != B_OK)
		return status;

	off_t position = source->Seek(0, SEEK_SET);
	if (position < 0)
		return (status_t)position;
	return translator->Translate(source, &info, ioExtension, wantOutType, destination);
}


status_t
BTranslatorRoster::GetConfigurationMessage(translator_id translatorID, BMessage* ioExtension)
{
	if (ioExtension == NULL)
		return B_BAD_VALUE;
	return fPrivate->Find(translatorID) != NULL ? B_OK : B_NO_TRANSLATOR;
}
