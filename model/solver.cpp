#include "solver.h"

#include "score.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <utility>

namespace {

// An occupied chip, numbered in cell order (row by row, slot by slot), so that comparing tile
// numbers compares (row, slot).
struct Tile {
    Chip* chip = nullptr;
    std::string_view letter;
    int32_t value = 0;
    int32_t neighbourCount = 0;
    std::array<int32_t, 6> neighbours{}; // occupied neighbours, in increasing tile number
};

std::vector<Tile> GatherTiles(Board& board) {
    const int64_t rows = board.RowCount();
    const int64_t slots = board.SlotCount();
    std::vector<int32_t> number(static_cast<std::size_t>(rows * slots), -1);
    std::vector<Tile> tiles;
    for (int64_t r = 0; r < rows; ++r) {
        for (int64_t s = 0; s < slots; ++s) {
            Chip* chip = board.CellAt(static_cast<int32_t>(r), static_cast<int32_t>(s));
            if (chip->IsOccupied()) {
                number[static_cast<std::size_t>(r * slots + s)] =
                    static_cast<int32_t>(tiles.size());
                tiles.push_back(Tile{chip, chip->Letter(), chip->Value()});
            }
        }
    }
    for (Tile& tile : tiles) {
        // In increasing cell order, so a search meets chains in increasing sequence order.
        for (const auto& [dr, ds] : Board::kNeighbourSteps) {
            const int64_t r = tile.chip->Row() + dr;
            const int64_t s = tile.chip->Slot() + ds;
            if (r < 0 || r >= rows || s < 0 || s >= slots) {
                continue;
            }
            const int32_t n = number[static_cast<std::size_t>(r * slots + s)];
            if (n >= 0) {
                tile.neighbours[static_cast<std::size_t>(tile.neighbourCount++)] = n;
            }
        }
    }
    return tiles;
}

// True when chain a ranks before chain b: higher score, then fewer tiles, then the smaller
// sequence of tile numbers.
bool Ranks(int32_t scoreA, const int32_t* a, std::size_t lengthA, int32_t scoreB, const int32_t* b,
           std::size_t lengthB) {
    if (scoreA != scoreB) {
        return scoreA > scoreB;
    }
    if (lengthA != lengthB) {
        return lengthA < lengthB;
    }
    return std::lexicographical_compare(a, a + lengthA, b, b + lengthB);
}

std::vector<Chip*> Chips(const std::vector<Tile>& tiles, const int32_t* chain, std::size_t length) {
    std::vector<Chip*> chips;
    chips.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        chips.push_back(tiles[static_cast<std::size_t>(chain[i])].chip);
    }
    return chips;
}

// Walks every chain the prefix index allows and keeps, per word, the best chain that spells it.
class WordSearch {
public:
    struct Found {
        int32_t score;
        uint32_t length;    // tiles
        std::size_t offset; // of the chain in the pool
    };

    WordSearch(const PrefixIndex& prefixes, const std::vector<Tile>& tiles)
        : prefixes_(prefixes), tiles_(tiles), used_(tiles.size(), 0) {}

    void Run() {
        for (std::size_t t = 0; t < tiles_.size(); ++t) {
            Visit(static_cast<int32_t>(t), PrefixIndex::kRoot, 1, 0);
        }
    }

    // The words found, best chain first.
    std::vector<Found> Ranked() const {
        std::vector<Found> ranked = found_;
        std::sort(ranked.begin(), ranked.end(), [this](const Found& a, const Found& b) {
            return Ranks(a.score, &pool_[a.offset], a.length, b.score, &pool_[b.offset], b.length);
        });
        return ranked;
    }

    SolvedWord Make(const Found& found) const {
        SolvedWord word;
        word.score = found.score;
        word.chain = Chips(tiles_, &pool_[found.offset], found.length);
        for (const Chip* chip : word.chain) {
            word.key += chip->Letter();
        }
        return word;
    }

private:
    void Visit(int32_t t, PrefixIndex::Node node, int64_t product, std::size_t letters) {
        if (steps_ == 0) {
            return;
        }
        --steps_;
        const Tile& tile = tiles_[static_cast<std::size_t>(t)];
        for (const char c : tile.letter) {
            node = prefixes_.Child(node, c);
            if (node == PrefixIndex::kNoNode) {
                return;
            }
        }
        letters += tile.letter.size();
        if (letters > static_cast<std::size_t>(Words::kLongestWord)) {
            return;
        }
        // Every tile gives at least one letter, so the chain never outgrows the path.
        product = SaturateScore(product * tile.value);
        path_[depth_++] = t;
        used_[static_cast<std::size_t>(t)] = 1;
        if (letters >= static_cast<std::size_t>(Words::kShortestWord) && prefixes_.IsWord(node)) {
            Record(node, ChainScore(product));
        }
        if (prefixes_.HasChildren(node)) {
            for (int32_t i = 0; i < tile.neighbourCount; ++i) {
                const int32_t next = tile.neighbours[static_cast<std::size_t>(i)];
                if (used_[static_cast<std::size_t>(next)] == 0) {
                    Visit(next, node, product, letters);
                }
            }
        }
        used_[static_cast<std::size_t>(t)] = 0;
        --depth_;
    }

