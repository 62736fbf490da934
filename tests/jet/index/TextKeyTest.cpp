#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "jet/JetError.h"
#include "jet/index/IndexKeyEncoder.h"
#include "jet/index/TextSortOrder.h"
#include "jet/index/sortorder/CharacterTables.h"
#include "tests/jet/index/TextKeyOf.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;
using Testing::TextKeyOf;

Column TextColumn(uint16_t sortOrder = kGeneralCollation, uint8_t version = 0) {
  Column column;
  column.name = u"Title";
  column.type = ColumnType::Text;
  column.rawType = static_cast<uint8_t>(ColumnType::Text);
  column.sortOrder = sortOrder;
  column.sortOrderVersion = version;
  return column;
}

const FormatLayout& Jet3() { return LayoutOf(FileFormat::Jet3); }
const FormatLayout& Jet4() { return LayoutOf(FileFormat::Jet4); }
const FormatLayout& Ace() { return LayoutOf(FileFormat::Ace14); }

Bytes Legacy(std::u16string text, bool ascending = true) { return TextKeyOf(std::move(text), ascending, TextColumn(), Jet4()); }
Bytes General(std::u16string text, bool ascending = true) {
  return TextKeyOf(std::move(text), ascending, TextColumn(kGeneralCollation, 1), Ace());
}
Bytes General97(std::u16string text, bool ascending = true) { return TextKeyOf(std::move(text), ascending, TextColumn(), Jet3()); }

TEST(TextSortOrderTest, GeneralIsTheCollation0409AndItsVersion) {
  EXPECT_EQ(TextSortOrderOf(TextColumn(), Jet3()), TextSortOrder::General97);
  EXPECT_EQ(TextSortOrderOf(TextColumn(kGeneralCollation, 0), Jet4()), TextSortOrder::GeneralLegacy);
  EXPECT_EQ(TextSortOrderOf(TextColumn(kGeneralCollation, 0), Ace()), TextSortOrder::GeneralLegacy);
  EXPECT_EQ(TextSortOrderOf(TextColumn(kGeneralCollation, 1), Ace()), TextSortOrder::General);
}

TEST(TextSortOrderTest, OtherSortOrdersAreRefusedNamingTheColumnAndTheSortOrder) {
  const std::vector<std::pair<Column, const FormatLayout*>> others = {
      {TextColumn(0x0419), &Jet4()}, {TextColumn(0x0419), &Jet3()}, {TextColumn(kGeneralCollation, 2), &Ace()}};
  for (const auto& [column, format] : others) {
    try {
      TextSortOrderOf(column, *format);
      ADD_FAILURE() << "accepted " << column.sortOrder;
    } catch (const JetError& error) {
      const std::string what = error.what();
      EXPECT_EQ(error.Number(), JetErrorNumber::kNotSupported);
      EXPECT_NE(what.find("Title"), std::string::npos) << what;
      EXPECT_NE(what.find(column.sortOrder == 0x0419 ? "0x0419" : "version 2"), std::string::npos) << what;
    }
  }
  // A null value of such a column is refused too.
  Bytes key;
  EXPECT_THROW(AppendKeyColumn(key, TextColumn(0x0419), true, KeyValue{}, Jet4()), JetError);
}

TEST(TextKeyTest, GeneralLegacyKeysOfLettersIgnoreCaseAndTrailingSpaces) {
  EXPECT_EQ(Legacy(u"abc"), (Bytes{0x7F, 0x4A, 0x4C, 0x4D, 0x01, 0x00}));
  EXPECT_EQ(Legacy(u"ABC  "), Legacy(u"abc"));
  EXPECT_EQ(Legacy(u"abc", false), (Bytes{0x80, 0xB5, 0xB3, 0xB2, 0xFE, 0xFF, 0x00}));
  EXPECT_NE(Legacy(u"abc\t"), Legacy(u"abc"));  // only U+0020 is dropped
  EXPECT_EQ(Legacy(u""), (Bytes{0x7F, 0x01, 0x00}));
}

TEST(TextKeyTest, GeneralLegacyAccentsGoToTheExtraPartAndMarksJoinTheirLetter) {
  EXPECT_EQ(Legacy(u"caf\u00E9"), (Bytes{0x7F, 0x4D, 0x4A, 0x53, 0x51, 0x01, 0x02, 0x02, 0x02, 0x0E, 0x00}));
  EXPECT_EQ(Legacy(u"e\u0301"), (Bytes{0x7F, 0x51, 0x01, 0x0E, 0x00}));
  EXPECT_EQ(Legacy(u"e\u0301"), Legacy(u"\u00E9"));
  EXPECT_LT(Legacy(u"cafe"), Legacy(u"caf\u00E9"));
}

TEST(TextKeyTest, GeneralLegacyHyphensAreUnprintablesAfterTheText) {
  EXPECT_EQ(Legacy(u"AA-AA"),
            (Bytes{0x7F, 0x4A, 0x4A, 0x4A, 0x4A, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0F, 0x06, 0x82, 0x00}));
  // So it sorts right after the same text without the hyphen.
  EXPECT_LT(Legacy(u"AAAA"), Legacy(u"AA-AA"));
  EXPECT_LT(Legacy(u"AA-AA"), Legacy(u"AAAB"));
}

