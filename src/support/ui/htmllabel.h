// TSBHTM: a label that shows the system's HTML markup (bold "<B>", breaks
// "<BR>", links "<A HREF=...>") and sizes itself to its text.
//
// With AutoSizing on, the label resizes itself whenever its text or width
// changes: asVertical keeps the width and grows the height to the wrapped
// text, asHorizontal keeps the height, asBoth takes the unwrapped text's size.
// A clicked link is handed to OnAnchorClick with its target as
// Windows-1252 text; links are never opened by the label itself.
// GUI thread only; the label belongs to its Qt parent.
#pragma once

#include <QLabel>
#include <functional>
#include <string>
#include <string_view>

namespace sp {

enum class TAutoSizeType { asVertical, asHorizontal, asBoth };

class TSBHTM : public QLabel {
  Q_OBJECT

 public:
  explicit TSBHTM(QWidget* parent = nullptr);

  void SetHTMLText(std::string_view html);
  std::string HTMLText() const { return html_; }

  void SetAutoSizing(bool on, TAutoSizeType type = TAutoSizeType::asVertical);
  // Applies the automatic size now (for owners that lay out right away).
  void LayOut();

  std::function<void(const std::string& target)> OnAnchorClick;

 signals:
  // The label's size changed through its automatic sizing.
  void AutoSized();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::string html_;
  bool autoSizing_ = false;
  TAutoSizeType autoSizeType_ = TAutoSizeType::asVertical;
  bool layingOut_ = false;
};

}  // namespace sp
