// The arithmetic of fitting, scaling and second-line heights, apart from any
// font or window: the widget measures texts and feeds the numbers in.
#pragma once

#include <string_view>
#include <vector>

namespace sp {

// Fits column widths to a client width. Adjustable are the columns whose
// index is greater than `fixedCols` and whose width is not -1; they are
// scaled so that every visible column plus `lineWidth` per visible column
// fills `clientWidth` less `scrollBarWidth`. A column that would fall below
// 15 gets 15 and is then left alone. A difference of exactly one pixel goes
// to the last adjustable column.
std::vector<int> FitColumnWidths(const std::vector<int>& widths, int fixedCols, int clientWidth, int scrollBarWidth,
                                 int lineWidth);

// "s f": an integer font size and a decimal factor ("." or ","), separated
// by a blank. False when the text is not of that form or s is not positive.
bool ParseAdjustGrid(std::string_view text, int& size, double& factor);
// max(s, floor(f * max(s, floor(s * 96 / ppi)))).
int ScaledFontSize(int size, double factor, int pixelsPerInch);
// floor(height * f), doubled above 96 pixels per inch, held within 50 .. 100.
int ScaledMaxSecondHeight(int height, double factor, int pixelsPerInch);

// The height of a row whose second line needs `textHeight` pixels: that plus
// the default row height, 10 more when it does not exceed the current height
// by more than 10; at most `maxSecondHeight` (then `clipped` is set).
int SecondLineRowHeight(int textHeight, int defaultRowHeight, int currentHeight, int maxSecondHeight, bool& clipped);

}  // namespace sp
