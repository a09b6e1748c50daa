/*
 * Copyright 2026, Webgrazer developers. All rights reserved.
 * Distributed under the terms of the MIT License.
 */


// Records what the content pipeline makes of many pages, so that a faster pipeline can be
// compared byte for byte with the one before it:
//
//	bench_golden OUT_DIR [SEED_DIR]
//
// For the benchmark's 2 MB page, pages of other sizes, a few hundred random pages built
// from the bytes the passes and the extraction care about, and every fuzz seed in SEED_DIR
// (fuzz/seeds): the file after each pass, the tag counts, the extracted values, the log
// book and the tokenizers' pieces. The console trace goes to OUT_DIR/trace.txt. Compare
// two runs with "diff -r".


#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchPage.h"
#include "wg_Prefs.h"
#include "wg_Tools.h"


static std::string sRoot;
static std::string sOut;


static std::string
read_file(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::stringstream contents;
	contents << in.rdbuf();
	return contents.str();
}


static void
write_file(const std::string& path, const std::string& contents)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << contents;
}


static std::string
log_book()
{
	std::string log = read_file(sRoot + "/state/" WG_LOG_FILE);
	size_t firstLine = log.find('\n');
	return firstLine == std::string::npos ? log : log.substr(firstLine + 1);
}


class Random {
public:
	explicit Random(uint64_t seed) : fState(seed) { }

	uint32
	Below(uint32 limit)
	{
		fState ^= fState << 13;
		fState ^= fState >> 7;
		fState ^= fState << 17;
		return (uint32)(fState >> 16) % limit;
	}

private:
	uint64_t fState;
};


// Pieces of markup that the passes and the extraction react to, whole and cut short.
static const char* kTokens[] = {"&nbsp;", "<img", "<IMG", "&quot;", "&Uuml;", "&uuml;", "&Auml;",
	"&auml;", "&Ouml;", "&ouml;", "&szlig;", "&deg;;", "&deg;", "&copy;", "&euro;", "&lt;br /&gt;",
	"<br \\/>", " --", "   ", "  ", " ", "-", "--", "\xe4", "\xc4", "\xf6", "\xfc", "\xdc", "\xdf",
	"&#228;", "&#252;", "&#246;", "&#196;", "&#220;", "&#214;", "&#223;", "&", "&de", "&#22", ";",
	";d", "<", "<tr>", "</tr>", "<tr", "</t", "<di", "</f", "</sp", "<i", "<p", "<z", "<s", "<a",
	"\r", "\n", "\r\n", "\t", "<title>", "\"high\">", "/32x32/", "class=\"hi\">", "<end>", "end",
	"x", "ab", "\" alt=", "<b>", "</b>", "'", "\"", ">", "\\", "(", ")", "C.C", "0%", "&deg",
	"document.writeln", "#", "@", "\0", "\xc3\xa4", "\xc2\xb0 C", "Wetter", "<title>:0|"};
static const int32 kTokenCount = sizeof(kTokens) / sizeof(kTokens[0]);


static std::string
random_page(Random& random, size_t size)
{
	std::string page;
	while (page.size() < size) {
		uint32 pick = random.Below(20);
		if (pick == 0)
			page.append(2000 + random.Below(100), 'q');
		else if (pick == 1)
			page += (char)random.Below(256);
		else {
			const char* token = kTokens[random.Below(kTokenCount)];
			page.append(token, token[0] == '\0' ? 1 : strlen(token));
		}
	}
	return page;
}


static void
set_tags(bool tricky)
{
	static const char* kTricky[] = {"<t", "title", "<title>", "<end>", "e", "a", "aa", "</tr>",
		"<title>:", "|", "0", "&deg;", "\xc3\xa4", " ", "x"};
	Prefs* prefs = Prefs::getSTPrefs();
	prefs->GetTagList();
	if (!tricky)
		return;
	for (int32 i = 0; i < kTagCount; i++) {
		const char* tag = i < (int32)(sizeof(kTricky) / sizeof(kTricky[0])) ? kTricky[i] : "";
		strcpy(prefs->tagList[i].pattern, tag);
	}
}