    // A word is its end node in the prefix index.
    void Record(PrefixIndex::Node node, int32_t score) {
        const auto [entry, added] = byNode_.try_emplace(node, found_.size());
        if (added) {
            found_.push_back(Found{score, depth_, pool_.size()});
            pool_.insert(pool_.end(), path_.begin(), path_.begin() + depth_);
            return;
        }
        Found& found = found_[entry->second];
        if (!Ranks(score, path_.data(), depth_, found.score, &pool_[found.offset], found.length)) {
            return;
        }
        if (depth_ > found.length) {
            found.offset = pool_.size();
            pool_.resize(pool_.size() + depth_);
        }
        std::copy(path_.begin(), path_.begin() + depth_, pool_.begin() + found.offset);
        found.score = score;
        found.length = depth_;
    }

    const PrefixIndex& prefixes_;
    const std::vector<Tile>& tiles_;
    std::vector<uint8_t> used_;
    std::array<int32_t, Words::kLongestWord> path_{};
    uint32_t depth_ = 0;
    std::vector<Found> found_;
    std::vector<int32_t> pool_;
    std::unordered_map<PrefixIndex::Node, std::size_t> byNode_;
    std::size_t steps_ = Solver::kSearchSteps;
};

// Walks the chains that spell one text, keeping the best `limit` of them.
//
// With many equal tiles a text can be spelt in more ways than could ever be listed, so once
// `limit` chains are kept the search drops every partial chain that cannot beat the worst of
// them: its score bound (its product times the best product the rest of the text allows) is
// lower, or equal with no fewer tiles. The search meets chains in increasing sequence order,
// so an equal later chain would lose the last tie anyway.
class ChainSearch {
public:
    ChainSearch(std::string_view letters, const std::vector<Tile>& tiles, std::size_t limit)
        : letters_(letters), tiles_(tiles), limit_(limit), used_(tiles.size(), 0) {
        PlanRest();
    }

    void Run() {
        for (std::size_t t = 0; t < tiles_.size(); ++t) {
            Visit(static_cast<int32_t>(t), 0, 1);
        }
    }

    std::vector<std::vector<Chip*>> Chains() const {
        std::vector<std::vector<Chip*>> chains;
        chains.reserve(kept_.size());
        for (const Kept& kept : kept_) {
            chains.push_back(Chips(tiles_, kept.chain.data(), kept.chain.size()));
        }
        return chains;
    }

private:
    struct Kept {
        int32_t score;
        std::vector<int32_t> chain;
    };

    // For each position of the text: whether the board's letters could spell the rest, ignoring
    // where the tiles lie, and if so the highest product and the fewest tiles they could do it
    // with.
    void PlanRest() {
        std::vector<std::pair<std::string_view, int32_t>> kinds; // letter text, highest value
        for (const Tile& tile : tiles_) {
            const auto same = std::find_if(kinds.begin(), kinds.end(),
                                           [&](const auto& k) { return k.first == tile.letter; });
            if (same == kinds.end()) {
                kinds.emplace_back(tile.letter, tile.value);
            } else {
                same->second = std::max(same->second, tile.value);
            }
            // A product bound holds only while no factor can shrink the product.
            bounded_ = bounded_ && tile.value >= 1;
        }
        const std::size_t n = letters_.size();
        reachable_.assign(n + 1, 0);
        bestRest_.assign(n + 1, 0);
        fewestRest_.assign(n + 1, 0);
        reachable_[n] = 1;
        bestRest_[n] = 1;
        for (std::size_t p = n; p-- > 0;) {
            for (const auto& [letter, value] : kinds) {
                const std::size_t next = p + letter.size();
                if (letters_.compare(p, letter.size(), letter) != 0 || next > n ||
                    reachable_[next] == 0) {
                    continue;
                }
                const int64_t product = SaturateScore(bestRest_[next] * value);
                const std::size_t tiles = 1 + fewestRest_[next];
                if (reachable_[p] == 0) {
                    reachable_[p] = 1;
                    bestRest_[p] = product;
                    fewestRest_[p] = tiles;
                } else {
                    bestRest_[p] = std::max(bestRest_[p], product);
                    fewestRest_[p] = std::min(fewestRest_[p], tiles);
                }
            }
        }
    }

