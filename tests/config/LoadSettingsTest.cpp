// Loading the connection settings: the order of the reads, what a failure leaves, and
// the composition of the binding options.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "ConfigReader.h"
#include "TestEnvironment.h"

namespace {

using orv::ConnectionSettings;
using orv::TransportKind;

constexpr char kFile[] = "orv_settings_test.ini";

struct Expected {
    int result;
    TransportKind transport;
    int useEndPoint;
    int useHttpProxy;
    const char* server;
    const char* endPoint;
    const char* options;
};

struct LoadCase {
    const char* name;
    const char* file; // null: no file at all
    Expected expected;
};

constexpr TransportKind kHttp = TransportKind::Http;
constexpr TransportKind kTcp = TransportKind::Tcp;
constexpr TransportKind kOther = TransportKind::Unrecognised;

const LoadCase kCases[] = {
    {"tcp without endpoint or proxy",
     "[RPC]\nprotseq=ncacn_ip_tcp\nQORServer=srv\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=gate\n",
     {0, kTcp, 0, 0, "srv", "", "RpcProxy=gate"}},
    {"tcp without RpcProxy fails",
     "[RPC]\nprotseq=ncacn_ip_tcp\nQORServer=srv\nUseEndPoint=no\n[ncacn_http]\nUseHttpProxy=no\n",
     {-1, kTcp, 0, 0, "srv", "", ""}},
    {"http with both proxies",
     "[RPC]\nprotseq=ncacn_http\nQORServer=srv\nUseEndPoint=yes\nEndPoint=593\n"
     "[ncacn_http]\nUseHttpProxy=yes\nHttpProxy=web:8080\nRpcProxy=gate:443\n",
     {0, kHttp, 1, 1, "srv", "593", "HttpProxy=web:8080,RpcProxy=gate:443"}},
    {"protseq in capitals",
     "[RPC]\nprotseq=NCACN_HTTP\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {0, kHttp, 0, 0, "s", "", "RpcProxy=g"}},
    {"protseq with a tail",
     "[RPC]\nprotseq=ncacn_http_test\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {0, kHttp, 0, 0, "s", "", "RpcProxy=g"}},
    {"protseq in mixed case",
     "[RPC]\nprotseq=Ncacn_Ip_Tcp\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {0, kTcp, 0, 0, "s", "", "RpcProxy=g"}},
    {"named pipes are unrecognised",
     "[RPC]\nprotseq=ncacn_np\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {0, kOther, 0, 0, "s", "", "RpcProxy=g"}},
    {"a cut-off name is unrecognised",
     "[RPC]\nprotseq=ncacn_ht\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {0, kOther, 0, 0, "s", "", "RpcProxy=g"}},
    {"EndPoint present but not wanted",
     "[RPC]\nprotseq=ncacn_ip_tcp\nQORServer=s\nUseEndPoint=no\nEndPoint=593\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {0, kTcp, 0, 0, "s", "", "RpcProxy=g"}},
    {"HttpProxy present but not wanted",
     "[RPC]\nprotseq=ncacn_http\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=no\nHttpProxy=web\nRpcProxy=g\n",
     {0, kHttp, 0, 0, "s", "", "RpcProxy=g"}},
    // What a failure at each read leaves in the record.
    {"no file", nullptr, {-1, kHttp, 0, 0, "", "", ""}},
    {"no protseq",
     "[RPC]\nQORServer=s\nUseEndPoint=no\n[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {-1, kHttp, 0, 0, "", "", ""}},
    {"no QORServer", "[RPC]\nprotseq=ncacn_ip_tcp\nUseEndPoint=no\n", {-1, kTcp, 0, 0, "", "", ""}},
    {"UseEndPoint not yes/no",
     "[RPC]\nprotseq=ncacn_np\nQORServer=s\nUseEndPoint=1\n",
     {-1, kOther, 0, 0, "s", "", ""}},
    {"EndPoint wanted but missing",
     "[RPC]\nprotseq=ncacn_ip_tcp\nQORServer=s\nUseEndPoint=yes\n"
     "[ncacn_http]\nUseHttpProxy=no\nRpcProxy=g\n",
     {-1, kTcp, 1, 0, "s", "", ""}},
    {"no UseHttpProxy",
     "[RPC]\nprotseq=ncacn_ip_tcp\nQORServer=s\nUseEndPoint=yes\nEndPoint=7\n",
     {-1, kTcp, 1, 0, "s", "7", ""}},
    {"HttpProxy wanted but missing",
     "[RPC]\nprotseq=ncacn_http\nQORServer=s\nUseEndPoint=yes\nEndPoint=7\n"
     "[ncacn_http]\nUseHttpProxy=yes\nRpcProxy=g\n",
     {-1, kHttp, 1, 1, "s", "7", ""}},
    {"no RpcProxy after HttpProxy",
     "[RPC]\nprotseq=ncacn_http\nQORServer=s\nUseEndPoint=no\n"
     "[ncacn_http]\nUseHttpProxy=yes\nHttpProxy=web\n",
     {-1, kHttp, 0, 1, "s", "", "HttpProxy=web"}},
};

std::string Describe(TransportKind transport, int useEndPoint, int useHttpProxy, const char* server,
                     const char* endPoint, const char* options) {
    return "transport=" + std::to_string(static_cast<int>(transport)) +
           " useEndPoint=" + std::to_string(useEndPoint) +
           " useHttpProxy=" + std::to_string(useHttpProxy) + " server='" + server + "' endPoint='" +
           endPoint + "' options='" + options + "'";
}

class LoadSettingsTest : public testing::Test {
  protected:
    void TearDown() override { orvtest::RemoveConfigFile(kFile); }

    int Load(ConnectionSettings* settings) {
        std::memset(settings, 0, sizeof *settings);
        orv::ConfigReader reader(kFile);
        return reader.LoadSettings(settings);
    }
};

TEST_F(LoadSettingsTest, TableOfConfigurations) {
    for (const LoadCase& c : kCases) {
        if (c.file != nullptr) {
            orvtest::WriteConfigFile(kFile, c.file);
        } else {
            orvtest::RemoveConfigFile(kFile);
        }
        ConnectionSettings s;
        const int result = Load(&s);
        const Expected& e = c.expected;
        EXPECT_EQ(result, e.result) << c.name;
        EXPECT_EQ(
            Describe(s.transport, s.useEndPoint, s.useHttpProxy, s.server, s.endPoint, s.options),
            Describe(e.transport, e.useEndPoint, e.useHttpProxy, e.server, e.endPoint, e.options))
            << c.name;
    }
}

// The longest composition, 10 + 255 + 1 + 9 + 255 characters, is held whole.
TEST_F(LoadSettingsTest, LongestOptionsAreKeptWhole) {
    const std::string web(300, 'w'), gate(300, 'g');
    orvtest::WriteConfigFile(kFile, "[RPC]\nprotseq=ncacn_http\nQORServer=s\nUseEndPoint=no\n"
                                    "[ncacn_http]\nUseHttpProxy=yes\nHttpProxy=" +
                                        web + "\nRpcProxy=" + gate + "\n");
    ConnectionSettings s;
    ASSERT_EQ(Load(&s), 0);
    const std::string expected =
        "HttpProxy=" + web.substr(0, 255) + ",RpcProxy=" + gate.substr(0, 255);
    EXPECT_EQ(expected.size(), 530u);
    EXPECT_EQ(std::string(s.options), expected);
}

TEST_F(LoadSettingsTest, ValuesAreCopiedExactly) {
    orvtest::WriteConfigFile(kFile, "[RPC]\nprotseq=ncacn_http\nQORServer=s\nUseEndPoint=no\n"
                                    "[ncacn_http]\nUseHttpProxy=yes\nHttpProxy=a,b=c\n"
                                    "RpcProxy=x;y\n");
    ConnectionSettings s;
    ASSERT_EQ(Load(&s), 0);
    EXPECT_STREQ(s.options, "HttpProxy=a,b=c,RpcProxy=x;y");
}

} // namespace
