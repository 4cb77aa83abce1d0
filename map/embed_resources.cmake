# Writes a C++ source that holds the map's pictures as byte arrays, so that
# the programs carry them and read no file at run time.
#   cmake -DOUTPUT=file.cpp -DRESOURCES="NAME=path|NAME=path..." -P embed_resources.cmake
string(REPLACE "|" ";" entries "${RESOURCES}")

set(arrays "")
set(lookups "")
foreach(entry IN LISTS entries)
  string(FIND "${entry}" "=" eq)
  string(SUBSTRING "${entry}" 0 ${eq} name)
  math(EXPR start "${eq} + 1")
  string(SUBSTRING "${entry}" ${start} -1 path)
  file(READ "${path}" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "${path} is empty or missing")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "const std::uint8_t ${name}[] = {\n${bytes}\n};\n\n")
  string(APPEND lookups "    if (name == \"${name}\")\n        return ${name};\n")
endforeach()

set(source "// Generated at build time from the pictures in resources/; not to be edited.
#include \"map/picture_io.h\"

namespace orvela {

namespace {

${arrays}} // namespace

std::span<const std::uint8_t> MapResource(std::string_view name)
{
${lookups}    return {};
}

} // namespace orvela
")

# Rewritten only when it changes, so that an unchanged picture rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL source)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${source}")
