#include "ConfigReader.h"

#include "Platform.h"
#include "Text.h"

namespace orv {

namespace {
constexpr char kRpcSection[] = "RPC";
constexpr char kHttpSection[] = "ncacn_http";
constexpr int kYesNoSize = 32;
} // namespace

ConfigReader::ConfigReader(const char* name) {
    fileName[0] = '\0';
    AppendText(fileName, sizeof fileName, name);
}

ConfigReader::~ConfigReader() = default;

int ConfigReader::ReadValue(const char* section, const char* key, char* buffer,
                            const std::int32_t* capacity, const char* def) {
    const DWORD copied = GetPrivateProfileStringA(section, key, def, buffer,
                                                  static_cast<DWORD>(*capacity), fileName);
    return copied != 0 ? 0 : -1;
}

int ConfigReader::ReadProtseq(char* buffer, const std::int32_t* capacity) {
    return ReadValue(kRpcSection, "protseq", buffer, capacity, "");
}

int ConfigReader::ReadServer(char* buffer, const std::int32_t* capacity) {
    return ReadValue(kRpcSection, "QORServer", buffer, capacity, "");
}

int ConfigReader::ReadEndPoint(char* buffer, const std::int32_t* capacity) {
    return ReadValue(kRpcSection, "EndPoint", buffer, capacity, "");
}

int ConfigReader::ReadHttpProxy(char* buffer, const std::int32_t* capacity) {
    return ReadValue(kHttpSection, "HttpProxy", buffer, capacity, "");
}

int ConfigReader::ReadRpcProxy(char* buffer, const std::int32_t* capacity) {
    return ReadValue(kHttpSection, "RpcProxy", buffer, capacity, "");
}

int ConfigReader::ReadUseEndPoint(std::uint8_t* flag) {
    return ReadYesNo(kRpcSection, "UseEndPoint", flag);
}

int ConfigReader::ReadUseHttpProxy(std::uint8_t* flag) {
    return ReadYesNo(kHttpSection, "UseHttpProxy", flag);
}

int ConfigReader::ReadYesNo(const char* section, const char* key, std::uint8_t* flag) {
    char value[kYesNoSize];
    const std::int32_t capacity = kYesNoSize;
    if (ReadValue(section, key, value, &capacity, "") != 0) return -1;
    if (PrefixEqualsIgnoreCase(value, "yes", 3)) {
        *flag = 1;
        return 0;
    }
    if (PrefixEqualsIgnoreCase(value, "no", 2)) {
        *flag = 0;
        return 0;
    }
    return -1;
}

} // namespace orv
