/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _STRING_VIEW_H
#define _STRING_VIEW_H


#include <View.h>


// A line (or lines, split at '\n') of text that the user cannot change, set on the bottom
// of the view: the last line's baseline is the descent above the bottom edge.
class BStringView : public BView {
public:
	BStringView(BRect frame, const char* name, const char* text,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP, uint32 flags = B_WILL_DRAW);
	BStringView(const char* name, const char* text, uint32 flags = B_WILL_DRAW);
	virtual ~BStringView();

	// Redraws; the same text again does nothing.
	void SetText(const char* text);
	const char* Text() const;
	void SetAlignment(alignment flag);
	alignment Alignment() const;
	// B_NO_TRUNCATION (the default) or one of the B_TRUNCATE_ modes, for lines too wide
	void SetTruncation(uint32 truncationMode);
	uint32 Truncation() const;

	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();

	virtual void SetViewColor(rgb_color color);
	using BView::SetViewColor;
	virtual void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);

	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();

	virtual void Draw(BRect updateRect);

private:
	char* fText;
	alignment fAlign;
	uint32 fTruncation;
	// The caller chose the view colour: the parent's is not taken over.
	bool fOwnViewColor;
};


#endif // _STRING_VIEW_H
