/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <Bitmap.h>
#include <Message.h>
#include <View.h>

#include "../../platform/private/ViewPrivate.h"
#include "DrawTestSupport.h"


static const rgb_color kWhite = {255, 255, 255, 255};
static const rgb_color kRed = {255, 0, 0, 255};
static const rgb_color kBlue = {0, 0, 255, 255};


// A view that writes down its hooks.
class LogView : public BView {
public:
	LogView(BRect frame, const char* name, std::vector<std::string>* log,
		uint32 resizingMode = B_FOLLOW_LEFT_TOP, uint32 flags = B_WILL_DRAW)
		: BView(frame, name, resizingMode, flags), fLog(log)
	{ }

	virtual ~LogView() { _Log("deleted"); }

	virtual void
	AttachedToWindow()
	{
		_Log("attached");
	}
	virtual void
	AllAttached()
	{
		_Log("all attached");
	}
	virtual void
	DetachedFromWindow()
	{
		_Log("detached");
	}
	virtual void
	AllDetached()
	{
		_Log("all detached");
	}
	virtual void
	FrameResized(float width, float height)
	{
		_Log("resized " + std::to_string((int)width) + "x" + std::to_string((int)height));
	}
	virtual void
	FrameMoved(BPoint where)
	{
		_Log("moved " + std::to_string((int)where.x) + "," + std::to_string((int)where.y));
	}
	virtual void
	Draw(BRect updateRect)
	{
		_Log("draw");
		SetHighColor(kRed);
		FillRect(updateRect);
	}

private:
	void
	_Log(const std::string& what)
	{
		fLog->push_back(std::string(Name()) + " " + what);
	}

	std::vector<std::string>* fLog;
};


TEST(ViewTreeTest, HooksRunInHaikusOrder)
{
	std::vector<std::string> log;
	BBitmap* bitmap = new BBitmap(BRect(0, 0, 99, 99), B_RGBA32, true);
	LogView* parent = new LogView(BRect(0, 0, 49, 49), "parent", &log);
	parent->AddChild(new LogView(BRect(0, 0, 9, 9), "first", &log));
	parent->AddChild(new LogView(BRect(10, 0, 19, 9), "second", &log));
	parent->ChildAt(0)->AddChild(new LogView(BRect(0, 0, 4, 4), "inner", &log));
	EXPECT_TRUE(log.empty());
	EXPECT_EQ(NULL, parent->Window());

	bitmap->AddChild(parent);
	EXPECT_EQ((std::vector<std::string> {"parent attached", "first attached", "inner attached",
				  "inner all attached", "first all attached", "second attached",
				  "second all attached", "parent all attached"}),
		log);
	EXPECT_EQ(1, bitmap->CountChildren());
	EXPECT_EQ(parent, bitmap->ChildAt(0));
	EXPECT_EQ(NULL, parent->Parent());
	EXPECT_EQ(parent, parent->ChildAt(0)->Parent());
	EXPECT_EQ(NULL, parent->Window());

	log.clear();
	BView* first = parent->ChildAt(0);
	EXPECT_TRUE(parent->RemoveChild(first));
	EXPECT_EQ((std::vector<std::string> {
				  "first detached", "inner detached", "inner all detached", "first all detached"}),
		log);
	EXPECT_EQ(NULL, first->Parent());
	EXPECT_FALSE(parent->RemoveChild(first));
	delete first;

	// The bitmap deletes its views with itself.
	log.clear();
	delete bitmap;
	EXPECT_EQ(
		(std::vector<std::string> {"parent detached", "second detached", "second all detached",
			"parent all detached", "parent deleted", "second deleted"}),
		log);
}


