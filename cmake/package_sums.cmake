# cmake -D OUTPUT=FILE -D DLL=PATH -D DOCS=FOLDER -P package_sums.cmake
# Writes SHA256SUMS for the release package: one "<hash>  <name>" line per
# file, names as they stand in the package.
set(lines "")
foreach(entry "SubsidySet.dll=${DLL}" "docs/data-packet.md=${DOCS}/data-packet.md"
              "docs/host-integration.md=${DOCS}/host-integration.md")
  string(FIND "${entry}" "=" split)
  string(SUBSTRING "${entry}" 0 ${split} name)
  math(EXPR split "${split} + 1")
  string(SUBSTRING "${entry}" ${split} -1 path)
  file(SHA256 "${path}" hash)
  string(APPEND lines "${hash}  ${name}\n")
endforeach()
file(WRITE "${OUTPUT}" "${lines}")
