#include "datagrid/fitting.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace sp {

std::vector<int> FitColumnWidths(const std::vector<int>& widths, int fixedCols, int clientWidth, int scrollBarWidth,
                                 int lineWidth) {
  std::vector<int> result = widths;
  std::vector<bool> adjustable(widths.size());
  for (size_t i = 0; i < widths.size(); ++i) adjustable[i] = static_cast<int>(i) > fixedCols && widths[i] != -1;
  for (;;) {
    int64_t target = static_cast<int64_t>(clientWidth) - scrollBarWidth;
    int64_t sum = 0;
    size_t last = widths.size();
    for (size_t i = 0; i < widths.size(); ++i) {
      if (result[i] == -1) continue;
      target -= lineWidth;
      if (adjustable[i]) {
        sum += result[i];
        last = i;
      } else {
        target -= result[i];
      }
    }
    if (sum <= 0 || sum == target) return result;
    if (sum - target == 1 || target - sum == 1) {
      result[last] += static_cast<int>(target - sum);
      return result;
    }
    std::vector<int> fitted = result;
    bool restart = false;
    int64_t targetLeft = target, sumLeft = sum;
    for (size_t i = 0; i < widths.size() && !restart; ++i) {
      if (!adjustable[i]) continue;
      const int64_t width = sumLeft > 0 ? result[i] * targetLeft / sumLeft : 0;
      if (width < 15) {
        result[i] = 15;
        adjustable[i] = false;
        restart = true;
        break;
      }
      fitted[i] = static_cast<int>(width);
      targetLeft -= width;
      sumLeft -= result[i];
    }
    if (!restart) return fitted;
  }
}

bool ParseAdjustGrid(std::string_view text, int& size, double& factor) {
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return false;
  const std::string_view sizeText = text.substr(0, blank);
  std::string factorText(text.substr(blank + 1));
  std::replace(factorText.begin(), factorText.end(), ',', '.');
  int s = 0;
  double f = 0;
  const auto sizeRead = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), s);
  if (sizeRead.ec != std::errc() || sizeRead.ptr != sizeText.data() + sizeText.size() || s <= 0 || s > 200) return false;
  const char* factorEnd = factorText.data() + factorText.size();
  const auto factorRead = std::from_chars(factorText.data(), factorEnd, f, std::chars_format::fixed);
  if (factorRead.ec != std::errc() || factorRead.ptr != factorEnd || !(f > 0 && f <= 100)) return false;
  size = s;
  factor = f;
  return true;
}

int ScaledFontSize(int size, double factor, int pixelsPerInch) {
  const int screenSize = pixelsPerInch > 0 ? size * 96 / pixelsPerInch : size;
  return std::max(size, static_cast<int>(std::floor(factor * std::max(size, screenSize))));
}

int ScaledMaxSecondHeight(int height, double factor, int pixelsPerInch) {
  int scaled = static_cast<int>(std::floor(height * factor));
  if (pixelsPerInch > 96) scaled *= 2;
  return std::clamp(scaled, 50, 100);
}

int SecondLineRowHeight(int textHeight, int defaultRowHeight, int currentHeight, int maxSecondHeight, bool& clipped) {
  int height = textHeight + defaultRowHeight;
  if (height - currentHeight <= 10) height += 10;
  clipped = height > maxSecondHeight;
  return clipped ? maxSecondHeight : height;
}

}  // namespace sp
