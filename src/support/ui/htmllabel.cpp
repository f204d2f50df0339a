#include "support/ui/htmllabel.h"

#include <QResizeEvent>

#include "support/ui/qtext.h"

namespace sp {

TSBHTM::TSBHTM(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::RichText);
  setWordWrap(true);
  setOpenExternalLinks(false);
  setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  connect(this, &QLabel::linkActivated, this, [this](const QString& target) {
    if (OnAnchorClick) OnAnchorClick(FromQString(target));
  });
}

void TSBHTM::SetHTMLText(std::string_view html) {
  html_ = std::string(html);
  setText(ToQString(html));
  LayOut();
}

void TSBHTM::SetAutoSizing(bool on, TAutoSizeType type) {
  autoSizing_ = on;
  autoSizeType_ = type;
  setWordWrap(type != TAutoSizeType::asBoth);
  LayOut();
}

void TSBHTM::LayOut() {
  if (!autoSizing_ || layingOut_) return;
  layingOut_ = true;
  const QSize before = size();
  const int framing = 2 * frameWidth() + margin();
  switch (autoSizeType_) {
    case TAutoSizeType::asVertical:
      resize(width(), std::max(heightForWidth(width()), fontMetrics().height()) + framing);
      break;
    case TAutoSizeType::asHorizontal:
      resize(sizeHint().width(), height());
      break;
    case TAutoSizeType::asBoth:
      resize(sizeHint());
      break;
  }
  layingOut_ = false;
  if (size() != before) emit AutoSized();
}

void TSBHTM::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  if (event->oldSize().width() != event->size().width()) LayOut();
}

}  // namespace sp
