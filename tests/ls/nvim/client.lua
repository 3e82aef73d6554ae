-- Drives velmo-ls through neovim's built-in LSP client and writes what it
-- received to $VELMO_RESULT, one line per fact, for run.sh to check.
local server = os.getenv("VELMO_LS")
local program = os.getenv("VELMO_PROGRAM")
local lines = {}
local diagnostics = nil

local function note(text)
  table.insert(lines, text)
end

local function finish(code)
  local file = io.open(os.getenv("VELMO_RESULT"), "w")
  file:write(table.concat(lines, "\n") .. "\n")
  file:close()
  vim.cmd(code == 0 and "qall!" or "cquit " .. code)
end

local function request(client, buf, method, params)
  local answer = client.request_sync(method, params, 10000, buf)
  if not answer or answer.err then
    note("failed " .. method .. " " .. vim.inspect(answer))
    return nil
  end
  return answer.result
end

local function at(buf, line, character)
  return { textDocument = { uri = vim.uri_from_bufnr(buf) }, position = { line = line, character = character } }
end

local function run()
  vim.cmd("edit " .. program .. "/main.bas")
  local buf = vim.api.nvim_get_current_buf()
  -- An unsaved error on a new line 8 (index 7); the file on disk is clean.
  vim.api.nvim_buf_set_lines(buf, -1, -1, false, { "count = = 1" })
  local id = vim.lsp.start_client({
    name = "velmo-ls",
    cmd = { server },
    root_dir = program,
    handlers = {
      ["textDocument/publishDiagnostics"] = function(_, result)
        if result.uri == vim.uri_from_bufnr(buf) then
          diagnostics = result.diagnostics
        end
      end,
    },
  })
  assert(id, "the client did not start")
  vim.lsp.buf_attach_client(buf, id)
  assert(vim.wait(15000, function() return diagnostics ~= nil and #diagnostics > 0 end, 20), "no diagnostics")
  for _, d in ipairs(diagnostics) do
    note("diagnostic " .. d.range.start.line .. " " .. d.message)
  end
  local client = vim.lsp.get_client_by_id(id)
  local hover = request(client, buf, "textDocument/hover", at(buf, 5, 2))
  if hover then
    note("hover " .. hover.contents.value:gsub("```velmo\n", ""):gsub("\n.*", ""))
  end
  local definition = request(client, buf, "textDocument/definition", at(buf, 4, 8))
  if definition then
    local location = definition[1] or definition
    note("definition " .. location.uri:match("[^/]+$") .. " " .. location.range.start.line)
  end
  local signature = request(client, buf, "textDocument/signatureHelp", at(buf, 5, 11))
  if signature then
    note("signature " .. signature.activeParameter .. " " .. signature.signatures[1].label)
  end
  -- Fixing the error clears the message.
  diagnostics = nil
  vim.api.nvim_buf_set_lines(buf, 7, 8, false, { "count = 1" })
  if vim.wait(15000, function() return diagnostics ~= nil and #diagnostics == 0 end, 20) then
    note("cleared")
  end
  client.stop()
end

local ok, problem = pcall(run)
if not ok then
  note("error " .. tostring(problem))
  finish(1)
else
  finish(0)
end
