#include "toolkit/message_boxes.h"

#include <gtest/gtest.h>

#include "support/headless_fixture.h"

namespace vantu {
namespace {

class MessageBoxTest : public test::HeadlessTest {};

TEST_F(MessageBoxTest, AnswersBecomeTheirBytes) {
  struct Case {
    const char* name;
    char (*box)(const std::string&, const std::string&);
    BoxAnswer answer;
    BoxButtons buttons;
    char expected;
  };
  const Case cases[] = {
      {"alert ok", AlertBox, BoxAnswer::Ok, BoxButtons::Ok, 'S'},
      {"alert closed", AlertBox, BoxAnswer::Cancel, BoxButtons::Ok, ' '},
      {"confirm yes", ConfirmBox, BoxAnswer::Yes, BoxButtons::YesNo, 'S'},
      {"confirm no", ConfirmBox, BoxAnswer::No, BoxButtons::YesNo, 'N'},
      {"choice yes", ChoiceBox, BoxAnswer::Yes, BoxButtons::YesNoCancel, 'S'},
      {"choice no", ChoiceBox, BoxAnswer::No, BoxButtons::YesNoCancel, 'N'},
      {"choice cancel", ChoiceBox, BoxAnswer::Cancel, BoxButtons::YesNoCancel, 'C'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.AnswerBox(c.answer);
    EXPECT_EQ(c.box("Texto", "Titulo"), c.expected);
    ASSERT_FALSE(host.Boxes().empty());
    EXPECT_EQ(host.Boxes().back().buttons, c.buttons);
    EXPECT_EQ(host.Boxes().back().icon, BoxIcon::Warning);
    EXPECT_EQ(host.Boxes().back().caption, "Titulo");
  }
}

TEST_F(MessageBoxTest, DialogFailuresAreReportedAndGiveFalse) {
  using Outcome = HeadlessHost::DialogOutcome;
  host.AnswerPrintDialog(Outcome::Accept);
  host.AnswerPrintDialog(Outcome::Cancel);
  host.AnswerPrintDialog(Outcome::Fail);
  EXPECT_TRUE(ChoosePrinter());
  EXPECT_FALSE(ChoosePrinter());
  EXPECT_TRUE(host.Boxes().empty());
  EXPECT_FALSE(ChoosePrinter());
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].text, "Error del Sistema Operativo - Reintente");
  EXPECT_EQ(host.Boxes()[0].icon, BoxIcon::Error);

  host.AnswerFileDialog(Outcome::Accept, "/datos/Apr01dat.A");
  host.AnswerFileDialog(Outcome::Fail);
  std::string name = "previo";
  EXPECT_TRUE(ChooseFile("/datos", "Abrir", "Datos|Apr*", 4, name));
  EXPECT_EQ(name, "/datos/Apr01dat.A");
  ASSERT_EQ(host.FileDialogs().size(), 1u);
  EXPECT_EQ(host.FileDialogs()[0].filter, "Datos|Apr*");
  EXPECT_EQ(host.FileDialogs()[0].options, 4);
  EXPECT_FALSE(ChooseFile("/datos", "Abrir", "", 0, name));
  EXPECT_EQ(name, "/datos/Apr01dat.A");
  EXPECT_EQ(host.Boxes().back().text,
            "Error del Sistema Operativo - Fue Controlado - PuedeContinuar");
}

}  // namespace
}  // namespace vantu
