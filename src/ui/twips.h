#pragma once
// Layout values are designed in twips; 15 twips make one pixel at 96 dpi, and Qt's high-DPI
// scaling takes care of other screens.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kesto::ui {

constexpr int twips(int value)
{
    return (value + 7) / 15;
}

constexpr QPoint twipsPoint(int left, int top)
{
    return {twips(left), twips(top)};
}

constexpr QSize twipsSize(int width, int height)
{
    return {twips(width), twips(height)};
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return {twipsPoint(left, top), twipsSize(width, height)};
}

} // namespace kesto::ui
