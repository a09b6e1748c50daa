/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _VIEW_H
#define _VIEW_H


#include <Font.h>
#include <Handler.h>
#include <InterfaceDefs.h>
#include <Rect.h>


class BBitmap;
class BMessage;
class BString;
class BWindow;

namespace BPrivate {
class ViewDrawing;
class ViewOwner;
class ViewPrivate;
struct ViewState;
struct LineArray;
}


// View flags
const uint32 B_FULL_UPDATE_ON_RESIZE = 0x80000000UL;
const uint32 _B_RESERVED1_ = 0x40000000UL;
const uint32 B_WILL_DRAW = 0x20000000UL;
const uint32 B_PULSE_NEEDED = 0x10000000UL;
const uint32 B_NAVIGABLE_JUMP = 0x08000000UL;
const uint32 B_FRAME_EVENTS = 0x04000000UL;
const uint32 B_NAVIGABLE = 0x02000000UL;
const uint32 B_SUBPIXEL_PRECISE = 0x01000000UL;
const uint32 B_DRAW_ON_CHILDREN = 0x00800000UL;
const uint32 B_INPUT_METHOD_AWARE = 0x00400000UL;
const uint32 B_SCROLL_VIEW_AWARE = 0x00200000UL;
const uint32 B_SUPPORTS_LAYOUT = 0x00100000UL;
const uint32 B_INVALIDATE_AFTER_LAYOUT = 0x00080000UL;

#define _RESIZE_MASK_ (0xffff)

// Resizing modes: one nibble per edge of the view, saying which edge of the parent it
// follows, from the high nibble down: top, left, bottom, right.
const uint32 _VIEW_TOP_ = 1UL;
const uint32 _VIEW_LEFT_ = 2UL;
const uint32 _VIEW_BOTTOM_ = 3UL;
const uint32 _VIEW_RIGHT_ = 4UL;
const uint32 _VIEW_CENTER_ = 5UL;

inline uint32
_rule_(uint32 r1, uint32 r2, uint32 r3, uint32 r4)
{
	return (r1 << 12) | (r2 << 8) | (r3 << 4) | r4;
}

#define B_FOLLOW_NONE 0
#define B_FOLLOW_ALL_SIDES _rule_(_VIEW_TOP_, _VIEW_LEFT_, _VIEW_BOTTOM_, _VIEW_RIGHT_)
#define B_FOLLOW_ALL B_FOLLOW_ALL_SIDES

#define B_FOLLOW_LEFT _rule_(0, _VIEW_LEFT_, 0, _VIEW_LEFT_)
#define B_FOLLOW_RIGHT _rule_(0, _VIEW_RIGHT_, 0, _VIEW_RIGHT_)
#define B_FOLLOW_LEFT_RIGHT _rule_(0, _VIEW_LEFT_, 0, _VIEW_RIGHT_)
#define B_FOLLOW_H_CENTER _rule_(0, _VIEW_CENTER_, 0, _VIEW_CENTER_)

#define B_FOLLOW_TOP _rule_(_VIEW_TOP_, 0, _VIEW_TOP_, 0)
#define B_FOLLOW_BOTTOM _rule_(_VIEW_BOTTOM_, 0, _VIEW_BOTTOM_, 0)
#define B_FOLLOW_TOP_BOTTOM _rule_(_VIEW_TOP_, 0, _VIEW_BOTTOM_, 0)
#define B_FOLLOW_V_CENTER _rule_(_VIEW_CENTER_, 0, _VIEW_CENTER_, 0)

#define B_FOLLOW_LEFT_TOP (B_FOLLOW_TOP | B_FOLLOW_LEFT)


// Options of DrawBitmap()
enum bitmap_drawing_options {
	B_FILTER_BITMAP_BILINEAR = 0x00000100,
	B_WAIT_FOR_RETRACE = 0x00000800
};