TEST(TextKeyTest, GeneralKeysUseTheirOwnTables) {
  EXPECT_EQ(General(u"abc"), (Bytes{0x7F, 0x0E, 0x02, 0x0E, 0x09, 0x0E, 0x0A, 0x01, 0x00}));
  EXPECT_EQ(General(u"ABC"), General(u"abc"));
  EXPECT_NE(General(u"abc"), Legacy(u"abc"));
}

TEST(TextKeyTest, GeneralSurrogatePairsAreComputed) {
  // U+1F600: high unit D83D, low unit DE00 (place 512 in its block).
  EXPECT_EQ(General(u"\U0001F600"), (Bytes{0x7F, 0xB0, 0x3F, 0xB6, 0xFC, 0x01, 0x3F, 0x3F, 0x00}));
}

TEST(TextKeyTest, General97KeysHaveANibbleExtraPart) {
  EXPECT_EQ(General97(u"caf\u00E9"), (Bytes{0x7F, 0x62, 0x60, 0x67, 0x66, 0x02, 0x24, 0x00}));
  EXPECT_EQ(General97(u"caf\u00E9", false), (Bytes{0x80, 0x9D, 0x9F, 0x98, 0x99, 0xFD, 0xDB, 0xFF}));
  EXPECT_EQ(General97(u"CAF\u00C9"), General97(u"caf\u00E9"));
  EXPECT_EQ(General97(u""), (Bytes{0x7F, 0x00}));
}

TEST(TextKeyTest, General97TakesCharactersBeyondLatin1ByTheirWindows1252Byte) {
  EXPECT_EQ(SortOrder::General97ByteOf(u'\u0152'), 0x8C);
  EXPECT_EQ(SortOrder::General97ByteOf(u'\u2122'), 0x99);
  EXPECT_EQ(SortOrder::General97ByteOf(u'\u4E00'), 0);
  EXPECT_NE(General97(u"a\u0152b"), General97(u"ab"));
  EXPECT_EQ(General97(u"a\u4E00b"), General97(u"ab"));  // no Windows-1252 byte: ignored
}

TEST(TextKeyTest, OnlyTheFirst255UnitsCount) {
  const std::u16string longText(300, u'a');
  for (Bytes (*keyOf)(std::u16string, bool) : {&Legacy, &General97}) {
    EXPECT_EQ(keyOf(longText, true), keyOf(longText.substr(0, 255), true));
    EXPECT_NE(keyOf(longText, true), keyOf(longText.substr(0, 254), true));
  }
}

TEST(TextKeyTest, AGeneralKeyLongerThanTheEngineReproducesIsRefused) {
  EXPECT_NO_THROW(General(std::u16string(200, u'a')));
  try {
    General(std::u16string(255, u'a'));  // two inline bytes a letter
    ADD_FAILURE() << "a 510-byte General key was made";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kNotSupported);
  }
}

TEST(CharacterTablesTest, TablesCoverTheirCharactersWithTheCodesOfTheData) {
  using SortOrder::CharKind;
  EXPECT_EQ(SortOrder::kGeneralLegacy.size, 0x10000u);
  EXPECT_EQ(SortOrder::kGeneral.size, 0x10000u);
  EXPECT_EQ(SortOrder::kGeneral97.size, 0x100u);
  const SortOrder::CharCode a = SortOrder::kGeneralLegacy.Lookup(u'a');
  EXPECT_EQ(a.kind, CharKind::Simple);
  EXPECT_EQ(Bytes(a.inlineBytes.begin(), a.inlineBytes.end()), Bytes{0x4A});
  const SortOrder::CharCode eAcute = SortOrder::kGeneralLegacy.Lookup(0xE9);
  EXPECT_EQ(eAcute.kind, CharKind::International);
  EXPECT_EQ(Bytes(eAcute.extraBytes.begin(), eAcute.extraBytes.end()), Bytes{0x0E});
  EXPECT_EQ(SortOrder::kGeneralLegacy.Lookup(0x0000).kind, CharKind::Ignored);
  EXPECT_EQ(SortOrder::kGeneralLegacy.Lookup(u'-').kind, CharKind::Unprintable);
  EXPECT_EQ(SortOrder::kGeneral.Lookup(0xD800).kind, CharKind::Surrogate);
  EXPECT_EQ(SortOrder::kGeneral.Lookup(0xDFFF).kind, CharKind::Surrogate);
  EXPECT_EQ(SortOrder::kGeneral.Lookup(0x0301).kind, CharKind::UnprintableExtension);
  EXPECT_EQ(SortOrder::kGeneral97.Lookup(u'C').kind, CharKind::Significant);
  EXPECT_THROW(SortOrder::kGeneral97.Lookup(0x100), JetError);
}

}  // namespace
}  // namespace Jet
