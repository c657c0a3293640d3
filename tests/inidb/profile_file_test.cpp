// The six profile-file operations: exact bytes after writes, reads of odd
// files, and what a write refuses.
#include <gtest/gtest.h>

#include <vector>

#include "inidb/profile_file.h"
#include "test_files.h"

namespace {

class ProfileFile : public ::testing::Test {
 protected:
  void SetUp() override { ClearProfileCache(); }
  std::string Read(std::string_view section, std::string_view key, std::string_view def = "",
                   std::size_t room = 256) {
    std::string buffer(room, '\x55');
    const std::size_t n = GetProfileString(Path, section, key, def, buffer.data(), room);
    EXPECT_LT(n, room == 0 ? 1 : room);
    if (room > 0) {
      EXPECT_EQ(buffer[n], '\0');
    }
    return buffer.substr(0, n);
  }
  std::vector<std::string> Keys(std::string_view section, std::size_t room = 4096) {
    std::string buffer(room, '\x55');
    const std::size_t n = GetProfileKeys(Path, section, buffer.data(), room);
    std::vector<std::string> keys;
    for (std::size_t pos = 0; pos < n && buffer[pos] != '\0';) {
      keys.emplace_back(buffer.c_str() + pos);
      pos += keys.back().size() + 1;
    }
    return keys;
  }

  TTempDir Dir;
  std::string Path = Dir.File("test.ini");
};

}  // namespace

TEST_F(ProfileFile, NewFileIsSectionAndEntryWithCrLf) {
  ASSERT_TRUE(WriteProfileString(Path, "Index", "None", "None"));
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\nNone=None\r\n");
}

TEST_F(ProfileFile, EmptyIndexThenCountGivesTheNewDatabaseFile) {
  ASSERT_TRUE(WriteProfileString(Path, "Index", "None", "None"));
  ASSERT_TRUE(DeleteProfileKey(Path, "Index", "None"));
  ASSERT_TRUE(WriteProfileString(Path, "Defaults", "_Entries", "0"));
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\n[Defaults]\r\n_Entries=0\r\n");
}

