#include "app/uGrobal.h"

std::int32_t BoardSize = 0;
std::int32_t ColorCount = 0;
std::int32_t ElapsedSeconds = 0;
std::int32_t ClickCount = 0;
bool HelpUsed = false;