TEST(ViewTreeTest, NavigatingTheTree)
{
	BView parent(BRect(0, 0, 99, 99), "parent", B_FOLLOW_NONE, 0);
	BView* a = new BView(BRect(0, 0, 9, 9), "a", B_FOLLOW_NONE, 0);
	BView* c = new BView(BRect(20, 0, 29, 9), "c", B_FOLLOW_NONE, 0);
	BView* b = new BView(BRect(10, 0, 19, 9), "b", B_FOLLOW_NONE, 0);
	parent.AddChild(a);
	parent.AddChild(c);
	parent.AddChild(b, c);
	EXPECT_EQ(3, parent.CountChildren());
	EXPECT_EQ(a, parent.ChildAt(0));
	EXPECT_EQ(b, parent.ChildAt(1));
	EXPECT_EQ(c, parent.ChildAt(2));
	EXPECT_EQ(NULL, parent.ChildAt(3));
	EXPECT_EQ(NULL, parent.ChildAt(-1));
	EXPECT_EQ(b, a->NextSibling());
	EXPECT_EQ(a, b->PreviousSibling());
	EXPECT_EQ(NULL, c->NextSibling());
	EXPECT_EQ(&parent, b->Parent());

	BView* grandchild = new BView(BRect(0, 0, 1, 1), "grandchild", B_FOLLOW_NONE, 0);
	b->AddChild(grandchild);
	EXPECT_EQ(grandchild, parent.FindView("grandchild"));
	EXPECT_EQ(&parent, parent.FindView("parent"));
	EXPECT_EQ(NULL, parent.FindView("nobody"));
	EXPECT_EQ(NULL, parent.FindView(NULL));

	// A view has one parent, and cannot hold its ancestors.
	a->AddChild(grandchild);
	EXPECT_EQ(b, grandchild->Parent());
	grandchild->AddChild(b);
	EXPECT_EQ(&parent, b->Parent());
	a->AddChild(a);
	EXPECT_EQ(0, a->CountChildren());

	EXPECT_TRUE(b->RemoveSelf());
	EXPECT_FALSE(b->RemoveSelf());
	EXPECT_EQ(c, a->NextSibling());
	delete b;
}


TEST(ViewTreeTest, ChildDrawingLandsAtItsFrame)
{
	Canvas canvas(80, 80);
	BView* parent = new BView(BRect(10, 10, 59, 59), "parent", B_FOLLOW_NONE, B_WILL_DRAW);
	BView* child = new BView(BRect(5, 5, 14, 14), "child", B_FOLLOW_NONE, B_WILL_DRAW);
	parent->AddChild(child);
	canvas.View()->AddChild(parent);

	child->SetHighColor(kRed);
	child->FillRect(child->Bounds());
	BRect ink = InkBounds(canvas.Bitmap(), kWhite);
	EXPECT_EQ(BRect(15, 15, 24, 24), ink);
	EXPECT_EQ(BPoint(15, 15), child->ConvertToScreen(BPoint(0, 0)));
	EXPECT_EQ(BPoint(5, 5), child->ConvertToParent(BPoint(0, 0)));
	EXPECT_EQ(BPoint(0, 0), child->ConvertFromScreen(BPoint(15, 15)));
	EXPECT_EQ(BRect(15, 15, 24, 24), child->ConvertToScreen(child->Bounds()));

	// Drawing stays within the view and its parent.
	child->SetHighColor(kBlue);
	child->FillRect(BRect(-100, -100, 1000, 1000));
	EXPECT_EQ(BRect(15, 15, 24, 24), InkBounds(canvas.Bitmap(), kWhite));

	// A parent's drawing goes around its children.
	parent->SetHighColor(kRed);
	parent->FillRect(parent->Bounds());
	EXPECT_EQ(kBlue, canvas.At(20, 20));
	EXPECT_EQ(kRed, canvas.At(10, 10));
	EXPECT_EQ(kRed, canvas.At(59, 59));
	EXPECT_EQ(kWhite, canvas.At(60, 60));

	// The origin moves what a view draws, not the view.
	child->SetOrigin(2, 3);
	child->SetHighColor(0, 255, 0);
	child->FillRect(BRect(0, 0, 0, 0));
	EXPECT_EQ(make_color(0, 255, 0), canvas.At(17, 18));
	child->PushState();
	child->SetOrigin(1, 1);
	child->FillRect(BRect(0, 0, 0, 0));
	EXPECT_EQ(make_color(0, 255, 0), canvas.At(18, 19));
	child->SetHighColor(kWhite);
	child->PopState();
	EXPECT_EQ(make_color(0, 255, 0), child->HighColor());
	EXPECT_EQ(BPoint(2, 3), child->Origin());

	// Hidden views draw nothing.
	child->Hide();
	EXPECT_TRUE(child->IsHidden());
	child->SetHighColor(kWhite);
	child->FillRect(child->Bounds());
	EXPECT_EQ(kBlue, canvas.At(20, 20));
	child->Show();
	EXPECT_FALSE(child->IsHidden());

	EXPECT_EQ(child, canvas.Bitmap()->FindView(BPoint(20, 20)));
	EXPECT_EQ(parent, canvas.Bitmap()->FindView(BPoint(12, 12)));
	EXPECT_EQ(canvas.View(), canvas.Bitmap()->FindView(BPoint(70, 70)));
	EXPECT_EQ(child, canvas.Bitmap()->FindView("child"));
}


