#include "model/colortable.h"

#include <cmath>

namespace {

struct Rgb {
    unsigned char r, g, b;
};

// Each level is an RGB565 level widened to 8 bits with zero low bits; duplicates are part of the
// module's table.
constexpr Rgb kTable[ColorTable::Count] = {
    {0, 0, 0},       {248, 0, 0},     {0, 252, 0},     {0, 0, 248},     {248, 252, 0},   {0, 252, 248},
    {248, 0, 248},   {200, 204, 200}, {64, 64, 64},    {192, 64, 64},   {64, 192, 64},   {64, 64, 192},
    {200, 204, 64},  {64, 204, 200},  {200, 68, 200},  {248, 252, 248}, {248, 252, 248}, {248, 0, 0},
    {248, 252, 248}, {200, 204, 200}, {64, 64, 64},    {0, 0, 0},       {40, 100, 40},   {24, 248, 24},
    {24, 248, 24},   {0, 100, 0},     {0, 252, 0},     {248, 0, 0},     {248, 252, 0},   {0, 252, 0},
    {248, 0, 0},     {248, 252, 0},   {248, 252, 0},   {0, 252, 248},   {0, 0, 0},       {0, 0, 0},
    {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 76, 88},     {112, 184, 184},
    {56, 112, 160},  {216, 112, 88},  {152, 120, 88},  {120, 120, 184}, {208, 152, 72},  {128, 72, 120},
    {144, 172, 88},  {144, 96, 184},  {32, 8, 48},     {64, 156, 160},  {32, 116, 232},  {208, 72, 40},
    {128, 160, 40},  {80, 80, 168},   {208, 124, 16},  {96, 16, 80},    {120, 152, 40},  {112, 48, 160},
    {32, 36, 32},    {32, 112, 232},  {0, 0, 0},       {0, 0, 0},
};

}  // namespace

namespace ColorTable {

bool isValid(int n) { return n >= 0 && n < Count; }

QColor colorAt(int n)
{
    if (!isValid(n))
        return QColor(255, 0, 255);
    const Rgb &c = kTable[n];
    return QColor(c.r, c.g, c.b);
}

void fillColorTable() {}

QColor numberTextColorOn(int n)
{
    // The text that contrasts more with the swatch's relative luminance: black above about 0.18,
    // where both contrast ratios are equal. A bright channel alone (pure blue) is still dark.
    const QColor c = colorAt(n);
    auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    const double lum = 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
    return (lum + 0.05) / 0.05 > 1.05 / (lum + 0.05) ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace ColorTable
