/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include "MenuTracker.h"

#include <math.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

#include <AppDefs.h>
#include <Font.h>
#include <InterfaceDefs.h>
#include <Menu.h>
#include <MenuItem.h>
#include <Message.h>
#include <Messenger.h>
#include <String.h>
#include <View.h>
#include <Window.h>

#include "ControlLook.h"
#include "Display.h"
#include "TimeScale.h"


namespace BPrivate {


static const uint32 kMsgRedraw = '_mrd';
// An item's label lies this far in from its left and top edges (the left room holds the mark),
// and this much room stays right of the widest label.
static const float kItemLeftPadding = 14;
static const float kItemTopPadding = 2;
static const float kItemRightPadding = 20;
// The window's frame and the menu's bevel inside it
static const float kMenuBorder = 2;
// How long after opening a menu the release of the opening click never closes it
static const bigtime_t kStickyTime = 500000;


class MenuTracker;


// What one open menu shows: a copy of its items as they were when it opened, so that drawing
// never touches the menu while its owner may change it.
struct MenuEntry {
	BString label;
	BMenuItem* item;
	BMenu* submenu;
	bool separator;
	bool enabled;
	bool marked;
	// In the menu window's coordinates
	BRect frame;
};


struct MenuLevel {
	BMenu* menu;
	std::vector<MenuEntry> entries;
	// The content area on the screen
	BRect frame;
	BMessenger window;
	// Names the level's window, which the tracker never touches directly
	int32 id;
	int32 highlighted;
};


// The trackers that run, so that deleted items can be forgotten; taken before a tracker's
// own lock.
static std::mutex sTrackersLock;
static std::set<MenuTracker*> sTrackers;


class MenuWindow : public BWindow {
public:
	MenuWindow(std::shared_ptr<MenuTracker> tracker, int32 id, BRect frame);
	virtual ~MenuWindow();

	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual void MessageReceived(BMessage* message);

private:
	std::shared_ptr<MenuTracker> fTracker;
	int32 fID;
	BView* fView;
};


class MenuView : public BView {
public:
	MenuView(BRect frame, std::shared_ptr<MenuTracker> tracker, int32 id);
	virtual void Draw(BRect updateRect);

private:
	std::shared_ptr<MenuTracker> fTracker;
	int32 fID;
};


class MenuTracker : public std::enable_shared_from_this<MenuTracker> {
public:
	MenuTracker(BMenu* root, BRect clickToOpen, bool deliversMessage, bool async,
		bool deleteWhenDone, float minWidth);
	~MenuTracker();

	bool Open(BPoint where);
	BMenuItem* Wait();

	void HandleMouse(uint32 what, BPoint screenWhere);
	void Cancel();
	void WindowGone(int32 id);
	void ForgetItem(BMenuItem* item);

	// For drawing: a copy of what a window shows, and its highlighted entry.
	bool GetLevel(int32 id, std::vector<MenuEntry>* entries, int32* highlighted);

private:
	bool _OpenLevel(BMenu* menu, BPoint where, BRect parentItem);
	void _CloseLevelsAfter(int32 level);
	void _Highlight(int32 level, int32 index);
	void _Finish(BMenuItem* chosen, std::unique_lock<std::mutex>& lock);
	int32 _LevelAt(BPoint screenWhere) const;
	int32 _EntryAt(int32 level, BPoint screenWhere) const;
	MenuLevel* _FindLevel(int32 id);

