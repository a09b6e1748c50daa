/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// A text view and the clipboard: cut, copy and paste of "text/plain".


#include <TextView.h>

#include <algorithm>
#include <string>

#include <AppDefs.h>
#include <Clipboard.h>
#include <Message.h>

#include "TextViewData.h"


void
BTextView::MessageReceived(BMessage* message)
{
	switch (message->what) {
	case B_CUT:
		Cut(be_clipboard);
		break;
	case B_COPY:
		Copy(be_clipboard);
		break;
	case B_PASTE:
		Paste(be_clipboard);
		break;
	case B_SELECT_ALL:
		SelectAll();
		break;
	default:
		BView::MessageReceived(message);
		break;
	}
}


void
BTextView::Copy(BClipboard* clipboard)
{
	if (clipboard == NULL || fSelStart >= fSelEnd || !clipboard->Lock())
		return;
	clipboard->Clear();
	BMessage* data = clipboard->Data();
	if (data != NULL) {
		data->AddData(
			"text/plain", B_MIME_TYPE, fData->text.data() + fSelStart, fSelEnd - fSelStart);
		clipboard->Commit();
	}
	clipboard->Unlock();
}


void
BTextView::Cut(BClipboard* clipboard)
{
	// Without a clipboard the text would be lost.
	if (!fEditable || clipboard == NULL)
		return;
	Copy(clipboard);
	Delete();
	ScrollToOffset(fCaret);
}


void
BTextView::Paste(BClipboard* clipboard)
{
	if (!fEditable || clipboard == NULL || !clipboard->Lock())
		return;
	std::string text;
	const void* bytes = NULL;
	ssize_t size = 0;
	BMessage* data = clipboard->Data();
	if (data != NULL && data->FindData("text/plain", B_MIME_TYPE, &bytes, &size) == B_OK
		&& bytes != NULL && size > 0)
		text.assign((const char*)bytes, (size_t)size);
	clipboard->Unlock();
	// A NUL would end the text early.
	text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
	if (text.empty())
		return;
	if (fSelStart < fSelEnd)
		Delete();
	Insert(fCaret, text.data(), (int32)text.size());
	ScrollToOffset(fCaret);
}


void
BTextView::Clear()
{
	Delete();
}


bool
BTextView::AcceptsPaste(BClipboard* clipboard)
{
	if (!fEditable || clipboard == NULL || !clipboard->Lock())
		return false;
	BMessage* data = clipboard->Data();
	bool accepts = data != NULL && data->HasData("text/plain", B_MIME_TYPE);
	clipboard->Unlock();
	return accepts;
}
