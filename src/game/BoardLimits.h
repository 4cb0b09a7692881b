// The sizes and colour counts a game may have. The board model, the solver
// and the tools all keep to these, so they live apart from each of them.
#pragma once

#include <cstdint>

constexpr std::int32_t kMinBoardSize = 3;
constexpr std::int32_t kMaxBoardSize = 20;
constexpr std::int32_t kMinColorCount = 2;
constexpr std::int32_t kMaxColorCount = 20;
