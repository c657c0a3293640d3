// Field list, both record layouts and the conversions between them.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>

#include "inidb/caller_record.h"
#include "inidb/db_key.h"
#include "inidb/field_list.h"

namespace {

struct CallerFields {
  TDBFieldInfo Name{"CallerName", 20};
  TDBFieldInfo Number{"CallerID", 20};
  TDBFieldList List{&Name, &Number};
};

std::array<char, 42> Internal(const TCallerRecord& record, const TDBFieldList& fields) {
  std::array<char, 42> out;
  out.fill('\x7f');
  StrsToPChars(fields, {reinterpret_cast<const char*>(&record), sizeof record}, out);
  return out;
}

}  // namespace

TEST(FieldInfo, ConstructorsSetKindAndLength) {
  const TDBFieldInfo text("Name", 20);
  EXPECT_TRUE(text.IsString);
  EXPECT_EQ(text.MaxLen, 20);
  const TDBFieldInfo number("Age");
  EXPECT_FALSE(number.IsString);
  EXPECT_EQ(number.MaxLen, 4);
  const TDBFieldInfo copy(text);
  EXPECT_EQ(copy.FieldName, "Name");
  EXPECT_EQ(copy.MaxLen, 20);
  EXPECT_TRUE(copy.IsString);
}

TEST(FieldInfo, RecordSizeHasNoPadding) {
  TDBFieldInfo name("Name", 20), age("Age"), code("Code", 3);
  EXPECT_EQ(RecSize({}), 0u);
  EXPECT_EQ(RecSize({&name, &age, &code}), 21u + 4u + 4u);
}

TEST(CallerRecord, LayoutIsTwoShortStrings) {
  EXPECT_EQ(sizeof(TCallerRecord), 42u);
  EXPECT_EQ(offsetof(TCallerRecord, CallerID), 21u);
  const TCallerRecord record = MakeCallerRecord("Bob", "555");
  const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(std::memcmp(bytes + 1, "Bob", 3), 0);
  EXPECT_EQ(bytes[21], 3);
  EXPECT_EQ(std::memcmp(bytes + 22, "555", 3), 0);
}

