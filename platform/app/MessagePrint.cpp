/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <Message.h>

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <GraphicsDefs.h>

#include <MessageFields.h>


// Nested messages deeper than this are printed as plain data (a corrupt or hostile
// message could otherwise nest deeply enough to exhaust the stack).
static const int32 kMaxPrintDepth = 32;


//	#pragma mark - Printing


void
BMessage::PrintToStream() const
{
	_PrintToStream("", 0);
	printf("}\n");
}


template<typename Type>
static Type
item_value(const uint8* data)
{
	Type value;
	memcpy(static_cast<void*>(&value), data, sizeof(Type));
	return value;
}


// Prints the header and the items; the caller prints the closing brace.
void
BMessage::_PrintToStream(const char* indent, int32 depth) const
{
	char code[5] = {(char)(what >> 24), (char)(what >> 16), (char)(what >> 8), (char)what, 0};
	if (isprint((unsigned char)code[0]) != 0)
		printf("BMessage('%.4s') {\n", code);
	else
		printf("BMessage(0x%" B_PRIx32 ") {\n", what);

	for (int32 i = 0; fFields != NULL && i < fFields->Count(); i++) {
		Field* field = fFields->FieldAt(i);
		const char* name = field->name.c_str();
		char type[5] = {(char)(field->type >> 24), (char)(field->type >> 16),
			(char)(field->type >> 8), (char)field->type, 0};

		for (int32 item = 0; item < field->Count(); item++) {
			if (field->Count() == 1)
				printf("%s        %s = ", indent, name);
			else
				printf("%s        %s[%" B_PRId32 "] = ", indent, name, item);

			const uint8* data = field->ItemData(item);
			size_t size = field->ItemSize(item);

			// An item of a known type but an unexpected size (only AddData() can make one)
			// is printed like data of an unknown type.
			type_code printedType = field->type;
			switch (printedType) {
			case B_RECT_TYPE:
				printedType = size == sizeof(BRect) ? printedType : 0;
				break;
			case B_POINT_TYPE:
				printedType = size == sizeof(BPoint) ? printedType : 0;
				break;
			case B_INT8_TYPE:
			case B_UINT8_TYPE:
			case B_BOOL_TYPE:
				printedType = size == 1 ? printedType : 0;
				break;
			case B_INT16_TYPE:
			case B_UINT16_TYPE:
				printedType = size == 2 ? printedType : 0;
				break;
			case B_INT32_TYPE:
			case B_UINT32_TYPE:
			case B_FLOAT_TYPE:
			case B_RGB_32_BIT_TYPE:
				printedType = size == 4 ? printedType : 0;
				break;
			case B_INT64_TYPE:
			case B_UINT64_TYPE:
			case B_DOUBLE_TYPE:
				printedType = size == 8 ? printedType : 0;
				break;
			case B_MESSAGE_TYPE:
				printedType = depth < kMaxPrintDepth ? printedType : 0;
				break;
			}

			switch (printedType) {
			case B_RECT_TYPE:
				item_value<BRect>(data).PrintToStream();
				break;

			case B_POINT_TYPE:
				item_value<BPoint>(data).PrintToStream();
				break;

			case B_STRING_TYPE:
				printf("string(\"%.*s\", %zu bytes)\n", (int)size,
					reinterpret_cast<const char*>(data), size);
				break;

			case B_INT8_TYPE: {
				int value = item_value<int8>(data);
				printf("int8(0x%hx or %d or '%c')\n", value, value, value);
				break;
			}

			case B_UINT8_TYPE: {
				unsigned int value = item_value<uint8>(data);
				printf("uint8(0x%hx or %u or '%c')\n", value, value, value);
				break;
			}

			case B_INT16_TYPE: {
				int value = item_value<int16>(data);
				printf("int16(0x%x or %d)\n", (unsigned int)value, value);
				break;
			}

			case B_UINT16_TYPE: {
				unsigned int value = item_value<uint16>(data);
				printf("uint16(0x%x or %u)\n", value, value);
				break;
			}

			case B_INT32_TYPE: {
				// Haiku's format is "int32(0x%lx or %ld)". A negative value shows its
				// hex part as the unsigned 32-bit number of the same bits and its
				// decimal part signed: -1 prints "int32(0xffffffff or -1)".
				int32 value = item_value<int32>(data);
				printf("int32(0x%" B_PRIx32 " or %" B_PRId32 ")\n", (uint32)value, value);
				break;
			}

			case B_UINT32_TYPE: {
				uint32 value = item_value<uint32>(data);
				printf("uint32(0x%" B_PRIx32 " or %" B_PRIu32 ")\n", value, value);
				break;
			}

			case B_INT64_TYPE: {
				int64 value = item_value<int64>(data);
				printf("int64(0x%" B_PRIx64 " or %" B_PRId64 ")\n", (uint64)value, value);
				break;
			}

			case B_UINT64_TYPE: {
				// Haiku prints the decimal part of an uint64 signed, too.
				uint64 value = item_value<uint64>(data);
				printf("uint64(0x%" B_PRIx64 " or %" B_PRId64 ")\n", value, (int64)value);
				break;
			}

			case B_BOOL_TYPE:
				printf("bool(%s)\n", data[0] != 0 ? "true" : "false");
				break;

			case B_FLOAT_TYPE:
				printf("float(%.4f)\n", item_value<float>(data));
				break;

			case B_DOUBLE_TYPE:
				printf("double(%.8f)\n", item_value<double>(data));
				break;

			case B_RGB_32_BIT_TYPE: {
				rgb_color color = item_value<rgb_color>(data);
				printf(
					"rgb_color(%u, %u, %u, %u)\n", color.red, color.green, color.blue, color.alpha);
				break;
			}

			case B_MESSAGE_TYPE: {
				BMessage message;
				status_t status = message._Unflatten(reinterpret_cast<const char*>(data), size);
				if (status != B_OK) {
					printf("failed unflatten: %s\n", strerror(status));
					break;
				}
				std::string nestedIndent = std::string(indent) + "        ";
				message._PrintToStream(nestedIndent.c_str(), depth + 1);
				printf("%s        }\n", indent);
				break;
			}

			default:
				printf("(type = '%.4s')(size = %zu)\n", type, size);
				break;
			}
		}
	}
}
