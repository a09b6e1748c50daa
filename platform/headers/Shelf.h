/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _SHELF_H
#define _SHELF_H


#include <Dragger.h>
#include <Handler.h>
#include <List.h>
#include <Locker.h>
#include <String.h>


class BDataIO;
class BMessageFilter;
class BPoint;
class BView;
struct entry_ref;

class BShelf;

namespace BPrivate {
struct replicant_data;
class ShelfContainerViewFilter;
class ReplicantViewFilter;
void set_shelf_moves_window(BShelf* shelf, bool movesWindow);
bool shelf_moves_window(const BShelf* shelf);
} // namespace BPrivate


// Holds replicants: views rebuilt from archives in a container view. Archives dropped on
// the container (B_ARCHIVED_OBJECT) become replicants; the shelf saves them all to its
// file or stream.
class BShelf : public BHandler {
public:
	BShelf(BView* view, bool allowDrags = true, const char* shelfType = NULL);
	BShelf(const entry_ref* ref, BView* view, bool allowDrags = true, const char* shelfType = NULL);
	BShelf(BDataIO* stream, BView* view, bool allowDrags = true, const char* shelfType = NULL);
	virtual ~BShelf();

	virtual void MessageReceived(BMessage* message);
	status_t Save();
	virtual void SetDirty(bool state);
	bool IsDirty() const;

	bool AllowsDragging() const;
	void SetAllowsDragging(bool state);
	bool AllowsZombies() const;
	void SetAllowsZombies(bool state);
	bool DisplaysZombies() const;
	void SetDisplaysZombies(bool state);
	bool IsTypeEnforced() const;
	void SetTypeEnforced(bool state);

	status_t SetSaveLocation(BDataIO* stream);
	status_t SetSaveLocation(const entry_ref* ref);
	BDataIO* SaveLocation(entry_ref* ref) const;

	status_t AddReplicant(BMessage* archive, BPoint location);
	status_t DeleteReplicant(BView* replicant);
	status_t DeleteReplicant(BMessage* archive);
	status_t DeleteReplicant(int32 index);
	int32 CountReplicants() const;
	BMessage* ReplicantAt(
		int32 index, BView** view = NULL, uint32* uid = NULL, status_t* perr = NULL) const;
	int32 IndexOf(const BView* replicantView) const;
	int32 IndexOf(const BMessage* archive) const;
	int32 IndexOf(uint32 id) const;

protected:
	virtual bool CanAcceptReplicantMessage(BMessage* archive) const;
	virtual bool CanAcceptReplicantView(BRect, BView*, BMessage*) const;
	virtual BPoint AdjustReplicantBy(BRect, BMessage*) const;
	virtual void ReplicantDeleted(int32 index, const BMessage* archive, const BView* replicant);

private:
	BShelf(const BShelf&);
	BShelf& operator=(const BShelf&);

	friend class BPrivate::ShelfContainerViewFilter;
	friend class BPrivate::ReplicantViewFilter;
	friend void BPrivate::set_shelf_moves_window(BShelf* shelf, bool movesWindow);
	friend bool BPrivate::shelf_moves_window(const BShelf* shelf);

	void _InitData(const char* path, BDataIO* stream, BView* view, bool allowDrags);
	void _Load(BDataIO* stream);
	status_t _Archive(BMessage* data) const;
	status_t _AddReplicant(BMessage* data, BPoint* location, uint32 uniqueID);
	status_t _DeleteReplicant(BPrivate::replicant_data* replicant);
	void _JoinLooper();

	BView* fContainerView;
	BDataIO* fStream;
	BString fPath;
	BList fReplicants;
	BPrivate::ShelfContainerViewFilter* fFilter;
	uint32 fGenCount;
	bool fAllowDragging;
	bool fDirty;
	bool fDisplayZombies;
	bool fAllowZombies;
	bool fTypeEnforced;
	bool fMovesWindow;
};


#endif // _SHELF_H
