// skervo-check /Lsp driven by a client built on vscode-languageserver-protocol,
// the library VS Code's own client is built on: one table of steps through a
// whole session, then one of hostile bytes sent raw.
//
//   node lsp_client_test.js [--windows] CHECKER_COMMAND...
//
// --windows: the checker is skervo-check.exe, which also asks the machine.
"use strict";
const assert = require("assert");
const childProcess = require("child_process");
const path = require("path");

const rpc = require(path.join(__dirname, "../../editors/vscode/node_modules/vscode-languageserver-protocol/node"));

const windows = process.argv[2] === "--windows";
const command = process.argv.slice(windows ? 3 : 2);
const uri = "file:///C:/Scripts/essai.skervo";
const text = [
    "C:\\Program Files\\App\\app.exe /x",
    "@30 # pause",
    "<Fen\u00eatre \u{1F600} %ZZZZ%",  // a character in two UTF-16 units before the fault
    "C:\\absent\\x.exe",
    "NETSTART PlugPlay",
    "@5",
].join("\r\n");

function start() {
    return childProcess.spawn(command[0], [...command.slice(1), "/Lsp"], { stdio: ["pipe", "pipe", "inherit"] });
}

// [line, first character, last character, code, severity] of each diagnostic.
function brief(diagnostics) {
    return diagnostics.map((d) => [d.range.start.line, d.range.start.character, d.range.end.character, d.code, d.severity]);
}

const textFindings = [
    [0, 0, 28, "guillemets", 1],
    [1, 4, 11, "texte-en-trop", 1],
    [2, 12, 18, "variable", 3],
    [2, 0, 18, "page-de-codes", 2],
    [4, 0, 17, "droits", 3],
    [5, 0, 2, "pause-finale", 2],
];
const labels = (items) => items.map((item) => item.label);

