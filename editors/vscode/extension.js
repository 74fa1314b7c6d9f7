// Starts skervo-check /Lsp for the .skervo files: the checker shipped in the
// extension, or the one the skervo.checkerPath setting names. /Syntaxe keeps
// it to the text when the machine checks are turned off.
"use strict";
const path = require("path");
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

function serverOptions(context) {
    const settings = vscode.workspace.getConfiguration("skervo");
    const shipped = context.asAbsolutePath(context.extension.packageJSON.skervo.checker);
    const args = ["/Lsp"];
    if (!settings.get("machineChecks")) {
        args.push("/Syntaxe");
    }
    return { command: settings.get("checkerPath") || path.normalize(shipped), args };
}

async function start(context) {
    client = new LanguageClient("skervo", "Skervo", serverOptions(context), {
        documentSelector: [{ language: "skervo" }],
    });
    await client.start();
}

async function activate(context) {
    context.subscriptions.push(
        vscode.workspace.onDidChangeConfiguration(async (change) => {
            if (change.affectsConfiguration("skervo") && client) {
                await client.stop();
                await start(context);
            }
        })
    );
    await start(context);
}

function deactivate() {
    return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
