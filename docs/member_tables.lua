-- The member and event tables are made from the type library's source, so
-- they cannot drift from the control. A table row whose first cell links to
-- #member-NAME or #event-NAME gets its DISPID, type, access and help cells
-- (the 2nd, 3rd, 4th and 6th) from that member of ITraylume or that event
-- of ITraylumeEvents in traylume/traylume.idl. Making the page fails when a
-- row names nothing the library has, or the library has a member or event
-- that no row shows.
local interfaces = { member = "ITraylume", event = "ITraylumeEvents" }

local function read_idl(path)
  local handle = io.open(path, "rb")
  if not handle then
    error("member_tables.lua: cannot read " .. path)
  end
  local members, order = {}, {}
  local interface, attributes
  for line in handle:lines() do
    line = line:gsub("\r$", "")
    local opened = line:match("^%s*dispinterface%s+(%w+)%s*$")
    if opened then
      interface = opened
    elseif line:match("^%s*};") then
      interface = nil
    elseif interface and line:match("^%s*%[id%(") then
      attributes = line
    elseif interface and attributes then
      local returns, name, params = line:match("^%s*(.-)%s+(%w+)%((.-)%);")
      if not name then
        error("member_tables.lua: cannot read the declaration after " .. attributes)
      end
      local key = interface .. "." .. name
      local member = members[key]
      if not member then
        local id = attributes:match("id%((%w+)%)")
        member = { dispid = string.format("0x%08X", math.tointeger(tonumber(id))), access = {} }
        members[key] = member
        table.insert(order, key)
      end
      member.help = attributes:match('helpstring%("(.-)"%)') or ""
      local signature = "(" .. params:gsub("%[.-%]%s*", ""):gsub("%s*,%s*", ", ") .. ")"
      if interface == interfaces.event then
        table.insert(member.access, "event")
        member.type = signature
      elseif attributes:match("propget") then
        table.insert(member.access, "get")
        member.type = returns
      elseif attributes:match("propputref") then
        table.insert(member.access, "putref")
      elseif attributes:match("propput") then
        table.insert(member.access, "put")
      else
        table.insert(member.access, "method")
        member.type = signature
      end
      attributes = nil
    end
  end
  handle:close()
  return members, order
end

-- A cell holding `text` as words.
local function cell_text(cell, text)
  local inlines = {}
  for word in text:gmatch("%S+") do
    if #inlines > 0 then
      table.insert(inlines, pandoc.Space())
    end
    table.insert(inlines, pandoc.Str(word))
  end
  cell.contents = { pandoc.Plain(inlines) }
end

local members, order
local shown = {}

local function fill_row(row)
  local kind, name
  pandoc.walk_block(pandoc.Div(row.cells[1].contents), {
    Link = function(link)
      kind, name = link.target:match("^#(%a+)%-(%w+)$")
    end,
  })
  if not interfaces[kind or ""] then
    return false
  end
  local key = interfaces[kind] .. "." .. name
  local member = members[key]
  if not member then
    error("member_tables.lua: the type library has no " .. key)
  end
  shown[key] = true
  cell_text(row.cells[2], member.dispid)
  cell_text(row.cells[3], member.type)
  cell_text(row.cells[4], table.concat(member.access, ", "))
  cell_text(row.cells[6], member.help)
  return true
end

-- The help text takes four ninths of the width, the other cells one each.
local function fill_table(tbl)
  local filled = false
  for _, body in ipairs(tbl.bodies) do
    for _, row in ipairs(body.body) do
      filled = fill_row(row) or filled
    end
  end
  if filled then
    for i, column in ipairs(tbl.colspecs) do
      tbl.colspecs[i] = { column[1], i == 6 and 4 / 9 or 1 / 9 }
    end
  end
  return tbl
end

function Pandoc(doc)
  local folder = pandoc.path.directory(PANDOC_STATE.input_files[1])
  members, order = read_idl(pandoc.path.join({ folder, "..", "traylume", "traylume.idl" }))
  doc = doc:walk({ Table = fill_table })
  for _, key in ipairs(order) do
    if not shown[key] then
      error("member_tables.lua: no row shows " .. key)
    end
  end
  return doc
end
