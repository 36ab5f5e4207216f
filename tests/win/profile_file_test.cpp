// The profile file against real files: values as the program's settings
// file holds them, the encodings it writes, and a write the system refuses.
#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "win32/portable/error.h"
#include "win32/profile_file.h"

namespace kestrin {
namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "kestrin-profile-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\Kestrin.ini";
    }
    void TearDown() override {
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    void WriteRaw(const std::string& text) {
        std::ofstream out(path_, std::ios::binary);
        out << text;
    }
    std::string ReadRaw() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string folder_;
    std::string path_;
};

TEST_F(ProfileFileTest, ReadsIntegersInDecimalAndHexadecimal) {
    WriteRaw("[Settings]\r\nTimer=0x3C\r\nHex=$3C\r\nPlain=1440\r\nNegative=-5\r\nBad=abc\r\nMixed=12abc\r\n"
             "TooBig=99999999999\r\nEmpty=\r\n");
    ProfileFile file(path_);
    EXPECT_EQ(file.ReadInteger("Settings", "Timer", 7), 60);
    EXPECT_EQ(file.ReadInteger("Settings", "Hex", 7), 60);
    EXPECT_EQ(file.ReadInteger("Settings", "Plain", 7), 1440);
    EXPECT_EQ(file.ReadInteger("Settings", "Negative", 7), -5);
    EXPECT_EQ(file.ReadInteger("Settings", "Bad", 7), 7);
    EXPECT_EQ(file.ReadInteger("Settings", "Mixed", 7), 7);
    EXPECT_EQ(file.ReadInteger("Settings", "TooBig", 7), 7);
    EXPECT_EQ(file.ReadInteger("Settings", "Empty", 7), 7);
    EXPECT_EQ(file.ReadInteger("Settings", "Missing", 7), 7);
    EXPECT_EQ(file.ReadInteger("Other", "Timer", 7), 7);
}

TEST_F(ProfileFileTest, AMissingFileGivesTheDefaultsAndIsNotCreatedByReading) {
    ProfileFile file(path_);
    EXPECT_EQ(file.ReadInteger("Settings", "Timer", 60), 60);
    EXPECT_EQ(file.ReadString("Settings", "Name", "none"), "none");
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProfileFileTest, WritesGoStraightToTheFile) {
    ProfileFile file(path_);
    file.WriteString("Settings", "HKChar", "65");
    // Another reader sees the value while the object is still open.
    ProfileFile other(path_);
    EXPECT_EQ(other.ReadInteger("Settings", "HKChar", 0), 65);
    file.Flush();
    EXPECT_NE(ReadRaw().find("HKChar=65"), std::string::npos);
}

TEST_F(ProfileFileTest, OverwritesAValueInPlace) {
    WriteRaw("[Settings]\r\nTimer=5000\r\nMsgBox=1\r\n");
    {
        ProfileFile file(path_);
        file.WriteString("Settings", "Timer", "1440");
    }
    const std::string text = ReadRaw();
    EXPECT_NE(text.find("Timer=1440"), std::string::npos) << text;
    EXPECT_EQ(text.find("5000"), std::string::npos) << text;
    EXPECT_NE(text.find("MsgBox=1"), std::string::npos) << text;
}

TEST_F(ProfileFileTest, StringsRoundTripInCp932) {
    ProfileFile file(path_);
    file.WriteString("設定", "表示", "メモリを圧縮しました。");
    EXPECT_EQ(file.ReadString("設定", "表示", ""), "メモリを圧縮しました。");
    const std::string longValue(5000, 'x');
    file.WriteString("Settings", "Long", longValue);
    EXPECT_EQ(file.ReadString("Settings", "Long", ""), longValue);
}

TEST_F(ProfileFileTest, ARefusedWriteRaisesAnErrorNamingThePath) {
    const std::string missing = folder_ + "\\no such folder\\Kestrin.ini";
    ProfileFile file(missing);
    try {
        file.WriteString("Settings", "Timer", "60");
        FAIL() << "the write went through";
    } catch (const KestrinError& error) {
        EXPECT_EQ(error.what(), missing + " に書き込めません");
    }
    // Reading and flushing such a file stays quiet.
    EXPECT_EQ(file.ReadInteger("Settings", "Timer", 60), 60);
    file.Flush();
}

}  // namespace
}  // namespace kestrin
