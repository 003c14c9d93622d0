// orvctl check: the configuration as the library reads it, through the library's own
// reader, with the diagnosis that ORV_E_CONFIG cannot carry: which key, which value.
#include "Commands.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "BindingParts.h"
#include "ConfigReader.h"
#include "ConnectionSettings.h"
#include "Orvane.h"
#include "System.h"
#include "Text.h"

namespace orvctl {

namespace {

using TextRead = int (orv::ConfigReader::*)(char*, const std::int32_t*);
using FlagRead = int (orv::ConfigReader::*)(std::uint8_t*);

struct Key {
    const char* section;
    const char* name;
    TextRead readText; // text keys
    FlagRead readFlag; // yes/no keys
};

enum KeyIndex { kProtseq, kServer, kUseEndPoint, kEndPoint, kUseHttpProxy, kHttpProxy, kRpcProxy };

// The seven keys in the order in which LoadSettings reads them.
const Key kKeys[] = {
    {"RPC", "protseq", &orv::ConfigReader::ReadProtseq, nullptr},
    {"RPC", "QORServer", &orv::ConfigReader::ReadServer, nullptr},
    {"RPC", "UseEndPoint", nullptr, &orv::ConfigReader::ReadUseEndPoint},
    {"RPC", "EndPoint", &orv::ConfigReader::ReadEndPoint, nullptr},
    {"ncacn_http", "UseHttpProxy", nullptr, &orv::ConfigReader::ReadUseHttpProxy},
    {"ncacn_http", "HttpProxy", &orv::ConfigReader::ReadHttpProxy, nullptr},
    {"ncacn_http", "RpcProxy", &orv::ConfigReader::ReadRpcProxy, nullptr},
};
constexpr int kKeyCount = sizeof kKeys / sizeof kKeys[0];

// What the load makes of a key.
enum class Role { Read, Failed, Skipped, NotReached };

struct KeyReport {
    std::string value; // as read; for a yes/no key the text behind the flag
    int result;        // the reader operation's own result
    std::uint8_t flag; // yes/no keys, when result is 0
    Role role;
    const char* skippedBecause; // Role::Skipped: the yes/no key that said no
};

const char* Problem(const Key& key, const KeyReport& r) {
    if (r.result == 0) return nullptr;
    return key.readFlag != nullptr && !r.value.empty() ? "not a yes/no value" : "missing or empty";
}

KeyReport ReadKey(orv::ConfigReader& reader, const Key& key) {
    KeyReport r{};
    char buffer[orv::kTextSize] = "";
    const std::int32_t capacity = orv::kTextSize;
    if (key.readText != nullptr) {
        r.result = (reader.*key.readText)(buffer, &capacity);
    } else {
        r.result = (reader.*key.readFlag)(&r.flag);
        // The text behind the flag, read as the reader reads it: 31 characters at most.
        const std::int32_t yesNoCapacity = 32;
        reader.ReadValue(key.section, key.name, buffer, &yesNoCapacity, "");
    }
    r.value = buffer;
    return r;
}

// Marks each key with what the load does with it, following its order of reading; the
// index of the first read that fails, or -1.
int FollowLoad(KeyReport (&reports)[kKeyCount]) {
    int failed = -1;
    for (int i = 0; i < kKeyCount; ++i) {
        KeyReport& r = reports[i];
        const int switchKey = i == kEndPoint ? kUseEndPoint : i == kHttpProxy ? kUseHttpProxy : -1;
        if (failed >= 0) {
            r.role = Role::NotReached;
        } else if (switchKey >= 0 && reports[switchKey].flag != 1) {
            r.role = Role::Skipped;
            r.skippedBecause = kKeys[switchKey].name;
        } else if (r.result != 0) {
            r.role = Role::Failed;
            failed = i;
        } else {
            r.role = Role::Read;
        }
    }
    return failed;
}

const char* TransportName(orv::TransportKind kind) {
    switch (kind) {
    case orv::TransportKind::Http:
        return "Http";
    case orv::TransportKind::Tcp:
        return "Tcp";
    case orv::TransportKind::Unrecognised:
        break;
    }
    return "Unrecognised";
}

// The string binding as the RPC runtime writes it: protseq:address[endpoint,options].
std::string BindingText(const orv::BindingParts& parts) {
    std::string text = std::string(parts.protseq) + ":" + parts.address;
    const bool options = parts.options != nullptr && parts.options[0] != '\0';
    if (parts.endPoint[0] != '\0' || options) {
        text += "[" + std::string(parts.endPoint);
        if (options) text += "," + std::string(parts.options);
        text += "]";
    }
    return text;
}

// A JSON string; bytes from 0x80 are taken as Latin-1, the profile reader's 8-bit text.
std::string Json(const std::string& s) {
    return Quoted(s, "\\u%04x");
}

std::string JsonOrNull(const char* s) {
    return s != nullptr ? Json(s) : "null";
}

struct Report {
    std::string file;
    bool found;
    KeyReport keys[kKeyCount];
    int failed; // index of the first failing read, or -1
    int loadResult;
    orv::ConnectionSettings settings;
    const char* server; // the --server argument, or null
    bool usable;        // ORV_Prepare gets past the configuration
    orv::BindingParts parts;
};

void PrintText(const Report& r) {
    std::printf("file       %s%s\n", r.file.c_str(), r.found ? "" : " (no such file)");
    for (int i = 0; i < kKeyCount; ++i) {
        const Key& key = kKeys[i];
        const KeyReport& k = r.keys[i];
        const std::string section = "[" + std::string(key.section) + "]";
        std::string line = Quoted(k.value);
        if (key.readFlag != nullptr && k.result == 0) line += k.flag == 1 ? " = yes" : " = no";
        const char* problem = Problem(key, k);
        std::string notes = problem != nullptr ? problem : "";
        if (k.role == Role::Failed) notes = "<- the load fails here: " + notes;
        if (k.role == Role::Skipped)
            notes += std::string(problem ? "; " : "") +
                     "not read by the load: " + k.skippedBecause + " is no";
        if (k.role == Role::NotReached) notes += std::string(problem ? "; " : "") + "not reached";
        std::printf("%-12s %-12s %2d  %s%s%s\n", section.c_str(), key.name, k.result, line.c_str(),
                    notes.empty() ? "" : "  ", notes.c_str());
    }
    if (r.failed < 0) {
        std::printf("load       0\n");
        std::printf("transport  %s\n", TransportName(r.settings.transport));
    } else {
        const Key& key = kKeys[r.failed];
        std::printf("load       -1, at [%s] %s: %s\n", key.section, key.name,
                    Problem(key, r.keys[r.failed]));
        std::printf("transport  none: the load failed\n");
    }
    if (r.usable)
        std::printf("binding    %s%s\n", Quoted(BindingText(r.parts)).c_str(),
                    r.failed < 0 ? "" : "  (the given server over plain TCP)");
    else
        std::printf("binding    none: ORV_Prepare returns ORV_E_CONFIG (0x%08X)\n", ORV_E_CONFIG);
}

void PrintJson(const Report& r) {
    std::printf("{\n  \"file\": %s,\n  \"found\": %s,\n  \"keys\": [\n", Json(r.file).c_str(),
                r.found ? "true" : "false");
    static const char* const kRoles[] = {"read", "failed", "skipped", "not reached"};
    for (int i = 0; i < kKeyCount; ++i) {
        const Key& key = kKeys[i];
        const KeyReport& k = r.keys[i];
        std::string flag;
        if (key.readFlag != nullptr)
            flag = std::string(", \"flag\": ") + (k.result != 0 ? "null"
                                                  : k.flag      ? "true"
                                                                : "false");
        std::printf("    {\"section\": %s, \"key\": %s, \"result\": %d, \"value\": %s%s, "
                    "\"problem\": %s, \"load\": \"%s\"}%s\n",
                    Json(key.section).c_str(), Json(key.name).c_str(), k.result,
                    Json(k.value).c_str(), flag.c_str(), JsonOrNull(Problem(key, k)).c_str(),
                    kRoles[static_cast<int>(k.role)], i + 1 < kKeyCount ? "," : "");
    }
    std::printf("  ],\n  \"load\": %d,\n", r.loadResult);
    if (r.failed < 0) {
        std::printf("  \"failed\": null,\n  \"transport\": \"%s\",\n",
                    TransportName(r.settings.transport));
    } else {
        const Key& key = kKeys[r.failed];
        std::printf("  \"failed\": {\"section\": %s, \"key\": %s, \"problem\": %s},\n",
                    Json(key.section).c_str(), Json(key.name).c_str(),
                    Json(Problem(key, r.keys[r.failed])).c_str());
        std::printf("  \"transport\": null,\n");
    }
    std::printf("  \"server\": %s,\n", JsonOrNull(r.server).c_str());
    if (r.usable) {
        std::printf("  \"binding\": {\"protseq\": %s, \"address\": %s, \"endpoint\": %s, "
                    "\"options\": %s, \"text\": %s}\n}\n",
                    Json(r.parts.protseq).c_str(), Json(r.parts.address).c_str(),
                    Json(r.parts.endPoint).c_str(), JsonOrNull(r.parts.options).c_str(),
                    Json(BindingText(r.parts)).c_str());
    } else {
        std::printf("  \"binding\": null\n}\n");
    }
}

} // namespace

int Check(int argc, char** argv) {
    const char* ini = nullptr;
    const char* server = nullptr;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ini" || arg == "--server") {
            if (i + 1 == argc) {
                std::fprintf(stderr, "orvctl: check: %s needs a value\n", arg.c_str());
                return kToolError;
            }
            (arg == "--ini" ? ini : server) = argv[++i];
        } else if (arg == "--json") {
            json = true;
        } else {
            std::fprintf(stderr, "orvctl: check: unexpected argument '%s'\n", arg.c_str());
            return kToolError;
        }
    }

    Report r{};
    // The reader keeps 255 characters of its file name; a longer one would name another file.
    const std::string path = ini != nullptr ? AbsolutePath(ini) : ConfigPath(orv::kConfigFileName);
    if (path.size() >= static_cast<std::size_t>(orv::kTextSize)) {
        std::fprintf(stderr, "orvctl: check: the path %s is longer than 255 characters\n",
                     path.c_str());
        return kToolError;
    }
    r.file = ini != nullptr ? ini : path;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        r.found = true;
        std::fclose(f);
    }
    r.server = server;

    orv::ConfigReader reader(path.c_str());
    for (int i = 0; i < kKeyCount; ++i)
        r.keys[i] = ReadKey(reader, kKeys[i]);
    r.failed = FollowLoad(r.keys);
    // The load itself, on an all-zero record as ORV_Prepare makes it.
    std::memset(&r.settings, 0, sizeof r.settings);
    r.loadResult = reader.LoadSettings(&r.settings);
    if ((r.loadResult == 0) != (r.failed < 0)) {
        std::fprintf(stderr, "orvctl: check: %s changed while it was read; run again\n",
                     r.file.c_str());
        return kToolError;
    }
    r.usable = orv::ChooseBindingParts(r.settings, r.loadResult == 0, server, &r.parts);

    if (json)
        PrintJson(r);
    else
        PrintText(r);
    return r.usable ? 0 : kNotUsable;
}

} // namespace orvctl