static void
run_passes(const std::string& name, const std::string& page, bool tricky)
{
	std::string path = sRoot + "/page.html";
	write_file(path, page);
	set_tags(tricky);
	void (*passes[3])(const char*) = {AddBreaksInFile, ReplaceCriticals, TagCounter};
	std::string record;
	for (int32 i = 0; i < 3; i++) {
		printf("%s pass %d\n", name.c_str(), (int)i);
		passes[i](path.c_str());
		std::string result = read_file(path);
		record += "== pass " + std::to_string(i) + " " + std::to_string(result.size()) + "\n";
		record += result;
	}
	record += "\n== counts";
	for (int32 i = 0; i < kTagCount; i++)
		record += " " + std::to_string(Prefs::getSTPrefs()->tagList[i].count);
	write_file(sOut + "/" + name + ".passes", record);
}


static void
empty_list(BList& list)
{
	for (int32 i = list.CountItems() - 1; i >= 0; i--)
		delete (BString*)list.ItemAt(i);
	list.MakeEmpty();
}


static void
take_apart(std::string& record, int (*tokenizer)(const char*, char*), const char* text)
{
	std::vector<char> out(strlen(text) + 1);
	tokenizer("", out.data());
	while (tokenizer(text, out.data()) == 1)
		record += std::string("[") + out.data() + "]";
	record += "\n";
}


// Runs the extraction on `page` with the pairs; `flags` as in the extraction's fuzz target.
static void
run_extraction(const std::string& name, const std::string& page,
	const std::vector<std::string>& pairs, uint8 flags)
{
	std::string path = sRoot + "/page.html";
	write_file(path, page);

	BList patterns;
	BList labels;
	BList values;
	for (size_t i = 0; i + 1 < pairs.size(); i += 2) {
		labels.AddItem(new BString(pairs[i].c_str()));
		patterns.AddItem(new BString(pairs[i + 1].c_str()));
		values.AddItem(new BString((flags & 0x20) != 0 ? "old@value" : ""));
	}
	if ((flags & 0x08) != 0 && !values.IsEmpty())
		delete (BString*)values.RemoveItem(values.CountItems() - 1);
	if ((flags & 0x10) != 0 && !labels.IsEmpty())
		delete (BString*)labels.RemoveItem(labels.CountItems() - 1);

	Prefs* prefs = Prefs::getSTPrefs();
	prefs->opUseLog = true;
	prefs->Logbuch(1, NULL, "golden", true, true);
	prefs->opUseLog = (flags & 0x40) == 0;
	printf("%s extraction\n", name.c_str());
	ExtractContent(path.c_str(), &patterns, &labels, &values);
	prefs->opUseLog = true;

	std::string record;
	for (int32 i = 0; i < values.CountItems(); i++) {
		const char* value = ((BString*)values.ItemAt(i))->String();
		record += std::string("value ") + value + "\n";
		take_apart(record, TupExtract, value);
		take_apart(record, TxExtract, value);
	}
	record += "== log\n" + log_book();
	write_file(sOut + "/" + name + ".extract", record);

	empty_list(patterns);
	empty_list(labels);
	empty_list(values);
}


static void
run_extract_seed(const std::string& name, const std::string& data)
{
	if (data.empty())
		return;
	uint8 flags = (uint8)data[0];
	std::vector<std::string> strings;
	size_t next = 1;
	int32 wanted = ((flags & 7) + 1) * 2;
	while ((int32)strings.size() < wanted) {
		size_t stop = data.find('\0', next);
		if (stop == std::string::npos)
			break;
		strings.push_back(data.substr(next, stop - next));
		next = stop + 1;
	}
	if (strings.size() % 2 != 0)
		strings.pop_back();
	run_extraction(name, data.substr(next), strings, flags);
}


static int
remove_entry(const char* path, const struct stat*, int, struct FTW*)
{
	remove(path);
	return 0;
}


static void
remove_root()
{
	nftw(sRoot.c_str(), remove_entry, 16, FTW_DEPTH | FTW_PHYS);
}


