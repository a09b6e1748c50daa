/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <BuiltinTranslators.h>

#include <png.h>
#include <setjmp.h>
#include <stdlib.h>
#include <string.h>

#include <new>

#include <ColorConversion.h>


namespace BPrivate {


static const translation_format kInputFormats[] = {
	{B_PNG_FORMAT, B_TRANSLATOR_BITMAP, 0.8f, 0.8f, "image/png", "PNG image"},
	{B_TRANSLATOR_BITMAP, B_TRANSLATOR_BITMAP, 0.4f, 0.6f, "image/x-be-bitmap",
		"Be Bitmap Format (PNGTranslator)"},
};

static const translation_format kOutputFormats[] = {
	{B_PNG_FORMAT, B_TRANSLATOR_BITMAP, 0.8f, 0.5f, "image/png", "PNG image"},
	{B_TRANSLATOR_BITMAP, B_TRANSLATOR_BITMAP, 0.4f, 0.6f, "image/x-be-bitmap",
		"Be Bitmap Format (PNGTranslator)"},
};

static const size_t kSignatureSize = 8;
static const size_t kCopyChunkSize = 65536;


// What the decoder and the encoder keep outside the function that calls setjmp(), so
// that it is still valid after libpng jumps back.
struct PNGContext {
	BPositionIO* source;
	BPositionIO* destination;
	png_structp png;
	png_infop info;
	uint8* bits;
	png_bytep* rows;
	uint8* inRow;
	uint8* outRow;
	int32 width;
	int32 height;
	status_t status;
};


static void
png_error_handler(png_structp png, png_const_charp message)
{
	(void)message;
	png_longjmp(png, 1);
}


static void
png_warning_handler(png_structp png, png_const_charp message)
{
	(void)png;
	(void)message;
}


static void
png_read_from_source(png_structp png, png_bytep data, size_t length)
{
	PNGContext* context = static_cast<PNGContext*>(png_get_io_ptr(png));
	if (!read_exactly(context->source, data, length)) {
		context->status = B_ILLEGAL_DATA;
		png_error(png, "the data ends early");
	}
}


static void
png_write_to_destination(png_structp png, png_bytep data, size_t length)
{
	PNGContext* context = static_cast<PNGContext*>(png_get_io_ptr(png));
	status_t status = context->destination->WriteExactly(data, length);
	if (status != B_OK) {
		context->status = status;
		png_error(png, "cannot write");
	}
}


static void
png_flush_destination(png_structp png)
{
	(void)png;
}


// Decodes the PNG image of the source into context->bits as B_RGBA32 rows.
static status_t
decode_png(PNGContext* context)
{
	png_structp png = context->png;
	png_infop info = context->info;
	if (setjmp(png_jmpbuf(png)) != 0)
		return context->status != B_OK ? context->status : B_ILLEGAL_DATA;

	png_set_read_fn(png, context, png_read_from_source);
	png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
	png_read_info(png, info);

	png_uint_32 width;
	png_uint_32 height;
	int bitDepth;
	int colorType;
	png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, NULL, NULL, NULL);
	if (!image_size_allowed(width, height))
		return B_ILLEGAL_DATA;

	// Every kind of PNG comes out as 8-bit B, G, R, A.
	if (colorType == PNG_COLOR_TYPE_PALETTE)
		png_set_palette_to_rgb(png);
	if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
		png_set_expand_gray_1_2_4_to_8(png);
	if (png_get_valid(png, info, PNG_INFO_tRNS) != 0)
		png_set_tRNS_to_alpha(png);
	if (bitDepth == 16)
		png_set_scale_16(png);
	if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
		png_set_gray_to_rgb(png);
	png_set_bgr(png);
	png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
	png_set_interlace_handling(png);
	png_read_update_info(png, info);
	if (png_get_rowbytes(png, info) != (size_t)width * 4)
		return B_ILLEGAL_DATA;

	size_t rowBytes = (size_t)width * 4;
	context->bits = static_cast<uint8*>(malloc(rowBytes * height));
	context->rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * height));
	if (context->bits == NULL || context->rows == NULL)
		return B_NO_MEMORY;
	for (png_uint_32 y = 0; y < height; y++)
		context->rows[y] = context->bits + rowBytes * y;

	png_read_image(png, context->rows);
	png_read_end(png, NULL);

	context->width = (int32)width;
	context->height = (int32)height;
	return B_OK;
}


