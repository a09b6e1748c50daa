/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Archivable.h>

#include <errno.h>

#include <Handler.h>
#include <Message.h>

#include <gtest/gtest.h>


namespace {

class Shape : public BArchivable {
public:
	Shape(int32 sides) : fSides(sides) { }
	Shape(BMessage* archive) : BArchivable(archive), fSides(archive->GetInt32("sides", 0)) { }

	status_t
	Archive(BMessage* into, bool deep = true) const override
	{
		status_t status = BArchivable::Archive(into, deep);
		if (status == B_OK)
			status = into->AddInt32("sides", fSides);
		return status;
	}

	static BArchivable*
	Instantiate(BMessage* archive)
	{
		if (!validate_instantiation(archive, "Shape"))
			return NULL;
		return new Shape(archive);
	}

	int32 fSides;
};


class Square : public Shape {
public:
	Square() : Shape(4) { }
	Square(BMessage* archive) : Shape(archive) { }

	static BArchivable*
	Instantiate(BMessage* archive)
	{
		if (!validate_instantiation(archive, "Square"))
			return NULL;
		return new Square(archive);
	}
};

} // namespace


TEST(Archivable, ArchiveNamesTheDynamicClass)
{
	BMessage archive;
	EXPECT_EQ(Square().Archive(&archive), B_OK);
	// The class's own name, as the compiler knows it
	const char* name = archive.GetString(B_CLASS_FIELD, (const char*)NULL);
	ASSERT_NE(name, (const char*)NULL);
	EXPECT_NE(strstr(name, "Square"), (const char*)NULL);
	EXPECT_EQ(archive.GetInt32("sides", 0), 4);

	BHandler handler("named");
	BMessage handlerArchive;
	EXPECT_EQ(handler.Archive(&handlerArchive), B_OK);
	EXPECT_STREQ(handlerArchive.GetString(B_CLASS_FIELD, ""), "BHandler");
	EXPECT_STREQ(handlerArchive.GetString("_name", ""), "named");

	EXPECT_EQ(handler.Archive(NULL), B_BAD_VALUE);
	EXPECT_EQ(BArchivable::Instantiate(&archive), (BArchivable*)NULL);
}


TEST(Archivable, ValidateInstantiation)
{
	BMessage archive;
	archive.AddString(B_CLASS_FIELD, "Shape");
	archive.AddString(B_CLASS_FIELD, "Square");
	EXPECT_TRUE(validate_instantiation(&archive, "Shape"));
	EXPECT_TRUE(validate_instantiation(&archive, "Square"));

	errno = 0;
	EXPECT_FALSE(validate_instantiation(&archive, "Circle"));
	EXPECT_EQ(errno, B_MISMATCHED_VALUES);

	BMessage empty;
	errno = 0;
	EXPECT_FALSE(validate_instantiation(&empty, "Shape"));
	EXPECT_EQ(errno, B_MISMATCHED_VALUES);

	// A "class" field of another type names no class.
	BMessage wrongType;
	wrongType.AddInt32(B_CLASS_FIELD, 5);
	EXPECT_FALSE(validate_instantiation(&wrongType, "Shape"));

	errno = 0;
	EXPECT_FALSE(validate_instantiation(NULL, "Shape"));
	EXPECT_EQ(errno, B_BAD_VALUE);
}


TEST(Archivable, InstantiateObjectThroughTheRegistry)
{
	BMessage archive;
	archive.AddString(B_CLASS_FIELD, "Shape");
	archive.AddString(B_CLASS_FIELD, "Square");
	archive.AddInt32("sides", 4);

	// Unknown classes rebuild nothing.
	errno = 0;
	EXPECT_EQ(instantiate_object(&archive), (BArchivable*)NULL);
	EXPECT_EQ(errno, B_NAME_NOT_FOUND);
	EXPECT_EQ(instantiate_object(NULL), (BArchivable*)NULL);

	// A known base class is used when the most derived one is unknown.
	ASSERT_EQ(BPrivate::register_instantiation_func("Shape", &Shape::Instantiate), B_OK);
	BArchivable* object = instantiate_object(&archive);
	ASSERT_NE(object, (BArchivable*)NULL);
	EXPECT_EQ(dynamic_cast<Square*>(object), (Square*)NULL);
	ASSERT_NE(dynamic_cast<Shape*>(object), (Shape*)NULL);
	EXPECT_EQ(static_cast<Shape*>(object)->fSides, 4);
	delete object;

	// The most derived class comes first.
	ASSERT_EQ(BPrivate::register_instantiation_func("Square", &Square::Instantiate), B_OK);
	EXPECT_EQ(find_instantiation_func("Square"), &Square::Instantiate);
	EXPECT_EQ(find_instantiation_func(&archive), &Square::Instantiate);
	object = instantiate_object(&archive);
	EXPECT_NE(dynamic_cast<Square*>(object), (Square*)NULL);
	delete object;

	EXPECT_EQ(BPrivate::register_instantiation_func("Square", NULL), B_OK);
	EXPECT_EQ(BPrivate::register_instantiation_func("Shape", NULL), B_OK);
	EXPECT_EQ(find_instantiation_func("Square"), (instantiation_func)NULL);
	EXPECT_EQ(BPrivate::register_instantiation_func(NULL, &Shape::Instantiate), B_BAD_VALUE);
	EXPECT_EQ(BPrivate::register_instantiation_func("", &Shape::Instantiate), B_BAD_VALUE);
}


TEST(Archivable, InstantiateObjectFindsLoadedClasses)
{
	// BHandler::Instantiate() is found by its name in the loaded layer library.
	BHandler handler("rebuilt");
	BMessage archive;
	ASSERT_EQ(handler.Archive(&archive), B_OK);
	BArchivable* object = instantiate_object(&archive);
	BHandler* copy = dynamic_cast<BHandler*>(object);
	ASSERT_NE(copy, (BHandler*)NULL);
	EXPECT_STREQ(copy->Name(), "rebuilt");
	delete object;

	// Names that are no C++ class names find nothing.
	EXPECT_EQ(find_instantiation_func("1Handler"), (instantiation_func)NULL);
	EXPECT_EQ(find_instantiation_func("B Handler"), (instantiation_func)NULL);
	EXPECT_EQ(find_instantiation_func("BHandler::"), (instantiation_func)NULL);
	EXPECT_EQ(find_instantiation_func("::BHandler"), (instantiation_func)NULL);
	EXPECT_EQ(find_instantiation_func(""), (instantiation_func)NULL);
	EXPECT_EQ(find_instantiation_func((const char*)NULL), (instantiation_func)NULL);
}
