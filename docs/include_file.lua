-- A code block with an include="FILE" attribute shows that file, read when
-- the page is made (FILE is relative to the document), so the reference
-- quotes the examples exactly as they are and run.
local function read_file(path)
  local handle = io.open(path, "rb")
  if not handle then
    error("include_file.lua: cannot read " .. path)
  end
  local text = handle:read("a")
  handle:close()
  text = text:gsub("\r\n", "\n"):gsub("\n+$", "")
  return text
end

function CodeBlock(block)
  local file = block.attributes["include"]
  if not file then
    return nil
  end
  local folder = pandoc.path.directory(PANDOC_STATE.input_files[1])
  block.text = read_file(pandoc.path.join({ folder, file }))
  block.attributes["include"] = nil
  return block
end