	std::mutex fLock;
	std::condition_variable fDoneCondition;
	BMenu* fRoot;
	BRect fClickToOpen;
	// The root menu is at least this wide.
	float fMinWidth;
	bool fDeliversMessage;
	bool fAsync;
	bool fDeleteWhenDone;
	bool fLeftClickArea;
	bool fReleased;
	bigtime_t fOpened;
	// Tracking ended; the chosen item is delivered once fFinished is set too.
	bool fDone;
	bool fFinished;
	BMenuItem* fChosen;
	int32 fNextID;
	std::vector<MenuLevel> fLevels;
};


//	#pragma mark - layout


static float
item_height()
{
	font_height height;
	be_plain_font->GetHeight(&height);
	return ceilf(height.ascent + height.descent + height.leading) + kItemTopPadding + 1;
}


// A separator's row: a line in the middle of room that grows with the font
static float
separator_height()
{
	return fmaxf(4, 2 * floorf(0.4f * be_plain_font->Size())) + kItemTopPadding + 1;
}


// Lays the menu's items out in a column inside the frame and the bevel; returns the size of
// the window's content.
static BRect
layout_entries(BMenu* menu, std::vector<MenuEntry>* entries, float minWidth = 0)
{
	float itemHeight = item_height();
	float labelWidth = 0;
	bool submenus = false;
	float y = kMenuBorder;
	for (int32 i = 0; i < menu->CountItems(); i++) {
		BMenuItem* item = menu->ItemAt(i);
		MenuEntry entry;
		entry.item = item;
		entry.label = item->Label() != NULL ? item->Label() : "";
		entry.submenu = item->Submenu();
		entry.separator = dynamic_cast<BSeparatorItem*>(item) != NULL;
		entry.enabled = item->IsEnabled() && !entry.separator;
		entry.marked = item->IsMarked();
		float height = entry.separator ? separator_height() : itemHeight;
		entry.frame.Set(kMenuBorder, y, kMenuBorder, y + height - 1);
		y += height;
		if (!entry.separator)
			labelWidth
				= std::max(labelWidth, ceilf(be_plain_font->StringWidth(entry.label.String())));
		submenus = submenus || entry.submenu != NULL;
		entries->push_back(entry);
	}
	float width = labelWidth + kItemLeftPadding + kItemRightPadding;
	if (submenus)
		width += floorf(itemHeight / 2);
	width = ceilf(std::max(width + 2 * kMenuBorder, minWidth));
	for (MenuEntry& entry : *entries)
		entry.frame.right = width - 1 - kMenuBorder;
	return BRect(0, 0, width - 1, y + kMenuBorder - 1);
}


bool
menu_item_layout(BMenu* menu, int32 index, BRect* frame, BPoint* labelBaseline)
{
	if (menu == NULL)
		return false;
	std::vector<MenuEntry> entries;
	layout_entries(menu, &entries);
	if (index < 0 || index >= (int32)entries.size())
		return false;
	const MenuEntry& entry = entries[index];
	if (frame != NULL)
		*frame = entry.frame;
	if (labelBaseline != NULL) {
		font_height height;
		be_plain_font->GetHeight(&height);
		*labelBaseline = BPoint(entry.frame.left + kItemLeftPadding,
			roundf(entry.frame.top + kItemTopPadding + height.ascent));
	}
	return true;
}


//	#pragma mark - MenuView


MenuView::MenuView(BRect frame, std::shared_ptr<MenuTracker> tracker, int32 id)
	: BView(frame, "menu", B_FOLLOW_ALL_SIDES, B_WILL_DRAW), fTracker(tracker), fID(id)
{
	SetViewColor(ui_color(B_MENU_BACKGROUND_COLOR));
}


void
MenuView::Draw(BRect)
{
	std::vector<MenuEntry> entries;
	int32 highlighted = -1;
	if (!fTracker->GetLevel(fID, &entries, &highlighted))
		return;

	// The window's frame in the grey of window borders, the menu's bevel inside it
	rgb_color background = ui_color(B_MENU_BACKGROUND_COLOR);
	BRect bounds = Bounds();
	rgb_color frame = tint_color(make_color(224, 224, 224), B_DARKEN_3_TINT);
	draw_ring(this, &bounds, frame, frame, frame, frame);
	rgb_color light = tint_color(background, 0.6f);
	rgb_color shadow = tint_color(background, 1.12f);
	draw_ring(this, &bounds, light, light, shadow, shadow);

	font_height height;
	GetFontHeight(&height);
	for (int32 i = 0; i < (int32)entries.size(); i++) {
		const MenuEntry& entry = entries[i];
		if (entry.separator) {
			// A groove: a darker line with a lighter one below it
			float middle = entry.frame.top + floorf(entry.frame.Height() / 2);
			BeginLineArray(2);
			AddLine(BPoint(entry.frame.left + 1, middle), BPoint(entry.frame.right - 1, middle),
				tint_color(background, B_DARKEN_1_TINT));
			AddLine(BPoint(entry.frame.left + 1, middle + 1),
				BPoint(entry.frame.right - 1, middle + 1),
				tint_color(background, B_LIGHTEN_2_TINT));
			EndLineArray();
			continue;
		}
		bool selected = i == highlighted;
		if (selected) {
			draw_selected_menu_item(this, entry.frame);
			SetLowColor(ui_color(B_MENU_SELECTED_BACKGROUND_COLOR));
		} else
			SetLowColor(background);

		rgb_color text
			= ui_color(selected ? B_MENU_SELECTED_ITEM_TEXT_COLOR : B_MENU_ITEM_TEXT_COLOR);
		if (!entry.enabled)
			text = tint_color(background, B_DISABLED_LABEL_TINT);
		SetHighColor(text);
		SetDrawingMode(B_OP_OVER);
		float baseline = roundf(entry.frame.top + kItemTopPadding + height.ascent);
		DrawString(entry.label.String(), BPoint(entry.frame.left + kItemLeftPadding, baseline));
		SetDrawingMode(B_OP_COPY);

		// The mark and the submenu's chevron, a shade lighter than the text
		SetHighColor(tint_color(text, 0.75f));
		float middle = entry.frame.top + floorf(entry.frame.Height() / 2);
		if (entry.marked) {
			// An open check in the room left of the label, on pixel centres
			float left = entry.frame.left + 1.17f;
			float right = entry.frame.left + 10.5f;
			float size = 0.3f * fminf(entry.frame.Height() - 2, right - left);
			BPoint center(floorf((left + right) / 2) + 0.5f, middle + 0.5f);
			BPoint check[3] = {center + BPoint(-size, -size / 4), center + BPoint(-size / 4, size),
				center + BPoint(size, -size)};
			SetPenSize(2);
			StrokePolygon(check, 3, false);
			SetPenSize(1);
		}
		if (entry.submenu != NULL) {
			// A chevron at the right edge
			float side = roundf(2 * entry.frame.Height() / 3);
			BRect square(entry.frame.right - side, middle - floorf(side / 2), entry.frame.right,
				middle - floorf(side / 2) + side);
			float inset = floorf(side / 3);
			square.InsetBy(inset, inset);
			BPoint chevron[3]
				= {square.LeftTop(), BPoint(square.right, middle), square.LeftBottom()};
			for (BPoint& point : chevron)
				point += BPoint(0.5f, 0.5f);
			SetPenSize(ceilf(inset / 2));
			StrokePolygon(chevron, 3, false);
			SetPenSize(1);
		}
	}
}


//	#pragma mark - MenuWindow


MenuWindow::MenuWindow(std::shared_ptr<MenuTracker> tracker, int32 id, BRect frame)
	: BWindow(frame, "menu", kMenuWindowType,
		B_AVOID_FOCUS | B_NOT_MOVABLE | B_NOT_CLOSABLE | B_NOT_RESIZABLE | B_NOT_ZOOMABLE),
	  fTracker(tracker), fID(id), fView(NULL)
{
	fView = new MenuView(Bounds(), tracker, id);
	AddChild(fView);
}


MenuWindow::~MenuWindow()
{
	fTracker->WindowGone(fID);
}


// The pointer events of the whole screen come here while the menu is shown; the tracker
// works with their screen positions.
void
MenuWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	switch (message->what) {
	case B_MOUSE_DOWN:
	case B_MOUSE_UP:
	case B_MOUSE_MOVED: {
		BPoint where;
		if (message->FindPoint("screen_where", &where) != B_OK)
			break;
		if (message->what == B_MOUSE_MOVED && message->GetBool("_exited", false))
			break;
		fTracker->HandleMouse(message->what, where);
		break;
	}

	case B_KEY_DOWN: {
		const char* bytes = NULL;
		if (message->FindString("bytes", &bytes) == B_OK && bytes != NULL && bytes[0] == B_ESCAPE)
			fTracker->Cancel();
		break;
	}

	default:
		BWindow::DispatchMessage(message, handler);
		break;
	}
}