// Mouse transit codes of MouseMoved()
enum { B_ENTERED_VIEW = 0, B_INSIDE_VIEW, B_EXITED_VIEW, B_OUTSIDE_VIEW };


// A rectangle of a window (or of a bitmap that accepts views) that draws and handles
// events. The layer draws in software, at once, into the pixels of what the view is
// attached to; a view's drawing is clipped to its bounds, to its ancestors, and around
// its children (unless it has B_DRAW_ON_CHILDREN).
//
// Coordinates name pixel centres' squares as Haiku does: a rectangle includes both of its
// edges, so FillRect(BRect(0, 0, 0, 0)) fills one pixel.
class BView : public BHandler {
public:
	BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	BView(BMessage* archive);
	virtual ~BView();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	// Hooks
	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void DetachedFromWindow();
	virtual void AllDetached();

	virtual void MessageReceived(BMessage* message);

	virtual void Draw(BRect updateRect);
	virtual void DrawAfterChildren(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void WindowActivated(bool active);
	virtual void KeyDown(const char* bytes, int32 numBytes);
	virtual void KeyUp(const char* bytes, int32 numBytes);
	virtual void Pulse();
	virtual void FrameMoved(BPoint newPosition);
	virtual void FrameResized(float newWidth, float newHeight);
	virtual void GetPreferredSize(float* _width, float* _height);
	virtual void ResizeToPreferred();

	// The view tree
	void AddChild(BView* child, BView* before = NULL);
	bool RemoveChild(BView* child);
	int32 CountChildren() const;
	BView* ChildAt(int32 index) const;
	BView* NextSibling() const;
	BView* PreviousSibling() const;
	bool RemoveSelf();
	BView* Parent() const;
	BView* FindView(const char* name) const;

	BWindow* Window() const;

	// Geometry
	BRect Bounds() const;
	BRect Frame() const;
	BPoint LeftTop() const;

	void ConvertToScreen(BPoint* point) const;
	BPoint ConvertToScreen(BPoint point) const;
	void ConvertFromScreen(BPoint* point) const;
	BPoint ConvertFromScreen(BPoint point) const;
	void ConvertToScreen(BRect* rect) const;
	BRect ConvertToScreen(BRect rect) const;
	void ConvertFromScreen(BRect* rect) const;
	BRect ConvertFromScreen(BRect rect) const;
	void ConvertToParent(BPoint* point) const;
	BPoint ConvertToParent(BPoint point) const;
	void ConvertFromParent(BPoint* point) const;
	BPoint ConvertFromParent(BPoint point) const;
	void ConvertToParent(BRect* rect) const;
	BRect ConvertToParent(BRect rect) const;
	void ConvertFromParent(BRect* rect) const;
	BRect ConvertFromParent(BRect rect) const;

	void MoveBy(float deltaX, float deltaY);
	void MoveTo(BPoint where);
	void MoveTo(float x, float y);
	void ResizeBy(float deltaWidth, float deltaHeight);
	void ResizeTo(float width, float height);

	void ScrollBy(float deltaX, float deltaY);
	void
	ScrollTo(float x, float y)
	{
		ScrollTo(BPoint(x, y));
	}
	virtual void ScrollTo(BPoint where);

	virtual void MakeFocus(bool focus = true);
	bool IsFocus() const;

	virtual void Show();
	virtual void Hide();
	bool IsHidden() const;
	bool IsHidden(const BView* looking) const;

	void GetMouse(BPoint* location, uint32* buttons, bool checkMessageQueue = true);

	// Flags and resizing mode
	virtual void SetFlags(uint32 flags);
	uint32 Flags() const;
	virtual void SetResizingMode(uint32 mode);
	uint32 ResizingMode() const;

	// The graphics state
	void SetOrigin(BPoint where);
	void SetOrigin(float x, float y);
	BPoint Origin() const;

	void PushState();
	void PopState();

	virtual void SetDrawingMode(drawing_mode mode);
	drawing_mode DrawingMode() const;
	void SetBlendingMode(source_alpha srcAlpha, alpha_function alphaFunc);
	void GetBlendingMode(source_alpha* srcAlpha, alpha_function* alphaFunc) const;

	virtual void SetPenSize(float size);
	float PenSize() const;
	void SetLineMode(
		cap_mode lineCap, join_mode lineJoin, float miterLimit = B_DEFAULT_MITER_LIMIT);
	cap_mode LineCapMode() const;
	join_mode LineJoinMode() const;
	float LineMiterLimit() const;

	void MovePenTo(BPoint location);
	void MovePenTo(float x, float y);
	void MovePenBy(float x, float y);
	BPoint PenLocation() const;

	virtual void SetHighColor(rgb_color color);
	void
	SetHighColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255)
	{
		SetHighColor(make_color(red, green, blue, alpha));
	}
	rgb_color HighColor() const;