TEST(ViewTreeTest, ResizingFollowsTheModes)
{
	std::vector<std::string> log;
	BBitmap bitmap(BRect(0, 0, 199, 199), B_RGBA32, true);
	BView* top = new BView(BRect(0, 0, 99, 99), "top", B_FOLLOW_NONE, 0);
	LogView* all
		= new LogView(BRect(10, 10, 89, 89), "all", &log, B_FOLLOW_ALL_SIDES, B_FRAME_EVENTS);
	LogView* corner = new LogView(
		BRect(80, 80, 89, 89), "corner", &log, B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM, B_FRAME_EVENTS);
	LogView* quiet = new LogView(BRect(0, 0, 9, 9), "quiet", &log, B_FOLLOW_ALL_SIDES, 0);
	BView* centre = new BView(BRect(40, 0, 59, 9), "centre", B_FOLLOW_H_CENTER | B_FOLLOW_TOP, 0);
	top->AddChild(all);
	top->AddChild(corner);
	top->AddChild(quiet);
	top->AddChild(centre);
	all->AddChild(new BView(BRect(0, 0, 9, 9), "inner", B_FOLLOW_RIGHT, 0));

	// Not attached: only the view itself changes, as on Haiku.
	top->ResizeBy(10, 10);
	EXPECT_EQ(BRect(10, 10, 89, 89), all->Frame());
	top->ResizeBy(-10, -10);

	bitmap.AddChild(top);
	bitmap.Lock();
	log.clear();
	top->ResizeBy(20, 10);
	EXPECT_EQ(BRect(0, 0, 119, 109), top->Frame());
	EXPECT_EQ(BRect(10, 10, 109, 99), all->Frame());
	EXPECT_EQ(BRect(0, 0, 99, 89), all->Bounds());
	EXPECT_EQ(BRect(100, 90, 109, 99), corner->Frame());
	EXPECT_EQ(BRect(0, 0, 29, 19), quiet->Frame());
	EXPECT_EQ(BRect(50, 0, 69, 9), centre->Frame());
	// The grandchild follows its parent's right edge.
	EXPECT_EQ(BRect(20, 0, 29, 9), all->ChildAt(0)->Frame());
	// Frame events only for views that ask for them
	EXPECT_EQ((std::vector<std::string> {"all resized 99x89", "corner moved 100,90"}), log);

	log.clear();
	top->ResizeTo(99, 99);
	EXPECT_EQ(BRect(10, 10, 89, 89), all->Frame());
	EXPECT_EQ(BRect(80, 80, 89, 89), corner->Frame());

	// Fractions round; MoveTo reports the new place.
	corner->MoveTo(30.4f, 40.6f);
	EXPECT_EQ(BRect(30, 41, 39, 50), corner->Frame());
	corner->MoveBy(1, 1);
	EXPECT_EQ(BPoint(31, 42), corner->Frame().LeftTop());

	// Flags and resizing mode are kept apart.
	EXPECT_EQ((uint32)B_FRAME_EVENTS, corner->Flags());
	EXPECT_EQ((uint32)(B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM), corner->ResizingMode());
	corner->SetFlags(B_WILL_DRAW);
	EXPECT_EQ((uint32)(B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM), corner->ResizingMode());
	corner->SetResizingMode(B_FOLLOW_ALL_SIDES);
	EXPECT_EQ(B_WILL_DRAW, corner->Flags());
	bitmap.Unlock();
}


TEST(ViewTreeTest, BitmapLocking)
{
	BBitmap plain(BRect(0, 0, 9, 9), B_RGBA32);
	EXPECT_FALSE(plain.Lock());
	EXPECT_FALSE(plain.IsLocked());
	// Views are refused.
	std::vector<std::string> log;
	LogView* view = new LogView(BRect(0, 0, 9, 9), "view", &log);
	plain.AddChild(view);
	EXPECT_EQ(0, plain.CountChildren());
	EXPECT_TRUE(log.empty());
	EXPECT_EQ(NULL, view->Parent());
	delete view;

	// Recursive for the thread that holds it
	BBitmap views(BRect(0, 0, 9, 9), B_RGBA32, true);
	ASSERT_TRUE(views.Lock());
	ASSERT_TRUE(views.Lock());
	EXPECT_TRUE(views.IsLocked());
	views.Unlock();
	EXPECT_TRUE(views.IsLocked());
	views.Unlock();
	EXPECT_FALSE(views.IsLocked());
}


