// The selection screen: a first start, new and existing sets, refused
// input, badly copied sets, another directory and the exit question.
#include <gtest/gtest.h>

#include "selection_fixture.h"
#include "storage/set_in_use.h"

namespace vantu {
namespace {

using test::SelectionTest;
namespace fs = std::filesystem;

constexpr int kF2 = kKeyF2;
constexpr int kF3 = kKeyF3;

TEST_F(SelectionTest, FirstStartInAnEmptyDirectoryCreatesANewRama) {
  // As the program opens sets: the files created write the marker first.
  FileSetGuards().markBeforeWriting = true;
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find(" SELECCION INICIAL "), std::string::npos);
    EXPECT_NE(ScreenRow(3).find("Consultor: Ana Rojas"), std::string::npos);
    EXPECT_EQ(ScreenRow(5).substr(4, 31), "Fecha Hoy (dd/mm/aa) : 07/12/26");
    EXPECT_NE(ScreenRow(kSetListTop).find(" SELECCION RAMAS/OBRAS "), std::string::npos);
    EXPECT_EQ(SetList().entries.size(), 0u);
    PushKey(kF2);
  });
  host.TypeKeys({kF3});
  host.TypeText("a");
  host.TypeKeys({kKeyEnter});
  host.QueueStep([this] {
    EXPECT_EQ(ScreenRow(8).substr(27, 1), "A");
    EXPECT_EQ(ScreenRow(8).substr(31, 26), "<<< ... Rama nueva ... >>>");
    EXPECT_TRUE(Exists("Apr01dat.A"));
    EXPECT_FALSE(Exists("Apr02dat.A"));
    PushKey(kKeyEnter);  // no Obra
  });
  host.TypeKeys({kKeyEnter});  // accept
  EXPECT_EQ(RunSelection(), -1);
  EXPECT_TRUE(host.ScriptDone());

  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[0].text, "No existen RAMAS y/o OBRAS que copiar, borrar, Etc.");
  EXPECT_EQ(host.Boxes()[1].text, "No Existen RAMAS y/o 0BRAS para regenerarle los archivos");
  for (const auto& b : host.Boxes()) EXPECT_EQ(b.caption, "Advertencia");

  for (const char* f : {"Apr02dat.A", "Apr03ixc.A", "Apr05dat.A"}) EXPECT_TRUE(Exists(f)) << f;
  const auto bytes = FileBytes("Apr01dat.A");
  ASSERT_EQ(bytes.size(), 304u);
  const uint8_t* rec = bytes.data() + 152;
  for (int i = 0; i < 112; ++i) EXPECT_EQ(rec[i], i == 40 ? 1 : 0) << "byte " << i;
  for (int g = 0; g < 4; ++g) EXPECT_EQ(LoadReal10(rec + 112 + 10 * g), 1.0L) << "factor " << g;

  EXPECT_TRUE(Shell().generalDataNext);
  EXPECT_FALSE(Shell().obraSelected);
  EXPECT_FALSE(Shell().haltAtClose);
  EXPECT_EQ(Selection().HeaderLine, "RAMA : [A] - << Rama sin Nombre >>");
  EXPECT_EQ(ReadInUseFields().rama, "A");
  EXPECT_EQ(ReadInUseFields().directory, dataDir.string());
  ASSERT_EQ(SetList().entries.size(), 1u);
  EXPECT_EQ(SetList().entries[0].code, "[A]");
}

TEST_F(SelectionTest, AnExistingRamaKeepsItsGeneralDataAndOpensAnObra) {
  MakeRama("B", "Vivienda", {{"07", "Casa Lopez"}}, 4);
  const auto before = FileBytes("Apr01dat.B");
  host.TypeText("B");
  host.TypeKeys({kKeyEnter});
  host.TypeText("07");
  host.TypeKeys({kKeyEnter});
  host.QueueStep([] {
    EXPECT_EQ(ScreenRow(8).substr(31, 16), "<<< Vivienda >>>");
    EXPECT_EQ(ScreenRow(9).substr(31, 18), "<<< Casa Lopez >>>");
    PushKey(kKeyEnter);
  });
  EXPECT_EQ(RunSelection(), -1);
  EXPECT_FALSE(Shell().generalDataNext);
  EXPECT_TRUE(Shell().obraSelected);
  EXPECT_EQ(Selection().HeaderLine, "OBRA : 07 - Casa Lopez");
  EXPECT_EQ(FileBytes("Apr01dat.B"), before);
  for (int n = 1; n <= 6; ++n) EXPECT_TRUE(Area(n).Data.isOpen) << n;
  EXPECT_EQ(SetList().selected, 1);  // the open Obra
}

TEST_F(SelectionTest, AnObraCodeOfOneCharacterIsRefused) {
  MakeRama("C", "Puentes");
  host.TypeText("C");
  host.TypeKeys({kKeyEnter});
  host.TypeText("1");
  host.TypeKeys({kKeyEnter});
  host.QueueStep([this] {
    EXPECT_NE(ScreenRow(25).find("Usar como minimo 2 caracteres"), std::string::npos);
    EXPECT_FALSE(Area(6).Data.isOpen);
    EXPECT_FALSE(Exists("Apr06dat.C1"));
  });
  host.TypeText("12");
  host.TypeKeys({kKeyEnter});
  host.QueueStep([] {
    EXPECT_EQ(ScreenRow(9).substr(31, 26), "<<< ... Obra nueva ... >>>");
    PushKey(kKeyEnter);
  });
  EXPECT_EQ(RunSelection(), -1);
  EXPECT_TRUE(Exists("Apr06dat.C12"));
  EXPECT_TRUE(Shell().generalDataNext);
}

