// The configuration file reader: text keys, yes/no keys, cutting, absent files.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "ConfigReader.h"
#include "Text.h"
#include "TestEnvironment.h"

namespace {

using orv::ConfigReader;
using orvtest::WriteConfigFile;

constexpr char kFile[] = "orv_reader_test.ini";

class ConfigReaderTest : public testing::Test {
  protected:
    void TearDown() override { orvtest::RemoveConfigFile(kFile); }
    ConfigReader reader{kFile};
};

struct YesNoCase {
    const char* value;
    int result;
    std::uint8_t flag; // 0xAB: left unchanged
};

constexpr std::uint8_t kUntouched = 0xAB;

const YesNoCase kYesNoCases[] = {
    {"yes", 0, 1},
    {"Yes", 0, 1},
    {"YES", 0, 1},
    {"yes please", 0, 1},
    {"yesterday", 0, 1},
    {"no", 0, 0},
    {"No", 0, 0},
    {"NO", 0, 0},
    {"nope", 0, 0},
    {"none", 0, 0},
    {"y", -1, kUntouched},
    {"ye", -1, kUntouched},
    {"n", -1, kUntouched},
    {"1", -1, kUntouched},
    {"0", -1, kUntouched},
    {"true", -1, kUntouched},
    {"false", -1, kUntouched},
    {"on", -1, kUntouched},
    {"off", -1, kUntouched},
    {"", -1, kUntouched},
    // Only the first 31 characters are read and only the first three looked at.
    {"yes-and-a-value-of-forty-chars-xxxxxxxx", 0, 1},
};

TEST_F(ConfigReaderTest, YesNoValuesOfBothKeys) {
    for (const YesNoCase& c : kYesNoCases) {
        WriteConfigFile(kFile, std::string("[RPC]\nUseEndPoint=") + c.value +
                                   "\n[ncacn_http]\nUseHttpProxy=" + c.value + "\n");
        std::uint8_t endPoint = kUntouched, httpProxy = kUntouched;
        EXPECT_EQ(reader.ReadUseEndPoint(&endPoint), c.result) << "value '" << c.value << "'";
        EXPECT_EQ(endPoint, c.flag) << "value '" << c.value << "'";
        EXPECT_EQ(reader.ReadUseHttpProxy(&httpProxy), c.result) << "value '" << c.value << "'";
        EXPECT_EQ(httpProxy, c.flag) << "value '" << c.value << "'";
    }
}

TEST_F(ConfigReaderTest, AbsentYesNoKeyLeavesFlag) {
    WriteConfigFile(kFile, "[RPC]\nprotseq=ncacn_ip_tcp\n");
    std::uint8_t flag = 1;
    EXPECT_EQ(reader.ReadUseEndPoint(&flag), -1);
    EXPECT_EQ(flag, 1);
    flag = 0;
    EXPECT_EQ(reader.ReadUseHttpProxy(&flag), -1);
    EXPECT_EQ(flag, 0);
}

using TextRead = int (ConfigReader::*)(char*, const std::int32_t*);

struct TextKey {
    const char* section;
    const char* key;
    TextRead read;
};

const TextKey kTextKeys[] = {
    {"RPC", "protseq", &ConfigReader::ReadProtseq},
    {"RPC", "QORServer", &ConfigReader::ReadServer},
    {"RPC", "EndPoint", &ConfigReader::ReadEndPoint},
    {"ncacn_http", "HttpProxy", &ConfigReader::ReadHttpProxy},
    {"ncacn_http", "RpcProxy", &ConfigReader::ReadRpcProxy},
};

TEST_F(ConfigReaderTest, EachTextKeyReadsItsOwnSectionAndKey) {
    std::string text = "[RPC]\n";
    for (const TextKey& k : kTextKeys)
        if (std::strcmp(k.section, "RPC") == 0) text += std::string(k.key) + "=rpc-" + k.key + "\n";
    text += "[ncacn_http]\n";
    for (const TextKey& k : kTextKeys)
        if (std::strcmp(k.section, "RPC") != 0)
            text += std::string(k.key) + "=http-" + k.key + "\n";
    WriteConfigFile(kFile, text);
    for (const TextKey& k : kTextKeys) {
        char buffer[256];
        const std::int32_t capacity = sizeof buffer;
        EXPECT_EQ((reader.*k.read)(buffer, &capacity), 0) << k.key;
        const std::string prefix = std::strcmp(k.section, "RPC") == 0 ? "rpc-" : "http-";
        EXPECT_EQ(std::string(buffer), prefix + k.key) << k.key;
        EXPECT_EQ(capacity, 256) << k.key << ": the capacity is only read";
    }
}

TEST_F(ConfigReaderTest, KeysInTheWrongSectionAreNotFound) {
    WriteConfigFile(kFile, "[ncacn_http]\nprotseq=ncacn_ip_tcp\n[RPC]\nRpcProxy=gate\n");
    char buffer[256] = "marker";
    const std::int32_t capacity = sizeof buffer;
    EXPECT_EQ(reader.ReadProtseq(buffer, &capacity), -1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(reader.ReadRpcProxy(buffer, &capacity), -1);
}

TEST_F(ConfigReaderTest, EmptyValueIsLikeAMissingKey) {
    WriteConfigFile(kFile, "[RPC]\nQORServer=\n");
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    const std::int32_t capacity = sizeof buffer;
    EXPECT_EQ(reader.ReadServer(buffer, &capacity), -1);
    EXPECT_STREQ(buffer, "") << "the empty default is left in the buffer";
    EXPECT_EQ(reader.ReadProtseq(buffer, &capacity), -1);
}

struct LengthCase {
    std::size_t length;
    std::size_t kept;
};

TEST_F(ConfigReaderTest, LongValuesAreCutNotRefused) {
    for (const LengthCase c : {LengthCase{254, 254}, {255, 255}, {256, 255}, {300, 255}}) {
        const std::string value(c.length, 'v');
        WriteConfigFile(kFile, "[RPC]\nQORServer=" + value + "\n");
        char buffer[256 + 8];
        std::memset(buffer, '#', sizeof buffer);
        const std::int32_t capacity = 256;
        EXPECT_EQ(reader.ReadServer(buffer, &capacity), 0) << c.length << " characters";
        EXPECT_EQ(std::strlen(buffer), c.kept) << c.length << " characters";
        EXPECT_EQ(buffer[256], '#') << c.length << " characters: written past the capacity";
    }
}

TEST_F(ConfigReaderTest, SectionAndKeyNamesIgnoreCase) {
    WriteConfigFile(kFile, "[rpc]\nPROTSEQ=ncacn_http\n[NCACN_HTTP]\nuseHTTPproxy=Yes\n");
    char buffer[256];
    const std::int32_t capacity = sizeof buffer;
    EXPECT_EQ(reader.ReadProtseq(buffer, &capacity), 0);
    EXPECT_STREQ(buffer, "ncacn_http");
    std::uint8_t flag = 0;
    EXPECT_EQ(reader.ReadUseHttpProxy(&flag), 0);
    EXPECT_EQ(flag, 1);
}

TEST_F(ConfigReaderTest, MissingFileFailsEveryRead) {
    orvtest::RemoveConfigFile(kFile);
    char buffer[256];
    const std::int32_t capacity = sizeof buffer;
    for (const TextKey& k : kTextKeys)
        EXPECT_EQ((reader.*k.read)(buffer, &capacity), -1) << k.key;
    std::uint8_t flag = 7;
    EXPECT_EQ(reader.ReadUseEndPoint(&flag), -1);
    EXPECT_EQ(reader.ReadUseHttpProxy(&flag), -1);
    EXPECT_EQ(flag, 7);
}

TEST_F(ConfigReaderTest, EveryReadGoesToTheFileAgain) {
    char buffer[256];
    const std::int32_t capacity = sizeof buffer;
    WriteConfigFile(kFile, "[RPC]\nQORServer=first\n");
    ASSERT_EQ(reader.ReadServer(buffer, &capacity), 0);
    EXPECT_STREQ(buffer, "first");
    WriteConfigFile(kFile, "[RPC]\nQORServer=second\n");
    ASSERT_EQ(reader.ReadServer(buffer, &capacity), 0);
    EXPECT_STREQ(buffer, "second");
}

TEST(TextPrefix, ComparesFoldingOnlyAsciiLetters) {
    struct Case {
        const char* a;
        const char* b;
        std::size_t n;
        bool equal;
    } const cases[] = {
        {"NCACN_HTTP", "ncacn_http", 10, true},
        {"ncacn_http_x", "ncacn_http", 10, true},
        {"ncacn_ht", "ncacn_http", 10, false},
        {"ab", "ab", 10, true},
        {"ab", "abc", 10, false},
        {"\xC4x", "\xE4x", 2, false},
        {"[", "{", 1, false},
        {"@", "`", 1, false},
        {"", "", 3, true},
        {"yes", "YESTERDAY", 3, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(orv::PrefixEqualsIgnoreCase(c.a, c.b, c.n), c.equal) << c.a << " ~ " << c.b;
}

} // namespace
