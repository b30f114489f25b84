#include "bestwords.h"

#include <algorithm>
#include <iterator>

BestWordChange BestWords::Add(uint32_t score, const std::string& text, int32_t capacity) {
    const auto count = static_cast<int32_t>(lines_.size());
    int32_t d = 0;
    while (d < count) {
        if (scores_[d] < score) {
            break;
        }
        if (scores_[d] == score) {
            const auto found = std::find(lines_.begin(), lines_.end(), text);
            if (found != lines_.end()) {
                // The same text always carries the same score, so it lies in this group at or
                // after d. Entering it again lifts it to the top of the group; it is never listed
                // twice, not even when it already is the group's first line.
                const auto g = static_cast<int32_t>(std::distance(lines_.begin(), found));
                if (g > d) {
                    std::rotate(lines_.begin() + d, lines_.begin() + g, lines_.begin() + g + 1);
                    std::rotate(scores_.begin() + d, scores_.begin() + g, scores_.begin() + g + 1);
                }
                return BestWordChange{BestWordChange::Kind::Move, d, std::max(g, d), 0};
            }
            break;
        }
        ++d;
    }

    // Every line above d scores more than the new word; when those lines alone fill the list
    // there is no room for it. (Comparing with the capacity rather than asking for equality
    // with the line count also copes with a list that holds more than fits.)
    if (capacity <= 0 || d >= capacity) {
        return BestWordChange{BestWordChange::Kind::Rejected, -1, -1, 0};
    }
    int32_t dropped = 0;
    while (static_cast<int32_t>(lines_.size()) >= capacity) {
        lines_.pop_back();
        scores_.pop_back();
        ++dropped;
    }
    lines_.insert(lines_.begin() + d, text);
    scores_.insert(scores_.begin() + d, score);
    return BestWordChange{BestWordChange::Kind::Insert, d, -1, dropped};
}

int32_t BestWords::Trim(int32_t capacity) {
    int32_t removed = 0;
    while (!lines_.empty() && static_cast<int32_t>(lines_.size()) > std::max(capacity, 0)) {
        lines_.pop_back();
        scores_.pop_back();
        ++removed;
    }
    return removed;
}

void BestWords::Clear() {
    lines_.clear();
    scores_.clear();
}

std::string BestWords::Top() const {
    return lines_.empty() ? std::string() : lines_.front();
}

int32_t ListCapacity(int32_t clientHeight, int32_t itemHeight) {
    if (clientHeight <= 0 || itemHeight <= 0) {
        return 0;
    }
    return clientHeight / itemHeight;
}
