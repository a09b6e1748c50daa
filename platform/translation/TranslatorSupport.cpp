/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <BuiltinTranslators.h>

#include <limits.h>
#include <stdio.h>
#include <string.h>

#include <ColorConversion.h>


namespace BPrivate {


static uint32
read_big_endian(const uint8* bytes)
{
	return ((uint32)bytes[0] << 24) | ((uint32)bytes[1] << 16) | ((uint32)bytes[2] << 8) | bytes[3];
}


static void
write_big_endian(uint32 value, uint8* bytes)
{
	bytes[0] = (uint8)(value >> 24);
	bytes[1] = (uint8)(value >> 16);
	bytes[2] = (uint8)(value >> 8);
	bytes[3] = (uint8)value;
}


static float
read_big_endian_float(const uint8* bytes)
{
	uint32 value = read_big_endian(bytes);
	float result;
	memcpy(&result, &value, sizeof(result));
	return result;
}


static void
write_big_endian_float(float value, uint8* bytes)
{
	uint32 raw;
	memcpy(&raw, &value, sizeof(raw));
	write_big_endian(raw, bytes);
}


// The colour space a stream names, B_NO_COLOR_SPACE for one the layer does not know.
static color_space
color_space_from_stream(uint32 value)
{
	switch (value) {
	case B_RGB32:
	case B_RGBA32:
	case B_RGB24:
	case B_RGB16:
	case B_RGB15:
	case B_RGBA15:
	case B_CMAP8:
	case B_GRAY8:
	case B_GRAY1:
	case B_RGB32_BIG:
	case B_RGBA32_BIG:
	case B_RGB24_BIG:
		return (color_space)value;
	default:
		return B_NO_COLOR_SPACE;
	}
}


//	#pragma mark - BuiltinTranslator


BuiltinTranslator::BuiltinTranslator(const char* name, const char* info,
	const translation_format* inputs, int32 inputCount, const translation_format* outputs,
	int32 outputCount)
	: fName(name), fInfo(info), fInputs(inputs), fInputCount(inputCount), fOutputs(outputs),
	  fOutputCount(outputCount)
{ }


const char*
BuiltinTranslator::Name() const
{
	return fName;
}


const char*
BuiltinTranslator::Info() const
{
	return fInfo;
}


int32
BuiltinTranslator::Version() const
{
	return B_TRANSLATION_MAKE_VERSION(1, 0, 0);
}


const translation_format*
BuiltinTranslator::InputFormats(int32* _count) const
{
	*_count = fInputCount;
	return fInputs;
}


const translation_format*
BuiltinTranslator::OutputFormats(int32* _count) const
{
	*_count = fOutputCount;
	return fOutputs;
}


//	#pragma mark - ImageReaderTranslator


status_t
ImageReaderTranslator::Identify(
	BPositionIO* source, BMessage*, translator_info* _info, uint32 outType)
{
	int32 count;
	const translation_format* formats = InputFormats(&count);
	if ((outType != 0 && outType != B_TRANSLATOR_BITMAP) || count < 1 || !IsFormat(source))
		return B_NO_TRANSLATOR;
	fill_translator_info(formats[0], _info);
	return B_OK;
}


status_t
ImageReaderTranslator::Translate(BPositionIO* source, const translator_info*, BMessage*,
	uint32 outType, BPositionIO* destination)
{
	if ((outType != 0 && outType != B_TRANSLATOR_BITMAP) || !IsFormat(source))
		return B_NO_TRANSLATOR;
	off_t position = source->Seek(0, SEEK_SET);
	if (position < 0)
		return (status_t)position;
	return Decode(source, destination);
}


//	#pragma mark - helpers


void
fill_translator_info(const translation_format& format, translator_info* _info)
{
	memset(_info, 0, sizeof(*_info));
	_info->type = format.type;
	_info->group = format.group;
	_info->quality = format.quality;
	_info->capability = format.capability;
	// Both are as long as the format's strings, whose last byte is the end.
	memcpy(_info->name, format.name, sizeof(_info->name));
	memcpy(_info->MIME, format.MIME, sizeof(_info->MIME));
	_info->name[sizeof(_info->name) - 1] = '\0';
	_info->MIME[sizeof(_info->MIME) - 1] = '\0';
}


bool
read_exactly(BPositionIO* source, void* buffer, size_t size)
{
	return source->ReadExactly(buffer, size) == B_OK;
}


void
bitmap_header_from_stream(const uint8* bytes, TranslatorBitmap* _header)
{
	_header->magic = read_big_endian(bytes);
	_header->bounds.left = read_big_endian_float(bytes + 4);
	_header->bounds.top = read_big_endian_float(bytes + 8);
	_header->bounds.right = read_big_endian_float(bytes + 12);
	_header->bounds.bottom = read_big_endian_float(bytes + 16);
	_header->rowBytes = read_big_endian(bytes + 20);
	_header->colors = color_space_from_stream(read_big_endian(bytes + 24));
	_header->dataSize = read_big_endian(bytes + 28);
}


void
bitmap_header_to_stream(const TranslatorBitmap& header, uint8* bytes)
{
	write_big_endian(header.magic, bytes);
	write_big_endian_float(header.bounds.left, bytes + 4);
	write_big_endian_float(header.bounds.top, bytes + 8);
	write_big_endian_float(header.bounds.right, bytes + 12);
	write_big_endian_float(header.bounds.bottom, bytes + 16);
	write_big_endian(header.rowBytes, bytes + 20);
	write_big_endian((uint32)header.colors, bytes + 24);
	write_big_endian(header.dataSize, bytes + 28);
}


bool
check_bitmap_header(const TranslatorBitmap& header, int32* _width, int32* _height)
{
	if (header.magic != B_TRANSLATOR_BITMAP)
		return false;

	int32 width;
	int32 height;
	if (!bitmap_dimensions(header.bounds, &width, &height) || !image_size_allowed(width, height))
		return false;

	// Rows may be padded, but not to many times their pixels.
	int32 pixelBytes = pixel_bytes(header.colors, width);
	if (pixelBytes < 0 || header.rowBytes < (uint32)pixelBytes
		|| header.rowBytes > (uint32)bytes_per_row(header.colors, width) * 2)
		return false;

	uint64 needed = (uint64)header.rowBytes * (uint64)height;
	if (needed > INT32_MAX || header.dataSize < needed)
		return false;

	*_width = width;
	*_height = height;
	return true;
}


status_t
write_rgba32_bitmap(BPositionIO* destination, const uint8* bits, int32 width, int32 height)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.bounds.Set(0, 0, width - 1, height - 1);
	header.rowBytes = (uint32)width * 4;
	header.colors = B_RGBA32;
	header.dataSize = header.rowBytes * (uint32)height;

	uint8 bytes[kBitmapHeaderSize];
	bitmap_header_to_stream(header, bytes);
	status_t status = destination->WriteExactly(bytes, sizeof(bytes));
	if (status != B_OK)
		return status;
	return destination->WriteExactly(bits, header.dataSize);
}


bool
image_size_allowed(int64 width, int64 height)
{
	return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide
		&& width * height <= kMaxImagePixels;
}


}
