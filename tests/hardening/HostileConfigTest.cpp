// Hostile configuration files, as a table. Each gives the result the library documents
// (where the platform's INI reading decides, either result, with the file's own values
// when it loads), keeps every text field terminated within its buffer, and preparing from
// it gives 0 or ORV_E_CONFIG in step with the load. The record lives on the heap at its
// exact size, so that the sanitizer and valgrind runs of this program see any access past
// it; both see any other out-of-bounds read or write on the way.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ConfigReader.h"
#include "FakeClients.h"
#include "HardeningSupport.h"
#include "TestEnvironment.h"
#include "rpc/RpcStandin.h"

namespace {

using hardening::IniPath;
using hardening::kIni;
using orv::ConnectionSettings;

constexpr int kEither = 1; // the platform's INI reading decides between 0 and -1

struct HostileCase {
    std::string name;
    std::function<void()> make; // puts something (or nothing) under the file's name
    int load;                   // 0, -1 or kEither
    std::string server;         // the server a load that gives 0 must yield
    std::string options;        // the options it must yield; empty: not checked
};

const std::string kTcp = orvtest::kTcpConfig;

void Write(const std::string& text) {
    orvtest::WriteConfigFile(kIni, text);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// An HTTP configuration whose every value, the yes/no ones included, has length characters.
std::string LongValues(std::size_t length) {
    const std::string yes = "yes" + std::string(length - 3, 's');
    return "[RPC]\nprotseq=ncacn_http" + std::string(length - 10, 'h') +
           "\nQORServer=" + std::string(length, 'q') + "\nUseEndPoint=" + yes +
           "\nEndPoint=" + std::string(length, 'e') + "\n[ncacn_http]\nUseHttpProxy=" + yes +
           "\nHttpProxy=" + std::string(length, 'w') + "\nRpcProxy=" + std::string(length, 'r') +
           "\n";
}

HostileCase LongValuesCase(std::size_t length) {
    const std::size_t kept = length < 255 ? length : 255;
    return {"values of " + std::to_string(length) + " characters",
            [length] { Write(LongValues(length)); }, 0, std::string(kept, 'q'),
            "HttpProxy=" + std::string(kept, 'w') + ",RpcProxy=" + std::string(kept, 'r')};
}

// Bytes of every value but the line end, '[' and '=': lines that are neither a section
// nor a key, NULs included.
std::string BinaryLine(unsigned seed) {
    std::string line;
    for (int i = 0; i < 300; ++i) {
        seed = seed * 1103515245u + 12345u;
        const char c = static_cast<char>(seed >> 16);
        if (c != '\n' && c != '[' && c != '=') line += c;
    }
    return line + "\n";
}

std::vector<HostileCase> HostileCases() {
    const bool root = geteuid() == 0;
    std::vector<HostileCase> cases = {
        {"missing", [] {}, -1, "", ""},
        {"empty", [] { Write(""); }, -1, "", ""},
        {"a directory of that name", [] { ASSERT_EQ(mkdir(IniPath().c_str(), 0755), 0); }, -1, "",
         ""},
        {"a symbolic link to itself: opening fails, for root too",
         [] { ASSERT_EQ(symlink(kIni, IniPath().c_str()), 0); }, -1, "", ""},
        // Root reads a file whatever its mode bits say; as root this row shows no more.
        {root ? "mode 000, read by root all the same" : "mode 000: unreadable",
         [] {
             Write(kTcp);
             ASSERT_EQ(chmod(IniPath().c_str(), 0), 0);
         },
         root ? 0 : -1, "qor-main", "RpcProxy=rpc-gate"},
        {"binary bytes and NULs between the lines",
         [] {
             std::string text;
             unsigned seed = 1;
             std::size_t start = 0;
             for (std::size_t end; (end = kTcp.find('\n', start)) != std::string::npos;
                  start = end + 1)
                 text += BinaryLine(seed++) + kTcp.substr(start, end + 1 - start);
             Write(text + BinaryLine(seed));
         },
         kEither, "qor-main", "RpcProxy=rpc-gate"},
        {"a NUL inside a value",
         [] { Write(Replace(kTcp, "qor-main", std::string("qor\0main", 8))); }, kEither, "qor",
         "RpcProxy=rpc-gate"},
        {"64 KiB of random bytes",
         [] {
             std::string text;
             unsigned seed = 7;
             for (int i = 0; i < 65536; ++i) {
                 seed = seed * 1103515245u + 12345u;
                 text += static_cast<char>(seed >> 16);
             }
             Write(text);
         },
         -1, "", ""},
        {"a 10 MB line: the server's value",
         [] { Write(Replace(kTcp, "qor-main", std::string(10 << 20, 's'))); }, 0,
         std::string(255, 's'), "RpcProxy=rpc-gate"},
        {"100 000 sections before the configuration",
         [] {
             std::string text;
             for (int i = 0; i < 100000; ++i)
                 text += "[s" + std::to_string(i) + "]\nk=v\n";
             Write(text + kTcp);
         },
         0, "qor-main", "RpcProxy=rpc-gate"},
        {"no newline at the end", [] { Write(kTcp.substr(0, kTcp.size() - 1)); }, 0, "qor-main",
         "RpcProxy=rpc-gate"},
        {"CRLF line ends", [] { Write(Replace(kTcp, "\n", "\r\n")); }, 0, "qor-main",
         "RpcProxy=rpc-gate"},
        {"lone CR line ends", [] { Write(Replace(kTcp, "\n", "\r")); }, kEither, "qor-main",
         "RpcProxy=rpc-gate"},
        {"a UTF-8 byte order mark", [] { Write("\xEF\xBB\xBF" + kTcp); }, kEither, "qor-main",
         "RpcProxy=rpc-gate"},
        {"keys repeated: the first counts",
         [] {
             Write("[RPC]\nprotseq=ncacn_ip_tcp\nQORServer=first\nQORServer=second\n"
                   "UseEndPoint=no\nUseEndPoint=yes\n[ncacn_http]\nUseHttpProxy=no\n"
                   "RpcProxy=gate-1\nRpcProxy=gate-2\n");
         },
         0, "first", "RpcProxy=gate-1"},
        {"sections repeated: the first counts",
         [] { Write(kTcp + "[RPC]\nQORServer=second\n[ncacn_http]\nRpcProxy=gate-2\n"); }, 0,
         "qor-main", "RpcProxy=rpc-gate"},
    };
    for (const std::size_t length : {255, 256, 4096})
        cases.push_back(LongValuesCase(length));
    return cases;
}

bool Terminated(const char* field, std::size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}

class HostileConfigTest : public testing::Test {
  protected:
    void SetUp() override {
        Remove();
        orvtest::ResetBindingsAndFakes();
    }
    void TearDown() override {
        Remove();
        orvtest::ResetBindingsAndFakes();
    }
    static void Remove() { std::filesystem::remove_all(IniPath()); }
};

TEST_F(HostileConfigTest, EachFileGivesADocumentedResult) {
    for (const HostileCase& c : HostileCases()) {
        Remove();
        c.make();
        if (HasFatalFailure()) return;

        auto* s = static_cast<ConnectionSettings*>(std::calloc(1, sizeof(ConnectionSettings)));
        ASSERT_NE(s, nullptr);
        orv::ConfigReader reader(kIni);
        const int load = reader.LoadSettings(s);
        if (c.load == kEither) {
            EXPECT_TRUE(load == 0 || load == -1) << c.name << ": " << load;
        } else {
            EXPECT_EQ(load, c.load) << c.name;
        }
        const bool terminated = Terminated(s->server, sizeof s->server) &&
                                Terminated(s->endPoint, sizeof s->endPoint) &&
                                Terminated(s->options, sizeof s->options);
        EXPECT_TRUE(terminated) << c.name << ": a text field runs to the end of its buffer";
        if (load == 0 && terminated) {
            EXPECT_EQ(std::string(s->server), c.server) << c.name;
            if (!c.options.empty()) {
                EXPECT_EQ(std::string(s->options), c.options) << c.name;
            }
        }

        // Preparing reads the same file: it binds exactly when the load succeeds, and then
        // from the loaded server and endpoint; after a failed load, with an address given.
        const int bad = standin::rpc::BadReleases();
        standin::rpc::Reset();
        EXPECT_EQ(ORV_Prepare(nullptr, 0), load == 0 ? 0 : ORV_E_CONFIG) << c.name;
        if (load == 0 && terminated) {
            const auto& journal = standin::rpc::Journal();
            ASSERT_FALSE(journal.empty()) << c.name;
            EXPECT_EQ(journal[0].address.text, s->server) << c.name;
            EXPECT_EQ(journal[0].endpoint.text, s->endPoint) << c.name;
            EXPECT_EQ(ORV_Discard(), 0) << c.name;
        }
        if (load != 0) {
            EXPECT_EQ(ORV_Prepare("host-b", 0), 0) << c.name << ", address given";
            EXPECT_EQ(ORV_Discard(), 0) << c.name << ", address given";
        }
        EXPECT_EQ(standin::rpc::BadReleases(), bad) << c.name;
        std::free(s);
    }
}

} // namespace
