#include "toolkit/error_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "toolkit_fixture.h"

namespace vantu {
namespace {

class ErrorFileTest : public test::ToolkitTest {
 protected:
  std::string Path() const { return (dir_ / "ApError").string(); }
};

TEST_F(ErrorFileTest, RecordsHaveTheStoredByteLayout) {
  struct Case {
    const char* name;
    ErrorEntry entry;
    std::string bytes;
  };
  ErrorEntry content;
  content.severity = kSevContent;
  content.targetKind = 2;
  content.errCode = "01001 ";
  content.nameIndex = 2;
  content.missing = {0, 1, 9};
  ErrorEntry cross;
  cross.hidden = true;
  cross.severity = kSevCross;
  cross.targetKind = 3;
  cross.errCode = "010002";
  cross.nameIndex = 5;
  cross.detailsText = "------";
  cross.variant = 1;
  const Case cases[] = {
      {"content", content,
       std::string("\0\0\x02\x06"
                   "01001 \x02\x03\0\0\x01\x09\0\0",
                   19)},
      {"cross", cross,
       std::string("\x01\x01\x03\x06"
                   "010002\x05\x06------\x01",
                   19)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(EncodeErrorEntry(c.entry), c.bytes);
    ErrorEntry back = DecodeErrorEntry(c.bytes);
    EXPECT_EQ(back.hidden, c.entry.hidden);
    EXPECT_EQ(back.errCode, c.entry.errCode);
    EXPECT_EQ(back.nameIndex, c.entry.nameIndex);
    EXPECT_EQ(back.variant, c.entry.variant);
    if (c.entry.severity == kSevContent) {
      EXPECT_EQ(back.missing, c.entry.missing);
    } else {
      EXPECT_EQ(back.detailsText, c.entry.detailsText);
    }
  }
}

TEST_F(ErrorFileTest, DamagedBytesStayInsideTheRecord) {
  struct Case {
    const char* name;
    std::string bytes;
    size_t missing;
    std::string code;
  };
  const Case cases[] = {
      {"count above four",
       std::string("\0\0\x02\xFF"
                   "ABCDEF\x01\x09\0\x01\x02\x03\x04\0",
                   19),
       4, "ABCDEF"},
      {"negative count",
       std::string("\0\0\x02\x03"
                   "ABC   \x01\xFF\xFF\x01\x02\x03\x04\0",
                   19),
       0, "ABC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ErrorEntry e = DecodeErrorEntry(c.bytes);
    EXPECT_EQ(e.missing.size(), c.missing);
    EXPECT_EQ(e.errCode, c.code);
  }
}

TEST_F(ErrorFileTest, FileReadWriteAndHide) {
  std::vector<ErrorEntry> records(3);
  records[1].errCode = "01002";
  ASSERT_TRUE(WriteErrorFile(Path(), records));
  {  // a torn last record is not read
    std::ofstream out(Path(), std::ios::binary | std::ios::app);
    out << "\x01\x02\x03";
  }
  EXPECT_EQ(ReadErrorFile(Path()).size(), 3u);
  EXPECT_TRUE(SetErrorHidden(Path(), 1));
  EXPECT_FALSE(SetErrorHidden(Path(), 3));
  EXPECT_FALSE(SetErrorHidden(Path(), -1));
  std::vector<ErrorEntry> back = ReadErrorFile(Path());
  EXPECT_FALSE(back[0].hidden);
  EXPECT_TRUE(back[1].hidden);
  EXPECT_EQ(back[1].errCode, "01002");
  EXPECT_TRUE(ReadErrorFile((dir_ / "nada").string()).empty());
}

}  // namespace
}  // namespace vantu
