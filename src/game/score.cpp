#include "game/score.h"

std::int32_t CalcScore(std::int32_t clicks, std::int32_t seconds, std::int32_t colors) {
    return (colors * colors * 100) / ((seconds / colors) + (clicks / colors) + 1);
}
