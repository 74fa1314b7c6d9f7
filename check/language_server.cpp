#include "check/language_server.h"

#include "check/completion.h"
#include "check/diagnostics.h"
#include "check/hover.h"
#include "check/lsp_messages.h"
#include "check/quick_fixes.h"
#include "check/script_check.h"
#include "check/script_places.h"
#include "platform/kernel.h"

namespace skervo {
namespace {

// JSON-RPC's and the protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kServerNotInitialized = -32002;

class StandardInput final : public ByteSource {
  public:
    std::size_t Read(char* buffer, std::size_t size) override {
        std::uint32_t read = 0;
        const bool done =
            platform::ReadFile(input_, buffer, static_cast<std::uint32_t>(size), read);
        return done ? read : 0;
    }

  private:
    platform::KernelHandle input_ = platform::GetStdHandle(platform::kStdInputHandle);
};

bool Offers(const Json& list, std::string_view value) {
    for (const Json& item : list.Items()) {
        if (item.Text() == value) {
            return true;
        }
    }
    return false;
}

// The members of the capabilities after positionEncoding. textDocumentSync:
// open and close, changes as ranges (2), saves without their text.
constexpr std::string_view kCapabilities =
    R"("textDocumentSync":{"openClose":true,"change":2,"save":{"includeText":false}},)"
    R"("hoverProvider":true,"completionProvider":{"triggerCharacters":[" ","&"]},)"
    R"("codeActionProvider":{"codeActionKinds":["quickfix"]})";

}  // namespace

void LanguageServer::Receive(std::string_view body) {
    const std::optional<Json> message = ParseJson(body);
    if (!message) {
        Fail({}, kParseError, "Parse error");
        return;
    }
    const Json& method = (*message)["method"];
    const Json& id = (*message)["id"];
    if (method.kind() != Json::Kind::String) {
        // An answer is to a request of the server's, which sends none.
        if (!message->Has("result") && !message->Has("error")) {
            Fail(id, kInvalidRequest, "Invalid Request");
        }
        return;
    }
    if (!message->Has("id")) {
        Notification(method.Text(), (*message)["params"]);
    } else {
        Request(id, method.Text(), (*message)["params"]);
    }
}

void LanguageServer::RefuseHeader(std::string_view why) {
    Fail({}, kParseError, why);
}

void LanguageServer::Request(const Json& id, const std::string& method, const Json& params) {
    if (!initialized_ && method != "initialize") {
        Fail(id, kServerNotInitialized, "Server not initialized");
    } else if (shutDown_ || (initialized_ && method == "initialize")) {
        Fail(id, kInvalidRequest, "Invalid Request");
    } else if (method == "initialize") {
        initialized_ = true;
        Answer(id, "result", Initialize(params));
    } else if (method == "shutdown") {
        shutDown_ = true;
        Answer(id, "result", "null");
    } else if (method == "textDocument/hover") {
        Answer(id, "result", Hover(params));
    } else if (method == "textDocument/completion") {
        Answer(id, "result", Completion(params));
    } else if (method == "textDocument/codeAction") {
        Answer(id, "result", CodeAction(params));
    } else {
        Fail(id, kMethodNotFound, "Method not found");
    }
}

// Any other notification, $/cancelRequest among them, is let pass: every
// request is answered before the next message is read.
void LanguageServer::Notification(const std::string& method, const Json& params) {
    Document* document = Find(params);
    if (method == "exit") {
        exited_ = true;
    } else if (!initialized_ || shutDown_) {
        return;
    } else if (method == "textDocument/didOpen") {
        Open(params);
    } else if (method == "textDocument/didChange" && document) {
        Change(params);
        Publish(*document, nullptr);
    } else if (method == "textDocument/didSave" && document) {
        Publish(*document, machine_);
    } else if (method == "textDocument/didClose" && document) {
        JsonText cleared;
        cleared.Open('{').Key("uri").String(document->uri).Key("diagnostics").Open('[');
        Notify("textDocument/publishDiagnostics", cleared.Close(']').Close('}').Text());
        documents_.erase(documents_.begin() + (document - documents_.data()));
    }
}

void LanguageServer::Answer(const Json& id, std::string_view field, std::string_view json) {
    JsonText answer;
    answer.Open('{').Key("jsonrpc").String("2.0").Key("id").Value(id);
    send_(answer.Key(field).Written(json).Close('}').Text());
}

void LanguageServer::Fail(const Json& id, int code, std::string_view message) {
    JsonText error;
    error.Open('{').Key("code").Number(code).Key("message").String(message).Close('}');
    Answer(id, "error", error.Text());
}

void LanguageServer::Notify(std::string_view method, std::string_view params) {
    JsonText notification;
    notification.Open('{').Key("jsonrpc").String("2.0").Key("method").String(method);
    send_(notification.Key("params").Written(params).Close('}').Text());
}

// UTF-8 positions when the editor offers them: no counting of UTF-16 units.
std::string LanguageServer::Initialize(const Json& params) {
    if (Offers(params["capabilities"]["general"]["positionEncodings"], "utf-8")) {
        encoding_ = PositionEncoding::Utf8;
    }
    JsonText result;
    result.Open('{').Key("capabilities").Open('{').Key("positionEncoding");
    result.String(encoding_ == PositionEncoding::Utf8 ? "utf-8" : "utf-16");
    result.Written(kCapabilities).Close('}');
    result.Key("serverInfo").Open('{').Key("name").String("skervo-check");
    return result.Key("version").String(SKERVO_VERSION).Close('}').Close('}').Text();
}

LanguageServer::Document* LanguageServer::Find(const Json& params) {
    const std::string& uri = params["textDocument"]["uri"].Text();
    for (Document& document : documents_) {
        if (document.uri == uri) {
            return &document;
        }
    }
    return nullptr;
}

// A document opened again takes the new text.
void LanguageServer::Open(const Json& params) {
    const Json& opened = params["textDocument"];
    if (opened["uri"].Text().empty() || opened["text"].kind() != Json::Kind::String) {
        return;
    }
    Document* document = Find(params);
    if (!document) {
        document = &documents_.emplace_back(Document{opened["uri"].Text(), {}, {}, false});
    }
    document->text = opened["text"].Text();
    Publish(*document, machine_);
}

// A range past the end of a line or of the text stands for that end; a
// change with no usable range is left out.
void LanguageServer::Change(const Json& params) {
    Document& document = *Find(params);
    for (const Json& change : params["contentChanges"].Items()) {
        const Json& range = change["range"];
        if (range.IsNull()) {
            document.text = change["text"].Text();
            continue;
        }
        const std::optional<Position> start = PositionFrom(range["start"]);
        const std::optional<Position> end = PositionFrom(range["end"]);
        if (start && end) {
            const std::size_t from = OffsetOf(document.text, *start, encoding_);
            const std::size_t to = std::max(from, OffsetOf(document.text, *end, encoding_));
            document.text.replace(from, to - from, change["text"].Text());
        }
    }
}

void LanguageServer::Publish(Document& document, Machine* machine) {
    ScriptCheck check = CheckText(document.text, {.machine = machine});
    const ScriptPlaces places(document.text, check.utf8, encoding_);
    JsonText params;
    params.Open('{').Key("uri").String(document.uri).Key("diagnostics").Open('[');
    for (const Finding& finding : check.findings) {
        WriteDiagnostic(params, finding, places);
    }
    Notify("textDocument/publishDiagnostics", params.Close(']').Close('}').Text());
    document.utf8 = check.utf8;
    document.findings = std::move(check.findings);
}

// The sentence comes from the text alone: the machine is asked only on
// open and save.
std::string LanguageServer::Hover(const Json& params) {
    const Document* document = Find(params);
    const std::optional<Position> position = PositionFrom(params["position"]);
    if (!document || !position || position->line > LastLine(document->text)) {
        return "null";
    }
    const ScriptCheck check =
        CheckText(document->text, {.explanations = Explanations::Given, .machine = nullptr});
    const ScriptPlaces places(document->text, check.utf8, encoding_);
    const std::string markdown = HoverOf(places.LineAt(position->line), check, document->findings);
    if (markdown.empty()) {
        return "null";
    }
    JsonText hover;
    hover.Open('{').Key("contents").Open('{').Key("kind").String("markdown");
    return hover.Key("value").String(markdown).Close('}').Close('}').Text();
}

std::string LanguageServer::Completion(const Json& params) {
    const Document* document = Find(params);
    const std::optional<Position> position = PositionFrom(params["position"]);
    if (!document || !position || position->line < 0 || position->line > LastLine(document->text)) {
        return "[]";
    }
    const std::string_view text = document->text;
    const std::size_t start = LineStart(text, position->line);
    const std::size_t at = OffsetOf(text, *position, encoding_);
    JsonText items;
    WriteCompletions(items, text.substr(start, at - start), position->line, encoding_, machine_);
    return items.Text();
}

std::string LanguageServer::CodeAction(const Json& params) {
    const Document* document = Find(params);
    const std::optional<Position> start = PositionFrom(params["range"]["start"]);
    const std::optional<Position> end = PositionFrom(params["range"]["end"]);
    if (!document || !start || !end) {
        return "[]";
    }
    const ScriptPlaces places(document->text, document->utf8, encoding_);
    JsonText actions;
    WriteQuickFixes(actions, document->uri, document->text, encoding_, document->findings, places,
                    {*start, *end});
    return actions.Text();
}

int RunLanguageServer(Machine* machine) {
    const platform::KernelHandle output = platform::GetStdHandle(platform::kStdOutputHandle);
    LanguageServer server(
        machine, [output](std::string_view body) { platform::WriteFile(output, Framed(body)); });
    StandardInput input;
    MessageReader reader(input);
    std::string body;
    while (!server.Exited()) {
        switch (reader.Next(body)) {
            case Framing::Message:
                server.Receive(body);
                break;
            case Framing::NoLength:
                server.RefuseHeader("Header without Content-Length");
                break;
            case Framing::TooLarge:
                server.RefuseHeader("Message over 64 MB");
                break;
            case Framing::End:
                return server.ExitCode();
        }
    }
    return server.ExitCode();
}

}  // namespace skervo