TEST_F(ProfileFile, NewKeyGoesToTheEndOfItsSection) {
  WriteBytes(Path, "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  ASSERT_TRUE(WriteProfileString(Path, "a", "z", "3"));
  EXPECT_EQ(ReadBytes(Path), "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n");
}

TEST_F(ProfileFile, NewKeyGoesBeforeBlankLinesThatSeparateSections) {
  WriteBytes(Path, "[A]\nx=1\n\n; about B\n\n[B]\n");
  ASSERT_TRUE(WriteProfileString(Path, "A", "z", "3"));
  EXPECT_EQ(ReadBytes(Path), "[A]\r\nx=1\r\n\r\n; about B\r\nz=3\r\n\r\n[B]\r\n");
}

TEST_F(ProfileFile, NewSectionGoesToTheEndAddingAMissingLineEnd) {
  WriteBytes(Path, "[A]\r\nx=1");
  ASSERT_TRUE(WriteProfileString(Path, "B", "y", "2"));
  EXPECT_EQ(ReadBytes(Path), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST_F(ProfileFile, ReplacingKeepsTheSpellingInTheFile) {
  WriteBytes(Path, "[First]\r\n  a = old \r\n");
  ASSERT_TRUE(WriteProfileString(Path, "FIRST", "A", "new"));
  EXPECT_EQ(ReadBytes(Path), "[First]\r\na=new\r\n");
}

TEST_F(ProfileFile, EmptyValueIsWrittenAsKeyEquals) {
  ASSERT_TRUE(WriteProfileString(Path, "S", "k", ""));
  EXPECT_EQ(ReadBytes(Path), "[S]\r\nk=\r\n");
  EXPECT_EQ(Read("S", "k", "default"), "");
}

TEST_F(ProfileFile, WritingTheSameValueLeavesTheFileAlone) {
  WriteBytes(Path, "[S]\nk=v\n");  // LF only: a rewrite would show as CR LF
  ASSERT_TRUE(WriteProfileString(Path, "s", "K", "v"));
  EXPECT_EQ(ReadBytes(Path), "[S]\nk=v\n");
}

TEST_F(ProfileFile, DeletingLastEntryLeavesTheHeader) {
  WriteBytes(Path, "[Index]\r\nBob=#\r\n[Defaults]\r\n_Entries=1\r\n");
  ASSERT_TRUE(DeleteProfileKey(Path, "Index", "bob"));
  EXPECT_EQ(ReadBytes(Path), "[Index]\r\n[Defaults]\r\n_Entries=1\r\n");
}

TEST_F(ProfileFile, DeletingASectionRemovesHeaderAndEntries) {
  WriteBytes(Path, "[A]\r\nx=1\r\n[Bob]\r\nCallerID=1\r\n;note\r\n[C]\r\n");
  ASSERT_TRUE(DeleteProfileSection(Path, "BOB"));
  EXPECT_EQ(ReadBytes(Path), "[A]\r\nx=1\r\n[C]\r\n");
}

TEST_F(ProfileFile, DeletingWhatDoesNotExistChangesNothing) {
  WriteBytes(Path, "[A]\nx=1\n");
  EXPECT_TRUE(DeleteProfileKey(Path, "A", "y"));
  EXPECT_TRUE(DeleteProfileKey(Path, "Z", "x"));
  EXPECT_TRUE(DeleteProfileSection(Path, "Z"));
  EXPECT_EQ(ReadBytes(Path), "[A]\nx=1\n");
  const std::string missing = Dir.File("missing.ini");
  EXPECT_TRUE(DeleteProfileKey(missing, "A", "x"));
  EXPECT_TRUE(DeleteProfileSection(missing, "A"));
  EXPECT_FALSE(FileExists(missing));
  EXPECT_FALSE(FileExists(missing + ".lock"));
}

TEST_F(ProfileFile, CommentsAndOddLinesSurviveAWrite) {
  WriteBytes(Path, "; top\r\n[A]\r\n# not a comment\r\njunk line\r\n[half\r\nx=1\r\n");
  ASSERT_TRUE(WriteProfileString(Path, "A", "x", "2"));
  EXPECT_EQ(ReadBytes(Path), "; top\r\n[A]\r\n# not a comment\r\njunk line\r\n[half\r\nx=2\r\n");
}

TEST_F(ProfileFile, WriteRefusesTextThatWouldChangeOtherEntries) {
  WriteBytes(Path, "[A]\r\nx=1\r\n");
  const std::string before = ReadBytes(Path);
  EXPECT_FALSE(WriteProfileString(Path, "A", "x", "1\r\n[B]"));
  EXPECT_FALSE(WriteProfileString(Path, "A", "x", "a\nb"));
  EXPECT_FALSE(WriteProfileString(Path, "A", "x", std::string("a\0b", 3)));
  EXPECT_FALSE(WriteProfileString(Path, "A", "k=v", "1"));
  EXPECT_FALSE(WriteProfileString(Path, "A", "[B]", "1"));
  EXPECT_FALSE(WriteProfileString(Path, "A", " ;c", "1"));
  EXPECT_FALSE(WriteProfileString(Path, "A]x", "k", "1"));
  EXPECT_FALSE(WriteProfileString(Path, "A\n", "k", "1"));
  EXPECT_FALSE(WriteProfileString(Path, "A", "k\r", "1"));
  EXPECT_EQ(ReadBytes(Path), before);
  // What reads back as written is fine.
  EXPECT_TRUE(WriteProfileString(Path, "A", "k]", "v=w;[x]#"));
  EXPECT_EQ(Read("A", "k]"), "v=w;[x]#");
}

TEST_F(ProfileFile, WriteIntoAMissingFolderFails) {
  EXPECT_FALSE(WriteProfileString(Dir.File("no/such/test.ini"), "A", "k", "v"));
  WriteBytes(Dir.File("plain"), "x");
  EXPECT_FALSE(WriteProfileString(Dir.File("plain/test.ini"), "A", "k", "v"));
}

TEST_F(ProfileFile, KeyListShowsEveryEntryInFileOrder) {
  WriteBytes(Path, "[S]\nb=1\n;c=2\nnoequals\na=3\nB=4\n[T]\nz=1\n[s]\nlater=1\n");
  EXPECT_EQ(Keys("s"), (std::vector<std::string>{"b", "a", "B"}));
  EXPECT_TRUE(Keys("none").empty());
}

TEST_F(ProfileFile, KeyListCutAtTheBufferEndsWithTwoZeros) {
  WriteBytes(Path, "[S]\nalpha=1\nbeta=2\n");
  std::string buffer(9, '\x55');
  EXPECT_EQ(GetProfileKeys(Path, "S", buffer.data(), 9), 7u);
  EXPECT_EQ(buffer, std::string("alpha\0b\0\0", 9));
  // Exactly fitting: reported the same way.
  std::string exact(12, '\x55');
  EXPECT_EQ(GetProfileKeys(Path, "S", exact.data(), 12), 10u);
  EXPECT_EQ(exact, std::string("alpha\0beta\0\0", 12));
  std::string roomy(13, '\x55');
  EXPECT_EQ(GetProfileKeys(Path, "S", roomy.data(), 13), 11u);
  // A key that already reaches into the last two bytes leaves no room for
  // a piece of the next one.
  std::string three(3, '\x55');
  WriteBytes(Path, "[S]\na=1\nb=2\n");
  EXPECT_EQ(GetProfileKeys(Path, "S", three.data(), 3), 1u);
  EXPECT_EQ(three, std::string("a\0\0", 3));
  std::string tiny(2, '\x55');
  EXPECT_EQ(GetProfileKeys(Path, "S", tiny.data(), 2), 0u);
  EXPECT_EQ(tiny, std::string(2, '\0'));
}

TEST_F(ProfileFile, ReadCutsToRoomMinusOne) {
  WriteBytes(Path, "[S]\nk=abcdefgh\nm=#\n");
  EXPECT_EQ(Read("S", "k", "", 4), "abc");
  EXPECT_EQ(Read("S", "m", "", 6), "#");
  EXPECT_EQ(Read("S", "k", "", 1), "");
}

TEST_F(ProfileFile, MissingFileGivesDefaults) {
  EXPECT_EQ(Read("S", "k", "dflt"), "dflt");
  EXPECT_EQ(GetProfileInt(Path, "S", "k", 42), 42);
  EXPECT_TRUE(Keys("S").empty());
  EXPECT_FALSE(FileExists(Path));
}

namespace {

struct ReadCase {
  const char* Name;
  const char* Content;
  const char* Section;
  const char* Key;
  const char* Expected;
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

}  // namespace

TEST_P(ProfileRead, ReadsAsTheProfileRulesSay) {
  ClearProfileCache();
  TTempDir dir;
  const std::string path = dir.File("odd.ini");
  WriteBytes(path, GetParam().Content);
  std::string buffer(64, '\0');
  const std::size_t n =
      GetProfileString(path, GetParam().Section, GetParam().Key, "DEF", buffer.data(), 64);
  EXPECT_EQ(buffer.substr(0, n), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ProfileRead,
    ::testing::Values(
        ReadCase{"BlanksAroundKeyAndValue", "[S]\n  key  =  a b  \n", "S", "key", "a b"},
        ReadCase{"KeyEndsAtFirstEquals", "[S]\na=b=c\n", "S", "a", "b=c"},
        ReadCase{"EmptyKey", "[S]\n=value\n", "S", "", "value"},
        ReadCase{"BlanksInsideBrackets", "[ C ]\nk=1\n", "c", "k", "1"},
        ReadCase{"TextAfterBracketIgnored", "[S] trailing\nk=1\n", "S", "k", "1"},
        ReadCase{"HalfHeaderIsOrdinaryLine", "[S]\n[T\nk=1\n", "S", "k", "1"},
        ReadCase{"CommentIsNoEntry", "[S]\n;k=1\n", "S", ";k", "DEF"},
        ReadCase{"HashIsNoComment", "[S]\n#k=1\n", "S", "#k", "1"},
        ReadCase{"LineWithoutEqualsGivesDefault", "[S]\nk\n", "S", "k", "DEF"},
        ReadCase{"EmptyValueIsNotDefault", "[S]\nk=\n", "S", "k", ""},
        ReadCase{"CrLfAndLoneCr", "[S]\r\na=1\rk=2\r\n", "S", "k", "2"},
        ReadCase{"UnterminatedLastLine", "[S]\nk=last", "S", "k", "last"},
        ReadCase{"CaseInsensitiveAscii", "[Sec]\nKey=1\n", "SEC", "kEY", "1"},
        ReadCase{"LongNamesIgnoreCaseThroughout",
                 "[Caller Name Longer Than Eight]\nSome Long KeyName@[XZ=1\n",
                 "cALLER nAME lONGER tHAN eIGHT", "sOME lONG kEYnAME@[xz", "1"},
        ReadCase{"OnlyLettersFold", "[S]\nLong Key Name @[=1\n", "S", "Long Key Name `{", "DEF"},
        ReadCase{"AllLettersFold", "[S\xC3\x89]\nJOS\xC3\x89=1\n", "s\xC3\xA9", "Jos\xC3\xA9", "1"},
        ReadCase{"Latin1LettersFold", "[S]\nJOS\xC9=1\n", "S", "Jos\xE9", "1"},
        ReadCase{"KelvinSignIsK", "[S]\nk=1\n", "S", "\xE2\x84\xAA", "1"},
        ReadCase{"AccentsMatter", "[S]\nJose=1\n", "S", "Jos\xC3\xA9", "DEF"},
        ReadCase{"LookupNamesTrimmed", "[S]\nk=1\n", " S ", " k ", "1"},
        ReadCase{"FirstDuplicateSectionWins", "[S]\na=1\n[S]\nk=2\n", "S", "k", "DEF"},
        ReadCase{"FirstDuplicateKeyWins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
        ReadCase{"QuotesRemoved", "[S]\nk=\"x y\"\n", "S", "k", "x y"},
        ReadCase{"SingleQuotesRemoved", "[S]\nk='x'\n", "S", "k", "x"},
        ReadCase{"EmptyQuotes", "[S]\nk=\"\"\n", "S", "k", ""},
        ReadCase{"MixedQuotesKept", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
        ReadCase{"HighBytesPlain", "[S]\nk=\xFF\xFE\n", "S", "k", "\xFF\xFE"},
        ReadCase{"EntriesBeforeAnySectionUnreachable", "k=1\n[S]\n", "S", "k", "DEF"}),
    [](const auto& info) { return std::string(info.param.Name); });

namespace {

struct IntCase {
  const char* Name;
  const char* Value;
  std::int32_t Expected;
};

class ProfileInt : public ::testing::TestWithParam<IntCase> {};

}  // namespace

TEST_P(ProfileInt, ReadsDecimalPrefix) {
  ClearProfileCache();
  TTempDir dir;
  const std::string path = dir.File("int.ini");
  WriteBytes(path, std::string("[S]\n") + GetParam().Value + "\n");
  EXPECT_EQ(GetProfileInt(path, "S", "k", 99), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProfileInt,
    ::testing::Values(IntCase{"Plain", "k=12", 12}, IntCase{"TrailingText", "k=  12abc", 12},
                      IntCase{"StopsAtBlank", "k=1 2", 1}, IntCase{"Plus", "k=+7", 7},
                      IntCase{"Negative", "k=-5", -5}, IntCase{"Letters", "k=abc", 0},
                      IntCase{"Quoted", "k=\"42\"", 42}, IntCase{"Empty", "k=", 99},
                      IntCase{"Blank", "k=   ", 99}, IntCase{"NoEquals", "k", 99},
                      IntCase{"Wraps", "k=4294967297", 1},
                      IntCase{"WrapsNegative", "k=2147483648", -2147483647 - 1}),
    [](const auto& info) { return std::string(info.param.Name); });
