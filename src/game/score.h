// The score of a won game.
#pragma once

#include <cstdint>

// (K x K x 100) div ((seconds div K) + (clicks div K) + 1), every division
// truncating: more colours score more, time and clicks count in steps of K.
std::int32_t CalcScore(std::int32_t clicks, std::int32_t seconds, std::int32_t colors);
