#include "letterweights.h"

#include "dictionary/letterstext.h"
#include "dictionary/narrowpath.h"
#include "random.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <numeric>
#include <system_error>

namespace {

uint64_t Total(const std::array<uint32_t, LetterWeights::kLetters>& weights) {
    return std::accumulate(weights.begin(), weights.end(), uint64_t{0});
}

} // namespace

LetterWeights::LetterWeights() : LetterWeights(BuiltIn()) {
}

const LetterWeights& LetterWeights::BuiltIn() {
    static const LetterWeights table(kLetterWeights);
    return table;
}

LetterWeights::LetterWeights(const std::array<uint32_t, kLetters>& weights) : weights_(weights) {
    const uint64_t total = Total(weights_);
    drawWeights_ = weights_;
    if (total > static_cast<uint64_t>(kDrawScale)) {
        for (uint32_t& w : drawWeights_) {
            if (w != 0) {
                // Rounded to the nearest, and never to 0: a letter the table draws stays drawn.
                const uint64_t scaled = (uint64_t{w} * kDrawScale + total / 2) / total;
                w = static_cast<uint32_t>(std::max<uint64_t>(scaled, 1));
            }
        }
    }
    drawTotal_ = static_cast<int32_t>(Total(drawWeights_));

    const uint32_t most = *std::max_element(weights_.begin(), weights_.end());
    // The factor puts the commonest letter just above 1.5, so it rounds to 2: no tile is worth
    // less than 2, and a one-letter chain never scores the "nothing selected" 1.
    const double k = most * 2.250001;
    // No letter counts as rarer than the built-in table's rarest is beside its commonest (Q,
    // worth 9). A language's own list holds letters it hardly writes (a J in a few loan words),
    // which the square root alone would make worth hundreds: one such tile would outweigh whole
    // games, a life coming every 2000 points. They stay as rare as the list says.
    const double rarest = std::max(1.0, most / kBuiltInSpread);
    for (size_t i = 0; i < values_.size(); ++i) {
        const double q = k / std::max<double>(weights_[i], rarest);
        values_[i] = static_cast<int32_t>(std::sqrt(q) + 0.5);
    }
}

std::optional<LetterWeights> LetterWeights::Make(const std::array<uint32_t, kLetters>& weights) {
    const uint64_t total = Total(weights);
    // The total is what a draw counts in; it must be a number the generator can reach.
    if (total == 0 || total > static_cast<uint64_t>(Random::kMax)) {
        return std::nullopt;
    }
    return LetterWeights(weights);
}

uint32_t LetterWeights::Weight(int index) const {
    return index >= 0 && index < kLetters ? weights_[static_cast<size_t>(index)] : 0;
}

int32_t LetterWeights::Value(int index) const {
    return index >= 0 && index < kLetters ? values_[static_cast<size_t>(index)] : 0;
}

uint32_t LetterWeights::DrawWeight(int index) const {
    return index >= 0 && index < kLetters ? drawWeights_[static_cast<size_t>(index)] : 0;
}

std::optional<LetterWeights> ParseLetterWeights(std::string_view text) {
    const std::optional<LetterWeightTable> table = ParseLetterWeightsText(text);
    return table ? LetterWeights::Make(*table) : std::nullopt;
}

LetterWeightsFile ReadLetterWeightsFile(const std::filesystem::path& file) {
    LetterWeightsFile result;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return result;
    }
    result.state = LetterWeightsFile::State::Damaged;
    // Opening a pipe or a device could wait for ever; a folder reads as nothing.
    if (error || status.type() != std::filesystem::file_type::regular) {
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    // One byte past the limit tells an over-long file from one exactly at it.
    std::string text(kMaxLetterWeightsFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad() || !in.is_open()) {
        return result;
    }
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxLetterWeightsFileBytes) {
        return result;
    }
    if (const std::optional<LetterWeights> weights = ParseLetterWeights(text)) {
        result.state = LetterWeightsFile::State::Read;
        result.weights = *weights;
    }
    return result;
}

LetterWeights LetterWeightsForDictionary(const std::string& dictionaryPath) {
    const LetterWeightsFile read =
        ReadLetterWeightsFile(NarrowFileName(LetterWeightsPath(dictionaryPath)));
    if (read.state == LetterWeightsFile::State::Damaged) {
        // The dictionary still plays, only with English letter frequencies; not worth stopping
        // the player for, but whoever made the file should find out why it is not used.
        // The dictionary's own narrow name: a path's conversion back to narrow text can fail.
        std::cerr << "Pellinoraxis: the .letters file beside " << dictionaryPath
                  << " is not a table of 26 letter weights; the built-in English one is used\n";
    }
    return read.weights;
}