	virtual void SetLowColor(rgb_color color);
	void
	SetLowColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255)
	{
		SetLowColor(make_color(red, green, blue, alpha));
	}
	rgb_color LowColor() const;

	// B_TRANSPARENT_COLOR as the view colour means "do not erase"
	virtual void SetViewColor(rgb_color color);
	void
	SetViewColor(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255)
	{
		SetViewColor(make_color(red, green, blue, alpha));
	}
	rgb_color ViewColor() const;

	// Fonts and text
	virtual void SetFont(const BFont* font, uint32 mask = B_FONT_ALL);
	void GetFont(BFont* font) const;
	void SetFontSize(float size);
	void GetFontHeight(font_height* height) const;
	float StringWidth(const char* string) const;
	float StringWidth(const char* string, int32 length) const;
	void GetStringWidths(
		char* stringArray[], int32 lengthArray[], int32 numStrings, float widthArray[]) const;
	void TruncateString(BString* inOut, uint32 mode, float width) const;

	// The point, or the pen, is the left end of the baseline; the pen ends at the end of
	// the text.
	void DrawChar(char character);
	void DrawChar(char character, BPoint location);
	void DrawString(const char* string, escapement_delta* delta = NULL);
	void DrawString(const char* string, BPoint location, escapement_delta* delta = NULL);
	void DrawString(const char* string, int32 length, escapement_delta* delta = NULL);
	void DrawString(
		const char* string, int32 length, BPoint location, escapement_delta* delta = NULL);

	// Shapes
	void StrokeLine(BPoint toPoint, ::pattern p = B_SOLID_HIGH);
	void StrokeLine(BPoint start, BPoint end, ::pattern p = B_SOLID_HIGH);
	void BeginLineArray(int32 count);
	void AddLine(BPoint start, BPoint end, rgb_color color);
	void EndLineArray();

	void StrokePolygon(const BPoint* pointArray, int32 numPoints, bool isClosed = true,
		::pattern p = B_SOLID_HIGH);
	void StrokePolygon(const BPoint* pointArray, int32 numPoints, BRect bounds,
		bool isClosed = true, ::pattern p = B_SOLID_HIGH);
	void FillPolygon(const BPoint* pointArray, int32 numPoints, ::pattern p = B_SOLID_HIGH);
	void FillPolygon(
		const BPoint* pointArray, int32 numPoints, BRect bounds, ::pattern p = B_SOLID_HIGH);

	void StrokeTriangle(
		BPoint point1, BPoint point2, BPoint point3, BRect bounds, ::pattern p = B_SOLID_HIGH);
	void StrokeTriangle(BPoint point1, BPoint point2, BPoint point3, ::pattern p = B_SOLID_HIGH);
	void FillTriangle(BPoint point1, BPoint point2, BPoint point3, ::pattern p = B_SOLID_HIGH);
	void FillTriangle(
		BPoint point1, BPoint point2, BPoint point3, BRect bounds, ::pattern p = B_SOLID_HIGH);

	void StrokeRect(BRect rect, ::pattern p = B_SOLID_HIGH);
	void FillRect(BRect rect, ::pattern p = B_SOLID_HIGH);
	void InvertRect(BRect rect);

	void StrokeRoundRect(BRect rect, float xRadius, float yRadius, ::pattern p = B_SOLID_HIGH);
	void FillRoundRect(BRect rect, float xRadius, float yRadius, ::pattern p = B_SOLID_HIGH);

	void StrokeEllipse(BPoint center, float xRadius, float yRadius, ::pattern p = B_SOLID_HIGH);
	void StrokeEllipse(BRect rect, ::pattern p = B_SOLID_HIGH);
	void FillEllipse(BPoint center, float xRadius, float yRadius, ::pattern p = B_SOLID_HIGH);
	void FillEllipse(BRect rect, ::pattern p = B_SOLID_HIGH);

	void StrokeArc(BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle,
		::pattern p = B_SOLID_HIGH);
	void StrokeArc(BRect rect, float startAngle, float arcAngle, ::pattern p = B_SOLID_HIGH);
	void FillArc(BPoint center, float xRadius, float yRadius, float startAngle, float arcAngle,
		::pattern p = B_SOLID_HIGH);
	void FillArc(BRect rect, float startAngle, float arcAngle, ::pattern p = B_SOLID_HIGH);

	void CopyBits(BRect source, BRect destination);

	// Bitmaps: at the pen, at a point (the left top corner), scaled into a rectangle, or
	// a part of the bitmap scaled into a rectangle. The Async forms do the same: drawing
	// is done when they return.
	void DrawBitmapAsync(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect, uint32 options);
	void DrawBitmapAsync(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect);
	void DrawBitmapAsync(const BBitmap* bitmap, BRect viewRect);
	void DrawBitmapAsync(const BBitmap* bitmap, BPoint where);
	void DrawBitmapAsync(const BBitmap* bitmap);

	void DrawBitmap(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect, uint32 options);
	void DrawBitmap(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect);
	void DrawBitmap(const BBitmap* bitmap, BRect viewRect);
	void DrawBitmap(const BBitmap* bitmap, BPoint where);
	void DrawBitmap(const BBitmap* bitmap);

	// Asks the owner to draw the rectangle (the whole view) again.
	void Invalidate(BRect invalRect);
	void Invalidate();

	void Flush() const;
	void Sync() const;

