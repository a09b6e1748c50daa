/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <List.h>

#include <string>

#include <gtest/gtest.h>


// Items are the addresses of kValues' entries, so that tests can tell them apart by value.
static int kValues[100];


static void*
Item(int index)
{
	return &kValues[index];
}


static int
ValueOf(void* item)
{
	return (int)((int*)item - kValues);
}


static std::string
Order(const BList& list)
{
	std::string order;
	for (int32 i = 0; i < list.CountItems(); i++) {
		if (i > 0)
			order += ",";
		order += std::to_string(ValueOf(list.ItemAt(i)));
	}
	return order;
}


static int
CompareDescending(const void* a, const void* b)
{
	int first = ValueOf(*(void* const*)a);
	int second = ValueOf(*(void* const*)b);
	return second - first;
}


static bool
CountUntilSeven(void* item, void* arg)
{
	(*(int*)arg)++;
	return ValueOf(item) == 7;
}


TEST(List, GrowsPastSeveralBlocksAndKeepsOrder)
{
	BList list(3);
	EXPECT_TRUE(list.IsEmpty());
	for (int i = 0; i < 50; i++)
		ASSERT_TRUE(list.AddItem(Item(i)));
	EXPECT_EQ(list.CountItems(), 50);
	for (int i = 0; i < 50; i++)
		EXPECT_EQ(list.ItemAt(i), Item(i));
	EXPECT_EQ(list.FirstItem(), Item(0));
	EXPECT_EQ(list.LastItem(), Item(49));
	EXPECT_EQ(((void**)list.Items())[17], Item(17));

	// Shrinking back and growing again keeps the remaining items.
	EXPECT_TRUE(list.RemoveItems(5, 40));
	EXPECT_EQ(Order(list), "0,1,2,3,4,45,46,47,48,49");
	for (int i = 50; i < 60; i++)
		list.AddItem(Item(i), 1);
	EXPECT_EQ(list.CountItems(), 20);
	EXPECT_EQ(list.ItemAt(1), Item(59));
	EXPECT_EQ(list.ItemAt(19), Item(49));

	BList zeroBlocks(0);
	zeroBlocks.AddItem(Item(1));
	zeroBlocks.AddItem(Item(2));
	EXPECT_EQ(Order(zeroBlocks), "1,2");
}


TEST(List, OutOfRangeAccessAndInsertionFail)
{
	BList list;
	EXPECT_EQ(list.ItemAt(0), nullptr);
	EXPECT_EQ(list.FirstItem(), nullptr);
	EXPECT_EQ(list.LastItem(), nullptr);
	EXPECT_EQ(list.RemoveItem((int32)0), nullptr);

	list.AddItem(Item(0));
	list.AddItem(Item(1));
	EXPECT_EQ(list.ItemAt(-1), nullptr);
	EXPECT_EQ(list.ItemAt(2), nullptr);
	EXPECT_FALSE(list.AddItem(Item(2), 3));
	EXPECT_FALSE(list.AddItem(Item(2), -1));
	EXPECT_TRUE(list.AddItem(Item(2), 2));
	EXPECT_FALSE(list.ReplaceItem(3, Item(9)));
	EXPECT_FALSE(list.SwapItems(0, 3));
	EXPECT_FALSE(list.MoveItem(-1, 0));
	EXPECT_FALSE(list.AddList(NULL));
	EXPECT_FALSE(list.AddList(&list, 4));
	EXPECT_EQ(Order(list), "0,1,2");
}


TEST(List, RemovalByIndexItemAndRange)
{
	BList list(4);
	for (int i = 0; i < 10; i++)
		list.AddItem(Item(i));
	list.AddItem(Item(3));

	EXPECT_EQ(list.RemoveItem((int32)2), Item(2));
	// Only the first of two equal items goes.
	EXPECT_TRUE(list.RemoveItem(Item(3)));
	EXPECT_EQ(list.IndexOf(Item(3)), 8);
	EXPECT_FALSE(list.RemoveItem(Item(50)));
	EXPECT_EQ(list.IndexOf(Item(50)), -1);
	EXPECT_FALSE(list.HasItem(Item(2)));
	EXPECT_TRUE(list.HasItem((const void*)Item(4)));
	EXPECT_EQ(Order(list), "0,1,4,5,6,7,8,9,3");

	// A range reaching past the end removes up to the end; an empty or bad range fails.
	EXPECT_TRUE(list.RemoveItems(6, 100));
	EXPECT_EQ(Order(list), "0,1,4,5,6,7");
	EXPECT_FALSE(list.RemoveItems(6, 1));
	EXPECT_FALSE(list.RemoveItems(-1, 2));
	EXPECT_FALSE(list.RemoveItems(0, 0));
	EXPECT_FALSE(list.RemoveItems(0, -3));
	EXPECT_EQ(list.CountItems(), 6);

	list.MakeEmpty();
	EXPECT_TRUE(list.IsEmpty());
	EXPECT_EQ(list.ItemAt(0), nullptr);
	EXPECT_TRUE(list.AddItem(Item(5)));
}


TEST(List, ReorderingAndSorting)
{
	BList list;
	for (int i = 0; i < 6; i++)
		list.AddItem(Item(i));

	EXPECT_TRUE(list.MoveItem(0, 4));
	EXPECT_EQ(Order(list), "1,2,3,4,0,5");
	EXPECT_TRUE(list.MoveItem(5, 1));
	EXPECT_EQ(Order(list), "1,5,2,3,4,0");
	EXPECT_TRUE(list.SwapItems(0, 5));
	EXPECT_TRUE(list.ReplaceItem(2, Item(9)));
	EXPECT_EQ(Order(list), "0,5,9,3,4,1");

	// The compare function gets pointers to the items.
	list.SortItems(CompareDescending);
	EXPECT_EQ(Order(list), "9,5,4,3,1,0");

	int visited = 0;
	list.DoForEach(CountUntilSeven, &visited);
	EXPECT_EQ(visited, 6);
	list.AddItem(Item(7), 2);
	visited = 0;
	list.DoForEach(CountUntilSeven, &visited);
	EXPECT_EQ(visited, 3);
}


TEST(List, CopiesAndAddedListsAreIndependent)
{
	BList list(2);
	for (int i = 0; i < 5; i++)
		list.AddItem(Item(i));

	BList copy(list);
	BList assigned;
	assigned.AddItem(Item(42));
	assigned = list;
	list.RemoveItem((int32)0);
	EXPECT_EQ(Order(copy), "0,1,2,3,4");
	EXPECT_EQ(Order(assigned), "0,1,2,3,4");
	EXPECT_TRUE(copy == assigned);
	EXPECT_TRUE(copy != list);

	EXPECT_TRUE(copy.AddList(&list, 1));
	EXPECT_EQ(Order(copy), "0,1,2,3,4,1,2,3,4");
	// A list added into itself is added as it was.
	EXPECT_TRUE(list.AddList(&list, 2));
	EXPECT_EQ(Order(list), "1,2,1,2,3,4,3,4");
}
