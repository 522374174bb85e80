# Writes OUTPUT: a C++ source holding each of INPUTS as bytes, keyed by the file name without
# its extension (resources/cursors/HAND.txt is the resource "HAND") and tagged with its folder.
set(body "")
set(table "")
set(index 0)
foreach(input IN LISTS INPUTS)
  get_filename_component(name ${input} NAME_WE)
  get_filename_component(dir ${input} DIRECTORY)
  get_filename_component(folder ${dir} NAME)
  file(READ ${input} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "static const unsigned char r${index}[] = {${bytes}0};\n")
  string(APPEND table "  {\"${name}\", \"${folder}\", r${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from resources/; do not edit.
#include \"host/Resources.h\"
namespace host::detail {
${body}
const TEmbeddedResource EmbeddedResources[] = {
${table}  {nullptr, nullptr, nullptr, 0}};
}  // namespace host::detail
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
