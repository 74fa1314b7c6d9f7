// The TextMate grammar, tokenised by the engine VS Code uses: each line of
// the table and the scope of each of its parts (parts with no scope of
// their own, such as blanks, left out).
"use strict";
const fs = require("fs");
const path = require("path");

const extension = path.join(__dirname, "../../editors/vscode");
const modules = path.join(extension, "node_modules");
const oniguruma = require(path.join(modules, "vscode-oniguruma"));
const textmate = require(path.join(modules, "vscode-textmate"));

const S = ".skervo";
const rows = [
    ["# commentaire", [["# commentaire", "comment.line.number-sign" + S]]],
    ["  @30", [["@", "keyword.control.pause" + S], ["30", "constant.numeric.seconds" + S]]],
    ["@$1E", [["@", "keyword.control.pause" + S], ["$1E", "constant.numeric.seconds" + S]]],
    ["-", [["-", "keyword.control.window" + S]]],
    ["+", [["+", "keyword.control.window" + S]]],
    ["C:\\Outils\\app.exe /jour 2", [["C:\\Outils\\app.exe", "string.unquoted.program" + S],
                                     [" /jour 2", "variable.parameter.arguments" + S]]],
    // The runner splits at the first blank: so does the colour.
    ["C:\\Program Files\\a.exe", [["C:\\Program", "string.unquoted.program" + S],
                                  [" Files\\a.exe", "variable.parameter.arguments" + S]]],
    ['>>"C:\\Program Files\\a.exe" /x', [[">>", "keyword.control.launch" + S],
                                         ['"C:\\Program Files\\a.exe"', "string.quoted.double.program" + S],
                                         [" /x", "variable.parameter.arguments" + S]]],
    ["@C:\\a.exe", [["@", "keyword.control.launch" + S], ["C:\\a.exe", "string.unquoted.program" + S]]],
    [">C:\\a.exe", [[">", "keyword.control.launch" + S], ["C:\\a.exe", "string.unquoted.program" + S]]],
    ["NETSTART Spouleur", [["NETSTART", "support.function.service" + S],
                           ["Spouleur", "entity.name.type.service" + S]]],
    ["@netstop Spouleur", [["@", "keyword.control.launch" + S], ["netstop", "support.function.service" + S],
                           ["Spouleur", "entity.name.type.service" + S]]],
    ["<Bloc-notes", [["<", "keyword.control.close" + S], ["Bloc-notes", "entity.name.function.application" + S]]],
    ["<<C:\\a.exe", [["<<", "keyword.control.close" + S], ["C:\\a.exe", "entity.name.function.application" + S]]],
    ["&Agence Lyon", [["&", "keyword.control.connection" + S], ["Agence Lyon", "entity.name.section.entry" + S]]],
    ["&&Bureau", [["&&", "keyword.control.connection" + S], ["Bureau", "entity.name.section.entry" + S]]],
    ["&>,-", [["&>", "keyword.control.connection" + S], [",-", "keyword.operator.hide" + S]]],
    ["&- maintenant", [["&-", "keyword.control.connection" + S], [" maintenant", "invalid.illegal.ignored" + S]]],
    ["&<", [["&<", "keyword.control.connection" + S]]],
];

async function main() {
    const wasm = fs.readFileSync(path.join(modules, "vscode-oniguruma/release/onig.wasm")).buffer;
    await oniguruma.loadWASM(wasm);
    const registry = new textmate.Registry({
        onigLib: Promise.resolve({
            createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
            createOnigString: (text) => new oniguruma.OnigString(text),
        }),
        loadGrammar: async () => textmate.parseRawGrammar(
            fs.readFileSync(path.join(extension, "syntaxes/skervo.tmLanguage.json"), "utf8"),
            "skervo.tmLanguage.json"),
    });
    const grammar = await registry.loadGrammar("source.skervo");
    let passed = 0;
    let failed = 0;
    for (const [line, expected] of rows) {
        const parts = grammar.tokenizeLine(line, textmate.INITIAL).tokens
            .filter((token) => token.scopes.length > 1)
            .map((token) => [line.slice(token.startIndex, token.endIndex), token.scopes.at(-1)]);
        if (JSON.stringify(parts) === JSON.stringify(expected)) {
            passed++;
        } else {
            failed++;
            console.log(`FAIL ${JSON.stringify(line)}\n  got      ${JSON.stringify(parts)}\n  expected ${JSON.stringify(expected)}`);
        }
    }
    console.log(`grammar: ${passed} passed, ${failed} failed`);
    process.exitCode = failed ? 1 : 0;
}

main();