void
MenuWindow::MessageReceived(BMessage* message)
{
	if (message->what == kMsgRedraw) {
		fView->Invalidate();
		return;
	}
	BWindow::MessageReceived(message);
}


//	#pragma mark - MenuTracker


MenuTracker::MenuTracker(BMenu* root, BRect clickToOpen, bool deliversMessage, bool async,
	bool deleteWhenDone, float minWidth)
	: fRoot(root), fClickToOpen(clickToOpen), fMinWidth(minWidth),
	  fDeliversMessage(deliversMessage), fAsync(async), fDeleteWhenDone(deleteWhenDone),
	  fLeftClickArea(false), fReleased(false), fOpened(BPrivate::real_time()), fDone(false),
	  fFinished(false), fChosen(NULL), fNextID(0)
{ }


bool
MenuTracker::Open(BPoint where)
{
	{
		std::lock_guard<std::mutex> trackers(sTrackersLock);
		sTrackers.insert(this);
	}
	std::lock_guard<std::mutex> lock(fLock);
	return _OpenLevel(fRoot, where, BRect());
}


MenuTracker::~MenuTracker()
{
	std::lock_guard<std::mutex> trackers(sTrackersLock);
	sTrackers.erase(this);
}


// An item of a shown menu is deleted: it is shown as disabled, its submenu no longer opens,
// and it is never chosen.
void
MenuTracker::ForgetItem(BMenuItem* item)
{
	std::lock_guard<std::mutex> lock(fLock);
	for (MenuLevel& level : fLevels) {
		for (MenuEntry& entry : level.entries) {
			if (entry.item == item) {
				entry.item = NULL;
				entry.submenu = NULL;
				entry.enabled = false;
			}
		}
	}
	if (fChosen == item)
		fChosen = NULL;
}


