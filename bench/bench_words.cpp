// How fast the word index loads each shipped dictionary, against reading the same words from a
// plain text file into a hash set, and how long one lookup takes; how long the prefix index built
// with it takes and how much memory it holds beside the buckets.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "dictionary/inputengine.h"
#include "dictionary/tsdictionary.h"
#include "words.h"

namespace {

struct Corpus {
    std::string dictionary;
    std::string textFile;             // the same words, one display text a line
    std::vector<std::string> present; // word texts the index holds
    std::vector<std::string> absent;  // near misses it does not hold
};

std::string DictionaryPath(const std::string& name) {
    return std::string(PELLIN_SOURCE_DIR) + "/data/" + name + ".tsd";
}

// The words the index would hold, read once through the reader and written to a text file.
Corpus MakeCorpus(const std::string& name) {
    Corpus corpus;
    corpus.dictionary = DictionaryPath(name);
    corpus.textFile =
        (std::filesystem::temp_directory_path() / ("pellin-bench-" + name + ".txt")).string();
    std::ofstream out(corpus.textFile, std::ios::binary | std::ios::trunc);
    TSDictionaryList list(corpus.dictionary, false);
    if (list.FirstInvalid() == nullptr) {
        InputEngine cursor(list, 0);
        for (int L = 2; L <= 31; ++L) {
            if (!cursor.Start(L)) {
                continue;
            }
            for (const uint8_t* key = cursor.Next(); key[0] != InputEngine::kEndKey;
                 key = cursor.Next()) {
                if (std::strchr(cursor.Text(), ' ') != nullptr) {
                    continue;
                }
                std::string word;
                for (int i = 0; i < L; ++i) {
                    word += list.IndexLetter(0, key[i]);
                }
                corpus.present.push_back(word);
                out << cursor.Text() << '\n';
            }
        }
    }
    std::unordered_set<std::string> all(corpus.present.begin(), corpus.present.end());
    for (std::string word : corpus.present) {
        word.back() = word.back() == 'Z' ? 'Q' : static_cast<char>(word.back() + 1);
        if (all.count(word) == 0) {
            corpus.absent.push_back(word);
        }
    }
    return corpus;
}

// The shipped dictionaries: the two English ones first, which every benchmark reads, then the
// other languages, whose loading is measured beside them.
constexpr const char* kDictionaries[] = {"Evaluation", "English",   "French",     "German",
                                         "Spanish",    "Italian",   "Portuguese", "Dutch",
                                         "Swedish",    "Norwegian", "Danish",     "Catalan"};
constexpr int kDictionaryCount = static_cast<int>(std::size(kDictionaries));

const char* Name(int which) {
    return kDictionaries[which];
}

// Made on first use, so a run filtered to some benchmarks reads no other dictionary.
const Corpus& Get(int which) {
    static std::unique_ptr<Corpus> corpora[kDictionaryCount];
    if (!corpora[which]) {
        corpora[which] = std::make_unique<Corpus>(MakeCorpus(Name(which)));
    }
    return *corpora[which];
}

void BM_WordsLoad(benchmark::State& state) {
    const std::string path = DictionaryPath(Name(static_cast<int>(state.range(0))));
    auto words = std::make_unique<Words>();
    for (auto _ : state) {
        words->Load(path);
        benchmark::DoNotOptimize(words->WordCount());
    }
    state.SetLabel(Name(static_cast<int>(state.range(0))));
    state.counters["words"] = static_cast<double>(words->WordCount());
    state.counters["file bytes"] =
        benchmark::Counter(static_cast<double>(std::filesystem::file_size(path)),
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(words->WordCount()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bucket bytes"] =
        benchmark::Counter(static_cast<double>(words->BucketMemoryBytes()),
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
    state.counters["prefix bytes"] =
        benchmark::Counter(static_cast<double>(words->PrefixMemoryBytes()),
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

// The prefix index alone, from the words Load gives it: its share of BM_WordsLoad.
void BM_PrefixBuild(benchmark::State& state) {
    const Corpus& corpus = Get(static_cast<int>(state.range(0)));
    PrefixIndex prefixes;
    for (auto _ : state) {
        for (const std::string& word : corpus.present) {
            prefixes.Add(word);
        }
        prefixes.Build();
        benchmark::DoNotOptimize(prefixes.NodeCount());
    }
    state.SetLabel(Name(static_cast<int>(state.range(0))));
    state.counters["nodes"] = static_cast<double>(prefixes.NodeCount());
    state.counters["prefix bytes"] =
        benchmark::Counter(static_cast<double>(prefixes.MemoryBytes()),
                           benchmark::Counter::kDefaults, benchmark::Counter::kIs1024);
}

// The yardstick: the same words from a text file into the standard hash set.
void BM_TextFileIntoUnorderedSet(benchmark::State& state) {
    const Corpus& corpus = Get(static_cast<int>(state.range(0)));
    std::size_t count = 0;
    for (auto _ : state) {
        std::unordered_set<std::string> set;
        std::ifstream in(corpus.textFile, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            set.insert(line);
        }
        count = set.size();
        benchmark::DoNotOptimize(count);
    }
    state.SetLabel(Name(static_cast<int>(state.range(0))));
    state.counters["words"] = static_cast<double>(count);
    state.counters["words/s"] = benchmark::Counter(static_cast<double>(count),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void Lookups(benchmark::State& state, bool present) {
    const Corpus& corpus = Get(static_cast<int>(state.range(0)));
    const std::vector<std::string>& probes = present ? corpus.present : corpus.absent;
    auto words = std::make_unique<Words>();
    words->Load(corpus.dictionary);
    std::size_t i = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const std::string text = words->Lookup(probes[i]);
        found += text.empty() ? 0 : 1;
        benchmark::DoNotOptimize(text.data());
        if (++i == probes.size()) {
            i = 0;
        }
    }
    state.SetLabel(Name(static_cast<int>(state.range(0))));
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

void BM_LookupPresent(benchmark::State& state) {
    Lookups(state, true);
}

void BM_LookupAbsent(benchmark::State& state) {
    Lookups(state, false);
}

// A prefix check as the solver makes it letter by letter, here for a whole near miss at once.
void BM_IsPrefixAbsent(benchmark::State& state) {
    const Corpus& corpus = Get(static_cast<int>(state.range(0)));
    auto words = std::make_unique<Words>();
    words->Load(corpus.dictionary);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(words->IsPrefix(corpus.absent[i]));
        if (++i == corpus.absent.size()) {
            i = 0;
        }
    }
    state.SetLabel(Name(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_WordsLoad)->DenseRange(0, kDictionaryCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixBuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextFileIntoUnorderedSet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookupPresent)->Arg(0)->Arg(1);
BENCHMARK(BM_LookupAbsent)->Arg(0)->Arg(1);
BENCHMARK(BM_IsPrefixAbsent)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();
