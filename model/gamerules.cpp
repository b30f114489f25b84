#include "gamerules.h"

uint32_t NextEvolveInterval(uint32_t interval, uint32_t speedupPerMille) {
    // Worked out in 64 bits so that an unusual speed-up cannot overflow the product.
    const uint64_t reduction = (static_cast<uint64_t>(interval) * speedupPerMille + 500) / 1000;
    if (reduction >= interval) {
        return interval == 0 ? 0 : 1;
    }
    return interval - static_cast<uint32_t>(reduction);
}

uint32_t LivesGained(uint32_t oldScore, uint32_t newScore, uint32_t pointsPerLife) {
    if (pointsPerLife == 0 || newScore <= oldScore) {
        return 0;
    }
    return newScore / pointsPerLife - oldScore / pointsPerLife;
}
