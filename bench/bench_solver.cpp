// How long the search for words on a board takes with the English dictionary: every word of a
// full 12 x 9 board, every word of boards as a game leaves them (36 to 60 tiles), the best word
// alone, and the chains of a typed word.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "board.h"
#include "random.h"
#include "solver.h"
#include "words.h"

namespace {

constexpr int kBoards = 32;
constexpr int kFullBoard = 108;

const Words& English() {
    static const std::unique_ptr<Words> words = [] {
        auto loaded = std::make_unique<Words>();
        loaded->Load(std::string(PELLIN_SOURCE_DIR) + "/data/English.tsd");
        return loaded;
    }();
    return *words;
}

int Occupied(Board& board) {
    int n = 0;
    for (int32_t r = 0; r < static_cast<int32_t>(board.RowCount()); ++r) {
        for (int32_t s = 0; s < static_cast<int32_t>(board.SlotCount()); ++s) {
            n += board.CellAt(r, s)->IsOccupied() ? 1 : 0;
        }
    }
    return n;
}

// Full boards, or boards grown as in a game: the four filled rows it starts with, then tiles
// dropped into the top row and let fall until `tiles` lie on the board.
std::vector<std::unique_ptr<Board>> MakeBoards(int tiles) {
    Random::Seed(static_cast<uint32_t>(1000 + tiles));
    std::vector<std::unique_ptr<Board>> boards;
    for (int i = 0; i < kBoards; ++i) {
        auto board = std::make_unique<Board>(12, 9);
        if (tiles >= kFullBoard) {
            board->Fill(12);
        } else {
            board->Fill(4);
            std::vector<Chip*> changed;
            while (Occupied(*board) < tiles) {
                board->DropChip(changed);
                for (int step = 0; step < 12; ++step) {
                    board->Tumble(changed);
                }
                changed.clear();
            }
        }
        boards.push_back(std::move(board));
    }
    return boards;
}

void Label(benchmark::State& state, int tiles) {
    state.SetLabel(tiles >= kFullBoard ? "full board" : std::to_string(tiles) + " tiles");
}

void BM_Solve(benchmark::State& state) {
    const int tiles = static_cast<int>(state.range(0));
    const std::vector<std::unique_ptr<Board>> boards = MakeBoards(tiles);
    const Solver solver(English());
    std::size_t i = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<SolvedWord> words = solver.Solve(*boards[i]);
        found += words.size();
        benchmark::DoNotOptimize(words.data());
        i = (i + 1) % boards.size();
    }
    Label(state, tiles);
    state.counters["words"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

void BM_BestWord(benchmark::State& state) {
    const int tiles = static_cast<int>(state.range(0));
    const std::vector<std::unique_ptr<Board>> boards = MakeBoards(tiles);
    const Solver solver(English());
    std::size_t i = 0;
    double score = 0;
    for (auto _ : state) {
        const std::optional<SolvedWord> best = solver.BestWord(*boards[i]);
        score += best ? best->score : 0;
        benchmark::DoNotOptimize(best);
        i = (i + 1) % boards.size();
    }
    Label(state, tiles);
    state.counters["score"] = score / static_cast<double>(state.iterations());
}

// The chains of each board's best word, as when the player types it.
void BM_ChainsForTypedWord(benchmark::State& state) {
    const int tiles = static_cast<int>(state.range(0));
    const std::vector<std::unique_ptr<Board>> boards = MakeBoards(tiles);
    const Solver solver(English());
    std::vector<std::string> typed;
    for (const auto& board : boards) {
        const std::optional<SolvedWord> best = solver.BestWord(*board);
        typed.push_back(best ? best->key : "E");
    }
    std::size_t i = 0;
    std::size_t chains = 0;
    for (auto _ : state) {
        const auto found = solver.ChainsFor(*boards[i], typed[i]);
        chains += found.size();
        benchmark::DoNotOptimize(found.data());
        i = (i + 1) % boards.size();
    }
    Label(state, tiles);
    state.counters["chains"] =
        static_cast<double>(chains) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_Solve)->Arg(kFullBoard)->Arg(36)->Arg(48)->Arg(60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BestWord)->Arg(kFullBoard)->Arg(48)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChainsForTypedWord)->Arg(kFullBoard)->Arg(48)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
