/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// Throughput of the content pipeline on a generated 2 MB page: each cleaning pass alone on
// what it gets in the program, the three passes together as a download runs them, and the
// extraction of 20 labels from the cleaned page.
//
//	bench_pipeline [benchmark options]
//	bench_pipeline --write-page FILE [BYTES]	writes the generated page (2 MB) and quits
//	bench_pipeline --clean FILE	runs the three passes on FILE, as a download does, and quits
//	bench_pipeline --extract-once LABELS FILE	times one extraction from FILE (on standard error)
//
// The settings store and the passes talk on standard output; that goes to /dev/null while
// the benchmark's report goes to the real standard output.


#include <benchmark/benchmark.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "BenchHome.h"
#include "BenchPage.h"
#include "wg_Prefs.h"
#include "wg_Tools.h"


static const size_t kPageSize = 2 * 1024 * 1024;


//	#pragma mark - the place to run in


// A private home: every folder find_directory() answers lies in one temporary folder.
static std::string sRoot;
static std::string sPagePath;

// The page as each pass gets it in the program: generated, after the line breaks, after the
// replacements, and cleaned.
static std::string sStage[4];


static bool
make_root()
{
	sRoot = MakeBenchHome();
	if (sRoot.empty())
		return false;
	sPagePath = sRoot + "/page.html";
	return true;
}


static bool
write_file(const std::string& path, const std::string& contents)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << contents;
	return out.good();
}


static std::string
read_file(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream contents;
	contents << in.rdbuf();
	return contents.str();
}


static double
seconds_since(std::chrono::steady_clock::time_point start)
{
	return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}


// Writes the benchmark's report to a saved descriptor of the real standard output.
class DescriptorBuffer : public std::streambuf {
public:
	explicit DescriptorBuffer(int fd) : fFD(fd) { }

protected:
	int_type
	overflow(int_type c) override
	{
		if (c == traits_type::eof())
			return traits_type::not_eof(c);
		char byte = (char)c;
		return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
	}

	std::streamsize
	xsputn(const char* data, std::streamsize size) override
	{
		std::streamsize done = 0;
		while (done < size) {
			ssize_t written = write(fFD, data + done, size - done);
			if (written <= 0)
				return done;
			done += written;
		}
		return done;
	}

private:
	int fFD;
};


//	#pragma mark - benchmarks


// Runs `pass` on a fresh copy of `input` per iteration; only the pass is timed.
static void
run_pass(benchmark::State& state, const std::string& input, void (*pass)(const char*))
{
	for (auto _ : state) {
		if (!write_file(sPagePath, input)) {
			state.SkipWithError("cannot write the page");
			break;
		}
		auto start = std::chrono::steady_clock::now();
		pass(sPagePath.c_str());
		state.SetIterationTime(seconds_since(start));
	}
	state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)input.size());
}


static void
BM_AddBreaksInFile(benchmark::State& state)
{
	run_pass(state, sStage[0], AddBreaksInFile);
}
BENCHMARK(BM_AddBreaksInFile)->UseManualTime()->Unit(benchmark::kMillisecond);


// Includes the 5 ms pause that the pass takes after its work.
static void
BM_ReplaceCriticals(benchmark::State& state)
{
	run_pass(state, sStage[1], ReplaceCriticals);
}
BENCHMARK(BM_ReplaceCriticals)->UseManualTime()->Unit(benchmark::kMillisecond);


static void
BM_TagCounter(benchmark::State& state)
{
	run_pass(state, sStage[2], TagCounter);
}
BENCHMARK(BM_TagCounter)->UseManualTime()->Unit(benchmark::kMillisecond);


static void
clean_page(const char* path)
{
	AddBreaksInFile(path);
	ReplaceCriticals(path);
	TagCounter(path);
}


static void
BM_AllThreePasses(benchmark::State& state)
{
	run_pass(state, sStage[0], clean_page);
}
BENCHMARK(BM_AllThreePasses)->UseManualTime()->Unit(benchmark::kMillisecond);


static void
BM_AllThreePasses20K(benchmark::State& state)
{
	static const std::string sSmallPage = GeneratePage(20 * 1024);
	run_pass(state, sSmallPage, clean_page);
}
BENCHMARK(BM_AllThreePasses20K)->UseManualTime()->Unit(benchmark::kMillisecond);


static void
empty_list(BList& list)
{
	for (int32 i = list.CountItems() - 1; i >= 0; i--)
		delete (BString*)list.ItemAt(i);
	list.MakeEmpty();
}


// The labels and patterns of the extraction: the page's 20 first, then labels whose patterns
// the page does not hold, so that the whole page is read.
static void
make_labels(int32 count, BList& patterns, BList& labels)
{
	for (int32 i = 0; i < count; i++) {
		if (i < kLabelCount) {
			patterns.AddItem(new BString(kPairs[i].pattern));
			labels.AddItem(new BString(kPairs[i].label));
		} else {
			BString pattern;
			pattern.SetToFormat("id=\"absent%d\">", (int)i);
			patterns.AddItem(new BString(pattern));
			BString label;
			label.SetToFormat("Label %d", (int)i);
			labels.AddItem(new BString(label));
		}
	}
}


