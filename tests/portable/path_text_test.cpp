// Path helpers on cp932 text, where a '\' byte may be the second half of a
// character such as "表" (95 5C) or "ソ" (83 5C).
#include <gtest/gtest.h>

#include <string>

#include "win32/portable/path_text.h"

namespace kestrin {
namespace {

TEST(PathText, SourceLiteralsBecomeShiftJisWithBackslashTrailBytes) {
    // Everything below relies on it: otherwise these tests would test nothing.
    EXPECT_EQ(std::string("表"), std::string("\x95\x5C"));
    EXPECT_EQ(std::string("ソ"), std::string("\x83\x5C"));
}

TEST(PathText, ExtractFileNameTakesTheLastComponent) {
    EXPECT_EQ(ExtractFileName("C:\\Program Files\\Kestrin\\Kestrin.exe"), "Kestrin.exe");
    EXPECT_EQ(ExtractFileName("Kestrin.exe"), "Kestrin.exe");
    EXPECT_EQ(ExtractFileName("C:Kestrin.exe"), "Kestrin.exe");
    EXPECT_EQ(ExtractFileName("C:\\tools\\"), "");
    EXPECT_EQ(ExtractFileName(""), "");
}

TEST(PathText, ExtractFileNameIgnoresBackslashTrailBytes) {
    EXPECT_EQ(ExtractFileName("C:\\ソフト\\表.exe"), "表.exe");
    EXPECT_EQ(ExtractFileName("C:\\表示\\ソ"), "ソ");
    EXPECT_EQ(ExtractFileName("ソ表.exe"), "ソ表.exe");
}

TEST(PathText, ChangeFileExtReplacesOrAppendsTheExtension) {
    EXPECT_EQ(ChangeFileExt("C:\\Kestrin\\Kestrin.exe", ".chm"), "C:\\Kestrin\\Kestrin.chm");
    EXPECT_EQ(ChangeFileExt("Kestrin.exe", ".ini"), "Kestrin.ini");
    EXPECT_EQ(ChangeFileExt("archive.tar.gz", ".ini"), "archive.tar.ini");
    EXPECT_EQ(ChangeFileExt("Kestrin", ".ini"), "Kestrin.ini");
    EXPECT_EQ(ChangeFileExt("Kestrin.", ".ini"), "Kestrin.ini");
}

TEST(PathText, ChangeFileExtLeavesDotsInFolderNamesAlone) {
    EXPECT_EQ(ChangeFileExt("C:\\v1.56\\Kestrin", ".ini"), "C:\\v1.56\\Kestrin.ini");
    EXPECT_EQ(ChangeFileExt("D:.old", ".ini"), "D:.ini");
    EXPECT_EQ(ChangeFileExt("D:x.y\\z", ".ini"), "D:x.y\\z.ini");
}

TEST(PathText, ChangeFileExtSeesThroughBackslashTrailBytes) {
    // The trail byte of "表" after the dot is no folder delimiter.
    EXPECT_EQ(ChangeFileExt("C:\\tools\\memo.表", ".ini"), "C:\\tools\\memo.ini");
    EXPECT_EQ(ChangeFileExt("C:\\ソフト.d\\表", ".chm"), "C:\\ソフト.d\\表.chm");
    EXPECT_EQ(ChangeFileExt("C:\\ソフト\\表示ソ.exe", ".chm"), "C:\\ソフト\\表示ソ.chm");
}

TEST(PathText, TrailingDelimiterIsAddedOnlyWhenTheLastCharacterIsNotOne) {
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\"), "C:\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Docs"), "C:\\Docs\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\Docs\\"), "C:\\Docs\\");
}

TEST(PathText, FolderEndingInABackslashTrailByteStillGetsADelimiter) {
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\ソ"), "C:\\ソ\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("D:\\データ\\表"), "D:\\データ\\表\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter("D:\\表\\"), "D:\\表\\");
}

TEST(PathText, LoneLeadByteAtTheEndCountsAsACharacterOfItsOwn) {
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\x95"), "C:\\a\x95\\");
    EXPECT_EQ(ExtractFileName("C:\\a\\b\x95"), "b\x95");
}

TEST(PathText, LeadByteRangesEndWhereCp932Says) {
    // A byte that starts a character swallows the '\' after it; one that
    // does not leaves it a delimiter. Each range's edges, and their neighbours.
    struct Case {
        char byte;
        bool lead;
    };
    for (const Case c : {Case{'\x80', false}, {'\x81', true}, {'\x9F', true}, {'\xA0', false}, {'\xDF', false},
                         {'\xE0', true}, {'\xFC', true}, {'\xFD', false}}) {
        const std::string folder = std::string("C:\\d\\a") + c.byte + '\\';
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c.byte)));
        EXPECT_EQ(IncludeTrailingPathDelimiter(folder), c.lead ? folder + '\\' : folder);
        EXPECT_EQ(ExtractFileName(folder), c.lead ? folder.substr(5) : "");
        const std::string file = std::string("C:\\a.b") + c.byte + "\\c";
        EXPECT_EQ(ChangeFileExt(file, ".ini"), c.lead ? "C:\\a.ini" : file + ".ini");
    }
}

}  // namespace
}  // namespace kestrin
