/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _TRANSLATOR_ROSTER_H
#define _TRANSLATOR_ROSTER_H


#include <Archivable.h>
#include <TranslationDefs.h>


class BMessage;
class BPositionIO;

namespace BPrivate {
class TranslatorRosterPrivate;
}


// Finds the translator for a stream and runs it. The layer loads no add-ons: its
// translators are built in. PNG, JPEG and GIF (recognised by their signatures, not by
// names or hints) translate into B_TRANSLATOR_BITMAP; B_TRANSLATOR_BITMAP translates into
// PNG. The hint arguments are accepted and not needed.
class BTranslatorRoster {
public:
	BTranslatorRoster();
	virtual ~BTranslatorRoster();

	// The roster of the process with every built-in translator; never delete it.
	static BTranslatorRoster* Default();

	static const char* Version(int32* outCurVersion, int32* outMinVersion, int32 inAppVersion);

	// With no path, adds the built-in translators (once). Paths name add-on folders,
	// which the layer does not load: B_ERROR.
	status_t AddTranslators(const char* loadPath = NULL);

	virtual status_t Identify(BPositionIO* source, BMessage* ioExtension, translator_info* _info,
		uint32 hintType = 0, const char* hintMIME = NULL, uint32 wantType = 0);

	// The array is the caller's, to delete[].
	virtual status_t GetTranslators(BPositionIO* source, BMessage* ioExtension,
		translator_info** _info, int32* _numInfo, uint32 hintType = 0, const char* hintMIME = NULL,
		uint32 wantType = 0);

	// The array is the caller's, to delete[].
	virtual status_t GetAllTranslators(translator_id** _list, int32* _count);

	virtual status_t GetTranslatorInfo(
		translator_id translatorID, const char** _name, const char** _info, int32* _version);

	virtual status_t GetInputFormats(
		translator_id translatorID, const translation_format** _formats, int32* _numFormats);
	virtual status_t GetOutputFormats(
		translator_id translatorID, const translation_format** _formats, int32* _numFormats);

	// Without info, identifies the source first. The source is read from its start.
	virtual status_t Translate(BPositionIO* source, const translator_info* info,
		BMessage* ioExtension, BPositionIO* destination, uint32 wantOutType, uint32 hintType = 0,
		const char* hintMIME = NULL);
	virtual status_t Translate(translator_id translatorID, BPositionIO* source,
		BMessage* ioExtension, BPositionIO* destination, uint32 wantOutType);

	// The built-in translators have no settings: ioExtension is left as it is.
	virtual status_t GetConfigurationMessage(translator_id translatorID, BMessage* ioExtension);

private:
	BTranslatorRoster(const BTranslatorRoster&);
	BTranslatorRoster& operator=(const BTranslatorRoster&);

	BPrivate::TranslatorRosterPrivate* fPrivate;
};


#endif // _TRANSLATOR_ROSTER_H
