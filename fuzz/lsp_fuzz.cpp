// The language server on arbitrary bytes from the editor: the message reader,
// the JSON and every request. It never fails, answers each message with JSON
// of its own, and starts nothing.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "check/json.h"
#include "check/language_server.h"
#include "check/lsp_messages.h"
#include "check/system_machine.h"
#include "fuzz/fuzz_check.h"

namespace {

class Bytes final : public skervo::ByteSource {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    // Small pieces, so that headers and bodies arrive split anywhere.
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t piece = std::min({size, size_ - at_, std::size_t{7}});
        std::memcpy(buffer, data_ + at_, piece);
        at_ += piece;
        return piece;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FreshDesktop();
    sim::desktop.AddProgram("C:\\a.exe");
    skervo::SystemMachine machine;
    skervo::LanguageServer server(&machine, [](std::string_view body) {
        const std::optional<skervo::Json> sent = skervo::ParseJson(body);
        Check(sent && (*sent)["jsonrpc"].Text() == "2.0", "every message sent is JSON-RPC");
    });
    Bytes bytes(data, size);
    skervo::MessageReader reader(bytes);
    std::string body;
    for (skervo::Framing framing;
         !server.Exited() && (framing = reader.Next(body)) != skervo::Framing::End;) {
        if (framing == skervo::Framing::Message) {
            server.Receive(body);
        } else {
            server.RefuseHeader("header");
        }
    }
    Check(sim::desktop.processes.empty() && sim::desktop.services.starts.empty() &&
              sim::desktop.dialup.dials.empty(),
          "the server starts nothing");
    Check(sim::desktop.OpenHandleCount() == 0, "the server keeps nothing open");
    return 0;
}