const session = [
    ["initialize", (c) => c.sendRequest(rpc.InitializeRequest.type,
        { processId: null, rootUri: null, capabilities: { general: { positionEncodings: ["utf-16"] } } }),
     (result) => {
         assert.deepStrictEqual(result.serverInfo, { name: "skervo-check", version: "2.1.0" });
         assert.strictEqual(result.capabilities.positionEncoding, "utf-16");
         assert.strictEqual(result.capabilities.textDocumentSync.change, 2);
     }],
    // On open, the machine is asked too: the program is not on this PC.
    ["open", (c, s) => {
        c.sendNotification(rpc.DidOpenTextDocumentNotification.type,
            { textDocument: { uri, languageId: "skervo", version: 1, text } });
        return s.diagnostics();
    }, (result) => {
        // The machine knows the variables: ZZZZ is none of this PC's.
        const expected = textFindings.map((f) => windows && f[3] === "variable" ? [2, 12, 18, "variable-inconnue", 2] : f);
        if (windows) {
            expected.splice(4, 0, [3, 0, 15, "introuvable", 1]);
        }
        assert.deepStrictEqual(brief(result.diagnostics), expected);
        assert.ok(result.diagnostics.every((d) => d.source === "skervo-check"));
        assert.match(result.diagnostics[0].message, /^chemin avec des blancs sans guillemets\u00a0: le programme lanc\u00e9 serait C:\\Program/);
    }],
    ["hover", (c) => c.sendRequest(rpc.HoverRequest.type, { textDocument: { uri }, position: { line: 5, character: 1 } }),
     (result) => {
         assert.strictEqual(result.contents.kind, "markdown");
         assert.match(result.contents.value, /^rien\u00a0: la pause de la derni\u00e8re ligne est saut\u00e9e\n\n\*\*attention\*\*\u00a0: pause/);
         assert.match(result.contents.value, /`\[pause-finale\]`$/);
     }],
    ["hover", (c) => c.sendRequest(rpc.HoverRequest.type, { textDocument: { uri }, position: { line: 4, character: 0 } }),
     (result) => assert.match(result.contents.value, /^d\u00e9marre le service PlugPlay\n\n\*\*remarque\*\*/)],
    ["completion", (c) => c.sendRequest(rpc.CompletionRequest.type, { textDocument: { uri }, position: { line: 5, character: 0 } }),
     (result) => {
         assert.deepStrictEqual(labels(result), ["@", ">", ">>", "<", "<<", "&", "&&", "&-", "&>", "&<",
             "NETSTART", "NETSTOP", "-", "+", "#"]);
         assert.match(result[0].documentation, /^@30 attend 30\u00a0s/);
     }],
    // Services come from the machine, on Windows alone.
    ["completion", (c) => c.sendRequest(rpc.CompletionRequest.type, { textDocument: { uri }, position: { line: 4, character: 11 } }),
     (result) => {
         assert.strictEqual(labels(result).some((label) => /^plugplay$/i.test(label)), windows);
         assert.ok(result.every((item) => item.textEdit.range.start.character === 9));
     }],
    ["code action", (c) => c.sendRequest(rpc.CodeActionRequest.type,
        { textDocument: { uri }, range: { start: { line: 0, character: 0 }, end: { line: 5, character: 2 } }, context: { diagnostics: [] } }),
     (result) => {
         assert.deepStrictEqual(result.map((a) => a.title), ["Mettre le chemin entre guillemets",
             "Mettre le commentaire sur sa propre ligne", "Retirer la pause de la derni\u00e8re ligne"]);
         assert.deepStrictEqual(result[0].edit.changes[uri].map((e) => [e.range.start.character, e.newText]),
             [[0, "\""], [28, "\""]]);
         assert.strictEqual(result[1].edit.changes[uri][0].newText, "# pause\r\n@30");
     }],
    // A change checks the text alone: the machine's findings wait for the next save.
    ["change", (c, s) => {
        c.sendNotification(rpc.DidChangeTextDocumentNotification.type, {
            textDocument: { uri, version: 2 },
            contentChanges: [{ range: { start: { line: 1, character: 3 }, end: { line: 1, character: 11 } }, text: "" }],
        });
        return s.diagnostics();
    }, (result) => assert.deepStrictEqual(brief(result.diagnostics), textFindings.filter((f) => f[3] !== "texte-en-trop"))],
    ["save", (c, s) => {
        c.sendNotification(rpc.DidSaveTextDocumentNotification.type, { textDocument: { uri } });
        return s.diagnostics();
    }, (result) => assert.strictEqual(brief(result.diagnostics).some((f) => f[3] === "introuvable"), windows)],
    ["close", (c, s) => {
        c.sendNotification(rpc.DidCloseTextDocumentNotification.type, { textDocument: { uri } });
        return s.diagnostics();
    }, (result) => assert.deepStrictEqual(result.diagnostics, [])],
    ["shutdown", (c) => c.sendRequest(rpc.ShutdownRequest.type), (result) => assert.strictEqual(result, null)],
    ["exit", (c, s) => {
        c.sendNotification(rpc.ExitNotification.type);
        return s.exited;
    }, (code) => assert.strictEqual(code, 0)],
];

async function runSession(report) {
    const child = start();
    const connection = rpc.createProtocolConnection(new rpc.StreamMessageReader(child.stdout),
        new rpc.StreamMessageWriter(child.stdin));
    const published = [];
    const waiting = [];
    connection.onNotification(rpc.PublishDiagnosticsNotification.type, (params) => {
        (waiting.shift() || ((p) => published.push(p)))(params);
    });
    connection.listen();
    const state = {
        diagnostics: () => published.length ? Promise.resolve(published.shift())
            : new Promise((resolve) => waiting.push(resolve)),
        exited: new Promise((resolve) => child.on("exit", (code) => resolve(code))),
    };
    for (const [name, send, check] of session) {
        try {
            check(await send(connection, state));
            report(true, name);
        } catch (error) {
            report(false, name, error);
        }
    }
    connection.dispose();
}

// Hostile input, sent raw: each byte string, then what the server answers.
const largest = 64 * 1024 * 1024;
const frame = (body) => Buffer.concat([Buffer.from(`Content-Length: ${Buffer.byteLength(body)}\r\n\r\n`), Buffer.from(body)]);
// ��C:\a.exe %T%, with a byte that begins no character and one cut short.
const invalidUtf8 = Buffer.concat([Buffer.from('{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"u","text":"'),
    Buffer.from([0xff, 0xc3]), Buffer.from('C:\\\\a.exe %T%"}}}')]);
