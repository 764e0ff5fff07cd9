#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <string>
#include <vector>

#include "gui/viewer_form.h"
#include "gui/viewer_text.h"

namespace vantu {
namespace {

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override { LastSearchText().clear(); }

  // Writes the listing bytes and opens a viewer on them, with the not-found
  // box replaced by a counter.
  void Open(const QByteArray& bytes) {
    path = dir.filePath("LPT");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    view = std::make_unique<TViewForm>();
    ASSERT_TRUE(view->LoadListing(path));
    view->notFoundNotice = [this] { ++notFound; };
  }
  void Find(const QString& text) {
    view->SearchEdit()->setText(text);
    view->Search();
  }
  int SelectionStart() const { return view->Text()->textCursor().selectionStart(); }
  QString Selected() const { return view->Text()->textCursor().selectedText(); }

  QTemporaryDir dir;
  QString path;
  std::unique_ptr<TViewForm> view;
  int notFound = 0;
};

TEST_F(ViewerTest, SearchMovesOnThenReportsNotFoundThenStartsFromTheSelection) {
  Open("uno TOTAL dos\r\ntres total cuatro\r\n");
  struct Step {
    const char* name;
    int start;  // -1: not found
  };
  const Step steps[] = {
      {"first occurrence", 4},          {"second occurrence", 19},   {"past the last", -1},
      {"again from the selection", 19}, {"past the last again", -1},
  };
  int misses = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    Find("total");
    if (s.start < 0) {
      EXPECT_EQ(notFound, ++misses);
      continue;
    }
    EXPECT_EQ(notFound, misses);
    EXPECT_EQ(SelectionStart(), s.start);
    EXPECT_EQ(Selected().toUpper(), "TOTAL");
  }
}

TEST_F(ViewerTest, MatchAtTheFirstCharacterIsFoundAndTheNextSearchMovesOn) {
  Open("ABC xyz ABC\n");
  Find("abc");
  EXPECT_EQ(notFound, 0);
  EXPECT_EQ(SelectionStart(), 0);
  EXPECT_EQ(Selected(), "ABC");
  Find("abc");
  EXPECT_EQ(SelectionStart(), 8);
}

TEST_F(ViewerTest, EmptySearchDoesNothingAndTextIsKeptBetweenOpenings) {
  Open("linea\n");
  Find("");
  EXPECT_EQ(notFound, 0);
  EXPECT_EQ(SelectionStart(), 0);
  Find("lin");
  EXPECT_EQ(view->SearchEdit()->text(), "LIN");  // typed text goes upper case
  view.reset();
  TViewForm second;
  EXPECT_EQ(second.SearchEdit()->text(), "LIN");
}

TEST_F(ViewerTest, ReducirAndAmpliarToggleSevenAndEightPoints) {
  Open("x\n");
  struct State {
    int points;
    const char* caption;
  };
  const State states[] = {{8, "Reducir"}, {7, "Ampliar"}, {8, "Reducir"}};
  for (size_t i = 0; i < std::size(states); ++i) {
    SCOPED_TRACE("after " + std::to_string(i) + " clicks");
    EXPECT_EQ(view->FontSize(), states[i].points);
    EXPECT_EQ(view->Text()->font().pointSize(), states[i].points);
    EXPECT_EQ(view->SizeButton()->text(), states[i].caption);
    view->SizeButton()->click();
  }
}

TEST_F(ViewerTest, CtrlKeysOtherThanHomeAndEndAreDiscarded) {
  Open("primera\nsegunda\ntercera\n");
  QPlainTextEdit* text = view->Text();
  const auto press = [text](int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(text, &down);
  };
  press(Qt::Key_A);
  EXPECT_FALSE(text->textCursor().hasSelection());
  press(Qt::Key_End);
  EXPECT_EQ(text->textCursor().position(), text->document()->characterCount() - 1);
  press(Qt::Key_Home);
  EXPECT_EQ(text->textCursor().position(), 0);
}

TEST(ViewerText, ShapeBytesBecomeBoxPieces) {
  struct Case {
    unsigned char byte;
    char16_t shown;
  };
  const Case cases[] = {
      {176, 0x2591}, {179, 0x2502}, {196, 0x2500}, {205, 0x2550}, {209, 0x00D1}, {219, 0x2588},
      {223, 0x2580}, {224, 0x2564}, {225, 0x00E1}, {241, 0x00F1}, {'A', 'A'},    {128, 0x20AC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.byte));
    EXPECT_EQ(ListingCharToUnicode(c.byte), c.shown);
  }
  EXPECT_EQ(ListingToUnicode("a\r\nb\rc\n"), "a\nb\nc\n");
}

TEST(ViewerText, UnreadableListingIsReportedInsteadOfAnEmptyViewer) {
  QTemporaryDir dir;
  EXPECT_FALSE(LoadListingText(dir.filePath("missing")).has_value());
  EXPECT_FALSE(LoadListingText(dir.path()).has_value());  // a folder

  QString shown;
  QTimer::singleShot(0, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  ShowListing(nullptr, dir.filePath("missing").toStdString());
  EXPECT_TRUE(shown.startsWith("No se puede leer el archivo del listado")) << shown.toStdString();
}

}  // namespace
}  // namespace vantu
