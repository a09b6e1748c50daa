/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <View.h>

#include <vector>

#include <ViewPrivate.h>


namespace BPrivate {


// The views below view, depth first, each before its children, in the order they were added.
static void
collect_views(BView* view, std::vector<BView*>& views)
{
	for (BView* child = view->ChildAt(0); child != NULL; child = child->NextSibling()) {
		views.push_back(child);
		collect_views(child, views);
	}
}


BView*
ViewPrivate::TopView(BView* view)
{
	while (view != NULL && view->fParent != NULL)
		view = view->fParent;
	return view;
}


bool
ViewPrivate::Navigate(BView* topView, BView* focus, bool backward)
{
	if (topView == NULL)
		return false;
	std::vector<BView*> views;
	collect_views(topView, views);
	int32 count = (int32)views.size();

	int32 current = -1;
	for (int32 i = 0; i < count; i++) {
		if (views[i] == focus)
			current = i;
	}
	if (current < 0 && backward)
		return false;

	int32 step = backward ? -1 : 1;
	int32 index = current;
	for (int32 tried = 0; tried < count; tried++) {
		index = current < 0 && tried == 0 ? 0 : (index + step + count) % count;
		if (index == current)
			break;
		BView* view = views[index];
		if ((view->Flags() & B_NAVIGABLE) == 0 || view->IsHidden())
			continue;
		view->MakeFocus(true);
		return true;
	}
	return false;
}


} // namespace BPrivate