// One extraction, the first of a new process, which meets cold memory and caches: this
// program runs again with --extract-once and reports the time on standard error.
static double
first_call_milliseconds(int32 labelCount)
{
	char program[4096];
	ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
	if (length <= 0)
		return -1;
	program[length] = '\0';
	std::string command = std::string(ShellQuoted(program).String()) + " --extract-once "
		+ std::to_string(labelCount) + " " + ShellQuoted(sPagePath.c_str()).String()
		+ " 2>&1 >/dev/null";
	FILE* child = popen(command.c_str(), "r");
	if (child == NULL)
		return -1;
	double milliseconds = -1;
	if (fscanf(child, "%lf", &milliseconds) != 1)
		milliseconds = -1;
	pclose(child);
	return milliseconds;
}


static int
extract_once(int32 labelCount, const char* path)
{
	if (!make_root() || freopen("/dev/null", "w", stdout) == NULL)
		return 1;
	Prefs::getSTPrefs();
	BList patterns;
	BList labels;
	BList values;
	make_labels(labelCount, patterns, labels);
	for (int32 i = 0; i < labelCount; i++)
		values.AddItem(new BString(""));
	auto start = std::chrono::steady_clock::now();
	ExtractContent(path, &patterns, &labels, &values);
	fprintf(stderr, "%f\n", seconds_since(start) * 1000);
	Prefs::getSTPrefs()->DeleteMe();
	return 0;
}


// The extraction only reads the cleaned page, so the page is written once. Every iteration
// starts with empty values, as a new download does, and a new log book, so that the log
// book's growth is not measured. The argument is the number of labels: beyond the page's
// 20, labels whose patterns the page does not hold, so that the whole page is read.
static void
BM_ExtractContent(benchmark::State& state)
{
	// The first extraction of a new process, with each number of labels.
	static std::map<int32, double> sFirstCall;
	const int32 labelCount = (int32)state.range(0);
	if (!write_file(sPagePath, sStage[3])) {
		state.SkipWithError("cannot write the page");
		return;
	}
	Prefs* prefs = Prefs::getSTPrefs();

	BList patterns;
	BList labels;
	BList values;
	make_labels(labelCount, patterns, labels);

	if (sFirstCall.find(labelCount) == sFirstCall.end())
		sFirstCall[labelCount] = first_call_milliseconds(labelCount);
	state.counters["first_ms"] = sFirstCall[labelCount];

	int32 found = 0;
	for (auto _ : state) {
		empty_list(values);
		for (int32 i = 0; i < labelCount; i++)
			values.AddItem(new BString(""));
		prefs->Logbuch(1, NULL, "bench", true, true);

		auto start = std::chrono::steady_clock::now();
		ExtractContent(sPagePath.c_str(), &patterns, &labels, &values);
		state.SetIterationTime(seconds_since(start));

		found = 0;
		for (int32 i = 0; i < labelCount; i++)
			found += ((BString*)values.ItemAt(i))->Length() > 0 ? 1 : 0;
	}
	state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)sStage[3].size());
	state.counters["found"] = found;

	empty_list(values);
	empty_list(patterns);
	empty_list(labels);
}
BENCHMARK(BM_ExtractContent)->Arg(20)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);


//	#pragma mark -


// The page after each pass, made once before the benchmarks run.
static bool
prepare_stages()
{
	sStage[0] = GeneratePage(kPageSize);
	void (*passes[3])(const char*) = {AddBreaksInFile, ReplaceCriticals, TagCounter};
	if (!write_file(sPagePath, sStage[0]))
		return false;
	for (int32 i = 0; i < 3; i++) {
		passes[i](sPagePath.c_str());
		sStage[i + 1] = read_file(sPagePath);
	}
	return !sStage[3].empty();
}


int
main(int argc, char** argv)
{
	if ((argc == 3 || argc == 4) && strcmp(argv[1], "--write-page") == 0) {
		size_t size = argc == 4 ? strtoul(argv[3], NULL, 10) : kPageSize;
		if (!write_file(argv[2], GeneratePage(size))) {
			fprintf(stderr, "cannot write %s\n", argv[2]);
			return 1;
		}
		return 0;
	}

	if (argc == 4 && strcmp(argv[1], "--extract-once") == 0)
		return extract_once((int32)atoi(argv[2]), argv[3]);

	// The three passes as a whole process, for a comparison with other programs: the
	// settings store is made as at the program's start, in a private home.
	if (argc == 3 && strcmp(argv[1], "--clean") == 0)
		return CleanAsADownload(argv[2]);

	benchmark::Initialize(&argc, argv);
	if (benchmark::ReportUnrecognizedArguments(argc, argv))
		return 1;

	if (!make_root()) {
		fprintf(stderr, "cannot make a temporary folder\n");
		return 1;
	}

	// From here on the program's own output goes nowhere and the report to the real
	// standard output.
	fflush(stdout);
	int reportFD = dup(STDOUT_FILENO);
	if (reportFD < 0 || freopen("/dev/null", "w", stdout) == NULL) {
		fprintf(stderr, "cannot silence standard output\n");
		return 1;
	}
	DescriptorBuffer reportBuffer(reportFD);
	std::streambuf* previous = std::cout.rdbuf(&reportBuffer);

	Prefs::getSTPrefs();
	int result = 0;
	if (!prepare_stages()) {
		std::cerr << "cannot prepare the page in " << sRoot << std::endl;
		result = 1;
	} else {
		benchmark::RunSpecifiedBenchmarks();
		std::cout.flush();
	}

	Prefs::getSTPrefs()->DeleteMe();
	benchmark::Shutdown();
	std::cout.rdbuf(previous);
	close(reportFD);
	return result;
}