const request = (id, method, params) => frame(JSON.stringify({ jsonrpc: "2.0", id, method, params }));
const note = (method, params) => frame(JSON.stringify({ jsonrpc: "2.0", method, params }));
const errorCode = (code) => (answer) => assert.strictEqual(answer.error.code, code);
const hostile = [
    ["request before initialize", request(1, "textDocument/hover", {}), errorCode(-32002)],
    ["bad JSON", frame("{bad"), errorCode(-32700)],
    ["header without Content-Length", Buffer.from("Content-Type: application/json\r\n\r\n{}"), errorCode(-32700)],
    ["initialize after both", request(2, "initialize", { capabilities: { general: { positionEncodings: ["utf-8"] } } }),
     (answer) => assert.strictEqual(answer.result.capabilities.positionEncoding, "utf-8")],
    ["body over 64 MB", Buffer.concat([Buffer.from(`Content-Length: ${largest + 1}\r\n\r\n`), Buffer.alloc(largest + 1, 0x7b)]),
     errorCode(-32700)],
    ["unknown request", Buffer.concat([note("skervo/inconnue", {}), request(3, "skervo/inconnu", {})]), errorCode(-32601)],
    // On Windows, opening asks the machine: the path has no drive, and is not probed.
    ["invalid UTF-8", frame(invalidUtf8),
     (answer) => assert.deepStrictEqual(answer.params.diagnostics.map((d) => [d.code, d.range.start.character]),
         [[windows ? "variable-inconnue" : "variable", 15], ...(windows ? [["chemin-relatif", 0]] : []), ["page-de-codes", 0]])],
    ["unknown document", request(4, "textDocument/hover", { textDocument: { uri: "x" }, position: { line: 0, character: 0 } }),
     (answer) => assert.strictEqual(answer.result, null)],
    ["position past the end", request(5, "textDocument/completion", { textDocument: { uri: "u" }, position: { line: 9, character: 0 } }),
     (answer) => assert.deepStrictEqual(answer.result, [])],
    ["change past the end", note("textDocument/didChange", { textDocument: { uri: "u" },
        contentChanges: [{ range: { start: { line: 0, character: 99 }, end: { line: 7, character: 0 } }, text: "\n@5" }] }),
     (answer) => assert.deepStrictEqual(answer.params.diagnostics.map((d) => [d.code, d.range.start.line]),
         [["variable", 0], ["page-de-codes", 0], ["pause-finale", 1]])],
    ["exit without shutdown", note("exit", {}), (answer) => assert.strictEqual(answer, "exit 1")],
];

// Every answer must be framed exactly: a byte too many, a CR added, and the next one fails to parse.
function answers(child) {
    let buffer = Buffer.alloc(0);
    const queue = [];
    const waiting = [];
    const deliver = (answer) => (waiting.shift() || ((a) => queue.push(a)))(answer);
    child.stdout.on("data", (data) => {
        buffer = Buffer.concat([buffer, data]);
        for (;;) {
            const header = /^Content-Length: (\d+)\r\n\r\n/.exec(buffer.toString("latin1", 0, 64));
            if (!header && !"Content-Length: ".startsWith(buffer.toString("latin1", 0, 16))) {
                deliver({ framing: buffer.toString("latin1") });  // no check expects this
                buffer = Buffer.alloc(0);
            }
            if (!header || buffer.length < header[0].length + Number(header[1])) {
                return;
            }
            const end = header[0].length + Number(header[1]);
            deliver(JSON.parse(buffer.toString("utf8", header[0].length, end)));
            buffer = buffer.subarray(end);
        }
    });
    child.on("exit", (code) => deliver(`exit ${code}`));
    return () => queue.length ? Promise.resolve(queue.shift()) : new Promise((resolve) => waiting.push(resolve));
}

async function runHostile(report) {
    const child = start();
    const next = answers(child);
    for (const [name, bytes, check] of hostile) {
        try {
            await new Promise((resolve) => child.stdin.write(bytes, resolve));
            check(await next());
            report(true, name);
        } catch (error) {
            report(false, name, error);
        }
    }
    child.kill();
}

async function main() {
    let passed = 0;
    let failed = 0;
    const report = (ok, name, error) => {
        if (ok) {
            passed++;
        } else {
            failed++;
            console.log(`FAIL ${name}: ${error && error.message}`);
        }
    };
    await runSession(report);
    await runHostile(report);
    console.log(`language server (${windows ? "skervo-check.exe" : "skervo-check"}): ${passed} passed, ${failed} failed`);
    process.exitCode = failed ? 1 : 0;
}

main();