static status_t
translate_png_to_bitmap(BPositionIO* source, BPositionIO* destination)
{
	PNGContext context;
	memset(&context, 0, sizeof(context));
	context.source = source;
	context.status = B_OK;

	context.png = png_create_read_struct(
		PNG_LIBPNG_VER_STRING, &context, png_error_handler, png_warning_handler);
	if (context.png == NULL)
		return B_NO_MEMORY;
	context.info = png_create_info_struct(context.png);
	if (context.info == NULL) {
		png_destroy_read_struct(&context.png, NULL, NULL);
		return B_NO_MEMORY;
	}

	status_t status = decode_png(&context);
	png_destroy_read_struct(&context.png, &context.info, NULL);
	if (status == B_OK)
		status = write_rgba32_bitmap(destination, context.bits, context.width, context.height);

	free(context.rows);
	free(context.bits);
	return status;
}


// Encodes the pixels that follow the header in the source as a PNG image: with alpha for
// colour spaces that have it, grey for grey ones, RGB for the rest.
static status_t
encode_png(PNGContext* context, const TranslatorBitmap& header)
{
	png_structp png = context->png;
	png_infop info = context->info;
	if (setjmp(png_jmpbuf(png)) != 0)
		return context->status != B_OK ? context->status : B_ERROR;

	int colorType;
	color_space rowSpace;
	switch (header.colors) {
	case B_RGBA32:
	case B_RGBA32_BIG:
	case B_RGBA15:
		colorType = PNG_COLOR_TYPE_RGB_ALPHA;
		rowSpace = B_RGBA32;
		break;
	case B_GRAY8:
	case B_GRAY1:
		colorType = PNG_COLOR_TYPE_GRAY;
		rowSpace = B_GRAY8;
		break;
	default:
		colorType = PNG_COLOR_TYPE_RGB;
		rowSpace = B_RGB24_BIG;
		break;
	}

	int32 outRowBytes = pixel_bytes(rowSpace, context->width);
	context->inRow = static_cast<uint8*>(malloc(header.rowBytes));
	context->outRow = static_cast<uint8*>(malloc(outRowBytes));
	if (context->inRow == NULL || context->outRow == NULL)
		return B_NO_MEMORY;

	png_set_write_fn(png, context, png_write_to_destination, png_flush_destination);
	png_set_IHDR(png, info, context->width, context->height, 8, colorType, PNG_INTERLACE_NONE,
		PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
	png_write_info(png, info);
	if (rowSpace == B_RGBA32)
		png_set_bgr(png);

	for (int32 y = 0; y < context->height; y++) {
		if (!read_exactly(context->source, context->inRow, header.rowBytes)) {
			context->status = B_ILLEGAL_DATA;
			png_error(png, "the pixels end early");
		}
		status_t status
			= ConvertBits(context->inRow, context->outRow, (int32)header.rowBytes, outRowBytes,
				(int32)header.rowBytes, outRowBytes, header.colors, rowSpace, context->width, 1);
		if (status != B_OK) {
			context->status = B_NO_TRANSLATOR;
			png_error(png, "cannot convert the pixels");
		}
		png_write_row(png, context->outRow);
	}
	png_write_end(png, info);
	return B_OK;
}


static status_t
translate_bitmap_to_png(BPositionIO* source, const TranslatorBitmap& header, int32 width,
	int32 height, BPositionIO* destination)
{
	PNGContext context;
	memset(&context, 0, sizeof(context));
	context.source = source;
	context.destination = destination;
	context.width = width;
	context.height = height;
	context.status = B_OK;

	context.png = png_create_write_struct(
		PNG_LIBPNG_VER_STRING, &context, png_error_handler, png_warning_handler);
	if (context.png == NULL)
		return B_NO_MEMORY;
	context.info = png_create_info_struct(context.png);
	if (context.info == NULL) {
		png_destroy_write_struct(&context.png, NULL);
		return B_NO_MEMORY;
	}

	status_t status = encode_png(&context, header);
	png_destroy_write_struct(&context.png, &context.info);
	free(context.inRow);
	free(context.outRow);
	return status;
}


// Copies a baseline bitmap stream, its header already read.
static status_t
copy_bitmap(
	BPositionIO* source, const TranslatorBitmap& header, int32 height, BPositionIO* destination)
{
	TranslatorBitmap copy = header;
	copy.dataSize = header.rowBytes * (uint32)height;
	uint8 bytes[kBitmapHeaderSize];
	bitmap_header_to_stream(copy, bytes);
	status_t status = destination->WriteExactly(bytes, sizeof(bytes));
	if (status != B_OK)
		return status;

	uint8* buffer = new (std::nothrow) uint8[kCopyChunkSize];
	if (buffer == NULL)
		return B_NO_MEMORY;
	size_t left = copy.dataSize;
	while (left > 0 && status == B_OK) {
		size_t chunk = min_c(left, kCopyChunkSize);
		if (!read_exactly(source, buffer, chunk))
			status = B_ILLEGAL_DATA;
		else
			status = destination->WriteExactly(buffer, chunk);
		left -= chunk;
	}
	delete[] buffer;
	return status;
}


// Reads the start of the source: a PNG signature, or a baseline bitmap header that the
// encoder can take.
static status_t
sniff(BPositionIO* source, uint32* _type, TranslatorBitmap* _header, int32* _width, int32* _height)
{
	uint8 start[kBitmapHeaderSize];
	size_t length = 0;
	source->ReadExactly(start, sizeof(start), &length);
	if (length >= kSignatureSize && png_sig_cmp(start, 0, kSignatureSize) == 0) {
		*_type = B_PNG_FORMAT;
		return B_OK;
	}
	if (length == kBitmapHeaderSize) {
		bitmap_header_from_stream(start, _header);
		if (check_bitmap_header(*_header, _width, _height) && _header->colors != B_CMAP8) {
			*_type = B_TRANSLATOR_BITMAP;
			return B_OK;
		}
	}
	return B_NO_TRANSLATOR;
}


class PNGTranslator : public BuiltinTranslator {
public:
	PNGTranslator()
		: BuiltinTranslator("PNG images", "PNG image translator (libpng)", kInputFormats,
			sizeof(kInputFormats) / sizeof(kInputFormats[0]), kOutputFormats,
			sizeof(kOutputFormats) / sizeof(kOutputFormats[0]))
	{ }

	virtual status_t
	Identify(BPositionIO* source, BMessage* ioExtension, translator_info* _info, uint32 outType)
	{
		(void)ioExtension;
		uint32 type;
		TranslatorBitmap header;
		int32 width;
		int32 height;
		if (sniff(source, &type, &header, &width, &height) != B_OK)
			return B_NO_TRANSLATOR;

		if (type == B_PNG_FORMAT) {
			if (outType != 0 && outType != B_TRANSLATOR_BITMAP)
				return B_NO_TRANSLATOR;
			fill_translator_info(kInputFormats[0], _info);
			return B_OK;
		}
		if (outType != 0 && outType != B_PNG_FORMAT && outType != B_TRANSLATOR_BITMAP)
			return B_NO_TRANSLATOR;
		fill_translator_info(kInputFormats[1], _info);
		return B_OK;
	}

	virtual status_t
	Translate(BPositionIO* source, const translator_info* info, BMessage* ioExtension,
		uint32 outType, BPositionIO* destination)
	{
		(void)info;
		(void)ioExtension;
		uint32 type;
		TranslatorBitmap header;
		int32 width;
		int32 height;
		if (sniff(source, &type, &header, &width, &height) != B_OK)
			return B_NO_TRANSLATOR;

		if (type == B_PNG_FORMAT) {
			if (outType != 0 && outType != B_TRANSLATOR_BITMAP)
				return B_NO_TRANSLATOR;
			off_t position = source->Seek(0, SEEK_SET);
			if (position < 0)
				return (status_t)position;
			return translate_png_to_bitmap(source, destination);
		}

		if (outType == B_TRANSLATOR_BITMAP)
			return copy_bitmap(source, header, height, destination);
		if (outType != 0 && outType != B_PNG_FORMAT)
			return B_NO_TRANSLATOR;
		return translate_bitmap_to_png(source, header, width, height, destination);
	}
};


BuiltinTranslator*
create_png_translator()
{
	return new (std::nothrow) PNGTranslator;
}


}