int
main(int argc, char** argv)
{
	if (argc < 2) {
		fprintf(stderr, "usage: bench_golden OUT_DIR [SEED_DIR]\n");
		return 1;
	}
	sOut = argv[1];
	mkdir(sOut.c_str(), 0755);

	char root[] = "/tmp/wggolden.XXXXXX";
	if (mkdtemp(root) == NULL)
		return 1;
	sRoot = root;
	atexit(remove_root);
	const char* folders[]
		= {"home", "config", "state", "system", "system/bin", "apps", "apps/Webgrazer"};
	for (const char* folder : folders)
		mkdir((sRoot + "/" + folder).c_str(), 0755);
	setenv("HOME", (sRoot + "/home").c_str(), 1);
	setenv("XDG_CONFIG_HOME", (sRoot + "/config").c_str(), 1);
	setenv("XDG_STATE_HOME", (sRoot + "/state").c_str(), 1);
	setenv("HAIKU_SYSTEM_DIR", (sRoot + "/system").c_str(), 1);
	setenv("HAIKU_APPS_DIR", (sRoot + "/apps").c_str(), 1);
	if (freopen((sOut + "/trace.txt").c_str(), "w", stdout) == NULL)
		return 1;
	Prefs::getSTPrefs()->opUseLog = true;

	// The benchmark's page and its cleaned form with the benchmark's labels, and with 200.
	std::vector<std::string> pairs;
	for (const LabelPair& pair : kPairs) {
		pairs.push_back(pair.label);
		pairs.push_back(pair.pattern);
	}
	std::vector<std::string> many = pairs;
	for (int32 i = kLabelCount; i < 200; i++) {
		many.push_back("L" + std::to_string(i));
		many.push_back(i % 3 == 0 ? "class=\"k\">" : "id=\"x" + std::to_string(i) + "\">");
	}
	for (size_t size : {(size_t)2 * 1024 * 1024, (size_t)20000, (size_t)3000}) {
		std::string name = "bench" + std::to_string(size);
		run_passes(name, GeneratePage(size), false);
		std::string cleaned = read_file(sRoot + "/page.html");
		run_extraction(name + "-20", cleaned, pairs, 0);
		run_extraction(name + "-200", cleaned, many, 0);
	}

	// Random pages, with the default tags and with tags that overlap each other.
	Random random(0x601de2);
	for (int32 i = 0; i < 400; i++) {
		size_t size = i < 4 ? i * 700 : random.Below(i % 10 == 0 ? 40000 : 5000);
		std::string page = random_page(random, size);
		if (i % 7 == 0 && !page.empty() && page.back() != '\n')
			page += '\n';
		std::string name = "random" + std::to_string(i);
		run_passes(name, page, i % 2 == 1);
		std::vector<std::string> pairs;
		int32 pairCount = 1 + random.Below(8);
		for (int32 j = 0; j < pairCount * 2; j++) {
			std::string text = kTokens[random.Below(kTokenCount)];
			if (random.Below(2) == 0)
				text += kTokens[random.Below(kTokenCount)];
			pairs.push_back(text);
		}
		run_extraction(name + "-raw", page, pairs, (uint8)random.Below(128));
		run_extraction(name + "-clean", read_file(sRoot + "/page.html"), pairs, 0);
	}

	if (argc > 2) {
		for (const char* target : {"fuzz_passes", "fuzz_extract"}) {
			std::string folder = std::string(argv[2]) + "/" + target;
			DIR* dir = opendir(folder.c_str());
			if (dir == NULL)
				continue;
			while (struct dirent* entry = readdir(dir)) {
				if (entry->d_name[0] == '.')
					continue;
				std::string data = read_file(folder + "/" + entry->d_name);
				std::string name = std::string(target) + "-" + entry->d_name;
				if (strcmp(target, "fuzz_passes") == 0) {
					run_passes(name, data, false);
					run_passes(name + "-tricky", data, true);
				} else
					run_extract_seed(name, data);
			}
			closedir(dir);
		}
	}
	fflush(stdout);
	Prefs::getSTPrefs()->DeleteMe();
	return 0;
}
