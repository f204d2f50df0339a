#include "support/ui/messagebox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <cmath>

#include "support/boxtext.h"
#include "support/links.h"
#include "support/opendocument.h"
#include "support/text1252.h"
#include "support/ui/formplacement.h"
#include "support/ui/qtext.h"

namespace sp {

namespace {

constexpr int kDesignWidth = 406;
constexpr int kDesignHeight = 187;
constexpr int kInputPanelHeight = 61;
constexpr int kMessagePanelHeight = 35;
constexpr int kHelpPanelHeight = 23;
constexpr int kPictureSpace = 44;  // the panel's picture and its margin
constexpr int kButtonHeight = 25;
constexpr int kItemHeight = 19;
const QColor kOddRowColour(0xFE, 0xF5, 0xBC);

// Items of the open list on alternating backgrounds, text 5 pixels in and
// cut with an ellipsis.
class TAlternatingItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette& palette = option.palette;
    painter->fillRect(option.rect, selected ? palette.highlight().color()
                                            : (index.row() % 2 == 0 ? QColor(Qt::white) : kOddRowColour));
    painter->setPen(selected ? palette.highlightedText().color() : QColor(Qt::black));
    const QRect textRect = option.rect.adjusted(5, 0, 0, 0);
    const QString text = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
  }
};

QPushButton* MakeButton(QWidget* parent, const char* utf8Caption) {
  auto* button = new QPushButton(ToQString(Ansi(utf8Caption)), parent);
  button->setAutoDefault(false);
  return button;
}

QWidget* MakePanel(QWidget* parent, bool buttonFace) {
  auto* panel = new QWidget(parent);
  panel->setAutoFillBackground(true);
  if (buttonFace) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    panel->setPalette(palette);
  }
  return panel;
}

void AddPicture(QWidget* panel, QStyle::StandardPixmap which) {
  auto* picture = new QLabel(panel);
  picture->setPixmap(panel->style()->standardIcon(which).pixmap(32, 32));
  picture->setGeometry(4, 2, 32, 32);
}

void SetPointSize(QWidget* widget, int points) {
  QFont font = widget->font();
  font.setPointSize(points);
  widget->setFont(font);
}

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
         key == Qt::Key_AltGr;
}

QString Caption(std::string_view caption) {
  return caption.empty() ? QGuiApplication::applicationDisplayName() : ToQString(caption);
}

}  // namespace

