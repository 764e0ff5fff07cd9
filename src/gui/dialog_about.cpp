#include "gui/dialog_about.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace vantu {

namespace {

constexpr const char* kTitle = "PRESUPUESTO DE OBRA";
constexpr const char* kVersion = "Version 0.1";
constexpr const char* kAuthor = "Autor: el equipo de desarrollo de vantu";

}  // namespace

void ShowAboutBox(QWidget* parent) {
  QDialog box(parent);
  const QString caption = QString("Acerca de ") + kTitle;
  box.setWindowTitle(caption);
  // A fixed box: a close button only, and wide enough for its whole caption
  // (bold in most title bars) beside the window manager's icon and button.
  box.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                     Qt::MSWindowsFixedSizeDialogHint);
  QFont titleFont = box.font();
  titleFont.setBold(true);
  const int captionWidth = QFontMetrics(titleFont).horizontalAdvance(caption) * 5 / 4 + 120;
  QIcon icon = QApplication::windowIcon();
  if (icon.isNull()) icon = box.style()->standardIcon(QStyle::SP_ComputerIcon);
  auto* picture = new QLabel(&box);
  picture->setPixmap(icon.pixmap(48, 48));
  auto* name = new QLabel("<b>Vantu</b>", &box);
  auto* texts = new QVBoxLayout;
  texts->addWidget(name);
  texts->addWidget(new QLabel(kTitle, &box));
  texts->addWidget(new QLabel(kVersion, &box));
  texts->addWidget(new QLabel(kAuthor, &box));
  auto* top = new QHBoxLayout;
  top->addWidget(picture, 0, Qt::AlignTop);
  top->addLayout(texts, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* layout = new QVBoxLayout(&box);
  layout->addLayout(top);
  layout->addWidget(buttons);
  layout->addStrut(captionWidth);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  box.exec();
}

}  // namespace vantu