void
menu_item_deleted(BMenuItem* item)
{
	std::lock_guard<std::mutex> trackers(sTrackersLock);
	for (MenuTracker* tracker : sTrackers)
		tracker->ForgetItem(item);
}


// Opens a window for the menu: at where, or beside the parent's item when there is one, kept
// on the screen.
bool
MenuTracker::_OpenLevel(BMenu* menu, BPoint where, BRect parentItem)
{
	MenuLevel level;
	level.menu = menu;
	level.highlighted = -1;
	BRect size = layout_entries(menu, &level.entries, menu == fRoot ? fMinWidth : 0);
	if (level.entries.empty())
		return false;

	BRect screen = Display::Default()->ScreenFrame();
	BRect frame = size;
	if (parentItem.IsValid()) {
		// Beside the parent menu, its first item level with the parent's item
		frame.OffsetTo(parentItem.right + kMenuBorder + 1, parentItem.top - kMenuBorder);
		if (frame.right > screen.right)
			frame.OffsetTo(parentItem.left - kMenuBorder - 1 - frame.Width(), frame.top);
	} else
		frame.OffsetTo(where);
	if (frame.right > screen.right)
		frame.OffsetBy(screen.right - frame.right, 0);
	if (frame.bottom > screen.bottom)
		frame.OffsetBy(0, screen.bottom - frame.bottom);
	if (frame.left < screen.left)
		frame.OffsetBy(screen.left - frame.left, 0);
	if (frame.top < screen.top)
		frame.OffsetBy(0, screen.top - frame.top);
	level.frame = frame;

	level.id = fNextID++;
	MenuWindow* window = new MenuWindow(shared_from_this(), level.id, frame);
	level.window = BMessenger(window);
	fLevels.push_back(level);
	window->Show();
	return true;
}


void
MenuTracker::_CloseLevelsAfter(int32 level)
{
	while ((int32)fLevels.size() > level + 1) {
		// Only posted: a menu thread never waits for another window's lock.
		fLevels.back().window.SendMessage(B_QUIT_REQUESTED);
		fLevels.pop_back();
	}
}


void
MenuTracker::_Highlight(int32 level, int32 index)
{
	MenuLevel& menuLevel = fLevels[level];
	if (menuLevel.highlighted == index)
		return;
	menuLevel.highlighted = index;
	menuLevel.window.SendMessage(kMsgRedraw);
}


int32
MenuTracker::_LevelAt(BPoint screenWhere) const
{
	for (int32 i = (int32)fLevels.size() - 1; i >= 0; i--) {
		if (fLevels[i].frame.Contains(screenWhere))
			return i;
	}
	return -1;
}


int32
MenuTracker::_EntryAt(int32 level, BPoint screenWhere) const
{
	const MenuLevel& menuLevel = fLevels[level];
	BPoint where = screenWhere - menuLevel.frame.LeftTop();
	for (int32 i = 0; i < (int32)menuLevel.entries.size(); i++) {
		const MenuEntry& entry = menuLevel.entries[i];
		if (entry.frame.top <= where.y && where.y <= entry.frame.bottom)
			return entry.enabled ? i : -1;
	}
	return -1;
}


