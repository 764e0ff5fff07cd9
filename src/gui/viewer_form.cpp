#include "gui/viewer_form.h"

#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QValidator>

#include "gui/viewer_font.h"
#include "gui/viewer_text.h"

namespace vantu {

namespace {

constexpr int kNormalSize = 8;
constexpr int kReducedSize = 7;
constexpr int kMeasuredLines = 11;
constexpr int kMaxSearchLength = 255;

// Typed text goes in as upper case.
class UpperCaseValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    input = input.toUpper();
    return Acceptable;
  }
};

}  // namespace

QString& LastSearchText() {
  static QString text;
  return text;
}

TViewForm::TViewForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Visor de listados");
  BuildLayout();
  edit_->setText(LastSearchText());
  ApplyFont();
  notFoundNotice = [this] { ShowNotFound(); };
}

void TViewForm::BuildLayout() {
  auto* label = new QLabel("Texto a Buscar:", this);
  edit_ = new QLineEdit(this);
  edit_->setMaxLength(kMaxSearchLength);
  edit_->setValidator(new UpperCaseValidator(edit_));
  auto* find = new QPushButton("Buscar", this);
  find->setDefault(true);
  sizeButton_ = new QPushButton("Reducir", this);
  sizeButton_->setAutoDefault(false);
  auto* close = new QPushButton("Cerrar", this);
  close->setAutoDefault(false);
  auto* top = new QHBoxLayout;
  top->addWidget(label);
  top->addWidget(edit_, 1);
  top->addWidget(find);
  top->addWidget(sizeButton_);
  top->addStretch(1);
  top->addWidget(close);

  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setContextMenuPolicy(Qt::NoContextMenu);  // no copying, as with the keys
  QPalette palette = text_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::HighlightedText));
  text_->setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(text_, 1);

  edit_->installEventFilter(this);
  text_->installEventFilter(this);
  connect(find, &QPushButton::clicked, this, [this] { Search(); });
  connect(sizeButton_, &QPushButton::clicked, this, [this] { ToggleFontSize(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void TViewForm::ApplyFont() {
  QFont font(ListingFontFamily(), fontSize_);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  text_->setFont(font);
}

bool TViewForm::LoadListing(const QString& path) {
  std::optional<QString> text = LoadListingText(path);
  if (!text) return false;
  plain_ = *text;
  text_->setPlainText(plain_);
  plain_ = text_->toPlainText();  // positions as the view counts them
  text_->moveCursor(QTextCursor::Start);
  lastHit_ = -1;
  return true;
}

void TViewForm::FitToDesktop() {
  int longest = 0;
  QTextBlock block = text_->document()->firstBlock();
  for (int i = 0; i < kMeasuredLines && block.isValid(); ++i, block = block.next())
    longest = std::max(longest, static_cast<int>(block.text().size()));
  QFont font(ListingFontFamily(), kNormalSize);
  const int blank = QFontMetrics(font).horizontalAdvance(' ');
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  const QRect desk = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  const int width = std::min((longest + 4) * blank, desk.width());
  const int height = std::max(desk.height() - 50, 200);
  setGeometry(desk.x() + (desk.width() - width) / 2, desk.y(), width, height);
}

// Searches forward from just after the last match when the selection still
// starts there, else from the selection. A match at the very first
// character is a match like any other; "none" is kept apart as -1.
void TViewForm::Search() {
  LastSearchText() = edit_->text();
  if (LastSearchText().isEmpty()) return;
  const int selStart = text_->textCursor().selectionStart();
  const int from = (lastHit_ >= 0 && selStart == lastHit_) ? lastHit_ + 1 : selStart;
  const int hit = static_cast<int>(plain_.indexOf(LastSearchText(), from, Qt::CaseInsensitive));
  if (hit < 0) {
    lastHit_ = -1;
    notFoundNotice();
    text_->setFocus();
    return;
  }
  QTextCursor cursor = text_->textCursor();
  cursor.setPosition(hit);
  cursor.setPosition(hit + static_cast<int>(LastSearchText().size()), QTextCursor::KeepAnchor);
  text_->setTextCursor(cursor);
  text_->setFocus();
  lastHit_ = hit;
}

void TViewForm::ShowNotFound() {
  QMessageBox box(QMessageBox::Question, "Busqueda", "Texto no encontrado", QMessageBox::Ok, this);
  box.exec();
}

void TViewForm::ToggleFontSize() {
  fontSize_ = fontSize_ == kNormalSize ? kReducedSize : kNormalSize;
  sizeButton_->setCursor(Qt::WaitCursor);
  text_->setVisible(false);
  ApplyFont();
  text_->setVisible(true);
  sizeButton_->unsetCursor();
  sizeButton_->setText(fontSize_ == kNormalSize ? "Reducir" : "Ampliar");
}

// While Ctrl is held only Home and End get through, so that the text cannot
// be copied with the keyboard.
bool TViewForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & Qt::ControlModifier) && key->key() != Qt::Key_Home &&
        key->key() != Qt::Key_End && key->key() != Qt::Key_Control)
      return true;
  }
  return QDialog::eventFilter(watched, event);
}

void ShowListing(QWidget* parent, const std::string& fileName) {
  const QString path = QFile::decodeName(QByteArray::fromStdString(fileName));
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  TViewForm viewer(parent);
  const bool loaded = viewer.LoadListing(path);
  if (loaded) viewer.FitToDesktop();
  QGuiApplication::restoreOverrideCursor();
  if (!loaded) {
    QMessageBox::warning(parent, "Visor de listados",
                         "No se puede leer el archivo del listado:\n" + path);
    return;
  }
  viewer.exec();
}

}  // namespace vantu
