-- Neovim's own client on skervo-check /Lsp, and the syntax file of
-- editors/vim, headless:
--
--   SKERVO_CHECKER=build/checker/skervo-check nvim --headless --clean \
--       --cmd 'set rtp^=editors/vim' -c 'luafile tests/editors/neovim_test.lua'
--
-- A script with known faults is opened: its diagnostics (lines, codes,
-- severities), a change that mends one, a hover, and the colours of each form.
local passed, failed = 0, 0
local function check(name, ok, detail)
  if ok then
    passed = passed + 1
  else
    failed = failed + 1
    io.stdout:write("FAIL " .. name .. ": " .. vim.inspect(detail) .. "\n")
  end
end

local lines = {
  "# essai",
  "C:\\Program Files\\App\\app.exe /x",
  "@30 # pause",
  "NETSTART Spouleur",
  "&>,-",
  "<Bloc-notes",
  "@5",
}
local path = vim.fn.tempname() .. ".skervo"
vim.fn.writefile(lines, path)
vim.cmd("filetype on | syntax on | edit " .. path)
local buffer = vim.api.nvim_get_current_buf()
check("filetype", vim.bo.filetype == "skervo", vim.bo.filetype)

local client = vim.lsp.start_client({
  name = "skervo",
  cmd = { vim.env.SKERVO_CHECKER, "/Lsp" },
  root_dir = vim.fn.fnamemodify(path, ":h"),
})
vim.lsp.buf_attach_client(buffer, client)

-- { line, code, severity } of each diagnostic, once the server has sent them.
local function diagnostics(count)
  vim.wait(10000, function() return #vim.diagnostic.get(buffer) == count end, 50)
  local found = {}
  for _, d in ipairs(vim.diagnostic.get(buffer)) do
    table.insert(found, { d.lnum, d.code or d.user_data.lsp.code, d.severity })
  end
  table.sort(found, function(a, b) return a[1] < b[1] end)
  return found
end

local E, W, I = vim.diagnostic.severity.ERROR, vim.diagnostic.severity.WARN, vim.diagnostic.severity.INFO
local opened = diagnostics(4)
check("diagnostics", vim.deep_equal(opened, {
  { 1, "guillemets", E }, { 2, "texte-en-trop", E }, { 3, "droits", I }, { 6, "pause-finale", W },
}), opened)

vim.api.nvim_buf_set_lines(buffer, 2, 3, false, { "@30" })
local changed = diagnostics(3)
check("change", vim.deep_equal(changed, {
  { 1, "guillemets", E }, { 3, "droits", I }, { 6, "pause-finale", W },
}), changed)

local hover = vim.lsp.buf_request_sync(buffer, "textDocument/hover", {
  textDocument = { uri = vim.uri_from_bufnr(buffer) }, position = { line = 3, character = 2 },
}, 10000)
local value = hover and hover[client] and hover[client].result and hover[client].result.contents.value
check("hover", value and value:find("^d\195\169marre le service Spouleur") and value:find("%[droits%]"), value)

-- { line, column, syntax group } from 1.
for _, row in ipairs({
  { 1, 1, "skervoComment" }, { 2, 1, "skervoProgram" }, { 2, 11, "skervoArguments" },
  { 3, 1, "skervoPause" }, { 3, 2, "skervoSeconds" }, { 4, 1, "skervoService" },
  { 4, 10, "skervoServiceName" }, { 5, 1, "skervoConnection" }, { 5, 3, "skervoHide" },
  { 6, 1, "skervoClose" }, { 6, 2, "skervoApplication" }, { 7, 2, "skervoSeconds" },
}) do
  local group = vim.fn.synIDattr(vim.fn.synID(row[1], row[2], 1), "name")
  check("syntax " .. row[1] .. ":" .. row[2], group == row[3], group)
end

vim.lsp.stop_client(client)
io.stdout:write(("neovim: %d passed, %d failed\n"):format(passed, failed))
vim.cmd(failed == 0 and "qall!" or "cquit")
