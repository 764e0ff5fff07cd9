// The built manual: every picture the chapters name was taken and stands
// beside the HTML copy, the PDF holds one image per picture placed, every
// chapter has its HTML page, and no screenshot is left unused.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <string>

namespace {

const QString kChapters = QStringLiteral(VANTU_MANUAL_CHAPTERS);
const QString kBuilt = QStringLiteral(VANTU_MANUAL_BUILT);

QString ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList ChapterFiles() {
  return QDir(kChapters).entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
}

// The pictures of every chapter, in order, repeats included.
QStringList PlacedPictures() {
  QStringList placed;
  const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)\s]+)\))"));
  for (const QString& md : ChapterFiles())
    for (auto it = image.globalMatch(ReadAll(QDir(kChapters).filePath(md))); it.hasNext();)
      placed << it.next().captured(1);
  return placed;
}

TEST(ManualBuild, EveryPictureNamedByAChapterWasTakenAndCopied) {
  const QStringList placed = PlacedPictures();
  ASSERT_GE(placed.size(), 12) << "the chapters show the program's screens";
  for (const QString& name : placed) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_TRUE(QFile::exists(kBuilt + "/manual/" + name));
    EXPECT_TRUE(QFile::exists(kBuilt + "/manual/html/" + name));
  }
}

TEST(ManualBuild, EveryScreenshotTakenIsShownSomewhere) {
  const QStringList placed = PlacedPictures();
  const QStringList taken =
      QDir(kBuilt + "/manual").entryList({QStringLiteral("*.png")}, QDir::Files);
  ASSERT_FALSE(taken.isEmpty());
  for (const QString& name : taken) EXPECT_TRUE(placed.contains(name)) << name.toStdString();
}

TEST(ManualBuild, EachChapterHasItsHtmlPageListedInTheIndex) {
  const QString index = ReadAll(kBuilt + "/manual/html/index.html");
  ASSERT_FALSE(index.isEmpty());
  for (const QString& md : ChapterFiles()) {
    const QString page = QString(md).replace(QStringLiteral(".md"), QStringLiteral(".html"));
    SCOPED_TRACE(page.toStdString());
    EXPECT_TRUE(index.contains("href=\"" + page + "\""));
    const QString html = ReadAll(kBuilt + "/manual/html/" + page);
    EXPECT_TRUE(html.contains(QStringLiteral("<html lang=\"es\">")));
  }
  // A picture of a chapter page names its file beside the page.
  EXPECT_TRUE(ReadAll(kBuilt + "/manual/html/02-seleccion.html").contains("src=\"seleccion.png\""));
}

TEST(ManualBuild, ThePdfHoldsOneImagePerPicturePlaced) {
  if (std::system("pdfimages -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdfimages (poppler-utils) is missing";
  const std::string command = "pdfimages -list '" + (kBuilt + "/Vantu.pdf").toStdString() + "'";
  FILE* out = popen(command.c_str(), "r");
  ASSERT_NE(out, nullptr);
  // One row per image drawn: page, number, type ("image"; a picture's
  // transparency would add an "smask" row).
  qsizetype images = 0;
  char line[512];
  while (std::fgets(line, sizeof line, out) != nullptr) {
    int page = 0, number = 0;
    char type[16] = {};
    if (std::sscanf(line, "%d %d %15s", &page, &number, type) == 3 && std::string(type) == "image")
      ++images;
  }
  ASSERT_EQ(pclose(out), 0);
  EXPECT_EQ(images, PlacedPictures().size());
}

}  // namespace
