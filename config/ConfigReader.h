// Reads single keys of the configuration file through the platform's profile reader.
//
// One operation per key, each fixing section, key and the empty default; all rest on
// ReadValue. Every operation returns 0 for success and -1 for failure, reads the file
// anew and keeps nothing. A key counts as present only when its value is not empty; a
// value longer than the buffer is cut to the buffer's size less one, which is no failure.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ConnectionSettings.h"

namespace orv {

constexpr char kConfigFileName[] = "QOR_Commucation.ini";

class ConfigReader {
  public:
    // Keeps a copy of fileName (at most 255 characters; a longer name is cut).
    explicit ConfigReader(const char* fileName);
    virtual ~ConfigReader();

    // A reader lives on its caller's stack, never on the heap: it cannot be made with new,
    // and the deallocation that a virtual destructor must name has nothing to give back.
    static void* operator new(std::size_t) = delete;
    static void* operator new[](std::size_t) = delete;
    static void operator delete(void*) noexcept {}

    // One profile read of key in section into buffer; *capacity is the buffer's size and
    // is only read. 0 when the value is not empty, else -1 with def in the buffer.
    int ReadValue(const char* section, const char* key, char* buffer, const std::int32_t* capacity,
                  const char* def);

    int ReadProtseq(char* buffer, const std::int32_t* capacity);   // [RPC] protseq
    int ReadServer(char* buffer, const std::int32_t* capacity);    // [RPC] QORServer
    int ReadEndPoint(char* buffer, const std::int32_t* capacity);  // [RPC] EndPoint
    int ReadHttpProxy(char* buffer, const std::int32_t* capacity); // [ncacn_http] HttpProxy
    int ReadRpcProxy(char* buffer, const std::int32_t* capacity);  // [ncacn_http] RpcProxy

    // Yes/no keys: "yes..." gives 1, "no..." gives 0 (ASCII case folded); any other or an
    // empty value gives -1 and leaves *flag unchanged. Only the first 31 characters are read.
    int ReadUseEndPoint(std::uint8_t* flag);  // [RPC] UseEndPoint
    int ReadUseHttpProxy(std::uint8_t* flag); // [ncacn_http] UseHttpProxy

    // Fills an all-zero record from the seven keys in their fixed order; -1 at the first
    // read that fails, leaving what the earlier steps wrote.
    int LoadSettings(ConnectionSettings* settings);

  private:
    int ReadYesNo(const char* section, const char* key, std::uint8_t* flag);

    char fileName[kTextSize];
};

} // namespace orv