TFSB_BOX::TFSB_BOX(QWidget* parent) : QDialog(parent) {
  setObjectName("FSB_BOX");
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  setAttribute(Qt::WA_DeleteOnClose, false);
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  setFont(font);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  resize(kDesignWidth, kDesignHeight);

  TextArea = new QScrollArea(this);
  TextArea->setFrameShape(QFrame::NoFrame);
  TextArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  TextArea->setWidgetResizable(false);
  TextLabel = new TSBHTM();
  TextLabel->setMargin(6);
  TextLabel->SetAutoSizing(true, TAutoSizeType::asVertical);
  TextArea->setWidget(TextLabel);
  TextLabel->OnAnchorClick = [this](const std::string& target) { AnchorClicked(target); };

  Pinput = MakePanel(this, true);
  AddPicture(Pinput, QStyle::SP_MessageBoxQuestion);
  FlatPanel1 = MakePanel(Pinput, true);
  Label1 = new QLabel(QStringLiteral("Eingabe:"), FlatPanel1);
  Label1->setFont(QFont(QStringLiteral("Arial"), font.pointSize()));
  FINPE = new QComboBox(FlatPanel1);
  FINPE->setEditable(true);
  FINPE->setInsertPolicy(QComboBox::NoInsert);
  FINPE->setItemDelegate(new TAlternatingItemDelegate(FINPE));
  FINPE->setMaxVisibleItems(20);
  FINPE->lineEdit()->setPlaceholderText(QStringLiteral("Eingabe"));
  Panel3 = MakePanel(Pinput, true);
  FB_ICANCEL = MakeButton(Panel3, "Abbrechen");
  FB_IOK = MakeButton(Panel3, "Übernehmen");
  FB_HELPI = MakeButton(Pinput, "Hilfe");
  Pinput->hide();

  Pmsg = MakePanel(this, true);
  AddPicture(Pmsg, QStyle::SP_MessageBoxInformation);
  Panel2 = MakePanel(Pmsg, true);
  FB_BREAK2 = MakeButton(Panel2, "Schließen");
  FBhelpS = MakeButton(Pmsg, "Hilfe");
  Pmsg->hide();

  FP_help = MakePanel(this, false);
  AddPicture(FP_help, QStyle::SP_DialogHelpButton);
  HelpLabel = new TSBHTM(FP_help);
  HelpLabel->SetAutoSizing(true, TAutoSizeType::asVertical);
  HelpLabel->OnAnchorClick = [this](const std::string& target) { AnchorClicked(target); };
  FP_help->hide();

  int panel2Width = 100;
  int panel3Width = 180;
  int inputButtonWidth = 80;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 800, 600);
  if (screenRect.width() > 800) {
    SetPointSize(TextLabel, 10);
    SetPointSize(HelpLabel, 10);
    SetPointSize(this, 9);
    panel2Width = static_cast<int>(std::lround(panel2Width * 1.1));
    panel3Width = static_cast<int>(std::lround(panel3Width * 1.2));
    inputButtonWidth = static_cast<int>(std::lround(inputButtonWidth * 1.2));
  }
  maxHeight_ = static_cast<int>(std::lround(screenRect.height() * 0.7));
  setMaximumHeight(maxHeight_);

  // The panels' inner layout; their widths follow the box in LayOutForShowing.
  const int comboHeight = FINPE->sizeHint().height();
  FlatPanel1->setGeometry(kPictureSpace, 2, kDesignWidth - kPictureSpace - 4, comboHeight + 4);
  Label1->setGeometry(0, 2, 50, comboHeight);
  FINPE->setGeometry(54, 2, FlatPanel1->width() - 56, comboHeight);
  const int buttonRow = FlatPanel1->geometry().bottom() + 3;
  Panel3->setGeometry(kDesignWidth - panel3Width, buttonRow, panel3Width, kButtonHeight + 4);
  FB_ICANCEL->setGeometry(7, 2, inputButtonWidth, kButtonHeight);
  FB_IOK->setGeometry(7 + inputButtonWidth + 4, 2, inputButtonWidth, kButtonHeight);
  FB_HELPI->setGeometry(kPictureSpace, buttonRow + 2, 70, kButtonHeight);
  Panel2->setGeometry(kDesignWidth - panel2Width, 0, panel2Width, kMessagePanelHeight);
  FB_BREAK2->setGeometry(2, 5, panel2Width - 4, kButtonHeight);
  FBhelpS->setGeometry(kPictureSpace, 5, 70, kButtonHeight);
  HelpLabel->setGeometry(kPictureSpace, 0, kDesignWidth - kPictureSpace - 4, kHelpPanelHeight);

  connect(FB_IOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(FB_ICANCEL, &QPushButton::clicked, this, &QDialog::reject);
  connect(FB_BREAK2, &QPushButton::clicked, this, &QDialog::reject);
  connect(FB_HELPI, &QPushButton::clicked, this, [this] { ShowHelp(FB_HELPI); });
  connect(FBhelpS, &QPushButton::clicked, this, [this] { ShowHelp(FBhelpS); });
  SetCentredOnScreen(this);
  PlaceFormOnMonitor(this, false);
}

TFSB_BOX::~TFSB_BOX() {
  if (filtering_) qApp->removeEventFilter(this);
}

void TFSB_BOX::PrepareMessage(std::string_view message, std::string_view helpText, std::string_view caption) {
  FP_help->hide();
  TextLabel->SetHTMLText(FormatBoxText(message));
  Pmsg->show();
  setWindowTitle(Caption(caption));
  HelpText = std::string(helpText);
  FBhelpS->setVisible(!HelpText.empty());
  FB_BREAK2->setFocus();
}

void TFSB_BOX::PrepareInput(std::string_view defaultValue, std::string_view prompt, std::string_view helpText,
                            unsigned fontStyle, const std::vector<std::string>* items, bool pickFromList,
                            bool hideCancel, std::string_view caption) {
  FB_HELPI->hide();
  TextLabel->SetHTMLText(FormatBoxText(prompt));
  QFont inputFont = FINPE->font();
  inputFont.setBold(fontStyle & fsBold);
  inputFont.setItalic(fontStyle & fsItalic);
  inputFont.setUnderline(fontStyle & fsUnderline);
  inputFont.setStrikeOut(fontStyle & fsStrikeOut);
  FINPE->setFont(inputFont);
  pickFromList_ = pickFromList;
  hasItems_ = items != nullptr;
  if (pickFromList && items) FINPE->setEditable(false);
  if (items) {
    for (const std::string& item : *items) FINPE->addItem(ToQString(item));
  }
  if (!pickFromList) {
    FINPE->setEditText(ToQString(defaultValue));
  } else {
    FINPE->setCurrentIndex(FINPE->findText(ToQString(defaultValue), Qt::MatchExactly | Qt::MatchCaseSensitive));
  }
  Pinput->show();
  FP_help->hide();
  FB_ICANCEL->setVisible(!hideCancel);
  setWindowTitle(Caption(caption));
  HelpText = std::string(helpText);
  FB_HELPI->setVisible(!HelpText.empty());
  FINPE->setFocus();
}

std::string TFSB_BOX::InputResult() const {
  if (result() != QDialog::Accepted) return pickFromList_ ? "-1" : "";
  if (pickFromList_ && hasItems_) return std::to_string(FINPE->currentIndex());
  return std::string(Trim(FromQString(FINPE->currentText())));
}