private:
	BView(const BView&);
	BView& operator=(const BView&);

	friend class BBitmap;
	friend class BWindow;
	friend class BPrivate::ViewPrivate;
	friend class BPrivate::ViewDrawing;

	void _InitData(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	void _SetOwner(BPrivate::ViewOwner* owner);
	void _Attach();
	void _Detach();
	void _ParentResizedBy(float deltaX, float deltaY);
	void _InvalidateInParent(BRect frame);

	BPoint _ToOwner(BPoint point) const;
	BPoint _FromOwner(BPoint point) const;
	void _DrawTree(BRect ownerRect);

	void _StrokePolyline(
		const BPoint* points, int32 count, bool closed, bool centered, const ::pattern& p);
	void _StrokeLine(BPoint start, BPoint end, const ::pattern& p);
	void _DrawBitmap(const BBitmap* bitmap, BRect bitmapRect, BRect viewRect);
	void _DrawString(
		const char* string, int32 length, BPoint location, const escapement_delta* delta);

	BPoint fParentOffset;
	BRect fBounds;
	BPrivate::ViewState* fState;
	BPrivate::ViewOwner* fOwner;
	BView* fParent;
	BView* fFirstChild;
	BView* fNextSibling;
	BView* fPreviousSibling;
	uint32 fFlags;
	int32 fShowLevel;
	bool fTopLevelView;
	bool fAttached;
	rgb_color fViewColor;
	BPrivate::LineArray* fLineArray;
	// The part of the owner an update draws, while Draw() runs
	BRect fUpdateRect;
	bool fInUpdate;
};


#endif // _VIEW_H