TEST_F(SelectionTest, ARamaWithAFileCopiedFromAnotherSetStops) {
  MakeRama("A", "Original", {}, 3);
  MakeRama("B", "Otra", {}, 8);
  for (const char* f : {"dat", "ixc"})
    fs::copy_file(dataDir / (std::string("Apr03") + f + ".B"),
                  dataDir / (std::string("Apr03") + f + ".A"),
                  fs::copy_options::overwrite_existing);
  host.TypeText("A");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  host.TypeKeys({kKeyEnter});
  bool shown = false;
  host.QueueStep([&] {
    shown = ScreenContains("LOS ARCHIVOS FUERON MAL COPIADOS") &&
            ScreenContains("O HAN SIDO PARCIALMENTE BORRADOS") &&
            ScreenContains("..Para salir oprima cualquier tecla..");
    PushKey(kKeyEsc);
  });
  EXPECT_EQ(RunSelection(), 1);
  EXPECT_TRUE(shown);
}

TEST_F(SelectionTest, AnotherDirectoryClosesTheOpenSetAndClearsBothFields) {
  MakeRama("A", "Primera", {{"01", "Obra uno"}});
  host.TypeText("A");
  host.TypeKeys({kKeyEnter});
  host.TypeText("01");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  ASSERT_EQ(RunSelection(), -1);
  ASSERT_TRUE(Area(6).Data.isOpen);

  const fs::path other = root / "otros";
  fs::create_directories(other);
  Shell().openingWork = false;  // command A: starts at the accept field
  host.TypeKeys({kKeyHome, kKeyHome, kKeyHome});
  host.AnswerFileDialog(HeadlessHost::DialogOutcome::Accept, (other / "Apr01dat.Z").string());
  host.TypeKeys({kKeyEnter});
  host.QueueStep([&] {
    for (int n = 1; n <= 6; ++n) EXPECT_FALSE(Area(n).Data.isOpen) << n;
    EXPECT_EQ(Selection().RamaCode, "");
    EXPECT_EQ(Selection().ObraCode, "");
    EXPECT_EQ(ScreenRow(8).substr(27, 40), std::string(40, ' '));
    EXPECT_EQ(ScreenRow(9).substr(27, 2), "  ");
    EXPECT_EQ(Selection().DataDirectory, other.string());
    PushKey(kKeyEnter);  // no Rama yet: refused
  });
  host.QueueStep(
      [] { EXPECT_NE(ScreenRow(25).find("Primero debe entrar la RAMA"), std::string::npos); });
  host.TypeText("B");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  host.TypeKeys({kKeyEnter});
  EXPECT_EQ(RunSelection(), -1);
  ASSERT_EQ(host.FileDialogs().size(), 1u);
  EXPECT_EQ(host.FileDialogs()[0].title, "Seleccionar Directorio");
  EXPECT_EQ(host.FileDialogs()[0].filter, "Subdirectorios y Ramas|Apr01dat.?");
  EXPECT_EQ(host.Settings()["\\Presupuesto\\sProyDir"], other.string());
  EXPECT_TRUE(fs::exists(other / "Apr05dat.B"));
  EXPECT_EQ(fs::current_path(), other);
  EXPECT_TRUE(Exists("Apr06dat.A01"));  // nothing lost in the old directory
}

TEST_F(SelectionTest, LeavingAtTheScreenRemovesANewRamaAndEndsNormally) {
  MarkSetInUseAs(dataDir.string(), "X", "");  // an earlier set of this run
  Shell().openingWork = false;
  host.TypeKeys({kKeyHome, kKeyHome});
  host.TypeText("Q");
  host.TypeKeys({kKeyEnter});
  host.TypeKeys({kKeyAltX});
  host.AnswerBox(BoxAnswer::No);
  host.QueueStep([this] {
    EXPECT_TRUE(Exists("Apr01dat.Q"));  // still there after No
    PushKey(kKeyAltX);
  });
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_EQ(RunSelection(), 0);
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_EQ(host.Boxes()[1].text, "Desea abandonar ahora ?");
  EXPECT_EQ(host.Boxes()[1].caption, "Salir del Programa");
  EXPECT_FALSE(Exists("Apr01dat.Q"));
  EXPECT_EQ(ReadInUseFields().rama, "");
}

TEST_F(SelectionTest, ChangingToAnotherNewRamaRemovesTheFirstOne) {
  host.TypeText("M");
  host.TypeKeys({kKeyEnter});
  host.TypeKeys({kKeyHome});
  host.TypeText("N");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  host.TypeKeys({kKeyEnter});
  EXPECT_EQ(RunSelection(), -1);
  EXPECT_FALSE(Exists("Apr01dat.M"));
  EXPECT_TRUE(Exists("Apr05dat.N"));
}

}  // namespace
}  // namespace vantu