int TFSB_BOX::LabelAreaHeight(int labelHeight) const {
  const int panels = InputMode() ? 70 : 70 - 33;
  return std::max(0, std::min(labelHeight, maxHeight_ - panels - helpHeight_));
}

void TFSB_BOX::LayOutForShowing() {
  const int width = this->width();
  TextLabel->resize(width, TextLabel->height());
  TextLabel->LayOut();
  const int areaHeight = LabelAreaHeight(TextLabel->height());
  if (areaHeight < TextLabel->height()) {  // the text scrolls: make room for the bar
    TextLabel->resize(width - style()->pixelMetric(QStyle::PM_ScrollBarExtent), TextLabel->height());
    TextLabel->LayOut();
  }
  TextArea->setGeometry(0, 0, width, areaHeight);
  QWidget* panel = InputMode() ? Pinput : Pmsg;
  panel->setGeometry(0, areaHeight + 2, width, InputMode() ? kInputPanelHeight : kMessagePanelHeight);
  const int clientHeight = areaHeight + (InputMode() ? 70 : 70 - 33);
  FP_help->setGeometry(0, clientHeight, width, FP_help->height());
  setFixedHeight(std::min(clientHeight + helpHeight_, maxHeight_));
}

void TFSB_BOX::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!filtering_) {
    qApp->installEventFilter(this);
    filtering_ = true;
  }
  LayOutForShowing();
  BringToFront(this);
}

void TFSB_BOX::hideEvent(QHideEvent* event) {
  if (filtering_) {
    qApp->removeEventFilter(this);
    filtering_ = false;
  }
  QDialog::hideEvent(event);
}

void TFSB_BOX::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || isActiveWindow() || LinkClicked) return;
  QTimer::singleShot(0, this, [this] {
    if (LinkClicked || !isVisible() || isActiveWindow()) return;
    if (QApplication::activeModalWidget() != this || QApplication::activePopupWidget()) return;
    BringToFront(this);
  });
}

void TFSB_BOX::ShowHelp(QPushButton* pressed) {
  if (HelpText.empty()) return;
  HelpLabel->SetHTMLText(FormatBoxText(HelpText));
  FP_help->resize(width(), HelpLabel->height() + 5);
  helpHeight_ = FP_help->height();
  pressed->setEnabled(false);
  FP_help->show();
  LayOutForShowing();
}

void TFSB_BOX::AnchorClicked(const std::string& target) {
  if (target.find("://") == std::string::npos && FindText(target, "mailto:") == std::string_view::npos) return;
  std::string document = target;
  const size_t prefix = FindText(document, "file://");
  if (prefix != std::string_view::npos) {
    // A document link may name its file through the roots; a plain path
    // stays as it is.
    const std::string resolved = ResolveLink(document, false);
    document.erase(prefix, 7);
    if (!resolved.empty()) document = resolved;
  }
  LinkClicked = true;
  OpenDocument("open", "\"" + document + "\"", true);
  reject();
}

bool TFSB_BOX::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || (widget != this && !isAncestorOf(widget))) return QDialog::eventFilter(watched, event);
  return HandleKey(static_cast<QKeyEvent*>(event));
}

bool TFSB_BOX::HandleKey(QKeyEvent* key) {
  const int code = key->key();
  if (code == Qt::Key_F1) return true;
  if (!InputMode()) {
    const bool modified = IsModifierKey(code) ||
                          (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (!modified) reject();
    return !modified;
  }
  QWidget* focus = focusWidget();
  switch (code) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (focus == FB_ICANCEL) {
        reject();
      } else {
        accept();
      }
      return true;
    case Qt::Key_Escape:
      if (FINPE->view()->isVisible()) {
        FINPE->hidePopup();
      } else if (FB_ICANCEL->isHidden()) {
        accept();
      } else {
        reject();
      }
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (focus == FB_IOK && FB_ICANCEL->isVisible()) {
        FB_ICANCEL->setFocus();
        return true;
      }
      if (focus == FB_ICANCEL) {
        FB_IOK->setFocus();
        return true;
      }
      return false;
    default:
      return false;
  }
}

void ShowMessageBox(std::string_view message, std::string_view helpText, std::string_view caption) {
  TFSB_BOX box;
  box.PrepareMessage(message, helpText, caption);
  box.exec();
}

std::string ShowInputBox(std::string_view defaultValue, std::string_view prompt, std::string_view helpText,
                         unsigned fontStyle, const std::vector<std::string>* items, bool pickFromList, bool hideCancel,
                         std::string_view caption) {
  TFSB_BOX box;
  box.PrepareInput(defaultValue, prompt, helpText, fontStyle, items, pickFromList, hideCancel, caption);
  box.exec();
  return box.InputResult();
}

}  // namespace sp
