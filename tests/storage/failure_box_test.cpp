#include <cerrno>

#include "console/console.h"
#include "storage_fixture.h"

namespace vantu::test {
namespace {

class FailureBoxTest : public StorageTest {};

TEST_F(FailureBoxTest, BoxIsFramedAtItsPlaceInItsColours) {
  ExpectFailureBox(kStatusReadError, [] { FailEngine(kStatusReadError); });
  const ScreenState& s = Screen();
  struct Corner {
    int col, row;
    uint8_t ch;
  };
  const Corner corners[] = {{5, 18, 201}, {75, 18, 187}, {5, 23, 200}, {75, 23, 188},
                            {5, 20, 186}, {75, 21, 186}, {40, 23, 205}};
  for (const Corner& c : corners) {
    SCOPED_TRACE(std::to_string(c.col) + "," + std::to_string(c.row));
    EXPECT_EQ(s.At(c.col, c.row).ch, c.ch);
    EXPECT_EQ(s.At(c.col, c.row).fg, ColourOf(10));
    EXPECT_EQ(s.At(c.col, c.row).bg, ColourOf(1));
  }
  EXPECT_EQ(ReadScreenText(23, 18, 35), " Falla en el Manejador de Archivos ");
  EXPECT_EQ(ReadScreenText(8, 20, 32), "100: Error de lectura de archivo");
  // Advice centred in the 67 columns inside: start 33 - 46 / 2 = 10.
  EXPECT_EQ(ReadScreenText(16, 22, 46), "Use KORVEN - Si persiste use Copia de Respaldo");
  EXPECT_NE(s.At(4, 20).bg, ColourOf(1));  // nothing drawn outside the box
  // Afterwards: full-screen window, cursor on row 24.
  EXPECT_EQ(WhereY(), 24);
  EXPECT_EQ(WindMax(), (79 | (24 << 8)));
  EXPECT_GE(host.SleptMs(), 100);
}

TEST_F(FailureBoxTest, StatusTextsAndAdvice) {
  struct Case {
    int code;
    const char* message;
    const char* advice;
  };
  const char* usual = "Use KORVEN - Si persiste use Copia de Respaldo";
  const Case cases[] = {
      {4, "4: Hay demasiados archivos abiertos", "El CONFIG.SYS debe incluir FILES = 20"},
      {1003, "1003: Longitud de registro de datos diferente de la inicial",
       "Use KORVEN para actualizar la Version"},
      {1004, "1004: Archivo Indices con Llave o Pagina diferente de la inicial", usual},
      {12, "12: Inavalido Codigo de acceso al archivo", usual},
      {7, "7: Error no especificado", usual},
      {1007, "1007: Pagina de Indices invalida", usual},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(StatusMessage(c.code), c.message);
    EXPECT_EQ(AdviceLine(c.code), c.advice);
  }
}

TEST_F(FailureBoxTest, OperatingSystemErrorsMapOntoTheTable) {
  const struct {
    int err;
    int16_t status;
  } cases[] = {{ENOENT, 2},
               {ENOTDIR, 3},
               {EMFILE, 4},
               {EACCES, kStatusAccessDenied},
               {EROFS, kStatusAccessDenied},
               {EBADF, 6},
               {ENOMEM, 8},
               {EXDEV, 17},
               {EIO, 100},
               {ENOSPC, kStatusDiskFull},
               {EBUSY, kStatusAlreadyOpen}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    EXPECT_EQ(StatusFromOsError(c.err, 100), c.status);
  }
}

TEST_F(FailureBoxTest, AFailureWhileEndingStopsWithoutAnotherBox) {
  ExpectFailureBox(kStatusWriteError, [] { FailEngine(kStatusWriteError); });
  ResetScreen();
  EXPECT_THROW(FailEngine(kStatusReadError), Halt);
  EXPECT_FALSE(ScreenContains("Falla en el Manejador"));
}

}  // namespace
}  // namespace vantu::test