TEST(CallerRecord, SetCutsToTwentyBytesWithoutSplittingCharacters) {
  TCallerRecord record;
  record.CallerName.Set("abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(record.CallerName.Get(), "abcdefghijklmnopqrst");
  // 19 ASCII bytes and a two-byte character: the character does not fit.
  record.CallerName.Set(std::string(19, 'x') + "\xC3\xA9");
  EXPECT_EQ(record.CallerName.Get(), std::string(19, 'x'));
  record.CallerName.Length = 200;  // broken length byte: never read past the field
  EXPECT_EQ(record.CallerName.Get().size(), 20u);
}

TEST(TextCut, NeverSplitsUtf8AndKeepsInvalidBytes) {
  EXPECT_EQ(CutText("\xE2\x82\xAC\xE2\x82\xAC", 4), "\xE2\x82\xAC");  // euro signs
  EXPECT_EQ(CutText("ab\xF0\x9F\x98\x80", 5), "ab");
  EXPECT_EQ(CutText("ab\xFF\xFE", 3), "ab\xFF");
  EXPECT_EQ(CutText("short", 31), "short");
  EXPECT_EQ(CutText("", 0), "");
}

TEST(KeyString, CutsToThirtyOneBytes) {
  const TDBKeyStr key(std::string(40, 'k'));
  EXPECT_EQ(key.size(), 31u);
  const TDBKeyStr umlauts(std::string(30, 'a') + "\xC3\xBC");
  EXPECT_EQ(umlauts.str(), std::string(30, 'a'));
  const TDBKeyStr fromLiteral = "Alice";
  EXPECT_EQ(fromLiteral.str(), "Alice");
}

TEST(Conversion, EmptyFieldBecomesLoneZeroAndBack) {
  CallerFields f;
  const TCallerRecord record = MakeCallerRecord("", "");
  const auto internal = Internal(record, f.List);
  EXPECT_EQ(internal[0], '\0');
  EXPECT_EQ(internal[21], '\0');
  TCallerRecord back = MakeCallerRecord("junk", "junk");
  PCharsToStrs(f.List, internal, {reinterpret_cast<char*>(&back), sizeof back});
  EXPECT_EQ(back.CallerName.Length, 0);
  EXPECT_EQ(back.CallerID.Length, 0);
}

TEST(Conversion, FullTwentyCharacterNameStaysInsideItsField) {
  CallerFields f;
  const TCallerRecord record = MakeCallerRecord("ABCDEFGHIJKLMNOPQRST", "1");
  const auto internal = Internal(record, f.List);
  EXPECT_EQ(std::string(internal.data(), 20), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(internal[20], '\0');
  EXPECT_EQ(std::string(&internal[21]), "1");
}

TEST(Conversion, NumberStartsAtOffset21WhateverTheNameLength) {
  CallerFields f;
  const auto internal = Internal(MakeCallerRecord("Bob", "555"), f.List);
  EXPECT_EQ(std::string(&internal[0]), "Bob");
  EXPECT_EQ(std::string(&internal[21]), "555");
}

TEST(Conversion, IntegerAfterStringIsUnalignedLittleEndian) {
  TDBFieldInfo name("Name", 20), age("Age");
  const TDBFieldList list{&name, &age};
  std::array<char, 25> strs{}, internal{}, back{};
  strs[0] = 2;
  strs[1] = 'J';
  strs[2] = 'o';
  const std::int32_t value = -5;
  std::memcpy(&strs[21], &value, 4);
  StrsToPChars(list, strs, internal);
  EXPECT_EQ(static_cast<unsigned char>(internal[21]), 0xFB);
  EXPECT_EQ(static_cast<unsigned char>(internal[24]), 0xFF);
  PCharsToStrs(list, internal, back);
  EXPECT_EQ(std::memcmp(&back[21], &value, 4), 0);
  EXPECT_EQ(back[0], 2);
}

TEST(Conversion, OversizedLengthByteIsCutToTheField) {
  TDBFieldInfo code("Code", 3), tail("Tail", 2);
  const TDBFieldList list{&code, &tail};
  std::array<char, 7> strs{}, internal{};
  strs[0] = static_cast<char>(250);
  std::memcpy(&strs[1], "XYZ", 3);
  strs[4] = 1;
  strs[5] = 't';
  StrsToPChars(list, strs, internal);
  EXPECT_EQ(std::string(internal.data()), "XYZ");
  EXPECT_EQ(std::string(&internal[4]), "t");
}

TEST(Conversion, TextWithoutZeroByteIsReadOnlyToTheField) {
  TDBFieldInfo code("Code", 3), tail("Tail", 2);
  const TDBFieldList list{&code, &tail};
  std::array<char, 7> internal{'A', 'B', 'C', 'D', 'x', 'y', 'z'}, strs{};
  PCharsToStrs(list, internal, strs);
  EXPECT_EQ(strs[0], 3);
  EXPECT_EQ(std::string(&strs[1], 3), "ABC");
  EXPECT_EQ(strs[4], 2);
  EXPECT_EQ(std::string(&strs[5], 2), "xy");
}

TEST(Conversion, RefusesRecordsSmallerThanTheFieldList) {
  CallerFields f;
  std::array<char, 41> small{};
  std::array<char, 42> full{};
  EXPECT_THROW(StrsToPChars(f.List, full, small), std::length_error);
  EXPECT_THROW(PCharsToStrs(f.List, small, full), std::length_error);
}

TEST(Conversion, EmptyFieldListConvertsNothing) {
  std::array<char, 4> a{'a', 'b', 'c', 'd'}, b{'w', 'x', 'y', 'z'};
  StrsToPChars({}, a, b);
  EXPECT_EQ(std::string(b.data(), 4), "wxyz");
}