void
MenuTracker::HandleMouse(uint32 what, BPoint screenWhere)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (fDone || fLevels.empty())
		return;

	// A press while the menu is open is a new click: the opening one is over, wherever its
	// release went. From then on, and outside the click-to-open area, the pointer chooses.
	if (what == B_MOUSE_DOWN)
		fReleased = true;
	if (!fClickToOpen.IsValid() || !fClickToOpen.Contains(screenWhere) || what == B_MOUSE_DOWN)
		fLeftClickArea = true;

	int32 level = _LevelAt(screenWhere);
	int32 index = level >= 0 ? _EntryAt(level, screenWhere) : -1;

	if (what == B_MOUSE_UP) {
		// The release of the click that opened the menu keeps it open: inside the
		// click-to-open area, or soon after opening where it chooses nothing.
		bool first = !fReleased;
		fReleased = true;
		if (!fLeftClickArea)
			return;
		if (first && index < 0 && BPrivate::real_time() - fOpened < kStickyTime)
			return;
	}
	if (level < 0) {
		// A click outside every menu ends tracking; moving there changes nothing.
		if (what != B_MOUSE_MOVED)
			_Finish(NULL, lock);
		return;
	}

	if (index != fLevels[level].highlighted) {
		_CloseLevelsAfter(level);
		_Highlight(level, index);
		if (index >= 0) {
			const MenuEntry& entry = fLevels[level].entries[index];
			if (entry.submenu != NULL) {
				BRect item = entry.frame.OffsetByCopy(fLevels[level].frame.LeftTop());
				_OpenLevel(entry.submenu, item.LeftTop(), item);
			}
		}
	} else
		_CloseLevelsAfter(
			index >= 0 && fLevels[level].entries[index].submenu != NULL ? level + 1 : level);

	if (what == B_MOUSE_UP && index >= 0 && fLevels[level].entries[index].submenu == NULL)
		_Finish(fLevels[level].entries[index].item, lock);
}


void
MenuTracker::Cancel()
{
	std::unique_lock<std::mutex> lock(fLock);
	if (!fDone)
		_Finish(NULL, lock);
}


// A menu window went away without the tracker closing it (the application quits): tracking
// ends with nothing chosen.
void
MenuTracker::WindowGone(int32 id)
{
	std::unique_lock<std::mutex> lock(fLock);
	if (fDone || _FindLevel(id) == NULL)
		return;
	_Finish(NULL, lock);
}


void
MenuTracker::_Finish(BMenuItem* chosen, std::unique_lock<std::mutex>& lock)
{
	fDone = true;
	fChosen = chosen;
	_CloseLevelsAfter(-1);
	lock.unlock();

	{
		// Items are only deleted while this lock is free: the chosen one lives while it
		// is delivered, or it was forgotten.
		std::lock_guard<std::mutex> trackers(sTrackersLock);
		{
			std::lock_guard<std::mutex> own(fLock);
			chosen = fChosen;
		}
		if (chosen != NULL && fDeliversMessage) {
			BMenu* menu = chosen->Menu();
			if (menu != NULL && menu->IsRadioMode())
				chosen->SetMarked(true);
			chosen->Invoke();
		}
		sTrackers.erase(this);
	}
	if (fAsync && fDeleteWhenDone)
		delete fRoot;

	lock.lock();
	fFinished = true;
	fDoneCondition.notify_all();
}


BMenuItem*
MenuTracker::Wait()
{
	std::unique_lock<std::mutex> lock(fLock);
	fDoneCondition.wait(lock, [this]() { return fFinished; });
	return fChosen;
}


MenuLevel*
MenuTracker::_FindLevel(int32 id)
{
	for (MenuLevel& level : fLevels) {
		if (level.id == id)
			return &level;
	}
	return NULL;
}


bool
MenuTracker::GetLevel(int32 id, std::vector<MenuEntry>* entries, int32* highlighted)
{
	std::lock_guard<std::mutex> lock(fLock);
	MenuLevel* level = _FindLevel(id);
	if (level == NULL)
		return false;
	*entries = level->entries;
	*highlighted = level->highlighted;
	return true;
}


//	#pragma mark - track_menu


BMenuItem*
track_menu(BMenu* menu, BPoint where, BRect clickToOpen, bool deliversMessage, bool async,
	bool deleteWhenDone, float minWidth)
{
	if (menu == NULL || !isfinite(where.x) || !isfinite(where.y))
		return NULL;
	if (!isfinite(minWidth) || minWidth < 0)
		minWidth = 0;
	std::shared_ptr<MenuTracker> tracker = std::make_shared<MenuTracker>(
		menu, clickToOpen, deliversMessage, async, deleteWhenDone, fminf(minWidth, 32768));
	if (!tracker->Open(where)) {
		if (async && deleteWhenDone)
			delete menu;
		return NULL;
	}
	if (async)
		return NULL;
	return tracker->Wait();
}


} // namespace BPrivate
