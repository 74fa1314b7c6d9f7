#pragma once
// skervo-check /Lsp: the checker as a language server (LSP 3.17) for the
// editors, over the standard input and output. Every diagnostic, hover and
// quick fix comes from the same check as the console report.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "check/editor_text.h"
#include "check/finding.h"
#include "check/json.h"
#include "check/machine.h"

namespace skervo {

class LanguageServer {
  public:
    // machine: null where only the text is checked. send: writes one body,
    // framed, to the editor.
    LanguageServer(Machine* machine, std::function<void(std::string_view)> send)
        : machine_(machine), send_(std::move(send)) {}

    // One message's body, as read.
    void Receive(std::string_view body);
    // A header the reader could not use (bad, or a body too large).
    void RefuseHeader(std::string_view why);

    bool Exited() const { return exited_; }
    // 0 after shutdown, 1 without it.
    int ExitCode() const { return shutDown_ ? 0 : 1; }

  private:
    struct Document {
        std::string uri;
        std::string text;
        Findings findings;  // as last published
        bool utf8 = false;  // the reader took the text for UTF-8
    };

    void Request(const Json& id, const std::string& method, const Json& params);
    void Notification(const std::string& method, const Json& params);
    // The answer to a request: its result, or its error, written as JSON.
    void Answer(const Json& id, std::string_view field, std::string_view json);
    void Fail(const Json& id, int code, std::string_view message);
    void Notify(std::string_view method, std::string_view params);

    std::string Initialize(const Json& params);
    void Open(const Json& params);
    void Change(const Json& params);
    // Checks the document and publishes its diagnostics; with the machine
    // on open and save, the text alone on each change.
    void Publish(Document& document, Machine* machine);
    std::string Hover(const Json& params);
    std::string Completion(const Json& params);
    std::string CodeAction(const Json& params);
    Document* Find(const Json& params);

    Machine* machine_;
    std::function<void(std::string_view)> send_;
    PositionEncoding encoding_ = PositionEncoding::Utf16;
    std::vector<Document> documents_;  // an editor holds few at once
    bool initialized_ = false;
    bool shutDown_ = false;
    bool exited_ = false;
};

// Serves the editor on the standard input and output until it asks the
// server to exit, or closes the input; answers the exit code.
int RunLanguageServer(Machine* machine);

}  // namespace skervo
