/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <AppDefs.h>
#include <Entry.h>
#include <Looper.h>
#include <Message.h>
#include <Messenger.h>
#include <NodeMonitor.h>

#include <stdio.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EventLog.h"
#include "TestEnv.h"


namespace {


struct Received : EventLog {
	std::vector<BMessage> messages;
};


// Keeps every node monitor message it receives.
class Recorder : public BLooper {
public:
	Recorder() : BLooper("recorder") { Run(); }

	void
	MessageReceived(BMessage* message) override
	{
		if (message->what != B_NODE_MONITOR) {
			BLooper::MessageReceived(message);
			return;
		}
		log.Change([&]() { log.messages.push_back(*message); });
	}

	// Waits until `count` messages arrived and gives them all.
	std::vector<BMessage>
	WaitFor(size_t count)
	{
		log.WaitFor([&]() { return log.messages.size() >= count; });
		std::lock_guard<std::mutex> lock(log.lock);
		return log.messages;
	}

	Received log;
};


node_ref
NodeOf(const std::string& path)
{
	node_ref ref;
	BEntry entry(path.c_str());
	EXPECT_EQ(entry.GetNodeRef(&ref), B_OK);
	return ref;
}


// Another program writes the file in place.
void
WriteInPlace(const std::string& path, const std::string& contents)
{
	FILE* file = fopen(path.c_str(), "w");
	ASSERT_NE(file, nullptr);
	fputs(contents.c_str(), file);
	fclose(file);
}


void
ExpectNode(const BMessage& message, int32 opcode, const node_ref& ref)
{
	EXPECT_EQ(message.what, (uint32)B_NODE_MONITOR);
	EXPECT_EQ(message.GetInt32("opcode", -1), opcode);
	EXPECT_EQ(message.GetInt32("device", -1), (int32)ref.device);
	EXPECT_EQ(message.GetInt64("node", -1), (int64)ref.node);
}


} // namespace


// A watched preset file: an edit in place and an editor's save by rename each give a stat
// watcher one message; a name watcher learns that the old node went; stopping works and
// reports as Haiku does.
TEST(NodeMonitor, PresetFileEditedInPlaceAndByRename)
{
	TestEnv env;
	std::string path = env.Home() + "/Presets.txt";
	WriteFile(path, "old\n");
	node_ref first = NodeOf(path);

	Recorder* stat = new Recorder;
	Recorder* name = new Recorder;
	BMessenger statTarget(stat);
	BMessenger nameTarget(name);
	ASSERT_EQ(watch_node(&first, B_WATCH_STAT, statTarget), B_OK);
	ASSERT_EQ(watch_node(&first, B_WATCH_NAME, name), B_OK);

	// in place: one final update, when the writer closes the file
	WriteInPlace(path, "edited in place\n");
	std::vector<BMessage> seen = stat->WaitFor(1);
	ASSERT_EQ(seen.size(), 1u);
	ExpectNode(seen[0], B_STAT_CHANGED, first);
	int32 fields = seen[0].GetInt32("fields", 0);
	EXPECT_EQ(
		fields & (B_STAT_SIZE | B_STAT_MODIFICATION_TIME), B_STAT_SIZE | B_STAT_MODIFICATION_TIME);
	EXPECT_EQ(fields & B_STAT_INTERIM_UPDATE, 0);

	// an editor's save: a new file renamed over the old one
	WriteFile(path + ".tmp", "saved by rename\n");
	ASSERT_EQ(rename((path + ".tmp").c_str(), path.c_str()), 0);
	seen = stat->WaitFor(2);
	ASSERT_EQ(seen.size(), 2u);
	ExpectNode(seen[1], B_STAT_CHANGED, first);

	std::vector<BMessage> named = name->WaitFor(1);
	ASSERT_EQ(named.size(), 1u);
	ExpectNode(named[0], B_ENTRY_REMOVED, first);
	EXPECT_STREQ(named[0].GetString("name", ""), "Presets.txt");
	EXPECT_EQ(named[0].GetInt64("directory", -1), (int64)NodeOf(env.Home()).node);

	// the slots stay after the node went, until they are stopped
	EXPECT_EQ(watch_node(&first, B_STOP_WATCHING, statTarget), B_OK);
	EXPECT_EQ(watch_node(&first, B_STOP_WATCHING, statTarget), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(stop_watching(name), B_OK);
	EXPECT_EQ(stop_watching(name), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(watch_node(NULL, B_STOP_WATCHING, statTarget), B_BAD_VALUE);
	EXPECT_EQ(watch_node(&first, B_WATCH_STAT, BMessenger()), B_BAD_VALUE);

	// a stopped watch is silent: the new node is watched and stopped, then a second file is
	// watched; its message comes after anything the first edit could have caused
	node_ref second = NodeOf(path);
	std::string other = env.Home() + "/TagList.txt";
	WriteFile(other, "");
	node_ref third = NodeOf(other);
	ASSERT_EQ(watch_node(&second, B_WATCH_STAT | B_WATCH_NAME, statTarget), B_OK);
	ASSERT_EQ(watch_node(&second, B_STOP_WATCHING, statTarget), B_OK);
	ASSERT_EQ(watch_node(&third, B_WATCH_STAT, statTarget), B_OK);
	WriteInPlace(path, "unseen\n");
	WriteInPlace(other, "seen\n");
	seen = stat->WaitFor(3);
	ASSERT_EQ(seen.size(), 3u);
	ExpectNode(seen[2], B_STAT_CHANGED, third);

	// a watched folder reports its entries coming, moving and going
	Recorder* folder = new Recorder;
	node_ref home = NodeOf(env.Home());
	ASSERT_EQ(watch_node(&home, B_WATCH_DIRECTORY, folder), B_OK);
	// (step by step: inotify does not name the node, which must still be there when the
	// watcher thread reads the event)
	WriteFile(env.Home() + "/new", "");
	node_ref created = NodeOf(env.Home() + "/new");
	ASSERT_EQ(folder->WaitFor(1).size(), 1u);
	ASSERT_EQ(rename((env.Home() + "/new").c_str(), (env.Home() + "/moved").c_str()), 0);
	ASSERT_EQ(folder->WaitFor(2).size(), 2u);
	ASSERT_EQ(unlink((env.Home() + "/moved").c_str()), 0);
	std::vector<BMessage> entries = folder->WaitFor(3);
	ASSERT_EQ(entries.size(), 3u);
	ExpectNode(entries[0], B_ENTRY_CREATED, created);
	EXPECT_EQ(entries[0].GetInt64("directory", -1), (int64)home.node);
	EXPECT_STREQ(entries[0].GetString("name", ""), "new");
	ExpectNode(entries[1], B_ENTRY_MOVED, created);
	EXPECT_EQ(entries[1].GetInt64("from directory", -1), (int64)home.node);
	EXPECT_EQ(entries[1].GetInt64("to directory", -1), (int64)home.node);
	EXPECT_STREQ(entries[1].GetString("from name", ""), "new");
	EXPECT_STREQ(entries[1].GetString("name", ""), "moved");
	ExpectNode(entries[2], B_ENTRY_REMOVED, created);
	EXPECT_STREQ(entries[2].GetString("name", ""), "moved");

	EXPECT_EQ(stop_watching(statTarget), B_OK);
	EXPECT_EQ(stop_watching(folder), B_OK);
	for (BLooper* looper : {(BLooper*)stat, (BLooper*)name, (BLooper*)folder}) {
		looper->Lock();
		looper->Quit();
	}
}
