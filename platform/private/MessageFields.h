/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */
#ifndef _MESSAGE_FIELDS_H
#define _MESSAGE_FIELDS_H


#include <Message.h>

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>


// One named field of a message: its items lie back to back in data, and ends holds the
// offset just past each item. Items are never empty, so every item has a valid address.
struct BMessage::Field {
	std::string name;
	type_code type;
	bool fixedSize;
	std::vector<uint8> data;
	std::vector<size_t> ends;

	int32
	Count() const
	{
		return (int32)ends.size();
	}
	size_t
	ItemStart(int32 index) const
	{
		return index == 0 ? 0 : ends[index - 1];
	}
	size_t
	ItemSize(int32 index) const
	{
		return ends[index] - ItemStart(index);
	}
	const uint8*
	ItemData(int32 index) const
	{
		return data.data() + ItemStart(index);
	}

	void AppendItem(const void* item, size_t size);
	void ReplaceItem(int32 index, const void* item, size_t size);
	void RemoveItem(int32 index);
};


// The fields in the order they were added, with a name index so that messages with
// thousands of fields stay quick. The index keys point into the fields' own names, which
// never move because each field is allocated on its own.
class BMessage::FieldList {
public:
	FieldList() { }
	FieldList(const FieldList& other);

	int32
	Count() const
	{
		return (int32)fFields.size();
	}
	Field*
	FieldAt(int32 index) const
	{
		return fFields[index].get();
	}

	Field* Find(const char* name) const;
	Field* Add(const char* name, type_code type, bool fixedSize);
	void Remove(Field* field);
	void Rename(Field* field, const char* newName);

	// Reads the fields of the flat form (MessageFlatten.cpp), the bytes after its header.
	bool ReadFlat(const uint8* data, size_t size, uint32 fieldCount);

private:
	FieldList& operator=(const FieldList&) = delete;

	std::vector<std::unique_ptr<Field>> fFields;
	std::unordered_map<std::string_view, Field*> fIndex;
};


#endif // _MESSAGE_FIELDS_H