TEST(ViewTreeTest, ArchivesKeepTheView)
{
	BView view(BRect(5, 6, 45, 36), "archived", B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_FRAME_EVENTS);
	view.SetViewColor(10, 20, 30);
	view.SetHighColor(40, 50, 60);
	view.SetLowColor(70, 80, 90);
	view.SetPenSize(3);
	view.SetDrawingMode(B_OP_ALPHA);
	BFont font(be_bold_font);
	font.SetSize(17);
	view.SetFont(&font);
	view.AddChild(new BView(BRect(1, 2, 3, 4), "kid", B_FOLLOW_NONE, 0));

	BMessage archive;
	ASSERT_EQ(B_OK, view.Archive(&archive, true));
	EXPECT_STREQ("BView", archive.FindString("class"));
	EXPECT_EQ(BRect(5, 6, 45, 36), archive.FindRect("_frame"));
	EXPECT_EQ((int32)B_FOLLOW_ALL_SIDES, archive.FindInt32("_resize_mode"));
	EXPECT_EQ((int32)(B_WILL_DRAW | B_FRAME_EVENTS), archive.FindInt32("_flags"));
	type_code type;
	int32 count = 0;
	ASSERT_EQ(B_OK, archive.GetInfo("_views", &type, &count));
	EXPECT_EQ(1, count);

	BMessage shallow;
	ASSERT_EQ(B_OK, view.Archive(&shallow, false));
	EXPECT_NE(B_OK, shallow.GetInfo("_views", &type, &count));

	BView* copy = dynamic_cast<BView*>(instantiate_object(&archive));
	ASSERT_NE(nullptr, copy);
	EXPECT_STREQ("archived", copy->Name());
	EXPECT_EQ(view.Frame(), copy->Frame());
	EXPECT_EQ(view.ResizingMode(), copy->ResizingMode());
	EXPECT_EQ(view.Flags(), copy->Flags());
	EXPECT_EQ(make_color(10, 20, 30), copy->ViewColor());
	EXPECT_EQ(make_color(40, 50, 60), copy->HighColor());
	EXPECT_EQ(make_color(70, 80, 90), copy->LowColor());
	EXPECT_EQ(3.0f, copy->PenSize());
	EXPECT_EQ(B_OP_ALPHA, copy->DrawingMode());
	BFont copied;
	copy->GetFont(&copied);
	EXPECT_EQ(17.0f, copied.Size());
	EXPECT_EQ(B_BOLD_FACE, copied.Face());
	ASSERT_EQ(1, copy->CountChildren());
	EXPECT_STREQ("kid", copy->ChildAt(0)->Name());
	EXPECT_EQ(BRect(1, 2, 3, 4), copy->ChildAt(0)->Frame());
	delete copy;

	// An empty archive makes an empty view, not a crash.
	BMessage empty;
	BView fromNothing(&empty);
	EXPECT_FALSE(fromNothing.Bounds().IsValid());
}


TEST(ViewTreeTest, UpdatesEraseDrawAndDescend)
{
	std::vector<std::string> log;
	Canvas canvas(60, 60);
	BView* top = canvas.View();
	top->SetViewColor(kBlue);
	LogView* child = new LogView(BRect(10, 10, 29, 29), "child", &log);
	child->SetViewColor(B_TRANSPARENT_COLOR);
	LogView* hidden = new LogView(BRect(2, 40, 9, 49), "hidden", &log);
	top->AddChild(child);
	top->AddChild(hidden);
	hidden->Hide();
	log.clear();

	// Only the part asked for is drawn.
	BPrivate::ViewPrivate::DrawTree(top, BRect(0, 0, 19, 59));
	EXPECT_EQ((std::vector<std::string> {"child draw"}), log);
	EXPECT_EQ(kBlue, canvas.At(0, 0));
	EXPECT_EQ(kWhite, canvas.At(25, 0));
	// The child's Draw() filled its update rectangle.
	EXPECT_EQ(kRed, canvas.At(15, 15));
	EXPECT_EQ(kWhite, canvas.At(25, 15));
	// A hidden view neither draws nor keeps its parent from erasing.
	EXPECT_EQ(kBlue, canvas.At(5, 45));
}
