// TColor: a 32-bit colour, 0x00BBGGRR (red in the low byte). A value whose top
// byte is 0x80 names a system colour by its index, resolved when drawn.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clRed = 0x000000FF;

constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;
constexpr TColor clInfoBk = 0x80000018;

constexpr bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0x80000000u; }
constexpr std::uint8_t ColorRed(TColor c) { return c & 0xFF; }
constexpr std::uint8_t ColorGreen(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t ColorBlue(TColor c) { return (c >> 16) & 0xFF; }