    void Visit(int32_t t, std::size_t position, int64_t product) {
        if (steps_ == 0) {
            return;
        }
        --steps_;
        const Tile& tile = tiles_[static_cast<std::size_t>(t)];
        if (letters_.compare(position, tile.letter.size(), tile.letter) != 0 ||
            position + tile.letter.size() > letters_.size()) {
            return;
        }
        position += tile.letter.size();
        if (reachable_[position] == 0) {
            return;
        }
        product = SaturateScore(product * tile.value);
        path_.push_back(t);
        used_[static_cast<std::size_t>(t)] = 1;
        if (position == letters_.size()) {
            Record(ChainScore(product));
        } else if (!Hopeless(position, product)) {
            for (int32_t i = 0; i < tile.neighbourCount; ++i) {
                const int32_t next = tile.neighbours[static_cast<std::size_t>(i)];
                if (used_[static_cast<std::size_t>(next)] == 0) {
                    Visit(next, position, product);
                }
            }
        }
        used_[static_cast<std::size_t>(t)] = 0;
        path_.pop_back();
    }

    bool Hopeless(std::size_t position, int64_t product) const {
        if (!bounded_ || kept_.size() < limit_) {
            return false;
        }
        const Kept& worst = kept_.back();
        const int32_t bound = ChainScore(SaturateScore(product * bestRest_[position]));
        return bound < worst.score ||
               (bound == worst.score && path_.size() + fewestRest_[position] >= worst.chain.size());
    }

    void Record(int32_t score) {
        const auto before = [&](const Kept& kept) {
            return Ranks(score, path_.data(), path_.size(), kept.score, kept.chain.data(),
                         kept.chain.size());
        };
        const auto at = std::find_if(kept_.begin(), kept_.end(), before);
        if (kept_.size() >= limit_ && at == kept_.end()) {
            return;
        }
        kept_.insert(at, Kept{score, path_});
        if (kept_.size() > limit_) {
            kept_.pop_back();
        }
    }

    std::string_view letters_;
    const std::vector<Tile>& tiles_;
    std::size_t limit_;
    std::vector<uint8_t> used_;
    std::vector<int32_t> path_;
    bool bounded_ = true;
    std::vector<uint8_t> reachable_;
    std::vector<int64_t> bestRest_;
    std::vector<std::size_t> fewestRest_;
    std::vector<Kept> kept_; // best first
    std::size_t steps_ = Solver::kSearchSteps;
};

} // namespace

void Solver::ForEachWord(Board& board, const std::function<bool(SolvedWord&&)>& take) const {
    const std::vector<Tile> tiles = GatherTiles(board);
    WordSearch search(words_.Prefixes(), tiles);
    search.Run();
    for (const WordSearch::Found& found : search.Ranked()) {
        SolvedWord word = search.Make(found);
        // The prefix index knows the keys; a word is valid only with a display text, as the
        // player's selection is.
        word.display = words_.Lookup(word.key);
        if (!word.display.empty() && !take(std::move(word))) {
            return;
        }
    }
}

std::vector<SolvedWord> Solver::Solve(Board& board) const {
    std::vector<SolvedWord> words;
    ForEachWord(board, [&words](SolvedWord&& word) {
        words.push_back(std::move(word));
        return true;
    });
    return words;
}

std::optional<SolvedWord> Solver::BestWord(Board& board) const {
    std::optional<SolvedWord> best;
    ForEachWord(board, [&best](SolvedWord&& word) {
        best = std::move(word);
        return false;
    });
    return best;
}

std::vector<std::vector<Chip*>> Solver::ChainsFor(Board& board, std::string_view letters,
                                                  std::size_t limit) const {
    if (letters.empty() || limit == 0) {
        return {};
    }
    const std::vector<Tile> tiles = GatherTiles(board);
    ChainSearch search(letters, tiles, limit);
    search.Run();
    return search.Chains();
}
