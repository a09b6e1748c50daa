/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <MessageFields.h>

#include <string.h>


void
BMessage::Field::AppendItem(const void* item, size_t size)
{
	const uint8* bytes = static_cast<const uint8*>(item);
	uintptr_t address = reinterpret_cast<uintptr_t>(bytes);
	uintptr_t start = reinterpret_cast<uintptr_t>(data.data());
	if (address >= start && address < start + data.size()) {
		// An item of this very field: copy it before the buffer grows and moves.
		std::vector<uint8> copy(bytes, bytes + size);
		AppendItem(copy.data(), size);
		return;
	}

	ends.reserve(ends.size() + 1);
	data.insert(data.end(), bytes, bytes + size);
	ends.push_back(data.size());
}


void
BMessage::Field::ReplaceItem(int32 index, const void* item, size_t size)
{
	size_t start = ItemStart(index);
	size_t oldSize = ItemSize(index);
	const uint8* bytes = static_cast<const uint8*>(item);

	if (size == oldSize) {
		memmove(data.data() + start, bytes, size);
		return;
	}

	// The new bytes may lie in this very field (a pointer FindData() gave out): they are
	// read into the new buffer before the old one goes.
	std::vector<uint8> newData;
	newData.reserve(data.size() - oldSize + size);
	newData.insert(newData.end(), data.begin(), data.begin() + start);
	newData.insert(newData.end(), bytes, bytes + size);
	newData.insert(newData.end(), data.begin() + start + oldSize, data.end());
	data.swap(newData);
	for (size_t i = index; i < ends.size(); i++)
		ends[i] = ends[i] - oldSize + size;
}


void
BMessage::Field::RemoveItem(int32 index)
{
	size_t start = ItemStart(index);
	size_t size = ItemSize(index);
	data.erase(data.begin() + start, data.begin() + start + size);
	ends.erase(ends.begin() + index);
	for (size_t i = index; i < ends.size(); i++)
		ends[i] -= size;
}


BMessage::FieldList::FieldList(const FieldList& other)
{
	fFields.reserve(other.fFields.size());
	fIndex.reserve(other.fFields.size());
	for (const std::unique_ptr<Field>& field : other.fFields) {
		fFields.push_back(std::make_unique<Field>(*field));
		fIndex.emplace(fFields.back()->name, fFields.back().get());
	}
}


BMessage::Field*
BMessage::FieldList::Find(const char* name) const
{
	auto found = fIndex.find(std::string_view(name));
	if (found == fIndex.end())
		return NULL;
	return found->second;
}


BMessage::Field*
BMessage::FieldList::Add(const char* name, type_code type, bool fixedSize)
{
	std::unique_ptr<Field> field = std::make_unique<Field>();
	field->name = name;
	field->type = type;
	field->fixedSize = fixedSize;

	fFields.reserve(fFields.size() + 1);
	fIndex.emplace(field->name, field.get());
	fFields.push_back(std::move(field));
	return fFields.back().get();
}


void
BMessage::FieldList::Remove(Field* field)
{
	fIndex.erase(field->name);
	for (auto iterator = fFields.begin(); iterator != fFields.end(); iterator++) {
		if (iterator->get() == field) {
			fFields.erase(iterator);
			return;
		}
	}
}


void
BMessage::FieldList::Rename(Field* field, const char* newName)
{
	std::string name(newName);
	auto node = fIndex.extract(field->name);
	field->name.swap(name);
	node.key() = field->name;
	fIndex.insert(std::move(node));
}
