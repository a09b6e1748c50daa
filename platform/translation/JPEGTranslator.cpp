/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


#include <BuiltinTranslators.h>

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

#include <new>


namespace BPrivate {


static const translation_format kInputFormats[] = {
	{B_JPEG_FORMAT, B_TRANSLATOR_BITMAP, 0.5f, 0.8f, "image/jpeg", "JPEG image"},
};

static const translation_format kOutputFormats[] = {
	{B_TRANSLATOR_BITMAP, B_TRANSLATOR_BITMAP, 0.5f, 0.5f, "image/x-be-bitmap",
		"Be Bitmap Format (JPEGTranslator)"},
};

static const size_t kInputBufferSize = 4096;

// What the decoder may allocate for its buffers.
static const long kMaxMemory = 512L * 1024 * 1024;

// A progressive image with more scans than this is taken for an attack, not a picture.
static const int kMaxScans = 1000;


// libjpeg's own error handler ends the process: this one jumps back to the decoder.
struct JPEGErrorManager {
	struct jpeg_error_mgr manager;
	jmp_buf jump;
};


struct JPEGSourceManager {
	struct jpeg_source_mgr manager;
	BPositionIO* source;
	bool reachedEnd;
	JOCTET buffer[kInputBufferSize];
};


// What the decoder keeps outside the function that calls setjmp().
struct JPEGContext {
	struct jpeg_decompress_struct info;
	JPEGErrorManager error;
	JPEGSourceManager source;
	struct jpeg_progress_mgr progress;
	uint8* bits;
	int32 width;
	int32 height;
};


static void
jpeg_error_exit(j_common_ptr info)
{
	JPEGErrorManager* error = reinterpret_cast<JPEGErrorManager*>(info->err);
	longjmp(error->jump, 1);
}


static void
jpeg_emit_message(j_common_ptr info, int level)
{
	// Warnings are counted, nothing is printed.
	if (level < 0)
		info->err->num_warnings++;
}


static void
jpeg_output_message(j_common_ptr info)
{
	(void)info;
}


static void
jpeg_watch_progress(j_common_ptr info)
{
	j_decompress_ptr decompress = reinterpret_cast<j_decompress_ptr>(info);
	if (decompress->input_scan_number > kMaxScans)
		jpeg_error_exit(info);
}


static void
source_init(j_decompress_ptr info)
{
	(void)info;
}


// At the end of the data, an end-of-image marker is made up, as libjpeg expects; the
// decoder then notes that the image was cut short.
static boolean
source_fill(j_decompress_ptr info)
{
	JPEGSourceManager* source = reinterpret_cast<JPEGSourceManager*>(info->src);
	ssize_t length = source->source->Read(source->buffer, kInputBufferSize);
	if (length <= 0) {
		source->reachedEnd = true;
		source->buffer[0] = (JOCTET)0xff;
		source->buffer[1] = (JOCTET)JPEG_EOI;
		length = 2;
	}
	source->manager.next_input_byte = source->buffer;
	source->manager.bytes_in_buffer = (size_t)length;
	return TRUE;
}


static void
source_skip(j_decompress_ptr info, long count)
{
	JPEGSourceManager* source = reinterpret_cast<JPEGSourceManager*>(info->src);
	if (count <= 0)
		return;
	while ((size_t)count > source->manager.bytes_in_buffer) {
		count -= (long)source->manager.bytes_in_buffer;
		source_fill(info);
		if (source->reachedEnd)
			return;
	}
	source->manager.next_input_byte += count;
	source->manager.bytes_in_buffer -= (size_t)count;
}


static void
source_term(j_decompress_ptr info)
{
	(void)info;
}


// CMYK as Adobe's programs write it (inverted) or plain, into B, G, R, A in place.
static void
convert_cmyk_row(uint8* row, int32 width, bool inverted)
{
	for (int32 x = 0; x < width; x++, row += 4) {
		uint32 c = row[0];
		uint32 m = row[1];
		uint32 y = row[2];
		uint32 k = row[3];
		if (!inverted) {
			c = 255 - c;
			m = 255 - m;
			y = 255 - y;
			k = 255 - k;
		}
		row[0] = (uint8)(y * k / 255);
		row[1] = (uint8)(m * k / 255);
		row[2] = (uint8)(c * k / 255);
		row[3] = 255;
	}
}


// Decodes the JPEG image of the source into context->bits as B_RGBA32 rows.
static status_t
decode_jpeg(JPEGContext* context)
{
	j_decompress_ptr info = &context->info;
	if (setjmp(context->error.jump) != 0)
		return B_ILLEGAL_DATA;

	jpeg_create_decompress(info);
	info->mem->max_memory_to_use = kMaxMemory;
	info->src = &context->source.manager;
	info->progress = &context->progress;

	if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
		return B_ILLEGAL_DATA;
	if (!image_size_allowed(info->image_width, info->image_height))
		return B_ILLEGAL_DATA;

	bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
	info->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
	jpeg_start_decompress(info);
	if (info->output_components != 4 || info->output_width != info->image_width
		|| info->output_height != info->image_height)
		return B_ILLEGAL_DATA;

	size_t rowBytes = (size_t)info->output_width * 4;
	context->bits = static_cast<uint8*>(malloc(rowBytes * info->output_height));
	if (context->bits == NULL)
		return B_NO_MEMORY;

	while (info->output_scanline < info->output_height) {
		JSAMPROW row = context->bits + rowBytes * info->output_scanline;
		if (jpeg_read_scanlines(info, &row, 1) != 1)
			return B_ILLEGAL_DATA;
		if (cmyk)
			convert_cmyk_row(row, (int32)info->output_width, info->saw_Adobe_marker);
	}
	jpeg_finish_decompress(info);

	// An image whose data ran out before its pixels did is refused; one that lacks no
	// more than its end marker is not.
	if (context->source.reachedEnd && context->error.manager.num_warnings > 0)
		return B_ILLEGAL_DATA;

	context->width = (int32)info->output_width;
	context->height = (int32)info->output_height;
	return B_OK;
}


static status_t
translate_jpeg_to_bitmap(BPositionIO* source, BPositionIO* destination)
{
	JPEGContext* context = new (std::nothrow) JPEGContext;
	if (context == NULL)
		return B_NO_MEMORY;
	memset(context, 0, sizeof(*context));

	context->info.err = jpeg_std_error(&context->error.manager);
	context->error.manager.error_exit = jpeg_error_exit;
	context->error.manager.emit_message = jpeg_emit_message;
	context->error.manager.output_message = jpeg_output_message;

	context->source.source = source;
	context->source.manager.init_source = source_init;
	context->source.manager.fill_input_buffer = source_fill;
	context->source.manager.skip_input_data = source_skip;
	context->source.manager.resync_to_restart = jpeg_resync_to_restart;
	context->source.manager.term_source = source_term;

	context->progress.progress_monitor = jpeg_watch_progress;

	status_t status = decode_jpeg(context);
	jpeg_destroy_decompress(&context->info);
	if (status == B_OK)
		status = write_rgba32_bitmap(destination, context->bits, context->width, context->height);

	free(context->bits);
	delete context;
	return status;
}


class JPEGTranslator : public ImageReaderTranslator {
public:
	JPEGTranslator()
		: ImageReaderTranslator("JPEG images", "JPEG image translator (libjpeg)", kInputFormats,
			sizeof(kInputFormats) / sizeof(kInputFormats[0]), kOutputFormats,
			sizeof(kOutputFormats) / sizeof(kOutputFormats[0]))
	{ }

protected:
	// A JPEG stream starts with the start-of-image marker and another marker.
	virtual bool
	IsFormat(BPositionIO* source) const
	{
		uint8 start[3];
		return read_exactly(source, start, sizeof(start)) && start[0] == 0xff && start[1] == 0xd8
			&& start[2] == 0xff;
	}

	virtual status_t
	Decode(BPositionIO* source, BPositionIO* destination) const
	{
		return translate_jpeg_to_bitmap(source, destination);
	}
};


BuiltinTranslator*
create_jpeg_translator()
{
	return new (std::nothrow) JPEGTranslator;
}


}
