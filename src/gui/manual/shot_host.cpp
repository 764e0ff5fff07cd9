#include "gui/manual/shot_host.h"

#include <QDir>
#include <QPlainTextEdit>
#include <cstdio>

#include "app/menu_commands.h"
#include "console/keys.h"
#include "gui/dialog_text.h"
#include "gui/manual/screen_image.h"
#include "gui/viewer_font.h"
#include "gui/viewer_form.h"

namespace vantu::manual {

void ShotHost::Type(const std::string& text, std::vector<int> keys) {
  QueueStep([text, keys] {
    for (unsigned char ch : text) PushKey(ch);
    for (int k : keys) PushKey(static_cast<uint8_t>(k));
  });
}

void ShotHost::Menu(char letter) {
  QueueStep([letter] { PushCommand(static_cast<uint8_t>(letter)); });
}

void ShotHost::Expect(std::initializer_list<const char*> texts) {
  std::vector<std::string> wanted(texts.begin(), texts.end());
  QueueStep([this, wanted] {
    for (const std::string& t : wanted)
      if (!ScreenContains(t)) Fail("falta \"" + t + "\" en la pantalla");
  });
}

void ShotHost::Shot(const std::string& name, std::initializer_list<const char*> texts) {
  Expect(texts);
  QueueStep([this, name] { Save(PaintScreen(), name); });
}

void ShotHost::ShotOfViewer(const std::string& name, const std::string& text) {
  QueueStep([this, name, text] {
    viewerShot_ = name;
    viewerText_ = text;
  });
}

void ShotHost::ShotOfBox(const std::string& name, const std::string& caption) {
  QueueStep([this, name, caption] {
    boxShot_ = name;
    boxCaption_ = caption;
  });
}

bool ShotHost::RegisterFont(const std::string& path) {
  return RegisterListingFont(path);
}

void ShotHost::UnregisterFont(const std::string&) {
  UnregisterListingFont();
}

// The viewer as the window opens it, at a size that shows a page's width.
void ShotHost::ShowListing(const std::string& fileName) {
  if (viewerShot_.empty()) return;
  TViewForm viewer;
  if (!viewer.LoadListing(QString::fromStdString(fileName))) {
    Fail("el visor no pudo leer " + fileName);
  } else if (!viewer.Text()->toPlainText().contains(CoreToQt(viewerText_))) {
    Fail("falta \"" + viewerText_ + "\" en el listado");
  } else {
    viewer.resize(900, 640);
    Save(viewer.grab().toImage(), viewerShot_);
  }
  viewerShot_.clear();
}

BoxAnswer ShotHost::MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                               BoxButtons buttons) {
  if (boxShot_.empty() || caption != boxCaption_ || buttons != BoxButtons::Ok)
    return HeadlessHost::MessageBox(text, caption, icon, buttons);
  Save(WithMessageBox(PaintScreen(), CoreToQt(caption), BoxText(text), icon != BoxIcon::Information),
       boxShot_);
  boxShot_.clear();
  return HeadlessHost::MessageBox(text, caption, icon, buttons);
}

void ShotHost::Fail(const std::string& what) {
  failures_.push_back(what + "\n" + ScreenText());
}

void ShotHost::Save(const QImage& image, const std::string& name) {
  const QString path = QDir(outDir_).filePath(QString::fromStdString(name) + ".png");
  if (!image.save(path, "PNG")) {
    Fail("no se pudo escribir " + path.toStdString());
    return;
  }
  saved_.push_back(name);
  if (echo_) std::printf("== %s\n%s\n", name.c_str(), ScreenText().c_str());
}

}  // namespace vantu::manual
