#include "gui/viewer_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace vantu {

namespace {
int gFontId = -1;
}  // namespace

bool RegisterListingFont(const std::string& path) {
  UnregisterListingFont();
  gFontId = QFontDatabase::addApplicationFont(QString::fromStdString(path));
  return gFontId >= 0;
}

void UnregisterListingFont() {
  if (gFontId >= 0) QFontDatabase::removeApplicationFont(gFontId);
  gFontId = -1;
}

QString ListingFontFamily() {
  if (gFontId >= 0) {
    const QStringList families = QFontDatabase::applicationFontFamilies(gFontId);
    if (!families.isEmpty()) return families.front();
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace vantu
