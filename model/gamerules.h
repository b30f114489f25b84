// The arithmetic of a game's pace and of the lives the score earns. Plain functions, so the
// window's timers and word entry use one rule each and the rules can be checked without one.
#pragma once

#include <cstdint>

// The evolve interval after one more chip: shortened by speedupPerMille of itself, the
// reduction rounded to the nearest millisecond. Once the reduction rounds to 0 the interval
// stops shrinking, which makes a floor (99 ms at 5 per mille) without a separate limit. An
// outsized speed-up stops at 1 ms rather than wrapping round or reaching 0, which would make
// the timer fire without pause.
uint32_t NextEvolveInterval(uint32_t interval, uint32_t speedupPerMille);

// Lives earned when the score goes from oldScore to newScore: one for each multiple of
// pointsPerLife passed. None when the score does not grow or there is no points-per-life.
uint32_t LivesGained(uint32_t oldScore, uint32_t newScore, uint32_t pointsPerLife);
